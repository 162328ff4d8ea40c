#include "Game/rules/damage/DamageAttributePhysical.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/core/util/MathUtil.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeDraw.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/DamageAttributeText.h"
#include "Game/rules/damage/DamageRoll.h"

namespace GAME {

using namespace DamageAttributeRules;
using namespace DamageAttributeText;

// ---- DamageAttribute_BasePhysical ----

void DamageAttribute_BasePhysical::Create_BasePhysical(DamageAttributeStore& store,
                                                       const LoadTable& table) {
    auto attribute = std::make_unique<DamageAttribute_BasePhysical>();
    attribute->LoadFromTable(table);
    store.Register(std::move(attribute));
}

bool DamageAttribute_BasePhysical::LoadFromTable(const LoadTable& table) {
    mMinimum = table.GetFloat("offensivePhysicalMin", 0.0f);
    mSpread = std::max(table.GetFloat("offensivePhysicalMax", 0.0f) - mMinimum, 0.0f);
    mPierceRatio = table.GetFloat("offensivePierceRatioMin", 0.0f);
    return true;
}

void DamageAttribute_BasePhysical::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                          unsigned int, RandomUniform& random,
                                                          bool) const {
    const float amount = DrawDamageFloat(accumulator, random, mMinimum, mMinimum + mSpread);
    accumulator.AddNewDamage<CombatAttributeDamage_BasePhysical>(CombatAttributeType::BasePhysical,
                                                                 amount, mPierceRatio, true);
}

bool DamageAttribute_BasePhysical::DescribeRoll(DamageAttributeParts pass, unsigned int,
                                                DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    roll.gated = false;
    roll.draws = DamageRoll::Draws::Amount;
    roll.amountMin = mMinimum;
    roll.amountMax = mMinimum + mSpread;
    roll.second = mPierceRatio;
    roll.AddPayload(CombatPayloadKind::DesignerPhysical, CombatAttributeType::BasePhysical);
    return true;
}

void DamageAttribute_BasePhysical::ScaleAttribute(float percent) {
    if (percent != 0.0f)
        mMinimum = mMinimum + static_cast<float>(PercentOf(mMinimum, percent));
}

void DamageAttribute_BasePhysical::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    const float average = (2.0f * mMinimum + mSpread) * 0.5f;
    if (average > 0.0f || mPierceRatio > 0.0f) {
        cost.avgBase += average;
        cost.count += 1;
        cost.avgPierceRatio += mPierceRatio;
    }
}

void DamageAttribute_BasePhysical::CreateText(DamageTextList& list1, DamageTextList&,
                                              DamageTextList&, unsigned int) const {
    if (!(mMinimum > 0.0f || mSpread > 0.0f))
        return;
    std::wstring line = mSpread > 0.0f ? Text("DamageRangeFormat", mMinimum, mMinimum + mSpread)
                                       : Text("DamageSingleFormat", mMinimum);
    line += Text("DamageBasePhysical");
    list1.push_back(line);
    if (mPierceRatio > 0.0f)
        list1.push_back(Text("DamageBasePierceRatio", mPierceRatio));
}

// ---- DamageAttribute_Physical ----

bool DamageAttribute_Physical::LoadFromTable(const LoadTable& table) {
    LoadChance(table);
    table.GetFloatArray("offensivePierceRatio", mPierceRatios);
    std::vector<float> minimum;
    std::vector<float> maximum;
    table.GetFloatArray("offensivePhysicalMin", minimum);
    ApplySingleZeroRule(minimum);
    table.GetFloatArray("offensivePhysicalMax", maximum);
    ApplySingleZeroRule(maximum);
    mValues.clear();
    for (const DamageAttributeRange& range : BuildRanges(minimum, maximum))
        mValues.push_back({range.minimum, TruncateToUnsigned(range.spread)});
    if (mValues.empty())
        return false;
    ReadStoreGroup(table);
    return true;
}

const DamageAttribute_Physical::Range* DamageAttribute_Physical::GetRange(
    unsigned int level) const {
    if (level == 0 || mValues.empty())
        return nullptr;
    return &mValues[std::min<std::size_t>(level - 1u, mValues.size() - 1)];
}

float DamageAttribute_Physical::GetValueMin(unsigned int level) const {
    const Range* range = GetRange(level);
    return range ? range->minimum : 0.0f;
}

float DamageAttribute_Physical::GetValueMax(unsigned int level) const {
    const Range* range = GetRange(level);
    return range ? range->minimum + static_cast<float>(range->spread) : 0.0f;
}

float DamageAttribute_Physical::GetPierceRatio(unsigned int level) const {
    return PerLevel(mPierceRatios, level);
}

void DamageAttribute_Physical::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                      unsigned int level, RandomUniform& random,
                                                      bool skipChance) const {
    const float chance = GetChance(level);
    if (!PassesChance(accumulator, chance, skipChance))
        return;
    float amount = DrawDamageFloat(accumulator, random, GetValueMin(level), GetValueMax(level));
    amount = amount * accumulator.GetChanceMultiplier(chance);
    accumulator.AddNewDamage<CombatAttributeDamage_BasePhysical>(
        CombatAttributeType::Physical, amount, GetPierceRatio(level), false);
}

