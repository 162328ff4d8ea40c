// Paths, point tests, point sets and obstacles over the sample level's navigation meshes.
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "Engine/world/World.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Engine/world/nav/NavMesh.h"
#include "Engine/world/nav/Path.h"
#include "Engine/world/nav/PathFinder.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// The meadow's first wall, over x and z.
constexpr float kWallX0 = 20, kWallX1 = 22, kWallZ0 = 10, kWallZ1 = 40;

// Whether the segment a-b passes through the rectangle (over x and z), by sampling it finely.
bool CrossesWall(const Vec3& a, const Vec3& b) {
    for (int i = 0; i <= 400; ++i) {
        const Vec3 p = Lerp(a, b, static_cast<float>(i) / 400.0f);
        if (p.x > kWallX0 && p.x < kWallX1 && p.z > kWallZ0 && p.z < kWallZ1)
            return true;
    }
    return false;
}

float DistanceToWall(const Vec3& p) {
    const float dx = Max(Max(kWallX0 - p.x, p.x - kWallX1), 0.0f);
    const float dz = Max(Max(kWallZ0 - p.z, p.z - kWallZ1), 0.0f);
    return Vec2(dx, dz).Length();
}

float HorizontalDistance(const Vec3& a, const Vec3& b) {
    return Vec2(a.x - b.x, a.z - b.z).Length();
}

class Navigation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(World::Get().LoadLevel(kSampleLevel));
        meadow = World::Get().GetRegion("Meadow");
    }
    WorldVec3 At(float x, float z) {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return p;
    }
    using Closed = std::vector<std::pair<int, dtPolyRef>>;
    // The meadow's polygons an obstacle closes, by pathing size, in mesh order.
    Closed ClosedPolygons() const {
        const PathFinder& finder = World::Get().GetPathFinder();
        Closed out;
        for (int size = 0; size < kPathingSizeCount; ++size) {
            const NavMesh* mesh = finder.GetNavMesh(meadow, size);
            const dtNavMesh& nav = *mesh->GetMesh();
            for (int t = 0; t < nav.getMaxTiles(); ++t) {
                const dtMeshTile* tile = nav.getTile(t);
                for (int p = 0; tile->header && p < tile->header->polyCount; ++p)
                    if (tile->polys[p].flags & PathFinder::kFlagClosed)
                        out.emplace_back(size,
                                         nav.getPolyRefBase(tile) | static_cast<dtPolyRef>(p));
            }
        }
        return out;
    }
    SampleLevelCopy copy;
    TestMachine tm{copy.Root().string()};
    Region* meadow = nullptr;
};

TEST_F(Navigation, PathGoesAroundTheWallWithAPlausibleLength) {
    const WorldVec3 from = At(10, 25), to = At(32, 25);
    for (int size = 0; size < kPathingSizeCount; ++size) {
        std::unique_ptr<Path> path =
            World::Get().FindPath(size, from, to, PathGenerationParams(), 30);
        ASSERT_NE(path, nullptr) << size;
        EXPECT_LT(HorizontalDistance(path->GetStart().local, from.local), 0.05f);
        EXPECT_LT(HorizontalDistance(path->GetEnd().local, to.local), 0.05f);
        // Around an end of the wall: longer than the straight 22, shorter than a detour past
        // both ends.
        EXPECT_GT(path->GetLength(), 30.0f) << size;
        EXPECT_LT(path->GetLength(), 45.0f) << size;
        const auto& corners = path->GetCorners();
        ASSERT_GE(corners.size(), 3u);
        for (std::size_t i = 1; i < corners.size(); ++i)
            EXPECT_FALSE(CrossesWall(corners[i - 1], corners[i])) << size << " leg " << i;
        // A bigger agent keeps further from the wall.
        for (const Vec3& c : corners)
            EXPECT_GE(DistanceToWall(c), GetPathingAgent(size).radius - 0.25f) << size;
    }
    // No path between regions, nor to a point without ground.
    Region* cave = World::Get().GetRegion("Cave");
    EXPECT_EQ(
        World::Get().FindPath(0, from, WorldVec3(cave, Vec3(4, 0, 4)), PathGenerationParams(), 30),
        nullptr);
    EXPECT_EQ(World::Get().FindPath(0, from, WorldVec3(meadow, Vec3(300, 0, 4)),
                                    PathGenerationParams(), 30),
              nullptr);
}

