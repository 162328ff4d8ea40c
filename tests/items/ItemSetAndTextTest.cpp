// Item sets by worn count, and text lines laid out with their styles.
#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/ItemSet.h"
#include "Game/items/text/StyleManager.h"
#include "ItemTestSupport.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class ItemSetTest : public ::testing::Test {
protected:
    TestMachine machine;
    ItemSetTest() {
        SetItemTexts();
        LocalizationManager::Instance().SetText("tagSet", L"Warden");
        LocalizationManager::Instance().SetText("CharacterStrength", L"%+.0f Strength");
        set.LoadFromDatabase("Records/Items/Set.dbr");
    }
    ItemSet set;
};

TEST_F(ItemSetTest, MembersAreNormalisedAndTheBonusFollowsTheWornCount) {
    ASSERT_EQ(set.GetMembers().size(), 2u);
    EXPECT_EQ(set.GetMembers()[0].first, "records\\items\\hiddenprefixsword.dbr");
    EXPECT_EQ(set.GetMembers()[1].first, "records\\items\\robe.dbr");

    std::vector<GameTextLine> none;
    set.GetUIDisplayText(std::vector<std::string>{}, none);
    ASSERT_EQ(none.size(), 3u);  // name, two members, no description, no bonus
    EXPECT_EQ(none[0].textClass, GameTextClass_ItemSetName);
    EXPECT_EQ(none[0].text, L"Warden");
    EXPECT_EQ(none[1].textClass, GameTextClass_ItemSetComponentNotAvailable);
    EXPECT_EQ(none[2].textClass, GameTextClass_ItemSetComponentNotAvailable);

    std::vector<GameTextLine> one, two;
    set.GetUIDisplayText({"Records/Items/Robe.dbr"}, one);
    set.GetUIDisplayText({"Records/Items/Robe.dbr", "records/items/HiddenPrefixSword.dbr"}, two);
    EXPECT_EQ(one[1].textClass, GameTextClass_ItemSetComponentNotAvailable);
    EXPECT_EQ(one[2].textClass, GameTextClass_ItemSetComponentAvailable);
    EXPECT_EQ(two[1].textClass, GameTextClass_ItemSetComponentAvailable);
    ASSERT_EQ(one.size(), 4u);
    ASSERT_EQ(two.size(), 4u);
    EXPECT_EQ(one[3].textClass, GameTextClass_ItemSetBonuses);
    // Strength 3 for one member worn, 7 for two.
    EXPECT_EQ(one[3].text, L"+3 Strength");
    EXPECT_EQ(two[3].text, L"+7 Strength");
}

TEST_F(ItemSetTest, DescriptionLineCarriesTheFlagAndTheRootKeepsOneSetPerName) {
    ItemSet described;
    described.LoadFromDatabase("Records/Items/DescribedSet.dbr");
    std::vector<GameTextLine> lines;
    described.GetUIDisplayText(std::vector<std::string>{}, lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].textClass, GameTextClass_ItemSetDescription);
    EXPECT_TRUE(lines[1].flag);

    InitializeObjects();
    gGameEngine->LoadItemSet("Records/Items/Set.dbr");
    const ItemSet* held = gGameEngine->GetItemSet("records\\items\\set.dbr");
    ASSERT_NE(held, nullptr);
    gGameEngine->LoadItemSet("RECORDS/Items/Set.dbr");
    EXPECT_EQ(gGameEngine->GetItemSet("Records/Items/Set.dbr"), held);
    EXPECT_EQ(gGameEngine->GetItemSet("Records/Items/DescribedSet.dbr"), nullptr);
    ShutdownObjects();
}

TEST_F(ItemSetTest, EquipmentShowsItsSetWithTheMembersTheWearerHas) {
    InitializeObjects();
    ScopedServices scoped;
    scoped.services->wornInSet = {"Records/Items/Robe.dbr"};
    Character* wearer = Singleton<ObjectManager>::Get().CreateObject<Character>();
    auto* sword = dynamic_cast<ItemEquipment*>(
        Item::CreateItem(Record("Records/Items/HiddenPrefixSword.dbr", 3)));
    ASSERT_NE(sword, nullptr);
    std::vector<GameTextLine> lines;
    sword->GetUIDisplayText(wearer, lines);
    int available = 0, missing = 0;
    for (const GameTextLine& line : lines) {
        available += line.textClass == GameTextClass_ItemSetComponentAvailable;
        missing += line.textClass == GameTextClass_ItemSetComponentNotAvailable;
    }
    EXPECT_EQ(available, 1);
    EXPECT_EQ(missing, 1);
    ShutdownObjects();
}

