#include "Game/skills/passive/Skill_Passive.h"

#include "Game/characters/Character.h"
#include "Game/skills/buffs/ShieldRule.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_Passive, Skill)
RTTI_IMPLEMENT(Skill_PassiveDualWieldWeapon, Skill_Passive)
RTTI_IMPLEMENT(Skill_PassiveShield, Skill_Passive)

namespace {

// A melee weapon in each hand.
constexpr int kDualMeleeHandState = 2;

}  // namespace

Skill_Passive::Skill_Passive() {
    SetTypeText("^bPassive Skill");
    SetIgnoreMana(true);
}

void Skill_Passive::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnCharAttributes(accumulator);
}

void Skill_Passive::CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnSkillAttributes(accumulator);
}

void Skill_Passive::CollectPassiveOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnOffensiveDamageAttributes(accumulator);
}

void Skill_Passive::CollectPassiveOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnOffensiveModifierAttributes(accumulator);
}

void Skill_Passive::CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void Skill_Passive::CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnDefenseAttributes(accumulator);
}

void Skill_Passive::CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                                    RacialBonus_Damage& bonus) {
    if (!IsSkillEnabled())
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

void Skill_Passive::CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                                     RacialBonus_Defense& bonus) {
    if (!IsSkillEnabled())
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

// --- Dual wield ---

Skill_PassiveDualWieldWeapon::Skill_PassiveDualWieldWeapon() {
    SetTypeText("^bPassive Skill - Allows Dual Wielded Weapon");
}

bool Skill_PassiveDualWieldWeapon::SetAvailability(bool, bool) {
    if (GetCurrentLevel() > 0 && HasManager() &&
        GetManager()->GetHandState() == kDualMeleeHandState)
        return true;
    SetReason(SkillReason::NotQualifying);
    return false;
}

// --- Shield ---

Skill_PassiveShield::Skill_PassiveShield() {
    SetTypeText("^bPassive Shield Skill");
}

void Skill_PassiveShield::Install(Character* owner) {
    Skill_Passive::Install(owner);
    if (owner)
        owner->AddCombatFilter(this);
}

void Skill_PassiveShield::UnInstall(Character* owner) {
    Skill_Passive::UnInstall(owner);
    if (owner)
        owner->RemoveCombatFilter(this);
}

float Skill_PassiveShield::ModifyDamage(float damage, CombatAttributeType type) {
    if (!IsSkillEnabled())
        return damage;
    // The values of the level the skill has now: levels and augments change while installed.
    const std::uint32_t level = GetCurrentLevel();
    mDamageAbsorption = GetSkillProfile().GetDamageAbsorption(level);
    mDamageAbsorptionPercent = GetSkillProfile().GetDamageAbsorptionPercent(level);
    return ShieldModifyDamage(GetSkillProfile(), damage, type, mDamageAbsorption,
                              mDamageAbsorptionPercent);
}

}  // namespace GAME