TEST_F(Navigation, PointsInWallsAndWaterCollide) {
    PathFinder& finder = World::Get().GetPathFinder();
    EXPECT_TRUE(finder.TestPointCollide(WorldVec3(meadow, Vec3(21, 0, 25))));
    EXPECT_TRUE(finder.TestPointCollide(WorldVec3(meadow, Vec3(12, -1.5f, 50))));  // the pond
    EXPECT_TRUE(finder.TestPointCollide(WorldVec3(meadow, Vec3(12, 0, 50))));
    EXPECT_FALSE(finder.TestPointCollide(At(10, 25)));
    EXPECT_FALSE(finder.TestPointCollide(At(56, 20)));  // on the slope
    // Close beside the wall is free for a small agent, not for a large one.
    EXPECT_FALSE(finder.TestPointCollide(At(19.3f, 25), 0));
    EXPECT_TRUE(finder.TestPointCollide(At(19.3f, 25), 2));
    EXPECT_TRUE(finder.TestPointCollide(WorldVec3()));
}

TEST_F(Navigation, FurthestPointStopsAtTheWall) {
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 stop = finder.GetFurthestPoint(0, At(10, 25), At(32, 25));
    EXPECT_NEAR(stop.local.x, kWallX0 - GetPathingAgent(0).radius, 0.25f);
    EXPECT_NEAR(stop.local.z, 25.0f, 0.01f);
    const WorldVec3 open = finder.GetFurthestPoint(0, At(10, 25), At(10, 5));
    EXPECT_NEAR(open.local.x, 10.0f, 1e-3f);
    EXPECT_NEAR(open.local.z, 5.0f, 1e-3f);
}

TEST_F(Navigation, FillPointSetKeepsSpacingAndClearance) {
    PathFinder& finder = World::Get().GetPathFinder();
    const std::vector<float> radii{1.5f, 1.0f, 1.0f, 1.0f, 2.0f};
    std::vector<WorldVec3> points;
    // Next to the wall: no place may be in it, behind it, or too close to another.
    const WorldVec3 center = At(18, 25);
    ASSERT_TRUE(finder.FillPointSet(center, radii, points, true));
    ASSERT_EQ(points.size(), radii.size());
    EXPECT_LT(HorizontalDistance(points[0].local, center.local), 0.01f);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_LT(points[i].local.x, kWallX0) << i;
        EXPECT_FALSE(finder.TestPointCollide(points[i])) << i;
        if (i > 0) {
            EXPECT_GE(kWallX0 - points[i].local.x, radii[i] - 0.05f) << i;
        }
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_GE(HorizontalDistance(points[i].local, points[j].local),
                      radii[i] + radii[j] - 1e-3f)
                << i << "," << j;
    }
    // A second fill in the same frame avoids the first one's places until they are cleared.
    std::vector<WorldVec3> more;
    EXPECT_FALSE(finder.FillPointSet(center, {1.0f}, more, true));
    ASSERT_TRUE(finder.FillPointSet(center, {0.5f, 1.0f}, more, false));
    for (const WorldVec3& p : more)
        for (std::size_t j = 0; j < points.size(); ++j)
            EXPECT_GE(HorizontalDistance(p.local, points[j].local), radii[j] + 0.5f - 1e-3f);
    finder.ClearFillData();
    ASSERT_TRUE(finder.FillPointSet(center, {1.0f}, more, true));
    // A centre in a wall gets nothing.
    EXPECT_FALSE(finder.FillPointSet(WorldVec3(meadow, Vec3(21, 0, 25)), {1.0f}, more, true));
    EXPECT_TRUE(more.empty());
}

