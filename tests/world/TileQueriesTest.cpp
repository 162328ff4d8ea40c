// The path finder's own nearest-polygon and straight-path queries against Detour's, over every
// mesh of the sample level: the same polygons, points and corners to the bit.
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>
#include <DetourNode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "Engine/world/World.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Engine/world/nav/NavMesh.h"
#include "Engine/world/nav/PathFinder.h"
#include "Engine/world/nav/TileAccess.h"
#include "Engine/world/nav/TileQueries.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

bool SameBits(const float* a, const float* b, int floats) {
    return std::memcmp(a, b, static_cast<std::size_t>(floats) * sizeof(float)) == 0;
}

class TileQueries : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(World::Get().LoadLevel(kSampleLevel));
        walk.setIncludeFlags(PathFinder::kFlagWalk);
        walk.setExcludeFlags(PathFinder::kFlagClosed);
        any.setIncludeFlags(PathFinder::kFlagWalk);
        any.setExcludeFlags(0);
    }
    // A point anywhere over the region, from below its floor to above its roof.
    Vec3 Somewhere(const Region& region) {
        const Vec3& lo = region.GetBoundsMin();
        const Vec3& hi = region.GetBoundsMax();
        std::uniform_real_distribution<float> u(0.0f, 1.0f);
        return Vec3(lo.x - 2 + (hi.x - lo.x + 4) * u(rng), lo.y - 2 + (hi.y - lo.y + 4) * u(rng),
                    lo.z - 2 + (hi.z - lo.z + 4) * u(rng));
    }
    // Points anywhere, and points round the mesh's corners: off the mesh beside a corner that
    // polygons share, several are equally near.
    std::vector<Vec3> Probes(const Region& region, const dtNavMesh& nav) {
        std::vector<Vec3> points;
        for (int i = 0; i < 400; ++i)
            points.push_back(Somewhere(region));
        std::uniform_real_distribution<float> offset(-0.6f, 0.6f);
        for (int t = 0; t < nav.getMaxTiles() && points.size() < 2000; ++t) {
            const dtMeshTile* tile = nav.getTile(t);
            if (!tile || !tile->header)
                continue;
            for (int v = 0; v < tile->header->vertCount && v < 60; ++v) {
                const float* corner = &tile->verts[v * 3];
                points.emplace_back(corner[0], corner[1], corner[2]);
                points.emplace_back(corner[0] + offset(rng), corner[1] + 2 * offset(rng),
                                    corner[2] + offset(rng));
            }
        }
        return points;
    }
    // Every loaded tile of every region's meshes, with the mesh that holds it.
    template <typename Visit>
    void ForEachTile(Visit&& visit) {
        for (const std::unique_ptr<Region>& region : World::Get().GetRegions())
            for (int size = 0; size < kPathingSizeCount; ++size) {
                const NavMesh* mesh = World::Get().GetPathFinder().GetNavMesh(region.get(), size);
                if (!mesh)
                    continue;
                const dtNavMesh& nav = *mesh->GetMesh();
                for (int t = 0; t < nav.getMaxTiles(); ++t)
                    if (const dtMeshTile& tile = *nav.getTile(t); tile.header)
                        visit(*region, *mesh, t, tile);
            }
    }
    SampleLevelCopy copy;
    TestMachine tm{copy.Root().string()};
    dtQueryFilter walk, any;
    std::mt19937 rng{20261209};
};

