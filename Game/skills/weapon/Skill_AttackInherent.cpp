#include "Game/skills/weapon/Skill_AttackInherent.h"

#include "Game/characters/Character.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackInherent, SkillActivated)

Skill_AttackInherent::Skill_AttackInherent() {
    SetTypeText("^bMelee Attack non weapon");
    SetPrimary(true);
    SetSecondary(true);
}

void Skill_AttackInherent::ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                                       const WorldVec3& point) {
    SkillActivated::ActivateNow(caster, event, target, point);
    ExecuteMeleeAttack(caster, target, point, 0);
}

void Skill_AttackInherent::TargetResult(Character& caster,
                                        const std::vector<std::uint32_t>& targets,
                                        const WorldCoords& coords, std::uint32_t seed,
                                        std::uint32_t, bool) {
    ApplyMeleeDamageInherent(caster, targets, coords, seed);
    ActivateSecondarySkills(caster, 0, targets, coords);
}

}  // namespace GAME
