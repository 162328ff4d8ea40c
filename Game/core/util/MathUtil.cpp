#include "Game/core/util/MathUtil.h"

#include <climits>
#include <cmath>

#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

float RandomOffset(float halfExtent) {
    // The range is in thousandths; a box thinner than that has no room to draw in.
    // A box too wide for an int (or NaN) must not reach an undefined conversion; the draw is
    // 15 bits, so any range beyond it gives the draw itself.
    const float scaled = halfExtent * 2.0f * 1000.0f;
    const int range = !(scaled > 0.0f)          ? 0
                      : scaled >= 2147483648.0f ? INT_MAX
                                                : static_cast<int>(scaled);
    const int draw = crt_rand();
    if (range <= 0)
        return -halfExtent;
    return static_cast<float>(draw % range) * 0.001f - halfExtent;
}

}  // namespace

Vec3 RandomPointInBox(const OrientedBox& box) {
    Vec3 local;
    local.x = RandomOffset(box.halfExtents.x);
    local.y = RandomOffset(box.halfExtents.y);
    local.z = RandomOffset(box.halfExtents.z);
    return box.frame.TransformPoint(local);
}

float RaySphereDistance(const Vec3& rayOrigin, const Vec3& rayDirection, const Vec3& centre,
                        float radius) {
    const Vec3 toCentre = centre - rayOrigin;
    const float distanceSquared = toCentre.LengthSquared();
    const float radiusSquared = radius * radius;
    if (distanceSquared <= radiusSquared)
        return 0.0f;
    const float projection = toCentre.Dot(rayDirection);
    if (projection < 0.0f)
        return kInfinity;
    const float missSquared = distanceSquared - projection * projection;
    if (missSquared > radiusSquared)
        return kInfinity;
    return projection - std::sqrt(radiusSquared - missSquared);
}

WorldVec3 InterceptPoint(const WorldVec3& targetPosition, const Vec3& targetVelocity,
                         const WorldVec3& moverPosition, float speed) {
    if (!targetPosition.GetRegion() || !moverPosition.GetRegion())
        return WorldVec3();
    if (targetVelocity == Vec3())
        return targetPosition;
    if (speed == 0.0f)
        return WorldVec3();

    const Vec3 m = moverPosition.VectorTo(targetPosition);
    const Vec3& v = targetVelocity;
    const float a = v.Dot(v) - speed * speed;
    const float b = 2.0f * m.Dot(v);
    const float c = m.Dot(m);

    float t = -1.0f;
    if (a == 0.0f) {
        // Equal speeds: the equation is linear.
        if (b != 0.0f)
            t = -c / b;
    } else {
        const float discriminant = b * b - 4.0f * a * c;
        if (discriminant < 0.0f)
            return WorldVec3();
        if (discriminant == 0.0f) {
            t = -b / (2.0f * a);
        } else {
            const float root = std::sqrt(discriminant);
            const float t1 = (-b - root) / (2.0f * a);
            const float t2 = (-b + root) / (2.0f * a);
            if (t1 > 0.0f && t2 > 0.0f)
                t = Min(t1, t2);
            else if (t1 > 0.0f)
                t = t1;
            else if (t2 > 0.0f)
                t = t2;
        }
    }
    if (!(t > 0.0f))
        return WorldVec3();
    return WorldVec3(targetPosition.GetRegion(), targetPosition.GetRegionPosition() + v * t);
}

}  // namespace GAME
