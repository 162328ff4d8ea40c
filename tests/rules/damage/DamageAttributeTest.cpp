#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <utility>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using namespace DamageAttributeRules;
using T = CombatAttributeType;

// Opens the protected numbers of a cold damage kind.
class ColdProbe : public DamageAttributeAbs_Cold {
public:
    using DamageAttribute::Jitter;
    using DamageAttribute::Scale;
    using DamageAttributeAbs::GetValueMax;
    using DamageAttributeAbs::GetValueMin;
};

class PoisonOverTimeProbe : public DamageAttributeDur_Poison {
public:
    using DamageAttributeDur::GetDurationMax;
    using DamageAttributeDur::GetDurationMin;
    using DamageAttributeDur::GetValueMax;
    using DamageAttributeDur::GetValueMin;
};

// Loads an attribute into the store's group its record names; null (and nothing kept) when the
// record has no values.
template <class A>
A* LoadInto(DamageAttributeStore& store, const LoadTable& table) {
    auto attribute = std::make_unique<A>();
    if (!attribute->LoadFromTable(table))
        return nullptr;
    A* kept = attribute.get();
    store.Register(std::move(attribute));
    return kept;
}

bool SameRanges(const std::vector<DamageAttributeRange>& ranges,
                std::initializer_list<DamageAttributeRange> expected) {
    return ranges == std::vector<DamageAttributeRange>(expected);
}

TEST(DamageAttributeRanges, CarriedMaximumAndSurplusEntries) {
    EXPECT_TRUE(SameRanges(BuildRanges({10, 20, 30}, {15}), {{10, 5}, {20, 0}, {30, 0}}));
    EXPECT_TRUE(SameRanges(BuildRanges({10, 20}, {}), {{10, 0}, {20, 0}}));
    EXPECT_TRUE(SameRanges(BuildRanges({5}, {8, 12}), {{5, 3}}));
    EXPECT_TRUE(SameRanges(BuildRanges({10}, {4}), {{10, 0}}));
    EXPECT_TRUE(BuildRanges({}, {7}).empty());
}

TEST(DamageAttributeRanges, PerLevelLookupAndSingleZeroRule) {
    const std::vector<float> values{1.0f, 2.0f, 3.0f};
    EXPECT_FLOAT_EQ(PerLevel(values, 0), 0.0f);
    EXPECT_FLOAT_EQ(PerLevel(values, 2), 2.0f);
    EXPECT_FLOAT_EQ(PerLevel(values, 9), 3.0f);
    EXPECT_FLOAT_EQ(PerLevel(std::vector<float>{}, 1), 0.0f);

    std::vector<float> zero{0.0f};
    ApplySingleZeroRule(zero);
    EXPECT_TRUE(zero.empty());
    std::vector<float> zeros{0.0f, 0.0f};
    ApplySingleZeroRule(zeros);
    EXPECT_EQ(zeros.size(), 2u);
}

TEST(DamageAttributeLoad, SingleZerosLoadNothingAndLevelsRepeatTheLast) {
    TestMachine tm;
    DamageAttributeStore store;
    EXPECT_EQ(LoadInto<ColdProbe>(
                  store, CombatRecord(R"({"offensiveColdMin":[0],"offensiveColdMax":[0]})")),
              nullptr);
    EXPECT_EQ(store.GetAttributeCount(), 0u);

    ColdProbe* cold = LoadInto<ColdProbe>(
        store, CombatRecord(R"({"offensiveColdMin":[5],"offensiveColdMax":[8,12]})"));
    ASSERT_NE(cold, nullptr);
    EXPECT_EQ(store.GetAttributes().size(), 1u);
    EXPECT_FLOAT_EQ(cold->GetValueMin(4), 5.0f);
    EXPECT_FLOAT_EQ(cold->GetValueMax(4), 8.0f);
    EXPECT_FLOAT_EQ(cold->GetValueMin(0), 0.0f);
    EXPECT_FLOAT_EQ(cold->GetChance(0), 0.0f);

    PoisonOverTimeProbe* poison = LoadInto<PoisonOverTimeProbe>(
        store, CombatRecord(R"({"offensiveSlowPoisonMin":[4],"offensiveSlowPoisonMax":[6],
                                "offensiveSlowPoisonDurationMin":[2,3]})"));
    ASSERT_NE(poison, nullptr);
    EXPECT_FLOAT_EQ(poison->GetDurationMax(1), 2.0f);
    EXPECT_FLOAT_EQ(poison->GetDurationMin(2), 3.0f);
    EXPECT_FLOAT_EQ(poison->GetValueMax(2), 6.0f);
    // Values without durations are no attribute over time.
    EXPECT_EQ(
        LoadInto<PoisonOverTimeProbe>(store, CombatRecord(R"({"offensiveSlowPoisonMin":[4]})")),
        nullptr);
}

