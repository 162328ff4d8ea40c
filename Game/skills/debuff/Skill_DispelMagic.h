#pragma once
// Strips buffs: a friend loses its debuffs, a foe loses its buffs and takes the spell's hit.
// Cast at once within reach, or carried by a projectile that reports foes and friends alike.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_DispelMagic : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_DispelMagic)
public:
    static constexpr float kReach = 20.0f;

    Skill_DispelMagic();

    void TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                           std::vector<std::uint32_t>& targets) override;
    void TargetFriendInformation(const ProjectileInfo& info, const WorldCoords& at,
                                 std::vector<std::uint32_t>& targets) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void CreateProjectile(Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

}  // namespace GAME
