// Region loaders: the engine's load of the regions a view reaches, the root's registry by
// player id, and the server's teleport loader with its hold and listeners.
#include <gtest/gtest.h>

#include <algorithm>

#include "Engine/media/ResourceLoader.h"
#include "Engine/world/RegionLoader.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class RegionLoaders : public ::testing::Test {
protected:
    RegionLoaders() {
        InitializeObjects();
        for (int i = 0; i < 3; ++i) {
            auto region = std::make_unique<Region>("L" + std::to_string(i), Vec3(100.0f * i, 0, 0),
                                                   Vec3(100, 100, 100));
            region->SetLoaded(false);
            regions.push_back(World::Get().AddRegion(std::move(region)));
        }
        // Far away: no view near the first regions reaches it.
        far = World::Get().AddRegion(
            std::make_unique<Region>("Far", Vec3(100000, 0, 0), Vec3(100, 100, 100)));
        far->SetLoaded(false);
    }
    ~RegionLoaders() override { ShutdownObjects(); }

    TestMachine machine;
    std::vector<Region*> regions;
    Region* far = nullptr;
};

TEST_F(RegionLoaders, ViewBoxHoldsTheTargetAndLoadsOneRegionPerFrame) {
    const WorldVec3 target(regions[1], Vec3(50, 0, 50));
    WorldFrustum frustum;
    gGameEngine->GetFrustumForPlayer(frustum, target);
    ABBox box;
    ASSERT_TRUE(GetFrustumWorldBounds(frustum, box));
    const Vec3 world = target.GetWorldPosition();
    EXPECT_TRUE(box.min.x <= world.x && world.x <= box.max.x);
    EXPECT_TRUE(box.min.z <= world.z && world.z <= box.max.z);
    std::vector<Region*> reached;
    GetRegionsInBox(World::Get(), InflateBox(box, GetLevelLoadInflation()), reached);
    EXPECT_NE(std::find(reached.begin(), reached.end(), regions[1]), reached.end());
    EXPECT_EQ(std::find(reached.begin(), reached.end(), far), reached.end());

    RegionLoader loader(World::Get(), regions, ResourceLoader::Get(), 1);
    regions[1]->SetLoaded(true);  // already loaded: skipped, takes no frame
    loader.Update();
    EXPECT_TRUE(regions[0]->IsLevelLoaded());
    EXPECT_FALSE(loader.GetIsDone());
    loader.Update();
    EXPECT_TRUE(regions[2]->IsLevelLoaded());
    EXPECT_TRUE(loader.GetIsDone());
}

TEST_F(RegionLoaders, RegistryRoutesReportsToTheFirstLoaderOfAPlayer) {
    GameEngine& root = *gGameEngine;
    const WorldVec3 where(regions[0], Vec3(10, 0, 10));
    {
        NetworkRegionLoaderBase first;
        NetworkRegionLoaderBase second;
        first.Register(where, 7);
        second.Register(where, 7);
        EXPECT_EQ(root.FindNRLoader(7), &first);
        root.StoC_HandleNRLoaderStateChangeInbound(7, NRLoaderState_Done);
        EXPECT_TRUE(first.IsDone());
        EXPECT_FALSE(second.IsDone());
        // A report for an id without a loader changes nothing.
        root.StoC_HandleNRLoaderStateChangeInbound(8, NRLoaderState_Done);
        EXPECT_EQ(second.GetRemoteState(), 0u);
        // Registering again moves the loader, leaving no stale entry behind.
        first.Register(where, 9);
        EXPECT_EQ(root.FindNRLoader(7), &second);
        EXPECT_EQ(root.FindNRLoader(9), &first);
    }
    EXPECT_EQ(root.FindNRLoader(7), nullptr);
    EXPECT_EQ(root.FindNRLoader(9), nullptr);

    // The root's own loaders: single player is a server, the main player (none: 0) aside.
    NetworkRegionLoaderBase* made = root.CreateNetworkLoaderInbound(5, where);
    EXPECT_NE(dynamic_cast<TeleportLoader*>(made), nullptr);
    EXPECT_EQ(root.FindNRLoader(5), made);
    root.DestroyNetworkLoader(made);
    EXPECT_EQ(root.FindNRLoader(5), nullptr);
    root.DestroyNetworkLoader(nullptr);
}

struct CountingListener : TeleportLoaderListener {
    int calls = 0;
    bool releaseOnCall = false;
    void OnRegionsLoaded(TeleportLoader& loader) override {
        ++calls;
        if (releaseOnCall)
            loader.Release();
    }
};

TEST_F(RegionLoaders, HeldTeleportLoaderWaitsForBothSidesAndItsRelease) {
    TeleportLoader loader;
    CountingListener listener;
    loader.AddListener(&listener);
    loader.Hold();
    loader.Register(WorldVec3(regions[0], Vec3(50, 0, 50)), 3);
    for (int i = 0; i < 10; ++i)
        loader.Update();
    // Loaded here, but the peer has not reported: no listener yet.
    EXPECT_TRUE(regions[0]->IsLevelLoaded());
    EXPECT_EQ(listener.calls, 0);
    EXPECT_EQ(loader.GetLocalState(), static_cast<std::uint32_t>(NRLoaderState_Loading));
    loader.SetRemoteState(NRLoaderState_Done);
    for (int i = 0; i < 5; ++i)
        loader.Update();
    // Both done, still held: listeners once, no report of done.
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(loader.GetLocalState(), static_cast<std::uint32_t>(NRLoaderState_Loading));
    EXPECT_FALSE(loader.IsDone());
    loader.Release();
    loader.Update();
    EXPECT_TRUE(loader.IsDone());
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(RegionLoaders, DestinationInNoRegionWaitsForThePeerWithoutFailing) {
    NetworkLoader loader;
    loader.Register(WorldVec3(nullptr, Vec3(5, 5, 5)), 4);
    loader.Update();
    loader.Update();
    EXPECT_EQ(loader.GetRegionLoader(), nullptr);
    EXPECT_FALSE(loader.IsDone());
    EXPECT_EQ(machine.CountLog("lies in no region"), 1);
    loader.SetRemoteState(NRLoaderState_Done);
    EXPECT_TRUE(loader.IsDone());
}

}  // namespace
}  // namespace GAME::test
