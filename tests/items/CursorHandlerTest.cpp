// The cursor modes as the user interface drives them: an item carried from the bag to another
// place of it, onto another item, onto the body or back; a skill dragged to the hot bar; a potion
// used; a relic combined only after the player confirms (or cancelled while it waits).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Options.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/cursor/CursorHandlerHotSlotOption.h"
#include "Game/items/cursor/CursorHandlerItemMove.h"
#include "Game/items/cursor/CursorHandlerOneShotUse.h"
#include "Game/items/cursor/CursorHandlerRelicCombine.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/oneshot/OneShot.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kCursorDraught = "Records/Items/Potions/HealingDraught.dbr";
constexpr const char* kCursorRing = "Records/Items/Armor/SilverRing.dbr";
constexpr const char* kCursorSword = "Records/Items/Weapons/WardenShortSword.dbr";
constexpr const char* kCursorRelic = "Records/Items/Relics/BoarRelic.dbr";
constexpr const char* kCursorWide = "Records/Test/WideCollar.dbr";

class CursorHandlerTest : public ::testing::Test {
protected:
    CursorHandlerTest() : tm(TestMachine::SampleDataDir()) {
        InitializeObjects();
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        records.AddRecordText("Items/Test/Wide.tex", R"({"width": 64, "height": 32})");
        records.AddRecordText(
            kCursorWide, R"({"Class": "ArmorJewelry_Amulet", "bitmap": "Items/Test/Wide.tex"})");
        player = objects.CreateObjectFromFile<Player>("Records/Characters/Players/Warden.dbr");
        player->SetIsControllingCharacter(true);
        controller = FindController<ControllerPlayer>(*player);
        if (controller)
            controller->Update(1);
    }
    ~CursorHandlerTest() override { ShutdownObjects(); }

    PlayerInventoryCtrl& Bag() { return controller->GetInventoryCtrl(); }
    // Carried by the player, at the top-left point of the main sack.
    std::uint32_t Give(const std::string& record, Vec2 at) {
        ItemReplicaInfo info;
        info.baseName = record;
        Item* item = Item::CreateItem(info);
        player->GetInventory().AddItemToInventory(item->GetObjectId(), false);
        EXPECT_TRUE(Bag().AddItem(at, item->GetObjectId(), 0)) << record;
        return item->GetObjectId();
    }
    template <class Handler>
    std::unique_ptr<Handler> Holding(std::uint32_t id) {
        auto handler = std::make_unique<Handler>();
        handler->SetPlayer(player);
        handler->SetId(id);
        return handler;
    }
    bool InSack(std::uint32_t id) { return Bag().GetInventoryInSack(0).count(id) != 0; }

    TestMachine tm;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Player* player = nullptr;
    ControllerPlayer* controller = nullptr;
};

TEST_F(CursorHandlerTest, APotionDroppedOnAnEmptyPlaceTakesItsHiddenPileAlong) {
    ASSERT_NE(controller, nullptr);
    const std::uint32_t visible = Give(kCursorDraught, {0, 0});
    for (int i = 0; i < 2; ++i) {
        ItemReplicaInfo info;
        info.baseName = kCursorDraught;
        Item* item = Item::CreateItem(info);
        player->GetInventory().AddItemToInventory(item->GetObjectId(), false);
        Bag().AddItem(item->GetObjectId(), true);
    }
    auto cursor = Holding<CursorHandlerItemMove>(visible);
    EXPECT_EQ(cursor->GetCarriedStack().size(), 2u);
    EXPECT_FALSE(InSack(visible));
    cursor->SetRelativePosition({208.0f, 80.0f});
    EXPECT_TRUE(cursor->PrimaryInventoryActivate());
    EXPECT_TRUE(cursor->IsComplete());
    EXPECT_TRUE(InSack(visible));
    EXPECT_EQ(Bag().GetInventoryInSack(0).size(), 1u);
    EXPECT_EQ(objects.GetObject<OneShot_Potion>(visible)->GetNumberInStack(), 2u);
    EXPECT_EQ(Bag().GetTotalPotions(PotionType::Health), 3u);
}

TEST_F(CursorHandlerTest, ADropOnOneItemSwapsItAndOnTwoIsRefused) {
    ASSERT_NE(controller, nullptr);
    const struct {
        const char* name;
        const char* carried;
        Vec2 point;
        bool accepted;
        bool swaps;  // the ring at (0, 0) comes onto the cursor
    } cases[] = {
        {"on an empty place", kCursorRing, {208.0f, 80.0f}, true, false},
        {"on exactly one item", kCursorRing, {16.0f, 16.0f}, true, true},
        {"across two items", kCursorWide, {32.0f, 16.0f}, false, false},
    };
    for (const auto& c : cases) {
        const std::uint32_t first = Give(kCursorRing, {0, 0});
        const std::uint32_t second = Give(kCursorSword, {32, 0});
        auto cursor = Holding<CursorHandlerItemMove>(Give(c.carried, {0, 96}));
        const std::uint32_t carried = cursor->GetId();
        std::vector<Rect> place, swap, blocked;
        std::uint32_t under = 0;
        cursor->SetRelativePosition(c.point);
        cursor->GetInventoryHighlights(place, swap, blocked, under);
        EXPECT_EQ(blocked.empty(), c.accepted) << c.name;
        EXPECT_EQ(cursor->PrimaryInventoryActivate(), c.accepted) << c.name;
        EXPECT_EQ(InSack(carried), c.accepted) << c.name;
        EXPECT_EQ(cursor->GetId(), c.swaps ? first : c.accepted ? 0u : carried) << c.name;
        EXPECT_TRUE(InSack(second)) << c.name;
        for (std::uint32_t id : {first, second, carried})
            objects.DestroyObjectEx(objects.GetObject(id), __FILE__, __LINE__);
        for (std::uint32_t id : {first, second, carried}) {
            std::vector<std::uint32_t> hidden;
            Bag().RemoveItem(id, hidden);
        }
    }
}

