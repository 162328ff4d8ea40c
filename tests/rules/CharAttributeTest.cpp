#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/CharAttribute.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/CostInfo.h"
#include "rules/AttributeTestRecords.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::LoadAttributeTexts;
using test::Record;
using test::TestMachine;

// The generator's draws replayed by hand, for the expected jitter.
int Draw(RandomUniform& replay, int spread) {
    return replay.IGenerate(-spread, spread);
}

struct JitterProbe : CharAttributeVal {
    JitterProbe() : CharAttributeVal(CharAttributeType::Strength, "probe", "probe") {}
    using CharAttribute::Jitter;
    using CharAttribute::Scale;
};

TEST(CharAttributeMath, JitterSpreadsByTheTruncatedPercentAndAtLeastOne) {
    TestMachine tm;
    RandomUniform random, replay;
    random.Seed(77);
    replay.Seed(77);
    for (int i = 0; i < 50; ++i) {
        const float jittered = JitterProbe::Jitter(90.0f, 15.0f, random);
        EXPECT_EQ(jittered, 90.0f + static_cast<float>(Draw(replay, 13)));  // 13.5 truncates
        EXPECT_LE(std::abs(jittered - 90.0f), 13.0f);
    }
    // A percentage of 0 still spreads by one (the generator's rounding never reaches -1).
    std::set<float> seen;
    for (int i = 0; i < 200; ++i) {
        const float jittered = JitterProbe::Jitter(10.0f, 0.0f, random);
        EXPECT_EQ(jittered, 10.0f + static_cast<float>(Draw(replay, 1)));
        seen.insert(jittered);
    }
    EXPECT_TRUE(seen.count(10.0f) && seen.count(11.0f));
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](float v) { return v >= 9 && v <= 11; }));
}

TEST(CharAttributeMath, SmallResultsKeepTheValueAndZeroDrawsNothing) {
    TestMachine tm;
    RandomUniform random, replay;
    random.Seed(5);
    replay.Seed(5);
    for (int i = 0; i < 100; ++i) {
        const int r = Draw(replay, 1);
        const float jittered = JitterProbe::Jitter(0.5f, 20.0f, random);
        EXPECT_EQ(jittered, r == 1 ? 1.5f : 0.5f);
    }
    const auto state = random.GetState();
    EXPECT_EQ(JitterProbe::Jitter(0.0f, 50.0f, random), 0.0f);
    EXPECT_EQ(random.GetState(), state);
}

TEST(CharAttributeMath, ScalingTruncatesTheIncrease) {
    EXPECT_EQ(JitterProbe::Scale(7.0f, 50.0f), 10.0f);
    EXPECT_EQ(JitterProbe::Scale(-7.0f, 50.0f), -10.0f);
    EXPECT_EQ(JitterProbe::Scale(100.0f, 20.0f), 120.0f);  // single precision keeps 20
}

// A share past the integer range (a broken record) must neither wrap nor overflow.
TEST(CharAttributeMath, HugeValuesJitterAndScaleWithoutWrapping) {
    TestMachine tm;
    RandomUniform random;
    random.Seed(3);
    for (int i = 0; i < 20; ++i) {
        const float jittered = JitterProbe::Jitter(1e12f, 20.0f, random);
        EXPECT_LE(std::fabs(jittered - 1e12f), 2.2e9f);
        const float negative = JitterProbe::Jitter(-1e12f, 20.0f, random);
        EXPECT_LE(std::fabs(negative + 1e12f), 2.2e9f);
    }
    EXPECT_FLOAT_EQ(JitterProbe::Scale(1e12f, 20.0f), 1.2e12f);
    EXPECT_FLOAT_EQ(JitterProbe::Scale(-1e12f, 50.0f), -1.5e12f);
    EXPECT_EQ(JitterProbe::Scale(-7.0f, 50.0f), -10.0f);
}

TEST(CharAttributeAccumulator, ModifiersWorkOnTheMagnitude) {
    CharAttributeAccumulator accumulator;
    accumulator.AddValue(CharAttributeType::Life, -20.0f);
    accumulator.AddModifier(CharAttributeType::Life, 50.0f);
    EXPECT_FLOAT_EQ(accumulator.GetValue(CharAttributeType::Life), -10.0f);
    accumulator.AddValue(CharAttributeType::Mana, 20.0f);
    accumulator.AddModifier(CharAttributeType::Mana, 50.0f);
    EXPECT_FLOAT_EQ(accumulator.GetValue(CharAttributeType::Mana), 30.0f);
    EXPECT_FLOAT_EQ(accumulator.GetModifier(CharAttributeType::Mana), 50.0f);
    accumulator.Clear();
    EXPECT_EQ(accumulator.GetValue(CharAttributeType::Mana), 0.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::Life), 0.0f);
}

