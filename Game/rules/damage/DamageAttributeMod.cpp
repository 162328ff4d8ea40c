// The modifier families of damage attributes: they add damage modifiers, never damage.
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

namespace {
float ChanceScaled(float value, float chance) {
    return chance > 0.0f ? value * (chance * kPercent) : value;
}
}  // namespace

// ---- DamageAttributeAbsMod ----

bool DamageAttributeAbsMod::LoadFromTable(const LoadTable& table) {
    LoadChance(table);
    table.GetFloatArray(GetLoadModifierTag(), mModifiers);
    ApplySingleZeroRule(mModifiers);
    if (mModifiers.empty())
        return false;
    ReadStoreGroup(table);
    return true;
}

void DamageAttributeAbsMod::GetText(std::wstring& line, unsigned int level) const {
    const float modifier = GetModifierValue(level);
    if (modifier == 0.0f)
        return;
    AppendChancePrefix(line, GetChance(level));
    line += Text(GetDisplayTag(), modifier);
}

void DamageAttributeAbsMod::GetNextText(std::wstring& line, unsigned int level,
                                        unsigned int nextLevel) const {
    const float modifier = GetModifierValue(nextLevel);
    const float chance = GetChance(nextLevel);
    if (modifier == GetModifierValue(level) && chance == GetChance(level))
        return;
    AppendChancePrefix(line, chance);
    line += Text(GetDisplayTag(), modifier);
}

void DamageAttributeAbsMod::CreateText(DamageTextList& list1, DamageTextList& list2,
                                       DamageTextList& list3, unsigned int level) const {
    std::wstring line;
    GetText(line, level);
    AppendToList(line, list1, list2, list3);
}

void DamageAttributeAbsMod::CreateNextText(DamageTextList& list1, DamageTextList& list2,
                                           DamageTextList& list3, unsigned int level,
                                           unsigned int nextLevel) const {
    std::wstring line;
    GetNextText(line, level, nextLevel);
    AppendToList(line, list1, list2, list3);
}

void DamageAttributeAbsMod::AddModifierToAccumulator(CombatAttributeAccumulator& accumulator,
                                                     unsigned int level, RandomUniform&,
                                                     bool skipChance) const {
    float percent = 0.0f;
    if (RollPercent(accumulator, level, skipChance, percent))
        accumulator.AddNewDamageModifier<CombatAttributeAbsDamageMod>(GetType(), percent);
}

void DamageAttributeAbsMod::DescribePercent(unsigned int level, DamageRoll& roll) const {
    roll.chance = GetChance(level);
    roll.draws = DamageRoll::Draws::None;
    roll.first = GetModifierValue(level);
}

bool DamageAttributeAbsMod::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                         DamageRoll& roll) const {
    if (pass != kDamageAttributeModifier)
        return false;
    DescribePercent(level, roll);
    roll.AddPayload(CombatPayloadKind::AbsDamageMod, GetType());
    return true;
}

void DamageAttributeAbsMod::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (float& modifier : mModifiers)
        modifier = Scale(modifier, percent);
}

void DamageAttributeAbsMod::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || !random)
        return;
    const float p = std::clamp(percent, 0.0f, 50.0f);
    for (float& modifier : mModifiers)
        modifier = Jitter(modifier, p, *random);
}

void DamageAttributeAbsMod::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    const float modifier = ChanceScaled(GetModifierValue(1), GetChance(1));
    if (modifier > 0.0f) {
        cost.mod += modifier;
        cost.count += 1;
    }
}

// ---- DamageAttributeDurMod ----

bool DamageAttributeDurMod::LoadFromTable(const LoadTable& table) {
    LoadChance(table);
    table.GetFloatArray(GetLoadModifierTag(), mModifiers);
    ApplySingleZeroRule(mModifiers);
    table.GetFloatArray(GetLoadDurationModifierTag(), mDurationModifiers);
    ApplySingleZeroRule(mDurationModifiers);
    if (mModifiers.empty() && mDurationModifiers.empty())
        return false;
    ReadStoreGroup(table);
    return true;
}

