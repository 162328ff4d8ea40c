// The root's game-wide tables: action permissions, class titles, race tags, classifications,
// text styles, mastery tiers and the shared skill profiles.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <thread>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/RacialBonusRaces.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

class GameTablesTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

// Row: the requested action; one digit per running action 0..19.
constexpr const char* kExpectedMatrix[20] = {
    "22222222222222222222", "02202022222222110112", "22222222222222222222", "00222222222222111222",
    "00200011022220022112", "00200011022220022112", "00200012022220022222", "00201111022220022112",
    "00200001122220022222", "00200001000020022112", "00200001000020022112", "00200001000020022112",
    "00200000000020002000", "00201101022222022221", "00200000011122222222", "00202222222202022222",
    "00200022222202022222", "00201022022200022212", "00200022022200022222", "00200022022201022221",
};

TEST_F(GameTablesTest, EveryCellOfTheActionMatrix) {
    for (unsigned int requested = 0; requested < 20; ++requested)
        for (unsigned int current = 0; current < 20; ++current)
            EXPECT_EQ(gGameEngine->CheckPlayerAction(requested, current),
                      static_cast<unsigned int>(kExpectedMatrix[requested][current] - '0'))
                << "requested " << requested << ", current " << current;
    EXPECT_EQ(gGameEngine->CheckPlayerAction(CharacterActionType_Die, CharacterActionType_Use), 0u);
    EXPECT_EQ(gGameEngine->CheckPlayerAction(CharacterActionType_Attack, CharacterActionType_Use),
              1u);
    // Kinds beyond the table are refused, not read from past it.
    EXPECT_EQ(gGameEngine->CheckPlayerAction(20, 0), 0u);
    EXPECT_EQ(gGameEngine->CheckPlayerAction(0, 4000000000u), 0u);
    EXPECT_EQ(tm.CountLog("names no action kind"), 2);
}

TEST_F(GameTablesTest, ClassTagsBySymmetricMasteryPairs) {
    const char* const expected[8][8] = {
        {"01", "36", "34", "31", "27", "22", "16", "09"},
        {"36", "02", "35", "32", "28", "23", "17", "10"},
        {"34", "35", "03", "33", "29", "24", "18", "11"},
        {"31", "32", "33", "04", "30", "25", "19", "12"},
        {"27", "28", "29", "30", "05", "26", "20", "13"},
        {"22", "23", "24", "25", "26", "06", "21", "14"},
        {"16", "17", "18", "19", "20", "21", "07", "15"},
        {"09", "10", "11", "12", "13", "14", "15", "08"},
    };
    std::set<std::string> distinct;
    for (unsigned int first = 0; first < 8; ++first) {
        for (unsigned int second = 0; second < 8; ++second) {
            const std::string& tag = gGameEngine->GetClassTag(first, second);
            EXPECT_EQ(tag, std::string("tagCClass") + expected[first][second]);
            distinct.insert(tag);
        }
        EXPECT_EQ(gGameEngine->GetClassTag(first), gGameEngine->GetClassTag(first, first));
    }
    // Every title names exactly one unordered pair, so a tag leads back to its masteries.
    EXPECT_EQ(distinct.size(), 36u);
    EXPECT_TRUE(gGameEngine->GetClassTag(8, 0).empty());

    gGameEngine->SetClassEntry(2, 6, "tagCustom");
    EXPECT_EQ(gGameEngine->GetClassTag(6, 2), "tagCustom");
    EXPECT_EQ(gGameEngine->GetClassTag(2, 6), "tagCustom");
    gGameEngine->SetClassEntry(-1, 3, "tagBad");
    EXPECT_EQ(tm.CountLog("SetClassEntry(-1, 3) names no mastery pair"), 1);
}

TEST_F(GameTablesTest, RaceTagsAndTheirUseInRacialBonusLines) {
    EXPECT_EQ(gGameEngine->GetMonsterRaceTagSingular("Plant"), "tagRace01");
    EXPECT_EQ(gGameEngine->GetMonsterRaceTagPlural("Device"), "tagRace12P");
    EXPECT_EQ(gGameEngine->GetMonsterRaceTagPlural("Beastman"), "tagRace04P");
    EXPECT_EQ(gGameEngine->GetMonsterRaceTagSingular("undead"), "noTagUnknownRace");

    auto& texts = LocalizationManager::Instance();
    texts.LoadFile(TestMachine::TestDataDir() + "/Records/Attributes/AttributeTexts.txt");
    texts.SetText("tagRace06P", L"Undead");
    texts.SetText("tagRace04P", L"Beastmen");
    std::unique_ptr<RacialBonus> bonus(
        RacialBonus::CreateFromFile("Records/Attributes/RacialBonus.dbr"));
    ASSERT_NE(bonus, nullptr);
    std::vector<GameTextLine> lines;
    bonus->GetUIDisplayText(1, GameTextClass_SkillStatsCurrent, lines);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].text, L"+10% Damage to Undead");
    EXPECT_EQ(lines[1].text, L"+10% Damage to Beastmen");

    // Once the root is gone its table is no longer asked.
    ShutdownObjects();
    EXPECT_EQ(MonsterRaceTagPlural("Undead"), "noTagUnknownRace");
    InitializeObjects();
}

