#include "Engine/media/graphics/WorldCamera.h"

#include "Engine/media/MediaRecorder.h"

namespace GAME {

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
    const Vec3 eye = target.GetRegionPosition() - forward * mDistance;
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

void WorldCamera::GetFrustum(const Viewport& viewport, WorldFrustum& out) const {
    GetSubFrustum(viewport, Rect{0.0f, 0.0f, 1.0f, 1.0f}, kFarPlane, out);
}

void WorldCamera::GetSubFrustum(const Viewport& viewport, const Rect& fractions, float depth,
                                WorldFrustum& out) const {
    const float aspect = viewport.height > 0.0f ? viewport.width / viewport.height : 1.0f;
    out = WorldFrustum::FromPinhole(mViewRegion, mView, mFov, aspect, kNearPlane, depth, fractions);
}

}  // namespace GAME
