#include <gtest/gtest.h>

#include <typeinfo>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributePhysical.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"
#include "support/TypeOf.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

// Attack seeds as attacks draw them: 0 to 32765 from the attacker's generator.
struct AttackSeeds {
    RandomUniform attacker;
    explicit AttackSeeds(std::uint32_t seed) { attacker.Seed(seed); }
    std::uint32_t Next() { return static_cast<std::uint32_t>(attacker.IGenerate(0, 32765)); }
};

std::vector<T> Types(const CombatAttributeAccumulator::PayloadList& list) {
    std::vector<T> types;
    for (const auto& payload : list)
        types.push_back(payload->GetType());
    return types;
}

TEST(DamageAttributeStoreChance, PerLevelListAndPrefixSuffixAtLevelOne) {
    TestMachine tm;
    DamageAttributeStore_Equipment store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":[10,20,30]})"), nullptr, nullptr, false);
    EXPECT_FLOAT_EQ(store.GetGlobalChance(0), 0.0f);
    EXPECT_FLOAT_EQ(store.GetGlobalChance(2), 20.0f);
    EXPECT_FLOAT_EQ(store.GetGlobalChance(7), 30.0f);

    const LoadTable base = CombatRecord(R"({"offensiveGlobalChance":[10,20,30]})");
    const LoadTable prefix = CombatRecord(R"({"offensiveGlobalChance":15})");
    const LoadTable suffix = CombatRecord(R"({"offensiveGlobalChance":25})");
    const LoadTable none = CombatRecord(R"({"lootRandomizerJitter":5})");
    store.Load(base, &prefix, &suffix, false);
    EXPECT_FLOAT_EQ(store.GetGlobalChance(1), 25.0f);
    EXPECT_FLOAT_EQ(store.GetGlobalChance(2), 20.0f);
    store.Load(base, &prefix, &none, false);
    EXPECT_FLOAT_EQ(store.GetGlobalChance(1), 15.0f);
}

TEST(DamageAttributeStoreChance, ReloadingFromAnotherRecordDropsTheOldChances) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":[40,50],"offensiveFireMin":5,
                                "offensiveFireGlobal":true})"));
    EXPECT_FLOAT_EQ(store.GetGlobalChance(2), 50.0f);
    store.Load(CombatRecord(R"({"offensiveColdMin":5,"offensiveColdGlobal":true})"));
    EXPECT_FLOAT_EQ(store.GetGlobalChance(2), 0.0f);
    ASSERT_EQ(store.GetGlobalAndAttributes().size(), 1u);
    CombatAttributeAccumulator accumulator;
    store.AddDamageToAccumulator(accumulator, 2);
    EXPECT_TRUE(accumulator.IsEmpty());

    DamageAttributeStore_Equipment item;
    const LoadTable prefix = CombatRecord(R"({"offensiveGlobalChance":35})");
    item.Load(CombatRecord("{}"), &prefix, nullptr, false);
    EXPECT_FLOAT_EQ(item.GetGlobalChance(1), 35.0f);
    item.Load(CombatRecord("{}"), nullptr, nullptr, false);
    EXPECT_FLOAT_EQ(item.GetGlobalChance(1), 0.0f);
}

TEST(DamageAttributeStoreGroups, XorPicksInProportionToTheWeights) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":100,
        "offensiveFireMin":5,"offensiveFireChance":1,"offensiveFireGlobal":true,"offensiveFireXOR":true,
        "offensiveColdMin":5,"offensiveColdChance":3,"offensiveColdGlobal":true,"offensiveColdXOR":true})"));
    ASSERT_EQ(store.GetGlobalXorAttributes().size(), 2u);
    int fire = 0, cold = 0;
    const int attacks = 4000;
    AttackSeeds seeds(2024);
    for (int i = 0; i < attacks; ++i) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seeds.Next());
        store.AddDamageToAccumulator(accumulator, 1);
        ASSERT_EQ(accumulator.GetDamagePayloads().size(), 1u);
        (accumulator.GetDamagePayloads()[0]->GetType() == T::Fire ? fire : cold) += 1;
    }
    EXPECT_NEAR(fire / double(attacks), 0.25, 0.03);
    EXPECT_NEAR(cold / double(attacks), 0.75, 0.03);
}

