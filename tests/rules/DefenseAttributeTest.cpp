#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/DefenseAttributeRootAccess.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "rules/AttributeTestRecords.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::Record;
using test::TestMachine;

struct Probe : DefenseAttributeAbs_Fire {
    using DefenseAttribute::Jitter;
    using DefenseAttribute::Scale;
};

TEST(DefenseAttribute, LeavesReadTheirFieldsByTheNamingRule) {
    DefenseAttributeDurMod_LifeLeach leach;
    EXPECT_STREQ(leach.GetValueField(), "defensiveSlowLifeLeachDurationModifier");
    EXPECT_STREQ(leach.GetChanceField(), "defensiveSlowLifeLeachDurationModifierChance");
    EXPECT_STREQ(leach.GetTextTag(), "DefenseLifeLeachDurationModifier");
    EXPECT_EQ(leach.GetType(), CombatAttributeType::LifeLeech);
    DefenseAttributeAbs_Stun stun;
    EXPECT_STREQ(stun.GetValueField(), "defensiveStun");
    EXPECT_STREQ(stun.GetChanceField(), "defensiveStunChance");
    EXPECT_STREQ(stun.GetTextTag(), "DefenseStun");
    DefenseAttributeAbsMod_Absorption absorption;
    EXPECT_STREQ(absorption.GetValueField(), "defensiveAbsorptionModifier");
    EXPECT_EQ(absorption.GetType(), CombatAttributeType::Absorption);
    DefenseAttributeAbs_ManaBurnRatio burn;
    EXPECT_STREQ(burn.GetTextTag(), "MONSTER ONLY");
}

TEST(DefenseAttribute, JitterAndScaleExamples) {
    RandomUniform random, replay;
    random.Seed(1234);
    replay.Seed(1234);
    Probe probe;
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(probe.Jitter(90.0f, 15.0f, random),
                  90.0f + static_cast<float>(replay.IGenerate(-13, 13)));
        const int r = replay.IGenerate(-1, 1);
        EXPECT_EQ(probe.Jitter(0.5f, 20.0f, random), r == 1 ? 1.5f : 0.5f);
    }
    EXPECT_EQ(probe.Scale(7.0f, 50.0f), 10.0f);
    EXPECT_EQ(probe.Scale(-7.0f, 50.0f), -10.0f);
}

TEST(DefenseAttribute, OnlyNonZeroEntriesDrawAndThePercentIsCappedAtFifty) {
    TestMachine tm;
    const LoadTable character = Record("Records/Attributes/Character.dbr");
    DefenseAttributeAbs_Fire fire;
    ASSERT_TRUE(fire.LoadFromTable(character, false));
    RandomUniform random, replay;
    random.Seed(8);
    replay.Seed(8);
    fire.AddJitter(80.0f, &random);  // acts as 50: 5, 10 and 15
    const float expected[] = {10.0f + replay.IGenerate(-5, 5), 20.0f + replay.IGenerate(-10, 10),
                              30.0f + replay.IGenerate(-15, 15)};
    for (unsigned level = 1; level <= 3; ++level)
        EXPECT_EQ(fire.GetValueAt(level), expected[level - 1]);
    EXPECT_EQ(fire.GetValueAt(0), 0.0f);
    EXPECT_EQ(fire.GetValueAt(9), expected[2]);
    EXPECT_EQ(random.GetState(), replay.GetState());
}

TEST(DefenseAttribute, ChanceGateDrawsOnlyForAPositiveChance) {
    TestMachine tm;
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    DefenseAttributeAbs_Stun stun;
    ASSERT_TRUE(stun.LoadFromTable(helm, false));
    DefenseAttributeAbs_Fire fire;
    ASSERT_TRUE(fire.LoadFromTable(helm, false));
    int applied = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seed);
        RandomUniform replay;
        replay.Seed(seed);
        fire.AddToAccumulator(accumulator, 1, accumulator.GetRandomGen(), false);
        EXPECT_EQ(accumulator.GetRandomGen().GetState(), replay.GetState());  // chance 0
        const bool passes = replay.IGenerate(0, 100) <= 25;
        stun.AddToAccumulator(accumulator, 1, accumulator.GetRandomGen(), false);
        EXPECT_EQ(accumulator.GetDefensePayloads().size(), passes ? 2u : 1u);
        applied += passes;
        stun.AddToAccumulator(accumulator, 1, accumulator.GetRandomGen(), true);
        EXPECT_EQ(accumulator.GetRandomGen().GetState(), replay.GetState());
    }
    EXPECT_GT(applied, 40);
    EXPECT_LT(applied, 120);
}

