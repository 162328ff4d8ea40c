// Map markers, respawn shrines and teleport shrines: discovered by the local player walking near
// them, they follow what that player knows; the respawn point the player last bound is where it
// comes back.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/world/strategic/StrategicMovementKinds.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kTraveller = PlayerId(0, 0x322);

class StrategicMovement : public ::testing::Test {
protected:
    StrategicMovement() {
        region = World::Get().AddRegion(std::make_unique<Region>("Vale"));
        player = MakePlayer(kTraveller, L"Traveller", 4);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kTraveller);
        player->SetIsControllingCharacter(true);
        Put(player, Vec3(50.0f, 0.0f, 50.0f));
    }

    template <class T>
    T* Make(const char* record, std::uint32_t uid, const Vec3& at) {
        auto* object = Singleton<ObjectManager>::Get().CreateObjectFromFile<T>(record);
        if (!object)
            return nullptr;
        object->SetUniqueId(UniqueId(uid, 0, 0, 1));
        World::Get().AddEntity(object, WorldCoords(region, Coords::FromOrigin(at)), true);
        object->InitialUpdate();
        return object;
    }
    void Put(Entity* entity, const Vec3& at) {
        World::Get().RemoveEntity(entity);
        World::Get().AddEntity(entity, WorldCoords(region, Coords::FromOrigin(at)), true);
    }
    // One frame of game time for each object.
    static void Frame(std::initializer_list<StrategicMovementBase*> objects, int ms) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(ms));
        for (StrategicMovementBase* object : objects)
            object->UpdateSelf(ms);
    }

    TestMachine machine;
    RunningGame game;
    Region* region = nullptr;
    Player* player = nullptr;
};

TEST_F(StrategicMovement, AMarkerIsDiscoveredOnceByWalkingNearIt) {
    auto* marker = Make<StrategicMovementMarker>("Records/Fixed/Marker.dbr", 7, Vec3());
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->GetState(), StrategicMovementState_Dormant);
    Frame({marker}, 100);
    EXPECT_EQ(marker->GetState(), StrategicMovementState_Dormant);  // far away
    Put(player, Vec3(1.0f, 0.0f, 1.0f));
    Frame({marker}, 100);
    EXPECT_EQ(marker->GetState(), StrategicMovementState_Active);
    EXPECT_TRUE(player->IsMarkerUIDKnown(marker->GetUniqueId()));
    EXPECT_EQ(player->GetMarkerUIDs().size(), 1u);
    Frame({marker}, 300);
    EXPECT_EQ(player->GetMarkerUIDs().size(), 1u);
    EXPECT_EQ(marker->GetState(), StrategicMovementState_Active);
}

TEST_F(StrategicMovement, TheLastRespawnShrineBoundIsWhereThePlayerComesBack) {
    auto* first = Make<StrategicMovementRespawnShrine>("Records/Fixed/RespawnShrine.dbr", 1,
                                                       Vec3(0.0f, 0.0f, 0.0f));
    auto* second = Make<StrategicMovementRespawnShrine>("Records/Fixed/RespawnShrine.dbr", 2,
                                                        Vec3(20.0f, 0.0f, 0.0f));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const Vec3 spawn = player->GetClosestRespawnPoint().coords.origin;
    EXPECT_EQ(spawn.x, player->GetSpawnPoint().coords.origin.x);  // none bound yet

    Put(player, Vec3(1.0f, 0.0f, 0.0f));
    Frame({first, second}, 100);
    EXPECT_EQ(first->GetState(), StrategicMovementState_Active);
    EXPECT_EQ(player->GetClosestRespawnPoint().coords.origin.x, 0.0f);

    // Bound to the second, the first falls back to dormant at its next re-check.
    Put(player, Vec3(21.0f, 0.0f, 0.0f));
    Frame({first, second}, 100);
    EXPECT_EQ(second->GetState(), StrategicMovementState_Active);
    EXPECT_EQ(player->GetClosestRespawnPoint().coords.origin.x, 20.0f);
    Frame({first, second}, StrategicMovementBase::kRecheckMs);
    EXPECT_EQ(first->GetState(), StrategicMovementState_Dormant);

    // A known shrine is not bound again by walking past; a use binds it.
    Put(player, Vec3(1.0f, 0.0f, 0.0f));
    Frame({first, second}, 100);
    EXPECT_EQ(first->GetState(), StrategicMovementState_Dormant);
    first->RequestToUse(kTraveller);
    EXPECT_EQ(first->GetState(), StrategicMovementState_Active);
    EXPECT_EQ(player->GetClosestRespawnPoint().coords.origin.x, 0.0f);
}

