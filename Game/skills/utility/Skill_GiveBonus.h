#pragma once
// Gives a friend an instant bonus of life and mana: at once within reach, or carried by a
// projectile to the friend it hits.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_GiveBonus : public SkillActivatedBuffOther {
    RTTI_DECLARE(Skill_GiveBonus)
public:
    static constexpr float kReach = 20.0f;

    Skill_GiveBonus();

    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void CreateProjectile(Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;
    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    void TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    bool GetValidTarget(const Character& user, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
};

}  // namespace GAME