TEST(DefenseAttribute, ElementalResistanceDefendsAgainstThreeElements) {
    TestMachine tm;
    DefenseAttributeStore_Skill store;
    store.Load(Record("Records/Attributes/Elemental.dbr"));
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(1);
    store.AddToAccumulator(accumulator, 1);
    std::vector<std::pair<CombatAttributeType, float>> seen;
    for (const auto& payload : accumulator.GetDefensePayloads())
        seen.emplace_back(payload->GetType(), payload->GetDefense());
    using T = CombatAttributeType;
    EXPECT_EQ(seen, (std::vector<std::pair<T, float>>{
                        {T::Cold, 15.0f}, {T::Fire, 15.0f}, {T::Lightning, 15.0f}}));
    CostInfo_DefenseAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.base, 15.0f);
    EXPECT_EQ(cost.count, 1);
}

TEST(DefenseAttributeStore, NextLevelLinesOnlyWhereSomethingChanges) {
    TestMachine tm;
    LocalizationManager::Instance().LoadFile(TestMachine::TestDataDir() +
                                             "/Records/Attributes/AttributeTexts.txt");
    DefenseAttributeStore_Skill store;
    store.Load(Record("Records/Attributes/SkillPack.dbr"));
    DefenseTextList base, lines;
    store.CreateNextText(base, lines, 1, 2);
    EXPECT_TRUE(base.empty());
    EXPECT_EQ(lines, (DefenseTextList{L"40 Armor"}));  // the poison defense stays the same
    lines.clear();
    store.CreateNextText(base, lines, 2, 3);
    EXPECT_TRUE(lines.empty());

    DefenseAttributeStore_Character character;
    character.Load(Record("Records/Attributes/Character.dbr"));
    character.CreateNextText(base, lines, 2, 3);
    EXPECT_EQ(lines, (DefenseTextList{L"+30% Fire Resistance"}));
}

TEST(DefenseAttributeStore, CharacterStoreAlwaysHoldsTwelveResistances) {
    TestMachine tm;
    DefenseAttributeStore_Character store;
    store.Load(Record("Records/Attributes/Empty.dbr"));
    ASSERT_EQ(store.GetAttributes().size(), 12u);
    CombatAttributeAccumulator accumulator;
    store.AddToAccumulator(accumulator, 1);
    EXPECT_EQ(accumulator.GetDefensePayloads().size(), 12u);
    DefenseTextList base, attributes;
    store.CreateText(base, attributes, 1);
    EXPECT_TRUE(base.empty() && attributes.empty());
    CostInfo_DefenseAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.count, 0);

    // The record's per-level lists stand for the three difficulties.
    store.Load(Record("Records/Attributes/Character.dbr"));
    ASSERT_EQ(store.GetAttributes().size(), 12u);
    CombatAttributeAccumulator legendary;
    store.AddToAccumulator(legendary, 3);
    EXPECT_EQ(legendary.GetTotalDefenseType(CombatAttributeType::Fire), 30.0f);
    EXPECT_EQ(legendary.GetTotalDefenseType(CombatAttributeType::Physical), 5.0f);
}

