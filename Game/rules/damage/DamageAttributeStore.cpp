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

// A step's operation. A described roll's code names its whole path, so that a step dispatches
// once and then runs straight: bit 0 draws the chance, bits 1-3 the draws (RollDraws), bit 4
// more or fewer than one payload. A roll making one payload with the draws its kind usually
// takes has a code of its own kind instead (Single), whose case builds that class directly.
// The other codes follow the rolls.
namespace RollOp {
enum RollDraws : std::uint8_t {
    kFixed,
    kAmount,
    kAmountThird,
    kAmountDuration,
    kAmountThirdDuration
};
inline constexpr std::uint8_t kGated = 1;
inline constexpr std::uint8_t kMany = 16;
constexpr std::uint8_t Roll(bool gated, RollDraws draws, bool many) {
    return static_cast<std::uint8_t>((gated ? kGated : 0) | (draws << 1) | (many ? kMany : 0));
}
// A member rolling through its own call.
inline constexpr std::uint8_t kOwn = 32;
// The global roll: the rest of the pass runs only below `limit`.
inline constexpr std::uint8_t kGlobal = 33;
// The one-of pick over the `limit` members after it, each followed by an end.
inline constexpr std::uint8_t kPick = 34;
inline constexpr std::uint8_t kEnd = 35;
// The draws a kind's one payload usually takes: modifiers none, damage over time an amount and
// a duration, the rest an amount.
constexpr RollDraws UsualDraws(CombatPayloadKind kind) {
    switch (kind) {
        case CombatPayloadKind::AbsDamageMod:
        case CombatPayloadKind::DurDamageMod:
            return kFixed;
        case CombatPayloadKind::DurDamage:
        case CombatPayloadKind::DurDamageElemental:
        case CombatPayloadKind::DurFixedDamage:
            return kAmountDuration;
        default:
            return kAmount;
    }
}
inline constexpr std::uint8_t kFirstSingle = 64;
constexpr std::uint8_t Single(CombatPayloadKind kind, bool gated) {
    return static_cast<std::uint8_t>(kFirstSingle + 2 * static_cast<unsigned>(kind) +
                                     (gated ? kGated : 0));
}
static_assert(kFirstSingle + 2u * CombatPayloadKinds::kCount <= 256u, "every kind has its codes");
}  // namespace RollOp

struct DamageAttributeStore::RollStep {
    struct Range {
        // FGenerate's terms: max - min and min, in double.
        double span;
        double low;
    };
    std::uint8_t op = RollOp::kOwn;
    std::uint8_t payloadCount = 0;
    std::array<CombatPayloadKind, DamageRoll::kMostPayloads> kinds{};
    // A member of a global group: its own call skips its chance.
    bool global = false;
    // A gated roll passes when the drawn state is below `limit`; the global roll alike.
    // One-of members keep the weights up to and including their own in `pickSum`; the pick
    // keeps the count of its members in `limit`.
    union {
        std::uint32_t limit = 0;
        float pickSum;
    };
    std::array<CombatAttributeType, DamageRoll::kMostPayloads> types{};
    // The amount's draw; else the first number as it is; the pick's span; or the member
    // rolling through its own call.
    union {
        Range amount{0.0, 0.0};
        float first;
        const DamageAttribute* own;
    };
    // The duration's draw, or the second number as it is.
    union {
        Range duration{0.0, 0.0};
        float second;
    };
};

struct DamageAttributeStore::PassBatch {
    // Plain members, then the global roll, the all-of group, the pick and the one-of group,
    // closed by an end.
    std::vector<RollStep> steps;
    // The most payloads the described rolls make in one attack.
    std::size_t mostPayloads = 0;
};

struct DamageAttributeStore::Batch {
    unsigned int level = 0;
    PassBatch damage;
    PassBatch modifier;
};

