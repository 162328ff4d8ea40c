// The ground's queries against plain walks over every triangle. The floor under a point: the
// ground keeps each triangle's terms and skips triangles by a widened box, and must still give
// the very same height and surface everywhere, on edges, just outside them, on slivers and far
// from the origin. Rays: only the cells a ray crosses are searched, and the nearest hit must
// still be the one of the whole box, whatever the direction.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "Engine/world/GroundMesh.h"

namespace GAME::test {
namespace {

struct Triangle {
    Vec3 a, b, c;
    PhysicsSurface surface;
};

// The floor as every triangle answers it, in order (the first of equal heights wins).
bool ReferenceFloor(const std::vector<Triangle>& triangles, const Vec3& p, float& height,
                    PhysicsSurface& surface, float reach = GroundMesh::kFloorReach) {
    bool found = false;
    float best = -kInfinity;
    for (const Triangle& t : triangles) {
        const Vec3 &a = t.a, &b = t.b, &c = t.c;
        if ((b - a).Cross(c - a).y <= 0)
            continue;
        const float det = (b.z - c.z) * (a.x - c.x) + (c.x - b.x) * (a.z - c.z);
        if (Abs(det) < 1e-9f)
            continue;
        const float l1 = ((b.z - c.z) * (p.x - c.x) + (c.x - b.x) * (p.z - c.z)) / det;
        const float l2 = ((c.z - a.z) * (p.x - c.x) + (a.x - c.x) * (p.z - c.z)) / det;
        const float l3 = 1.0f - l1 - l2;
        if (l1 < -1e-5f || l2 < -1e-5f || l3 < -1e-5f)
            continue;
        const float y = l1 * a.y + l2 * b.y + l3 * c.y;
        if (y <= p.y + reach && y > best) {
            best = y;
            surface = t.surface;
            found = true;
        }
    }
    if (found)
        height = best;
    return found;
}

// One point's floor against the plain walk; true when it has one.
bool SameFloorAt(const GroundMesh& ground, const std::vector<Triangle>& triangles, const Vec3& p) {
    float expected = 0, got = 0;
    PhysicsSurface expectedSurface = PhysicsSurface::None;
    PhysicsSurface gotSurface = PhysicsSurface::None;
    const bool want = ReferenceFloor(triangles, p, expected, expectedSurface);
    EXPECT_EQ(ground.FloorBelow(p, got, &gotSurface), want) << p.x << ", " << p.z;
    if (!want)
        return false;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(expected))
        << p.x << ", " << p.z;
    EXPECT_EQ(gotSurface, expectedSurface) << p.x << ", " << p.z;
    return true;
}

// Every point of a fine grid over the square from `origin` (less than one ground cell wide, so
// every triangle is in the one cell the ground searches), at two heights.
void ExpectSameFloors(const std::vector<Triangle>& triangles, const Vec3& origin, float side,
                      float step) {
    GroundMesh ground;
    for (const Triangle& t : triangles)
        ground.AddTriangle(t.a, t.b, t.c, t.surface);
    ground.Finish();
    int floors = 0;
    for (float dz = -0.05f; dz < side; dz += step)
        for (float dx = -0.05f; dx < side; dx += step)
            for (const float y : {origin.y + 5.0f, origin.y + 0.3f}) {
                floors += SameFloorAt(ground, triangles, Vec3(origin.x + dx, y, origin.z + dz));
                ASSERT_FALSE(::testing::Test::HasFailure());
            }
    EXPECT_GT(floors, 0);
}

std::vector<Triangle> Tricky(const Vec3& o) {
    return {
        // A sloped quad of two triangles sharing an edge, a higher overlapping step, a face
        // turned down, a wall seen from above, and a sliver along the quad's diagonal.
        {o + Vec3(0, 0, 0), o + Vec3(0, 0.4f, 3), o + Vec3(3, 0.2f, 0), PhysicsSurface::Grass},
        {o + Vec3(3, 0.2f, 0), o + Vec3(0, 0.4f, 3), o + Vec3(3, 0.6f, 3), PhysicsSurface::Dirt},
        {o + Vec3(1, 0.5f, 1), o + Vec3(1, 0.5f, 2.5f), o + Vec3(2.5f, 0.5f, 1),
         PhysicsSurface::Stone},
        {o + Vec3(0.5f, 1, 0.5f), o + Vec3(2, 1, 0.5f), o + Vec3(0.5f, 1, 2), PhysicsSurface::Wood},
        {o + Vec3(0, 0, 1), o + Vec3(0, 2, 1), o + Vec3(3, 0, 1), PhysicsSurface::Snow},
        {o + Vec3(0, 0.3f, 3), o + Vec3(3, 0.3f, 0.001f), o + Vec3(3, 0.3f, 0),
         PhysicsSurface::Sand},
    };
}

TEST(GroundFloor, KeptTermsAndBoxesGiveThePlainAnswerEverywhere) {
    ExpectSameFloors(Tricky(Vec3(0, 0, 0)), Vec3(0, 0, 0), 3.1f, 0.0173f);
}

TEST(GroundFloor, FarFromTheOriginRoundingStaysTheSame) {
    // Coordinates where a float step is a thousandth of a metre.
    const Vec3 far(7000.25f, 40, -6500.5f);
    ExpectSameFloors(Tricky(far), far, 3.1f, 0.0411f);
}

// Floors stacked over one place (ground, a bridge of two surfaces at the same height, a roof),
// asked for from one height after another: a floor found from above answers lower tops only
// down to itself, and a miss answers only lower tops.
TEST(GroundFloor, AFloorAskedForAgainFromAnotherHeightIsThePlainAnswer) {
    const auto flat = [](float y, PhysicsSurface surface) {
        return Triangle{Vec3(-2, y, -2), Vec3(-2, y, 2), Vec3(2, y, -2), surface};
    };
    const std::vector<Triangle> stack = {flat(0, PhysicsSurface::Grass),
                                         flat(3, PhysicsSurface::Wood),
                                         flat(3, PhysicsSurface::Stone),  // the first one wins
                                         flat(6, PhysicsSurface::Snow)};
    struct Query {
        float y, reach;
    };
    // Roof, bridge under a lower top, the bridge again, a top right on it, the ground between,
    // below everything, lower still, above the first top, and a wide reach from under the bridge.
    const std::vector<Query> queries = {{10, 0.5f},   {5, 0.5f},  {4, 0.5f},  {2.5f, 0.5f},
                                        {2.4f, 0.5f}, {-1, 0.5f}, {-2, 0.5f}, {20, 0.5f},
                                        {1, 2.5f},    {1, 1.9f}};
    for (const bool reversed : {false, true}) {
        GroundMesh ground;
        for (const Triangle& t : stack)
            ground.AddTriangle(t.a, t.b, t.c, t.surface);
        ground.Finish();
        std::vector<Query> order = queries;
        if (reversed)
            std::reverse(order.begin(), order.end());
        for (int round = 0; round < 2; ++round)
            for (const Query& q : order) {
                const Vec3 p(0.25f, q.y, -0.5f);
                float expected = 0, got = 0;
                PhysicsSurface expectedSurface = PhysicsSurface::None, gotSurface = expectedSurface;
                const bool want = ReferenceFloor(stack, p, expected, expectedSurface, q.reach);
                ASSERT_EQ(ground.FloorBelow(p, got, &gotSurface, q.reach), want)
                    << q.y << " " << q.reach << " round " << round;
                if (want) {
                    EXPECT_EQ(got, expected) << q.y << " " << q.reach;
                    EXPECT_EQ(gotSurface, expectedSurface) << q.y << " " << q.reach;
                }
            }
    }
}

// Kept floors keep every surface, a missing floor, and keys that differ only in the lowest bits
// of x apart: eight squares side by side, one per surface, each a step higher, asked for twice in
// both orders, with points a few float steps past the ground's ends (no floor there, though
// within the triangles' rounding) beside points on them. Each answer is a fresh ground's.
TEST(GroundFloor, KeptFloorsKeepTheirSurfaceAndTheLowestBitsOfX) {
    const auto build = [](GroundMesh& ground) {
        for (int i = 0; i < 8; ++i) {
            const float x0 = static_cast<float>(i) * 0.25f, x1 = x0 + 0.25f, y = 0.125f * i;
            const auto surface = static_cast<PhysicsSurface>(i);
            ground.AddTriangle(Vec3(x0, y, 0), Vec3(x0, y, 1), Vec3(x1, y, 0), surface);
            ground.AddTriangle(Vec3(x1, y, 0), Vec3(x0, y, 1), Vec3(x1, y, 1), surface);
        }
        ground.Finish();
    };
    const float edge = 2.0f;  // the ground's last x: its bits end in zeros, as 0's do
    std::vector<Vec3> points;
    for (int i = 0; i < 8; ++i)
        points.push_back(Vec3(static_cast<float>(i) * 0.25f + 0.1f, 3, 0.5f));
    // Each end right after (and, reversed, right before) a point a few steps past it.
    float past = edge, before = 0;
    for (int step = 1; step < 8; ++step) {
        past = std::nextafter(past, kInfinity);
        before = std::nextafter(before, -kInfinity);
        for (const float x : {past, edge, before, 0.0f})
            points.push_back(Vec3(x, 3, 0.5f));
    }
    points.push_back(Vec3(1.1f, -1, 0.5f));  // under every floor
    for (const bool reversed : {false, true}) {
        GroundMesh ground;
        build(ground);
        std::vector<Vec3> order = points;
        if (reversed)
            std::reverse(order.begin(), order.end());
        int floors = 0;
        std::vector<PhysicsSurface> seen;
        for (int round = 0; round < 2; ++round)
            for (const Vec3& p : order) {
                GroundMesh fresh;
                build(fresh);
                float want = 0, got = 0;
                PhysicsSurface wantSurface = PhysicsSurface::None, gotSurface = wantSurface;
                const bool found = fresh.FloorBelow(p, want, &wantSurface);
                ASSERT_EQ(ground.FloorBelow(p, got, &gotSurface), found) << p.x << " " << p.y;
                if (!found)
                    continue;
                ++floors;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(want))
                    << p.x;
                EXPECT_EQ(gotSurface, wantSurface) << p.x;
                seen.push_back(gotSurface);
            }
        EXPECT_EQ(floors, 2 * (8 + 2 * 7));  // the squares, and each end seven times
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(std::unique(seen.begin(), seen.end()) - seen.begin(), 8);
    }
}

