#include "Engine/world/WorldShapes.h"

#include "Engine/world/Region.h"

namespace GAME {

bool WorldFrustum::AddPlane(const Plane& plane) {
    if (count >= kMaxPlanes)
        return false;
    planes[static_cast<std::size_t>(count++)] = plane;
    return true;
}

bool WorldFrustum::Contains(const Vec3& regionPoint) const {
    return IntersectsSphere(regionPoint, 0.0f);
}

bool WorldFrustum::Contains(const WorldVec3& point) const {
    // Regions differ only by their offsets in world space.
    return Contains(point.GetWorldPosition() - (region ? region->GetOffset() : Vec3()));
}

bool WorldFrustum::IntersectsSphere(const Vec3& center, float radius) const {
    for (int i = 0; i < count; ++i)
        if (planes[static_cast<std::size_t>(i)].Distance(center) < -radius)
            return false;
    return true;
}

WorldFrustum WorldFrustum::FromPinhole(Region* region, const Coords& eye, float fovY, float aspect,
                                       float nearZ, float farZ, const Rect& image) {
    WorldFrustum f;
    f.region = region;
    const Vec3 forward = eye.zAxis.Unit();
    const Vec3 up = eye.yAxis.Unit();
    const Vec3 right = eye.xAxis.Unit();
    const Vec3& o = eye.origin;
    const float tanY = Tan(fovY * 0.5f);
    const float tanX = tanY * aspect;
    // Slopes (x / z, y / z) of the rectangle's edges in the camera's own space.
    const float left = (2.0f * image.left - 1.0f) * tanX;
    const float rightEdge = (2.0f * (image.left + image.width) - 1.0f) * tanX;
    const float top = (1.0f - 2.0f * image.top) * tanY;
    const float bottom = (1.0f - 2.0f * (image.top + image.height)) * tanY;
    f.AddPlane(Plane::Through(forward, o + forward * nearZ));
    f.AddPlane(Plane::Through(-forward, o + forward * farZ));
    // Side planes contain the eye; unit normals, so that sphere tests measure true distances.
    f.AddPlane(Plane::Through((right - forward * left).Unit(), o));
    f.AddPlane(Plane::Through((forward * rightEdge - right).Unit(), o));
    f.AddPlane(Plane::Through((up - forward * bottom).Unit(), o));
    f.AddPlane(Plane::Through((forward * top - up).Unit(), o));
    return f;
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