namespace {

// FGenerate(min, max) from the state a step left: the same double arithmetic.
[[gnu::always_inline]] inline float DrawFloat(std::uint32_t state, double span, double low) {
    return static_cast<float>(span * (static_cast<double>(state) * RandomUniform::kFraction) + low);
}

// A described roll whose code is `Op`, in two halves: its chance gate (false when the chance
// fails), then its numbers. A case takes its block between them, so that the numbers are not
// held across the take's rare call.
template <std::uint8_t Op>
[[gnu::always_inline]] inline bool PassesGate(const auto& step, std::uint32_t& state) {
    if constexpr ((Op & RollOp::kGated) != 0) {
        state = RandomUniform::NextState(state);
        return state < step.limit;
    }
    return true;
}

template <std::uint8_t Op>
[[gnu::always_inline]] inline void DrawNumbers(const auto& step, std::uint32_t& state, float& first,
                                               float& second) {
    constexpr auto draws = static_cast<RollOp::RollDraws>((Op >> 1) & 7);
    if constexpr (draws == RollOp::kFixed) {
        first = step.first;
        second = step.second;
    } else {
        state = RandomUniform::NextState(state);
        first = DrawFloat(state, step.amount.span, step.amount.low);
        if constexpr (draws == RollOp::kAmountThird || draws == RollOp::kAmountThirdDuration)
            first = first * DamageRoll::kThird;
        if constexpr (draws == RollOp::kAmountDuration || draws == RollOp::kAmountThirdDuration) {
            state = RandomUniform::NextState(state);
            second = DrawFloat(state, step.duration.span, step.duration.low);
        } else {
            second = step.second;
        }
    }
}

}  // namespace

DamageAttributeStore::DamageAttributeStore() : mBatch(std::make_unique<Batch>()) {
    // A store no member joins (most characters' retaliation) still rolls its global chance at
    // every attack: the room for that roll and the end is taken now.
    StoreChanged();
}

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
    // not allocate: every member, the global roll, the pick and the end.
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier}) {
        PassBatch& steps = pass == kDamageAttributeDamage ? mBatch->damage : mBatch->modifier;
        const PassMembers& members = MembersOf(pass);
        steps.steps.reserve(members.plain.size() + members.globalAnd.size() +
                            (mGlobalXor.empty() ? 0 : 2 * mGlobalXor.size() + 1) + 2);
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
    step.global = global;
    // A member that adds nothing in this pass rolls nothing (only a one-of member is kept so).
    if (!attribute.AddsIn(pass)) {
        step.op = RollOp::Roll(false, RollOp::kFixed, true);
        step.first = 0.0f;
        step.second = 0.0f;
        return step;
    }
    DamageRoll roll;
    const auto known = [](CombatPayloadKind kind) {
        return static_cast<std::uint8_t>(kind) < CombatPayloadKinds::kCount;
    };
    if (!attribute.DescribeRoll(pass, level, roll) || roll.payloadCount > roll.kinds.size() ||
        !std::all_of(roll.kinds.begin(), roll.kinds.begin() + roll.payloadCount, known)) {
        step.own = &attribute;
        return step;
    }
    const bool gated = roll.gated && !global && !(roll.chance == 0.0f);
    RollOp::RollDraws draws = RollOp::kFixed;
    if (roll.draws == DamageRoll::Draws::Amount)
        draws = roll.third ? RollOp::kAmountThird : RollOp::kAmount;
    else if (roll.draws == DamageRoll::Draws::AmountAndDuration)
        draws = roll.third ? RollOp::kAmountThirdDuration : RollOp::kAmountDuration;
    step.op = RollOp::Roll(gated, draws, roll.payloadCount != 1);
    if (roll.payloadCount == 1 && draws == RollOp::UsualDraws(roll.kinds[0]))
        step.op = RollOp::Single(roll.kinds[0], gated);
    step.limit = CombatPercentDraw::kLimits[CombatPercentDraw::IndexOf(roll.chance)];
    step.payloadCount = roll.payloadCount;
    step.kinds = roll.kinds;
    step.types = roll.types;
    if (draws == RollOp::kFixed) {
        step.first = roll.first;
    } else {
        step.amount.low = static_cast<double>(roll.amountMin);
        step.amount.span = static_cast<double>(roll.amountMax) - step.amount.low;
    }
    if (draws == RollOp::kAmountDuration || draws == RollOp::kAmountThirdDuration) {
        step.duration.low = static_cast<double>(roll.durationMin);
        step.duration.span = static_cast<double>(roll.durationMax) - step.duration.low;
    } else {
        step.second = roll.second;
    }
    return step;
}

