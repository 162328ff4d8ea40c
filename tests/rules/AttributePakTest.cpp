#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/AttributePak.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/DefenseAttributeRootAccess.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"
#include "rules/AttributeTestRecords.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::LoadAttributeTexts;
using test::Record;
using test::TestMachine;

std::vector<std::string> Texts(const std::vector<GameTextLine>& lines) {
    std::vector<std::string> texts;
    for (const auto& line : lines)
        texts.push_back(LocalizationManager::ToChar(line.text));
    return texts;
}

std::vector<std::string> Texts(const std::vector<std::wstring>& lines) {
    std::vector<std::string> texts;
    for (const auto& line : lines)
        texts.push_back(LocalizationManager::ToChar(line));
    return texts;
}

TEST(AttributePak, DisplayOrderIsDamageDefenseRetaliationCharacterSkill) {
    TestMachine tm;
    LoadAttributeTexts();
    AttributePak pak;
    pak.LoadFromDatabase("Records/Attributes/SkillPack.dbr");
    EXPECT_EQ(pak.GetRecordName(), "Records/Attributes/SkillPack.dbr");
    std::vector<GameTextLine> lines;
    pak.GetUIDisplayText(1, GameTextClass_ItemBonuses, lines);
    for (const auto& line : lines)
        EXPECT_EQ(line.textClass, GameTextClass_ItemBonuses);
    const auto texts = Texts(lines);
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[0], "5-9 Fire Damage");
    EXPECT_EQ(texts[3], "3-4 Cold Retaliation");
    EXPECT_EQ(texts[1], "30 Armor");
    EXPECT_EQ(texts[2], "50% Chance of +15% Poison Resistance");
    EXPECT_EQ(texts[4], "+5 Strength");
    EXPECT_EQ(texts[5], "+10% Attack Speed");
    EXPECT_EQ(texts[6], "25% Chance of -5% Energy Cost");
}

TEST(AttributePak, DefenseOnlyPackShowsTheDefenseStoreAlone) {
    TestMachine tm;
    LoadAttributeTexts();
    AttributePak pak;
    pak.LoadFromTable(Record("Records/Attributes/SkillPack.dbr"));
    pak.LoadFromTable(Record("Records/Attributes/DefenseOnly.dbr"));  // replaces every store
    EXPECT_TRUE(pak.GetRecordName().empty());
    std::vector<GameTextLine> lines;
    pak.GetUIDisplayText(1, GameTextClass_Default, lines);
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{"+12% Lightning Resistance",
                                                      "+10% Lightning Resistance Bonus",
                                                      "30% Freeze Reduction"}));
}

TEST(AttributePak, RetaliationAddsDamageAndModifiersInOneCall) {
    TestMachine tm;
    AttributePak pak;
    pak.LoadFromTable(Record("Records/Attributes/RetaliationOther.dbr"));
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(5);
    pak.GetRetaliationAttributes(accumulator, 1);
    EXPECT_EQ(accumulator.GetDamagePayloads().size(), 4u);
    EXPECT_EQ(accumulator.GetDamageModifiers().size(), 2u);

    CombatAttributeAccumulator offensive;
    pak.GetOffensiveDamageAttributes(offensive, 1);
    pak.GetOffensiveModifierAttributes(offensive, 1);
    EXPECT_TRUE(offensive.GetDamagePayloads().empty());
}

TEST(AttributePak, AccumulatesEveryStoreAtTheGivenLevel) {
    TestMachine tm;
    AttributePak pak;
    pak.LoadFromTable(Record("Records/Attributes/SkillPack.dbr"));
    CharAttributeAccumulator character;
    pak.GetCharAttributes(character, 2);
    EXPECT_EQ(character.GetValue(CharAttributeType::Strength), 10.0f);
    EXPECT_EQ(character.GetModifier(CharAttributeType::BaseAttackSpeed), 20.0f);
    CombatAttributeAccumulator defense;
    defense.SetSeed(3);
    pak.GetDefenseAttributes(defense, 2);
    EXPECT_FALSE(defense.GetDefensePayloads().empty());
    CombatAttributeAccumulator damage;
    damage.SetSeed(3);
    pak.GetOffensiveDamageAttributes(damage, 1);
    ASSERT_EQ(damage.GetDamagePayloads().size(), 1u);
    EXPECT_EQ(damage.GetDamagePayloads()[0]->GetType(), CombatAttributeType::Fire);
}

