#include <gtest/gtest.h>

#include <memory>

#include "Engine/text/LocalizationManager.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/RacialBonusRaces.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(RacialBonus, MatchesExactRacesOnlyAndAddsOnce) {
    TestMachine tm;
    std::unique_ptr<RacialBonus> bonus(
        RacialBonus::CreateFromFile("Records/Attributes/RacialBonus.dbr"));
    ASSERT_NE(bonus, nullptr);
    EXPECT_EQ(bonus->GetPercentDamage(0), 0.0f);
    EXPECT_EQ(bonus->GetPercentDamage(1), 10.0f);
    EXPECT_EQ(bonus->GetPercentDamage(3), 30.0f);
    EXPECT_EQ(bonus->GetPercentDamage(7), 30.0f);

    RacialBonus_Damage damage;
    bonus->ContributeDamage({"Beastman", "Undead"}, damage, 2);
    EXPECT_EQ(damage.percent, 20.0f);
    EXPECT_EQ(damage.absolute, 5.0f);
    bonus->ContributeDamage({"undead", "BEASTMAN"}, damage, 2);
    EXPECT_EQ(damage.percent, 20.0f);
    RacialBonus_Defense defense;
    bonus->ContributeDefense({"Beastman"}, defense, 3);
    EXPECT_EQ(defense.percent, 0.0f);
    EXPECT_EQ(defense.absolute, 6.0f);
}

TEST(RacialBonus, EmptyOrMissingRecordsGiveNoBonus) {
    TestMachine tm;
    EXPECT_EQ(RacialBonus::CreateFromFile(""), nullptr);
    EXPECT_EQ(RacialBonus::CreateFromFile("Records/Attributes/Empty.dbr"), nullptr);
    EXPECT_EQ(RacialBonus::CreateFromFile("Records/Attributes/NoSuchRecord.dbr"), nullptr);
}

TEST(RacialBonus, DescriptionLinesPerValueAndRace) {
    TestMachine tm;
    LocalizationManager::Instance().LoadFile(TestMachine::TestDataDir() +
                                             "/Records/Attributes/AttributeTexts.txt");
    SetMonsterRaceTagPluralSource(
        [](const std::string& race) { return "tagRace" + race + "Plural"; });
    std::unique_ptr<RacialBonus> bonus(
        RacialBonus::CreateFromFile("Records/Attributes/RacialBonus.dbr"));
    ASSERT_NE(bonus, nullptr);
    std::vector<GameTextLine> lines;
    bonus->GetUIDisplayText(1, GameTextClass_SkillStatsCurrent, lines);
    std::vector<std::wstring> texts;
    for (const auto& line : lines) {
        EXPECT_EQ(line.textClass, GameTextClass_SkillStatsCurrent);
        texts.push_back(line.text);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{
                         L"+10% Damage to Undead", L"+10% Damage to Beastmen",
                         L"+5 Damage to Undead", L"+5 Damage to Beastmen",
                         L"4 Less Damage from Undead", L"4 Less Damage from Beastmen"}));

    lines.clear();
    bonus->GetUINextParameterText(2, 3, GameTextClass_SkillStatsNext, lines);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, L"+30% Damage to Undead");
    EXPECT_EQ(lines[3].text, L"6 Less Damage from Beastmen");
    lines.clear();
    bonus->GetUINextParameterText(3, 4, GameTextClass_SkillStatsNext, lines);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace GAME