TEST(DamageAttributeLoad, GlobalAndXorKeysPickTheGroupForDamageAndModifierAlike) {
    TestMachine tm;
    DamageAttributeStore store;
    const LoadTable plain = CombatRecord(R"({"offensiveColdMin":10,"offensiveColdMax":20})");
    ASSERT_NE(LoadInto<DamageAttributeAbs_Cold>(store, plain), nullptr);
    EXPECT_EQ(LoadInto<DamageAttributeAbsMod_Cold>(store, plain), nullptr);
    EXPECT_EQ(store.GetAttributes().size(), 1u);

    const LoadTable global = CombatRecord(
        R"({"offensiveColdMin":10,"offensiveColdModifier":25,"offensiveColdGlobal":true})");
    LoadInto<DamageAttributeAbs_Cold>(store, global);
    LoadInto<DamageAttributeAbsMod_Cold>(store, global);
    EXPECT_EQ(store.GetGlobalAndAttributes().size(), 2u);

    const LoadTable oneOf = CombatRecord(
        R"({"offensiveColdMin":10,"offensiveColdModifier":25,"offensiveColdGlobal":true,
            "offensiveColdXOR":true})");
    LoadInto<DamageAttributeAbs_Cold>(store, oneOf);
    LoadInto<DamageAttributeAbsMod_Cold>(store, oneOf);
    EXPECT_EQ(store.GetGlobalXorAttributes().size(), 2u);
    EXPECT_EQ(store.GetAttributes().size(), 1u);

    store.Register(nullptr);
    store.AddGlobalAndAttribute(nullptr);
    EXPECT_EQ(store.GetAttributeCount(), 5u);
}

TEST(DamageAttributeJitter, DrawsWithinTheTruncatedPercentAndKeepsSmallValues) {
    ColdProbe probe;
    RandomUniform random, mirror;
    random.Seed(5);
    mirror.Seed(5);
    std::set<int> seen;
    for (int i = 0; i < 300; ++i) {
        const float jittered = probe.Jitter(40.0f, 10.0f, random);
        EXPECT_FLOAT_EQ(jittered, 40.0f + static_cast<float>(mirror.IGenerate(-3, 3)));
        seen.insert(static_cast<int>(jittered) - 40);
    }
    // The generator's truncation toward zero never yields the negative end.
    EXPECT_EQ(seen, (std::set<int>{-2, -1, 0, 1, 2, 3}));

    for (int i = 0; i < 100; ++i) {
        const float jittered = probe.Jitter(5.0f, 10.0f, random);
        EXPECT_FLOAT_EQ(jittered, 5.0f + static_cast<float>(mirror.IGenerate(-1, 1)));
        const float small = probe.Jitter(0.5f, 10.0f, random);
        const float expected = 0.5f + static_cast<float>(mirror.IGenerate(-1, 1));
        EXPECT_FLOAT_EQ(small, std::fabs(expected) < 1.0f ? 0.5f : expected);
    }
    const std::uint32_t state = random.GetState();
    EXPECT_FLOAT_EQ(probe.Jitter(0.0f, 10.0f, random), 0.0f);
    EXPECT_EQ(random.GetState(), state);
    // A negative value passes its bounds the other way round.
    EXPECT_FLOAT_EQ(probe.Jitter(-40.0f, 10.0f, random), -40.0f + mirror.IGenerate(3, -3));
}

