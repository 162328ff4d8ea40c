// The player's bag: where new items land, potion piles and what drinking takes from them, the
// choice of a potion for a hot slot, and the bag's section of the character file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/InventorySack.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/oneshot/OneShot.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kDraught = "Records/Items/Potions/HealingDraught.dbr";
constexpr const char* kSackFiller = "Records/Test/SackFiller.dbr";

// A health potion restoring `life` points.
std::string HealthPotion(int life) {
    return std::string(
               R"({"Class": "OneShot_PotionHealth", "bitmap": "Items/Potions/HealingDraught.tex", "useDelayTime": 2.0, "bonusLifePoints": )") +
           std::to_string(life) + "}";
}

class PlayerInventoryCtrlTest : public ::testing::Test {
protected:
    PlayerInventoryCtrlTest() : tm(TestMachine::SampleDataDir()) {
        InitializeObjects();
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(
            records.AddRecordText("Items/Test/Filler.tex", R"({"width": 256, "height": 160})"));
        EXPECT_TRUE(records.AddRecordText(
            kSackFiller,
            R"({"Class": "ArmorProtective_Head", "bitmap": "Items/Test/Filler.tex"})"));
        for (int life : {100, 250, 400})
            EXPECT_TRUE(records.AddRecordText(PotionRecord(life), HealthPotion(life)));
        player = objects.CreateObjectFromFile<Player>("Records/Characters/Players/Warden.dbr");
        player->SetIsControllingCharacter(true);
        controller = FindController<ControllerPlayer>(*player);
        // Out of its start-up state: a drink goes through the executing state.
        if (controller)
            controller->Update(1);
    }
    ~PlayerInventoryCtrlTest() override { ShutdownObjects(); }

    static std::string PotionRecord(int life) {
        return "Records/Test/Potion" + std::to_string(life) + ".dbr";
    }
    PlayerInventoryCtrl& Bag() { return controller->GetInventoryCtrl(); }
    // An item the player took up, handed to its bag.
    std::uint32_t Give(const std::string& record, bool expectTaken = true) {
        ItemReplicaInfo info;
        info.baseName = record;
        Item* item = Item::CreateItem(info);
        EXPECT_NE(item, nullptr) << record;
        if (!item)
            return 0;
        player->GetInventory().AddItemToInventory(item->GetObjectId(), false);
        EXPECT_EQ(Bag().AddItem(item->GetObjectId(), true), expectTaken) << record;
        return item->GetObjectId();
    }
    std::size_t InSack(int sack) { return Bag().GetInventoryInSack(sack).size(); }

    TestMachine tm;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Player* player = nullptr;
    ControllerPlayer* controller = nullptr;
};

TEST_F(PlayerInventoryCtrlTest, PotionsPileUpToTheStackLimitAndThenStartANewPile) {
    ASSERT_NE(controller, nullptr);
    const std::string kind = PlayerInventoryCtrl::NormalizePotionName(kDraught);
    const std::uint32_t first = Give(kDraught);
    for (int i = 1; i < 10; ++i)
        Give(kDraught);
    // Ten potions, one grid place; the visible one shows the nine behind it.
    EXPECT_EQ(InSack(0), 1u);
    EXPECT_EQ(objects.GetObject<OneShot_Potion>(first)->GetNumberInStack(), 9u);
    EXPECT_EQ(Bag().GetTotalPotions(kind), 10u);
    Give(kDraught);
    EXPECT_EQ(InSack(0), 2u);
    EXPECT_EQ(Bag().GetTotalPotions(PotionType::Health), 11u);
    EXPECT_EQ(Bag().GetTotalPotions(PotionType::Mana), 0u);
    EXPECT_TRUE(Bag().IsPotionHealth(kind));
}

