#include "Engine/media/WorldCamera.h"

#include "Engine/media/MediaRecorder.h"

namespace GAME {

FrustumPlane FrustumPlane::Through(const Vec3& normal, const Vec3& point) {
    const Vec3 n = normal.Unit();
    return {n, -n.Dot(point)};
}

bool ViewFrustum::AddPlane(const FrustumPlane& plane) {
    if (count >= kMaxPlanes)
        return false;
    planes[static_cast<std::size_t>(count++)] = plane;
    return true;
}

bool ViewFrustum::Contains(const Vec3& regionPoint) const {
    for (int i = 0; i < count; ++i)
        if (planes[static_cast<std::size_t>(i)].Distance(regionPoint) < 0.0f)
            return false;
    return true;
}

bool ViewFrustum::Contains(const WorldVec3& point) const {
    // Regions differ only by their offsets in world space.
    return Contains(point.GetWorldPosition() - (region ? region->GetOffset() : Vec3()));
}

WorldCamera::WorldCamera() {
    CalculateViewPosition();
}

WorldCamera::~WorldCamera() = default;

void WorldCamera::Update() {
    CalculateViewPosition();
}

void WorldCamera::CalculateViewPosition() {
    const WorldVec3 target = GetTarget();
    const float cp = Cos(mPitch);
    const Vec3 forward(Sin(mYaw) * cp, -Sin(mPitch), Cos(mYaw) * cp);
    const Vec3 at = target.GetRegionPosition();
    const Vec3 eye = at - forward * mDistance + mOffset;
    mView = Coords::FromDirection(eye, forward, Vec3(0, 1, 0));
    mViewRegion = target.GetRegion();
}

void WorldCamera::SetCameraDistance(float distance) {
    mDistance = distance;
    MediaRecorder::Get().Record(MediaCall::CameraDistance, 0, {}, distance);
}

void WorldCamera::SetCameraPitch(float radians) {
    mPitch = radians;
    MediaRecorder::Get().Record(MediaCall::CameraPitch, 0, {}, radians);
}

void WorldCamera::SetCameraYaw(float radians) {
    mYaw = radians;
    MediaRecorder::Get().Record(MediaCall::CameraYaw, 0, {}, radians);
}

void WorldCamera::SetCameraFOV(float radians) {
    mFov = radians;
    MediaRecorder::Get().Record(MediaCall::CameraFOV, 0, {}, radians);
}

void WorldCamera::GetFrustum(const Viewport& viewport, ViewFrustum& out) const {
    GetSubFrustum(viewport, Rect{0.0f, 0.0f, 1.0f, 1.0f}, kFarPlane, out);
}

void WorldCamera::GetSubFrustum(const Viewport& viewport, const Rect& fractions, float depth,
                                ViewFrustum& out) const {
    out = ViewFrustum();
    out.region = mViewRegion;
    const float tanV = Tan(mFov * 0.5f);
    const float aspect = viewport.height > 0.0f ? viewport.width / viewport.height : 1.0f;
    const float tanH = tanV * aspect;
    // Slopes x/z and y/z of the rectangle's edges in the camera's own space.
    const float left = (2.0f * fractions.left - 1.0f) * tanH;
    const float right = (2.0f * (fractions.left + fractions.width) - 1.0f) * tanH;
    const float top = (1.0f - 2.0f * fractions.top) * tanV;
    const float bottom = (1.0f - 2.0f * (fractions.top + fractions.height)) * tanV;
    const Vec3 eye = mView.origin;
    // A camera-space normal n through the eye becomes n's components along the view axes.
    auto plane = [&](const Vec3& n, const Vec3& through) {
        out.AddPlane(FrustumPlane::Through(mView.TransformVector(n), through));
    };
    plane(Vec3(1, 0, -left), eye);
    plane(Vec3(-1, 0, right), eye);
    plane(Vec3(0, 1, -bottom), eye);
    plane(Vec3(0, -1, top), eye);
    plane(Vec3(0, 0, 1), mView.TransformPoint(Vec3(0, 0, kNearPlane)));
    plane(Vec3(0, 0, -1), mView.TransformPoint(Vec3(0, 0, depth)));
}

}  // namespace GAME
