#pragma once
// The follow camera: keeps the view on the controlled player, eases distance, pitch and yaw toward
// what zooming asks, shakes on request and computes the transparency frustum, the part of the
// view between camera and player whose geometry the engine fades so the player stays visible.
// It carries the engine camera's own state (distance, yaw, pitch, field of view, defaults, the
// shake offset) and builds its frusta as a pinhole camera.
#include <cstdint>

#include "Engine/world/Region.h"
#include "Game/core/camera/CameraFrustum.h"
#include "Game/core/camera/SmoothedValue.h"

namespace GAME {

class Player;
class TransparencyGrid;

class GameCamera {
public:
    static constexpr float kFieldOfViewDegrees = 30.0f;
    static constexpr float kFixedYawDegrees = 50.0f;
    static constexpr float kFarDistance = 1000.0f;

    GameCamera();

    void SetPlayer(Player* player) { mPlayer = player; }
    Player* GetPlayer() const { return mPlayer; }
    void SetTarget(const WorldVec3& target) { mTarget = target; }
    // The point looked at: the target moved by the target offset and, while shaking, the shake.
    WorldVec3 GetTarget() const;
    void UpdateTarget();
    // The target, then the view frame.
    void Update();
    // One frame of easing, limits and shake, timed by the game clock.
    void UpdateFromInputImpl();
    void Zoom(float amount);
    void Shake(int durationMs, float magnitude);
    void SetTargetOffset(const Vec3& offset) { mTargetOffset = offset; }
    const Vec3& GetTargetOffset() const { return mTargetOffset; }
    void ClampTargetOffset();

    // The engine camera's defaults and present values (pitch default in degrees, angles in
    // radians).
    void SetCameraDistanceDefault(float distance) { mDistanceDefault = distance; }
    void SetCameraPitchDefault(float degrees) { mPitchDefault = degrees; }
    void SetCameraDistance(float distance) { mDistance = distance; }
    void SetCameraPitch(float radians) { mPitch = radians; }
    void SetCameraYaw(float radians) { mYaw = radians; }
    void SetCameraFOV(float radians) { mFov = radians; }
    float GetCameraDistance() const { return mDistance; }
    float GetCameraPitch() const { return mPitch; }
    float GetCameraYaw() const { return mYaw; }
    float GetCameraFOV() const { return mFov; }
    float GetCameraDistanceDefault() const { return mDistanceDefault; }
    float GetCameraPitchDefault() const { return mPitchDefault; }
    const Vec3& GetCameraOffset() const { return mCameraOffset; }
    int GetShakeTimeLeft() const { return mShakeTimeLeft; }

    void SetMovementExtents(float distanceLow, float distanceHigh, float pitchLow, float pitchHigh);
    float GetDistanceLow() const { return mDistanceLow; }
    float GetDistanceHigh() const { return mDistanceHigh; }
    float GetPitchLow() const { return mPitchLow; }
    float GetPitchHigh() const { return mPitchHigh; }
    const SmoothedValue& GetSmoothedDistance() const { return mSmoothDistance; }
    const SmoothedValue& GetSmoothedYaw() const { return mSmoothYaw; }
    const SmoothedValue& GetSmoothedPitch() const { return mSmoothPitch; }

    // Back to the default distance, yaw and pitch (true), or easing there from where the
    // camera is (false).
    void ResetToDefaults(bool toDefaults);

    // The view frame in the target's region: origin at the eye, z axis along the view.
    const Coords& GetViewFrame() const { return mViewFrame; }
    void GetFrustum(const Rect& viewport, CameraFrustum& out) const;
    // The part of the view through the image rectangle (fractions), out to `depth`.
    void GetSubFrustum(const Rect& viewport, float left, float top, float right, float bottom,
                       float depth, CameraFrustum& out) const;

    // The wall grid of the level while the camera is underground (null above ground).
    void SetTransparencyGrid(TransparencyGrid* grid) { mGrid = grid; }
    void UpdateTransparencyFrustum(const Rect& viewport);
    const CameraFrustum& GetTransparencyFrustum() const { return mTransparencyFrustum; }
    float GetTransparencyHeight() const { return mTransparencyHeight; }

    // The shake noise in 0..1 at x; draws one C-runtime number.
    static float ShakeNoise(float x);

private:
    void CalculateViewFrame();
    void ApplyEasedValues();

    Player* mPlayer = nullptr;
    WorldVec3 mTarget;
    int mShakeTimeLeft = 0;
    int mShakeDuration = 0;
    float mShakeMagnitude = 0.12f;
    CameraFrustum mTransparencyFrustum;
    float mTransparencyHeight = 0.0f;
    Vec3 mTargetOffset;
    float mMaxHorizontalOffset = 40.0f;
    float mMaxVerticalOffset = 15.0f;
    float mDistanceLow = 1.0f;
    float mDistanceHigh = 1000.0f;
    float mYawLow = kFixedYawDegrees;
    float mYawHigh = kFixedYawDegrees;
    float mPitchLow = 0.0f;
    float mPitchHigh = 89.0f;

    // The engine camera's state.
    float mDistanceDefault = 0.0f;
    float mPitchDefault = 0.0f;
    float mDistance = 0.0f;
    float mYaw = 0.0f;
    float mPitch = 0.0f;
    float mFov = 0.0f;
    Vec3 mCameraOffset;
    std::uint64_t mZoomTimerStart = 0;
    Coords mViewFrame;
    TransparencyGrid* mGrid = nullptr;

    SmoothedValue mSmoothDistance;
    SmoothedValue mSmoothYaw;
    SmoothedValue mSmoothPitch;
};

}  // namespace GAME
