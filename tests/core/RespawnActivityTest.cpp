// Respawns over frames of game time: a client's respawn completes only once both its own and the
// server's loads are done; a server's own respawn keeps the screen dark to the next whole second
// of loading; a player who vanishes mid-respawn gives the screen back.
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsCanvas.h"
#include "Engine/world/World.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/activities/RespawnActivity.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr int kRespawnFrameMs = 50;

// Four unloaded regions around the origin; the destination lies in the first.
WorldVec3 AddUnloadedRegions() {
    World& world = World::Get();
    Region* first = nullptr;
    for (int i = 0; i < 4; ++i) {
        auto region = std::make_unique<Region>("R" + std::to_string(i),
                                               Vec3(100.0f * (i % 2), 0.0f, 100.0f * (i / 2)),
                                               Vec3(100, 100, 100));
        region->SetLoaded(false);
        Region* added = world.AddRegion(std::move(region));
        if (!first)
            first = added;
    }
    return WorldVec3(first, Vec3(50, 0, 50));
}

RespawnActivity* FindRespawn(std::uint32_t player) {
    ActivityManager* manager = ActivityManager::Get();
    for (std::uint32_t id = 1; id < 64; ++id)
        if (auto* respawn = dynamic_cast<RespawnActivity*>(manager->GetActivity(id)))
            if (respawn->GetPlayerId() == player)
                return respawn;
    return nullptr;
}

class RespawnOverNetwork : public ::testing::Test {
protected:
    RespawnOverNetwork() : game(1) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            destination = AddUnloadedRegions();
            MakePlayer(kClientPlayer, L"Client", 4);
            MakePlayer(kServerPlayer, L"Server", 4);
        }
        ON_MACHINE(game.Client(0)) {
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kClientPlayer);
        }
        ON_MACHINE(game.Server()) {
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kServerPlayer);
        }
    }
    ~RespawnOverNetwork() override { game.OnEach(ShutdownObjects); }

    // One frame of every machine's root; the server's only while it runs.
    void Frames(int count, bool serverRuns) {
        game.RunFrames(count, kRespawnFrameMs, [&](TestMachine&, int index) {
            if (index != 0 || serverRuns)
                gGameEngine->Update(kRespawnFrameMs);
        });
    }

    static constexpr std::uint32_t kClientPlayer = PlayerId(1, 0x301);
    static constexpr std::uint32_t kServerPlayer = PlayerId(0, 0x300);
    NetTestGame game;
    WorldVec3 destination;
};

