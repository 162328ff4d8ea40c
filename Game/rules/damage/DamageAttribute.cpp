// The damage attribute base, the per-level helpers and the single-amount family.
#include "Game/rules/damage/DamageAttribute.h"

#include <algorithm>
#include <cmath>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeDraw.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/DamageAttributeText.h"
#include "Game/rules/damage/DamageRoll.h"

namespace GAME {

using namespace DamageAttributeText;

// ---- Per-level helpers ----

namespace DamageAttributeRules {

void ApplySingleZeroRule(std::vector<float>& values) {
    if (values.size() == 1 && values.front() == 0.0f)
        values.clear();
}

std::vector<DamageAttributeRange> BuildRanges(const std::vector<float>& minimum,
                                              const std::vector<float>& maximum) {
    std::vector<DamageAttributeRange> ranges;
    ranges.reserve(minimum.size());
    float carried = minimum.empty() ? 0.0f : minimum.front();
    for (std::size_t i = 0; i < minimum.size(); ++i) {
        if (i < maximum.size())
            carried = maximum[i];
        ranges.push_back({minimum[i], std::max(carried - minimum[i], 0.0f)});
    }
    return ranges;
}

int PercentOf(float value, float percent) {
    // Formed in double from the float constant: 10 percent of 100 truncates to 9.
    const double share =
        static_cast<double>(percent) * static_cast<double>(kPercent) * static_cast<double>(value);
    if (!(share > -2147483648.0 && share < 2147483648.0))
        return 0;
    return static_cast<int>(share);
}

}  // namespace DamageAttributeRules

using namespace DamageAttributeRules;

// ---- DamageAttribute ----

float DamageAttribute::Jitter(float value, float percent, RandomUniform& random) const {
    if (value == 0.0f)
        return value;
    int d = PercentOf(value, percent);
    if (d == 0)
        d = 1;
    const float n = static_cast<float>(random.IGenerate(-d, d)) + value;
    return std::fabs(n) < 1.0f ? value : n;
}

float DamageAttribute::Scale(float value, float percent) const {
    return value + static_cast<float>(PercentOf(value, percent));
}

void DamageAttribute::LoadChance(const LoadTable& table) {
    table.GetFloatArray(GetLoadChanceTag(), mChance);
}

void DamageAttribute::ReadStoreGroup(const LoadTable& table) {
    if (!table.GetBool(GetLoadGlobalTag(), false))
        mStoreGroup = DamageAttributeGroup::Plain;
    else if (table.GetBool(GetLoadXorTag(), false))
        mStoreGroup = DamageAttributeGroup::GlobalXor;
    else
        mStoreGroup = DamageAttributeGroup::GlobalAnd;
}

void DamageAttribute::AppendChancePrefix(std::wstring& line, float chance) const {
    if (mHideChance)
        line += Text("tagIndent");
    else if (chance > 0.0f)
        line += Text("ChanceOfTag", chance);
}

void DamageAttribute::AppendToList(const std::wstring& line, DamageTextList& list1,
                                   DamageTextList& list2, DamageTextList& list3) const {
    if (line.empty())
        return;
    switch (GetTextList()) {
        case 1:
            list1.push_back(line);
            break;
        case 2:
            list2.push_back(line);
            break;
        case 3:
            list3.push_back(line);
            break;
        default:
            break;
    }
}

// ---- DamageAttributeAbs ----

DamageAttributeAbs::DamageAttributeAbs()
    : DamageAttribute(kDamageAttributeDamage),
      mSingleFormatTag("DamageSingleFormat"),
      mRangeFormatTag("DamageRangeFormat") {}

DamageAttributeInfluence::DamageAttributeInfluence() {
    mSingleFormatTag = "DamageInfluenceSingleFormat";
    mRangeFormatTag = "DamageInfluenceRangeFormat";
}

DamageAttributeReflex::DamageAttributeReflex() {
    mSingleFormatTag = "DamageReflexSingleFormat";
    mRangeFormatTag = "DamageReflexRangeFormat";
}

bool DamageAttributeAbs::LoadFromTable(const LoadTable& table) {
    LoadChance(table);
    std::vector<float> minimum;
    std::vector<float> maximum;
    table.GetFloatArray(GetLoadValueMinTag(), minimum);
    ApplySingleZeroRule(minimum);
    table.GetFloatArray(GetLoadValueMaxTag(), maximum);
    ApplySingleZeroRule(maximum);
    mValues = BuildRanges(minimum, maximum);
    if (mValues.empty())
        return false;
    ReadStoreGroup(table);
    return true;
}

void DamageAttributeAbs::AppendValueText(std::wstring& line, float minimum, float maximum) const {
    if (minimum == maximum)
        line += Text(mSingleFormatTag, minimum);
    else
        line += Text(mRangeFormatTag, minimum, maximum);
    line += Text(GetDisplayTag());
}

void DamageAttributeAbs::GetText(std::wstring& line, unsigned int level) const {
    const float minimum = GetValueMin(level);
    const float maximum = GetValueMax(level);
    if (minimum == 0.0f && maximum == 0.0f)
        return;
    AppendChancePrefix(line, GetChance(level));
    AppendValueText(line, minimum, maximum);
}

void DamageAttributeAbs::GetNextText(std::wstring& line, unsigned int level,
                                     unsigned int nextLevel) const {
    const float minimum = GetValueMin(nextLevel);
    const float maximum = GetValueMax(nextLevel);
    const float chance = GetChance(nextLevel);
    if (minimum == GetValueMin(level) && maximum == GetValueMax(level) &&
        chance == GetChance(level))
        return;
    AppendChancePrefix(line, chance);
    AppendValueText(line, minimum, maximum);
}

void DamageAttributeAbs::CreateText(DamageTextList& list1, DamageTextList& list2,
                                    DamageTextList& list3, unsigned int level) const {
    std::wstring line;
    GetText(line, level);
    AppendToList(line, list1, list2, list3);
}

void DamageAttributeAbs::CreateNextText(DamageTextList& list1, DamageTextList& list2,
                                        DamageTextList& list3, unsigned int level,
                                        unsigned int nextLevel) const {
    std::wstring line;
    GetNextText(line, level, nextLevel);
    AppendToList(line, list1, list2, list3);
}

std::unique_ptr<CombatAttribute> DamageAttributeAbs::CreatePayload(float amount) const {
    return std::unique_ptr<CombatAttribute>(
        CombatPayloadKinds::Make(GetPayloadKind(), GetType(), amount, 0.0f));
}

void DamageAttributeAbs::DescribeAmount(unsigned int level, DamageRoll& roll) const {
    roll.chance = GetChance(level);
    roll.draws = DamageRoll::Draws::Amount;
    roll.amountMin = GetValueMin(level);
    roll.amountMax = GetValueMax(level);
}

bool DamageAttributeAbs::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                      DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmount(level, roll);
    roll.AddPayload(GetPayloadKind(), GetType());
    return true;
}

void DamageAttributeAbs::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                unsigned int level, RandomUniform& random,
                                                bool skipChance) const {
    float amount = 0.0f;
    if (RollAmount(accumulator, level, random, skipChance, amount))
        accumulator.AddDamage(CreatePayload(amount));
}

void DamageAttributeAbs::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (DamageAttributeRange& range : mValues)
        range.minimum = Scale(range.minimum, percent);
}

void DamageAttributeAbs::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || !random)
        return;
    const float p = std::clamp(percent, 0.0f, 50.0f);
    for (DamageAttributeRange& range : mValues) {
        range.minimum = Jitter(range.minimum, p, *random);
        range.spread = Jitter(range.spread, p, *random);
    }
}

void DamageAttributeAbs::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    float average = RangeAverage(GetValueMin(1), GetValueMax(1));
    const float chance = GetChance(1);
    if (chance > 0.0f)
        average = average * (chance * kPercent);
    if (average > 0.0f) {
        if (IsBaseDamage())
            cost.avgBase += average;
        else
            cost.avgBonus += average;
        cost.count += 1;
    }
}

}  // namespace GAME