TEST_F(PlayerInventoryCtrlTest, WithOneSackAnItemThatDoesNotFitSackZeroIsRefused) {
    ASSERT_NE(controller, nullptr);
    Give(kSackFiller);
    EXPECT_EQ(Bag().GetNumberOfSacks(), 1u);
    Give(kSackFiller, false);
    // A second sack becomes the selected one, and what sack 0 cannot hold goes there.
    ASSERT_TRUE(Bag().AddSack());
    EXPECT_EQ(Bag().GetSelectedSackNumber(), 1u);
    Give(kSackFiller);
    EXPECT_EQ(InSack(1), 1u);
    EXPECT_FALSE(Bag().IsItemAddedWhileNotTheCurrentlySelectedInventoryTab(1));
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(Bag().AddSack());
    EXPECT_FALSE(Bag().AddSack());  // a fifth
    Bag().SetFocusSackNumber(9);
    EXPECT_EQ(Bag().GetFocusSackNumber(), 3u);
    // Sack 0 and the selected sack full: the next free sack takes it and is marked.
    Give(kSackFiller);
    EXPECT_EQ(InSack(2), 1u);
    EXPECT_TRUE(Bag().IsItemAddedWhileNotTheCurrentlySelectedInventoryTab(2));
}

TEST_F(PlayerInventoryCtrlTest, DrinkingTakesHiddenPotionsFirstAndOneCooldownHoldsTheType) {
    ASSERT_NE(controller, nullptr);
    SetLife(*player, 50.0f, 500.0f);
    const std::string small = PlayerInventoryCtrl::NormalizePotionName(PotionRecord(100));
    const std::string large = PlayerInventoryCtrl::NormalizePotionName(PotionRecord(400));
    const std::uint32_t visible = Give(PotionRecord(100));
    const std::uint32_t hidden = Give(PotionRecord(100));
    Give(PotionRecord(400));
    EXPECT_TRUE(Bag().UsePotionOfType(small));
    EXPECT_EQ(objects.GetObject<Item>(hidden), nullptr);  // drunk and gone
    EXPECT_EQ(Bag().GetCurrentCooldown(PotionType::Health), 2000);
    // Another kind of the same type waits for the cooldown too.
    EXPECT_FALSE(Bag().UsePotionOfType(large));
    Bag().Update(1999);
    EXPECT_FALSE(Bag().UsePotionOfType(small));
    Bag().Update(1);
    EXPECT_EQ(Bag().GetTotalCooldown(PotionType::Health), 0);
    // The last potion of a pile leaves its sack with it.
    EXPECT_TRUE(Bag().UsePotionOfType(small));
    EXPECT_EQ(objects.GetObject<Item>(visible), nullptr);
    EXPECT_EQ(InSack(0), 1u);
    EXPECT_EQ(Bag().GetTotalPotions(small), 0u);
    EXPECT_FALSE(Bag().UsePotionOfType("records\\test\\unknown.dbr"));
}

TEST_F(PlayerInventoryCtrlTest, AHotSlotDrinksTheKindThatBestFitsTheDeficit) {
    ASSERT_NE(controller, nullptr);
    struct Case {
        float life;
        float low;
        float high;
        int chosen;  // the amount of the kind drunk, 0: none
    };
    // Limit 1000. Deficit 300, lowNeed 200, highNeed 350: 250 (400 overshoots, 250 suffices).
    const Case cases[] = {
        {700.0f, 0.9f, 1.05f, 250}, {700.0f, 0.9f, 1.2f, 400},  // 400 lies within highNeed 500
        {950.0f, 0.9f, 1.2f, 100},   // deficit 50: the smallest that covers it
        {100.0f, 0.95f, 1.0f, 100},  // every amount below lowNeed: the smallest
        {1000.0f, 0.8f, 1.2f, 100},  // nothing missing
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> given;
        for (int life : {100, 250, 400})
            given.push_back(Give(PotionRecord(life)));
        SetLife(*player, c.life, 1000.0f);
        EXPECT_TRUE(Bag().UsePotionOfType(PotionType::Health, c.low, c.high)) << c.life;
        const int amounts[] = {100, 250, 400};
        for (std::size_t i = 0; i < given.size(); ++i) {
            const bool drunk = objects.GetObject<Item>(given[i]) == nullptr;
            EXPECT_EQ(drunk, amounts[i] == c.chosen) << c.life << " " << amounts[i];
            std::vector<std::uint32_t> hidden;
            Bag().RemoveItem(given[i], hidden);
        }
        Bag().Update(5000);
    }
    EXPECT_FALSE(Bag().UsePotionOfType(PotionType::Mana, 0.8f, 1.2f));
}