TEST_F(RespawnOverNetwork, ClientCompletesOnlyWhenBothMachinesHaveLoaded) {
    std::uint32_t id = 0;
    ON_MACHINE(game.Client(0)) {
        id = gGameEngine->StartRespawnForLocalPlayer(
            WorldVec3(World::Get().GetRegion("R0"), destination.local));
        EXPECT_NE(id, 0u);
        EXPECT_TRUE(gGameEngine->IsMouseLocked());
    }
    // The server is asked at once and loads along under the client's player id.
    game.Pump();
    ON_MACHINE(game.Server()) {
        ASSERT_NE(gGameEngine->FindNRLoader(kClientPlayer), nullptr);
        EXPECT_EQ(gGameEngine->FindNRLoader(kServerPlayer), nullptr);
    }

    // The server is busy: the client loads its own regions but stays in the dark.
    Frames(80, false);
    ON_MACHINE(game.Client(0)) {
        const RespawnActivity* respawn = FindRespawn(kClientPlayer);
        ASSERT_NE(respawn, nullptr);
        EXPECT_EQ(respawn->GetState(), RespawnActivity::Loading);
        EXPECT_FALSE(respawn->IsComplete());
        EXPECT_EQ(respawn->GetLoader()->GetLocalState(), NRLoaderState_Done);
        EXPECT_NE(respawn->GetLoader()->GetRemoteState(), NRLoaderState_Done);
        EXPECT_TRUE(World::Get().GetRegion("R0")->IsLevelLoaded());
        EXPECT_TRUE(gEngine->IsTeleportMode());
        EXPECT_FALSE(gGameEngine->IsRenderingEnabled());
        EXPECT_TRUE(gGameEngine->NeedsSleep());
        EXPECT_TRUE(gGameEngine->IsDeathLoaderActive(id));
    }
    ON_MACHINE(game.Server()) {
        EXPECT_FALSE(World::Get().GetRegion("R0")->IsLevelLoaded());
        // Its loader heard the client's progress already.
        EXPECT_EQ(gGameEngine->FindNRLoader(kClientPlayer)->GetRemoteState(),
                  static_cast<std::uint32_t>(NRLoaderState_Done));
    }

    // The server runs again: the client completes a whole second after the server's report.
    int serverDoneFrame = -1, bothDoneFrame = -1, completeFrame = -1, finishedFrame = -1;
    for (int frame = 0; frame < 200 && finishedFrame < 0; ++frame) {
        Frames(1, true);
        ON_MACHINE(game.Server()) {
            const RespawnActivity* serverSide = FindRespawn(kClientPlayer);
            const NetworkRegionLoaderBase* loader = serverSide ? serverSide->GetLoader() : nullptr;
            if (serverDoneFrame < 0 && loader && loader->GetLocalState() == NRLoaderState_Done)
                serverDoneFrame = frame;
            // The server's own screen is never touched by a client's respawn.
            EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
            EXPECT_FALSE(gEngine->IsTeleportMode());
        }
        ON_MACHINE(game.Client(0)) {
            const RespawnActivity* respawn = FindRespawn(kClientPlayer);
            if (bothDoneFrame < 0 && respawn && respawn->GetLoader()->IsDone())
                bothDoneFrame = frame;
            if (completeFrame < 0 && respawn && respawn->IsComplete()) {
                completeFrame = frame;
                EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
                EXPECT_FALSE(gEngine->IsTeleportMode());
            }
            if (!gGameEngine->IsDeathLoaderActive(id))
                finishedFrame = frame;
        }
    }
    ASSERT_GE(serverDoneFrame, 0);
    // The server's report reaches the client with the delivery that ends the same frame.
    ASSERT_EQ(bothDoneFrame, serverDoneFrame);
    // Then the screen stays dark to the next whole second of loading, at most one more second.
    ASSERT_GT(completeFrame, bothDoneFrame);
    EXPECT_LE((completeFrame - bothDoneFrame) * kRespawnFrameMs, RespawnActivity::kLoadingCycleMs);
    // The fade back takes a second after the hold frame.
    ASSERT_GT(finishedFrame, completeFrame);
    EXPECT_GE((finishedFrame - completeFrame) * kRespawnFrameMs, 1000);
    ON_MACHINE(game.Client(0)) {
        EXPECT_FALSE(gGameEngine->NeedsSleep());
        EXPECT_FALSE(gGameEngine->IsMouseLocked());
        EXPECT_EQ(gGameEngine->FindNRLoader(kClientPlayer), nullptr);
    }
    Frames(60, true);
    ON_MACHINE(game.Server()) {
        EXPECT_TRUE(World::Get().GetRegion("R0")->IsLevelLoaded());
        EXPECT_EQ(FindRespawn(kClientPlayer), nullptr);
        EXPECT_EQ(gGameEngine->FindNRLoader(kClientPlayer), nullptr);
    }
}

// A second death while the first respawn still clears the screen: the reports of the new load
// reach the new loaders, not the finished ones.
TEST_F(RespawnOverNetwork, RespawnRightAfterARespawnCompletesToo) {
    std::uint32_t first = 0, second = 0;
    ON_MACHINE(game.Client(0)) {
        first = gGameEngine->StartRespawnForLocalPlayer(destination);
    }
    for (int frame = 0; frame < 200 && !second; ++frame) {
        Frames(1, true);
        ON_MACHINE(game.Client(0)) {
            const auto* respawn =
                static_cast<RespawnActivity*>(ActivityManager::Get()->GetActivity(first));
            if (respawn && respawn->IsComplete())
                second = gGameEngine->StartRespawnForLocalPlayer(destination);
        }
    }
    ASSERT_NE(second, 0u);
    bool secondComplete = false;
    for (int frame = 0; frame < 200 && !secondComplete; ++frame) {
        Frames(1, true);
        ON_MACHINE(game.Client(0)) {
            const auto* respawn =
                static_cast<RespawnActivity*>(ActivityManager::Get()->GetActivity(second));
            secondComplete = respawn && respawn->IsComplete();
        }
    }
    EXPECT_TRUE(secondComplete);
}

