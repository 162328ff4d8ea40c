#pragma once
// A weapon attack with charge: when the warm-up was used, each melee modifier attached to the
// skill adds an attack of its own after the weapon's.
#include "Game/skills/weapon/Skill_AttackWeapon.h"

namespace GAME {

class Skill_AttackWeaponCharge : public Skill_AttackWeapon {
    RTTI_DECLARE(Skill_AttackWeaponCharge)
public:
    Skill_AttackWeaponCharge();

    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

}  // namespace GAME
