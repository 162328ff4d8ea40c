#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/SkillAttribute.h"
#include "rules/AttributeTestRecords.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::Record;
using test::TestMachine;

TEST(SkillAttributeAccumulator, ModifiersScaleTheMagnitudeOfTheSum) {
    SkillAttributeAccumulator accumulator;
    accumulator.AddValue(SkillAttributeType::CooldownReduction, 10.0f);
    accumulator.AddModifier(SkillAttributeType::CooldownReduction, 50.0f);
    EXPECT_FLOAT_EQ(accumulator.GetValue(SkillAttributeType::CooldownReduction), 15.0f);
    accumulator.AddValue(SkillAttributeType::ManaCostReduction, -10.0f);
    accumulator.AddModifier(SkillAttributeType::ManaCostReduction, 50.0f);
    EXPECT_FLOAT_EQ(accumulator.GetValue(SkillAttributeType::ManaCostReduction), -5.0f);
    accumulator.AddModifier(SkillAttributeType::ProjectileSpeedModifier, 80.0f);
    EXPECT_EQ(accumulator.GetValue(SkillAttributeType::ProjectileSpeedModifier), 0.0f);

    accumulator.SetSeed(3);
    SkillAttributeAccumulator copy = accumulator;
    EXPECT_EQ(copy.GetRandomGen().GetState(), accumulator.GetRandomGen().GetState());
    EXPECT_FLOAT_EQ(copy.GetValue(SkillAttributeType::CooldownReduction), 15.0f);
    const auto state = accumulator.GetRandomGen().GetState();
    accumulator.Clear();
    EXPECT_EQ(accumulator.GetValue(SkillAttributeType::CooldownReduction), 0.0f);
    EXPECT_EQ(accumulator.GetRandomGen().GetState(), state);
}

TEST(SkillAttribute, TotalValueAlwaysDrawsThreeTimesAndHonoursEachChance) {
    TestMachine tm;
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
    SkillAttributeVal_CooldownReduction cooldown;
    cooldown.LoadBaseTable(helm);
    cooldown.LoadPrefixTable(prefix, nullptr);  // no generator: no jitter
    EXPECT_EQ(cooldown.GetPrefixValue(), 4.0f);
    EXPECT_EQ(cooldown.GetPrefixChance(), 50.0f);

    for (std::uint32_t seed = 1; seed < 200; ++seed) {
        RandomUniform random, replay;
        random.Seed(seed);
        replay.Seed(seed);
        const float total = cooldown.GetTotalValue(random, 1);
        replay.FGenerate(0.0f, 100.0f);  // base: chance 0 means always
        const bool prefixApplies = replay.FGenerate(0.0f, 100.0f) <= 50.0f;
        replay.FGenerate(0.0f, 100.0f);
        EXPECT_EQ(total, prefixApplies ? 12.0f : 8.0f);
        EXPECT_EQ(random.GetState(), replay.GetState());
    }
}

TEST(SkillAttributeStore, EquipmentLoadTextAndCost) {
    TestMachine tm;
    LocalizationManager::Instance().LoadFile(TestMachine::TestDataDir() +
                                             "/Records/Attributes/AttributeTexts.txt");
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
    const LoadTable suffix = Record("Records/Attributes/SuffixEmbers.dbr");
    RandomUniform random, replay;
    random.Seed(31);
    replay.Seed(31);
    SkillAttributeStore_Equipment store;
    store.SetRandomGen(&random);
    store.Load(helm, &prefix, &suffix, true);
    // The prefix's cooldown of 4 jitters by 10 percent (spread 1), the suffix's energy cost of 3
    // by its jitter of 0 (still a spread of 1), each as its attribute loads.
    const float prefixCooldown = 4.0f + static_cast<float>(replay.IGenerate(-1, 1));
    const float suffixCost = 3.0f + static_cast<float>(replay.IGenerate(-1, 1));
    EXPECT_EQ(random.GetState(), replay.GetState());

    ASSERT_EQ(store.GetAttributes().size(), 2u);
    EXPECT_EQ(store.GetAttributes()[0]->GetType(), SkillAttributeType::CooldownReduction);
    EXPECT_EQ(store.GetAttributes()[1]->GetType(), SkillAttributeType::ManaCostReduction);

    std::vector<std::wstring> lines;
    store.CreateText(lines, 1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"-8% Recharge");
    EXPECT_EQ(lines[1], L"50% Chance of -" + std::to_wstring(static_cast<int>(prefixCooldown)) +
                            L"% Recharge");
    EXPECT_EQ(lines[2], L"-" + std::to_wstring(static_cast<int>(suffixCost)) + L"% Energy Cost");

    CostInfo_SkillAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.base, 8.0f - prefixCooldown - suffixCost);  // level 1: its base only
    EXPECT_EQ(cost.bonus, prefixCooldown + suffixCost);
    EXPECT_EQ(cost.bonusCount, 2);

    // The owner's jitter spreads only the per-level values: one draw for the base's 8.
    store.AddJitter(0.0f);
    EXPECT_EQ(random.GetState(), replay.GetState());
    store.AddJitter(25.0f);
    replay.IGenerate(-2, 2);
    EXPECT_EQ(random.GetState(), replay.GetState());
}

TEST(SkillAttributeStore, SkillStoreAddsWithTheAccumulatorGenerator) {
    TestMachine tm;
    LocalizationManager::Instance().LoadFile(TestMachine::TestDataDir() +
                                             "/Records/Attributes/AttributeTexts.txt");
    SkillAttributeStore_Skill store;
    store.Load(Record("Records/Attributes/SkillPack.dbr"));
    ASSERT_EQ(store.GetAttributes().size(), 1u);

    std::vector<std::wstring> next;
    store.CreateNextText(next, 1, 2);
    EXPECT_EQ(next, (std::vector<std::wstring>{L"25% Chance of -10% Energy Cost"}));
    next.clear();
    store.CreateNextText(next, 2, 3);
    EXPECT_TRUE(next.empty());

    int applied = 0;
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        SkillAttributeAccumulator accumulator;
        accumulator.SetSeed(seed);
        store.AddToAccumulator(accumulator, 2);
        const float value = accumulator.GetValue(SkillAttributeType::ManaCostReduction);
        EXPECT_TRUE(value == 0.0f || value == 10.0f);
        applied += value > 0.0f;
    }
    EXPECT_GT(applied, 60);  // about a quarter of 400
    EXPECT_LT(applied, 140);
}

}  // namespace
}  // namespace GAME
