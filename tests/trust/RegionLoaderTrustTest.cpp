// A hostile client against teleports and respawn loading: it may report loading progress, move
// and ask for a server respawn only for its own player, with a state that exists, a finite position
// and one load at a time. The honest client's respawn goes on untouched.
#include <gtest/gtest.h>

#include <limits>

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/activities/RespawnActivity.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr int kFrameMs = 50;

class HostileLoaderClient : public ::testing::Test {
protected:
    HostileLoaderClient() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            auto region = std::make_unique<Region>("Spawn", Vec3(), Vec3(100, 100, 100));
            region->SetLoaded(false);
            World::Get().AddRegion(std::move(region));
            MakePlayer(kHostile, L"Hostile", 4);
            MakePlayer(kHonest, L"Honest", 4);
        }
        ON_MACHINE(game.Client(0)) {
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kHostile);
        }
        ON_MACHINE(game.Client(1)) {
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kHonest);
        }
    }
    ~HostileLoaderClient() override { game.OnEach(ShutdownObjects); }

    static WorldVec3 Spawn() { return WorldVec3(World::Get().GetRegion("Spawn"), Vec3(50, 0, 50)); }
    template <class F>
    void Hostile(F f) {
        ON_MACHINE(game.Client(0)) {
            f(*gGameEngine->GetNetworkInterface());
        }
        game.Pump();
    }
    std::size_t ServerActivities() {
        std::size_t count = 0;
        ON_MACHINE(game.Server()) {
            count = ActivityManager::Get()->GetActiveCount() +
                    ActivityManager::Get()->GetPendingCount();
        }
        return count;
    }

    static constexpr std::uint32_t kHostile = PlayerId(1, 0x301);
    static constexpr std::uint32_t kHonest = PlayerId(2, 0x302);
    NetTestGame game;
};

TEST_F(HostileLoaderClient, ActsOnlyForItsOwnPlayerWithValidValues) {
    std::uint32_t honestRespawn = 0;
    ON_MACHINE(game.Client(1)) {
        honestRespawn = gGameEngine->StartRespawnForLocalPlayer(Spawn());
    }
    game.Pump();
    ASSERT_EQ(ServerActivities(), 1u);

    // Another player's progress and another player's respawn are refused.
    Hostile([](GameEngineNetworkInterface& net) {
        net.HandleNRLoaderStateChange(kHonest, NRLoaderState_Done);
        net.CtoS_StartServerRespawn(kHonest, Spawn());
    });
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->FindNRLoader(kHonest)->GetRemoteState(), 0u);
        EXPECT_EQ(game.Server().CountLog("refused HandleNRLoaderStateChange from host 1"), 1);
        EXPECT_EQ(game.Server().CountLog("refused CtoS_StartServerRespawn from host 1"), 1);
    }
    EXPECT_EQ(ServerActivities(), 1u);

    // Its own player, but a position that is no number, then a state that does not exist.
    Hostile([](GameEngineNetworkInterface& net) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        net.CtoS_StartServerRespawn(kHostile, WorldVec3(nullptr, Vec3(nan, 0, 0)));
    });
    EXPECT_EQ(ServerActivities(), 1u);
    Hostile([](GameEngineNetworkInterface& net) {
        net.CtoS_StartServerRespawn(kHostile, Spawn());
        net.CtoS_StartServerRespawn(kHostile, Spawn());
        net.HandleNRLoaderStateChange(kHostile, 7);
    });
    // One load at a time: the second ask is refused while the first loads.
    EXPECT_EQ(ServerActivities(), 2u);

    // Teleports: not another's player, not to no place or beyond the world, not while its own
    // respawn loads.
    Hostile([](GameEngineNetworkInterface& net) {
        net.StartTeleport(kHonest, 50, 0, 50);
        net.StartTeleport(kHostile, std::numeric_limits<float>::infinity(), 0, 0);
        net.StartTeleport(kHostile, 3.0e9f, 0, 0);
        net.StartTeleport(kHostile, 50, 0, 50);
    });
    EXPECT_EQ(ServerActivities(), 2u);
    ON_MACHINE(game.Server()) {
        EXPECT_GE(game.Server().CountLog("refused StartTeleport from host 1"), 1);
    }
    ON_MACHINE(game.Client(1)) {
        ActivityManager::Get()->Update(0);
        EXPECT_EQ(ActivityManager::Get()->GetActiveCount(), 1u);
    }
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->FindNRLoader(kHostile)->GetRemoteState(), 0u);
    }

    // The honest respawn runs to its end on both machines.
    bool honestDone = false;
    for (int frame = 0; frame < 200 && !honestDone; ++frame) {
        game.RunFrames(1, kFrameMs, [](TestMachine&, int) { gGameEngine->Update(kFrameMs); });
        ON_MACHINE(game.Client(1)) {
            honestDone = !gGameEngine->IsDeathLoaderActive(honestRespawn);
        }
    }
    EXPECT_TRUE(honestDone);
    ON_MACHINE(game.Client(1)) {
        EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
    }
}

}  // namespace
}  // namespace GAME::test