TEST_F(Navigation, ObstaclesBlockUntilDetached) {
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 from = At(10, 25), to = At(10, 5);
    auto straight = World::Get().FindPath(0, from, to, PathGenerationParams(), 30);
    ASSERT_NE(straight, nullptr);
    EXPECT_NEAR(straight->GetLength(), 20.0f, 0.1f);

    {
        // A long box across the way: paths go round it, points in it collide, fills avoid it.
        DynamicObstacle barrier;
        ASSERT_TRUE(barrier.Create(
            meadow, OrientedBox::FromAxisAligned(Vec3(10, 1, 15), Vec3(6, 1, 0.5f))));
        barrier.Attach();
        EXPECT_EQ(finder.GetObstacleCount(), 1u);
        EXPECT_TRUE(finder.TestPointCollide(At(10, 15)));
        auto around = World::Get().FindPath(0, from, to, PathGenerationParams(), 30);
        ASSERT_NE(around, nullptr);
        EXPECT_GT(around->GetLength(), 21.0f);
        std::vector<WorldVec3> points;
        ASSERT_TRUE(finder.FillPointSet(At(10, 16.5f), {0.5f, 0.5f, 0.5f}, points, false));
        for (const WorldVec3& p : points)
            EXPECT_FALSE(barrier.Overlaps(p.local, 0.5f));
        // Leaving scope detaches it.
    }
    EXPECT_EQ(finder.GetObstacleCount(), 0u);
    EXPECT_FALSE(finder.TestPointCollide(At(10, 15)));
    auto again = World::Get().FindPath(0, from, to, PathGenerationParams(), 30);
    ASSERT_NE(again, nullptr);
    EXPECT_FLOAT_EQ(again->GetLength(), straight->GetLength());
}

TEST_F(Navigation, AnObstacleForOneSizeClosesOnlyThatSizesPaths) {
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 from = At(10, 25), to = At(10, 5);
    struct Case {
        int closes;    // -1: every size
        bool passing;  // closed only when a search first reads the flags
        bool blocksSmall, blocksMedium;
    };
    for (const Case& c : {Case{-1, false, true, true}, Case{0, false, true, false},
                          Case{1, false, false, true}, Case{0, true, true, false}}) {
        DynamicObstacle standing;
        DynamicObstacle& barrier = c.passing ? finder.PassingObstacle(0) : standing;
        ASSERT_TRUE(barrier.Create(
            meadow, OrientedBox::FromAxisAligned(Vec3(10, 1, 15), Vec3(6, 1, 0.5f))));
        if (c.closes < 0)
            barrier.Attach();
        else
            barrier.AttachForSize(c.closes);
        // The furthest point straight ahead stops short of it too.
        EXPECT_EQ(finder.GetFurthestPoint(0, from, to).local.z > 10.0f, c.blocksSmall) << c.closes;
        const bool blocks[] = {c.blocksSmall, c.blocksMedium};
        for (int size = 0; size < 2; ++size) {
            auto path = World::Get().FindPath(size, from, to, PathGenerationParams(), 30);
            ASSERT_NE(path, nullptr);
            EXPECT_EQ(path->GetLength() > 21.0f, blocks[size]) << c.closes << " size " << size;
        }
        // Moved while attached, it stays closed to the same size only.
        ASSERT_TRUE(barrier.Create(
            meadow, OrientedBox::FromAxisAligned(Vec3(10, 1, 14), Vec3(6, 1, 0.5f))));
        for (int size = 0; size < 2; ++size) {
            auto path = World::Get().FindPath(size, from, to, PathGenerationParams(), 30);
            ASSERT_NE(path, nullptr);
            EXPECT_EQ(path->GetLength() > 21.0f, blocks[size]) << c.closes << " moved " << size;
        }
        barrier.Detach();
    }
    EXPECT_EQ(finder.GetObstacleCount(), 0u);
}

