// The damage-over-time family of damage attributes.
#include <algorithm>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttribute.h"
#include "Game/rules/damage/DamageAttributeDraw.h"
#include "Game/rules/damage/DamageAttributeText.h"
#include "Game/rules/damage/DamageRoll.h"

namespace GAME {

using namespace DamageAttributeRules;
using namespace DamageAttributeText;

bool DamageAttributeDur::LoadFromTable(const LoadTable& table) {
    LoadChance(table);
    std::vector<float> minimum, maximum, durationMinimum, durationMaximum;
    table.GetFloatArray(GetLoadValueMinTag(), minimum);
    ApplySingleZeroRule(minimum);
    table.GetFloatArray(GetLoadValueMaxTag(), maximum);
    ApplySingleZeroRule(maximum);
    table.GetFloatArray(GetLoadDurationMinTag(), durationMinimum);
    ApplySingleZeroRule(durationMinimum);
    table.GetFloatArray(GetLoadDurationMaxTag(), durationMaximum);
    ApplySingleZeroRule(durationMaximum);
    mValues = BuildRanges(minimum, maximum);
    mDurations = BuildRanges(durationMinimum, durationMaximum);
    if (mValues.empty() || mDurations.empty())
        return false;
    ReadStoreGroup(table);
    return true;
}

void DamageAttributeDur::AppendValueText(std::wstring& line, unsigned int level) const {
    const float minimum = GetValueMin(level);
    const float maximum = GetValueMax(level);
    const float durationMin = GetDurationMin(level);
    const float durationMax = GetDurationMax(level);
    if (IsFixedDuration()) {
        line += minimum == maximum ? Text("DamageSingleFormat", minimum)
                                   : Text("DamageRangeFormat", minimum, maximum);
        line += Text(GetDisplayTag());
        line += durationMin == durationMax
                    ? Text("DamageFixedSingleFormatTime", durationMin)
                    : Text("DamageFixedRangeFormatTime", durationMin, durationMax);
        return;
    }
    // The damage over the whole duration.
    const float low = minimum * durationMin;
    const float high = maximum * durationMax;
    line += low == high ? Text("DamageSingleFormat", low) : Text("DamageRangeFormat", low, high);
    line += Text(GetDisplayTag());
    if (durationMin == durationMax && durationMin == 1.0f)
        line += Text("tagPerSecond");
    else if (durationMin == durationMax)
        line += Text("DamageSingleFormatTime", durationMin);
    else
        line += Text("DamageRangeFormatTime", durationMin, durationMax);
}

void DamageAttributeDur::GetText(std::wstring& line, unsigned int level) const {
    if (GetValueMin(level) == 0.0f && GetValueMax(level) == 0.0f)
        return;
    if (GetDurationMin(level) == 0.0f && GetDurationMax(level) == 0.0f)
        return;
    AppendChancePrefix(line, GetChance(level));
    AppendValueText(line, level);
}

void DamageAttributeDur::GetNextText(std::wstring& line, unsigned int level,
                                     unsigned int nextLevel) const {
    if (GetValueMin(level) == GetValueMin(nextLevel) &&
        GetValueMax(level) == GetValueMax(nextLevel) &&
        GetDurationMin(level) == GetDurationMin(nextLevel) &&
        GetDurationMax(level) == GetDurationMax(nextLevel) &&
        GetChance(level) == GetChance(nextLevel))
        return;
    AppendChancePrefix(line, GetChance(nextLevel));
    AppendValueText(line, nextLevel);
}

void DamageAttributeDur::CreateText(DamageTextList& list1, DamageTextList& list2,
                                    DamageTextList& list3, unsigned int level) const {
    std::wstring line;
    GetText(line, level);
    AppendToList(line, list1, list2, list3);
}

void DamageAttributeDur::CreateNextText(DamageTextList& list1, DamageTextList& list2,
                                        DamageTextList& list3, unsigned int level,
                                        unsigned int nextLevel) const {
    std::wstring line;
    GetNextText(line, level, nextLevel);
    AppendToList(line, list1, list2, list3);
}

std::unique_ptr<CombatAttribute> DamageAttributeDur::CreatePayload(float amount,
                                                                   float duration) const {
    return std::unique_ptr<CombatAttribute>(
        CombatPayloadKinds::Make(GetPayloadKind(), GetType(), amount, duration));
}

void DamageAttributeDur::DescribeAmountAndDuration(unsigned int level, DamageRoll& roll) const {
    roll.chance = GetChance(level);
    roll.draws = DamageRoll::Draws::AmountAndDuration;
    roll.amountMin = GetValueMin(level);
    roll.amountMax = GetValueMax(level);
    roll.durationMin = GetDurationMin(level);
    roll.durationMax = GetDurationMax(level);
}

bool DamageAttributeDur::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                      DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmountAndDuration(level, roll);
    roll.AddPayload(GetPayloadKind(), GetType());
    return true;
}

void DamageAttributeDur::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                unsigned int level, RandomUniform& random,
                                                bool skipChance) const {
    float amount = 0.0f;
    float duration = 0.0f;
    if (RollAmountAndDuration(accumulator, level, random, skipChance, amount, duration))
        accumulator.AddDamage(CreatePayload(amount, duration));
}

void DamageAttributeDur::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (DamageAttributeRange& range : mValues)
        range.minimum = Scale(range.minimum, percent);
}

void DamageAttributeDur::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || !random)
        return;
    const float p = std::clamp(percent, 0.0f, 50.0f);
    // Durations keep their loaded values.
    for (DamageAttributeRange& range : mValues) {
        range.minimum = Jitter(range.minimum, p, *random);
        range.spread = Jitter(range.spread, p, *random);
    }
}

void DamageAttributeDur::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    float value = RangeAverage(GetValueMin(1), GetValueMax(1));
    float duration = RangeAverage(GetDurationMin(1), GetDurationMax(1));
    const float chance = GetChance(1);
    if (chance > 0.0f) {
        value = value * (chance * kPercent);
        duration = duration * (chance * kPercent);
    }
    const float total = value * duration;
    if (total > 0.0f) {
        cost.avgOverTime += total;
        cost.count += 1;
    }
}

}  // namespace GAME
