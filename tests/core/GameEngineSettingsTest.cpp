// Every key of the settings record, read with its default and with a value of its own.
#include <gtest/gtest.h>

#include <cmath>

#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;
using Modifiers = GameEngine::RandomizerWeightModifiers;

constexpr const char* kEveryKey = R"({
    "armorDefensiveAbsorption": 0.25, "meleeRange": 1.25, "shortRange": 2.5,
    "moderateRange": 3.5, "longRange": 4.5, "maximumRange": 5.5, "minRotationSpeed": 6.5,
    "maxRotationSpeed": 7.5, "pathSlowdownLength": 8.5, "minPlayerRotationSpeed": 9.5,
    "maxPlayerRotationSpeed": 10.5, "playerPathSlowdownLength": 11.5,
    "marketPurchaseSound": "Records/Test/Sound/Pak.dbr",
    "marketSaleSound": "Records/Test/Sound/Pak.dbr",
    "experienceEquation": "monsterLevel + 1", "deathPenaltyEquation": "currentPlayerLevel * 1",
    "deathPenaltyMin": -3, "deathPenaltyMax": 77, "commonItemColor": "{^A}",
    "magicalItemColor": "m", "magicalItemSparkle": "ms", "rareItemColor": "r",
    "rareItemSparkle": "rs", "epicItemColor": "e", "epicItemSparkle": "es",
    "legendaryItemColor": "l", "legendaryItemSparkle": "ls", "brokenItemColor": "b",
    "brokenItemSparkle": "bs", "potionItemColor": "p", "potionItemSparkle": "ps",
    "relicItemColor": "c", "relicItemSparkle": "cs", "questItemColor": "q",
    "questItemSparkle": "qs", "itemForearmAnimationName": "Arm",
    "commonMonsterColor": "mc", "championMonsterColor": "mh", "heroMonsterColor": "mo",
    "bossMonsterColor": "mb", "CameraDistanceMin": 5, "CameraDistanceMax": 25,
    "CameraPitchMin": 20, "CameraPitchMax": 80, "CameraDistanceDefault": 15,
    "CameraPitchDefault": 40, "monsterAttributePak": "Records/Attributes/SkillPack.dbr",
    "playerAttributePak": "Records/Attributes/Character.dbr",
    "UICharWindowInventorySack0DimsX": 3, "UICharWindowInventorySack0DimsY": 4,
    "UICharWindowInventorySack1DimsX": 5, "UICharWindowInventorySack1DimsY": 6,
    "skillMasteryTierLevel": [2, 9], "SkillName": "SkillTitle", "SkillNameIndent": 7,
    "noPrefixNoSuffixModifierCommon": 1.9, "bothPrefixSuffixModifierCommon": 2.9,
    "prefixOnlyModifierCommon": 3.9, "suffixOnlyModifierCommon": 4.9,
    "brokenOnlyModifierCommon": 5.9, "noPrefixNoSuffixModifierChampion": 11,
    "bothPrefixSuffixModifierChampion": 12, "prefixOnlyModifierChampion": 13,
    "suffixOnlyModifierChampion": 14, "brokenOnlyModifierChampion": 15,
    "noPrefixNoSuffixModifierHero": 21, "bothPrefixSuffixModifierHero": 22,
    "prefixOnlyModifierHero": 23, "suffixOnlyModifierHero": 24, "brokenOnlyModifierHero": 25,
    "noPrefixNoSuffixModifierBoss": 31, "bothPrefixSuffixModifierBoss": 32,
    "prefixOnlyModifierBoss": 33, "suffixOnlyModifierBoss": 34, "brokenOnlyModifierBoss": 35,
    "noPrefixNoSuffixModifierCommonChest": -1.9, "bothPrefixSuffixModifierCommonChest": 42,
    "prefixOnlyModifierCommonChest": 43, "suffixOnlyModifierCommonChest": 44,
    "brokenOnlyModifierCommonChest": 45, "noPrefixNoSuffixModifierChampionChest": 51,
    "bothPrefixSuffixModifierChampionChest": 52, "prefixOnlyModifierChampionChest": 53,
    "suffixOnlyModifierChampionChest": 54, "brokenOnlyModifierChampionChest": 55,
    "noPrefixNoSuffixModifierHeroChest": 61, "bothPrefixSuffixModifierHeroChest": 62,
    "prefixOnlyModifierHeroChest": 63, "suffixOnlyModifierHeroChest": 64,
    "brokenOnlyModifierHeroChest": 65})";

