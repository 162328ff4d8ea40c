#include "Game/rules/damage/DamageAttributeStore.h"

#include <algorithm>
#include <array>
#include <utility>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeText.h"
#include "Game/rules/damage/DamageRoll.h"

namespace GAME {

using namespace DamageAttributeText;

struct DamageAttributeStore::RollStep {
    // Non-null: the member rolls through this call instead.
    const DamageAttribute* own = nullptr;
    bool drawsChance = false;
    // The chance passes when the drawn state is below this.
    std::uint32_t chanceLimit = 0;
    DamageRoll::Draws draws = DamageRoll::Draws::None;
    bool third = false;
    std::uint8_t payloadCount = 0;
    std::array<CombatPayloadKind, DamageRoll::kMostPayloads> kinds{};
    std::array<CombatAttributeType, DamageRoll::kMostPayloads> types{};
    float first = 0.0f;
    float second = 0.0f;
    // One-of members: the weights up to and including this one.
    float pickSum = 0.0f;
    // FGenerate's terms: max - min and min, in double.
    double amountSpan = 0.0;
    double amountLow = 0.0;
    double durationSpan = 0.0;
    double durationLow = 0.0;
};

struct DamageAttributeStore::PassBatch {
    std::vector<RollStep> plain;
    std::vector<RollStep> globalAnd;
    std::vector<RollStep> globalXor;
    // The most payloads the described rolls make in one attack.
    std::size_t mostPayloads = 0;
};

struct DamageAttributeStore::Batch {
    unsigned int level = 0;
    GlobalRoll global{0.0f, 0};
    // The one-of pick's FGenerate(0, total) span.
    double pickSpan = 0.0;
    PassBatch damage;
    PassBatch modifier;
};

namespace {

// FGenerate(min, max) from the state a step left: the same double arithmetic.
[[gnu::always_inline]] inline float DrawFloat(std::uint32_t state, double span, double low) {
    return static_cast<float>(span * (static_cast<double>(state) * RandomUniform::kFraction) + low);
}

}  // namespace

DamageAttributeStore::DamageAttributeStore() : mBatch(std::make_unique<Batch>()) {}

DamageAttributeStore::~DamageAttributeStore() = default;

void DamageAttributeStore::AddGlobalXorAttribute(std::unique_ptr<DamageAttribute> attribute) {
    if (attribute)
        mGlobalXor.push_back(std::move(attribute));
    StoreChanged();
}

void DamageAttributeStore::AddGlobalAndAttribute(std::unique_ptr<DamageAttribute> attribute) {
    if (!attribute)
        return;
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier})
        if (attribute->AddsIn(pass))
            MembersOf(pass).globalAnd.push_back(attribute.get());
    mGlobalAnd.push_back(std::move(attribute));
    StoreChanged();
}

void DamageAttributeStore::AddAttribute(std::unique_ptr<DamageAttribute> attribute) {
    if (!attribute)
        return;
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier})
        if (attribute->AddsIn(pass))
            MembersOf(pass).plain.push_back(attribute.get());
    mAttributes.push_back(std::move(attribute));
    StoreChanged();
}

void DamageAttributeStore::StoreChanged() {
    mBatchBuilt = false;
    // The batch's room is taken here, with the members, so that building it at an attack does
    // not allocate.
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier}) {
        PassBatch& steps = pass == kDamageAttributeDamage ? mBatch->damage : mBatch->modifier;
        steps.plain.reserve(MembersOf(pass).plain.size());
        steps.globalAnd.reserve(MembersOf(pass).globalAnd.size());
        steps.globalXor.reserve(mGlobalXor.size());
    }
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
    mBatchBuilt = false;
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
    mBatchBuilt = false;
}

DamageAttributeStore::RollStep DamageAttributeStore::MakeStep(const DamageAttribute& attribute,
                                                              DamageAttributeParts pass,
                                                              unsigned int level, bool global) {
    RollStep step;
    if (!attribute.AddsIn(pass))
        return step;
    DamageRoll roll;
    if (!attribute.DescribeRoll(pass, level, roll)) {
        step.own = &attribute;
        return step;
    }
    step.drawsChance = roll.gated && !global && !(roll.chance == 0.0f);
    step.chanceLimit = CombatPercentDraw::kLimits[CombatPercentDraw::IndexOf(roll.chance)];
    step.draws = roll.draws;
    step.third = roll.third;
    step.payloadCount = roll.payloadCount;
    step.kinds = roll.kinds;
    step.types = roll.types;
    step.first = roll.first;
    step.second = roll.second;
    step.amountLow = static_cast<double>(roll.amountMin);
    step.amountSpan = static_cast<double>(roll.amountMax) - step.amountLow;
    step.durationLow = static_cast<double>(roll.durationMin);
    step.durationSpan = static_cast<double>(roll.durationMax) - step.durationLow;
    return step;
}