TEST(DamageAttributeJitter, PercentIsClampedToFiftyAndZeroDrawsNothing) {
    TestMachine tm;
    DamageAttributeStore store;
    const LoadTable record = CombatRecord(R"({"offensiveColdMin":[100],"offensiveColdMax":[140]})");
    ColdProbe* cold = LoadInto<ColdProbe>(store, record);
    ASSERT_NE(cold, nullptr);
    RandomUniform random, mirror;
    random.Seed(77);
    mirror.Seed(77);
    cold->AddJitter(0.0f, &random);
    cold->AddJitter(80.0f, nullptr);
    EXPECT_EQ(random.GetState(), mirror.GetState());
    cold->AddJitter(80.0f, &random);
    const float minimum = 100.0f + mirror.IGenerate(-49, 49);  // 50 % of 100 truncates to 49
    const float spread = 40.0f + mirror.IGenerate(-19, 19);
    EXPECT_FLOAT_EQ(cold->GetValueMin(1), minimum);
    EXPECT_FLOAT_EQ(cold->GetValueMax(1), minimum + spread);
}

TEST(DamageAttributeJitter, DurationsAndBaseDamageStayAndModifiersComeFirst) {
    TestMachine tm;
    DamageAttributeStore store;
    RandomUniform random, mirror;
    random.Seed(313);
    mirror.Seed(313);
    auto* poison = LoadInto<PoisonOverTimeProbe>(
        store, CombatRecord(R"({"offensiveSlowPoisonMin":[40,60],"offensiveSlowPoisonMax":[50,60],
            "offensiveSlowPoisonDurationMin":[20],"offensiveSlowPoisonDurationMax":[30]})"));
    ASSERT_NE(poison, nullptr);
    poison->AddJitter(10.0f, &random);
    const float min1 = 40.0f + mirror.IGenerate(-3, 3);
    const float spread1 = 10.0f + mirror.IGenerate(-1, 1);
    const float min2 = 60.0f + mirror.IGenerate(-5, 5);  // a spread of 0 draws nothing
    EXPECT_FLOAT_EQ(poison->GetValueMin(1), min1);
    EXPECT_FLOAT_EQ(poison->GetValueMax(1), min1 + spread1);
    EXPECT_FLOAT_EQ(poison->GetValueMin(2), min2);
    EXPECT_FLOAT_EQ(poison->GetDurationMin(1), 20.0f);
    EXPECT_FLOAT_EQ(poison->GetDurationMax(2), 30.0f);
    EXPECT_EQ(random.GetState(), mirror.GetState());

    auto* base = LoadInto<DamageAttributeAbsBase_Fire>(
        store, CombatRecord(R"({"offensiveBaseFireMin":[40],"offensiveBaseFireMax":[50]})"));
    ASSERT_NE(base, nullptr);
    base->AddJitter(50.0f, &random);
    EXPECT_EQ(random.GetState(), mirror.GetState());

    // All modifiers are jittered before all duration modifiers.
    auto* slow = LoadInto<DamageAttributeDurMod_RunSpeed>(
        store, CombatRecord(R"({"offensiveSlowRunSpeedModifier":[100,200],
            "offensiveSlowRunSpeedDurationModifier":[30]})"));
    ASSERT_NE(slow, nullptr);
    slow->AddJitter(10.0f, &random);
    const float mod1 = 100.0f + mirror.IGenerate(-9, 9);
    mirror.IGenerate(-19, 19);
    const float duration1 = 30.0f + mirror.IGenerate(-2, 2);
    CombatAttributeAccumulator accumulator;
    slow->AddModifierToAccumulator(accumulator, 1, accumulator.GetRandomGen(), true);
    const auto& modifier =
        dynamic_cast<const CombatAttributeDurDamageMod&>(*accumulator.GetDamageModifiers().at(0));
    EXPECT_FLOAT_EQ(modifier.GetDamagePercent(), mod1);
    EXPECT_FLOAT_EQ(modifier.GetDurationPercent(), duration1);
}