TEST_F(TileQueries, NearestPolygonsAndPolygonsInABoxAreDetours) {
    struct Case {
        const char* name;
        float horizontal, vertical;
        bool obstacles;  // close polygons, which the walk filter then passes over
    };
    const Case cases[] = {{"tight", 0.05f, 1.0f, false},
                          {"agent", 0.4f, 0.5f, false},
                          {"wide", 3.0f, 2.0f, false},
                          {"across tiles", 12.0f, 6.0f, false},
                          {"closed", 1.5f, 1.0f, true}};
    int found = 0, missed = 0, several = 0, atZero = 0;
    for (const Case& c : cases)
        for (const std::unique_ptr<Region>& region : World::Get().GetRegions()) {
            std::vector<std::unique_ptr<DynamicObstacle>> obstacles;
            for (int i = 0; c.obstacles && i < 12; ++i) {
                obstacles.push_back(std::make_unique<DynamicObstacle>());
                ASSERT_TRUE(
                    obstacles.back()->Create(region.get(), Sphere{Somewhere(*region), 2.0f}));
                obstacles.back()->Attach();
            }
            for (int size = 0; size < kPathingSizeCount; ++size) {
                const NavMesh* mesh = World::Get().GetPathFinder().GetNavMesh(region.get(), size);
                if (!mesh)
                    continue;
                const float extents[3] = {c.horizontal, c.vertical, c.horizontal};
                const std::vector<Vec3> points = Probes(*region, *mesh->GetMesh());
                for (std::size_t i = 0; i < points.size(); ++i) {
                    const Vec3& p = points[i];
                    for (const dtQueryFilter* filter : {&walk, &any}) {
                        float mine[3] = {p.x, p.y, p.z}, theirs[3] = {p.x, p.y, p.z};
                        dtPolyRef expected = 0;
                        bool over = false, expectedOver = false, onIt = false;
                        mesh->GetQuery()->findNearestPoly(&p.x, extents, filter, &expected, theirs,
                                                          &expectedOver);
                        const std::uint32_t ref = FindNearestPolygon(
                            *mesh->GetQuery(), &p.x, extents, *filter, mine, &over, &onIt);
                        // Read through the mesh's kept layout, the same answer.
                        float kept[3] = {p.x, p.y, p.z};
                        bool keptOver = false, keptOnIt = false;
                        ASSERT_EQ(
                            FindNearestPolygon(*mesh->GetQuery(), &p.x, extents, *filter, kept,
                                               &keptOver, &keptOnIt, mesh->GetTileLayout()),
                            ref)
                            << c.name << " " << i;
                        ASSERT_TRUE(SameBits(kept, mine, 3) && keptOver == over && keptOnIt == onIt)
                            << c.name << " " << i;
                        ASSERT_EQ(over, ref != 0 && expectedOver) << c.name << " " << i;
                        ASSERT_EQ(ref, expected)
                            << c.name << " " << region->GetName() << " " << size << " at " << p.x
                            << "," << p.y << "," << p.z;
                        ASSERT_TRUE(SameBits(mine, theirs, 3)) << c.name << " " << i;
                        (ref ? found : missed)++;
                        // A polygon at distance 0 answers a wider box of the same height too.
                        if (onIt) {
                            const float wider[3] = {extents[0] + 3, extents[1], extents[2] + 3};
                            mesh->GetQuery()->findNearestPoly(&p.x, wider, filter, &expected,
                                                              theirs, &expectedOver);
                            ASSERT_TRUE(expected == ref && SameBits(mine, theirs, 3) &&
                                        expectedOver == over)
                                << c.name << " " << i;
                            ++atZero;
                        }
                        // Every polygon in the box, and a list too short for them all.
                        for (const int room : {64, 2}) {
                            dtPolyRef in[64], expectedIn[64];
                            int expectedCount = 0;
                            mesh->GetQuery()->queryPolygons(&p.x, extents, filter, expectedIn,
                                                            &expectedCount, room);
                            for (const navtiles::TileLayout* layout :
                                 {static_cast<const navtiles::TileLayout*>(nullptr),
                                  mesh->GetTileLayout()}) {
                                const int count = CollectPolygons(*mesh->GetQuery(), &p.x, extents,
                                                                  *filter, in, room, layout);
                                ASSERT_EQ(count, expectedCount)
                                    << c.name << " " << i << " " << room;
                                ASSERT_TRUE(std::equal(in, in + count, expectedIn))
                                    << c.name << " " << i;
                            }
                            several += expectedCount > 1;
                        }
                    }
                }
            }
        }
    // Both answers came up often.
    EXPECT_GT(found, 2000);
    EXPECT_GT(missed, 200);
    EXPECT_GT(several, 1000);
    EXPECT_GT(atZero, 5000);

    // A point that is not a number finds nothing, as in Detour.
    const NavMesh* mesh =
        World::Get().GetPathFinder().GetNavMesh(World::Get().GetRegion("Meadow"), 0);
    ASSERT_NE(mesh, nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float bad[3] = {nan, 0, 10};
    const float extents[3] = {1, 1, 1};
    float out[3] = {1, 2, 3};
    EXPECT_EQ(FindNearestPolygon(*mesh->GetQuery(), bad, extents, any, out), 0u);
}

// A point well inside a polygon the layout keeps as an interior is over that polygon alone: at
// its surface, within the climb, Detour answers with it whatever box is asked. Points near the
// margin, inside and out, get Detour's answer too.
TEST_F(TileQueries, PointsInsideInteriorsAreTheirPolygons) {
    struct Case {
        const char* name;
        float horizontal, vertical;
    };
    const Case cases[] = {{"tight", 0.0f, 0.5f}, {"agent", 0.4f, 0.5f}, {"wide", 12.0f, 3.0f}};
    // Heights off the surface; those past the climb leave the answer to the walk.
    const float rises[] = {0.0f, 0.3f, -0.45f, 0.7f, -2.0f};
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    int interiors = 0, theirs = 0, compared = 0;
    for (const std::unique_ptr<Region>& region : World::Get().GetRegions())
        for (int size = 0; size < kPathingSizeCount; ++size) {
            const NavMesh* mesh = World::Get().GetPathFinder().GetNavMesh(region.get(), size);
            if (!mesh)
                continue;
            const navtiles::TileLayout& layout = *mesh->GetTileLayout();
            const dtNavMeshQuery& query = *mesh->GetQuery();
            const navtiles::TileRefs refs(layout);
            int hi[2] = {0, 0};
            const dtNavMesh& nav = *mesh->GetMesh();
            for (int t = 0; t < nav.getMaxTiles(); ++t)
                if (const dtMeshTile& tile = *nav.getTile(t); tile.header) {
                    hi[0] = std::max(hi[0], tile.header->x);
                    hi[1] = std::max(hi[1], tile.header->y);
                }
            const auto at = [](const float* v) { return Vec3(v[0], v[1], v[2]); };
            for (int x = -1; x <= hi[0] + 1; ++x)
                for (int z = -1; z <= hi[1] + 1; ++z)
                    for (const navtiles::TileLayout::Interior& in : layout.InteriorsAt(x, z)) {
                        ++interiors;
                        const dtMeshTile& tile = *in.tile;
                        const dtPoly& poly = tile.polys[in.poly];
                        const dtPolyRef ref = refs.Base(tile) | in.poly;
                        for (int i = 0; i < 8; ++i) {
                            // A corner pulled towards the middle: from on the outline to well in.
                            Vec3 middle(0, 0, 0);
                            for (int k = 0; k < poly.vertCount; ++k)
                                middle += at(&tile.verts[poly.verts[k] * 3]);
                            middle = middle / static_cast<float>(poly.vertCount);
                            const Vec3 corner = at(&tile.verts[poly.verts[i % poly.vertCount] * 3]);
                            const float pull = i < 4 ? u(rng) : 0.02f * u(rng);
                            Vec3 p = corner + (middle - corner) * pull;
                            float surface = 0;
                            if (dtStatusFailed(query.getPolyHeight(ref, &p.x, &surface)))
                                continue;
                            for (const float rise : rises)
                                for (const Case& c : cases) {
                                    p.y = surface + rise;
                                    const float extents[3] = {c.horizontal, c.vertical,
                                                              c.horizontal};
                                    float mine[3] = {p.x, p.y, p.z}, expected[3] = {p.x, p.y, p.z};
                                    dtPolyRef want = 0;
                                    bool over = false, wantOver = false, onIt = false;
                                    query.findNearestPoly(&p.x, extents, &any, &want, expected,
                                                          &wantOver);
                                    const std::uint32_t got = FindNearestPolygon(
                                        query, &p.x, extents, any, mine, &over, &onIt, &layout);
                                    ASSERT_EQ(got, want) << c.name << " " << rise << " " << i;
                                    ASSERT_TRUE(SameBits(mine, expected, 3) && over == wantOver)
                                        << c.name << " " << rise << " " << i;
                                    ++compared;
                                    if (!in.Holds(&p.x) || std::abs(rise) > 0.5f)
                                        continue;
                                    ASSERT_EQ(want, ref) << c.name << " " << rise << " " << i;
                                    ASSERT_TRUE(wantOver && onIt);
                                    ++theirs;
                                }
                        }
                    }
        }
    // Most of the sample level's polygons stand alone.
    EXPECT_GT(interiors, 100);
    EXPECT_GT(theirs, 2000);
    EXPECT_GT(compared, 10 * theirs / 4);
}

// Every point an interior holds is inside its polygon and clear of every other polygon of the
// mesh (corners, outline and detail vertices) by more than the rounding of the test.
TEST_F(TileQueries, InteriorsStandClearOfEveryOtherPolygon) {
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    int held = 0;
    ForEachTile([&](const Region& region, const NavMesh& mesh, int, const dtMeshTile& tile) {
        const navtiles::TileLayout& layout = *mesh.GetTileLayout();
        const dtNavMesh& nav = *mesh.GetMesh();
        for (const navtiles::TileLayout::Interior& in :
             layout.InteriorsAt(tile.header->x, tile.header->y)) {
            if (in.tile != &tile)
                continue;
            const dtPoly& poly = tile.polys[in.poly];
            float verts[DT_VERTS_PER_POLYGON * 3];
            const int n = navtiles::PolygonVerts(tile, poly, verts);
            for (int i = 0; i < 20; ++i) {
                // Somewhere in the polygon's box, kept when the interior holds it.
                const float* a = &verts[(i % n) * 3];
                const float* b = &verts[((i + 2) % n) * 3];
                const float t = u(rng);
                const float p[3] = {a[0] + (b[0] - a[0]) * t, a[1], a[2] + (b[2] - a[2]) * t};
                if (!in.Holds(p))
                    continue;
                ++held;
                ASSERT_TRUE(dtPointInPolygon(p, verts, n)) << region.GetName();
                for (int t2 = 0; t2 < nav.getMaxTiles(); ++t2) {
                    const dtMeshTile& other = *nav.getTile(t2);
                    for (int r = 0; other.header && r < other.header->polyCount; ++r) {
                        if (&other == &tile && r == static_cast<int>(in.poly))
                            continue;
                        const dtPoly& near = other.polys[r];
                        float rv[DT_VERTS_PER_POLYGON * 3], ed[DT_VERTS_PER_POLYGON],
                            et[DT_VERTS_PER_POLYGON];
                        const int m = navtiles::PolygonVerts(other, near, rv);
                        ASSERT_FALSE(dtDistancePtPolyEdgesSqr(p, rv, m, ed, et))
                            << region.GetName() << " polygon " << r;
                        for (int k = 0; k < m; ++k)
                            ASSERT_GT(ed[k], 0.03f * 0.03f) << region.GetName() << " " << r;
                        if (r >= other.header->detailMeshCount)
                            continue;
                        const dtPolyDetail& detail = other.detailMeshes[r];
                        for (unsigned k = 0; k < detail.vertCount; ++k) {
                            const float* v = &other.detailVerts[(detail.vertBase + k) * 3];
                            ASSERT_GT(dtSqr(v[0] - p[0]) + dtSqr(v[2] - p[2]), 0.03f * 0.03f);
                        }
                    }
                }
            }
        }
    });
    EXPECT_GT(held, 500);
}

// A kept detail triangle answers as dtClosestHeightPointTriangle, bit for bit: either winding,
// denominators either side of the library's epsilon, points on the corners and edges and just
// off them.
TEST(TileSurfaces, HeightsAreTheLibrarys) {
    using Surface = navtiles::TileLayout::Surface;
    struct Case {
        const char* name;
        float a[3], b[3], c[3];
    };
    const Case cases[] = {
        {"counter-clockwise", {0, 1, 0}, {0, 2, 4}, {4, 0.5f, 0}},
        {"clockwise", {0, 1, 0}, {4, 0.5f, 0}, {0, 2, 4}},
        {"far from the origin", {812.25f, 31, -517.5f}, {813.5f, 31.4f, -515}, {815, 30.2f, -517}},
        {"sliver", {0, 0, 0}, {10, 1, 0.01f}, {10, 2, 0.02f}},
        {"flat, just under epsilon", {0, 0, 0}, {0, 2, 0.9999e-3f}, {1e-3f, 1, 0}},
        {"flat, just over epsilon", {0, 0, 0}, {0, 2, 1.0001e-3f}, {1e-3f, 1, 0}},
        {"a line", {0, 0, 0}, {1, 1, 1}, {2, 2, 2}},
    };
    std::mt19937 rng{7};
    std::uniform_real_distribution<float> u(-0.25f, 1.25f);
    int taken = 0;
    for (const Case& c : cases) {
        std::vector<std::array<float, 3>> points;
        for (const float* corner : {c.a, c.b, c.c})
            points.push_back({corner[0], 0, corner[2]});
        for (int i = 0; i < 2000; ++i) {
            // Over the triangle's box and a little past it, and on its edges.
            const float s = u(rng), t = i % 4 == 0 ? 1 - s : u(rng);
            points.push_back({c.a[0] + (c.b[0] - c.a[0]) * s + (c.c[0] - c.a[0]) * t, 0,
                              c.a[2] + (c.b[2] - c.a[2]) * s + (c.c[2] - c.a[2]) * t});
        }
        Surface surface{};
        const bool kept = Surface::Make(c.a, c.b, c.c, surface);
        for (const auto& p : points) {
            float want = -7, got = -7;
            const bool expected = dtClosestHeightPointTriangle(p.data(), c.a, c.b, c.c, want);
            const bool answered = kept && surface.HeightAt(p.data(), got);
            ASSERT_EQ(answered, expected) << c.name << " " << p[0] << " " << p[2];
            if (expected) {
                ASSERT_TRUE(SameBits(&got, &want, 1)) << c.name << " " << p[0] << " " << p[2];
            }
            taken += expected;
        }
    }
    EXPECT_GT(taken, 3000);
}

// An interior's kept triangles give the height of the first of its polygon's detail triangles
// that takes the point, as the library finds it walking them all in order.
TEST_F(TileQueries, InteriorHeightsAreTheDetailMeshes) {
    std::uniform_real_distribution<float> u(-0.1f, 1.1f);
    int heights = 0, misses = 0;
    ForEachTile([&](const Region& region, const NavMesh& mesh, int, const dtMeshTile& tile) {
        const navtiles::TileLayout& layout = *mesh.GetTileLayout();
        for (const navtiles::TileLayout::Interior& in :
             layout.InteriorsAt(tile.header->x, tile.header->y)) {
            if (in.tile != &tile)
                continue;
            const dtPoly& poly = tile.polys[in.poly];
            const dtPolyDetail& detail = tile.detailMeshes[in.poly];
            float lo[2] = {FLT_MAX, FLT_MAX}, hi[2] = {-FLT_MAX, -FLT_MAX};
            for (int k = 0; k < poly.vertCount; ++k) {
                const float* v = &tile.verts[poly.verts[k] * 3];
                lo[0] = std::min(lo[0], v[0]), hi[0] = std::max(hi[0], v[0]);
                lo[1] = std::min(lo[1], v[2]), hi[1] = std::max(hi[1], v[2]);
            }
            for (int i = 0; i < 40; ++i) {
                const float p[3] = {lo[0] + (hi[0] - lo[0]) * u(rng), 0,
                                    lo[1] + (hi[1] - lo[1]) * u(rng)};
                float want = -7, got = -7;
                bool expected = false;
                for (int j = 0; j < detail.triCount && !expected; ++j) {
                    const unsigned char* t = &tile.detailTris[(detail.triBase + j) * 4];
                    expected = dtClosestHeightPointTriangle(
                        p, navtiles::DetailVertex(tile, poly, detail, t[0]),
                        navtiles::DetailVertex(tile, poly, detail, t[1]),
                        navtiles::DetailVertex(tile, poly, detail, t[2]), want);
                }
                ASSERT_EQ(layout.HeightOver(in, p, got), expected) << region.GetName();
                if (expected) {
                    ASSERT_TRUE(SameBits(&got, &want, 1)) << region.GetName();
                }
                ++(expected ? heights : misses);
            }
        }
    });
    EXPECT_GT(heights, 2000);
    EXPECT_GT(misses, 100);
}

TEST_F(TileQueries, CorridorsAndStraightPathsAreDetours) {
    constexpr int kCorridor = 512;
    std::vector<dtPolyRef> corridor(kCorridor), theirCorridor(kCorridor);
    std::vector<float> mine(256 * 3), theirs(256 * 3);
    CorridorSearch search;
    int paths = 0, partial = 0, longest = 0;
    struct Case {
        const char* name;
        float areaCost;
        bool obstacles;
    };
    for (const Case& c :
         {Case{"plain", 1.0f, false}, Case{"cheap", 0.001f, false}, Case{"closed", 1.0f, true}})
        for (const std::unique_ptr<Region>& region : World::Get().GetRegions()) {
            std::vector<std::unique_ptr<DynamicObstacle>> obstacles;
            for (int i = 0; c.obstacles && i < 12; ++i) {
                obstacles.push_back(std::make_unique<DynamicObstacle>());
                ASSERT_TRUE(
                    obstacles.back()->Create(region.get(), Sphere{Somewhere(*region), 3.0f}));
                obstacles.back()->Attach();
            }
            walk.setAreaCost(0, c.areaCost);
            for (int size = 0; size < kPathingSizeCount; ++size) {
                const NavMesh* mesh = World::Get().GetPathFinder().GetNavMesh(region.get(), size);
                if (!mesh)
                    continue;
                const dtNavMeshQuery& query = *mesh->GetQuery();
                const float extents[3] = {2.0f, 4.0f, 2.0f};
                for (int i = 0; i < 200; ++i) {
                    const Vec3 a = Somewhere(*region), b = Somewhere(*region);
                    float start[3], end[3];
                    dtPolyRef from = 0, to = 0;
                    bool startOver = false, endOver = false;
                    query.findNearestPoly(&a.x, extents, &any, &from, start, &startOver);
                    query.findNearestPoly(&b.x, extents, &any, &to, end, &endOver);
                    if (!from || !to)
                        continue;
                    // Whole corridors, and corridors cut short.
                    int count = 0;
                    // Portal middles worked out, and taken from the mesh's table.
                    for (const int room : {kCorridor, 4, 1, -kCorridor}) {
                        const float* const* midpoints =
                            room < 0 ? mesh->GetPortalMidpoints() : nullptr;
                        int expected = 0;
                        const dtStatus status =
                            query.findPath(from, to, start, end, &walk, theirCorridor.data(),
                                           &expected, std::abs(room));
                        ASSERT_EQ(search.Find(query, from, to, start, end, walk, corridor.data(),
                                              &count, std::abs(room), midpoints,
                                              room < 0 ? mesh->GetTileLayout() : nullptr),
                                  status)
                            << c.name << " " << region->GetName() << " " << size << " " << i;
                        ASSERT_EQ(count, expected) << c.name << " " << i << " room " << room;
                        ASSERT_TRUE(std::equal(corridor.begin(), corridor.begin() + count,
                                               theirCorridor.begin()))
                            << c.name << " " << i << " room " << room;
                        if (room == kCorridor && dtStatusDetail(status, DT_PARTIAL_RESULT))
                            ++partial;
                    }
                    search.Find(query, from, to, start, end, walk, corridor.data(), &count,
                                kCorridor);
                    // The goal as found, and off the corridor's end.
                    for (const float* goal : {static_cast<const float*>(end), &b.x})
                        // Room for every corner, and so little that the corners are cut short.
                        for (const int room : {256, 30, 3, 2, 1}) {
                            int expected = 0;
                            query.findStraightPath(start, goal, corridor.data(), count,
                                                   theirs.data(), nullptr, nullptr, &expected,
                                                   room);
                            // What the nearest-polygon query told of the ends, as the path
                            // finder passes it on.
                            const bool goalOver =
                                goal == end && corridor[count - 1] == to && endOver;
                            const int got = FindStraightCorners(
                                query, start, goal, corridor.data(), count, mine.data(), room,
                                startOver, goalOver, i % 2 ? mesh->GetTileLayout() : nullptr);
                            ASSERT_EQ(got, expected) << c.name << " " << region->GetName() << " "
                                                     << size << " " << i << " room " << room;
                            ASSERT_TRUE(SameBits(mine.data(), theirs.data(), 3 * got))
                                << c.name << " " << i << " room " << room;
                            longest = std::max(longest, got);
                        }
                    ++paths;
                }
            }
        }
    EXPECT_GT(paths, 500);
    EXPECT_GT(partial, 20);  // goals cut off by walls, water and obstacles
    EXPECT_GT(longest, 5);   // paths round walls, not only straight lines
}

// Searches between neighbouring polygons, which mostly pop the goal second, and sometimes weigh
// a third polygon first (a goal in the neighbour's far corner, a dear area): the corridor is
// Detour's in every case.
TEST_F(TileQueries, CorridorsToANeighbourAreDetours) {
    constexpr int kCorridor = 64;
    std::vector<dtPolyRef> corridor(kCorridor), theirCorridor(kCorridor);
    CorridorSearch search;
    int across = 0, round = 0;
    for (const float areaCost : {1.0f, 0.001f, 50.0f})
        ForEachTile([&](const Region&, const NavMesh& mesh, int, const dtMeshTile& tile) {
            walk.setAreaCost(0, areaCost);
            const dtNavMeshQuery& query = *mesh.GetQuery();
            const navtiles::TileRefs refs(*mesh.GetMesh());
            for (int p = 0; p < tile.header->polyCount && p < 120; ++p) {
                const dtPoly& poly = tile.polys[p];
                if (poly.getType() != DT_POLYTYPE_GROUND)
                    continue;
                float middle[3] = {0, 0, 0};
                for (int v = 0; v < poly.vertCount; ++v)
                    dtVadd(middle, middle, &tile.verts[poly.verts[v] * 3]);
                dtVscale(middle, middle, 1.0f / poly.vertCount);
                const dtPolyRef from = refs.Base(tile) | static_cast<dtPolyRef>(p);
                // From the middle, and from near each corner: beside a third polygon that also
                // borders the goal's.
                for (int s = -1; s < poly.vertCount; ++s)
                    for (unsigned i = poly.firstLink; i != DT_NULL_LINK; i = tile.links[i].next) {
                        float start[3];
                        dtVlerp(start, s < 0 ? middle : &tile.verts[poly.verts[s] * 3], middle,
                                0.1f);
                        const dtPolyRef to = tile.links[i].ref;
                        const dtMeshTile* toTile = nullptr;
                        const dtPoly* toPoly = nullptr;
                        ASSERT_TRUE(refs.Get(to, toTile, toPoly));
                        // Each of the neighbour's corners, drawn a little towards its middle.
                        for (int v = 0; v < toPoly->vertCount; ++v) {
                            float end[3];
                            dtVlerp(end, &toTile->verts[toPoly->verts[v] * 3],
                                    &toTile->verts[toPoly->verts[(v + 1) % toPoly->vertCount] * 3],
                                    0.1f);
                            int count = 0, expected = 0;
                            const dtStatus status =
                                query.findPath(from, to, start, end, &walk, theirCorridor.data(),
                                               &expected, kCorridor);
                            ASSERT_EQ(search.Find(query, from, to, start, end, walk,
                                                  corridor.data(), &count, kCorridor,
                                                  mesh.GetPortalMidpoints(), mesh.GetTileLayout()),
                                      status);
                            ASSERT_EQ(count, expected)
                                << p << " to " << to << " corners " << s << " " << v;
                            ASSERT_TRUE(std::equal(corridor.begin(), corridor.begin() + count,
                                                   theirCorridor.begin()));
                            // Detour's closed nodes: the polygons its search popped.
                            const dtNodePool& pool = *query.getNodePool();
                            int popped = 0;
                            for (int n = 1; n <= pool.getNodeCount(); ++n)
                                popped += (pool.getNodeAtIdx(static_cast<unsigned>(n))->flags &
                                           DT_NODE_CLOSED) != 0;
                            ++(popped == 2 ? across : round);
                        }
                    }
            }
        });
    EXPECT_GT(across, 1000);
    EXPECT_GT(round, 10) << across;
}

// Every link of every mesh keeps the middle of the first portal to its polygon, as the search
// works it out; links across tile borders are narrowed to the shared part.
TEST_F(TileQueries, PortalMiddlesAreKeptForEveryLink) {
    int links = 0, borders = 0;
    ForEachTile([&](const Region& region, const NavMesh& mesh, int t, const dtMeshTile& tile) {
        const navtiles::TileRefs refs(*mesh.GetMesh());
        const float* kept = mesh.GetPortalMidpoints()[t];
        ASSERT_NE(kept, nullptr) << region.GetName() << " tile " << t;
        for (int p = 0; p < tile.header->polyCount; ++p)
            for (unsigned i = tile.polys[p].firstLink; i != DT_NULL_LINK; i = tile.links[i].next) {
                const dtLink& link = tile.links[i];
                const dtMeshTile* toTile = nullptr;
                const dtPoly* toPoly = nullptr;
                ASSERT_TRUE(refs.Get(link.ref, toTile, toPoly));
                float left[3], right[3], mid[4] = {0, 0, 0, 0};
                ASSERT_TRUE(
                    navtiles::PortalBetween(tile, tile.polys[p], link.ref, *toPoly, left, right));
                navtiles::PortalMidpoint(left, right, mid);
                ASSERT_TRUE(SameBits(&kept[i * 4], mid, 4))
                    << region.GetName() << " tile " << t << " link " << i;
                ++links;
                borders += toTile != &tile;
            }
    });
    EXPECT_GT(links, 500);
    EXPECT_GT(borders, 50) << links;
}

// The crossing test read straight from the tile agrees with Detour's on every polygon, for
// points on its corners, on its edges, and round it.
TEST_F(TileQueries, PointInPolygonIsDetours) {
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    int inside = 0, outside = 0;
    ForEachTile([&](const Region& region, const NavMesh&, int t, const dtMeshTile& tile) {
        for (int p = 0; p < tile.header->polyCount && p < 200; ++p) {
            const dtPoly& poly = tile.polys[p];
            float verts[DT_VERTS_PER_POLYGON * 3];
            const int n = navtiles::PolygonVerts(tile, poly, verts);
            for (int i = 0; i < n; ++i) {
                const float* a = &verts[i * 3];
                const float* b = &verts[((i + 1) % n) * 3];
                const float probes[][3] = {{a[0], a[1], a[2]},
                                           {(a[0] + b[0]) * 0.5f, a[1], (a[2] + b[2]) * 0.5f},
                                           {a[0] + jitter(rng), a[1], a[2] + jitter(rng)},
                                           {a[0] + (b[0] - a[0]) * 0.3f, a[1], a[2]}};
                for (const float* probe : probes) {
                    const bool expected = dtPointInPolygon(probe, verts, n);
                    ASSERT_EQ(navtiles::PointInPolygon(tile, poly, probe), expected)
                        << region.GetName() << " tile " << t << " polygon " << p;
                    (expected ? inside : outside)++;
                }
            }
        }
    });
    EXPECT_GT(inside, 1000);
    EXPECT_GT(outside, 1000);
}

// The layout a mesh keeps holds, at every grid place with tiles and round them, the tiles Detour
// finds there, and reads tile places and refs as Detour does. Boxes reaching far past the tiles
// find what Detour finds.
TEST_F(TileQueries, KeptLayoutIsDetours) {
    int meshes = 0, places = 0, withTiles = 0, links = 0, far = 0;
    for (const std::unique_ptr<Region>& region : World::Get().GetRegions())
        for (int size = 0; size < kPathingSizeCount; ++size) {
            const NavMesh* mesh = World::Get().GetPathFinder().GetNavMesh(region.get(), size);
            if (!mesh)
                continue;
            const navtiles::TileLayout* layout = mesh->GetTileLayout();
            ASSERT_NE(layout, nullptr) << region->GetName() << " " << size;
            const dtNavMesh& nav = *mesh->GetMesh();
            ++meshes;
            int lo[2] = {std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
            int hi[2] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
            for (int t = 0; t < nav.getMaxTiles(); ++t)
                if (const dtMeshTile& tile = *nav.getTile(t); tile.header) {
                    lo[0] = std::min(lo[0], tile.header->x);
                    hi[0] = std::max(hi[0], tile.header->x);
                    lo[1] = std::min(lo[1], tile.header->y);
                    hi[1] = std::max(hi[1], tile.header->y);
                }
            for (int z = lo[1] - 3; z <= hi[1] + 3; ++z)
                for (int x = lo[0] - 3; x <= hi[0] + 3; ++x) {
                    const dtMeshTile* theirs[navtiles::TileLayout::kMaxTilesAt];
                    const int n = nav.getTilesAt(x, z, theirs, navtiles::TileLayout::kMaxTilesAt);
                    const auto mine = layout->TilesAt(x, z);
                    ASSERT_EQ(mine.size(), static_cast<std::size_t>(n)) << x << "," << z;
                    ASSERT_TRUE(std::equal(mine.begin(), mine.end(), theirs)) << x << "," << z;
                    // A place with tiles is never narrowed away.
                    int x0 = x, z0 = z, x1 = x, z1 = z;
                    layout->Clamp(x0, z0, x1, z1);
                    ASSERT_TRUE(n == 0 || (x0 == x && x1 == x && z0 == z && z1 == z))
                        << x << "," << z;
                    ++places;
                    withTiles += n > 0;
                }
            const navtiles::TileRefs fromNav(nav), fromLayout(*layout);
            const navtiles::LinkRefs linksFromNav(nav);
            for (int i = 0; i < 200; ++i) {
                const Vec3 p = Somewhere(*region);
                int x = 0, z = 0, x2 = 0, z2 = 0;
                fromNav.TileAt(&p.x, x, z);
                fromLayout.TileAt(&p.x, x2, z2);
                ASSERT_TRUE(x == x2 && z == z2) << i;
            }
            for (int t = 0; t < nav.getMaxTiles(); ++t) {
                const dtMeshTile& tile = *nav.getTile(t);
                for (int l = 0; tile.header && l < tile.header->maxLinkCount; ++l) {
                    const dtPolyRef ref = tile.links[l].ref;
                    if (!ref)
                        continue;
                    const dtMeshTile *a = nullptr, *b = nullptr, *c = nullptr;
                    const dtPoly *pa = nullptr, *pb = nullptr, *pc = nullptr;
                    ASSERT_TRUE(fromNav.Get(ref, a, pa) && fromLayout.Get(ref, b, pb));
                    layout->Links().Get(ref, c, pc);
                    linksFromNav.Get(ref, b, pb);
                    ASSERT_TRUE(a == b && a == c && pa == pb && pa == pc) << t << " " << l;
                    ++links;
                }
            }
            // Boxes from well past the region, wider than it.
            const float extents[3] = {80.0f, 40.0f, 80.0f};
            for (const float reach : {30.0f, 200.0f}) {
                const Vec3 p = region->GetBoundsMax() + Vec3(reach, 0.0f, reach);
                float mine[3] = {p.x, p.y, p.z}, theirs[3] = {p.x, p.y, p.z};
                dtPolyRef expected = 0;
                mesh->GetQuery()->findNearestPoly(&p.x, extents, &any, &expected, theirs, nullptr);
                ASSERT_EQ(FindNearestPolygon(*mesh->GetQuery(), &p.x, extents, any, mine, nullptr,
                                             nullptr, layout),
                          expected);
                ASSERT_TRUE(SameBits(mine, theirs, 3));
                dtPolyRef in[64], expectedIn[64];
                int expectedCount = 0;
                mesh->GetQuery()->queryPolygons(&p.x, extents, &any, expectedIn, &expectedCount,
                                                64);
                const int count =
                    CollectPolygons(*mesh->GetQuery(), &p.x, extents, any, in, 64, layout);
                ASSERT_EQ(count, expectedCount);
                ASSERT_TRUE(std::equal(in, in + count, expectedIn));
                far += count > 0;
            }
        }
    EXPECT_GT(meshes, 3);
    EXPECT_GT(withTiles, 10);
    EXPECT_GT(places, withTiles);
    EXPECT_GT(links, 500);
    EXPECT_GT(far, 0);  // a box from past the tiles still reaches some
}

// Grid places are found with an integer floor of their own: it must be the library's for every
// quotient, negative ones and whole numbers included, up to where floats hold no fractions.
TEST(TileGrid, FloorToIntIsTheLibrarysFloor) {
    const float cases[] = {0.0f,        -0.0f,        0.5f,         -0.5f,       1.0f,
                           -1.0f,       0.99999994f,  -0.99999994f, 1e-30f,      -1e-30f,
                           3.0000002f,  -3.0000002f,  -2.9999998f,  16777215.0f, -16777215.0f,
                           16777218.0f, -16777218.0f, 8388607.5f,   -8388607.5f, -2147483520.0f};
    for (const float v : cases)
        EXPECT_EQ(navtiles::FloorToInt(v), static_cast<int>(std::floor(v))) << v;
}

}  // namespace
}  // namespace GAME::test
