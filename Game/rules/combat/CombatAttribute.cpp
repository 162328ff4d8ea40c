#include "Game/rules/combat/CombatAttribute.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Game/rules/CharAttribute.h"
#include "Game/rules/combat/CombatCharacter.h"

namespace GAME {

namespace {
// The whole damage for a percent of 0, else that share of it.
float ApplyPercent(float damage, float percent) {
    return percent != 0.0f ? percent * kPercent * damage : damage;
}

float ReduceClamped(float damage, float reducePercent, float reduceAbsolute) {
    return std::max(damage - (std::fabs(damage) * reducePercent * kPercent + reduceAbsolute), 0.0f);
}

float ShieldReduced(const CombatCharacter& defender, float damage, float a, float b) {
    return std::max(defender.DesignerCalculateShieldBlockDamageReduction(damage, a, b), 0.0f);
}

// Seconds to the milliseconds the character operations take. Only called with a positive
// amount; a record's absurdly long effect lasts as long as an int can say, not a negative time.
int ToMilliseconds(float seconds) {
    const float ms = seconds * 1000.0f;
    return ms < 2147483648.0f ? static_cast<int>(ms) : std::numeric_limits<int>::max();
}
}  // namespace

// Every kind fits the one block size that Discard hands back.
#define COMBAT_ATTRIBUTE_FITS_BLOCK(Class)                      \
    static_assert(sizeof(Class) <= CombatAttribute::kBlockSize, \
                  #Class " outgrew the payload block");
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamage)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamageElemental)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeReflexDamage)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeInfluenceDamage_Taunt)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeInfluenceDamage_Fear)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeInfluenceDamage_Confusion)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeInfluenceDamage_Convert)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamage_PercentLife)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamage_Disruption)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamage_LifeLeech)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamage_ManaBurn)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDurDamage)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDurDamageElemental)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDurFixedDamage)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDamageMod)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDurDamageMod)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDefense)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDefenseRestricted)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDurDefense)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDefenseMisc)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeAbsDefenseMod)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDurDefenseMod)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDamage_BasePhysical)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDamage_BonusPhysical)
COMBAT_ATTRIBUTE_FITS_BLOCK(CombatAttributeDefense_AbsorptionProtection)
#undef COMBAT_ATTRIBUTE_FITS_BLOCK

// ---- CombatAttribute: every operation does nothing unless a kind needs it ----

void CombatAttribute::Process(const CombatCharacter&, float, float, float, float) {}
float CombatAttribute::ProcessBluntDamageModifier(float) {
    return 0.0f;
}
void CombatAttribute::Execute(CombatCharacter&) {}
void CombatAttribute::Execute(CombatAttribute*, CombatAttributeRegion) {}
void CombatAttribute::GetTotalDamage(float&, float&) {}
void CombatAttribute::GetTotalDefense(float&, float&) const {}
void CombatAttribute::ModifyAbsoluteDamage(CombatAttributeType, float) {}
void CombatAttribute::ModifyDurationDamage(CombatAttributeType, float, float) {}
void CombatAttribute::ModifyAbsoluteDefense(CombatAttributeType, float) {}
void CombatAttribute::ModifyDurationDefense(CombatAttributeType, float) {}
void CombatAttribute::ReduceAbsoluteDamage(CombatAttributeType, float) {}
void CombatAttribute::DamageReductionByShield(const CombatCharacter&, float, float) {}
void CombatAttribute::ReduceDurationDamage(CombatAttributeType, float) {}
void CombatAttribute::ScaleDamage(float) {}
bool CombatAttribute::MergeDefense(const CombatAttribute&) {
    return false;
}

// ---- Single amounts ----

float CombatAttributeAbsDamage::ApplyElementalFormula(const CombatCharacter&, float damage) const {
    return damage;
}

void CombatAttributeAbsDamage::Process(const CombatCharacter& character, float percent, float,
                                       float reducePercent, float reduceAbsolute) {
    mDamage = mDamage + std::fabs(mDamage) * mDamageModifier * kPercent;
    mDamage = ApplyPercent(mDamage, percent);
    mDamage = ApplyElementalFormula(character, mDamage);
    mDamage = ReduceClamped(mDamage, reducePercent, reduceAbsolute);
    mDamageModifier = 0.0f;
}

