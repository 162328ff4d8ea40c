#pragma once
// Weapon attack skills made from their test records with a manager that keeps what the skill
// decides (target results and projectiles) instead of running it, between characters loaded
// from records and standing side by side in one region.
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/skills/manager/SkillManager.h"
#include "SkillTestSupport.h"

namespace GAME::test {

inline constexpr const char* kStrike = "Records/Skills/Weapon/Strike.dbr";
inline constexpr const char* kJab = "Records/Skills/Weapon/Jab.dbr";
inline constexpr const char* kCharge = "Records/Skills/Weapon/Charge.dbr";
inline constexpr const char* kClaws = "Records/Skills/Weapon/Claws.dbr";
inline constexpr const char* kFighter = "Records/Skills/Weapon/Fighter.dbr";
inline constexpr float kFighterLife = 300.0f;

inline Character* Find(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Character>(id);
}

struct SentTargetResult {
    std::uint32_t skillId = 0;
    std::vector<std::uint32_t> targets;
    WorldCoords origin;
    std::uint32_t seed = 0;
    std::uint32_t weaponId = 0;
    bool useWeapon = false;
};

struct SentProjectile {
    WorldCoords origin;
    std::uint32_t weaponId = 0;
};

class AttackServices : public RecordingSkillServices {
public:
    void SendTargetResult(std::uint32_t skillId, const std::vector<std::uint32_t>& targets,
                          const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                          bool useWeapon) override {
        results.push_back({skillId, targets, origin, seed, weaponId, useWeapon});
    }
    void SendCreateProjectile(std::uint32_t, const WorldCoords& origin, std::uint32_t,
                              const WorldVec3&, std::uint32_t, std::uint32_t weaponId) override {
        projectiles.push_back({origin, weaponId});
    }

    std::vector<SentTargetResult> results;
    std::vector<SentProjectile> projectiles;
};

// Holds a weapon in each hand (by id only) and may hold a ranged one; the attack's numbers come
// from the parent's own skill manager, as the character's would.
class AttackSkillManager : public RecordingSkillManager {
public:
    AttackSkillManager() { ControlWith(attack); }
    void CollectAvailableOffensiveDamageAttributes(std::uint32_t weaponId,
                                                   CombatAttributeAccumulator& a) override {
        GetParent()->GetSkillManager().CollectAvailableOffensiveDamageAttributes(weaponId, a);
    }
    void CollectAvailableOffensiveModifierAttributes(CombatAttributeAccumulator& a) override {
        GetParent()->GetSkillManager().CollectAvailableOffensiveModifierAttributes(a);
    }
    float CalculateOffensiveAbility(float value) override {
        return GetParent()->GetSkillManager().CalculateOffensiveAbility(value);
    }
    std::uint32_t GetRightHandWeapon() const override { return rightWeapon; }
    std::uint32_t GetLeftHandWeapon() const override { return leftWeapon; }

    AttackServices attack;
    std::uint32_t rightWeapon = 0;
    std::uint32_t leftWeapon = 0;
};

inline Region* MakeArena() {
    if (Region* region = World::Get().GetRegion("Arena"))
        return region;
    return World::Get().AddRegion(
        std::make_unique<Region>("Arena", Vec3(0, 0, 0), Vec3(100, 50, 100)));
}

// A living fighter from the record with the given id, at (x, 0, 10) of the arena.
inline Character* MakeFighter(std::uint32_t id, float x, const char* record = kFighter) {
    auto* fighter =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record, id, true);
    if (!fighter)
        return nullptr;
    fighter->InitialUpdate();
    // The first frame fills its life.
    fighter->UpdateSelf(10);
    fighter->PreAnimationUpdate(10);
    fighter->SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(x, 0, 10))));
    return fighter;
}

// A skill of the record at level 1 and enabled, with the manager.
template <class T>
T* MakeAttackSkill(const std::string& record, SkillManagerBase& manager) {
    auto& objects = Singleton<ObjectManager>::Get();
    auto* skill = objects.CreateObjectFromFile<T>(record, 0, false);
    if (!skill)
        return nullptr;
    skill->SetManager(&manager);
    objects.LoadTableFile(record);
    skill->Load(objects.GetLoadTable(record));
    skill->ReceiveStateUpdate(SkillState(1, true), true);
    return skill;
}

}  // namespace GAME::test