// A search reads the polygons' flags only when its ends lie in two polygons; one that does not
// finds the same path round a barrier across the way, and one that does goes round it.
TEST_F(Navigation, OnlySearchesAcrossPolygonsReadFlags) {
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 from = At(10, 25);
    WorldVec3 near = from;
    near.Translate(Vec3(0.3f, 0, 0));
    struct Case {
        const char* name;
        WorldVec3 from, to;
        bool reads;
    };
    const Case cases[] = {
        {"one polygon", from, near, false},
        {"across the barrier", from, At(10, 5), true},
        {"from inside the wall", WorldVec3(meadow, Vec3(21, 0, 25)), At(10, 5), false},
        {"to no region", from, WorldVec3(nullptr, Vec3(10, 0, 5)), false},
    };
    const PathGenerationParams params;
    for (const Case& c : cases) {
        EXPECT_EQ(finder.ReadsFlags(0, c.from, c.to, params), c.reads) << c.name;
        auto plain = finder.FindPath(0, c.from, c.to, params, 30);
        if (plain) {
            EXPECT_EQ(plain->GetPolygons().size() > 1, c.reads) << c.name;
        }
        DynamicObstacle& barrier = finder.PassingObstacle(0);
        ASSERT_TRUE(barrier.Create(
            meadow, OrientedBox::FromAxisAligned(Vec3(10, 1, 15), Vec3(6, 1, 0.5f))));
        barrier.AttachForSize(0);
        auto round = finder.FindPath(0, c.from, c.to, params, 30);
        barrier.Detach();
        ASSERT_EQ(round != nullptr, plain != nullptr) << c.name;
        if (!plain)
            continue;
        if (c.reads) {
            EXPECT_GT(round->GetLength(), plain->GetLength() + 1.0f) << c.name;
        } else {
            EXPECT_EQ(round->GetCorners(), plain->GetCorners()) << c.name;
            EXPECT_EQ(round->GetPolygons(), plain->GetPolygons()) << c.name;
        }
    }
}

// Obstacles attached again where they stood, after others came and went over the same polygons,
// close what they closed the first time; a wider one at the same place closes more; with all
// gone, nothing stays closed.
TEST_F(Navigation, ObstaclesAttachedAgainCloseWhatTheyClosedBefore) {
    PathFinder& finder = World::Get().GetPathFinder();
    struct Place {
        float x, z, radius;
        int size;  // -1: every size
    };
    const Place places[] = {{10, 15, 1.5f, -1}, {11, 15, 1.5f, -1}, {10, 15, 9.0f, -1},
                            {30, 30, 2.0f, 0},  {19, 25, 1.0f, 2},  {30, 30, 2.0f, 1}};
    constexpr std::size_t kPlaces = std::size(places);
    DynamicObstacle obstacles[kPlaces];
    const auto attach = [&](DynamicObstacle& obstacle, const Place& place) {
        ASSERT_TRUE(obstacle.Create(meadow, Sphere{At(place.x, place.z).local, place.radius}));
        if (place.size < 0)
            obstacle.Attach();
        else
            obstacle.AttachForSize(place.size);
    };
    Closed alone[kPlaces];
    for (std::size_t i = 0; i < kPlaces; ++i) {
        attach(obstacles[0], places[i]);
        alone[i] = ClosedPolygons();
        EXPECT_FALSE(alone[i].empty()) << i;
        obstacles[0].Detach();
        EXPECT_TRUE(ClosedPolygons().empty()) << i;
    }
    EXPECT_GT(alone[2].size(), alone[0].size());  // wider at the same place
    EXPECT_NE(alone[3], alone[5]);                // the same box for another size
    for (std::size_t i = 0; i < kPlaces; ++i)
        attach(obstacles[i], places[i]);
    const Closed all = ClosedPolygons();
    for (DynamicObstacle& obstacle : obstacles)
        obstacle.Detach();
    // Again, in the other order and each by another obstacle; then each alone among none.
    for (std::size_t i = kPlaces; i-- > 0;)
        attach(obstacles[kPlaces - 1 - i], places[i]);
    EXPECT_EQ(ClosedPolygons(), all);
    for (std::size_t i = 0; i < kPlaces; ++i) {
        for (DynamicObstacle& obstacle : obstacles)
            obstacle.Detach();
        attach(obstacles[(i + 1) % kPlaces], places[i]);
        EXPECT_EQ(ClosedPolygons(), alone[i]) << i;
    }
    for (DynamicObstacle& obstacle : obstacles)
        obstacle.Detach();
    EXPECT_TRUE(ClosedPolygons().empty());
    EXPECT_EQ(finder.GetObstacleCount(), 0u);
}

