// The hot-slot bar: shared options, what activation leaves waiting for a click, a potion slot's
// status through a drink and its cooldown, the validation pass, and the bar's saved section.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kBarWarden = "Records/Characters/Players/Warden.dbr";
constexpr const char* kBarDraught = "Records/Items/Potions/HealingDraught.dbr";
constexpr std::size_t kBarHealthSlot = PlayerHotSlotCtrl::kHealthPotionSlot;

class PlayerHotSlotCtrlTest : public ::testing::Test {
protected:
    PlayerHotSlotCtrlTest() : tm(TestMachine::SampleDataDir()) {
        InitializeObjects();
        player = MakeWarden();
    }
    ~PlayerHotSlotCtrlTest() override { ShutdownObjects(); }

    Player* MakeWarden() {
        Player* made = objects.CreateObjectFromFile<Player>(kBarWarden);
        made->SetIsControllingCharacter(true);
        SetLife(*made, 200.0f, 200.0f);  // alive, not a body of no life
        if (auto* controller = FindController<ControllerPlayer>(*made))
            controller->Update(1);  // out of its start-up state
        return made;
    }
    PlayerHotSlotCtrl& Bar() { return player->GetPlayerHotSlotCtrl(); }
    void GivePotion() {
        ItemReplicaInfo info;
        info.baseName = kBarDraught;
        Item* item = Item::CreateItem(info);
        ASSERT_NE(item, nullptr);
        player->GetInventory().AddItemToInventory(item->GetObjectId(), false);
        FindController<ControllerPlayer>(*player)->GetInventoryCtrl().AddItem(item->GetObjectId(),
                                                                              true);
    }
    static std::vector<std::uint8_t> Saved(PlayerHotSlotCtrl& bar) {
        IOStream out;
        bar.StreamProperties(out);
        return out.GetBytes();
    }

    TestMachine tm;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Player* player = nullptr;
};

TEST_F(PlayerHotSlotCtrlTest, EqualOptionsAreSharedAndOutliveTheSlotTheyLeave) {
    HotSlotOptionPotion mana(static_cast<std::uint32_t>(PotionType::Mana));
    mana.SetPlayer(player);
    Bar().SetHotSlot(0, &mana);
    Bar().SetHotSlot(1, &mana);
    ASSERT_NE(Bar().GetHotSlotOption(0), nullptr);
    EXPECT_EQ(Bar().GetHotSlotOption(0), Bar().GetHotSlotOption(1));
    // The mana slot of the defaults is equal too, so it is the same option.
    EXPECT_EQ(Bar().GetHotSlotOption(0),
              Bar().GetHotSlotOption(PlayerHotSlotCtrl::kManaPotionSlot));
    Bar().SetHotSlot(0, nullptr);
    EXPECT_EQ(Bar().GetHotSlotOption(0), nullptr);
    ASSERT_NE(Bar().GetHotSlotOption(1), nullptr);
    EXPECT_EQ(Bar().GetHotSlotOption(1)->GetType(), HotSlotOption::kPotion);
    Bar().SetHotSlot(PlayerHotSlotCtrl::kSlots, &mana);  // out of range: ignored
    EXPECT_EQ(Bar().GetSlotStatus(PlayerHotSlotCtrl::kSlots), HotSlotStatus_Nothing);
}

TEST_F(PlayerHotSlotCtrlTest, APotionSlotIsEmptyThenReadyThenRechargingThenReadyAgain) {
    EXPECT_EQ(Bar().GetSlotStatus(kBarHealthSlot), HotSlotStatus_NoPotion);
    GivePotion();
    GivePotion();
    SetLife(*player, 20.0f, 200.0f);
    EXPECT_EQ(Bar().GetSlotStatus(kBarHealthSlot), HotSlotStatus_Ready);
    Bar().ActivateHotSlot(kBarHealthSlot);
    ASSERT_EQ(Bar().GetHotSlotOption(kBarHealthSlot)->GetNumberAvailable(), 1);
    // The first moment of the cooldown has no progress yet.
    EXPECT_EQ(Bar().GetSlotStatus(kBarHealthSlot), HotSlotStatus_Ready);
    FindController<ControllerPlayer>(*player)->GetInventoryCtrl().Update(500);
    EXPECT_EQ(Bar().GetSlotStatus(kBarHealthSlot), HotSlotStatus_Recharging);
    EXPECT_FLOAT_EQ(Bar().GetHotSlotOption(kBarHealthSlot)->GetCooldownCompletion(), 0.2f);
    FindController<ControllerPlayer>(*player)->GetInventoryCtrl().Update(2000);
    EXPECT_EQ(Bar().GetSlotStatus(kBarHealthSlot), HotSlotStatus_Ready);
    // A drunk potion is no target-taking option: the activity lapses after its hold.
    Bar().Update(PlayerHotSlotCtrl::kActivationHoldMs);
    EXPECT_FALSE(Bar().IsAnySlotActive());
}

