#pragma once
// A melee attack without a weapon: claws, fists, bites. The damage is the skill's and the
// character's own, never an item's.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackInherent : public SkillActivatedWeapon {
    RTTI_DECLARE(Skill_AttackInherent)
public:
    Skill_AttackInherent();

    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& coords, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

}  // namespace GAME