// Passing obstacles over the same polygons as each other and as one that stands, detached in
// any order: each step leaves closed what the ones still attached close on their own, and at the
// end what stands, with the closed version it had before.
TEST_F(Navigation, PassingObstaclesDetachedInAnyOrderLeaveWhatTheOthersClose) {
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 from = At(10, 25), to = At(10, 5);
    DynamicObstacle standing;
    ASSERT_TRUE(standing.Create(meadow, Sphere{At(10, 15).local, 1.5f}));
    standing.Attach();
    const Closed standingAlone = ClosedPolygons();
    const std::uint64_t version = finder.GetClosedVersion();
    ASSERT_FALSE(standingAlone.empty());
    constexpr std::size_t kPassing = 3;
    const Sphere spheres[kPassing] = {
        {At(10, 15).local, 1.0f}, {At(30, 30).local, 2.0f}, {At(31, 29).local, 2.0f}};
    // Attaches the passing obstacles named, closing their polygons as a search does.
    const auto attach = [&](const std::vector<std::size_t>& which) {
        for (const std::size_t i : which) {
            DynamicObstacle& obstacle = finder.PassingObstacle(i);
            ASSERT_TRUE(obstacle.Create(meadow, spheres[i]));
            obstacle.AttachForSize(0);
        }
        finder.FindPath(0, from, to, PathGenerationParams(), 30);
    };
    const auto detach = [&](const std::vector<std::size_t>& which) {
        for (const std::size_t i : which)
            finder.PassingObstacle(i).Detach();
    };
    // What each set of passing obstacles (bit i: obstacle i) closes with the standing one,
    // attached in index order.
    Closed closedBy[1u << kPassing];
    for (std::size_t set = 1; set < std::size(closedBy); ++set) {
        std::vector<std::size_t> which;
        for (std::size_t i = 0; i < kPassing; ++i)
            if (set & (1u << i))
                which.push_back(i);
        attach(which);
        closedBy[set] = ClosedPolygons();
        detach(which);
        ASSERT_EQ(ClosedPolygons(), standingAlone) << set;
    }
    // The far two add polygons the standing one leaves open, some of them the same ones.
    for (std::size_t i = 1; i < kPassing; ++i)
        EXPECT_GT(closedBy[1u << i].size(), standingAlone.size()) << i;
    EXPECT_LT(closedBy[6].size(), closedBy[2].size() + closedBy[4].size() - standingAlone.size());
    for (const std::vector<std::size_t>& order :
         {std::vector<std::size_t>{0, 1, 2}, {2, 1, 0}, {1, 2, 0}, {1, 0, 2}}) {
        attach({0, 1, 2});
        EXPECT_EQ(finder.GetClosedVersion(), 0u);
        std::size_t left = (1u << kPassing) - 1;
        for (const std::size_t i : order) {
            finder.PassingObstacle(i).Detach();
            left &= ~(std::size_t{1} << i);
            EXPECT_EQ(finder.GetObstacleCount(), std::popcount(left) + 1u) << order[0] << i;
            if (left != 0) {
                EXPECT_EQ(ClosedPolygons(), closedBy[left]) << order[0] << " at " << i;
            }
        }
        EXPECT_EQ(ClosedPolygons(), standingAlone) << order[0];
        EXPECT_EQ(finder.GetClosedVersion(), version) << order[0];
    }
    standing.Detach();
    EXPECT_TRUE(ClosedPolygons().empty());
}

TEST(NavigationPaths, AnUnfinishedPathWrittenOverAnotherHoldsOnlyItsOwnCornersAndPolygons) {
    struct Case {
        std::vector<float> corners;  // x, y, z triples
        std::vector<std::uint32_t> polygons;
    };
    // Longer than what the storage held, shorter, then none: a reused path keeps nothing of the
    // one before, and a path without corners has its one corner at the origin.
    const Case cases[] = {{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {11, 12, 13}},
                          {{1, 0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0, 5}, {21, 22, 23, 24, 25}},
                          {{-1, 0.5f, 2}, {31}},
                          {{}, {}}};
    Path path;
    for (const Case& c : cases) {
        const std::size_t count = c.corners.size() / 3;
        path.AssignUnfinished(nullptr, c.corners.data(), count, c.polygons.data(),
                              c.polygons.size());
        std::vector<Vec3> expected;
        for (std::size_t i = 0; i < count; ++i)
            expected.emplace_back(c.corners[i * 3], c.corners[i * 3 + 1], c.corners[i * 3 + 2]);
        if (expected.empty())
            expected.emplace_back();
        EXPECT_EQ(std::vector<Vec3>(path.GetCorners().begin(), path.GetCorners().end()), expected)
            << count;
        EXPECT_EQ(std::vector<std::uint32_t>(path.GetPolygons().begin(), path.GetPolygons().end()),
                  c.polygons)
            << count;
        EXPECT_EQ(path.GetPosition().local, expected.front()) << count;
        EXPECT_EQ(path.GetLength(), 0.0f) << count;
    }
}

