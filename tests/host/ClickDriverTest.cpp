// The scripted user: once a second it clicks the nearest living foe in sight, never a friend, a
// corpse or a foe out of sight, else a townsperson with something to say (once each), and else
// the ground a bounded step toward a spawn point.
#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/items/Item.h"
#include "Host/play/drivers/ClickDriver.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class ClickDriverTest : public ::testing::Test {
protected:
    ClickDriverTest() : tm(TestMachine::SampleDataDir()) {
        InitializeObjects();
        EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            "Records/Characters/Players/Warden.dbr");
        Place(player, 30.0f, 30.0f);
    }
    ~ClickDriverTest() override {
        World::Get().UnloadLevel();
        ShutdownObjects();
    }

    void Place(Character* character, float x, float z) {
        WorldVec3 at(meadow, Vec3(x, 0.0f, z));
        at.PutOnFloor();
        World::Get().AddEntity(character, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
    }
    Character* Make(std::uint32_t major, float x, float z) {
        auto* character = Singleton<ObjectManager>::Get().CreateObject<Character>();
        character->SetTeam(TeamManager::BuildTeam(major, 0));
        Place(character, x, z);
        return character;
    }

    // The level's townsfolk, in world order.
    // The level's townsfolk; those with something to say when asked.
    std::vector<Npc*> Townsfolk(bool talkersOnly = false) const {
        std::vector<Npc*> npcs;
        for (std::uint32_t id : World::Get().GetPlacedEntityIds())
            if (Npc* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(id);
                npc && (!talkersOnly || !npc->GetDialogPakName().empty()))
                npcs.push_back(npc);
        return npcs;
    }

    TestMachine tm;
    Region* meadow = nullptr;
    Player* player = nullptr;
    ClickDriver driver;
};

TEST_F(ClickDriverTest, ClicksTheNearestLivingFoeInSightOncePerSecond) {
    Make(Team::Human, 31.0f, 30.0f);  // a friend, nearest of all
    Make(Team::Monster, 30.0f, 32.0f)->SetLifeState(Character_LifeState::Dead);
    Character* near = Make(Team::Monster, 36.0f, 30.0f);  // 6 m
    Character* far = Make(Team::Hostile, 30.0f, 18.0f);   // 12 m
    Make(Team::Monster, 30.0f, 55.0f);                    // 25 m: out of sight

    std::optional<HostClick> click = driver.Next(*player, 1, 0);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->target, near->GetObjectId());
    EXPECT_EQ(click->point, near->GetPosition().local);
    EXPECT_EQ(click->region, "Meadow");
    EXPECT_EQ(click->frame, 1);

    EXPECT_FALSE(driver.Next(*player, 2, 999));
    near->SetLifeState(Character_LifeState::Dead);
    click = driver.Next(*player, 3, 1000);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->target, far->GetObjectId());

    // The dead click nothing; the clock goes on.
    player->SetLifeState(Character_LifeState::Dead);
    EXPECT_FALSE(driver.Next(*player, 4, 2000));
    player->SetLifeState(Character_LifeState::Alive);
    EXPECT_FALSE(driver.Next(*player, 5, 2500));
    EXPECT_TRUE(driver.Next(*player, 6, 3000));
}

TEST_F(ClickDriverTest, WithoutFoesItTalksToEachTownspersonWithSomethingToSayOnce) {
    std::vector<Npc*> npcs = Townsfolk(true);
    ASSERT_EQ(npcs.size(), 3u);
    for (Npc* npc : npcs)
        npc->InitialUpdate();
    // The sword lying in the meadow would be picked up first.
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : World::Get().GetPlacedEntityIds())
        if (Item* item = objects.GetObject<Item>(id))
            objects.DestroyObject(item);
    // Each is clicked until the player stands at it, then it is left alone.
    std::uint64_t time = 0;
    for (Npc* npc : {npcs[2], npcs[1], npcs[0]}) {
        std::optional<HostClick> click = driver.Next(*player, 1, time);
        time += ClickDriver::kIntervalMs;
        ASSERT_TRUE(click);
        EXPECT_EQ(click->target, npc->GetObjectId());
        WorldCoords there = player->GetCoords();
        there.coords.origin = npc->GetPosition().local + Vec3(1.0f, 0.0f, 0.0f);
        World::Get().SetCoords(player, there);
        click = driver.Next(*player, 2, time);
        time += ClickDriver::kIntervalMs;
        ASSERT_TRUE(click);
        EXPECT_EQ(click->target, npc->GetObjectId());
    }
    std::optional<HostClick> click = driver.Next(*player, 3, time);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->target, 0u);
}

TEST_F(ClickDriverTest, WithoutFoesItWalksTheSpawnPointsOfItsRegionInBoundedSteps) {
    for (Npc* npc : Townsfolk())
        World::Get().RemoveEntity(npc);
    std::vector<WorldVec3> route;
    for (const SpawnPoint& spawn : World::Get().GetSpawnPoints())
        if (spawn.coords.region == meadow)
            route.push_back(spawn.coords.GetPosition());
    ASSERT_GE(route.size(), 2u);

    // Far from the first: one reach closer to it, on the ground.
    std::optional<HostClick> click = driver.Next(*player, 1, 0);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->target, 0u);
    EXPECT_EQ(click->region, "Meadow");
    const WorldVec3 from = player->GetPosition();
    const WorldVec3 clicked(meadow, click->point);
    const Vec3 step = clicked.local - from.local;
    EXPECT_NEAR(Vec3(step.x, 0.0f, step.z).Length(), ClickDriver::kGroundClickReach, 0.5f);
    EXPECT_NEAR(clicked.DistanceTo(route[0]),
                from.DistanceTo(route[0]) - ClickDriver::kGroundClickReach, 0.5f);

    // Standing on it: on to the next one.
    WorldCoords there = player->GetCoords();
    there.coords.origin = route[0].local + Vec3(1.0f, 0.0f, 0.0f);
    World::Get().SetCoords(player, there);
    click = driver.Next(*player, 2, 1000);
    ASSERT_TRUE(click);
    const WorldVec3 next(meadow, click->point);
    EXPECT_LT(next.DistanceTo(route[1]), player->GetPosition().DistanceTo(route[1]));
}

}  // namespace
}  // namespace GAME::test
