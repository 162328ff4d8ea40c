#include "Game/core/camera/CameraFrustum.h"

namespace GAME {

bool CameraFrustum::AddPlane(const CameraPlane& plane) {
    if (mCount >= kMaxPlanes)
        return false;
    mPlanes[mCount++] = plane;
    return true;
}

bool CameraFrustum::Contains(const Vec3& point) const {
    for (std::size_t i = 0; i < mCount; ++i)
        if (mPlanes[i].Distance(point) < 0.0f)
            return false;
    return true;
}

namespace {
// The direction through an image point given as fractions (u to the right, v downward).
Vec3 RayThrough(const PinholeView& view, float u, float v) {
    const float halfHeight = Tan(view.verticalFov * 0.5f);
    const float halfWidth = halfHeight * view.aspect;
    return view.frame.zAxis + view.frame.xAxis * ((2.0f * u - 1.0f) * halfWidth) +
           view.frame.yAxis * ((1.0f - 2.0f * v) * halfHeight);
}

// The plane through the eye containing both rays, turned to face the inside point.
CameraPlane SidePlane(const Vec3& eye, const Vec3& a, const Vec3& b, const Vec3& inside) {
    Vec3 normal = a.Cross(b).Unit();
    if (normal.Dot(inside) < 0.0f)
        normal = -normal;
    return CameraPlane::Through(normal, eye);
}
}  // namespace

void BuildPinholeFrustum(const PinholeView& view, float left, float top, float right, float bottom,
                         float farDistance, CameraFrustum& out) {
    out.Clear();
    const Vec3 eye = view.frame.origin;
    const Vec3 forward = view.frame.zAxis;
    const Vec3 topLeft = RayThrough(view, left, top);
    const Vec3 topRight = RayThrough(view, right, top);
    const Vec3 bottomLeft = RayThrough(view, left, bottom);
    const Vec3 bottomRight = RayThrough(view, right, bottom);
    const Vec3 centre = RayThrough(view, (left + right) * 0.5f, (top + bottom) * 0.5f);
    out.AddPlane(CameraPlane::Through(forward, eye + forward * view.nearDistance));
    out.AddPlane(CameraPlane::Through(-forward, eye + forward * farDistance));
    out.AddPlane(SidePlane(eye, topLeft, bottomLeft, centre));
    out.AddPlane(SidePlane(eye, topRight, bottomRight, centre));
    out.AddPlane(SidePlane(eye, topLeft, topRight, centre));
    out.AddPlane(SidePlane(eye, bottomLeft, bottomRight, centre));
}

}  // namespace GAME
