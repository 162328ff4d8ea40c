#include "Game/rules/CostInfo.h"

#include "Engine/Engine.h"

namespace GAME {

namespace {
void LogFloat(const char* format, float value) {
    if (value != 0.0f)
        gEngine->Log(0, format, static_cast<double>(value));
}
void LogInt(const char* format, int value) {
    if (value != 0)
        gEngine->Log(0, format, value);
}
void LogPair(const char* format, float value, int count) {
    if (value != 0.0f || count != 0)
        gEngine->Log(0, format, static_cast<double>(value), count);
}
}  // namespace

// ---- Character ----

void CostInfo_CharacterAttributes::Clear() {
    primaryAtt = secondaryAtt = bonus = primaryMod = secondaryMod = bonusMod = 0.0f;
    attackSpeed = otherSpeed = attackSpeedMod = otherSpeedMod = 0.0f;
    primaryAttCount = secondaryAttCount = bonusCount = primaryModCount = secondaryModCount = 0;
    bonusModCount = attackSpeedCount = otherSpeedCount = attackSpeedModCount = 0;
    otherSpeedModCount = 0;
}

int CostInfo_CharacterAttributes::GetTotalCount() const {
    return primaryAttCount + secondaryAttCount + bonusCount + primaryModCount + secondaryModCount +
           bonusModCount + attackSpeedCount + otherSpeedCount + attackSpeedModCount +
           otherSpeedModCount;
}

void CostInfo_CharacterAttributes::Dump() const {
    gEngine->Log(0, "Character Cost Attributes");
    LogPair("   primaryAtt     (%f)   primaryAttCount       (%d)", primaryAtt, primaryAttCount);
    LogPair("   secondaryAtt   (%f)   secondaryAttCount     (%d)", secondaryAtt, secondaryAttCount);
    LogPair("   bonus          (%f)   bonusCount            (%d)", bonus, bonusCount);
    LogPair("   primaryMod     (%f)   primaryModCount       (%d)", primaryMod, primaryModCount);
    LogPair("   secondaryMod   (%f)   secondaryModCount     (%d)", secondaryMod, secondaryModCount);
    LogPair("   bonusMod       (%f)   bonusModCount         (%d)", bonusMod, bonusModCount);
    LogPair("   attackSpeed    (%f)   attackSpeedCount      (%d)", attackSpeed, attackSpeedCount);
    LogPair("   otherSpeed     (%f)   otherSpeedCount       (%d)", otherSpeed, otherSpeedCount);
    LogPair("   attackSpeedMod (%f)   attackSpeedModCount   (%d)", attackSpeedMod,
            attackSpeedModCount);
    LogPair("   otherSpeedMod  (%f)   otherSpeedModCount    (%d)", otherSpeedMod,
            otherSpeedModCount);
}

// ---- Skill ----

void CostInfo_SkillAttributes::Clear() {
    base = bonus = modifier = 0.0f;
    bonusCount = 0;
}

void CostInfo_SkillAttributes::Dump() const {
    gEngine->Log(0, "Skill Cost Attributes");
    LogFloat("   base        = %f", base);
    LogFloat("   bonus       = %f", bonus);
    LogFloat("   modifier    = %f", modifier);
    LogInt("   bonusCount  = %d", bonusCount);
}

// ---- Defense ----

void CostInfo_DefenseAttributes::Clear() {
    armor = base = baseDuration = mod = modDuration = 0.0f;
    count = 0;
}

void CostInfo_DefenseAttributes::Dump() const {
    gEngine->Log(0, "Defense Cost Attributes");
    LogFloat("   armor           = %f", armor);
    LogFloat("   base            = %f", base);
    LogFloat("   baseDuration    = %f", baseDuration);
    LogFloat("   mod             = %f", mod);
    LogFloat("   modDuration     = %f", modDuration);
    LogInt("   count           = %d", count);
}

// ---- Damage and retaliation ----

void CostInfo_DamageAttributes::Clear() {
    avgBase = avgPierceRatio = avgBonus = avgOverTime = mod = modDur = 0.0f;
    count = 0;
}

void CostInfo_DamageAttributes::Dump() const {
    gEngine->Log(0, "Damage Cost Attributes");
    if (avgBase != 0.0f || avgPierceRatio != 0.0f)
        gEngine->Log(0, "   avgBase (%f)  avgPierceRatio (%f)", static_cast<double>(avgBase),
                     static_cast<double>(avgPierceRatio));
    LogFloat("   avgBonus        = %f", avgBonus);
    LogFloat("   avgOverTime     = %f", avgOverTime);
    LogFloat("   mod             = %f", mod);
    LogFloat("   modDur          = %f", modDur);
    LogInt("   count           = %d", count);
}

void CostInfo_RetaliationAttributes::Dump() const {
    gEngine->Log(0, "Retaliation Cost Attributes");
    LogFloat("   avgBonus        = %f", avgBonus);
    LogFloat("   avgOverTime     = %f", avgOverTime);
    LogFloat("   mod             = %f", mod);
    LogFloat("   modDur          = %f", modDur);
    LogInt("   count           = %d", count);
}

// ---- Augments and shields ----

void CostInfo_AugmentAttributes::Clear() {
    augmentLevel = augmentCount = 0;
}

void CostInfo_AugmentAttributes::Dump() const {
    gEngine->Log(0, "Augments Cost Attributes");
    LogInt("   augmentLevel    = %d", augmentLevel);
    LogInt("   augmentCount    = %d", augmentCount);
}

void CostInfo_ShieldAttributes::Clear() {
    blockChance = blockDefense = blockAbsorption = blockRecoveryTime = 0.0f;
}

void CostInfo_ShieldAttributes::Dump() const {
    gEngine->Log(0, "Shield Cost Attributes");
    LogFloat("   blockChance         = %f", blockChance);
    LogFloat("   blockDefense        = %f", blockDefense);
    LogFloat("   blockAbsorption     = %f", blockAbsorption);
    LogFloat("   blockRecoveryTime   = %f", blockRecoveryTime);
}

}  // namespace GAME