// Everything an item shows and costs, loaded from our records with one seeded generator.
std::vector<std::string> EquipmentReport(TestMachine& tm, std::uint32_t seed) {
    LoadAttributeTexts();
    SetRootArmorDefensiveAbsorptionSource([] { return 0.5f; });
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
    const LoadTable suffix = Record("Records/Attributes/SuffixEmbers.dbr");
    RandomUniform random;
    random.Seed(seed);
    CharAttributeStore_Equipment character;
    SkillAttributeStore_Equipment skill;
    RetaliationAttributeStore_Equipment retaliation;
    DefenseAttributeStore_Equipment defense;
    character.SetRandomGen(&random);
    skill.SetRandomGen(&random);
    retaliation.SetRandomGen(&random);
    defense.SetRandomGen(&random);
    character.Load(helm, &prefix, &suffix, true);
    skill.Load(helm, &prefix, &suffix, true);
    retaliation.Load(helm, &prefix, &suffix, true);
    defense.Load(helm, &prefix, &suffix, true, CombatAttributeRegion::Head);

    std::vector<std::string> report;
    auto add = [&](const std::vector<std::wstring>& lines) {
        for (const auto& line : Texts(lines))
            report.push_back(line);
    };
    TextList first, second;
    character.CreateText(first, second, 1);
    add(first);
    add(second);
    std::vector<std::wstring> skillLines;
    skill.CreateText(skillLines, 1);
    add(skillLines);
    DamageTextList one, two, three;
    retaliation.CreateText(one, two, three, 1);
    add(one);
    add(two);
    add(three);
    DefenseTextList base, attributes;
    defense.CreateText(base, attributes, 1);
    add(base);
    add(attributes);

    CostInfo_CharacterAttributes characterCost;
    CostInfo_SkillAttributes skillCost;
    CostInfo_RetaliationAttributes retaliationCost;
    CostInfo_DefenseAttributes defenseCost;
    character.GetCostInfo(characterCost);
    skill.GetCostInfo(skillCost);
    retaliation.GetCostInfo(retaliationCost);
    defense.GetCostInfo(defenseCost);
    tm.ClearLog();
    characterCost.Dump();
    skillCost.Dump();
    retaliationCost.Dump();
    defenseCost.Dump();
    for (const auto& line : tm.Log())
        report.push_back(line.text);
    return report;
}

TEST(AttributePakRecords, EquipmentRecordLoadsTheSameOnTwoMachines) {
    TestMachine first, second;
    std::vector<std::string> a, b;
    ON_MACHINE(first) {
        a = EquipmentReport(first, 1337);
    }
    ON_MACHINE(second) {
        b = EquipmentReport(second, 1337);
    }
    EXPECT_EQ(a, b);
    // Seed 1337: the character, skill, retaliation and defense lines, then the cost dumps.
    const std::vector<std::string> expected = {
        "+19 Strength",
        "+5 Dexterity",
        "+40 Health",
        "+10% Total Speed",
        "-2 Level Requirement",
        "-8% Recharge",
        "50% Chance of -5% Recharge",
        "-3% Energy Cost",
        "10-21 Physical Retaliation",
        "10-20 Physical Retaliation",
        "40 Armor",
        "+11 Armor",
        "+14% Fire Resistance",
        "+5% Fire Resistance",
        "+7% Cold Resistance",
        "25% Chance of 20% Stun Reduction",
        "Character Cost Attributes",
        "   primaryAtt     (24.000000)   primaryAttCount       (2)",
        "   secondaryAtt   (40.000000)   secondaryAttCount     (1)",
        "   bonus          (2.000000)   bonusCount            (1)",
        "   attackSpeedMod (20.000000)   attackSpeedModCount   (2)",
        "   otherSpeedMod  (10.000000)   otherSpeedModCount    (1)",
        "Skill Cost Attributes",
        "   bonus       = 8.000000",
        "   bonusCount  = 2",
        "Retaliation Cost Attributes",
        "   avgBonus        = 30.500000",
        "   count           = 2",
        "Defense Cost Attributes",
        "   armor           = 51.000000",
        "   base            = 31.000000",
        "   count           = 5",
    };
    EXPECT_EQ(a, expected);

    TestMachine other;
    std::vector<std::string> c;
    ON_MACHINE(other) {
        c = EquipmentReport(other, 7);
    }
    EXPECT_NE(c, a);  // another seed moves the jittered values
}

TEST(AttributePakRecords, CharacterAndSkillRecordsLoadIntoTheirStores) {
    TestMachine tm;
    LoadAttributeTexts();
    const LoadTable character = Record("Records/Attributes/Character.dbr");
    CharAttributeStore_Bio bio;
    bio.Load(character);
    DefenseAttributeStore_Character resistances;
    resistances.Load(character);
    TextList first, second;
    bio.CreateText(first, second, 2);
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(Texts(second),
              (std::vector<std::string>{"+50 Strength", "+45 Dexterity", "+400 Health",
                                        "+1.5 Health Regeneration", "+100 Energy", "100 Run Speed",
                                        "+90 Offensive Ability"}));
    DefenseTextList base, attributes;
    resistances.CreateText(base, attributes, 2);
    EXPECT_EQ(Texts(attributes),
              (std::vector<std::string>{"+5% Physical Resistance", "+20% Fire Resistance"}));

    AttributePak pak;
    pak.LoadFromDatabase("Records/Attributes/SkillPack.dbr");
    std::vector<GameTextLine> lines;
    pak.GetUIDisplayText(2, GameTextClass_SkillStatsCurrent, lines);
    EXPECT_EQ(Texts(lines),
              (std::vector<std::string>{"5-9 Fire Damage", "40 Armor",
                                        "50% Chance of +15% Poison Resistance",
                                        "6-8 Cold Retaliation", "+10 Strength", "+20% Attack Speed",
                                        "25% Chance of -10% Energy Cost"}));

    CostInfo_DefenseAttributes cost;
    pak.GetDefenseStore().GetCostInfo(cost);
    tm.ClearLog();
    cost.Dump();
    std::vector<std::string> dump;
    for (const auto& line : tm.Log())
        dump.push_back(line.text);
    EXPECT_EQ(dump, (std::vector<std::string>{
                        "Defense Cost Attributes", "   armor           = 30.000000",
                        "   base            = 7.500000", "   count           = 2"}));
}

}  // namespace
}  // namespace GAME
