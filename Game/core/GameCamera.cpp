#include "Game/core/GameCamera.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/Name.h"
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
    : mSmoothDistance(GetCameraDistance(), kEaseRate, kSnapThreshold, 1000.0f, 1.0f),
      mSmoothYaw(RadiansToDegrees(GetCameraYaw()), kEaseRate, kSnapThreshold, kFixedYawDegrees,
                 kFixedYawDegrees),
      mSmoothPitch(RadiansToDegrees(GetCameraPitch()), kEaseRate, kSnapThreshold, 89.0f, 0.0f) {
    mZoomTimerStart = gEngine->GetGameTime();
    ResetToDefaults(true);
}

WorldVec3 GameCamera::GetTarget() const {
    WorldVec3 target = WorldCamera::GetTarget();
    if (target.region) {
        target.local += mTargetOffset;
        if (mShakeTimeLeft > 0)
            target.local += GetCameraOffset();
    }
    return target;
}

void GameCamera::UpdateTarget() {
    static const Name kCameraPoint = Name::Create("Camera");
    // Without a skeleton point of that name this is the player's origin.
    if (mPlayer)
        SetTarget(mPlayer->GetAttachedCoords(kCameraPoint).GetPosition());
}

void GameCamera::Update() {
    UpdateTarget();
    WorldCamera::Update();
}

void GameCamera::ApplyEasedValues() {
    SetCameraDistance(mSmoothDistance.GetCurrentValue());
    SetCameraYaw(DegreesToRadians(mSmoothYaw.GetCurrentValue()));
    SetCameraPitch(DegreesToRadians(mSmoothPitch.GetCurrentValue()));
}

void GameCamera::UpdateFromInputImpl() {
    const std::uint64_t now = gEngine->GetGameTime();
    const std::uint64_t elapsed = now - mZoomTimerStart;
    mZoomTimerStart = now;
    // Paused: nothing eases, snaps or shakes (no random draws), and the timer starts over.
    if (gEngine->IsGameTimePaused())
        return;
    const float time = static_cast<float>(elapsed) * 0.004f;

    if (mSmoothDistance.ApproachValue(time))
        SetCameraDistance(mSmoothDistance.GetCurrentValue());
    if (mSmoothPitch.ApproachValue(time))
        SetCameraPitch(DegreesToRadians(mSmoothPitch.GetCurrentValue()));
    if (mSmoothYaw.ApproachValue(time))
        SetCameraYaw(DegreesToRadians(mSmoothYaw.GetCurrentValue()));

    // Set only when the limits change them: the engine camera records what it is given.
    const float pitch = Clamp(GetCameraPitch(), 0.0f, DegreesToRadians(89.0f));
    if (pitch != GetCameraPitch())
        SetCameraPitch(pitch);
    const float distance = Clamp(GetCameraDistance(), 1.0f, 1000.0f);
    if (distance != GetCameraDistance())
        SetCameraDistance(distance);

    if (mShakeTimeLeft > 0) {
        const float amplitude = static_cast<float>(mShakeTimeLeft) /
                                static_cast<float>(mShakeDuration) * mShakeMagnitude;
        const auto gameTime = static_cast<std::uint32_t>(now);
        // Three draws, always in this order.
        const float x = ShakeNoise(ShakeArgument(gameTime, 0, 1)) - 0.5f;
        const float y = ShakeNoise(ShakeArgument(gameTime, 1500, 37)) - 0.5f;
        const float z = ShakeNoise(ShakeArgument(gameTime, 3800, 17)) - 0.5f;
        SetCameraOffset(Vec3(x, y, z) * amplitude);
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
    mSmoothDistance.SetCurrentValue(GetCameraDistance());
    mSmoothDistance.SetTarget(Clamp(mSmoothDistance.GetCurrent(), 0.0f, 1.0f));

    mSmoothPitch.SetLow(pitchLow);
    mSmoothPitch.SetHigh(pitchHigh);
    mSmoothPitch.SetCurrentValue(RadiansToDegrees(GetCameraPitch()));
    mSmoothPitch.SetTarget(Clamp(mSmoothPitch.GetCurrent(), 0.0f, 1.0f));
}

void GameCamera::ResetToDefaults(bool toDefaults) {
    mTargetOffset = Vec3();
    if (toDefaults) {
        mSmoothDistance.SetCurrentValue(GetCameraDistanceDefault());
        mSmoothDistance.SetTargetValue(GetCameraDistanceDefault());
        mSmoothYaw.SetCurrentValue(kFixedYawDegrees);
        mSmoothYaw.SetTargetValue(kFixedYawDegrees);
        mSmoothPitch.SetCurrentValue(GetCameraPitchDefault());
    } else {
        mSmoothDistance.SetCurrentValue(GetCameraDistance());
        mSmoothDistance.SetTargetValue(GetCameraDistanceDefault());
        mSmoothYaw.SetCurrentValue(RadiansToDegrees(GetCameraYaw()));
        mSmoothYaw.SetTargetValue(kFixedYawDegrees);
        mSmoothPitch.SetCurrentValue(RadiansToDegrees(GetCameraPitch()));
    }
    mSmoothPitch.SetTargetValue(GetCameraPitchDefault());
    ApplyEasedValues();
    SetCameraFOV(DegreesToRadians(kFieldOfViewDegrees));
}

void GameCamera::UpdateTransparencyFrustum(const Viewport& viewport) {
    // The target as set: neither the target offset nor the shake moves what is faded.
    Region* region = WorldCamera::GetTarget().region;
    if (!region)
        return;
    Vec3 position = WorldCamera::GetTarget().local;
    const Vec3 view = GetViewFrame().zAxis;
    const Vec3 direction = Vec3(view.x, 0.0f, view.z).Unit();
    if (mGrid)
        MakeWallsTransparent(*mGrid, position, view, direction);

    WorldFrustum frustum;
    GetSubFrustum(viewport, Rect{0.45f, 0.45f, 0.1f, 0.1f}, 2.0f * GetCameraDistance(), frustum);
    frustum.region = region;
    position.y -= 1.0f;
    frustum.AddPlane(Plane::Through(-direction, position - direction * 3.0f));
    if (mPlayer) {
        mTransparencyHeight = position.y + 3.0f;
        frustum.AddPlane(
            Plane::Through(Vec3(0, 1, 0), Vec3(position.x, mTransparencyHeight, position.z)));
    } else {
        mTransparencyHeight = 0.0f;
    }
    mTransparencyFrustum = frustum;
}

}  // namespace GAME