TEST(DamageAttributeScale, TruncatedPercentOfMinimumsOnly) {
    ColdProbe probe;
    EXPECT_FLOAT_EQ(probe.Scale(15.0f, 10.0f), 16.0f);
    EXPECT_FLOAT_EQ(probe.Scale(100.0f, 10.0f), 109.0f);

    TestMachine tm;
    DamageAttributeStore store;
    ColdProbe* cold = LoadInto<ColdProbe>(
        store, CombatRecord(R"({"offensiveColdMin":15,"offensiveColdMax":20})"));
    ASSERT_NE(cold, nullptr);
    cold->ScaleAttribute(10.0f);
    EXPECT_FLOAT_EQ(cold->GetValueMin(1), 16.0f);
    EXPECT_FLOAT_EQ(cold->GetValueMax(1), 21.0f);
    cold->ScaleAttribute(0.0f);
    EXPECT_FLOAT_EQ(cold->GetValueMin(1), 16.0f);
}

TEST(DamageAttributeRoll, DrawsChanceThenAmountThenDuration) {
    TestMachine tm;
    DamageAttributeStore store;
    auto* poison = LoadInto<DamageAttributeDur_Poison>(
        store, CombatRecord(R"({"offensiveSlowPoisonChance":[60],"offensiveSlowPoisonMin":[10],
            "offensiveSlowPoisonMax":[20],"offensiveSlowPoisonDurationMin":[2],
            "offensiveSlowPoisonDurationMax":[5]})"));
    ASSERT_NE(poison, nullptr);
    int added = 0;
    for (std::uint32_t seed = 1; seed < 200; ++seed) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seed);
        RandomUniform mirror;
        mirror.Seed(seed);
        poison->AddDamageToAccumulator(accumulator, 1, accumulator.GetRandomGen(), false);
        poison->AddModifierToAccumulator(accumulator, 1, accumulator.GetRandomGen(), false);
        if (mirror.IGenerate(0, 100) > 60) {
            EXPECT_TRUE(accumulator.IsEmpty());
            continue;
        }
        const float amount = mirror.FGenerate(10.0f, 20.0f);
        const float duration = mirror.FGenerate(2.0f, 5.0f);
        ASSERT_EQ(accumulator.GetDamagePayloads().size(), 1u);
        EXPECT_TRUE(accumulator.GetDamageModifiers().empty());
        const auto* payload =
            dynamic_cast<const CombatAttributeDurDamage*>(accumulator.GetDamagePayloads()[0].get());
        ASSERT_NE(payload, nullptr);
        EXPECT_EQ(payload->GetDamage(), amount);
        EXPECT_EQ(payload->GetDuration(), duration);
        EXPECT_EQ(accumulator.GetRandomGen().GetState(), mirror.GetState());
        ++added;
    }
    EXPECT_GT(added, 80);
    EXPECT_LT(added, 170);
}

// A generator handed in beside the accumulator draws the amount and duration; the chance stays
// the accumulator's.
TEST(DamageAttributeRoll, AGivenGeneratorDrawsTheAmountsAndTheAccumulatorTheChance) {
    TestMachine tm;
    DamageAttributeStore store;
    auto* poison = LoadInto<DamageAttributeDur_Poison>(
        store, CombatRecord(R"({"offensiveSlowPoisonChance":[90],"offensiveSlowPoisonMin":[10],
            "offensiveSlowPoisonMax":[20],"offensiveSlowPoisonDurationMin":[2],
            "offensiveSlowPoisonDurationMax":[5]})"));
    auto* fire = LoadInto<DamageAttributeAbs_Fire>(
        store, CombatRecord(R"({"offensiveFireMin":[4],"offensiveFireMax":[8]})"));
    ASSERT_NE(poison, nullptr);
    ASSERT_NE(fire, nullptr);
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(5);
    RandomUniform chances;
    chances.Seed(5);
    RandomUniform given;
    given.Seed(77);
    RandomUniform mirror;
    mirror.Seed(77);
    poison->AddDamageToAccumulator(accumulator, 1, given, false);
    fire->AddDamageToAccumulator(accumulator, 1, given, false);
    ASSERT_LE(chances.IGenerate(0, 100), 90);
    const float amount = mirror.FGenerate(10.0f, 20.0f);
    const float duration = mirror.FGenerate(2.0f, 5.0f);
    const float fireAmount = mirror.FGenerate(4.0f, 8.0f);
    EXPECT_EQ(accumulator.GetRandomGen().GetState(), chances.GetState());
    EXPECT_EQ(given.GetState(), mirror.GetState());
    ASSERT_EQ(accumulator.GetDamagePayloads().size(), 2u);
    const auto* payload =
        dynamic_cast<const CombatAttributeDurDamage*>(accumulator.GetDamagePayloads()[0].get());
    ASSERT_NE(payload, nullptr);
    EXPECT_EQ(payload->GetDamage(), amount);
    EXPECT_EQ(payload->GetDuration(), duration);
    const auto* fired =
        dynamic_cast<const CombatAttributeAbsDamage*>(accumulator.GetDamagePayloads()[1].get());
    ASSERT_NE(fired, nullptr);
    EXPECT_EQ(fired->GetDamage(), fireAmount);
}