class GameTextTest : public ::testing::Test {
protected:
    TestMachine machine;
    std::shared_ptr<GraphicsFont> font = std::make_shared<GraphicsFont>(7.0f);
    GameTextTest() {
        Singleton<StyleManager>::Get().AddStyle("BigGold", TextStyle{font, 18.0f, 1.0f});
        InitializeObjects();
        auto& styles = gGameEngine->GetGameTextStyles();
        styles[GameTextClass_ItemNameRare] = GameTextStyle{"BigGold", 12};
        styles[GameTextClass_ItemBonuses] = GameTextStyle{"Unknown", 4};
    }
    ~GameTextTest() override { ShutdownObjects(); }
};

TEST_F(GameTextTest, LinesBecomeStringsWithTheirStyleIndentAndMeasuredSize) {
    EXPECT_STREQ(GetGameTextClassName(GameTextClass_Default), "Default");
    EXPECT_STREQ(GetGameTextClassName(GameTextClass_PetSkillStatsNext), "PetSkillStatsNext");
    EXPECT_EQ(GetGameTextClassName(GameTextClass_Count), nullptr);

    const std::vector<GameTextLine> lines = {{GameTextClass_ItemNameRare, L"Blade^kX", true},
                                             {GameTextClass_ItemBonuses, L"+5 Strength"},
                                             {GameTextClass_SkillName, L"No style"}};
    std::vector<GameTextString> strings;
    GameTextLineToString(lines, strings);
    ASSERT_EQ(strings.size(), 3u);
    // "^k" is a colour code: six characters drawn, 7 pixels each, plus 12 + 6 and 6 margins.
    EXPECT_EQ(strings[0].styleName, "BigGold");
    EXPECT_EQ(strings[0].leftMargin, 18);
    EXPECT_EQ(strings[0].rightMargin, 6);
    EXPECT_FLOAT_EQ(strings[0].width, 6 * 7.0f + 18 + 6);
    EXPECT_FLOAT_EQ(strings[0].height, 18.0f);
    EXPECT_TRUE(strings[0].flag);
    // A style name the style manager does not know measures nothing.
    EXPECT_EQ(strings[1].styleName, "Unknown");
    EXPECT_EQ(strings[1].leftMargin, 10);
    EXPECT_FLOAT_EQ(strings[1].width, 0.0f);
    EXPECT_FLOAT_EQ(strings[1].height, 0.0f);
    // A style without a table entry: empty name, indent 0.
    EXPECT_EQ(strings[2].styleName, "");
    EXPECT_EQ(strings[2].leftMargin, 6);
    EXPECT_FLOAT_EQ(strings[2].width, 0.0f);
}

TEST_F(GameTextTest, LongTextsAreMeasuredInRunsWhoseAdvancesAddUp) {
    const std::wstring text(1200, L'a');
    GameTextString measured("BigGold", text, false, 0);
    EXPECT_FLOAT_EQ(measured.width, 1200 * 7.0f + 12);
    EXPECT_EQ(font->GetDrawCount(), 3);  // 511 + 511 + 178
    // A break ends a run early; the pen moves on by each run's advance.
    GameTextString broken("BigGold", L"ab\ncd", false, 0);
    EXPECT_EQ(font->GetDrawCount(), 5);
    EXPECT_FLOAT_EQ(font->GetLastPen().x, 14.0f);
    EXPECT_FLOAT_EQ(broken.width, 4 * 7.0f + 12);
    test::GraphicsFontTestAccess::SetAvailable(*font, false);
    EXPECT_FLOAT_EQ(GameTextString("BigGold", L"abc", false, 0).width, 12.0f);
}

}  // namespace
}  // namespace GAME::test