TEST(CharAttribute, TotalSpeedFansOutToTheFourSpeeds) {
    CharAttributeMod_TotalSpeed total;
    total.SetBaseValue(10.0f);
    CharAttributeAccumulator accumulator;
    total.AddToAccumulator(accumulator, 1);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::RunSpeed), 10.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::AttackSpeed), 10.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::BaseAttackSpeed), 10.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::SpellCastSpeed), 10.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::TotalSpeed), 0.0f);

    CharAttributeMod_AttackSpeed attack;
    attack.SetBaseValue(5.0f);
    attack.AddToAccumulator(accumulator, 1);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::AttackSpeed), 15.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::BaseAttackSpeed), 15.0f);
    EXPECT_EQ(accumulator.GetModifier(CharAttributeType::SpellCastSpeed), 10.0f);

    CostInfo_CharacterAttributes cost;
    total.GetCostInfo(cost);
    EXPECT_EQ(cost.attackSpeedMod, 20.0f);
    EXPECT_EQ(cost.attackSpeedModCount, 2);
    EXPECT_EQ(cost.otherSpeedMod, 10.0f);
    EXPECT_EQ(cost.otherSpeedModCount, 1);
}

TEST(CharAttribute, PerLevelValuesRepeatTheLastAndLevelZeroIsNothing) {
    TestMachine tm;
    CharAttributeStore_Bio bio;
    bio.Load(Record("Records/Attributes/Character.dbr"));
    CharAttributeAccumulator accumulator;
    bio.AddToAccumulator(accumulator, 0);
    for (unsigned type = 1; type < kCharAttributeTypeCount; ++type)
        EXPECT_EQ(accumulator.GetValue(static_cast<CharAttributeType>(type)), 0.0f);
    bio.AddToAccumulator(accumulator, 7);
    EXPECT_EQ(accumulator.GetValue(CharAttributeType::Life), 500.0f);
    EXPECT_EQ(accumulator.GetValue(CharAttributeType::Dexterity), 45.0f);
    EXPECT_EQ(bio.GetBaseValue(CharAttributeType::Life), 300.0f);
}

TEST(CharAttributeStore, BioKeepsItsFiveBasicsEvenWhenEmpty) {
    TestMachine tm;
    CharAttributeStore_Bio bio;
    bio.Load(Record("Records/Attributes/Character.dbr"));
    std::vector<CharAttributeType> types;
    for (const auto& attribute : bio.GetAttributes())
        types.push_back(attribute->GetType());
    using T = CharAttributeType;
    EXPECT_EQ(types, (std::vector<T>{T::Strength, T::Intelligence, T::Dexterity, T::Life,
                                     T::LifeRegen, T::Mana, T::RunSpeed, T::OffensiveAbility}));
    EXPECT_FALSE(bio.GetAttributes()[1]->IsNotEmpty());  // a single 0 counts as nothing

    bio.SetBaseValue(CharAttributeType::Intelligence, 33.0f);
    EXPECT_EQ(bio.GetBaseValue(CharAttributeType::Intelligence), 33.0f);
    bio.SetBaseValue(CharAttributeType::DodgePercent, 3.0f);
    EXPECT_EQ(tm.CountLog("CharAttributeStore_Bio: Could not find type (21) to set base values"),
              1);
    EXPECT_EQ(bio.GetBaseValue(CharAttributeType::DodgePercent), 0.0f);
}