TEST_F(Navigation, PathAdvancesToItsEnd) {
    auto path = World::Get().FindPath(0, At(10, 25), At(32, 25), PathGenerationParams(), 30);
    ASSERT_NE(path, nullptr);
    const float total = path->GetLength();
    const WorldVec3 half = path->GetPointAtDistance(total * 0.5f);
    WorldVec3 at;
    Vec3 heading;
    ASSERT_TRUE(path->Advance(total * 0.5f, at, heading));
    EXPECT_LT(HorizontalDistance(at.local, half.local), 1e-3f);
    EXPECT_NEAR(path->GetLength(), total * 0.5f, 1e-3f);
    EXPECT_NEAR(heading.Length(), 1.0f, 1e-5f);
    EXPECT_FALSE(path->Advance(total, at, heading));
    EXPECT_EQ(at, path->GetEnd());
    EXPECT_EQ(path->GetLength(), 0.0f);
}

TEST_F(Navigation, RecycledPathsMatchFreshSearches) {
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 inWall(meadow, Vec3(21, 0, 25));
    struct Case {
        WorldVec3 from, to;
    };
    // Round the wall (many corners), straight (two), then from and to a place in the wall
    // (none), twice over so that the kept nearest-polygon answers, misses too, are asked.
    const Case cases[] = {{At(10, 25), At(32, 25)}, {At(10, 25), At(10, 5)},  {inWall, At(10, 5)},
                          {At(10, 5), inWall},      {At(10, 25), At(32, 25)}, {inWall, At(10, 5)}};
    for (const Case& c : cases) {
        const std::unique_ptr<Path> fresh =
            std::make_unique<Path>(nullptr, std::vector<Vec3>(), std::vector<std::uint32_t>());
        const bool found = finder.FindPath(0, c.from, c.to, PathGenerationParams(), 30, *fresh);
        // A path half walked and handed back is the storage of the next search.
        auto used = World::Get().FindPath(0, At(10, 25), At(32, 25), PathGenerationParams(), 30);
        ASSERT_NE(used, nullptr);
        WorldVec3 at;
        Vec3 heading;
        used->Advance(used->GetLength() * 0.5f, at, heading);
        finder.Recycle(std::move(used));
        auto again = World::Get().FindPath(0, c.from, c.to, PathGenerationParams(), 30);
        ASSERT_EQ(again != nullptr, found);
        if (!found)
            continue;
        EXPECT_EQ(again->GetCorners(), fresh->GetCorners());
        EXPECT_EQ(again->GetPolygons(), fresh->GetPolygons());
        EXPECT_EQ(again->GetLength(), fresh->GetLength());
        EXPECT_EQ(again->GetPosition(), fresh->GetStart());
        finder.Recycle(std::move(again));
    }
}

TEST_F(Navigation, UnfinishedPathsTellTheEndAndFinishAsTheSearchedPath) {
    PathFinder& finder = World::Get().GetPathFinder();
    WorldVec3 beside = At(10, 25);
    beside.Translate(Vec3(0.0004f, 0, 0));
    struct Case {
        WorldVec3 from, to;
        bool found, moves;
    };
    // Round the wall, straight, from and into the wall (none), and to a point nearer over x
    // and z than the ends are told apart.
    const Case cases[] = {{At(10, 25), At(32, 25), true, true},
                          {At(10, 25), At(10, 5), true, true},
                          {WorldVec3(meadow, Vec3(21, 0, 25)), At(10, 5), false, false},
                          {At(10, 25), WorldVec3(meadow, Vec3(21, 0, 25)), false, false},
                          {At(10, 25), beside, true, false}};
    for (const Case& c : cases) {
        const std::unique_ptr<Path> full =
            World::Get().FindPath(0, c.from, c.to, PathGenerationParams(), 30);
        UnfinishedPathEnds ends;
        std::unique_ptr<Path> path =
            finder.FindUnfinishedPath(0, c.from, c.to, PathGenerationParams(), 30, ends);
        ASSERT_EQ(full != nullptr, c.found) << c.to.local.x;
        ASSERT_EQ(path != nullptr, c.found) << c.to.local.x;
        if (!c.found)
            continue;
        EXPECT_EQ(ends.moves, c.moves) << c.to.local.x;
        EXPECT_EQ(ends.end, full->GetEnd()) << c.to.local.x;
        if (ends.moves) {
            EXPECT_GT(full->GetLength(), 0.0f) << c.to.local.x;
        }
        finder.FinishPath(*path, PathGenerationParams());
        EXPECT_EQ(path->GetCorners(), full->GetCorners()) << c.to.local.x;
        EXPECT_EQ(path->GetPolygons(), full->GetPolygons()) << c.to.local.x;
        EXPECT_EQ(path->GetLength(), full->GetLength()) << c.to.local.x;
        EXPECT_EQ(path->GetPosition(), full->GetStart()) << c.to.local.x;
    }
}