TEST_F(RespawnOverNetwork, ServerOwnRespawnStaysDarkToTheNextWholeSecond) {
    std::uint32_t id = 0;
    ON_MACHINE(game.Server()) {
        id = gGameEngine->StartRespawnForLocalPlayer(destination);
    }
    game.Pump();
    // No client loads for the server's own player; its reports only inform the clients.
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(gGameEngine->FindNRLoader(kServerPlayer), nullptr);
    }
    GraphicsCanvas canvas(800, 600);
    int loadingMs = 0, completeAt = -1;
    bool sawPie = false;
    ON_MACHINE(game.Server()) {
        for (int frame = 0; frame < 200 && gGameEngine->IsDeathLoaderActive(id); ++frame) {
            gEngine->AdvanceFrame(kRespawnFrameMs);
            gGameEngine->Update(kRespawnFrameMs);
            const RespawnActivity* respawn = FindRespawn(kServerPlayer);
            if (!respawn)
                break;
            if (respawn->GetState() == RespawnActivity::Loading) {
                loadingMs += kRespawnFrameMs;
                canvas.Clear();
                ActivityManager::Get()->Render(canvas);
                ASSERT_FALSE(canvas.GetRects().empty());
                EXPECT_FLOAT_EQ(canvas.GetRects().front().color.a, 1.0f);
                EXPECT_FLOAT_EQ(canvas.GetRects().front().rect.width, 800.0f);
                sawPie = sawPie || !canvas.GetPictures().empty();
            }
            if (completeAt < 0 && respawn->IsComplete())
                completeAt = loadingMs;
        }
        EXPECT_FALSE(gGameEngine->IsDeathLoaderActive(id));
        EXPECT_FALSE(gGameEngine->NeedsSleep());
        EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
    }
    // Loaded within the first frames of loading, yet dark until a whole second has passed.
    EXPECT_TRUE(sawPie);
    EXPECT_GE(completeAt + kRespawnFrameMs, RespawnActivity::kLoadingCycleMs);
    EXPECT_LE(completeAt, RespawnActivity::kLoadingCycleMs + kRespawnFrameMs);
}

TEST_F(RespawnOverNetwork, VanishedPlayerGivesTheScreenBack) {
    std::uint32_t id = 0;
    ON_MACHINE(game.Server()) {
        id = gGameEngine->StartRespawnForLocalPlayer(destination);
        for (int frame = 0; frame < 24; ++frame)
            gGameEngine->Update(kRespawnFrameMs);
        ASSERT_EQ(FindRespawn(kServerPlayer)->GetState(), RespawnActivity::Loading);
        ASSERT_FALSE(gGameEngine->IsRenderingEnabled());
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        objects.DestroyObject(objects.GetObject(kServerPlayer));
        gGameEngine->Update(kRespawnFrameMs);
        const RespawnActivity* respawn = FindRespawn(kServerPlayer);
        ASSERT_NE(respawn, nullptr);
        EXPECT_EQ(respawn->GetState(), RespawnActivity::FadingIn);
        EXPECT_FALSE(respawn->IsComplete());
        EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
        EXPECT_FALSE(gEngine->IsTeleportMode());
        for (int frame = 0; frame < 30; ++frame)
            gGameEngine->Update(kRespawnFrameMs);
        EXPECT_FALSE(gGameEngine->IsDeathLoaderActive(id));
        EXPECT_FALSE(gGameEngine->NeedsSleep());
    }
}

TEST_F(RespawnOverNetwork, LeavingPlayMidRespawnRestoresTheScreen) {
    ON_MACHINE(game.Client(0)) {
        gGameEngine->StartRespawnForLocalPlayer(destination);
        for (int frame = 0; frame < 30; ++frame)
            gGameEngine->Update(kRespawnFrameMs);
        ASSERT_FALSE(gGameEngine->IsRenderingEnabled());
        gGameEngine->ExitPlayingMode();
        EXPECT_TRUE(gGameEngine->IsRenderingEnabled());
        EXPECT_FALSE(gEngine->IsTeleportMode());
        EXPECT_FALSE(gGameEngine->NeedsSleep());
        EXPECT_FALSE(gGameEngine->IsMouseLocked());
        EXPECT_EQ(gGameEngine->FindNRLoader(kClientPlayer), nullptr);
    }
}

}  // namespace
}  // namespace GAME::test
