#include "Game/rules/damage/DamageAttributeStore.h"

#include <algorithm>
#include <utility>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeText.h"

namespace GAME {

using namespace DamageAttributeText;

DamageAttributeStore::DamageAttributeStore() = default;

DamageAttributeStore::~DamageAttributeStore() = default;

void DamageAttributeStore::AddGlobalXorAttribute(std::unique_ptr<DamageAttribute> attribute) {
    if (attribute)
        mGlobalXor.push_back(std::move(attribute));
}

void DamageAttributeStore::AddGlobalAndAttribute(std::unique_ptr<DamageAttribute> attribute) {
    if (!attribute)
        return;
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier})
        if (attribute->AddsIn(pass))
            MembersOf(pass).globalAnd.push_back(attribute.get());
    mGlobalAnd.push_back(std::move(attribute));
}

void DamageAttributeStore::AddAttribute(std::unique_ptr<DamageAttribute> attribute) {
    if (!attribute)
        return;
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier})
        if (attribute->AddsIn(pass))
            MembersOf(pass).plain.push_back(attribute.get());
    mAttributes.push_back(std::move(attribute));
}

void DamageAttributeStore::Register(std::unique_ptr<DamageAttribute> attribute) {
    if (!attribute)
        return;
    switch (attribute->GetStoreGroup()) {
        case DamageAttributeGroup::Plain:
            AddAttribute(std::move(attribute));
            break;
        case DamageAttributeGroup::GlobalAnd:
            AddGlobalAndAttribute(std::move(attribute));
            break;
        case DamageAttributeGroup::GlobalXor:
            AddGlobalXorAttribute(std::move(attribute));
            break;
    }
}

void DamageAttributeStore::Clear() {
    mDamagePass = {};
    mModifierPass = {};
    mGlobalXor.clear();
    mGlobalAnd.clear();
    mAttributes.clear();
}

std::size_t DamageAttributeStore::GetAttributeCount() const {
    return mGlobalXor.size() + mGlobalAnd.size() + mAttributes.size();
}

DamageAttributeStore::GlobalRoll DamageAttributeStore::GetGlobalRoll(unsigned int level) const {
    GlobalRoll roll{0.0f, 0};
    if (level > 0 && !mGlobalChance.empty()) {
        const std::size_t index = std::min<std::size_t>(level - 1u, mGlobalChance.size() - 1);
        roll = {mGlobalChance[index], mGlobalFailingState[index]};
    }
    if (level == 1) {
        // The suffix wins over the prefix.
        if (mPrefixGlobalChance > 0.0f)
            roll = {mPrefixGlobalChance, mPrefixFailingState};
        if (mSuffixGlobalChance > 0.0f)
            roll = {mSuffixGlobalChance, mSuffixFailingState};
    }
    return roll;
}

float DamageAttributeStore::GetGlobalChance(unsigned int level) const {
    return GetGlobalRoll(level).chance;
}

void DamageAttributeStore::SetGlobalChance(const LoadTable& base, const LoadTable* prefix,
                                           const LoadTable* suffix) {
    // Each load takes the chances of its own records only.
    base.GetFloatArray(GetGlobalChanceTag(), mGlobalChance);
    mPrefixGlobalChance = prefix ? prefix->GetFloat(GetGlobalChanceTag(), 0.0f) : 0.0f;
    mSuffixGlobalChance = suffix ? suffix->GetFloat(GetGlobalChanceTag(), 0.0f) : 0.0f;
    // The roll draws FGenerate(0, 100) and fails above the chance: a comparison of the state.
    mGlobalFailingState.clear();
    for (float chance : mGlobalChance)
        mGlobalFailingState.push_back(CombatPercentDraw::LeastStateFloatAbove(chance));
    mPrefixFailingState = CombatPercentDraw::LeastStateFloatAbove(mPrefixGlobalChance);
    mSuffixFailingState = CombatPercentDraw::LeastStateFloatAbove(mSuffixGlobalChance);
}

