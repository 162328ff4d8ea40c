// A request to create an item, carried out alike on every machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/ItemNetworkCreation.h"
#include "ItemTestSupport.h"
#include "support/NetTestGame.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

struct Drop {
    WorldCoords where;
    Vec3 linear, angular;
    int physics = 0;
    bool inWorld = false;
    bool found = false;  // by the world's own query
};

Drop DropOn(TestMachine& machine, std::uint32_t seed) {
    Drop drop;
    ON_MACHINE(machine) {
        Region* region = World::Get().AddRegion(std::make_unique<Region>("Vale"));
        WorldCoords where(region, Coords::FromOrigin(Vec3(10.0f, 0.0f, -4.0f)));
        ItemReplicaInfo record = Record("Records/Items/PlainRing.dbr", seed);
        record.objectId = 500;
        Item* item = CreateItemFromRequest(0, where, record, nullptr);
        if (!item)
            continue;
        std::vector<Entity*> near;
        World::Get().GetEntitiesInSphere(near, region, Sphere{Vec3(10.0f, 0.0f, -4.0f), 3.0f});
        drop = {
            item->GetCoords(),          item->GetLinearVelocity(),
            item->GetAngularVelocity(), item->GetPhysicsType(),
            item->IsInWorld(),          std::find(near.begin(), near.end(), item) != near.end()};
        EXPECT_EQ(item->GetObjectId(), 500u);
    }
    return drop;
}

TEST(ItemNetworkCreationTest, ADroppedItemLandsWithTheSameOffsetAndSpinOnEveryMachine) {
    TestMachine server, client;
    const Drop a = DropOn(server, 1234);
    const Drop b = DropOn(client, 1234);
    // It lies in the engine's world: queries find it and the frame updates it.
    ASSERT_TRUE(a.inWorld);
    EXPECT_TRUE(a.found);
    EXPECT_EQ(a.where.coords, b.where.coords);
    EXPECT_EQ(a.angular, b.angular);
    EXPECT_EQ(a.physics, 2);
    // Half a unit out on a circle, one unit up.
    const Vec3 offset = a.where.coords.origin - Vec3(10.0f, 0.0f, -4.0f);
    EXPECT_NEAR(offset.x * offset.x + offset.z * offset.z, 0.25f, 1e-5f);
    EXPECT_FLOAT_EQ(offset.y, 1.0f);
    // Thrown along the third axis of the placement, lifted by 4.
    EXPECT_EQ(a.linear, Vec3(0.0f, 4.0f, 1.0f));
    for (float spin : {a.angular.x, a.angular.y, a.angular.z}) {
        EXPECT_GE(spin, -8.0f);
        EXPECT_LT(spin, 8.0f);
    }
    EXPECT_NE(a.angular.x, a.angular.y);
    // The rotation about the vertical keeps the frame upright.
    EXPECT_NEAR(a.where.coords.yAxis.y, 1.0f, 1e-6f);

    TestMachine other;
    const Drop c = DropOn(other, 999);
    EXPECT_NE(c.where.coords, a.where.coords);
}

TEST(ItemNetworkCreationTest, AnItemForAMissingCharacterIsDestroyedWithALogLine) {
    TestMachine machine;
    ItemReplicaInfo record = Record("Records/Items/PlainRing.dbr", 3);
    record.objectId = 321;
    std::wstring name;
    EXPECT_EQ(CreateItemFromRequest(9999, WorldCoords(), record, &name), nullptr);
    EXPECT_EQ(machine.CountLog("Unable to resolve character (9999) to give item (321)"), 1);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(321), nullptr);
    EXPECT_EQ(CreateItemFromRequest(0, WorldCoords(), Record("Records/Items/Nothing.dbr"), nullptr),
              nullptr);
}

TEST(ItemNetworkCreationTest, AServersDropReachesTheClientAsTheSameItemAndAClientMayNotAskForOne) {
    NetTestGame game(1);
    ON_MACHINE(game.Server()) {
        InitializeObjects();
        gGameEngine->SetAsNetworkServer();
    }
    ON_MACHINE(game.Client(0)) {
        InitializeObjects();
        gGameEngine->SetAsNetworkClient();
    }
    const WorldCoords where(nullptr, Coords::FromOrigin(Vec3(3.0f, 0.0f, 2.0f)));
    ItemReplicaInfo record = Record("Records/Items/PlainRing.dbr", 4321);
    record.objectId = 900;
    ON_MACHINE(game.Server()) {
        gGameEngine->CreateItem(where, record);
    }
    game.Pump();
    WorldCoords expected;
    TestMachine single;
    ON_MACHINE(single) {
        InitializeObjects();
        gGameEngine->CreateItem(where, record);  // single player: at once
        Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(900);
        ASSERT_NE(item, nullptr);
        expected = item->GetCoords();
        ShutdownObjects();
    }
    ON_MACHINE(game.Client(0)) {
        Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(900);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetCoords(), expected);
        EXPECT_EQ(item->GetReplicaInfo(), record);

        ItemReplicaInfo asked = Record("Records/Items/PlainRing.dbr", 1);
        asked.objectId = 901;
        gGameEngine->CreateItem(where, asked);
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(901), nullptr);
    }
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ShutdownObjects();
        }
}

}  // namespace
}  // namespace GAME::test