TEST(DamageAttributeStoreGroups, AndGroupAppliesWholeWithTheGlobalChance) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":30,
        "offensiveFireMin":5,"offensiveFireGlobal":true,
        "offensiveColdMin":5,"offensiveColdChance":1,"offensiveColdGlobal":true,
        "offensiveLightningMin":5})"));
    int applied = 0;
    const int attacks = 4000;
    AttackSeeds seeds(77);
    for (int i = 0; i < attacks; ++i) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seeds.Next());
        store.AddDamageToAccumulator(accumulator, 1);
        const auto types = Types(accumulator.GetDamagePayloads());
        // The plain attribute always comes first; the group comes whole or not at all, its
        // members skipping their own chance.
        ASSERT_FALSE(types.empty());
        EXPECT_EQ(types[0], T::Lightning);
        if (types.size() == 3) {
            EXPECT_EQ(types[1], T::Fire);  // load order: fire kinds before cold kinds
            EXPECT_EQ(types[2], T::Cold);
            ++applied;
        } else {
            EXPECT_EQ(types.size(), 1u);
        }
    }
    EXPECT_NEAR(applied / double(attacks), 0.30, 0.03);
}

TEST(DamageAttributeStoreGroups, DamageAndModifiersRollSeparately) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":50,
        "offensiveFireMin":5,"offensiveFireModifier":20,"offensiveFireGlobal":true})"));
    int differ = 0;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seed * 31u);
        store.AddDamageToAccumulator(accumulator, 1);
        store.AddModifierToAccumulator(accumulator, 1);
        differ += accumulator.GetDamagePayloads().size() != accumulator.GetDamageModifiers().size();
    }
    EXPECT_GT(differ, 0);
}

// The global roll is FGenerate(0, 100) against the chance, a fractional one included, drawn
// after the plain members and before the group's; each pass draws its own.
TEST(DamageAttributeStoreGroups, GlobalRollDrawsLikeTheFloatDrawInEachPass) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":33.3,
        "offensiveFireMin":5,"offensiveFireModifier":20,"offensiveFireGlobal":true,
        "offensiveColdMin":4})"));
    int applied = 0;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seed * 7919u);
        RandomUniform mirror;
        mirror.Seed(seed * 7919u);
        store.AddDamageToAccumulator(accumulator, 1);
        mirror.FGenerate(4.0f, 4.0f);  // the plain cold amount
        const bool damagePasses = !(mirror.FGenerate(0.0f, 100.0f) > 33.3f);
        if (damagePasses)
            mirror.FGenerate(5.0f, 5.0f);  // the fire amount
        store.AddModifierToAccumulator(accumulator, 1);
        const bool modifierPasses = !(mirror.FGenerate(0.0f, 100.0f) > 33.3f);
        const std::vector<T> expected =
            damagePasses ? std::vector<T>{T::Cold, T::Fire} : std::vector<T>{T::Cold};
        ASSERT_EQ(Types(accumulator.GetDamagePayloads()), expected);
        ASSERT_EQ(accumulator.GetDamageModifiers().size(), modifierPasses ? 1u : 0u);
        ASSERT_EQ(accumulator.GetRandomGen().GetState(), mirror.GetState());
        applied += damagePasses;
    }
    EXPECT_NEAR(applied / 3000.0, 0.333, 0.03);
}