TEST_F(Navigation, SearchesUpOntoTheWallTopAreSkippedOnlyWhenNoEndCouldReach) {
    PathFinder& finder = World::Get().GetPathFinder();
    const NavMesh& mesh = *finder.GetNavMesh(meadow, 0);
    // Up on the wall, from its foot to its top: the top is a part of the mesh of its own.
    const WorldVec3 top = At(21, 25);
    ASSERT_GT(top.local.y, 2.0f);
    struct Case {
        WorldVec3 to;
        float within;
        bool skipped;
    };
    // The top out of reach, then within a reach taller than the wall, and a goal on the ground.
    const Case cases[] = {{top, 0.5f, true}, {top, 6.0f, false}, {At(32, 25), 0.5f, false}};
    for (const Case& c : cases) {
        const WorldVec3 from = At(10, 25);
        const std::unique_ptr<Path> full =
            World::Get().FindPath(0, from, c.to, PathGenerationParams(), 30);
        ASSERT_NE(full, nullptr) << c.within;
        UnfinishedPathEnds ends;
        ends.within = c.within;
        std::unique_ptr<Path> path =
            finder.FindUnfinishedPath(0, from, c.to, PathGenerationParams(), 30, ends);
        EXPECT_EQ(path == nullptr, c.skipped) << c.within;
        // What a skip stands for: the search's own end lies further than that.
        const bool reaches = full->GetEnd().VectorTo(c.to).LengthSquared() <= c.within * c.within;
        if (c.skipped) {
            EXPECT_FALSE(reaches) << c.within;
        } else {
            EXPECT_EQ(ends.end, full->GetEnd()) << c.within;
        }
        if (path)
            finder.Recycle(std::move(path));
    }
    const dtNavMeshQuery& query = *mesh.GetQuery();
    const float extents[3] = {0.1f, 1.0f, 0.1f};
    dtQueryFilter any;
    const auto island = [&](const WorldVec3& p) {
        dtPolyRef ref = 0;
        float nearest[3];
        query.findNearestPoly(&p.local.x, extents, &any, &ref, nearest);
        return mesh.GetIsland(ref);
    };
    const int ground = island(At(10, 25)), wall = island(top);
    EXPECT_EQ(ground, island(At(32, 25)));
    EXPECT_NE(ground, wall);
    // Flat ground at the foot, the wall's top on the wall, and none of the top out there.
    float height = 0;
    ASSERT_TRUE(mesh.GetIslandTopNear(ground, At(10, 25).local, 1.0f, height));
    EXPECT_LT(height, At(10, 25).local.y + 0.5f);
    ASSERT_TRUE(mesh.GetIslandTopNear(wall, top.local, 0.5f, height));
    EXPECT_GT(height, top.local.y - 0.5f);
    ASSERT_TRUE(mesh.GetIslandTopNear(wall, At(10, 25).local, 1.0f, height));
    EXPECT_LT(height, -1e30f);
    EXPECT_EQ(mesh.GetIsland(0), -1);
}

