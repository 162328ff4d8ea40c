#include "Game/rules/DefenseAttribute.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/DefenseAttributeRootAccess.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"

namespace GAME {

std::optional<float> GetRootArmorDefensiveAbsorption() {
    const auto& access = Singleton<DefenseAttributeRootAccess>::Get();
    if (access.armorDefensiveAbsorption)
        return access.armorDefensiveAbsorption();
    if (GameEngine* root = gGameEngine)
        return root->GetArmorDefensiveAbsorption();
    return std::nullopt;
}

void SetRootArmorDefensiveAbsorptionSource(std::function<float()> source) {
    Singleton<DefenseAttributeRootAccess>::Get().armorDefensiveAbsorption = std::move(source);
}

bool DefenseAttribute::LoadFromTable(const LoadTable& record, bool /*keepIfEmpty*/) {
    if (mChanceField != nullptr)
        record.GetFloatArray(mChanceField, mChances);
    return true;
}

float DefenseAttribute::Jitter(float value, float percent, RandomUniform& random) const {
    return AttributeJitter(value, percent, random);
}

float DefenseAttribute::Scale(float value, float percent) const {
    return AttributeScale(value, percent);
}

float DefenseAttribute::GetChance(unsigned level) const {
    return AttributeLevelValue(mChances, level);
}

bool DefenseAttribute_Typical::LoadFromTable(const LoadTable& record, bool keepIfEmpty) {
    DefenseAttribute::LoadFromTable(record, keepIfEmpty);
    record.GetFloatArray(mValueField, mValues);
    if (mValues.size() == 1 && mValues[0] == 0.0f)
        mValues.clear();
    if (mValues.empty()) {
        if (!keepIfEmpty)
            return false;
        mValues.push_back(0.0f);
    }
    return true;
}

std::wstring DefenseAttribute_Typical::MakeLine(float chance, float value) const {
    const auto& texts = LocalizationManager::Instance();
    std::wstring line;
    if (chance > 0.0f)
        line = texts.Format("ChanceOfTag", static_cast<double>(chance));
    line += texts.Format(mTextTag, static_cast<double>(value));
    return line;
}

void DefenseAttribute_Typical::CreateText(unsigned level, DefenseTextList& /*baseLines*/,
                                          DefenseTextList& attributeLines) const {
    const float value = GetValue(level);
    if (value == 0.0f)
        return;
    attributeLines.push_back(MakeLine(GetChance(level), value));
}

void DefenseAttribute_Typical::CreateNextText(unsigned level, unsigned nextLevel,
                                              DefenseTextList& /*baseLines*/,
                                              DefenseTextList& attributeLines) const {
    const float next = GetValue(nextLevel);
    const float nextChance = GetChance(nextLevel);
    if (next == GetValue(level) && nextChance == GetChance(level))
        return;
    attributeLines.push_back(MakeLine(nextChance, next));
}

void DefenseAttribute_Typical::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (float& value : mValues)
        value = Scale(value, percent);
}

void DefenseAttribute_Typical::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || random == nullptr)
        return;
    percent = std::min(percent, 50.0f);
    for (float& value : mValues)
        value = Jitter(value, percent, *random);
}

float DefenseAttribute_Typical::GetValue(unsigned level) const {
    return AttributeLevelValue(mValues, level);
}

bool DefenseAttribute_Typical::RollValue(CombatAttributeAccumulator& accumulator, unsigned level,
                                         bool skipChance, float& value) const {
    const float chance = GetChance(level);
    if (!skipChance && !accumulator.EvaluateChance(chance))
        return false;
    value = GetValue(level) * accumulator.GetChanceMultiplier(chance);
    return true;
}

void DefenseAttribute_Typical::AddCost(float& field, CostInfo_DefenseAttributes& cost) const {
    float value = GetValue(1);
    const float chance = GetChance(1);
    if (chance > 0.0f)
        value = chance * 0.01f * value;
    if (value == 0.0f)
        return;
    field += value;
    cost.count += 1;
}

void DefenseAttributeAbs::AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                                           RandomUniform& /*random*/, bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefense>(mType, value));
}

void DefenseAttributeAbs::GetCostInfo(CostInfo_DefenseAttributes& cost) const {
    AddCost(cost.base, cost);
}

void DefenseAttributeAbsRestricted::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                                     unsigned level, RandomUniform& /*random*/,
                                                     bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefenseRestricted>(mType, value));
}

void DefenseAttributeDur::AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                                           RandomUniform& /*random*/, bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefense(std::make_unique<CombatAttributeDurDefense>(mType, value));
}

void DefenseAttributeDur::GetCostInfo(CostInfo_DefenseAttributes& cost) const {
    AddCost(cost.baseDuration, cost);
}

void DefenseAttributeAbsMod::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                              unsigned level, RandomUniform& /*random*/,
                                              bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefenseModifier(
            std::make_unique<CombatAttributeAbsDefenseMod>(mType, value));
}

void DefenseAttributeAbsMod::GetCostInfo(CostInfo_DefenseAttributes& cost) const {
    AddCost(cost.mod, cost);
}

void DefenseAttributeDurMod::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                              unsigned level, RandomUniform& /*random*/,
                                              bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefenseModifier(
            std::make_unique<CombatAttributeDurDefenseMod>(mType, value));
}

void DefenseAttributeDurMod::GetCostInfo(CostInfo_DefenseAttributes& cost) const {
    AddCost(cost.modDuration, cost);
}

