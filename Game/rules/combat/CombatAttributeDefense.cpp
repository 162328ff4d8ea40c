// Defense payloads, defense modifiers, the physical payloads and armour.
#include <algorithm>
#include <cmath>

#include "Game/rules/CharAttribute.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatCharacter.h"

namespace GAME {

namespace {
// Modifier, then the percent (only a positive one scales a defense).
float ModifiedDefense(float value, float modifier, float percent) {
    value = value + std::fabs(value) * modifier * kPercent;
    if (percent > 0.0f)
        value = percent * kPercent * value;
    return value;
}

// Not clamped: a defense reduced below 0 adds damage.
float ReducedDefense(float value, float reducePercent, float reduceAbsolute) {
    return value - (std::fabs(value) * reducePercent * kPercent + reduceAbsolute);
}

float Capped(const CombatCharacter& defender, float value) {
    const float cap = defender.GetDefenseAttributeCap();
    return cap > 0.0f ? std::min(value, cap) : value;
}
}  // namespace

// ---- Absolute defenses ----

void CombatAttributeAbsDefense::Process(const CombatCharacter& defender, float percent, float,
                                        float reducePercent, float reduceAbsolute) {
    mValue = ModifiedDefense(mValue, mModifier, percent);
    mValue = ReducedDefense(mValue, reducePercent, reduceAbsolute);
    mModifier = 0.0f;
    mValue = Capped(defender, mValue);
}

void CombatAttributeAbsDefense::Execute(CombatAttribute* payload, CombatAttributeRegion) {
    if (payload)
        payload->ReduceAbsoluteDamage(mType, mValue);
}

void CombatAttributeAbsDefense::ModifyAbsoluteDefense(CombatAttributeType type, float value) {
    if (type == mType)
        mModifier += value;
}

void CombatAttributeAbsDefense::GetTotalDefense(float& absolute, float&) const {
    absolute += mValue;
}

bool CombatAttributeAbsDefense::MergeDefense(const CombatAttribute& other) {
    // A duration defense of the same type reduces durations, not damage: it stays apart.
    if (other.GetType() != GetType() || !dynamic_cast<const CombatAttributeAbsDefense*>(&other))
        return false;
    mValue += other.GetDefense();
    return true;
}

void CombatAttributeAbsDefenseRestricted::Process(const CombatCharacter& defender, float percent,
                                                  float, float, float) {
    CombatAttributeAbsDefense::Process(defender, percent, 0.0f, 0.0f, 0.0f);
}

// ---- Duration defenses ----

void CombatAttributeDurDefense::Process(const CombatCharacter& defender, float percent, float,
                                        float, float) {
    mValue = std::max(ModifiedDefense(mValue, mModifier, percent), 0.0f);
    mModifier = 0.0f;
    mValue = Capped(defender, mValue);
}

void CombatAttributeDurDefense::Execute(CombatAttribute* payload, CombatAttributeRegion) {
    if (payload)
        payload->ReduceDurationDamage(mType, mValue);
}

void CombatAttributeDurDefense::ModifyDurationDefense(CombatAttributeType type, float value) {
    if (type == mType)
        mModifier += value;
}

void CombatAttributeDurDefense::GetTotalDefense(float&, float& duration) const {
    duration += mValue;
}

bool CombatAttributeDurDefense::MergeDefense(const CombatAttribute& other) {
    if (other.GetType() != GetType() || !dynamic_cast<const CombatAttributeDurDefense*>(&other))
        return false;
    mValue += other.GetDefense();
    return true;
}

// ---- Other defenses ----

void CombatAttributeDefenseMisc::Process(const CombatCharacter&, float percent, float,
                                         float reducePercent, float reduceAbsolute) {
    mValue = ModifiedDefense(mValue, mModifier, percent);
    mValue = ReducedDefense(mValue, reducePercent, reduceAbsolute);
    mModifier = 0.0f;
}

void CombatAttributeDefenseMisc::ModifyAbsoluteDefense(CombatAttributeType type, float value) {
    if (type == mType)
        mModifier += value;
}

void CombatAttributeDefenseMisc::GetTotalDefense(float& absolute, float&) const {
    absolute += mValue;
}

void CombatAttributeAbsDefenseMod::Execute(CombatAttribute* payload, CombatAttributeRegion) {
    if (payload)
        payload->ModifyAbsoluteDefense(mType, mPercent);
}

void CombatAttributeDurDefenseMod::Execute(CombatAttribute* payload, CombatAttributeRegion) {
    if (payload)
        payload->ModifyDurationDefense(mType, mPercent);
}

// ---- Physical damage ----

void CombatAttributeDamage_BasePhysical::Process(const CombatCharacter& attacker, float percent,
                                                 float subtract, float reducePercent,
                                                 float reduceAbsolute) {
    mPhysical = std::max(mPhysical + std::fabs(mPhysical) * mPhysicalModifier * kPercent, 0.0f);
    if (mPhysical > 0.0f && mUseDesignerEquations)
        mPhysical = attacker.DesignerCalculatePhysicalDamage(mPhysical);
    mPierceRatio = std::clamp(
        mPierceRatio + std::fabs(mPierceRatio) * mPierceRatioModifier * kPercent, 0.0f, 100.0f);
    mPierce = mPierceRatio * kPercent * mPhysical;
    mPhysical = std::max(mPhysical - mPierce, 0.0f);
    mPierce = std::max(mPierce + std::fabs(mPierce) * mPierceModifier * kPercent, 0.0f);
    if (mPierce > 0.0f && mUseDesignerEquations)
        mPierce = std::max(attacker.DesignerCalculatePierceDamage(mPierce), 0.0f);
    if (percent != 0.0f) {
        mPhysical = mPhysical * (percent * kPercent);
        mPierce = mPierce * (percent * kPercent);
    }
    mPhysical -= subtract;
    mPierce -= subtract;
    mPhysical -= std::fabs(mPhysical) * reducePercent * kPercent + reduceAbsolute;
    mPierce -= std::fabs(mPierce) * reducePercent * kPercent + reduceAbsolute;
    mPhysical = std::max(mPhysical, 0.0f);
    mPierce = std::max(mPierce, 0.0f);
    mPierceRatio = 0.0f;
    mPhysicalModifier = 0.0f;
    mPierceRatioModifier = 0.0f;
    mPierceModifier = 0.0f;
}

float CombatAttributeDamage_BasePhysical::ProcessBluntDamageModifier(float factor) {
    mPhysical = std::max(factor * mPhysical, 0.0f);
    mPierce = std::max(factor * mPierce, 0.0f);
    return mPhysical;
}

void CombatAttributeDamage_BasePhysical::Execute(CombatCharacter& defender) {
    if (mPhysical > 0.0f)
        mPhysical = defender.DesignerCalculatePhysicalDamageDefense(
            mPhysical, mProtection, mAbsorbedProtection, mArmorBonus);
    if (mPhysical > 0.0f)
        defender.ApplyDamage(mPhysical,
                             {PlayStatsDamageType::Attack, CombatAttributeType::Physical},
                             CombatAttributeType::Physical);
    // Pierce damage does not pass through armour.
    if (mPierce > 0.0f)
        defender.ApplyDamage(mPierce, {PlayStatsDamageType::Attack, CombatAttributeType::Pierce},
                             CombatAttributeType::Pierce);
}

void CombatAttributeDamage_BasePhysical::GetTotalDamage(float& absolute, float&) {
    absolute += mPhysical + mPierce;
}

void CombatAttributeDamage_BasePhysical::ModifyAbsoluteDamage(CombatAttributeType type,
                                                              float value) {
    switch (type) {
        case CombatAttributeType::Physical:
            mPhysicalModifier += value;
            break;
        case CombatAttributeType::PierceRatio:
            mPierceRatioModifier += value;
            break;
        case CombatAttributeType::Pierce:
            mPierceModifier += value;
            break;
        default:
            break;
    }
}

void CombatAttributeDamage_BasePhysical::ReduceAbsoluteDamage(CombatAttributeType type,
                                                              float percent) {
    const float k = 1.0f - percent * kPercent;
    switch (type) {
        case CombatAttributeType::Physical:
            mPhysical = std::max(k * mPhysical, 0.0f);
            break;
        case CombatAttributeType::Pierce:
            mPierce = std::max(k * mPierce, 0.0f);
            break;
        case CombatAttributeType::AllPhysical:
            mPhysical = std::max(k * mPhysical, 0.0f);
            mPierce = std::max(k * mPierce, 0.0f);
            break;
        // Armour pieces sum their shares here for the armour formula.
        case CombatAttributeType::AbsorbedProtection:
            mAbsorbedProtection += percent;
            break;
        case CombatAttributeType::Protection:
            mProtection += percent;
            break;
        default:
            break;
    }
}

void CombatAttributeDamage_BasePhysical::DamageReductionByShield(const CombatCharacter& defender,
                                                                 float shieldDefense,
                                                                 float shieldAbsorption) {
    mPhysical = std::max(defender.DesignerCalculateShieldBlockDamageReduction(
                             mPhysical, shieldDefense, shieldAbsorption),
                         0.0f);
    mPierce = std::max(defender.DesignerCalculateShieldBlockDamageReduction(mPierce, shieldDefense,
                                                                            shieldAbsorption),
                       0.0f);
}

void CombatAttributeDamage_BasePhysical::ScaleDamage(float percent) {
    if (percent > 0.0f) {
        mPhysical = mPhysical * (percent * kPercent);
        mPierce = mPierce * (percent * kPercent);
    }
}

void CombatAttributeDamage_BonusPhysical::Execute(CombatCharacter& defender) {
    defender.ApplyDamage(mDamage, {PlayStatsDamageType::Attack, mType}, mType);
}

void CombatAttributeDamage_BonusPhysical::GetTotalDamage(float& absolute, float&) {
    absolute += mDamage;
}

void CombatAttributeDamage_BonusPhysical::ReduceAbsoluteDamage(CombatAttributeType type,
                                                               float percent) {
    if (type == mType)
        mDamage = mDamage * (1.0f - percent * kPercent);
    mDamage = std::max(mDamage, 0.0f);
}

void CombatAttributeDamage_BonusPhysical::DamageReductionByShield(const CombatCharacter& defender,
                                                                  float shieldDefense,
                                                                  float shieldAbsorption) {
    mDamage = std::max(defender.DesignerCalculateShieldBlockDamageReduction(mDamage, shieldDefense,
                                                                            shieldAbsorption),
                       0.0f);
}

void CombatAttributeDamage_BonusPhysical::ScaleDamage(float percent) {
    if (percent > 0.0f)
        mDamage = percent * kPercent * mDamage;
}

// ---- Armour ----

void CombatAttributeDefense_AbsorptionProtection::Process(const CombatCharacter&, float percent,
                                                          float subtract, float reducePercent,
                                                          float reduceAbsolute) {
    mAbsorption += std::fabs(mAbsorption) * mAbsorptionModifier * kPercent;
    mProtection += std::fabs(mProtection) * mProtectionModifier * kPercent;
    if (percent > 0.0f)
        mProtection = percent * kPercent * mProtection;
    mProtection -= subtract;
    mProtection -= std::fabs(mProtection) * reducePercent * kPercent + reduceAbsolute;
    mAbsorptionModifier = 0.0f;
    mProtectionModifier = 0.0f;
}

void CombatAttributeDefense_AbsorptionProtection::Execute(CombatAttribute* payload,
                                                          CombatAttributeRegion region) {
    if (!payload)
        return;
    // Region 0 matches every region.
    if (mRegion != region && mRegion != CombatAttributeRegion::FullyProtected &&
        region != CombatAttributeRegion::FullyProtected)
        return;
    payload->ReduceAbsoluteDamage(CombatAttributeType::AbsorbedProtection,
                                  mAbsorption * kPercent * mProtection);
    payload->ReduceAbsoluteDamage(CombatAttributeType::Protection, mProtection);
}

void CombatAttributeDefense_AbsorptionProtection::ModifyAbsoluteDefense(CombatAttributeType type,
                                                                        float value) {
    if (type == CombatAttributeType::Absorption)
        mAbsorptionModifier += value;
    else if (type == CombatAttributeType::Protection)
        mProtectionModifier += value;
}

void CombatAttributeDefense_AbsorptionProtection::GetTotalDefense(float& absolute, float&) const {
    absolute += mProtection;
}

}  // namespace GAME
