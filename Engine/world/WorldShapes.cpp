#include "Engine/world/WorldShapes.h"

namespace GAME {

WorldFrustum WorldFrustum::FromPinhole(Region* region, const Coords& eye, float fovY, float aspect,
                                       float nearZ, float farZ) {
    WorldFrustum f;
    f.region = region;
    const Vec3 forward = eye.zAxis.Unit();
    const Vec3 up = eye.yAxis.Unit();
    const Vec3 right = eye.xAxis.Unit();
    const Vec3& o = eye.origin;
    const float tanY = Tan(fovY * 0.5f);
    const float tanX = tanY * aspect;
    auto through = [&](const Vec3& normal) { return Plane{normal, -normal.Dot(o)}; };
    f.planes[0] = Plane{forward, -forward.Dot(o + forward * nearZ)};
    f.planes[1] = Plane{-forward, forward.Dot(o + forward * farZ)};
    // Side planes contain the eye; their normals lean towards the view axis.
    f.planes[2] = through((right + forward * tanX).Unit());
    f.planes[3] = through((-right + forward * tanX).Unit());
    f.planes[4] = through((up + forward * tanY).Unit());
    f.planes[5] = through((-up + forward * tanY).Unit());
    return f;
}

bool WorldFrustum::IntersectsSphere(const Vec3& center, float radius) const {
    for (const Plane& plane : planes)
        if (plane.Distance(center) < -radius)
            return false;
    return true;
}

float RaySphere(const Vec3& origin, const Vec3& direction, const Vec3& center, float radius,
                float maxDistance) {
    const Vec3 m = origin - center;
    const float c = m.Dot(m) - radius * radius;
    if (c <= 0)
        return 0.0f;
    const float b = m.Dot(direction);
    if (b > 0)
        return kInfinity;
    const float disc = b * b - c;
    if (disc < 0)
        return kInfinity;
    const float t = -b - Sqrt(disc);
    return t <= maxDistance ? t : kInfinity;
}

}  // namespace GAME