TEST_F(GameTablesTest, ClassificationsFallBackToFixedDefaults) {
    EXPECT_EQ(GameEngine::ResolveItemClassificationEnum("Relic"), ItemClassification::Relic);
    EXPECT_EQ(GameEngine::ResolveItemClassificationEnum("relic"), ItemClassification::Common);
    EXPECT_EQ(GameEngine::ResolveMonsterClassificationEnum("Boss"), MonsterClassification_Boss);
    EXPECT_EQ(GameEngine::ResolveChestClassificationEnum("Boss"), ChestClassification_Common);
    EXPECT_STREQ(GameEngine::GetGameDifficultyAsString(2), "Legendary");
    EXPECT_STREQ(GameEngine::GetGameDifficultyAsString(-1), "Invalid");

    // Common items have no entry: the standard text style, no colour.
    EXPECT_EQ(gGameEngine->GetItemTextClass(ItemClassification::Common),
              GameTextClass_ItemNameCommon);
    EXPECT_EQ(gGameEngine->GetItemColorText(ItemClassification::Common), L"");
    GameEngine::RandomizerWeightModifiers out{1, 2, 3, 4, 5};
    gGameEngine->GetChestLootWeightModifiers(static_cast<ChestClassification>(3), out);
    EXPECT_EQ(out, (GameEngine::RandomizerWeightModifiers{1, 2, 3, 4, 5}));

    // The test record's tiers are 0, 1, 4: a tier past the end gives the last level.
    EXPECT_EQ(gGameEngine->GetSkillMasteryLevel(0), 0u);
    EXPECT_EQ(gGameEngine->GetSkillMasteryLevel(3), 4u);
    EXPECT_EQ(gGameEngine->GetSkillMasteryLevel(7), 4u);
}

TEST_F(GameTablesTest, SkillProfilesLoadOncePerRecordFromAnyThread) {
    const auto name = [](int i) { return Name::Create("Records/Skills/S" + std::to_string(i)); };
    EXPECT_EQ(gGameEngine->GetSkillResource(name(0)), gGameEngine->GetNullSkillResource());

    // The level loader inserts while the game thread reads the same records.
    std::vector<const SkillProfile*> loaded(40);
    std::thread loader([&, &machine = tm.machine()] {
        MachineScope scope(machine);
        for (int i = 0; i < 40; ++i)
            loaded[i] = gGameEngine->LoadSkillResource(name(i), LoadTable());
    });
    for (int i = 39; i >= 0; --i)
        gGameEngine->GetSkillResource(name(i));
    loader.join();
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(gGameEngine->GetSkillResource(name(i)), loaded[i]);
        EXPECT_EQ(gGameEngine->LoadSkillResource(name(i), LoadTable()), loaded[i]);
    }
    gGameEngine->Shutdown();
    EXPECT_EQ(gGameEngine->GetSkillResource(name(3)), gGameEngine->GetNullSkillResource());
}

TEST(GameTables, TextStylesKeepTheirFirstEntry) {
    TestMachine tm;
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/Test/Styles.dbr",
                                      R"({"ItemBanner": "Banner", "ItemBannerIndent": 12})"));
    ASSERT_TRUE(records.AddRecordText("Records/Test/Other.dbr", R"({"ItemBanner": "Other"})"));
    GameTextStyleTable styles;
    auto& objects = Singleton<ObjectManager>::Get();
    LoadGameTextStyles(objects.GetLoadTable("Records/Test/Styles.dbr"), styles);
    LoadGameTextStyles(objects.GetLoadTable("Records/Test/Other.dbr"), styles);
    ASSERT_EQ(styles.size(), 39u);
    EXPECT_EQ(styles.at(GameTextClass_ItemBanner).name, "Banner");
    EXPECT_EQ(styles.at(GameTextClass_ItemBanner).indent, 12);
    EXPECT_EQ(styles.at(GameTextClass_Default).name, "");
}

}  // namespace
}  // namespace GAME