void DefenseAttributeAbs_ElementalResistance::AddToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned level, RandomUniform& /*random*/,
    bool skipChance) const {
    float value = 0.0f;
    if (!RollValue(accumulator, level, skipChance, value))
        return;
    for (const auto type :
         {CombatAttributeType::Cold, CombatAttributeType::Fire, CombatAttributeType::Lightning})
        accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefense>(type, value));
}

void DefenseAttributeMisc_BlockModifier::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                                          unsigned level, RandomUniform& /*random*/,
                                                          bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefense(std::make_unique<CombatAttributeDefenseMisc>(mType, value));
}

void DefenseAttributeMisc_Reflect::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                                    unsigned level, RandomUniform& /*random*/,
                                                    bool skipChance) const {
    float value = 0.0f;
    if (RollValue(accumulator, level, skipChance, value))
        accumulator.AddDefense(std::make_unique<CombatAttributeDefenseMisc>(mType, value));
}

bool DefenseAttribute_BaseProtectionAbsorption::LoadFromTable(const LoadTable& record,
                                                              bool /*keepIfEmpty*/) {
    if (const auto absorption = GetRootArmorDefensiveAbsorption())
        mAbsorption = *absorption;
    record.GetFloatArray("defensiveProtection", mProtection);
    return true;
}

bool DefenseAttribute_BaseProtectionAbsorption::LoadFromTable(const LoadTable& record,
                                                              const LoadTable* firstExtra,
                                                              const LoadTable* secondExtra,
                                                              bool keepIfEmpty) {
    if (firstExtra != nullptr)
        mFirstBonus = firstExtra->GetFloat("defensiveProtection", 0.0f);
    if (secondExtra != nullptr)
        mSecondBonus = secondExtra->GetFloat("defensiveProtection", 0.0f);
    return LoadFromTable(record, keepIfEmpty);
}

void DefenseAttribute_BaseProtectionAbsorption::Create_BaseAbsorptionProtection(
    DefenseAttributeStore& store, const LoadTable& record, const LoadTable* firstExtra,
    const LoadTable* secondExtra, float jitterPercent, CombatAttributeRegion region) {
    auto attribute = std::make_unique<DefenseAttribute_BaseProtectionAbsorption>();
    if (!attribute->LoadFromTable(record, firstExtra, secondExtra, false))
        return;
    attribute->SetRegion(region);
    attribute->AddJitter(jitterPercent, store.GetRandomGen());
    store.AddAttribute(std::move(attribute));
}

float DefenseAttribute_BaseProtectionAbsorption::GetProtection(unsigned level) const {
    return AttributeLevelValue(mProtection, level);
}

void DefenseAttribute_BaseProtectionAbsorption::CreateText(unsigned level,
                                                           DefenseTextList& baseLines,
                                                           DefenseTextList& attributeLines) const {
    const auto& texts = LocalizationManager::Instance();
    const float protection = GetProtection(level);
    if (protection != 0.0f)
        baseLines.push_back(
            texts.Format("DefenseAbsorptionProtection", static_cast<double>(protection)));
    const float bonus = mSecondBonus + mFirstBonus;
    if (bonus != 0.0f)
        attributeLines.push_back(
            texts.Format("DefenseAbsorptionProtectionBonus", static_cast<double>(bonus)));
}

void DefenseAttribute_BaseProtectionAbsorption::AddToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned level, RandomUniform& /*random*/,
    bool /*skipChance*/) const {
    const float protection = GetProtection(level) + mSecondBonus + mFirstBonus;
    if (protection > 0.0f && mAbsorption > 0.0f)
        accumulator.AddDefense(std::make_unique<CombatAttributeDefense_AbsorptionProtection>(
            mAbsorption, protection, mRegion));
}

void DefenseAttribute_BaseProtectionAbsorption::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (float& value : mProtection)
        value = Scale(value, percent);
}

void DefenseAttribute_BaseProtectionAbsorption::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || random == nullptr)
        return;
    percent = std::min(percent, 50.0f);
    if (mFirstBonus > 0.0f)
        mFirstBonus = Jitter(mFirstBonus, percent, *random);
    if (mSecondBonus > 0.0f)
        mSecondBonus = Jitter(mSecondBonus, percent, *random);
}

void DefenseAttribute_BaseProtectionAbsorption::GetCostInfo(
    CostInfo_DefenseAttributes& cost) const {
    const float protection = GetProtection(1) + mSecondBonus + mFirstBonus;
    if (protection == 0.0f)
        return;
    cost.armor += protection;
    cost.count += 1;
}

void DefenseAttribute_SkillProtectionAbsorption::CreateText(unsigned level,
                                                            DefenseTextList& /*baseLines*/,
                                                            DefenseTextList& attributeLines) const {
    const float protection = GetProtection(level);
    if (protection != 0.0f)
        attributeLines.push_back(LocalizationManager::Instance().Format(
            "DefenseAbsorptionProtection", static_cast<double>(protection)));
}

void DefenseAttribute_SkillProtectionAbsorption::CreateNextText(
    unsigned level, unsigned nextLevel, DefenseTextList& /*baseLines*/,
    DefenseTextList& attributeLines) const {
    const float next = GetProtection(nextLevel);
    if (next - GetProtection(level) != 0.0f)
        attributeLines.push_back(LocalizationManager::Instance().Format(
            "DefenseAbsorptionProtection", static_cast<double>(next)));
}

}  // namespace GAME
