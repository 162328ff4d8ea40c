// Level files: regions, ground, spawn points, placed entities, the navigation cache and bad
// input.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class SampleLevel : public ::testing::Test {
protected:
    SampleLevelCopy copy;
    TestMachine tm{copy.Root().string()};
};

TEST_F(SampleLevel, LoadsRegionsSpawnPointsAndPlacedEntities) {
    World& world = World::Get();
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    ASSERT_EQ(world.GetRegions().size(), 2u);
    Region* meadow = world.GetRegion("Meadow");
    Region* cave = world.GetRegion("Cave");
    ASSERT_TRUE(meadow && cave);
    EXPECT_TRUE(meadow->IsLevelLoaded() && cave->IsLevelLoaded());
    EXPECT_FALSE(meadow->IsUnderground());
    EXPECT_TRUE(cave->IsUnderground());
    EXPECT_EQ(world.GetRegionContainingPoint(Vec3(1010, -200, 10)), cave);
    EXPECT_EQ(world.GetRegionContainingPoint(Vec3(10, 0, 10)), meadow);
    EXPECT_EQ(world.GetRegionContainingPoint(Vec3(500, 0, 10)), nullptr);

    ASSERT_GE(world.GetSpawnPoints().size(), 2u);  // the player's walk adds its own
    EXPECT_EQ(world.GetSpawnPoints()[1].name, "CaveEntrance");
    EXPECT_EQ(world.GetSpawnPoints()[1].coords.region, cave);

    // Placed entities come from their records, stand in the world and were dropped to the floor
    // (the second stands on the slope: height (56 - 48) x 0.25).
    ASSERT_EQ(world.GetPlacedEntityIds().size(), 3u);
    auto* sign = Singleton<ObjectManager>::Get().GetObject<Entity>(world.GetPlacedEntityIds()[1]);
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->GetObjectName(), "Levels/Sample/Records/Signpost.dbr");
    EXPECT_TRUE(sign->IsInWorld());
    EXPECT_FLOAT_EQ(sign->GetPosition().local.y, 2.0f);

    // Every pathing size has a mesh in both regions.
    for (int size = 0; size < kPathingSizeCount; ++size) {
        EXPECT_NE(world.GetPathFinder().GetNavMesh(meadow, size), nullptr) << size;
        EXPECT_NE(world.GetPathFinder().GetNavMesh(cave, size), nullptr) << size;
    }

    // Unloading destroys what the level placed and forgets the regions.
    const std::uint32_t signId = sign->GetObjectId();
    world.UnloadLevel();
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(signId), nullptr);
    EXPECT_TRUE(world.GetRegions().empty());
    EXPECT_EQ(world.GetEntityCount(), 0u);
}

TEST_F(SampleLevel, FloorPlacementFollowsTheSlopeAndGround) {
    ASSERT_TRUE(World::Get().LoadLevel(kSampleLevel));
    Region* meadow = World::Get().GetRegion("Meadow");

    WorldVec3 onSlope(meadow, Vec3(56, 10, 32));
    ASSERT_TRUE(onSlope.PutOnFloor());
    EXPECT_FLOAT_EQ(onSlope.local.y, 2.0f);
    ASSERT_TRUE(onSlope.TranslateToFloor(Vec3(4, 0, 0)));
    EXPECT_FLOAT_EQ(onSlope.local.x, 60.0f);
    EXPECT_FLOAT_EQ(onSlope.local.y, 3.0f);
    // Between grid vertices the height is interpolated on the slope.
    WorldVec3 between(meadow, Vec3(53.3f, 10, 31.1f));
    ASSERT_TRUE(between.PutOnFloor());
    EXPECT_NEAR(between.local.y, (53.3f - 48) * 0.25f, 1e-4f);

    // A point a little under the ground is lifted onto it; one far under it finds no floor and
    // stays where it was.
    WorldVec3 justUnder(meadow, Vec3(56, 1.8f, 32));
    ASSERT_TRUE(justUnder.PutOnFloor());
    EXPECT_FLOAT_EQ(justUnder.local.y, 2.0f);
    WorldVec3 deepUnder(meadow, Vec3(56, 0.5f, 32));
    EXPECT_FALSE(deepUnder.PutOnFloor());
    EXPECT_EQ(deepUnder.local, Vec3(56, 0.5f, 32));
    // A step sideways climbs as far as it goes, not further: 45 degrees.
    WorldVec3 foot(meadow, Vec3(50, 0.5f, 32));
    ASSERT_TRUE(foot.TranslateToFloor(Vec3(2, 0, 0)));
    EXPECT_FLOAT_EQ(foot.local.y, 1.0f);
    WorldVec3 beforeWall(meadow, Vec3(19, 0, 25));
    EXPECT_FALSE(beforeWall.TranslateToFloor(Vec3(2, 0, 0)));  // its top is 3 up
    EXPECT_EQ(beforeWall.local, Vec3(19, 0, 25));
    // Off the ground altogether.
    WorldVec3 outside(meadow, Vec3(-20, 5, -20));
    EXPECT_FALSE(outside.PutOnFloor());

    // Stepping off the meadow onto no ground fails; there is no neighbouring region there.
    WorldVec3 edge(meadow, Vec3(63, 5, 10));
    EXPECT_FALSE(edge.TranslateToFloor(Vec3(10, 0, 0)));
    EXPECT_FLOAT_EQ(World::Get().GetNearestFloorHeight(WorldVec3(meadow, Vec3(60, 0, 5))), 3.0f);
}