void DamageAttributeStore::BuildBatch(unsigned int level) {
    Batch& batch = *mBatch;
    batch.level = level;
    batch.global = GetGlobalRoll(level);
    float total = 0.0f;
    for (const auto& attribute : mGlobalXor)
        total += attribute->GetChance(level);
    batch.pickSpan = static_cast<double>(total) - static_cast<double>(0.0f);
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier}) {
        PassBatch& steps = pass == kDamageAttributeDamage ? batch.damage : batch.modifier;
        const PassMembers& members = MembersOf(pass);
        steps.plain.clear();
        steps.globalAnd.clear();
        steps.globalXor.clear();
        steps.mostPayloads = 0;
        for (const DamageAttribute* attribute : members.plain) {
            steps.plain.push_back(MakeStep(*attribute, pass, level, false));
            steps.mostPayloads += steps.plain.back().payloadCount;
        }
        for (const DamageAttribute* attribute : members.globalAnd) {
            steps.globalAnd.push_back(MakeStep(*attribute, pass, level, true));
            steps.mostPayloads += steps.globalAnd.back().payloadCount;
        }
        float sum = 0.0f;
        std::size_t mostPicked = 0;
        for (const auto& attribute : mGlobalXor) {
            sum += attribute->GetChance(level);
            steps.globalXor.push_back(MakeStep(*attribute, pass, level, true));
            steps.globalXor.back().pickSum = sum;
            mostPicked = std::max<std::size_t>(mostPicked, steps.globalXor.back().payloadCount);
        }
        steps.mostPayloads += mostPicked;
    }
    mBatchBuilt = true;
}

const DamageAttributeStore::Batch& DamageAttributeStore::BatchFor(unsigned int level) {
    if (!mBatchBuilt || mBatch->level != level)
        BuildBatch(level);
    return *mBatch;
}

std::uint32_t DamageAttributeStore::RollOwn(const DamageAttribute& attribute,
                                            CombatAttributeAccumulator& accumulator,
                                            unsigned int level, DamageAttributeParts pass,
                                            bool global, std::uint32_t state) {
    CombatRandom& random = accumulator.GetRandomGen();
    random.SetState(state);
    if (pass == kDamageAttributeModifier)
        attribute.AddModifierToAccumulator(accumulator, level, random, global);
    else
        attribute.AddDamageToAccumulator(accumulator, level, random, global);
    return random.GetState();
}

void DamageAttributeStore::RunPass(CombatAttributeAccumulator& accumulator, unsigned int level,
                                   DamageAttributeParts pass) {
    const Batch& batch = BatchFor(level);
    const bool modifiers = pass == kDamageAttributeModifier;
    const PassBatch& steps = modifiers ? batch.modifier : batch.damage;
    CombatRandom& random = accumulator.GetRandomGen();
    auto& list = accumulator.PrepareRolls(modifiers, steps.mostPayloads);
    // The generator's state, the pool's free blocks and the list's end live here for the whole
    // pass; a member rolling through its own call gets them handed over and back.
    std::uint32_t state = random.GetState();
    CombatPayloadBlockRun blocks(CombatAttribute::kBlockSize);
    CombatPayloadList::ReservedAppender out(list);
    const auto run = [&](const RollStep& step, bool global) __attribute__((always_inline)) {
        if (step.own) [[unlikely]] {
            out.Commit();
            blocks.Settle();
            state = RollOwn(*step.own, accumulator, level, pass, global, state);
            // Its payloads may have taken the room the described rolls count on.
            accumulator.PrepareRolls(modifiers, steps.mostPayloads);
            blocks.Resume();
            out.Resume();
            return;
        }
        if (step.drawsChance) {
            state = RandomUniform::NextState(state);
            if (state >= step.chanceLimit)
                return;
        }
        float first = step.first;
        float second = step.second;
        if (step.draws != DamageRoll::Draws::None) {
            state = RandomUniform::NextState(state);
            first = DrawFloat(state, step.amountSpan, step.amountLow);
            if (step.third)
                first = first * DamageRoll::kThird;
            if (step.draws == DamageRoll::Draws::AmountAndDuration) {
                state = RandomUniform::NextState(state);
                second = DrawFloat(state, step.durationSpan, step.durationLow);
            }
        }
        const auto add = [&](std::size_t i) __attribute__((always_inline)) {
            out.Append(CombatPayloadKinds::MakeIn(blocks.Take(), step.kinds[i], step.types[i],
                                                  first, second));
        };
        if (step.payloadCount == 1) [[likely]] {
            add(0);
            return;
        }
        for (std::size_t i = 0; i < step.payloadCount; ++i)
            add(i);
    };
    for (const RollStep& step : steps.plain)
        run(step, false);
    // A chance that is not a number rolls, and always passes.
    if (!(batch.global.chance <= 0.0f)) {
        state = RandomUniform::NextState(state);
        if (state < batch.global.failingState) {
            for (const RollStep& step : steps.globalAnd)
                run(step, true);
            if (!steps.globalXor.empty()) {
                state = RandomUniform::NextState(state);
                const float pick = DrawFloat(state, batch.pickSpan, static_cast<double>(0.0f));
                for (const RollStep& step : steps.globalXor) {
                    if (pick <= step.pickSum) {
                        run(step, true);
                        break;
                    }
                }
            }
        }
    }
    random.SetState(state);
}

void DamageAttributeStore::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                  unsigned int level) {
    RunPass(accumulator, level, kDamageAttributeDamage);
}

void DamageAttributeStore::AddModifierToAccumulator(CombatAttributeAccumulator& accumulator,
                                                    unsigned int level) {
    RunPass(accumulator, level, kDamageAttributeModifier);
}

void DamageAttributeStore::ScaleAttributes(float percent) {
    for (const AttributeList* group : {&mGlobalXor, &mGlobalAnd, &mAttributes})
        for (const auto& attribute : *group)
            attribute->ScaleAttribute(percent);
    mBatchBuilt = false;
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
