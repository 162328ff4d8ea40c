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

// Loot in reach beats a foe: the nearest item in reach that may be picked up, equal distances going
// to the item made first (whatever order the items entered the world in).
TEST_F(ClickDriverTest, ClicksTheNearestItemInReachTiesToTheOlder) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const auto ring = [&] {
        return objects.CreateObjectFromFile<Item>("Records/Items/Armor/SilverRing.dbr");
    };
    const Vec3 from = player->GetPosition().local;
    const auto lay = [&](Item* item, float x, float z) {
        World::Get().AddEntity(item, WorldCoords(meadow, Coords::FromOrigin(Vec3(x, from.y, z))),
                               true);
    };
    Make(Team::Monster, from.x + 5.0f, from.z);
    Item* older = ring();
    Item* younger = ring();
    Item* nearest = ring();
    Item* held = ring();
    Item* far = ring();
    lay(younger, from.x, from.z + 2.0f);
    lay(older, from.x, from.z - 2.0f);
    lay(far, from.x + 2.9f, from.z + 2.9f);  // 4.1 m: beyond reach
    lay(nearest, from.x + 1.0f, from.z);
    lay(held, from.x + 0.5f, from.z);
    held->SetPickupOk(false);
    struct Step {
        Item* taken;            // leaves the world before the click
        std::uint32_t clicked;  // 0: the foe
    };
    const Step steps[] = {{nullptr, nearest->GetObjectId()},
                          {nearest, older->GetObjectId()},
                          {older, younger->GetObjectId()},
                          {younger, 0}};
    std::uint64_t time = 0;
    for (const Step& step : steps) {
        if (step.taken)
            World::Get().RemoveEntity(step.taken);
        std::optional<HostClick> click = driver.Next(*player, 1, time);
        time += ClickDriver::kIntervalMs;
        ASSERT_TRUE(click);
        if (step.clicked)
            EXPECT_EQ(click->target, step.clicked);
        else
            EXPECT_FALSE(objects.GetObject<Item>(click->target));
    }
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