void CombatAttributeAbsDamage::Execute(CombatCharacter& defender) {
    defender.ApplyDamage(mDamage, {PlayStatsDamageType::Attack, mType}, mType);
}

void CombatAttributeAbsDamage::GetTotalDamage(float& absolute, float&) {
    absolute += mDamage;
}

void CombatAttributeAbsDamage::ModifyAbsoluteDamage(CombatAttributeType type, float value) {
    if (type == mType)
        mDamageModifier += value;
}

void CombatAttributeAbsDamage::ReduceAbsoluteDamage(CombatAttributeType type, float percent) {
    if (type == mType)
        mDamage = mDamage * (1.0f - percent * kPercent);
    mDamage = std::max(mDamage, 0.0f);
}

void CombatAttributeAbsDamage::DamageReductionByShield(const CombatCharacter& defender,
                                                       float shieldDefense,
                                                       float shieldAbsorption) {
    mDamage = ShieldReduced(defender, mDamage, shieldDefense, shieldAbsorption);
}

void CombatAttributeAbsDamage::ScaleDamage(float percent) {
    if (percent > 0.0f)
        mDamage = percent * kPercent * mDamage;
}

float CombatAttributeAbsDamageElemental::ApplyElementalFormula(const CombatCharacter& character,
                                                               float damage) const {
    return damage > 0.0f ? character.DesignerCalculateElementalDamage(damage) : damage;
}

void CombatAttributeReflexDamage::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.AddFixedDurationDamage(mType, 1.0f, mDamage);
}

void CombatAttributeInfluenceDamage_Taunt::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.CombatExertInfluenceTaunt(mDamage);
}

void CombatAttributeInfluenceDamage_Fear::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.CombatExertInfluenceFear(ToMilliseconds(mDamage));
}

void CombatAttributeInfluenceDamage_Confusion::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.CombatExertInfluenceConfusion(ToMilliseconds(mDamage));
}

void CombatAttributeInfluenceDamage_Convert::Process(const CombatCharacter& character,
                                                     float percent, float subtract,
                                                     float reducePercent, float reduceAbsolute) {
    CombatAttributeInfluenceDamage::Process(character, percent, subtract, reducePercent,
                                            reduceAbsolute);
    mConverterId = character.GetCombatObjectId();
}

void CombatAttributeInfluenceDamage_Convert::Execute(CombatCharacter& defender) {
    if (mDamage <= 0.0f)
        return;
    const CombatCharacter* converter = defender.FindCombatCharacter(mConverterId);
    // A defender more than five levels above the converter resists.
    if (converter && converter->GetCharLevel() + 5 >= defender.GetCharLevel())
        defender.JoinMe(mConverterId, ToMilliseconds(mDamage), true);
}

void CombatAttributeAbsDamage_PercentLife::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.ApplyDamage(defender.GetCurrentLife() * mDamage * kPercent,
                             {PlayStatsDamageType::Attack, mType}, mType);
}

void CombatAttributeAbsDamage_PercentLife::ReduceAbsoluteDamage(CombatAttributeType type,
                                                                float percent) {
    if (type == mType || type == CombatAttributeType::Life)
        mDamage = mDamage * (1.0f - percent * kPercent);
    mDamage = std::max(mDamage, 0.0f);
}

void CombatAttributeAbsDamage_Disruption::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.CombatAddCooldownDamage(ToMilliseconds(mDamage));
}

void CombatAttributeAbsDamage_LifeLeech::Execute(CombatCharacter& defender) {
    if (mDamage > 0.0f)
        defender.CombatAddLifeLeechDamage(mDamage);
}

void CombatAttributeAbsDamage_ManaBurn::Execute(CombatCharacter& defender) {
    if (mDamage <= 0.0f)
        return;
    const float burnt =
        std::min(defender.GetCurrentMana(), mDamage * kPercent * defender.GetTotalMana());
    defender.SubtractMana(burnt);
    const float damage = mRatio * kPercent * burnt;
    if (damage > 0.0f)
        defender.ApplyDamage(damage, {PlayStatsDamageType::Attack, mType}, mType);
}