template <class Add>
void DamageAttributeStore::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                            unsigned int level, DamageAttributeParts pass,
                                            Add add) {
    const PassMembers& members = MembersOf(pass);
    for (const DamageAttribute* attribute : members.plain)
        add(*attribute, false);
    const GlobalRoll roll = GetGlobalRoll(level);
    if (roll.chance <= 0.0f)
        return;
    CombatRandom& random = accumulator.GetRandomGen();
    if (!random.StepBelow(roll.failingState))
        return;
    for (const DamageAttribute* attribute : members.globalAnd)
        add(*attribute, true);
    if (mGlobalXor.empty())
        return;
    float total = 0.0f;
    for (const auto& attribute : mGlobalXor)
        total += attribute->GetChance(level);
    const float pick = random.FGenerate(0.0f, total);
    float sum = 0.0f;
    for (const auto& attribute : mGlobalXor) {
        sum += attribute->GetChance(level);
        if (pick <= sum) {
            add(*attribute, true);
            return;
        }
    }
}

void DamageAttributeStore::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                  unsigned int level) {
    AddToAccumulator(accumulator, level, kDamageAttributeDamage,
                     [&](const DamageAttribute& attribute, bool global) {
                         attribute.AddDamageToAccumulator(accumulator, level,
                                                          accumulator.GetRandomGen(), global);
                     });
}

void DamageAttributeStore::AddModifierToAccumulator(CombatAttributeAccumulator& accumulator,
                                                    unsigned int level) {
    AddToAccumulator(accumulator, level, kDamageAttributeModifier,
                     [&](const DamageAttribute& attribute, bool global) {
                         attribute.AddModifierToAccumulator(accumulator, level,
                                                            accumulator.GetRandomGen(), global);
                     });
}

void DamageAttributeStore::ScaleAttributes(float percent) {
    for (const AttributeList* group : {&mGlobalXor, &mGlobalAnd, &mAttributes})
        for (const auto& attribute : *group)
            attribute->ScaleAttribute(percent);
}

void DamageAttributeStore::GetCostInfo(CostInfo_DamageAttributes& cost) const {
    for (const AttributeList* group : {&mGlobalXor, &mGlobalAnd, &mAttributes})
        for (const auto& attribute : *group)
            attribute->GetCostInfo(cost);
}

void DamageAttributeStore::AppendGroupText(const AttributeList& group, const char* percentTag,
                                           const char* plainTag, float chance,
                                           DamageTextList& list2, unsigned int level,
                                           unsigned int nextLevel, bool next) const {
    if (group.empty())
        return;
    DamageTextList fresh1, fresh2, fresh3;
    for (const auto& attribute : group) {
        // The group's chance stands above its members in place of their own.
        attribute->SetHideChanceIndentLine(true);
        if (next)
            attribute->CreateNextText(fresh1, fresh2, fresh3, level, nextLevel);
        else
            attribute->CreateText(fresh1, fresh2, fresh3, level);
        attribute->SetHideChanceIndentLine(false);
    }
    if (fresh1.empty() && fresh2.empty() && fresh3.empty())
        return;
    list2.push_back(chance < 100.0f ? Text(percentTag, chance) : Text(plainTag));
    for (const DamageTextList* fresh : {&fresh1, &fresh2, &fresh3})
        list2.insert(list2.end(), fresh->begin(), fresh->end());
}

void DamageAttributeStore::CreateText(DamageTextList& list1, DamageTextList& list2,
                                      DamageTextList& list3, unsigned int level) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateText(list1, list2, list3, level);
    const float chance = GetGlobalChance(level);
    AppendGroupText(mGlobalAnd, "GlobalPercentChanceOfAllTag", "GlobalChanceOfAllTag", chance,
                    list2, level, level, false);
    AppendGroupText(mGlobalXor, "GlobalPercentChanceOfOneTag", "GlobalChanceOfOneTag", chance,
                    list2, level, level, false);
}

void DamageAttributeStore::CreateNextText(DamageTextList& list1, DamageTextList& list2,
                                          DamageTextList& list3, unsigned int level,
                                          unsigned int nextLevel) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateNextText(list1, list2, list3, level, nextLevel);
    const float chance = GetGlobalChance(nextLevel);
    AppendGroupText(mGlobalAnd, "GlobalPercentChanceOfAllTag", "GlobalChanceOfAllTag", chance,
                    list2, level, nextLevel, true);
    AppendGroupText(mGlobalXor, "GlobalPercentChanceOfOneTag", "GlobalChanceOfOneTag", chance,
                    list2, level, nextLevel, true);
}

}  // namespace GAME