TEST_F(CursorHandlerTest, AnItemGoesFromTheBagOntoTheBodyAndARefusedQuickSaleGivesItBack) {
    ASSERT_NE(controller, nullptr);
    // The bag's own checks, not the ring's level, are what this is about.
    controller->SetIgnoreEquipmentRequirements(true);
    const std::uint32_t ring = Give(kCursorRing, {0, 0});
    auto cursor = Holding<CursorHandlerItemMove>(ring);
    bool flag = true;
    EXPECT_FALSE(cursor->IsEquipConflict(EquipmentCtrlLocation::Finger1, flag));
    EXPECT_TRUE(cursor->IsEquipConflict(EquipmentCtrlLocation::Head, flag));
    EXPECT_TRUE(cursor->PrimaryEquipActivate(EquipmentCtrlLocation::Finger1));
    EXPECT_EQ(controller->GetEquipmentCtrl().GetItem(EquipmentCtrlLocation::Finger1), ring);
    EXPECT_TRUE(cursor->IsComplete());

    // With a merchant's window open but the quick-sale switch off, a right-click in the bag
    // puts the potion back.
    Options::SetBool(0, false);
    const std::uint32_t potion = Give(kCursorDraught, {64, 0});
    auto quick = Holding<CursorHandlerItemMove>(potion);
    quick->SetMarketId(0x4242);
    EXPECT_TRUE(quick->SecondaryInventoryActivate());
    EXPECT_TRUE(quick->IsComplete());
    EXPECT_TRUE(InSack(potion));
}

TEST_F(CursorHandlerTest, ASkillDraggedToTheHotBarAndAPotionUsedFromTheBag) {
    ASSERT_NE(controller, nullptr);
    CursorHandlerHotSlotOption drag;
    drag.SetPlayer(player);
    drag.SetId(0x515);
    ASSERT_NE(drag.GetOption(), nullptr);
    EXPECT_EQ(drag.GetOption()->GetSkillId(), 0x515u);
    EXPECT_EQ(drag.GetOption()->GetPlayer(), player);
    EXPECT_TRUE(drag.IsHotSlotCapable());
    PlayerHotSlotCtrl& bar = player->GetPlayerHotSlotCtrl();
    bar.SetHotSlot(5, drag.GetOption());
    drag.SetOption(nullptr);
    EXPECT_TRUE(drag.IsComplete());
    ASSERT_NE(bar.GetHotSlotOption(5), nullptr);
    EXPECT_EQ(bar.GetHotSlotOption(5)->GetSkillId(), 0x515u);

    const std::uint32_t potion = Give(kCursorDraught, {0, 0});
    SetLife(*player, 20.0f, 100.0f);
    std::unique_ptr<CursorHandler> use =
        objects.GetObject<Item>(potion)->CreateSecondaryCursorHandler(player);
    ASSERT_NE(use, nullptr);
    use->SetPlayer(player);
    use->SetId(potion);
    use->SecondaryInitialize();
    EXPECT_TRUE(use->IsComplete());
    EXPECT_EQ(Bag().GetTotalPotions(PotionType::Health), 0u);
}

TEST_F(CursorHandlerTest, ARelicWaitsForTheAnswerAndACancelWithdrawsTheQuestion) {
    ASSERT_NE(controller, nullptr);
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    const std::uint32_t relic = Give(kCursorRelic, {0, 0});
    const std::uint32_t sword = Give(kCursorSword, {64, 0});
    auto combine = [&] {
        auto cursor = std::make_unique<CursorHandlerRelicCombine>();
        cursor->SetPlayer(player);
        cursor->SetId(relic);
        cursor->SetRelativePosition({80.0f, 16.0f});
        EXPECT_EQ(cursor->GetGameCursorType(), WidgetCursor_RelicCombine);
        EXPECT_TRUE(cursor->PrimaryInventoryActivate());
        EXPECT_EQ(cursor->GetTargetId(), sword);
        return cursor;
    };
    // No answer yet: Escape does nothing; an answer "no" ends the mode without combining.
    auto refused = combine();
    EXPECT_FALSE(refused->Escape());
    EXPECT_FALSE(refused->IsComplete());
    dialogs.AddResponse(kDialogPartyRelicCombining, 0);
    refused->Update();
    EXPECT_TRUE(refused->IsComplete());

    // No one answers: the mode can still be cancelled, and the question goes with it, so a late
    // "yes" cannot combine for a later cursor that never asked.
    auto abandoned = combine();
    EXPECT_TRUE(abandoned->Cancel());
    EXPECT_TRUE(abandoned->IsComplete());
    for (const DialogManager::Dialog& dialog : dialogs.GetDialogs())
        EXPECT_NE(dialog.party, kDialogPartyRelicCombining);
    dialogs.AddResponse(kDialogPartyRelicCombining, 1);
    auto later = combine();
    later->Update();
    EXPECT_FALSE(later->IsComplete());
    EXPECT_EQ(later->GetTargetId(), sword);
}

}  // namespace
}  // namespace GAME::test