// A reload clears the members each pass walks along with the attributes: the second record's
// payloads come once each, and nothing of the first record's is touched.
TEST(DamageAttributeStoreGroups, ReloadReplacesTheMembersOfBothPasses) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":100,
        "offensiveFireMin":5,"offensiveFireModifier":20,"offensiveFireGlobal":true,
        "offensiveColdMin":4,"offensiveColdModifier":10})"));
    store.Load(CombatRecord(R"({"offensiveGlobalChance":100,
        "offensiveLightningMin":3,"offensiveLightningModifier":15,
        "offensivePoisonMin":2,"offensivePoisonModifier":5,"offensivePoisonGlobal":true})"));
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(11);
    store.AddDamageToAccumulator(accumulator, 1);
    store.AddModifierToAccumulator(accumulator, 1);
    EXPECT_EQ(Types(accumulator.GetDamagePayloads()), (std::vector<T>{T::Lightning, T::Poison}));
    EXPECT_EQ(Types(accumulator.GetDamageModifiers()), (std::vector<T>{T::Lightning, T::Poison}));

    store.Clear();
    CombatAttributeAccumulator empty;
    store.AddDamageToAccumulator(empty, 1);
    store.AddModifierToAccumulator(empty, 1);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.GetDamageModifiers().empty());
}

TEST(DamageAttributeStoreGroups, NoGlobalChanceNeverAppliesButStillShowsTheGroups) {
    TestMachine tm;
    SetCombatTexts();
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveFireMin":5,"offensiveFireChance":20,
        "offensiveFireGlobal":true,"offensiveColdMin":7,"offensiveColdGlobal":true,
        "offensiveColdXOR":true})"));
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(5);
    const std::uint32_t state = accumulator.GetRandomGen().GetState();
    store.AddDamageToAccumulator(accumulator, 1);
    EXPECT_TRUE(accumulator.IsEmpty());
    EXPECT_EQ(accumulator.GetRandomGen().GetState(), state);

    DamageTextList one, two, three;
    store.CreateText(one, two, three, 1);
    EXPECT_TRUE(one.empty());
    EXPECT_TRUE(three.empty());
    EXPECT_EQ(Narrow(two), (std::vector<std::string>{"All at 0:", "..[5.00]DamageFire",
                                                     "One at 0:", "..[7.00]DamageCold"}));
}

TEST(DamageAttributeStoreText, PlainLinesInTheirListsThenGroupsUnderTheirHeaders) {
    TestMachine tm;
    SetCombatTexts();
    DamageAttributeStore_Equipment store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":[100],
        "offensivePhysicalMin":10,"offensivePhysicalMax":20,
        "offensiveColdMin":3,"offensiveColdChance":10,
        "offensiveSlowFireMin":2,"offensiveSlowFireDurationMin":3,"offensiveSlowFireGlobal":true,
        "offensiveStunMin":1,"offensiveStunGlobal":true})"),
               nullptr, nullptr, false);
    DamageTextList one, two, three;
    store.CreateText(one, two, three, 1);
    EXPECT_EQ(Narrow(one), (std::vector<std::string>{"[10.00-20.00]DamageBasePhysical"}));
    EXPECT_EQ(Narrow(three), (std::vector<std::string>{"(10%)[3.00]DamageCold"}));
    // Group members' lists 1, 2, 3 in order, after the header, all in the second list.
    EXPECT_EQ(Narrow(two), (std::vector<std::string>{"All:", "..[6.00]DamageDurationFire(3.0s)",
                                                     "..<1.00>DamageStun"}));
}

TEST(DamageAttributeStoreText, NextLevelHeadersUseTheNextChance) {
    TestMachine tm;
    SetCombatTexts();
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance":[20,100],
        "offensiveFireMin":[5,6],"offensiveFireGlobal":true,
        "offensiveColdMin":[3,3],"offensiveColdGlobal":true,"offensiveColdXOR":true,
        "offensiveLifeMin":[1,2]})"));
    DamageTextList one, two, three;
    store.CreateNextText(one, two, three, 1, 2);
    EXPECT_EQ(Narrow(three), (std::vector<std::string>{"[2.00]DamageLife"}));
    // The one-of group has no changed line, so it shows no header.
    EXPECT_EQ(Narrow(two), (std::vector<std::string>{"All:", "..[6.00]DamageFire"}));
}

