#include "Game/skills/weapon/Skill_AttackWeaponCharge.h"

#include "Game/core/ObjectLookup.h"
#include "Game/skills/modifiers/Skill_Modifier.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackWeaponCharge, Skill_AttackWeapon)

Skill_AttackWeaponCharge::Skill_AttackWeaponCharge() {
    SetTypeText("^bMelee Weapon Attack with Charge");
    SetUseDefaultWhenUnavailable(false, false);
}

void Skill_AttackWeaponCharge::ActivateNow(Character& caster, const Name& event,
                                           std::uint32_t target, const WorldVec3& point) {
    Skill_AttackWeapon::ActivateNow(caster, event, target, point);
    if (!GetWarmUpWasActive())
        return;
    for (std::uint32_t id : GetModifiers())
        if (Object* modifier = FindObjectOfClass(id, "Skill_MeleeModifier"))
            static_cast<Skill_MeleeModifier*>(modifier)->ActivateModifierAttack(caster, target,
                                                                                point);
}

}  // namespace GAME