void DamageAttributeDurMod::GetText(std::wstring& line, unsigned int level) const {
    const float modifier = GetModifierValue(level);
    const float durationModifier = GetDurationModifierValue(level);
    if (modifier == 0.0f && durationModifier == 0.0f)
        return;
    AppendChancePrefix(line, GetChance(level));
    line += Text(GetDisplayTag(), modifier);
    if (durationModifier > 0.0f)
        line += Text("ImprovedTimeFormat", durationModifier);
}

void DamageAttributeDurMod::GetNextText(std::wstring& line, unsigned int level,
                                        unsigned int nextLevel) const {
    const float modifier = GetModifierValue(nextLevel);
    const float durationModifier = GetDurationModifierValue(nextLevel);
    const float chance = GetChance(nextLevel);
    if (modifier == GetModifierValue(level) &&
        durationModifier == GetDurationModifierValue(level) && chance == GetChance(level))
        return;
    AppendChancePrefix(line, chance);
    line += Text(GetDisplayTag(), modifier);
    if (durationModifier > 0.0f)
        line += Text("ImprovedTimeFormat", durationModifier);
}

void DamageAttributeDurMod::CreateText(DamageTextList& list1, DamageTextList& list2,
                                       DamageTextList& list3, unsigned int level) const {
    std::wstring line;
    GetText(line, level);
    AppendToList(line, list1, list2, list3);
}

void DamageAttributeDurMod::CreateNextText(DamageTextList& list1, DamageTextList& list2,
                                           DamageTextList& list3, unsigned int level,
                                           unsigned int nextLevel) const {
    std::wstring line;
    GetNextText(line, level, nextLevel);
    AppendToList(line, list1, list2, list3);
}

void DamageAttributeDurMod::AddModifierToAccumulator(CombatAttributeAccumulator& accumulator,
                                                     unsigned int level, RandomUniform&,
                                                     bool skipChance) const {
    const float chance = GetChance(level);
    if (!PassesChance(accumulator, chance, skipChance))
        return;
    const float percent = GetModifierValue(level) * accumulator.GetChanceMultiplier(chance);
    const float durationPercent = GetDurationModifierValue(level);
    accumulator.AddNewDamageModifier<CombatAttributeDurDamageMod>(GetType(), percent,
                                                                  durationPercent);
}

bool DamageAttributeDurMod::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                         DamageRoll& roll) const {
    if (pass != kDamageAttributeModifier)
        return false;
    roll.chance = GetChance(level);
    roll.draws = DamageRoll::Draws::None;
    roll.first = GetModifierValue(level);
    roll.second = GetDurationModifierValue(level);
    roll.AddPayload(CombatPayloadKind::DurDamageMod, GetType());
    return true;
}

void DamageAttributeDurMod::ScaleAttribute(float percent) {
    if (percent == 0.0f)
        return;
    for (float& modifier : mModifiers)
        modifier = Scale(modifier, percent);
    for (float& modifier : mDurationModifiers)
        modifier = Scale(modifier, percent);
}

void DamageAttributeDurMod::AddJitter(float percent, RandomUniform* random) {
    if (percent <= 0.0f || !random)
        return;
    const float p = std::clamp(percent, 0.0f, 50.0f);
    for (float& modifier : mModifiers)
        modifier = Jitter(modifier, p, *random);
    for (float& modifier : mDurationModifiers)
        modifier = Jitter(modifier, p, *random);
}

void DamageAttributeDurMod::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    const float chance = GetChance(1);
    const float modifier = ChanceScaled(GetModifierValue(1), chance);
    const float durationModifier = ChanceScaled(GetDurationModifierValue(1), chance);
    if (modifier > 0.0f) {
        cost.mod += modifier;
        cost.count += 1;
    }
    if (durationModifier > 0.0f) {
        cost.modDur += durationModifier;
        cost.count += 1;
    }
}

}  // namespace GAME