TEST(DamageAttributeStoreLoad, EquipmentOrderDecidesPayloadOrder) {
    TestMachine tm;
    DamageAttributeStore_Equipment store;
    const LoadTable record = CombatRecord(R"({
        "offensiveStunMin":1, "offensiveDisruptionMin":1, "offensiveFireMin":4,
        "offensiveBaseFireMin":2, "offensiveBonusPhysicalMin":3, "offensiveElementalMin":3,
        "offensivePierceMin":1, "offensiveTrapMin":1, "offensiveTauntMin":1, "offensiveFearMin":1,
        "offensiveSlowPhysicalMin":1, "offensiveSlowPhysicalDurationMin":1,
        "offensiveConvertMin":1})");
    store.Load(record, nullptr, nullptr, false);
    CombatAttributeAccumulator accumulator;
    store.AddDamageToAccumulator(accumulator, 1);
    // Trap, taunt, fear and physical over time are never loaded for items.
    EXPECT_EQ(Types(accumulator.GetDamagePayloads()),
              (std::vector<T>{T::AllPhysical, T::Fire, T::Physical, T::Pierce, T::Cold, T::Fire,
                              T::Lightning, T::Fire, T::Stun, T::Convert, T::Disruption}));

    DamageAttributeStore_Skill skill;
    skill.Load(record);
    CombatAttributeAccumulator skillAccumulator;
    skill.AddDamageToAccumulator(skillAccumulator, 1);
    EXPECT_EQ(Types(skillAccumulator.GetDamagePayloads()),
              (std::vector<T>{T::Physical, T::Pierce, T::Cold, T::Fire, T::Lightning, T::Fire,
                              T::Disruption, T::Stun, T::Trap, T::Taunt, T::Convert, T::Fear}));
    EXPECT_EQ(test::TypeOf(skillAccumulator.GetDamagePayloads()[0]),
              typeid(CombatAttributeDurDamage));
}

TEST(DamageAttributeStoreLoad, PrefixAndSuffixAddTheirOwnJitteredAttributes) {
    TestMachine tm;
    DamageAttributeStore_Equipment store;
    RandomUniform random, mirror;
    random.Seed(1001);
    mirror.Seed(1001);
    store.SetRandomGen(&random);
    const LoadTable base = CombatRecord(R"({"offensiveFireMin":[100]})");
    const LoadTable prefix = CombatRecord(R"({"offensiveFireMin":[50],"lootRandomizerJitter":10})");
    const LoadTable suffix =
        CombatRecord(R"({"offensiveColdMin":[40],"offensiveColdGlobal":true})");
    store.Load(base, &prefix, &suffix, false);
    // Base physical (never jittered, no draw), base fire (20 %), prefix fire (10 %), suffix cold
    // (its record gives no jitter).
    const float baseFire = 100.0f + mirror.IGenerate(-19, 19);
    const float prefixFire = 50.0f + mirror.IGenerate(-4, 4);
    EXPECT_EQ(random.GetState(), mirror.GetState());
    EXPECT_EQ(store.GetAttributes().size(), 3u);
    EXPECT_EQ(store.GetGlobalAndAttributes().size(), 1u);
    CombatAttributeAccumulator accumulator;
    store.AddDamageToAccumulator(accumulator, 1);
    float absolute = 0.0f, duration = 0.0f;
    accumulator.GetTotalDamageType(absolute, duration, T::Fire);
    EXPECT_FLOAT_EQ(absolute, baseFire + prefixFire);
}

TEST(DamageAttributeStoreLoad, ScaleAndCostInGroupOrder) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveFireMin":[100],"offensiveColdMin":[50],
        "offensiveColdGlobal":true,"offensiveColdXOR":true,"offensiveLifeMin":[20],
        "offensiveLifeGlobal":true})"));
    store.ScaleAttributes(10.0f);
    CostInfo_DamageAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgBonus, 109.0f + 54.0f + 21.0f);
    EXPECT_EQ(cost.count, 3);
}

}  // namespace
}  // namespace GAME::test