void CombatAttributeAbsDamage_ManaBurn::ModifyAbsoluteDamage(CombatAttributeType type,
                                                             float value) {
    if (type == mType)
        mRatio += value;
}

void CombatAttributeAbsDamage_ManaBurn::ReduceAbsoluteDamage(CombatAttributeType type,
                                                             float percent) {
    const float k = 1.0f - percent * kPercent;
    if (type == mType || type == CombatAttributeType::ManaLeech)
        mDamage = k * mDamage;
    mDamage = std::max(mDamage, 0.0f);
    if (type == CombatAttributeType::ManaBurnRatio)
        mRatio = k * mRatio;
    mRatio = std::max(mRatio, 0.0f);
}

// ---- Damage over time ----

float CombatAttributeDurDamage::ApplyElementalFormula(const CombatCharacter&, float damage) const {
    return damage;
}

void CombatAttributeDurDamage::Process(const CombatCharacter& character, float percent, float,
                                       float reducePercent, float reduceAbsolute) {
    mDamage = mDamage + std::fabs(mDamage) * mDamageModifier * kPercent;
    mDamage = ApplyPercent(mDamage, percent);
    mDamage = ApplyElementalFormula(character, mDamage);
    mDamage = ReduceClamped(mDamage, reducePercent, reduceAbsolute);
    mDuration = std::max(mDuration + std::fabs(mDuration) * mDurationModifier * kPercent, 0.0f);
    mDamageModifier = 0.0f;
    mDurationModifier = 0.0f;
}

void CombatAttributeDurDamage::Execute(CombatCharacter& defender) {
    defender.AddDurationDamage(mType, mDamage, mDuration);
}

void CombatAttributeDurDamage::GetTotalDamage(float&, float& duration) {
    duration += mDamage;
}

void CombatAttributeDurDamage::ModifyDurationDamage(CombatAttributeType type, float damagePercent,
                                                    float durationPercent) {
    if (type != mType)
        return;
    mDamageModifier += damagePercent;
    mDurationModifier += durationPercent;
}

void CombatAttributeDurDamage::ReduceAbsoluteDamage(CombatAttributeType type, float percent) {
    if (type == mType)
        mDamage = mDamage * (1.0f - percent * kPercent);
    mDamage = std::max(mDamage, 0.0f);
}

void CombatAttributeDurDamage::ReduceDurationDamage(CombatAttributeType type, float percent) {
    if (percent > 0.0f && type == mType)
        mDuration = mDuration * (1.0f - percent * kPercent);
    mDuration = std::max(mDuration, 0.0f);
}

void CombatAttributeDurDamage::DamageReductionByShield(const CombatCharacter& defender,
                                                       float shieldDefense,
                                                       float shieldAbsorption) {
    mDamage = ShieldReduced(defender, mDamage, shieldDefense, shieldAbsorption);
}

void CombatAttributeDurDamage::ScaleDamage(float percent) {
    if (percent > 0.0f)
        mDamage = percent * kPercent * mDamage;
}

float CombatAttributeDurDamageElemental::ApplyElementalFormula(const CombatCharacter& character,
                                                               float damage) const {
    return damage > 0.0f ? character.DesignerCalculateElementalDurationDamage(damage) : damage;
}

void CombatAttributeDurFixedDamage::Execute(CombatCharacter& defender) {
    defender.AddFixedDurationDamage(mType, mDamage, mDuration);
}

// ---- Damage modifiers ----

void CombatAttributeAbsDamageMod::Execute(CombatAttribute* payload, CombatAttributeRegion) {
    if (payload)
        payload->ModifyAbsoluteDamage(mType, mPercent);
}

void CombatAttributeDurDamageMod::Execute(CombatAttribute* payload, CombatAttributeRegion) {
    if (payload)
        payload->ModifyDurationDamage(mType, mDamagePercent, mDurationPercent);
}

}  // namespace GAME