TEST_F(PlayerInventoryCtrlTest, APileIsSavedAsItsPotionThenHiddenRecordsAndComesBackWhole) {
    ASSERT_NE(controller, nullptr);
    const std::uint32_t visible = Give(kDraught);
    Give(kDraught);
    Give(kDraught);
    IOStream out;
    Bag().StreamProperties(out);
    const std::vector<std::uint8_t> bytes = out.GetBytes();

    // The records: the visible potion at its cell, then two at (-1, -1).
    IOStream read(bytes);
    std::vector<std::uint32_t> points;
    read.BeginBlock("playerInventoryCtrl");
    read.BeginBlock("inventorySack");
    std::int32_t size = 0;
    read.StreamInt("size", size);
    EXPECT_EQ(size, 3);
    for (int i = 0; i < size; ++i) {
        read.BeginBlock("inventoryItem");
        std::uint32_t x = 7;
        read.StreamUInt("pointX", x);
        points.push_back(x);
        read.EndBlock();
    }
    const Rect placed = Bag().GetInventoryInSack(0).at(visible);
    EXPECT_EQ(points, (std::vector<std::uint32_t>{static_cast<std::uint32_t>(placed.left / 32.0f),
                                                  PlayerInventoryCtrl::kHiddenPoint,
                                                  PlayerInventoryCtrl::kHiddenPoint}));

    Player* reader = objects.CreateObjectFromFile<Player>("Records/Characters/Players/Warden.dbr");
    reader->SetIsControllingCharacter(true);
    PlayerInventoryCtrl& bag = FindController<ControllerPlayer>(*reader)->GetInventoryCtrl();
    IOStream in(bytes);
    bag.StreamProperties(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(bag.GetInventoryInSack(0).size(), 1u);
    EXPECT_EQ(bag.GetTotalPotions(PotionType::Health), 3u);
    EXPECT_EQ(reader->GetInventory().GetInventoryItems().size(), 3u);
    IOStream again;
    bag.StreamProperties(again);
    EXPECT_EQ(again.GetBytes(), bytes);
}

TEST_F(PlayerInventoryCtrlTest, OldPixelPointsAndAHiddenPotionWithoutItsPileAreReadSafely) {
    ASSERT_NE(controller, nullptr);
    // A file of the older form (points in pixels) whose first record is a hidden potion.
    IOStream file;
    file.BeginBlock("playerInventoryCtrl");
    std::int32_t one = 1;
    std::int32_t zero = 0;
    file.StreamInt("numberOfSacks", one);
    file.StreamInt("currentlyFocusedSackNumber", zero);
    file.StreamInt("currentlySelectedSackNumber", zero);
    file.BeginBlock("inventorySack");
    bool added = false;
    std::int32_t size = 2;
    file.StreamBool("tempBool", added);
    file.StreamInt("size", size);
    for (std::uint32_t x : {PlayerInventoryCtrl::kHiddenPoint, 64u}) {
        ItemReplicaInfo info;
        info.baseName = kDraught;
        std::uint32_t y = x == 64u ? 32u : x;
        file.BeginBlock("inventoryItem");
        info.StreamProperties(file);
        file.StreamUInt("pointX", x);
        file.StreamUInt("pointY", y);
        file.EndBlock();
    }
    file.EndBlock();
    file.EndBlock();

    IOStream in(file.GetBytes());
    in.SetName("old.chr");
    Bag().StreamProperties(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(tm.CountLog("old.chr: hidden potion"), 1);
    ASSERT_EQ(Bag().GetInventoryInSack(0).size(), 1u);
    const Rect placed = Bag().GetInventoryInSack(0).begin()->second;
    EXPECT_EQ(placed.left, 64.0f);  // pixels, not cells
    EXPECT_EQ(placed.top, 32.0f);
    EXPECT_EQ(Bag().GetTotalPotions(PotionType::Health), 1u);
}

}  // namespace
}  // namespace GAME::test
