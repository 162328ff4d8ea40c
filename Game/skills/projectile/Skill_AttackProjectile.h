#pragma once
// A spell whose hit is one projectile launched from the point of the animation's hit event at
// the target; the skill's own projectile record, no weapon.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackProjectile : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackProjectile)
public:
    Skill_AttackProjectile();

    void CreateProjectile(Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

}  // namespace GAME
