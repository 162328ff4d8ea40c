#pragma once
// A weapon skill that records what the use cycle asks of it: its animation starts when told to,
// a hit executes a melee attack, and the combat parameters of each target are kept.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME::test {

class SkillUseProbe : public SkillActivatedWeapon {
    RTTI_DECLARE(SkillUseProbe)
public:
    struct Attack {
        std::uint32_t target = 0;
        std::array<std::uint32_t, AttackRandoms::kCount> randoms{};
        float damagePercent = 0.0f;
        bool operator==(const Attack&) const = default;
    };

    bool StartAction(Character&, std::uint32_t, const WorldVec3&, std::uint32_t seed) override {
        startSeed = seed;
        return IsSkillEnabled() && animationStarts;
    }
    void ActivateNow(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override {
        hits.push_back(event);
        ExecuteMeleeAttack(character, target, point, 0);
    }
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool) override {
        ApplyMeleeDamage(character, targets, origin, seed, weaponId);
    }
    void CollectCombatParameters(Character&, Character* target, ParametersCombatStyle, bool,
                                 std::uint32_t, ParametersCombat& parameters,
                                 float damagePercent) override {
        attacks.push_back(
            {target->GetObjectId(), parameters.attackRandoms.GetValues(), damagePercent});
    }

    bool IsSkillOnHitActive() const override { return onHitActive; }
    void OnHitActivation(Character&, const ParametersCombat&) override { ++onHits; }

    bool animationStarts = true;
    bool onHitActive = false;
    int onHits = 0;
    std::uint32_t startSeed = 0;
    std::vector<Name> hits;
    std::vector<Attack> attacks;
};

// Services that keep what the controlling machine sends, with the hit iteration at the time.
class CapturingSkillServices : public SkillServicesBase {
public:
    struct Result {
        std::vector<std::uint32_t> targets;
        std::uint32_t seed = 0;
        bool useWeapon = false;
    };
    struct Projectile {
        std::uint32_t target = 0;
        WorldVec3 aim;
        std::uint32_t hitIteration = 0;
    };
    void SetParent(Entity*) override {}
    void Dead() override {}
    void SendTargetResult(std::uint32_t, const std::vector<std::uint32_t>& targets,
                          const WorldCoords&, std::uint32_t seed, std::uint32_t,
                          bool useWeapon) override {
        // Runs before the list is read, as a result applied at once on this machine would.
        if (onSend) {
            auto hook = std::move(onSend);
            onSend = nullptr;
            hook();
        }
        results.push_back({targets, seed, useWeapon});
    }
    void SendSkillStateUpdate(std::uint32_t, const SkillState&) override {}
    void SendSkillActiveUpdate(std::uint32_t, const SkillActiveState&) override {}
    void SendCreateProjectile(std::uint32_t, const WorldCoords&, std::uint32_t target,
                              const WorldVec3& aim, std::uint32_t, std::uint32_t) override {
        projectiles.push_back({target, aim, GetHitIteration()});
    }
    void SendSpawnObject(std::uint32_t, const WorldCoords&, std::uint32_t,
                         const std::vector<WorldCoords>&, const std::vector<std::uint32_t>&,
                         std::uint32_t) override {}
    void CreateUpdateSkillBuff(const SkillBuffTransfer&, const std::vector<Weapon_Type>&,
                               bool) override {}
    void RemoveSkillBuff(const std::string&) override {}

    std::function<void()> onSend;
    std::vector<Result> results;
    std::vector<Projectile> projectiles;
};

}  // namespace GAME::test