struct FloatSetting {
    float (GameEngine::*get)() const;
    float value;
};
constexpr FloatSetting kFloats[] = {
    {&GameEngine::GetArmorDefensiveAbsorption, 0.25f},
    {&GameEngine::GetMeleeRange, 1.25f},
    {&GameEngine::GetShortRange, 2.5f},
    {&GameEngine::GetModerateRange, 3.5f},
    {&GameEngine::GetLongRange, 4.5f},
    {&GameEngine::GetMaximumRange, 5.5f},
    {&GameEngine::GetMinRotationSpeed, 6.5f},
    {&GameEngine::GetMaxRotationSpeed, 7.5f},
    {&GameEngine::GetPathSlowdownLength, 8.5f},
    {&GameEngine::GetMinPlayerRotationSpeed, 9.5f},
    {&GameEngine::GetMaxPlayerRotationSpeed, 10.5f},
    {&GameEngine::GetPlayerPathSlowdownLength, 11.5f},
};

TEST(GameEngineSettingsKeys, EveryKeyWithAValue) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(GameEngine::kRecordName, kEveryKey));
    InitializeObjects();
    const GameEngine& root = *gGameEngine;
    for (const FloatSetting& setting : kFloats)
        EXPECT_FLOAT_EQ((root.*setting.get)(), setting.value);
    EXPECT_NE(root.GetMarketPurchaseSound(), nullptr);
    EXPECT_NE(root.GetMarketSaleSound(), nullptr);
    ASSERT_NE(root.GetExperienceEquation(), nullptr);
    ASSERT_NE(root.GetDeathPenaltyEquation(), nullptr);
    EXPECT_EQ(root.GetDeathPenaltyMin(), -3);
    EXPECT_EQ(root.GetDeathPenaltyMax(), 77);

    const char* const colors[] = {"m", "r", "e", "l", "b", "p", "c", "q"};
    const int classes[] = {1, 2, 3, 4, 5, 6, 8, 9};
    for (int i = 0; i < 8; ++i) {
        const auto itemClass = static_cast<ItemClassification>(classes[i]);
        EXPECT_EQ(root.GetItemColorText(itemClass), LocalizationManager::ToWChar(colors[i]));
        EXPECT_EQ(root.GetItemSparkleName(itemClass), std::string(colors[i]) + "s");
        EXPECT_EQ(root.GetItemTextClass(itemClass), static_cast<GameTextClass>(i + 3));
    }
    EXPECT_EQ(root.GetItemColorText(ItemClassification::Common), L"");  // read, never entered
    EXPECT_EQ(root.GetItemForearmAnimationName(), "Arm");
    const wchar_t* const monsterColors[] = {L"mc", L"mh", L"mo", L"mb"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(root.GetMonsterColorText(static_cast<MonsterClassification>(i)),
                  monsterColors[i]);

    GameCamera* camera = gGameEngine->GetCamera();
    EXPECT_FLOAT_EQ(camera->GetDistanceLow(), 5.0f);
    EXPECT_FLOAT_EQ(camera->GetDistanceHigh(), 25.0f);
    EXPECT_FLOAT_EQ(camera->GetPitchLow(), 20.0f);
    EXPECT_FLOAT_EQ(camera->GetPitchHigh(), 80.0f);
    EXPECT_FLOAT_EQ(camera->GetCameraDistanceDefault(), 15.0f);
    EXPECT_FLOAT_EQ(camera->GetCameraDistance(), 15.0f);
    EXPECT_FLOAT_EQ(camera->GetCameraPitchDefault(), 40.0f);
    EXPECT_FLOAT_EQ(camera->GetCameraPitch(), 40.0f * 0.017453292f);

    EXPECT_EQ(root.GetMonsterAttributePak().GetRecordName(), "Records/Attributes/SkillPack.dbr");
    EXPECT_EQ(root.GetPlayerAttributePak().GetRecordName(), "Records/Attributes/Character.dbr");
    EXPECT_EQ(root.GetInventorySackDims(0), Vec2(3, 4));
    EXPECT_EQ(root.GetInventorySackDims(1), Vec2(5, 6));
    EXPECT_EQ(root.GetSkillMasteryTierLevels(), (std::vector<unsigned int>{2, 9}));
    EXPECT_EQ(root.GetGameTextStyleName(GameTextClass_SkillName), "SkillTitle");
    EXPECT_FLOAT_EQ(root.GetGameTextStyleIndent(GameTextClass_SkillName), 7.0f);

    // Truncated toward zero, in the order noPrefixNoSuffix, both, prefix, suffix, broken.
    Modifiers out{};
    root.GetMonsterLootWeightModifiers(MonsterClassification_Common, out);
    EXPECT_EQ(out, (Modifiers{1, 2, 3, 4, 5}));
    for (int monster = 1; monster < 4; ++monster) {
        root.GetMonsterLootWeightModifiers(static_cast<MonsterClassification>(monster), out);
        const int base = 10 * monster;
        EXPECT_EQ(out, (Modifiers{base + 1, base + 2, base + 3, base + 4, base + 5}));
    }
    root.GetChestLootWeightModifiers(ChestClassification_Common, out);
    EXPECT_EQ(out, (Modifiers{-1, 42, 43, 44, 45}));
    for (int chest = 1; chest < 3; ++chest) {
        root.GetChestLootWeightModifiers(static_cast<ChestClassification>(chest), out);
        const int base = 10 * (chest + 4);
        EXPECT_EQ(out, (Modifiers{base + 1, base + 2, base + 3, base + 4, base + 5}));
    }
    // Every record the settings name was found.
    for (const char* record : {"Sound/Pak.dbr", "SkillPack.dbr", "Attributes/Character.dbr"})
        EXPECT_EQ(tm.CountLog(std::string(record) + " was not found"), 0) << record;
    ShutdownObjects();
}

