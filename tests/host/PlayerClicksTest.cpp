// Clicks reach the player's controller as a person's would: the object under the cursor becomes
// the combat enemy or ally, and clicking a foe once a second wears it down with the player's
// default attack.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/Team.h"
#include "Host/HostApp.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/PlayerClicks.h"
#include "Host/play/drivers/ClickDriver.h"
#include "HostRunSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class PlayerClicksTest : public ::testing::Test {
protected:
    PlayerClicksTest() : tm(TestMachine::SampleDataDir()) {
        InitializeObjects();
        gGameEngine->SetGameLoading(false);
        EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            PlayOptions::kDefaultClass);
        Place(*player, 20.0f, 5.0f);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(player->GetObjectId());
        player->SetIsControllingCharacter(true);
        player->InitialUpdate();
        controller = FindController<ControllerPlayer>(*player);
    }
    ~PlayerClicksTest() override {
        World::Get().UnloadLevel();
        ShutdownObjects();
    }

    void Place(Character& character, float x, float z) {
        WorldVec3 at(meadow, Vec3(x, 0.0f, z));
        at.PutOnFloor();
        World::Get().AddEntity(&character, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
    }
    Character* Make(std::uint32_t major, float x, float z) {
        auto* character = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
            "Records/Characters/SampleHero.dbr");
        character->SetTeam(TeamManager::BuildTeam(major, 0));
        Place(*character, x, z);
        character->InitialUpdate();
        test::SetLife(*character, 500.0f, 500.0f);
        return character;
    }
    HostClick On(const Character& character) const {
        return {0, character.GetObjectId(), "Meadow", character.GetPosition().local, 0};
    }

    TestMachine tm;
    Region* meadow = nullptr;
    Player* player = nullptr;
    ControllerPlayer* controller = nullptr;
};

TEST_F(PlayerClicksTest, TheObjectUnderTheCursorIsTheCombatEnemyOrAlly) {
    ASSERT_NE(controller, nullptr);
    Character* foe = Make(Team::Monster, 40.0f, 5.0f);
    Character* friendly = Make(Team::Human, 22.0f, 5.0f);
    EXPECT_TRUE(DeliverClick(*player, On(*foe)));
    EXPECT_EQ(controller->GetCombatEnemy(), foe->GetObjectId());
    EXPECT_EQ(controller->GetCombatAlly(), 0u);
    EXPECT_TRUE(DeliverClick(*player, On(*friendly)));
    EXPECT_EQ(controller->GetCombatEnemy(), 0u);
    EXPECT_EQ(controller->GetCombatAlly(), friendly->GetObjectId());
    EXPECT_TRUE(DeliverClick(*player, {0, 0, "Meadow", Vec3(30.0f, 0.0f, 5.0f), 0}));
    EXPECT_EQ(controller->GetCombatEnemy(), 0u);
    EXPECT_EQ(controller->GetCombatAlly(), 0u);
    // A click into a region the level lacks goes nowhere.
    EXPECT_FALSE(DeliverClick(*player, {0, 0, "Atlantis", Vec3(), 0}));
}

TEST_F(PlayerClicksTest, ClickingAFoeEverySecondWearsItDown) {
    Character* foe = Make(Team::Monster, 30.0f, 5.0f);
    ClickDriver driver;
    for (int frame = 1; frame <= 300; ++frame) {
        if (auto click = driver.Next(*player, frame, gEngine->GetGameTime())) {
            EXPECT_EQ(click->target, foe->GetObjectId());
            DeliverClick(*player, *click);
        }
        RunFrame(33);
    }
    EXPECT_LT(player->GetPosition().DistanceTo(foe->GetPosition()), 3.0f);
    EXPECT_LT(foe->GetCurrentLife(), 500.0f);
}

TEST_F(PlayerClicksTest, ThePlayersDeathAndRespawnRunThroughTheHostFrame) {
    std::FILE* out = std::tmpfile();
    {
        PlayEventLog log(out);
        log.Attach(player->GetObjectId());
        const WorldVec3 spawn = player->GetPosition();
        WorldCoords away = player->GetCoords();
        away.coords.origin.z += 10.0f;
        World::Get().SetCoords(player, away);
        test::SetLife(*player, 0.0f, 200.0f);
        int frame = 0;
        for (; frame < 600 && !(frame > 10 && player->IsAlive()); ++frame) {
            RunFrame(33);
            log.Observe();
        }
        EXPECT_TRUE(player->IsAlive()) << "still " << player->GetLifeStateAsText();
        EXPECT_LT(player->GetPosition().DistanceTo(spawn), 1.0f);
    }
    const std::string printed = WrittenTo(out);
    std::fclose(out);
    const std::size_t died = printed.find("you died");
    const std::size_t back = printed.find("you respawned at (");
    ASSERT_NE(died, std::string::npos) << printed;
    ASSERT_NE(back, std::string::npos) << printed;
    EXPECT_LT(died, back);
}

TEST_F(PlayerClicksTest, ALevelPlacedMonsterComesToLifeAndFallsToTheScriptedClicks) {
    std::FILE* out = std::tmpfile();
    PlayEventLog log(out);
    log.Attach(player->GetObjectId());
    // Into the cave, among the creatures the level placed.
    WorldCoords cave = World::Get().GetSpawnPoints()[1].coords;
    ASSERT_EQ(cave.region->GetName(), "Cave");
    World::Get().SetCoords(player, cave);
    player->ResetMovementManager();
    ClickDriver driver;
    for (int frame = 1; frame <= 900 && log.GetKills() == 0; ++frame) {
        if (auto click = driver.Next(*player, frame, gEngine->GetGameTime()))
            DeliverClick(*player, *click);
        RunFrame(33);
        log.Observe();
    }
    for (std::uint32_t id : World::Get().GetPlacedEntityIds()) {
        const auto* entity = Singleton<ObjectManager>::Get().GetObject<Entity>(id);
        if (entity) {
            EXPECT_TRUE(entity->HasDoneInitialUpdate()) << entity->GetObjectName();
        }
    }
    EXPECT_EQ(log.GetKills(), 1);
    std::fclose(out);
}

}  // namespace
}  // namespace GAME::test