void DamageAttributeStore::BuildBatch(unsigned int level) {
    static_assert(sizeof(RollStep) <= 64, "a step fits one cache line");
    Batch& batch = *mBatch;
    batch.level = level;
    const GlobalRoll global = GetGlobalRoll(level);
    float total = 0.0f;
    for (const auto& attribute : mGlobalXor)
        total += attribute->GetChance(level);
    for (DamageAttributeParts pass : {kDamageAttributeDamage, kDamageAttributeModifier}) {
        PassBatch& batchPass = pass == kDamageAttributeDamage ? batch.damage : batch.modifier;
        std::vector<RollStep>& steps = batchPass.steps;
        const PassMembers& members = MembersOf(pass);
        steps.clear();
        std::size_t most = 0;
        const auto add = [&](const RollStep& step) {
            steps.push_back(step);
            most += step.payloadCount;
        };
        for (const DamageAttribute* attribute : members.plain)
            add(MakeStep(*attribute, pass, level, false));
        // A chance that is not a number rolls, and always passes.
        if (!(global.chance <= 0.0f)) {
            RollStep roll;
            roll.op = RollOp::kGlobal;
            roll.limit = global.failingState;
            steps.push_back(roll);
            for (const DamageAttribute* attribute : members.globalAnd)
                add(MakeStep(*attribute, pass, level, true));
            if (!mGlobalXor.empty()) {
                RollStep pick;
                pick.op = RollOp::kPick;
                pick.limit = static_cast<std::uint32_t>(mGlobalXor.size());
                pick.amount = {static_cast<double>(total) - static_cast<double>(0.0f), 0.0};
                steps.push_back(pick);
                RollStep close;
                close.op = RollOp::kEnd;
                float sum = 0.0f;
                std::size_t mostPicked = 0;
                for (const auto& attribute : mGlobalXor) {
                    sum += attribute->GetChance(level);
                    RollStep step = MakeStep(*attribute, pass, level, true);
                    step.pickSum = sum;
                    steps.push_back(step);
                    steps.push_back(close);
                    mostPicked = std::max<std::size_t>(mostPicked, step.payloadCount);
                }
                most += mostPicked;
            }
        }
        RollStep close;
        close.op = RollOp::kEnd;
        steps.push_back(close);
        batchPass.mostPayloads = most;
    }
    mBatchBuilt = true;
}