TEST_F(Navigation, PathsWithinOnePolygonAreDetoursStraightPath) {
    const WorldVec3 from = At(10, 5);
    PathGenerationParams unmerged;
    unmerged.cornerMergeDistance = 0;
    // Detour takes ends nearer than 1/16384 for one corner: the same place, just under that
    // apart, just over it, and well apart.
    for (const float apart : {0.0f, 3e-5f, 1e-4f, 0.05f}) {
        WorldVec3 to = from;
        to.Translate(Vec3(apart, 0, 0));
        auto path = World::Get().FindPath(0, from, to, unmerged, 30);
        ASSERT_NE(path, nullptr) << apart;
        ASSERT_EQ(path->GetPolygons().size(), 1u) << apart;
        const dtNavMeshQuery& query =
            *World::Get().GetPathFinder().GetNavMesh(meadow, 0)->GetQuery();
        const dtPolyRef ref = path->GetPolygons().front();
        float start[3], end[3], theirs[2 * 3];
        ASSERT_TRUE(dtStatusSucceed(query.closestPointOnPoly(ref, &from.local.x, start, nullptr)));
        ASSERT_TRUE(dtStatusSucceed(query.closestPointOnPoly(ref, &to.local.x, end, nullptr)));
        int n = 0;
        query.findStraightPath(start, end, &ref, 1, theirs, nullptr, nullptr, &n, 2);
        ASSERT_GE(n, 1) << apart;
        // Grounding moves heights only; one corner comes back twice, as a path of length 0.
        const Path::Corners& corners = path->GetCorners();
        ASSERT_EQ(corners.size(), 2u) << apart;
        EXPECT_EQ(path->GetLength() == 0.0f, n == 1) << apart;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const float* corner = &theirs[std::min<std::size_t>(i, n - 1) * 3];
            EXPECT_EQ(corners[i].x, corner[0]) << apart << " corner " << i;
            EXPECT_EQ(corners[i].z, corner[2]) << apart << " corner " << i;
        }
    }
}

// The done-when scenario: a stand-in character walks a path round the wall frame by frame on
// two machines, which see the same positions at every frame.
std::vector<Vec3> WalkAroundTheWall(const std::filesystem::path& root) {
    TestMachine tm(root.string());
    EXPECT_TRUE(World::Get().LoadLevel(kSampleLevel));
    Region* meadow = World::Get().GetRegion("Meadow");
    const SpawnPoint& start = World::Get().GetSpawnPoints().front();
    Actor* walker = MakeEntity<Actor>();
    EXPECT_TRUE(World::Get().AddEntity(walker, start.coords, true));
    WorldVec3 goal(meadow, Vec3(32, 5, 25));
    goal.PutOnFloor();
    auto path = World::Get().FindPath(0, walker->GetPosition(), goal, PathGenerationParams(), 30);
    EXPECT_NE(path, nullptr);
    std::vector<Vec3> positions;
    if (!path)
        return positions;
    constexpr int kFrameMs = 33;
    constexpr float kSpeed = 4.0f;
    WorldVec3 at = walker->GetPosition();
    Vec3 heading;
    for (int frame = 0; frame < 1000; ++frame) {
        const bool more = path->Advance(kFrameMs * 0.001f * kSpeed, at, heading);
        WorldCoords coords = walker->GetCoords();
        coords.SetPosition(at);
        World::Get().SetCoords(walker, coords);
        positions.push_back(walker->GetPosition().local);
        if (!more)
            break;
    }
    // The walker stands at the goal, and the world files it there.
    EXPECT_LT(HorizontalDistance(positions.back(), goal.local), 0.05f);
    std::vector<Entity*> near;
    World::Get().GetEntitiesInSphere(near, meadow, Sphere{goal.local, 1.0f});
    EXPECT_EQ(near, std::vector<Entity*>{walker});
    return positions;
}

TEST(NavigationScenario, AWalkRoundTheWallIsTheSameOnTwoMachines) {
    SampleLevelCopy copy;
    const std::vector<Vec3> one = WalkAroundTheWall(copy.Root());
    const std::vector<Vec3> two = WalkAroundTheWall(copy.Root());  // from the cache this time
    ASSERT_GT(one.size(), 100u);
    ASSERT_EQ(one.size(), two.size());
    for (std::size_t i = 0; i < one.size(); ++i)
        ASSERT_EQ(one[i], two[i]) << "frame " << i;
    for (std::size_t i = 1; i < one.size(); ++i)
        ASSERT_FALSE(CrossesWall(one[i - 1], one[i])) << "frame " << i;
}

}  // namespace
}  // namespace GAME::test
