// The floor under a point against the plain per-triangle formula: the ground keeps each
// triangle's terms and skips triangles by a widened box, and must still give the very same
// height and surface everywhere, on edges, just outside them, on slivers and far from the origin.
#include <gtest/gtest.h>

#include <bit>
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
                    PhysicsSurface& surface) {
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
        if (y <= p.y + GroundMesh::kFloorReach && y > best) {
            best = y;
            surface = t.surface;
            found = true;
        }
    }
    if (found)
        height = best;
    return found;
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
                const Vec3 p(origin.x + dx, y, origin.z + dz);
                float expected = 0, got = 0;
                PhysicsSurface expectedSurface = PhysicsSurface::None;
                PhysicsSurface gotSurface = PhysicsSurface::None;
                const bool want = ReferenceFloor(triangles, p, expected, expectedSurface);
                ASSERT_EQ(ground.FloorBelow(p, got, &gotSurface), want) << p.x << ", " << p.z;
                if (!want)
                    continue;
                ++floors;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(expected))
                    << p.x << ", " << p.z;
                ASSERT_EQ(gotSurface, expectedSurface);
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

}  // namespace
}  // namespace GAME::test
