// The campaign driver: each step clicks the thing of its record in the player's region, once a
// second, and ends when the game shows its goal reached; a step that cannot be reached is given
// up after its frames; the guide's question is answered yes only in the guide's step.
#include <gtest/gtest.h>

#include <cstdio>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/quests/DialogManager.h"
#include "Game/quests/triggers/TriggerText.h"
#include "Host/play/HostSaves.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/drivers/CampaignDriver.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Act = CampaignDriver::Act;
constexpr const char* kBlade = "Records/Items/Weapons/HollowBlade.dbr";

class CampaignDriverTest : public ::testing::Test {
protected:
    CampaignDriverTest()
        : tm(TestMachine::SampleDataDir()), out(std::tmpfile()), log(out), ui("unused.chr", false) {
        InitializeObjects();
        EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            "Records/Characters/Players/Warden.dbr");
        Region* meadow = World::Get().GetRegion("Meadow");
        WorldVec3 at(meadow, Vec3(5.0f, 0.0f, 5.0f));
        at.PutOnFloor();
        World::Get().AddEntity(player, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(player->GetObjectId());
        player->SetIsControllingCharacter(true);
        player->InitialUpdate();
        log.Attach(player->GetObjectId());
    }
    ~CampaignDriverTest() override {
        World::Get().UnloadLevel();
        ShutdownObjects();
        std::fclose(out);
    }
    std::string Printed() {
        std::fflush(out);
        std::rewind(out);
        std::string text;
        for (int c; (c = std::fgetc(out)) != EOF;)
            text += static_cast<char>(c);
        return text;
    }
    Item* Lying(const char* record) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (std::uint32_t id : objects.GetObjectIds())
            if (Item* item = objects.GetObject<Item>(id);
                item && item->IsInWorld() && RecordNamesEqual(item->GetObjectName(), record))
                return item;
        return nullptr;
    }

    TestMachine tm;
    std::FILE* out;
    PlayEventLog log;
    HostSaves ui;
    Player* player = nullptr;
};

TEST_F(CampaignDriverTest, ClicksTheStepsThingThenWieldsItOnceCarried) {
    CampaignDriver campaign(
        log, ui,
        {{Act::PickUp, kBlade, "pick up the blade", 600, ""},
         {Act::Equip, kBlade, "wield it", 30, ""},
         {Act::TakeQuest, "Records/Characters/Npcs/Villager.dbr", "talk", 600, ""}});
    Item* blade = Lying(kBlade);
    ASSERT_NE(blade, nullptr);
    auto* controller = FindController<ControllerPlayer>(*player);
    ASSERT_NE(controller, nullptr);
    // The kit's sword in hand, as a new character starts.
    Item* sword = controller->CreateItemInInventory("Records/Items/Weapons/WardenShortSword.dbr");
    ASSERT_NE(sword, nullptr);
    ASSERT_TRUE(controller->GiveItemToPlayer(sword->GetObjectId()));
    std::optional<HostClick> click = campaign.Next(*player, 1, 0);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->target, blade->GetObjectId());
    EXPECT_EQ(click->region, "Meadow");
    EXPECT_FALSE(campaign.Next(*player, 2, 500));  // once a second

    // Picked up: the next frames wield it and turn to the quest giver.
    const std::uint32_t bladeId = blade->GetObjectId();
    World::Get().RemoveEntity(blade);
    ASSERT_TRUE(controller->GetInventoryCtrl().AddItem(bladeId, true));  // into the bag
    for (int frame = 40; frame <= 42; ++frame)
        click = campaign.Next(*player, frame, 1300u + 33u * static_cast<unsigned>(frame - 40));
    EXPECT_EQ(campaign.GetStepsDone(), 2u);
    EXPECT_TRUE(player->GetEquipManager().HasItem(bladeId));
    ASSERT_TRUE(click);
    const Entity* maren = Singleton<ObjectManager>::Get().GetObject<Entity>(click->target);
    ASSERT_NE(maren, nullptr);
    EXPECT_TRUE(RecordNamesEqual(maren->GetObjectName(), "Records/Characters/Npcs/Villager.dbr"));
    const std::string printed = Printed();
    EXPECT_NE(printed.find("campaign 2/3: wield it"), std::string::npos) << printed;
    // (The test machine reads no texts: the names are the items' text formats.)
    EXPECT_NE(printed.find("you put on "), std::string::npos) << printed;
    EXPECT_NE(printed.find(" goes into the bag"), std::string::npos) << printed;
}

TEST_F(CampaignDriverTest, AStepOutOfReachIsGivenUpAndOnlyTheGuidesQuestionIsAnsweredYes) {
    CampaignDriver campaign(
        log, ui,
        {{Act::PickUp, "Records/Items/Nothing.dbr", "find nothing", 3, ""},
         {Act::Guide, "Records/Characters/Npcs/CaveGuide.dbr", "ask", 600, ""}});
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    dialogs.AddDialog(kDialogTypeQuestion, false, kDialogPartyTeleport, "tagGuideCavePath", true, 0,
                      true);
    campaign.Next(*player, 1, 0);  // the first step: declined
    for (int frame = 2; frame <= 6; ++frame)
        campaign.Next(*player, frame, 33u * static_cast<unsigned>(frame));
    EXPECT_EQ(campaign.GetStepsDone(), 0u);
    dialogs.AddDialog(kDialogTypeQuestion, false, kDialogPartyTeleport, "tagGuideCavePath", true, 0,
                      true);
    campaign.Next(*player, 7, 231);  // the guide's step: taken
    ASSERT_EQ(dialogs.GetNumResponsesFor(kDialogPartyTeleport), 2);
    EXPECT_FALSE(dialogs.GetResponseFor(kDialogPartyTeleport).answer);
    EXPECT_TRUE(dialogs.GetResponseFor(kDialogPartyTeleport).answer);
    const std::string printed = Printed();
    EXPECT_NE(printed.find("no luck with \"find nothing\""), std::string::npos) << printed;
    EXPECT_NE(printed.find("campaign 2/2: ask"), std::string::npos) << printed;
    EXPECT_NE(printed.find("you say yes"), std::string::npos) << printed;
}

}  // namespace
}  // namespace GAME::test