// A memo of places is a power of two (its index is a mask), no shorter than asked for however
// odd the area, and grows with a wide ground up to a bound.
TEST(GroundFloor, PlaceMemosGrowWithTheGroundInPowersOfTwo) {
    constexpr std::size_t kLeast = 8192;
    const struct {
        float area;
        std::size_t want;
    } rows[] = {{0, kLeast},
                {64 * 64, kLeast},
                {-5, kLeast},
                {std::nanf(""), kLeast},
                {286 * 286, 131072},
                {kInfinity, std::size_t{1} << 18},
                {1e12f, std::size_t{1} << 18}};
    for (const auto& row : rows)
        EXPECT_EQ(PlaceMemoSize(row.area, kLeast), row.want) << row.area;
}

// A ground of several cells: points on and beside the lines between cells and between the parts
// of a cell, and just outside the ground, find the floor every triangle gives; near the origin,
// where a float step is half a millimetre, and in the corner of grounds so wide that their cells
// are split in coarser parts, down to none (each row: where the ground lies, the nudge, how far
// it reaches).
TEST(GroundFloor, EveryPartOfEveryCellGivesThePlainAnswer) {
    struct Row {
        Vec3 origin;
        float nudge;
        float reach;
    };
    for (const Row& row : {Row{Vec3(0, 0, 0), 1e-4f, 0}, Row{Vec3(5000, 30, -3000), 2e-3f, 0},
                           Row{Vec3(0, 0, 0), 1e-4f, 120}, Row{Vec3(0, 0, 0), 1e-4f, 250},
                           Row{Vec3(0, 0, 0), 1e-4f, 600}}) {
        const Vec3 o = row.origin;
        std::vector<Triangle> triangles;
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < 12; ++j) {
                const float x = static_cast<float>(i) * 2, z = static_cast<float>(j) * 2;
                const auto at = [&o](float u, float v) {
                    return o + Vec3(u, 0.1f * u + 0.05f * v, v);
                };
                const Vec3 a = at(x, z), b = at(x, z + 2), c = at(x + 2, z), e = at(x + 2, z + 2);
                triangles.push_back({a, b, c, PhysicsSurface::Grass});
                triangles.push_back(
                    {c, b, e, (i + j) % 2 ? PhysicsSurface::Dirt : PhysicsSurface::Sand});
            }
        // A roof over two cells and a sliver across the whole ground.
        triangles.push_back(
            {o + Vec3(3, 4, 3), o + Vec3(3, 4, 13), o + Vec3(13, 4, 3), PhysicsSurface::Wood});
        triangles.push_back({o + Vec3(0, 5, 0.5f), o + Vec3(24, 5, 0.501f), o + Vec3(24, 5, 0.5f),
                             PhysicsSurface::Stone});
        if (row.reach > 0)
            triangles.push_back({o + Vec3(row.reach, 0, row.reach), o + Vec3(row.reach, 0, 30),
                                 o + Vec3(30, 0, row.reach), PhysicsSurface::Snow});
        GroundMesh ground;
        for (const Triangle& t : triangles)
            ground.AddTriangle(t.a, t.b, t.c, t.surface);
        ground.Finish();
        int floors = 0;
        for (int i = -1; i <= 49; ++i)
            for (int j = -1; j <= 49; ++j)
                for (const float nudge : {0.0f, row.nudge}) {
                    floors += SameFloorAt(ground, triangles,
                                          o + Vec3(static_cast<float>(i) * 0.5f + nudge, 6,
                                                   static_cast<float>(j) * 0.5f - nudge));
                    ASSERT_FALSE(HasFailure()) << o.x;
                }
        EXPECT_GT(floors, 4000) << o.x;
    }
}

