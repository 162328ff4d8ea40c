#pragma once
// The follow camera: keeps the engine camera on the controlled player, eases its distance, pitch
// and yaw toward what zooming asks, shakes on request and computes the transparency frustum, the
// part of the view between camera and player whose geometry the engine fades so the player stays
// visible.
#include <cstdint>

#include "Engine/media/graphics/WorldCamera.h"
#include "Game/core/camera/SmoothedValue.h"

namespace GAME {

class Player;
class TransparencyGrid;

namespace test {
struct GameCameraTestAccess;
}

class GameCamera : public WorldCamera {
    // Tests move the aim and give the camera a grid of their own.
    friend struct test::GameCameraTestAccess;

public:
    static constexpr float kFieldOfViewDegrees = 30.0f;
    static constexpr float kFixedYawDegrees = 50.0f;

    GameCamera();

    void SetPlayer(Player* player) { mPlayer = player; }
    Player* GetPlayer() const { return mPlayer; }
    // The point looked at: the target moved by the target offset and, while shaking, the shake.
    WorldVec3 GetTarget() const override;
    void UpdateTarget();
    // The target, then the view frame.
    void Update() override;
    // One frame of easing, limits and shake, timed by the game clock.
    void UpdateFromInputImpl() override;
    void Zoom(float amount);
    void Shake(int durationMs, float magnitude);
    const Vec3& GetTargetOffset() const { return mTargetOffset; }
    void ClampTargetOffset();

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

    // The wall grid of the level while the camera is underground (null above ground).
    void UpdateTransparencyFrustum(const Viewport& viewport);
    const WorldFrustum& GetTransparencyFrustum() const { return mTransparencyFrustum; }
    float GetTransparencyHeight() const { return mTransparencyHeight; }

    // The shake noise in 0..1 at x; draws one C-runtime number.
    static float ShakeNoise(float x);

private:
    void ApplyEasedValues();

    Player* mPlayer = nullptr;
    int mShakeTimeLeft = 0;
    int mShakeDuration = 0;
    float mShakeMagnitude = 0.12f;
    WorldFrustum mTransparencyFrustum;
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

    std::uint64_t mZoomTimerStart = 0;
    TransparencyGrid* mGrid = nullptr;

    SmoothedValue mSmoothDistance;
    SmoothedValue mSmoothYaw;
    SmoothedValue mSmoothPitch;
};

}  // namespace GAME
