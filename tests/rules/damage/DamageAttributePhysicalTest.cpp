#include <gtest/gtest.h>

#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributePhysical.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

const CombatAttributeDamage_BasePhysical& OnlyPhysical(const CombatAttributeAccumulator& acc) {
    EXPECT_EQ(acc.GetDamagePayloads().size(), 1u);
    return dynamic_cast<const CombatAttributeDamage_BasePhysical&>(*acc.GetDamagePayloads()[0]);
}

TEST(DamageAttributeBasePhysical, RegisteredWithoutAnyKeyAndAddsAZeroPayload) {
    TestMachine tm;
    DamageAttributeStore store;
    DamageAttribute_BasePhysical::Create_BasePhysical(store, CombatRecord(R"({"Class":"Weapon"})"));
    ASSERT_EQ(store.GetAttributes().size(), 1u);
    CombatAttributeAccumulator accumulator;
    store.AddDamageToAccumulator(accumulator, 3);
    const auto& payload = OnlyPhysical(accumulator);
    EXPECT_FLOAT_EQ(payload.GetPhysical(), 0.0f);
    EXPECT_TRUE(payload.GetUseDesignerEquations());
    EXPECT_EQ(payload.GetType(), T::AllPhysical);
    CostInfo_DamageAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.count, 0);
}

TEST(DamageAttributeBasePhysical, MaximumBelowMinimumAndPierceRatioCost) {
    TestMachine tm;
    DamageAttributeStore store;
    DamageAttribute_BasePhysical::Create_BasePhysical(
        store, CombatRecord(R"({"offensivePhysicalMin":10,"offensivePhysicalMax":5})"));
    const auto* base =
        dynamic_cast<const DamageAttribute_BasePhysical*>(store.GetAttributes()[0].get());
    ASSERT_NE(base, nullptr);
    EXPECT_FLOAT_EQ(base->GetSpread(), 0.0f);

    DamageAttributeStore pierceOnly;
    DamageAttribute_BasePhysical::Create_BasePhysical(
        pierceOnly, CombatRecord(R"({"offensivePierceRatioMin":30})"));
    CostInfo_DamageAttributes cost;
    pierceOnly.GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgPierceRatio, 30.0f);
    EXPECT_EQ(cost.count, 1);

    // The average of base damage is always halved; scaling moves the minimum only.
    DamageAttributeStore weapon;
    DamageAttribute_BasePhysical::Create_BasePhysical(
        weapon, CombatRecord(R"({"offensivePhysicalMin":15,"offensivePhysicalMax":25,
                                 "offensivePierceRatioMin":10})"));
    weapon.ScaleAttributes(10.0f);
    CostInfo_DamageAttributes weaponCost;
    weapon.GetCostInfo(weaponCost);
    EXPECT_FLOAT_EQ(weaponCost.avgBase, 21.0f);  // (2 * 16 + 10) / 2
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(9);
    RandomUniform mirror;
    mirror.Seed(9);
    weapon.AddDamageToAccumulator(accumulator, 1);
    EXPECT_EQ(OnlyPhysical(accumulator).GetPhysical(), mirror.FGenerate(16.0f, 26.0f));
    EXPECT_FLOAT_EQ(OnlyPhysical(accumulator).GetPierceRatio(), 10.0f);
}

TEST(DamageAttributePhysical, WholeSpreadAndPierceRatioPerLevel) {
    TestMachine tm;
    DamageAttribute_Physical physical;
    ASSERT_TRUE(physical.LoadFromTable(
        CombatRecord(R"({"offensivePhysicalMin":[10,20],"offensivePhysicalMax":[15.7],
                         "offensivePierceRatio":[5,8]})")));
    EXPECT_FLOAT_EQ(physical.GetValueMax(1), 15.0f);
    EXPECT_FLOAT_EQ(physical.GetPierceRatio(5), 8.0f);

    CombatAttributeAccumulator accumulator;
    physical.AddDamageToAccumulator(accumulator, 9, accumulator.GetRandomGen(), false);
    const auto& payload = OnlyPhysical(accumulator);
    EXPECT_FALSE(payload.GetUseDesignerEquations());
    EXPECT_FLOAT_EQ(payload.GetPierceRatio(), 8.0f);

    DamageAttribute_Physical noPierce;
    ASSERT_TRUE(noPierce.LoadFromTable(CombatRecord(R"({"offensivePhysicalMin":[4]})")));
    EXPECT_FLOAT_EQ(noPierce.GetPierceRatio(1), 0.0f);

    DamageAttribute_Physical nothing;
    EXPECT_FALSE(nothing.LoadFromTable(CombatRecord(R"({"offensivePierceRatio":[5]})")));
}

TEST(DamageAttributePhysical, JitterKeepsWholeSpreadsAndJittersPierce) {
    TestMachine tm;
    DamageAttribute_Physical physical;
    ASSERT_TRUE(physical.LoadFromTable(
        CombatRecord(R"({"offensivePhysicalMin":[100],"offensivePhysicalMax":[150],
                                                "offensivePierceRatio":[40]})")));
    RandomUniform random, mirror;
    random.Seed(21);
    mirror.Seed(21);
    physical.AddJitter(10.0f, &random);
    const float minimum = 100.0f + mirror.IGenerate(-9, 9);
    const float spread = 50.0f + mirror.IGenerate(-4, 4);
    const float pierce = 40.0f + mirror.IGenerate(-3, 3);
    EXPECT_FLOAT_EQ(physical.GetValueMin(1), minimum);
    EXPECT_FLOAT_EQ(physical.GetValueMax(1), minimum + spread);
    EXPECT_FLOAT_EQ(physical.GetPierceRatio(1), pierce);

    CostInfo_DamageAttributes cost;
    physical.GetCostInfo(cost);
    EXPECT_FLOAT_EQ(cost.avgBonus, (2.0f * minimum + spread) * 0.5f);
    EXPECT_FLOAT_EQ(cost.avgPierceRatio, pierce);
}

TEST(DamageAttributeManaBurn, RatioWithoutDrainLoadsNothingAndPayloadCarriesTheRatio) {
    TestMachine tm;
    DamageAttributeAbs_ManaBurn ratioOnly;
    EXPECT_FALSE(ratioOnly.LoadFromTable(CombatRecord(R"({"offensiveManaBurnDamageRatio":[50]})")));
    DamageAttributeAbs_ManaBurn burn;
    ASSERT_TRUE(burn.LoadFromTable(
        CombatRecord(R"({"offensiveManaBurnDrainMin":20,"offensiveManaBurnDrainMax":30,
                                            "offensiveManaBurnDamageRatio":[50,60]})")));
    CombatAttributeAccumulator accumulator;
    burn.AddDamageToAccumulator(accumulator, 2, accumulator.GetRandomGen(), true);
    ASSERT_EQ(accumulator.GetDamagePayloads().size(), 1u);
    const auto& payload =
        dynamic_cast<const CombatAttributeAbsDamage_ManaBurn&>(*accumulator.GetDamagePayloads()[0]);
    EXPECT_FLOAT_EQ(payload.GetRatio(), 60.0f);
    EXPECT_GE(payload.GetDamage(), 20.0f);
    EXPECT_LE(payload.GetDamage(), 30.0f);
}

}  // namespace
}  // namespace GAME::test
