#include "Game/core/GameCamera.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"
#include "Game/core/camera/TransparencyGrid.h"
#include "Game/core/camera/UndergroundWalls.h"

namespace GAME {

namespace {
constexpr float kEaseRate = 0.5f;
constexpr float kSnapThreshold = 0.001f;
constexpr float kPi = 3.14159265f;

// Integer arithmetic of the shake arguments wraps instead of overflowing on long games.
float ShakeArgument(std::uint32_t gameTime, std::uint32_t add, std::uint32_t times) {
    return static_cast<float>(static_cast<std::int32_t>((gameTime + add) * times));
}
}  // namespace

GameCamera::GameCamera()
    : mSmoothDistance(mDistance, kEaseRate, kSnapThreshold, 1000.0f, 1.0f),
      mSmoothYaw(RadiansToDegrees(mYaw), kEaseRate, kSnapThreshold, kFixedYawDegrees,
                 kFixedYawDegrees),
      mSmoothPitch(RadiansToDegrees(mPitch), kEaseRate, kSnapThreshold, 89.0f, 0.0f) {
    mZoomTimerStart = gEngine->GetGameTime();
    ResetToDefaults(true);
}

WorldVec3 GameCamera::GetTarget() const {
    WorldVec3 target = mTarget;
    if (target.region) {
        target.local += mTargetOffset;
        if (mShakeTimeLeft > 0)
            target.local += mCameraOffset;
    }
    return target;
}

void GameCamera::UpdateTarget() {
    // Headless characters have no skeleton, so the "Camera" attach point is the player's origin.
    if (mPlayer)
        mTarget = mPlayer->GetCoords().GetPosition();
}

void GameCamera::Update() {
    UpdateTarget();
    CalculateViewFrame();
}

void GameCamera::CalculateViewFrame() {
    const float cosPitch = Cos(mPitch);
    const Vec3 forward(Sin(mYaw) * cosPitch, -Sin(mPitch), Cos(mYaw) * cosPitch);
    const Vec3 lookAt = GetTarget().local;
    mViewFrame = Coords::FromDirection(lookAt - forward * mDistance, forward, Vec3(0, 1, 0));
}

void GameCamera::ApplyEasedValues() {
    mDistance = mSmoothDistance.GetCurrentValue();
    mYaw = DegreesToRadians(mSmoothYaw.GetCurrentValue());
    mPitch = DegreesToRadians(mSmoothPitch.GetCurrentValue());
}

void GameCamera::UpdateFromInputImpl() {
    const std::uint64_t now = gEngine->GetGameTime();
    const std::uint64_t elapsed = now - mZoomTimerStart;
    mZoomTimerStart = now;
    const float time = static_cast<float>(elapsed) * 0.004f;

    if (mSmoothDistance.ApproachValue(time))
        mDistance = mSmoothDistance.GetCurrentValue();
    if (mSmoothPitch.ApproachValue(time))
        mPitch = DegreesToRadians(mSmoothPitch.GetCurrentValue());
    if (mSmoothYaw.ApproachValue(time))
        mYaw = DegreesToRadians(mSmoothYaw.GetCurrentValue());

    mPitch = Clamp(mPitch, 0.0f, DegreesToRadians(89.0f));
    mDistance = Clamp(mDistance, 1.0f, 1000.0f);

    if (mShakeTimeLeft > 0) {
        const float amplitude = static_cast<float>(mShakeTimeLeft) /
                                static_cast<float>(mShakeDuration) * mShakeMagnitude;
        const auto gameTime = static_cast<std::uint32_t>(now);
        // Three draws, always in this order.
        const float x = ShakeNoise(ShakeArgument(gameTime, 0, 1)) - 0.5f;
        const float y = ShakeNoise(ShakeArgument(gameTime, 1500, 37)) - 0.5f;
        const float z = ShakeNoise(ShakeArgument(gameTime, 3800, 17)) - 0.5f;
        mCameraOffset = Vec3(x, y, z) * amplitude;
        const std::int64_t left =
            static_cast<std::int64_t>(mShakeTimeLeft) - static_cast<std::int64_t>(elapsed);
        mShakeTimeLeft = static_cast<int>(Max<std::int64_t>(left, INT32_MIN));
    }
}

float GameCamera::ShakeNoise(float x) {
    const float r = static_cast<float>(crt_rand()) * 3.051851e-5f * 100.0f;
    const float s = (x + r) * 0.001f;
    return (Sin(2.0f * kPi * s + 15.0f) * 0.3f + Sin(kPi * s * 3.78f + 27.0f) * 0.5f +
            Sin(kPi * s * 5.25f + 92.0f) * 0.9f + 3.0f) *
           0.21276596f;
}

void GameCamera::Zoom(float amount) {
    const float step = amount * 0.1f;
    mSmoothDistance.AddZoom(step);
    mSmoothYaw.AddZoom(step);
    mSmoothPitch.AddZoom(step);
}

void GameCamera::Shake(int durationMs, float magnitude) {
    mShakeTimeLeft = durationMs;
    mShakeDuration = durationMs;
    mShakeMagnitude = magnitude;
}

void GameCamera::ClampTargetOffset() {
    mTargetOffset.x = Clamp(mTargetOffset.x, -mMaxHorizontalOffset, mMaxHorizontalOffset);
    mTargetOffset.z = Clamp(mTargetOffset.z, -mMaxHorizontalOffset, mMaxHorizontalOffset);
    mTargetOffset.y = Clamp(mTargetOffset.y, -mMaxVerticalOffset, mMaxVerticalOffset);
}

void GameCamera::SetMovementExtents(float distanceLow, float distanceHigh, float pitchLow,
                                    float pitchHigh) {
    mDistanceLow = distanceLow;
    mDistanceHigh = distanceHigh;
    mPitchLow = pitchLow;
    mPitchHigh = pitchHigh;

    mSmoothDistance.SetLow(distanceLow);
    mSmoothDistance.SetHigh(distanceHigh);
    mSmoothDistance.SetCurrentValue(mDistance);
    mSmoothDistance.SetTarget(Clamp(mSmoothDistance.GetCurrent(), 0.0f, 1.0f));

    mSmoothPitch.SetLow(pitchLow);
    mSmoothPitch.SetHigh(pitchHigh);
    mSmoothPitch.SetCurrentValue(RadiansToDegrees(mPitch));
    mSmoothPitch.SetTarget(Clamp(mSmoothPitch.GetCurrent(), 0.0f, 1.0f));
}

void GameCamera::ResetToDefaults(bool toDefaults) {
    mTargetOffset = Vec3();
    if (toDefaults) {
        mSmoothDistance.SetCurrentValue(mDistanceDefault);
        mSmoothDistance.SetTargetValue(mDistanceDefault);
        mSmoothYaw.SetCurrentValue(kFixedYawDegrees);
        mSmoothYaw.SetTargetValue(kFixedYawDegrees);
        mSmoothPitch.SetCurrentValue(mPitchDefault);
    } else {
        mSmoothDistance.SetCurrentValue(mDistance);
        mSmoothDistance.SetTargetValue(mDistanceDefault);
        mSmoothYaw.SetCurrentValue(RadiansToDegrees(mYaw));
        mSmoothYaw.SetTargetValue(kFixedYawDegrees);
        mSmoothPitch.SetCurrentValue(RadiansToDegrees(mPitch));
    }
    mSmoothPitch.SetTargetValue(mPitchDefault);
    ApplyEasedValues();
    mFov = DegreesToRadians(kFieldOfViewDegrees);
}

void GameCamera::GetFrustum(const Rect& viewport, CameraFrustum& out) const {
    GetSubFrustum(viewport, 0.0f, 0.0f, 1.0f, 1.0f, kFarDistance, out);
}

void GameCamera::GetSubFrustum(const Rect& viewport, float left, float top, float right,
                               float bottom, float depth, CameraFrustum& out) const {
    PinholeView view;
    view.frame = mViewFrame;
    view.verticalFov = mFov;
    view.aspect = viewport.height > 0.0f ? viewport.width / viewport.height : 1.0f;
    BuildPinholeFrustum(view, left, top, right, bottom, depth, out);
    out.SetRegion(mTarget.region);
}

void GameCamera::UpdateTransparencyFrustum(const Rect& viewport) {
    if (!mTarget.region)
        return;
    Vec3 position = mTarget.local;
    const Vec3 view = mViewFrame.zAxis;
    const Vec3 direction = Vec3(view.x, 0.0f, view.z).Unit();
    if (mGrid)
        MakeWallsTransparent(*mGrid, position, view, direction);

    CameraFrustum frustum;
    GetSubFrustum(viewport, 0.45f, 0.45f, 0.55f, 0.55f, 2.0f * mDistance, frustum);
    position.y -= 1.0f;
    frustum.AddPlane(CameraPlane::Through(-direction, position - direction * 3.0f));
    if (mPlayer) {
        mTransparencyHeight = position.y + 3.0f;
        frustum.AddPlane(
            CameraPlane::Through(Vec3(0, 1, 0), Vec3(position.x, mTransparencyHeight, position.z)));
    } else {
        mTransparencyHeight = 0.0f;
    }
    mTransparencyFrustum = frustum;
}

}  // namespace GAME