bool DamageAttribute_Physical::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                            DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    roll.chance = GetChance(level);
    roll.draws = DamageRoll::Draws::Amount;
    roll.amountMin = GetValueMin(level);
    roll.amountMax = GetValueMax(level);
    roll.second = GetPierceRatio(level);
    roll.AddPayload(CombatPayloadKind::Physical, CombatAttributeType::Physical);
    return true;
}

void DamageAttribute_Physical::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (Range& range : mValues)
        range.minimum = Scale(range.minimum, percent);
}

void DamageAttribute_Physical::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || !random)
        return;
    const float p = std::clamp(percent, 0.0f, 50.0f);
    for (Range& range : mValues) {
        range.minimum = Jitter(range.minimum, p, *random);
        range.spread = TruncateToUnsigned(Jitter(static_cast<float>(range.spread), p, *random));
    }
    for (float& ratio : mPierceRatios)
        ratio = Jitter(ratio, p, *random);
}

void DamageAttribute_Physical::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    float average = RangeAverage(GetValueMin(1), GetValueMax(1));
    const float chance = GetChance(1);
    if (chance > 0.0f)
        average = average * (chance * kPercent);
    const float pierce = GetPierceRatio(1);
    if (average > 0.0f || pierce > 0.0f) {
        cost.avgBonus += average;
        cost.count += 1;
        cost.avgPierceRatio += pierce;
    }
}

void DamageAttribute_Physical::AppendLine(DamageTextList& list2, unsigned int level) const {
    const float minimum = GetValueMin(level);
    const float maximum = GetValueMax(level);
    std::wstring line;
    AppendChancePrefix(line, GetChance(level));
    line += minimum == maximum ? Text("DamageSingleFormat", minimum)
                               : Text("DamageRangeFormat", minimum, maximum);
    line += Text("DamageBasePhysical");
    list2.push_back(line);
}

void DamageAttribute_Physical::CreateText(DamageTextList&, DamageTextList& list2, DamageTextList&,
                                          unsigned int level) const {
    if (GetValueMin(level) == 0.0f && GetValueMax(level) == 0.0f)
        return;
    AppendLine(list2, level);
    if (GetPierceRatio(level) > 0.0f)
        list2.push_back(Text("DamageBasePierceRatio", GetPierceRatio(level)));
}

void DamageAttribute_Physical::CreateNextText(DamageTextList&, DamageTextList& list2,
                                              DamageTextList&, unsigned int level,
                                              unsigned int nextLevel) const {
    // A change of the pierce ratio alone shows nothing.
    if (GetValueMin(level) == GetValueMin(nextLevel) &&
        GetValueMax(level) == GetValueMax(nextLevel) && GetChance(level) == GetChance(nextLevel))
        return;
    AppendLine(list2, nextLevel);
    if (GetPierceRatio(nextLevel) > GetPierceRatio(level))
        list2.push_back(Text("DamageBasePierceRatio", GetPierceRatio(nextLevel)));
}

// ---- Mana burn ----

bool DamageAttributeAbs_ManaBurn::LoadFromTable(const LoadTable& table) {
    table.GetFloatArray(GetLoadDamageRatioTag(), mDamageRatios);
    return DamageAttributeAbsBonus::LoadFromTable(table);
}

float DamageAttributeAbs_ManaBurn::GetDamageRatio(unsigned int level) const {
    return PerLevel(mDamageRatios, level);
}

void DamageAttributeAbs_ManaBurn::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                         unsigned int level, RandomUniform& random,
                                                         bool skipChance) const {
    float amount = 0.0f;
    if (RollAmount(accumulator, level, random, skipChance, amount))
        accumulator.AddNewDamage<CombatAttributeAbsDamage_ManaBurn>(CombatAttributeType::ManaBurn,
                                                                    amount, GetDamageRatio(level));
}

bool DamageAttributeAbs_ManaBurn::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                               DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmount(level, roll);
    roll.second = GetDamageRatio(level);
    roll.AddPayload(CombatPayloadKind::ManaBurn, CombatAttributeType::ManaBurn);
    return true;
}

void DamageAttributeAbs_ManaBurn::GetText(std::wstring& line, unsigned int level) const {
    DamageAttributeAbsBonus::GetText(line, level);
    if (GetDamageRatio(level) > 0.0f)
        line += Text("DamageManaBurnRatio", GetDamageRatio(level));
}

void DamageAttributeAbs_ManaBurn::GetNextText(std::wstring& line, unsigned int level,
                                              unsigned int nextLevel) const {
    DamageAttributeAbsBonus::GetNextText(line, level, nextLevel);
    if (GetDamageRatio(nextLevel) != GetDamageRatio(level))
        line += Text("DamageManaBurnRatio", GetDamageRatio(nextLevel));
}

}  // namespace GAME