// Moller-Trumbore over every triangle of a surface up to `filter`: the nearest distance and the
// surfaces reaching it.
float NearestHit(const std::vector<Triangle>& triangles, const Vec3& o, const Vec3& d, int filter,
                 std::vector<PhysicsSurface>& surfaces) {
    float best = kInfinity;
    for (const Triangle& t : triangles) {
        if (static_cast<int>(t.surface) > filter)
            continue;
        const Vec3 e1 = t.b - t.a, e2 = t.c - t.a;
        const Vec3 p = d.Cross(e2);
        const float det = e1.Dot(p);
        if (Abs(det) < 1e-12f)
            continue;
        const float inv = 1.0f / det;
        const Vec3 s = o - t.a;
        const float u = s.Dot(p) * inv;
        if (u < 0 || u > 1)
            continue;
        const Vec3 q = s.Cross(e1);
        const float v = d.Dot(q) * inv;
        if (v < 0 || u + v > 1)
            continue;
        const float dist = e2.Dot(q) * inv;
        if (dist < 0)
            continue;
        if (dist < best)
            surfaces.clear();
        if (dist <= best) {
            best = dist;
            surfaces.push_back(t.surface);
        }
    }
    return best;
}

TEST(GroundRay, OnlyTheCrossedCellsAreSearchedAndTheNearestHitStays) {
    // Rolling ground of 2 m quads over 60 m (cells of 4 m), each quad's halves of two surfaces,
    // and a roof over part of it.
    std::vector<Triangle> triangles;
    const auto height = [](float x, float z) { return std::sin(x * 0.3f) + std::cos(z * 0.2f); };
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j) {
            const float x = static_cast<float>(i) * 2, z = static_cast<float>(j) * 2;
            const Vec3 a(x, height(x, z), z), b(x, height(x, z + 2), z + 2);
            const Vec3 c(x + 2, height(x + 2, z), z), e(x + 2, height(x + 2, z + 2), z + 2);
            triangles.push_back({a, b, c, PhysicsSurface::Grass});
            triangles.push_back(
                {c, b, e, (i + j) % 2 ? PhysicsSurface::Dirt : PhysicsSurface::Sand});
        }
    triangles.push_back({Vec3(10, 6, 10), Vec3(10, 6, 30), Vec3(30, 6, 10), PhysicsSurface::Wood});
    GroundMesh ground;
    for (const Triangle& t : triangles)
        ground.AddTriangle(t.a, t.b, t.c, t.surface);
    ground.Finish();
    std::uint32_t seed = 5;
    const auto next = [&seed](float scale) {
        seed = seed * 1664525u + 1013904223u;
        return (static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) - 0.5f) * scale;
    };
    int hits = 0;
    for (int r = 0; r < 3000; ++r) {
        // Level rays across the ground, steep ones, straight down (through shared edges and
        // corners), and some starting outside the ground's box.
        const Vec3 origin(30 + next(80), 2 + next(12), 30 + next(80));
        Vec3 direction(next(2), next(r % 3 == 0 ? 2.0f : 0.2f), next(2));
        if (r % 5 == 0)
            direction = Vec3(0, -1, 0);
        if (r % 7 == 0)
            direction = Vec3(1, next(0.1f), 0);
        // Every surface, then without the roof (wood), then grass and below only.
        const int filter = r % 4 == 1   ? static_cast<int>(PhysicsSurface::Wood) - 1
                           : r % 4 == 3 ? static_cast<int>(PhysicsSurface::Grass)
                                        : 7;
        std::vector<PhysicsSurface> surfaces;
        const float expected = NearestHit(triangles, origin, direction, filter, surfaces);
        WorldIntersection hit;
        const bool found = ground.Raycast(origin, direction, kInfinity, filter, hit);
        ASSERT_EQ(found, expected != kInfinity) << r;
        if (!found)
            continue;
        ++hits;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(hit.distance),
                  std::bit_cast<std::uint32_t>(expected))
            << r;
        EXPECT_NE(std::find(surfaces.begin(), surfaces.end(), hit.surface), surfaces.end()) << r;
    }
    EXPECT_GT(hits, 500);
    // Rays skimming the roof's top, from just under it to well over it, across cell borders.
    for (const float above : {-1e-3f, 0.0f, 1e-6f, 1e-3f, 0.02f})
        for (const Vec3& way : {Vec3(1, -1e-3f, 0.3f), Vec3(-0.2f, -2e-3f, 1), Vec3(1, 0, 1)}) {
            const Vec3 origin = Vec3(15, 6 + above, 15) - way.Unit() * 8.0f;
            std::vector<PhysicsSurface> surfaces;
            const float expected = NearestHit(triangles, origin, way.Unit(), 7, surfaces);
            WorldIntersection hit;
            ASSERT_EQ(ground.Raycast(origin, way.Unit(), kInfinity, 7, hit), expected != kInfinity)
                << above;
            if (expected != kInfinity) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(hit.distance),
                          std::bit_cast<std::uint32_t>(expected))
                    << above;
            }
        }
}

}  // namespace
}  // namespace GAME::test