// Another machine's player standing at a shrine is bound on this machine too (so it respawns at
// the same place everywhere); the shrine still looks as this machine's own player knows it.
TEST_F(StrategicMovement, AnotherMachinesPlayerIsBoundHereWithoutWakingTheShrine) {
    auto* shrine = Make<StrategicMovementRespawnShrine>("Records/Fixed/RespawnShrine.dbr", 4,
                                                        Vec3(0.0f, 0.0f, 0.0f));
    ASSERT_NE(shrine, nullptr);
    Player* other = MakePlayer(PlayerId(1, 0x323), L"Other", 4);
    Put(other, Vec3(1.0f, 0.0f, 0.0f));
    Frame({shrine}, 100);
    EXPECT_TRUE(other->IsCurrentRespawnPoint(shrine->GetUniqueId()));
    EXPECT_EQ(other->GetClosestRespawnPoint().coords.origin.x, 0.0f);
    EXPECT_EQ(shrine->GetState(), StrategicMovementState_Dormant);
    EXPECT_FALSE(player->IsCurrentRespawnPoint(shrine->GetUniqueId()));
}

TEST_F(StrategicMovement, ARespawnShrineHealsThoseStandingAtItOnceASecond) {
    auto* shrine = Make<StrategicMovementRespawnShrine>("Records/Fixed/RespawnShrine.dbr", 3,
                                                        Vec3(0.0f, 0.0f, 0.0f));
    ASSERT_NE(shrine, nullptr);
    Put(player, Vec3(1.0f, 0.0f, 0.0f));
    const float before = player->GetCurrentLife();
    Frame({shrine}, 100);  // the first heal comes at once
    const float healed = player->GetCurrentLife();
    EXPECT_GT(healed, before);
    test::SetLife(*player, 10.0f, 100.0f);
    Frame({shrine}, 500);
    EXPECT_EQ(player->GetCurrentLife(), 10.0f);  // not yet a second
    Frame({shrine}, 500);
    EXPECT_GT(player->GetCurrentLife(), 10.0f);

    // A fallen character is healed no more.
    test::SetLife(*player, 0.0f, 100.0f);
    player->SetLifeState(Character_LifeState::Dead);
    Frame({shrine}, 1000);
    EXPECT_EQ(player->GetCurrentLife(), 0.0f);
}

TEST_F(StrategicMovement, WithoutALocalPlayerEveryKindWaitsUndetermined) {
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(0);
    auto* teleport =
        Make<StrategicMovementTeleportShrine>("Records/Fixed/TeleportShrine.dbr", 4, Vec3());
    ASSERT_NE(teleport, nullptr);
    EXPECT_EQ(teleport->GetState(), StrategicMovementState_Undetermined);
    Frame({teleport}, 100);
    EXPECT_EQ(teleport->GetState(), StrategicMovementState_Undetermined);
    // An object whose unique id names nothing in the world is not part of the map.
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kTraveller);
    auto* loose = Singleton<ObjectManager>::Get().CreateObjectFromFile<StrategicMovementBase>(
        "Records/Fixed/TeleportShrine.dbr");
    ASSERT_NE(loose, nullptr);
    loose->InitialUpdate();
    EXPECT_EQ(loose->GetState(), StrategicMovementState_NoMapData);
    EXPECT_FALSE(loose->IsOfInterest());
}

}  // namespace
}  // namespace GAME::test