TEST_F(SampleLevel, RaysReportTheSurfaceKind) {
    ASSERT_TRUE(World::Get().LoadLevel(kSampleLevel));
    Region* meadow = World::Get().GetRegion("Meadow");
    auto down = [&](float x, float z, int filter) {
        WorldIntersection hit;
        World::Get().GetIntersection(WorldRay{meadow, Vec3(x, 10, z), Vec3(0, -1, 0)}, hit, filter,
                                     true);
        return hit;
    };
    EXPECT_EQ(down(30, 30, 100).surface, PhysicsSurface::Grass);
    EXPECT_FLOAT_EQ(down(30, 30, 100).distance, 10.0f);
    EXPECT_EQ(down(56, 20, 100).surface, PhysicsSurface::Dirt);
    EXPECT_EQ(down(21, 25, 100).surface, PhysicsSurface::Stone);  // the wall's top
    EXPECT_FLOAT_EQ(down(21, 25, 100).distance, 7.0f);
    const WorldIntersection pond = down(12, 50, 100);
    EXPECT_EQ(pond.surface, PhysicsSurface::Water);
    EXPECT_NEAR(pond.point.y, -0.3f, 1e-5f);
    // A filter below water looks through it to the bed.
    EXPECT_EQ(down(12, 50, 6).surface, PhysicsSurface::Dirt);
    EXPECT_NEAR(down(12, 50, 6).point.y, -1.5f, 1e-5f);

    // A level ray meets the wall's side.
    WorldIntersection wall;
    ASSERT_TRUE(World::Get().GetIntersection(WorldRay{meadow, Vec3(5, 1, 25), Vec3(1, 0, 0)}, wall,
                                             7, true));
    EXPECT_FLOAT_EQ(wall.distance, 15.0f);
    // Bounded, the ray meets it up to and at the bound, and nothing past it.
    for (const float bound : {wall.distance, std::nextafter(wall.distance, 0.0f)}) {
        WorldIntersection near;
        const bool met = World::Get().GetIntersection(
            WorldRay{meadow, Vec3(5, 1, 25), Vec3(1, 0, 0)}, near, 7, true, bound);
        EXPECT_EQ(met, bound == wall.distance) << bound;
        EXPECT_EQ(near.distance, met ? wall.distance : kInfinity) << bound;
    }
}

TEST_F(SampleLevel, NavigationMeshesComeFromTheCacheOnTheSecondLoad) {
    World& world = World::Get();
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_FALSE(world.WereNavMeshesCached());
    const std::filesystem::path cache = copy.Root() / "Levels/Sample/Sample.navcache";
    ASSERT_TRUE(std::filesystem::exists(cache));
    const int polygons =
        world.GetPathFinder().GetNavMesh(world.GetRegion("Meadow"), 1)->GetPolygonCount();
    EXPECT_GT(polygons, 0);

    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_TRUE(world.WereNavMeshesCached());
    EXPECT_EQ(world.GetPathFinder().GetNavMesh(world.GetRegion("Meadow"), 1)->GetPolygonCount(),
              polygons);

    // A cut cache is rebuilt, reported and replaced.
    std::filesystem::resize_file(cache, std::filesystem::file_size(cache) / 2);
    tm.ClearLog();
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_FALSE(world.WereNavMeshesCached());
    EXPECT_EQ(tm.CountLog("building navigation meshes"), 1);
    // A changed ground changes the key.
    std::ofstream(copy.Root() / "Levels/Sample/Cave.obj", std::ios::app)
        << "v 1 0 1\nv 1 0 2\nv 2 0 2\nf -3 -2 -1\n";
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_FALSE(world.WereNavMeshesCached());
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_TRUE(world.WereNavMeshesCached());
}

