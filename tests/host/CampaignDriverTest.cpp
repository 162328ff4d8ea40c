// The campaign driver: each step clicks the thing of its record in the player's region, once a
// second, and ends when the game shows its goal reached; a step that cannot be reached is given
// up after its frames; the guide's question is answered yes only in the guide's step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

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
#include "Host/play/drivers/SkillDriver.h"
#include "HostRunSupport.h"
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
    std::string Printed() { return WrittenTo(out); }
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

TEST_F(CampaignDriverTest, SkillsAreCastInFightsOnlyAndNoClickBreaksACastOff) {
    // A foe 3 m off all along: a touch step fights it (skills at foes that near), a travel
    // leaves it behind (none), a boss fight and the last brawl have them all and the pet.
    struct Case {
        Act act;
        const char* record;
        float radius;
        bool pet;
    };
    const std::vector<Case> cases = {
        {Act::Touch, "Records/Objects/Shrines/TravelStone.dbr", 7.0f, false},
        {Act::Travel, "Records/Objects/Shrines/TravelStone.dbr", 0.0f, false},
        {Act::Boss, "Records/Creatures/Boar.dbr", SkillDriver::kFightRadius, true},
        {Act::Fall, "", SkillDriver::kFightRadius, true},
    };
    std::vector<CampaignDriver::Step> steps;
    for (const Case& c : cases)
        steps.push_back({c.act, c.record, "step", 1000, ""});
    CampaignDriver campaign(log, ui, steps);
    auto* foe = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
        "Records/Creatures/Boar.dbr");
    ASSERT_NE(foe, nullptr);
    Region* meadow = World::Get().GetRegion("Meadow");
    WorldVec3 near(meadow, Vec3(8.0f, 0.0f, 5.0f));
    near.PutOnFloor();
    ASSERT_TRUE(
        World::Get().AddEntity(foe, WorldCoords(meadow, Coords::FromOrigin(near.local)), true));
    foe->InitialUpdate();
    int frame = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.act));
        // The frame a step ends, the next begins on the frame after.
        for (int next = frame; next <= frame + 1; ++next)
            campaign.Next(*player, next, 33u * static_cast<unsigned>(next));
        EXPECT_EQ(campaign.GetCastRadius(), c.radius);
        EXPECT_EQ(campaign.MayCallPet(), c.pet);
        frame += 1002;  // the step gives up
    }

    // Mid-cast (War Cry's animation playing) no click comes; the plain attack takes them.
    const std::vector<std::uint32_t>& skills = player->GetSkillManager().GetSkillList();
    const std::uint32_t warCry =
        player->GetSkillManager().FindSkillId("Records/Skills/Warfare/WarCry.dbr");
    const auto reference =
        static_cast<int>(std::find(skills.begin(), skills.end(), warCry) - skills.begin());
    const std::uint64_t later = 33u * static_cast<unsigned>(frame) + 5000u;
    player->SetCurrentAttackTarget(0, player->GetPosition(), reference);
    EXPECT_FALSE(campaign.Next(*player, frame, later));
    player->SetCurrentAttackTarget(0, player->GetPosition(), -1);
    EXPECT_TRUE(campaign.Next(*player, frame + 1, later + 33u));
}

}  // namespace
}  // namespace GAME::test
