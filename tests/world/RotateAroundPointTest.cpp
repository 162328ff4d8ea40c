// Turning coordinates about a point: the origin swings around the pivot, the frame turns with
// it, and a pivot given in another region is met through world space.
#include <gtest/gtest.h>

#include "Engine/world/Region.h"

namespace GAME::test {
namespace {

void ExpectNear(const Vec3& got, const Vec3& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-4f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-4f) << what;
    EXPECT_NEAR(got.z, want.z, 1e-4f) << what;
}

TEST(RotateAroundPoint, SwingsTheOriginAndTurnsTheFrame) {
    Region here("Here");
    Region east("East", Vec3(10, 0, 0));
    struct Row {
        const char* what;
        Vec3 origin;
        WorldVec3 pivot;
        float degrees;
        Vec3 origin2;
        Vec3 xAxis2;
    };
    const Row rows[] = {
        {"a quarter about the region's origin",
         {1, 0, 0},
         {&here, {0, 0, 0}},
         90,
         {0, 0, -1},
         {0, 0, -1}},
        {"a half about a point beside it",
         {3, 2, 0},
         {&here, {2, 0, 0}},
         180,
         {1, 2, 0},
         {-1, 0, 0}},
        {"about its own place: only the frame turns",
         {5, 0, 5},
         {&here, {5, 0, 5}},
         -90,
         {5, 0, 5},
         {0, 0, 1}},
        {"about a point of another region",
         {11, 0, 0},
         {&east, {0, 0, 0}},
         180,
         {9, 0, 0},
         {-1, 0, 0}},
        {"a whole turn", {4, 1, -3}, {&here, {1, 0, 1}}, 360, {4, 1, -3}, {1, 0, 0}},
    };
    for (const Row& row : rows) {
        WorldCoords coords(&here, Coords::FromOrigin(row.origin));
        coords.RotateAroundPoint(row.pivot, Vec3(0, 1, 0), row.degrees);
        EXPECT_EQ(coords.region, &here) << row.what;
        ExpectNear(coords.coords.origin, row.origin2, row.what);
        ExpectNear(coords.coords.xAxis, row.xAxis2, row.what);
        ExpectNear(coords.coords.yAxis, Vec3(0, 1, 0), row.what);
    }
}

}  // namespace
}  // namespace GAME::test