TEST(DefenseAttributeStore, ArmorProtectionWithGameWideAbsorption) {
    TestMachine tm;
    LocalizationManager::Instance().LoadFile(TestMachine::TestDataDir() +
                                             "/Records/Attributes/AttributeTexts.txt");
    SetRootArmorDefensiveAbsorptionSource([] { return 0.7f; });
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
    const LoadTable suffix = Record("Records/Attributes/SuffixEmbers.dbr");
    RandomUniform random, replay;
    random.Seed(2024);
    replay.Seed(2024);
    DefenseAttributeStore_Equipment store;
    store.SetRandomGen(&random);
    store.Load(helm, &prefix, &suffix, true, CombatAttributeRegion::Head);
    // Draw order: the prefix's bonus protection 10 (20 percent: 2), the item's fire 13 (2),
    // the prefix's fire 5 (its own 10 percent: 1), the item's stun 20 (4); the suffix's cold
    // of 7 keeps its value (jitter 0).
    const float bonus = 10.0f + replay.IGenerate(-2, 2);
    const float fire = 13.0f + replay.IGenerate(-2, 2);
    const float prefixFire = 5.0f + replay.IGenerate(-1, 1);
    const float stun = 20.0f + replay.IGenerate(-4, 4);
    EXPECT_EQ(random.GetState(), replay.GetState());

    const auto& attributes = store.GetAttributes();
    ASSERT_EQ(attributes.size(), 5u);
    auto* armor = dynamic_cast<DefenseAttribute_BaseProtectionAbsorption*>(attributes[0].get());
    ASSERT_NE(armor, nullptr);
    EXPECT_EQ(armor->GetAbsorption(), 0.7f);
    EXPECT_EQ(armor->GetRegion(), CombatAttributeRegion::Head);
    EXPECT_EQ(armor->GetFirstBonus(), bonus);
    EXPECT_EQ(attributes[1]->GetType(), CombatAttributeType::Fire);
    EXPECT_EQ(attributes[2]->GetType(), CombatAttributeType::Fire);
    EXPECT_EQ(attributes[3]->GetType(), CombatAttributeType::Cold);
    EXPECT_EQ(attributes[4]->GetType(), CombatAttributeType::Stun);

    DefenseTextList base, lines;
    store.CreateText(base, lines, 1);
    EXPECT_EQ(base, (DefenseTextList{L"40 Armor"}));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], L"+" + std::to_wstring(static_cast<int>(bonus)) + L" Armor");
    EXPECT_EQ(lines[3], L"+7% Cold Resistance");
    EXPECT_EQ(lines[4],
              L"25% Chance of " + std::to_wstring(static_cast<int>(stun)) + L"% Stun Reduction");

    CostInfo_DefenseAttributes cost;
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.armor, 40.0f + bonus);
    EXPECT_EQ(cost.base, fire + prefixFire + 7.0f + 0.25f * stun);
    EXPECT_EQ(cost.count, 5);

    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(99);
    store.AddToAccumulator(accumulator, 1);
    const auto& payloads = accumulator.GetDefensePayloads();
    ASSERT_FALSE(payloads.empty());
    auto* protection =
        dynamic_cast<CombatAttributeDefense_AbsorptionProtection*>(payloads[0].get());
    ASSERT_NE(protection, nullptr);
    EXPECT_EQ(protection->GetProtection(), 40.0f + bonus);
    EXPECT_EQ(protection->GetAbsorption(), 0.7f);
    EXPECT_EQ(protection->GetRegion(), CombatAttributeRegion::Head);
}

TEST(DefenseAttributeStore, ArmorWithoutRootOrProtectionAddsNothing) {
    TestMachine tm;
    DefenseAttributeStore_Equipment store;
    store.Load(Record("Records/Attributes/Empty.dbr"), nullptr, nullptr, true,
               CombatAttributeRegion::Legs);
    ASSERT_EQ(store.GetAttributes().size(), 1u);  // the armor piece's protection, empty
    CombatAttributeAccumulator accumulator;
    store.AddToAccumulator(accumulator, 1);
    EXPECT_TRUE(accumulator.GetDefensePayloads().empty());
    DefenseTextList base, lines;
    store.CreateText(base, lines, 1);
    EXPECT_TRUE(base.empty() && lines.empty());

    // Loading twice keeps only the second load; no generator means no jitter.
    store.Load(Record("Records/Attributes/Helm.dbr"), nullptr, nullptr, false,
               CombatAttributeRegion::FullyProtected);
    ASSERT_EQ(store.GetAttributes().size(), 2u);
    auto* fire = dynamic_cast<DefenseAttribute_Typical*>(store.GetAttributes()[0].get());
    ASSERT_NE(fire, nullptr);
    EXPECT_EQ(fire->GetValueAt(1), 13.0f);
    CostInfo_DefenseAttributes cost;
    store.GetCostInfo(cost);
    store.GetCostInfo(cost);
    EXPECT_EQ(cost.count, 4);
}

TEST(DefenseAttributeStore, SameSeedSameValuesOnTwoMachines) {
    auto load = [](std::uint32_t seed) {
        TestMachine tm;
        const LoadTable helm = Record("Records/Attributes/Helm.dbr");
        const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
        RandomUniform random;
        random.Seed(seed);
        DefenseAttributeStore_Equipment store;
        store.SetRandomGen(&random);
        store.Load(helm, &prefix, nullptr, true, CombatAttributeRegion::Torso);
        CostInfo_DefenseAttributes cost;
        store.GetCostInfo(cost);
        return std::vector<float>{cost.armor, cost.base};
    };
    EXPECT_EQ(load(555), load(555));
    bool differs = false;
    for (std::uint32_t seed = 1; seed < 20 && !differs; ++seed)
        differs = load(seed) != load(555);
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace GAME