TEST_F(PlayerHotSlotCtrlTest, ASkillThatNeedsATargetWaitsForTheNextClick) {
    HotSlotOptionSkill attack(player->GetSkillManager().GetDefaultSkillId());
    attack.SetPlayer(player);
    Bar().SetHotSlot(3, &attack);
    Bar().ActivateHotSlot(3);
    EXPECT_TRUE(Bar().IsAnyActiveTargetingNeeded());
    EXPECT_TRUE(Bar().IsAnySlotActive());
    EXPECT_TRUE(Bar().IsHotSlotActive(3));
    EXPECT_EQ(Bar().GetActiveSlotOption(true), Bar().GetHotSlotOption(3));
    EXPECT_FALSE(Bar().IsAnySlotActive());
    EXPECT_FALSE(Bar().IsAnyActiveTargetingNeeded());
    // No longer active: a click takes the primary slot, the default skill.
    const HotSlotOption* primary = Bar().GetActiveSlotOption(true);
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(primary->GetSkillId(), player->GetSkillManager().GetDefaultSkillId());
}

TEST_F(PlayerHotSlotCtrlTest, AVanishedSkillLeavesItsSlotAndThePrimarySlotRefills) {
    HotSlotOptionSkill gone(0xDEAD);
    gone.SetPlayer(player);
    Bar().SetHotSlot(2, &gone);
    Bar().SetHotSlot(PlayerHotSlotCtrl::kPrimarySlot, nullptr);
    Bar().Update(1);
    EXPECT_EQ(Bar().GetHotSlotOption(2), nullptr);
    ASSERT_NE(Bar().GetHotSlotOption(PlayerHotSlotCtrl::kPrimarySlot), nullptr);
    EXPECT_EQ(Bar().GetHotSlotOption(PlayerHotSlotCtrl::kPrimarySlot)->GetSkillId(),
              player->GetSkillManager().GetDefaultSkillId());
}

TEST_F(PlayerHotSlotCtrlTest, TheBarComesBackFromItsSectionAndWritesTheSameBytes) {
    HotSlotOptionSkill attack(player->GetSkillManager().GetDefaultSkillId());
    attack.SetPlayer(player);
    Bar().SetHotSlot(5, &attack);
    Bar().SetHotSlot(9, nullptr);
    const std::vector<std::uint8_t> bytes = Saved(Bar());

    Player* reader = MakeWarden();
    PlayerHotSlotCtrl& bar = reader->GetPlayerHotSlotCtrl();
    IOStream in(bytes);
    bar.StreamProperties(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_NE(bar.GetHotSlotOption(5), nullptr);
    EXPECT_EQ(bar.GetHotSlotOption(5)->GetSkillId(), reader->GetSkillManager().GetDefaultSkillId());
    EXPECT_EQ(bar.GetHotSlotOption(9), nullptr);  // saved as 4294967295
    EXPECT_EQ(bar.GetHotSlotOption(kBarHealthSlot)->GetType(), HotSlotOption::kPotion);
    EXPECT_EQ(Saved(bar), bytes);
    // A section that is not there is a file cut short.
    IOStream empty(std::vector<std::uint8_t>{});
    bar.StreamProperties(empty);
    EXPECT_TRUE(empty.Failed());
}

}  // namespace
}  // namespace GAME::test
