#include "Game/skills/weapon/Skill_AttackWeaponCharge.h"

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackWeaponCharge, Skill_AttackWeapon)

namespace {

// Melee modifier skills and their own attacks are not built yet: the first one met on a
// machine is logged once and skipped.
struct MeleeModifierAttackSeam {
    bool reported = false;
};

void ReportMeleeModifierAttackSeam() {
    bool& reported = Singleton<MeleeModifierAttackSeam>::Get().reported;
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Skills: %s is not available yet",
                 "Skill_MeleeModifier::ActivateModifierAttack");
}

}  // namespace

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
        if (FindObjectOfClass(id, "Skill_MeleeModifier"))
            ReportMeleeModifierAttackSeam();
}

}  // namespace GAME