TEST(LevelFiles, BadInputIsReportedByFileAndField) {
    SampleLevelCopy copy;
    TestMachine tm(copy.Root().string());
    const std::filesystem::path dir = copy.Root() / "Levels/Sample";
    auto write = [&](const char* name, const char* text) {
        std::ofstream(dir / name) << text;
        return (std::filesystem::path("Levels/Sample") / name).string();
    };
    World& world = World::Get();
    EXPECT_FALSE(world.LoadLevel("Levels/Sample/Missing.level"));
    EXPECT_EQ(tm.CountLog("cannot be opened"), 1);
    EXPECT_FALSE(world.LoadLevel(write("Broken.level", "{ \"regions\": [")));
    EXPECT_EQ(tm.CountLog("is not a JSON object"), 1);

    // One good region survives its bad siblings and bad placements; each is logged.
    const std::string mixed = write("Mixed.level", R"({
      "regions": [
        { "name": "Good", "boundsMin": [0, -1, 0], "boundsMax": [10, 5, 10], "ground": "Flat.obj" },
        { "name": "NoBounds" },
        { "name": "Inverted", "boundsMin": [5, 0, 0], "boundsMax": [1, 5, 5] },
        { "name": "BadGround", "boundsMin": [0, 0, 20], "boundsMax": [5, 5, 25], "ground": "Bad.obj" }
      ],
      "pathingSizes": ["Small", "Huge"],
      "spawnPoints": [ { "name": "Lost", "region": "Nowhere", "position": [0, 0, 0] } ],
      "entities": [ { "record": "Levels/Sample/Records/Signpost.dbr", "region": "Good", "position": [1, "x", 1] },
                    { "record": "Levels/Sample/Records/Signpost.dbr", "region": "Good", "position": [2, 1, 2] } ]
    })");
    std::ofstream(dir / "Flat.obj") << "v 0 0 0\nv 0 0 10\nv 10 0 10\nv 10 0 0\nf 1 2 3 4\n";
    std::ofstream(dir / "Bad.obj") << "v 0 0 0\nf 1 2 3\n";
    tm.ClearLog();
    ASSERT_TRUE(world.LoadLevel(mixed));
    EXPECT_EQ(world.GetRegions().size(), 2u);
    EXPECT_EQ(world.GetRegion("BadGround")->GetGround(), nullptr);
    EXPECT_EQ(tm.CountLog("region \"NoBounds\" has no \"boundsMin\""), 1);
    EXPECT_EQ(tm.CountLog("region \"Inverted\": \"boundsMin\" is not below"), 1);
    EXPECT_EQ(tm.CountLog("Bad.obj:2: bad face index 2"), 1);
    EXPECT_EQ(tm.CountLog("unknown size \"Huge\""), 1);
    EXPECT_EQ(tm.CountLog("spawn point \"Lost\" names no region"), 1);
    EXPECT_EQ(tm.CountLog("\"position\" is not three numbers"), 1);
    EXPECT_EQ(world.GetPathingSizes(), std::vector<int>{0});
    EXPECT_TRUE(world.GetSpawnPoints().empty());
    ASSERT_EQ(world.GetPlacedEntityIds().size(), 1u);
    EXPECT_NE(world.GetPathFinder().GetNavMesh(world.GetRegion("Good"), 0), nullptr);
    for (const LogLine& line : tm.Log()) {
        if (line.level == 1 && line.text.find("Level ") == 0) {
            EXPECT_NE(line.text.find("Mixed.level"), std::string::npos) << line.text;
        }
    }
}

}  // namespace
}  // namespace GAME::test
