#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "Engine/sys/Machine.h"
#include "Engine/world/Math.h"
#include "Engine/world/Region.h"
#include "Game/core/util/MathUtil.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

constexpr float kHalfPi = 1.5707963f;

void ExpectVecNear(const Vec3& a, const Vec3& b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(MathHelpers, ScalarsAndClamps) {
    EXPECT_EQ(DegreesToRadians(180.0f), 180.0f * 0.017453292f);
    EXPECT_EQ(RadiansToDegrees(1.0f), 57.295776f);
    EXPECT_EQ(Clamp(5.0f, 0.0f, 3.0f), 3.0f);
    EXPECT_EQ(Clamp(-1.0f, 0.0f, 3.0f), 0.0f);
    EXPECT_EQ(ClampInt(9, 1, 4), 4);
    EXPECT_EQ(ClampToLast(7, 3), 2u);
    EXPECT_EQ(ClampToLast(1, 3), 1u);
    // Equal values give the second argument: -0 and +0 compare equal.
    EXPECT_TRUE(std::signbit(Min(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(Max(-0.0f, 0.0f)));
    EXPECT_TRUE(std::isinf(kInfinity) && kInfinity > 0);
    EXPECT_EQ(kInfinity, -std::log(0.0f));
    EXPECT_FALSE(IsFinite(kInfinity));
}

TEST(MathHelpers, VectorOperations) {
    const Vec3 v(3, -4, 0);
    EXPECT_EQ(v.Length(), 5.0f);
    EXPECT_EQ(Vec3().Length(), 0.0f);
    ExpectVecNear(v.Unit(), Vec3(0.6f, -0.8f, 0));
    EXPECT_EQ(Vec3().Unit(), Vec3());
    EXPECT_EQ(v / 2.0f, v * 0.5f);
    EXPECT_EQ(v.Abs(), Vec3(3, 4, 0));
    EXPECT_EQ(v.Min(Vec3(1, 1, 1)), Vec3(1, -4, 0));
    EXPECT_EQ(v.Max(Vec3(1, 1, 1)), Vec3(3, 1, 1));
    EXPECT_EQ(CrossProduct(Vec3(1, 0, 0), Vec3(0, 1, 0)), Vec3(0, 0, 1));
    EXPECT_EQ(Lerp(Vec3(0, 0, 0), Vec3(10, 20, 30), 0.25f), Vec3(2.5f, 5, 7.5f));
    for (const Vec3& dir : {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, -1, 0), Vec3(0.3f, 0.5f, 0.8f)}) {
        const Vec3 p = dir.AnyPerpendicular();
        EXPECT_NEAR(p.Length(), 1.0f, 1e-5f);
        EXPECT_NEAR(p.Dot(dir), 0.0f, 1e-5f);
    }
    const IntVec3 a{5, 6, 7}, b{1, 2, 3}, difference{4, 4, 4};
    EXPECT_EQ(a.Subtract(b), difference);
    // Extreme cells wrap instead of overflowing.
    const IntVec3 low{INT_MIN, INT_MAX, 0}, step{1, -1, INT_MIN};
    const IntVec3 wrapped{INT_MAX, INT_MIN, INT_MIN};
    EXPECT_EQ(low.Subtract(step), wrapped);
}

TEST(MathHelpers, CoordsProductAppliesTheRightOperandFirst) {
    const Coords turn = Coords::FromAxisAngle(Vec3(0, 1, 0), kHalfPi);
    const Coords move = Coords::FromOrigin(Vec3(10, 0, 0));
    const Vec3 p(1, 0, 0);
    // move * turn: turn first, then move.
    ExpectVecNear((move * turn).TransformPoint(p), move.TransformPoint(turn.TransformPoint(p)));
    ExpectVecNear((turn * move).TransformPoint(p), turn.TransformPoint(move.TransformPoint(p)));
    ExpectVecNear((move * turn).TransformPoint(p), Vec3(10, 0, -1));
}

TEST(MathHelpers, AxisAngleAndQuaternionsAgree) {
    const Vec3 axis = Vec3(1, 2, 3).Unit();
    for (float angle : {0.3f, 1.7f, 3.0f, -2.2f}) {
        const Coords c = Coords::FromAxisAngle(axis, angle);
        const float h = angle * 0.5f;
        const Quaternion q{axis.x * std::sin(h), axis.y * std::sin(h), axis.z * std::sin(h),
                           std::cos(h)};
        const Coords fromQ = Coords::FromQuaternion(q, Vec3(1, 2, 3));
        ExpectVecNear(c.xAxis, fromQ.xAxis);
        ExpectVecNear(c.yAxis, fromQ.yAxis);
        ExpectVecNear(c.zAxis, fromQ.zAxis);
        EXPECT_EQ(fromQ.origin, Vec3(1, 2, 3));
        // Back through the trace method: the same rotation (q or -q).
        const Quaternion back = c.ToQuaternion();
        EXPECT_NEAR(std::fabs(QuaternionDot(back, q)), 1.0f, 1e-5f) << angle;
    }
    // A rotation about y maps x to -z in the row-vector convention.
    ExpectVecNear(Coords::FromAxisAngle(Vec3(0, 1, 0), kHalfPi).TransformVector(Vec3(1, 0, 0)),
                  Vec3(0, 0, -1));
}

TEST(MathHelpers, LookAtPointsTheZAxisAtTheTarget) {
    const Coords c = Coords::LookAt(Vec3(1, 1, 1), Vec3(1, 1, 11), Vec3(0, 1, 0));
    ExpectVecNear(c.zAxis, Vec3(0, 0, 1));
    ExpectVecNear(c.xAxis, Vec3(1, 0, 0));
    ExpectVecNear(c.yAxis, Vec3(0, 1, 0));
    EXPECT_EQ(c.origin, Vec3(1, 1, 1));
    const Coords d = Coords::FromDirection(Vec3(), Vec3(3, 0, 0), Vec3(0, 1, 0));
    ExpectVecNear(d.zAxis, Vec3(1, 0, 0));
    ExpectVecNear(d.xAxis, Vec3(0, 0, -1));
    ExpectVecNear(d.yAxis, Vec3(0, 1, 0));
}

TEST(MathHelpers, OrientedBoxesAndRects) {
    OrientedBox box = OrientedBox::FromAxisAligned(Vec3(5, 5, 5), Vec3(1, 2, 3));
    EXPECT_EQ(box.GetAxisAlignedBox(), Vec3(1, 2, 3));
    box.frame = Coords::FromAxisAngle(Vec3(0, 1, 0), kHalfPi);
    ExpectVecNear(box.GetAxisAlignedBox(), Vec3(3, 2, 1));
    box.frame = Coords::FromAxisAngle(Vec3(0, 0, 1), kHalfPi * 0.5f);  // 45 degrees about z
    ExpectVecNear(box.GetAxisAlignedBox(), Vec3(3 * 0.70710677f, 3 * 0.70710677f, 3));

    const Rect r{1, 2, 3, 4};
    EXPECT_TRUE(r.Contains(1, 2));
    EXPECT_TRUE(r.Contains(4, 6));
    EXPECT_FALSE(r.Contains(4.01f, 6));
    EXPECT_FALSE(r.Contains(0.99f, 3));
}

TEST(MathHelpers, ColorPacking) {
    EXPECT_EQ((Color{1, 0, 0, 1}).ToARGB(), 0xFFFF0000u);
    EXPECT_EQ((Color{0, 0, 1, 0}).ToARGB(), 0x000000FFu);
    EXPECT_EQ((Color{0.5f, 0.2f, 0.0f, 1.0f}).ToARGB(), 0xFF803300u);   // 127.5 and 51 rounded
    EXPECT_EQ((Color{2.0f, -1.0f, 0.0f, 1.0f}).ToARGB(), 0xFFFF0000u);  // held to the byte
}

TEST(MathHelpers, RandomPointInBoxDrawsThousandthsFromRand) {
    test::TestMachine tm;
    crt_srand(1);
    const OrientedBox box = OrientedBox::FromAxisAligned(Vec3(100, 0, 0), Vec3(1, 2, 0.5f));
    const Vec3 p = RandomPointInBox(box);
    // rand() from seed 1 gives 41, 18467, 6334.
    ExpectVecNear(p, Vec3(100 + 41 % 2000 * 0.001f - 1, 18467 % 4000 * 0.001f - 2,
                          6334 % 1000 * 0.001f - 0.5f));
    for (int i = 0; i < 1000; ++i) {
        const Vec3 q = RandomPointInBox(box) - Vec3(100, 0, 0);
        ASSERT_GE(q.x, -1.0f);
        ASSERT_LT(q.x, 1.0f);
        ASSERT_GE(q.y, -2.0f);
        ASSERT_LT(q.y, 2.0f);
    }
    // A flat box draws all three numbers and stays on its plane.
    const OrientedBox flat = OrientedBox::FromAxisAligned(Vec3(), Vec3(1, 0, 1));
    crt_srand(1);
    EXPECT_EQ(RandomPointInBox(flat).y, 0.0f);
    EXPECT_EQ(crt_rand(), 26500);  // the fourth value: three were drawn
}

TEST(MathHelpers, RandomPointInBoxWiderThanAnIntStillDraws) {
    test::TestMachine tm;
    const float wide = 1.5e6f;  // 3e9 thousandths: past the int range
    const OrientedBox box = OrientedBox::FromAxisAligned(Vec3(), Vec3(1, wide, 1));
    crt_srand(1);
    const Vec3 p = RandomPointInBox(box);
    EXPECT_NEAR(p.y, 18467 * 0.001f - wide, 0.2f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const OrientedBox broken = OrientedBox::FromAxisAligned(Vec3(), Vec3(nan, 1, 1));
    crt_srand(1);
    EXPECT_TRUE(std::isnan(RandomPointInBox(broken).x));
    EXPECT_EQ(crt_rand(), 26500);  // still three draws
}

TEST(MathHelpers, RaySphere) {
    const Vec3 origin(0, 0, 0), dir(1, 0, 0);
    EXPECT_FLOAT_EQ(RaySphereDistance(origin, dir, Vec3(10, 0, 0), 2), 8.0f);
    EXPECT_FLOAT_EQ(RaySphereDistance(origin, dir, Vec3(10, 1, 0), std::sqrt(2.0f)), 9.0f);
    EXPECT_EQ(RaySphereDistance(origin, dir, Vec3(1, 0, 0), 2), 0.0f);         // starts inside
    EXPECT_EQ(RaySphereDistance(origin, dir, Vec3(-10, 0, 0), 2), kInfinity);  // behind
    EXPECT_EQ(RaySphereDistance(origin, dir, Vec3(10, 3, 0), 2), kInfinity);   // misses
}

TEST(MathHelpers, InterceptPoint) {
    Region region("R");
    Region other("O", Vec3(1000, 0, 0));
    const WorldVec3 target(&region, Vec3(10, 0, 0));
    const WorldVec3 mover(&region, Vec3(0, 0, 0));
    // Target crossing at 3 units/s, mover at 5: they meet after 2.5 s.
    const WorldVec3 meet = InterceptPoint(target, Vec3(0, 0, 3), mover, 5);
    ASSERT_EQ(meet.GetRegion(), &region);
    ExpectVecNear(meet.GetRegionPosition(), Vec3(10, 0, 7.5f), 1e-4f);
    EXPECT_NEAR(mover.DistanceTo(meet), 5 * 2.5f, 1e-3f);

    EXPECT_EQ(InterceptPoint(target, Vec3(), mover, 5), target);
    EXPECT_FALSE(InterceptPoint(target, Vec3(0, 0, 3), mover, 0).IsValid());
    EXPECT_FALSE(InterceptPoint(target, Vec3(0, 0, 3), WorldVec3(), 5).IsValid());
    EXPECT_FALSE(InterceptPoint(WorldVec3(), Vec3(0, 0, 3), mover, 5).IsValid());
    // A faster target running away is never caught.
    EXPECT_FALSE(InterceptPoint(target, Vec3(10, 0, 0), mover, 5).IsValid());
    // A slower target running away is caught; both roots positive would take the smaller.
    const WorldVec3 chase = InterceptPoint(target, Vec3(1, 0, 0), mover, 5);
    ExpectVecNear(chase.GetRegionPosition(), Vec3(12.5f, 0, 0), 1e-4f);
    // Equal speeds, target approaching head-on: they meet halfway.
    ExpectVecNear(InterceptPoint(target, Vec3(-5, 0, 0), mover, 5).GetRegionPosition(),
                  Vec3(5, 0, 0), 1e-4f);
    // Positions in different regions are compared in world space; the answer is in the
    // target's region.
    const WorldVec3 farMover(&other, Vec3(-1000, 0, 0));
    const WorldVec3 viaWorld = InterceptPoint(target, Vec3(0, 0, 3), farMover, 5);
    ASSERT_EQ(viaWorld.GetRegion(), &region);
    ExpectVecNear(viaWorld.GetRegionPosition(), Vec3(10, 0, 7.5f), 1e-4f);
}

}  // namespace
}  // namespace GAME