TEST(DamageAttributeRoll, SingleZeroChanceAlwaysAppliesAndSkipChanceDrawsNoChance) {
    TestMachine tm;
    DamageAttributeStore store;
    auto* fire = LoadInto<DamageAttributeAbs_Fire>(
        store, CombatRecord(R"({"offensiveFireChance":[0],"offensiveFireMin":8})"));
    ASSERT_NE(fire, nullptr);
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(3);
    RandomUniform mirror;
    mirror.Seed(3);
    fire->AddDamageToAccumulator(accumulator, 1, accumulator.GetRandomGen(), false);
    mirror.FGenerate(8.0f, 8.0f);
    EXPECT_EQ(accumulator.GetRandomGen().GetState(), mirror.GetState());

    auto* stun = LoadInto<DamageAttributeReflex_Stun>(
        store,
        CombatRecord(R"({"offensiveStunChance":[5],"offensiveStunMin":1,"offensiveStunMax":2})"));
    ASSERT_NE(stun, nullptr);
    stun->AddDamageToAccumulator(accumulator, 1, accumulator.GetRandomGen(), true);
    const float amount = mirror.FGenerate(1.0f, 2.0f);
    ASSERT_EQ(accumulator.GetDamagePayloads().size(), 2u);
    const auto* first = dynamic_cast<const CombatAttributeAbsDamageElemental*>(
        accumulator.GetDamagePayloads()[0].get());
    ASSERT_NE(first, nullptr);
    const auto* reflex =
        dynamic_cast<const CombatAttributeReflexDamage*>(accumulator.GetDamagePayloads()[1].get());
    ASSERT_NE(reflex, nullptr);
    EXPECT_EQ(reflex->GetDamage(), amount);
}

TEST(DamageAttributeCost, AveragesHalvedOnlyWhenBothEndsArePositive) {
    TestMachine tm;
    DamageAttributeStore store;
    CostInfo_DamageAttributes cost;
    LoadInto<DamageAttributeAbs_Fire>(
        store,
        CombatRecord(R"({"offensiveFireChance":50,"offensiveFireMin":10,"offensiveFireMax":20})"))
        ->GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgBonus, 7.5f);
    LoadInto<DamageAttributeAbs_Cold>(
        store, CombatRecord(
                   R"({"offensiveColdChance":50,"offensiveColdMin":[0,1],"offensiveColdMax":20})"))
        ->GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgBonus, 17.5f);
    LoadInto<DamageAttributeAbsBase_Fire>(
        store, CombatRecord(R"({"offensiveBaseFireMin":4,"offensiveBaseFireMax":6})"))
        ->GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgBase, 5.0f);
    LoadInto<DamageAttributeDur_Fire>(
        store, CombatRecord(R"({"offensiveSlowFireMin":4,"offensiveSlowFireMax":6,
            "offensiveSlowFireDurationMin":2,"offensiveSlowFireDurationMax":4})"))
        ->GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgOverTime, 15.0f);
    LoadInto<DamageAttributeDurMod_Fire>(
        store,
        CombatRecord(R"({"offensiveSlowFireModifier":20,"offensiveSlowFireDurationModifier":30,
            "offensiveSlowFireModifierChance":50})"))
        ->GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.mod, 10.0f);
    EXPECT_FLOAT_EQ(cost.modDur, 15.0f);
    EXPECT_EQ(cost.count, 6);
}

}  // namespace
}  // namespace GAME::test