const DamageAttributeStore::Batch& DamageAttributeStore::BatchFor(unsigned int level) {
    if (!mBatchBuilt || mBatch->level != level) [[unlikely]]
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

// The cases of every described roll's code, for the dispatch below.
#define DAMAGE_STORE_ROLL_CASES_(X, gated)                             \
    X(RollOp::Roll(gated, RollOp::kFixed, false), false)               \
    X(RollOp::Roll(gated, RollOp::kAmount, false), false)              \
    X(RollOp::Roll(gated, RollOp::kAmountThird, false), false)         \
    X(RollOp::Roll(gated, RollOp::kAmountDuration, false), false)      \
    X(RollOp::Roll(gated, RollOp::kAmountThirdDuration, false), false) \
    X(RollOp::Roll(gated, RollOp::kFixed, true), true)                 \
    X(RollOp::Roll(gated, RollOp::kAmount, true), true)                \
    X(RollOp::Roll(gated, RollOp::kAmountThird, true), true)           \
    X(RollOp::Roll(gated, RollOp::kAmountDuration, true), true)        \
    X(RollOp::Roll(gated, RollOp::kAmountThirdDuration, true), true)

void DamageAttributeStore::RunPass(CombatAttributeAccumulator& accumulator, unsigned int level,
                                   DamageAttributeParts pass) {
    const Batch& batch = BatchFor(level);
    const bool modifiers = pass == kDamageAttributeModifier;
    const PassBatch& batchPass = modifiers ? batch.modifier : batch.damage;
    CombatRandom& random = accumulator.GetRandomGen();
    auto& list = accumulator.PrepareRolls(modifiers, batchPass.mostPayloads);
    // The generator's state, the free blocks of the payloads' size and the list's end live here for
    // the whole pass; a member rolling through its own call gets them handed over and back. The
    // blocks the described rolls may take are reserved first, so that no take allocates (and may
    // throw) while payloads wait for the list's commit.
    std::uint32_t state = random.GetState();
    RecycledBlockRun<CombatAttribute::kBlockSize> blocks(batchPass.mostPayloads);
    CombatPayloadList::ReservedAppender out(list);
    // One pointer walks the steps: the step being run.
    for (const RollStep* step = batchPass.steps.data();; ++step) {
        const RollStep& current = *step;
        float first;
        float second;
        switch (current.op) {
#define DAMAGE_STORE_ROLL_CASE_(Op, Many)                                                         \
    case Op:                                                                                      \
        if (!PassesGate<Op>(current, state))                                                      \
            continue;                                                                             \
        if constexpr (Many) {                                                                     \
            DrawNumbers<Op>(current, state, first, second);                                       \
            goto manyPayloads;                                                                    \
        } else {                                                                                  \
            void* block = blocks.Take();                                                          \
            DrawNumbers<Op>(current, state, first, second);                                       \
            out.Append(CombatPayloadKinds::MakeInKnown(block, current.kinds[0], current.types[0], \
                                                       first, second));                           \
            continue;                                                                             \
        }
            DAMAGE_STORE_ROLL_CASES_(DAMAGE_STORE_ROLL_CASE_, false)
            DAMAGE_STORE_ROLL_CASES_(DAMAGE_STORE_ROLL_CASE_, true)
#undef DAMAGE_STORE_ROLL_CASE_
#define DAMAGE_STORE_SINGLE_CASE_(Kind, gated)                                            \
    case RollOp::Single(Kind, gated): {                                                   \
        constexpr std::uint8_t op = RollOp::Roll(gated, RollOp::UsualDraws(Kind), false); \
        if (!PassesGate<op>(current, state))                                              \
            continue;                                                                     \
        void* block = blocks.Take();                                                      \
        DrawNumbers<op>(current, state, first, second);                                   \
        out.Append(CombatPayloadKinds::MakeAs<static_cast<unsigned>(Kind)>(               \
            block, current.types[0], first, second));                                     \
        continue;                                                                         \
    }
#define DAMAGE_STORE_SINGLE_CASES_(Kind, Class, Second)       \
    DAMAGE_STORE_SINGLE_CASE_(CombatPayloadKind::Kind, false) \
    DAMAGE_STORE_SINGLE_CASE_(CombatPayloadKind::Kind, true)
            COMBAT_PAYLOAD_KINDS(DAMAGE_STORE_SINGLE_CASES_)
#undef DAMAGE_STORE_SINGLE_CASES_
#undef DAMAGE_STORE_SINGLE_CASE_
            case RollOp::kGlobal:
                state = RandomUniform::NextState(state);
                if (state >= current.limit)
                    goto done;
                continue;
            case RollOp::kPick: {
                state = RandomUniform::NextState(state);
                const float pick = DrawFloat(state, current.amount.span, 0.0);
                const RollStep* picked = step + 1;
                const RollStep* last = picked + 2 * current.limit;
                while (picked != last && !(pick <= picked->pickSum))
                    picked += 2;
                if (picked == last)
                    goto done;
                // The loop steps onto it.
                step = picked - 1;
                continue;
            }
            case RollOp::kEnd:
                goto done;
            case RollOp::kOwn:
                blocks.Settle(out.Commit());
                state = RollOwn(*current.own, accumulator, level, pass, current.global, state);
                // Its payloads may have taken the room the described rolls count on.
                accumulator.PrepareRolls(modifiers, batchPass.mostPayloads);
                blocks.Resume(batchPass.mostPayloads);
                out.Resume();
                continue;
            default:
                __builtin_unreachable();
        }
    manyPayloads:
        // Written out up to the most a roll makes, so that no counter has to outlive a block's
        // take and the pass's own values keep their registers.
        static_assert(DamageRoll::kMostPayloads == 3);
        const auto add = [&](std::size_t i) __attribute__((always_inline)) {
            out.Append(CombatPayloadKinds::MakeInKnown(blocks.Take(), current.kinds[i],
                                                       current.types[i], first, second));
        };
        if (current.payloadCount > 0) {
            add(0);
            if (current.payloadCount > 1) {
                add(1);
                if (current.payloadCount > 2)
                    add(2);
            }
        }
    }
done:
    blocks.Settle(out.Commit());
    random.SetState(state);
}

#undef DAMAGE_STORE_ROLL_CASES_

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