TEST(CharAttributeStore, EquipmentLoadsInOrderWithJitterFromTheStoreGenerator) {
    TestMachine tm;
    LoadAttributeTexts();
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
    const LoadTable suffix = Record("Records/Attributes/SuffixEmbers.dbr");
    RandomUniform random, replay;
    random.Seed(4242);
    replay.Seed(4242);
    CharAttributeStore_Equipment store;
    store.SetRandomGen(&random);
    store.Load(helm, &prefix, &suffix, false);

    // Strength: the prefix's 6 jitters by its own 10 percent (spread 1) while loading, then
    // the base 12 by 20 percent (spread 2).
    const float prefixStrength = 6.0f + static_cast<float>(Draw(replay, 1));
    const float baseStrength = 12.0f + static_cast<float>(Draw(replay, 2));
    // Dexterity exists only through the suffix, whose jitter of 0 still spreads by one; its
    // empty per-level list draws nothing.
    const float suffixDexterity = 5.0f + static_cast<float>(Draw(replay, 1));
    // Life is never jittered; the total speed modifier by 20 percent of 10 (spread 2).
    const float totalSpeed = 10.0f + static_cast<float>(Draw(replay, 2));
    EXPECT_EQ(random.GetState(), replay.GetState());

    using T = CharAttributeType;
    std::vector<T> types;
    for (const auto& attribute : store.GetAttributes())
        types.push_back(attribute->GetType());
    EXPECT_EQ(types, (std::vector<T>{T::BaseAttackSpeed, T::Strength, T::Dexterity, T::Life,
                                     T::TotalSpeed, T::LevelReqReduction}));

    CharAttributeAccumulator accumulator;
    store.AddToAccumulator(accumulator, 1);
    EXPECT_EQ(accumulator.GetValue(T::Strength), baseStrength + prefixStrength);
    EXPECT_EQ(accumulator.GetValue(T::Dexterity), suffixDexterity);
    EXPECT_EQ(accumulator.GetValue(T::Life), 40.0f);
    EXPECT_EQ(accumulator.GetModifier(T::RunSpeed), totalSpeed);

    TextList first, second;
    store.CreateText(first, second, 1);
    EXPECT_EQ(first, (TextList{L"Attack Speed Unknown"}));
    ASSERT_EQ(second.size(), 5u);
    EXPECT_EQ(second[0], L"+" + std::to_wstring(static_cast<int>(baseStrength + prefixStrength)) +
                             L" Strength");
    EXPECT_EQ(second[1], L"+" + std::to_wstring(static_cast<int>(suffixDexterity)) + L" Dexterity");
    EXPECT_EQ(second[2], L"+40 Health");
    EXPECT_EQ(second[4], L"-2 Level Requirement");

    CostInfo_CharacterAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.primaryAtt, baseStrength + prefixStrength + suffixDexterity);
    EXPECT_EQ(cost.primaryAttCount, 2);
    EXPECT_EQ(cost.secondaryAtt, 40.0f);
    EXPECT_EQ(cost.bonus, 2.0f);
    EXPECT_EQ(cost.attackSpeedModCount, 2);
    EXPECT_EQ(cost.attackSpeedCount, 0);  // the unset base attack speed counts nothing
}

TEST(CharAttributeStore, ARandomizerWithoutJitterStillSpreadsByOneButOnlyWithAGenerator) {
    TestMachine tm;
    const LoadTable suffix = Record("Records/Attributes/SuffixEmbers.dbr");  // jitter 0, dex 5
    std::set<float> seen;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        RandomUniform random, replay;
        random.Seed(seed);
        replay.Seed(seed);
        CharAttributeVal_Dexterity dexterity;
        dexterity.LoadSuffixTable(suffix, &random);
        dexterity.LoadPrefixTable(suffix, &random);
        const float suffixValue = 5.0f + static_cast<float>(Draw(replay, 1));
        const float prefixValue = 5.0f + static_cast<float>(Draw(replay, 1));
        EXPECT_EQ(dexterity.GetSuffixValue(), suffixValue);
        EXPECT_EQ(dexterity.GetPrefixValue(), prefixValue);
        EXPECT_EQ(random.GetState(), replay.GetState());
        seen.insert(suffixValue);
    }
    EXPECT_TRUE(seen.count(5.0f) && seen.count(6.0f));
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](float v) { return v >= 4 && v <= 6; }));
    // No generator: the record's value as it stands.
    CharAttributeVal_Dexterity plain;
    plain.LoadSuffixTable(suffix, nullptr);
    EXPECT_EQ(plain.GetSuffixValue(), 5.0f);
}

TEST(CharAttributeStore, SkillStoresSplitTheManaReserveOff) {
    TestMachine tm;
    LoadAttributeTexts();
    const LoadTable pack = Record("Records/Attributes/SkillPack.dbr");
    CharAttributeStore_Skill skill;
    skill.Load(pack);
    CharAttributeStore_SkillPenalty penalty;
    penalty.Load(pack);
    ASSERT_EQ(skill.GetAttributes().size(), 2u);
    EXPECT_EQ(skill.GetAttributes()[0]->GetType(), CharAttributeType::Strength);
    EXPECT_EQ(skill.GetAttributes()[1]->GetType(), CharAttributeType::AttackSpeed);
    ASSERT_EQ(penalty.GetAttributes().size(), 1u);
    EXPECT_EQ(penalty.GetAttributes()[0]->GetType(), CharAttributeType::ManaLimitReserve);

    CostInfo_CharacterAttributes cost;
    penalty.GetCostInfo(cost);
    EXPECT_EQ(cost.GetTotalCount(), 0);

    TextList first, second;
    skill.CreateNextText(first, second, 1, 2);
    EXPECT_EQ(second, (TextList{L"+10 Strength", L"+20% Attack Speed"}));
    second.clear();
    skill.CreateNextText(first, second, 3, 4);
    EXPECT_TRUE(second.empty());

    skill.ScaleAttributes(50.0f);
    CharAttributeAccumulator accumulator;
    skill.AddToAccumulator(accumulator, 3);
    EXPECT_EQ(accumulator.GetValue(CharAttributeType::Strength), 22.0f);  // 15 + 7
}

}  // namespace
}  // namespace GAME