TEST(GameEngineSettingsKeys, EveryKeyWithItsDefault) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(GameEngine::kRecordName, "{}"));
    InitializeObjects();
    const GameEngine& root = *gGameEngine;
    for (const FloatSetting& setting : kFloats)
        EXPECT_EQ((root.*setting.get)(), 0.0f);
    EXPECT_EQ(root.GetMarketPurchaseSound(), nullptr);
    EXPECT_EQ(root.GetMarketSaleSound(), nullptr);
    EXPECT_EQ(root.GetExperienceEquation(), nullptr);
    EXPECT_EQ(root.GetDeathPenaltyEquation(), nullptr);
    EXPECT_EQ(root.GetDeathPenaltyMin(), 0);
    EXPECT_EQ(root.GetDeathPenaltyMax(), 0);
    for (int itemClass : {1, 2, 3, 4, 5, 6, 8, 9}) {
        EXPECT_EQ(root.GetItemColorText(static_cast<ItemClassification>(itemClass)), L"");
        EXPECT_EQ(root.GetItemSparkleName(static_cast<ItemClassification>(itemClass)), "");
    }
    EXPECT_EQ(root.GetItemForearmAnimationName(), "");
    EXPECT_EQ(root.GetMonsterColorText(MonsterClassification_Hero), L"");
    EXPECT_TRUE(root.GetMonsterAttributePak().GetRecordName().empty());
    EXPECT_EQ(root.GetInventorySackDims(1), Vec2(0, 0));
    EXPECT_TRUE(root.GetSkillMasteryTierLevels().empty());
    EXPECT_EQ(root.GetGameTextStyles().size(), 39u);
    EXPECT_EQ(root.GetGameTextStyleName(GameTextClass_ItemBanner), "");
    EXPECT_EQ(root.GetGameTextStyleIndent(GameTextClass_ItemBanner), 0.0f);
    Modifiers out{9, 9, 9, 9, 9};
    root.GetChestLootWeightModifiers(ChestClassification_Champion, out);
    EXPECT_EQ(out, (Modifiers{}));

    // Without limits and defaults the camera stays at 0 and finite through a reset.
    GameCamera* camera = gGameEngine->GetCamera();
    EXPECT_EQ(camera->GetCameraDistance(), 0.0f);
    EXPECT_EQ(camera->GetCameraPitch(), 0.0f);
    gGameEngine->ExitPlayingMode();
    EXPECT_TRUE(std::isfinite(camera->GetCameraDistance()));
    EXPECT_TRUE(std::isfinite(camera->GetCameraPitch()));
    // Only the two formulas would report; absent ones do not.
    EXPECT_EQ(tm.CountLog("Equation load failure"), 0);
    ShutdownObjects();
}

TEST(GameEngineSettingsKeys, TheSampleRecordLoadsCompletely) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    const GameEngine& root = *gGameEngine;
    EXPECT_EQ(tm.CountLog("not found"), 0);
    EXPECT_EQ(tm.CountLog("failure"), 0);
    EXPECT_EQ(tm.CountLog("out of range"), 0);
    EXPECT_NE(root.GetMarketPurchaseSound(), nullptr);
    EXPECT_NE(root.GetMarketSaleSound(), nullptr);
    // 100 experience, no players (a share of 0.9) at difficulty Normal.
    EXPECT_EQ(gGameEngine->CalculateExperienceReward(5, 100), 90u);
    EXPECT_EQ(gGameEngine->GetPlayerDeathExperiencePenalty(nullptr, 0), 0u);
    for (const auto& [textClass, style] : root.GetGameTextStyles())
        EXPECT_FALSE(style.name.empty()) << GameTextStyleKey(textClass);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME
