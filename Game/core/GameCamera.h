#pragma once
// The follow camera: keeps the view on the controlled player within distance and pitch limits.
#include "Engine/world/Region.h"

namespace GAME {

class Player;

class GameCamera {
public:
    GameCamera();

    void SetPlayer(Player* player) { mPlayer = player; }
    Player* GetPlayer() const { return mPlayer; }
    void SetTarget(const WorldVec3& target) { mTarget = target; }
    const WorldVec3& GetTarget() const { return mTarget; }

    // The engine camera's defaults and present values (pitch default in degrees, pitch in radians).
    void SetCameraDistanceDefault(float distance) { mDistanceDefault = distance; }
    void SetCameraPitchDefault(float degrees) { mPitchDefault = degrees; }
    void SetCameraDistance(float distance) { mDistance = distance; }
    void SetCameraPitch(float radians) { mPitch = radians; }
    float GetCameraDistance() const { return mDistance; }
    float GetCameraPitch() const { return mPitch; }
    float GetCameraDistanceDefault() const { return mDistanceDefault; }
    float GetCameraPitchDefault() const { return mPitchDefault; }

    void SetMovementExtents(float distanceLow, float distanceHigh, float pitchLow, float pitchHigh);
    float GetDistanceLow() const { return mDistanceLow; }
    float GetDistanceHigh() const { return mDistanceHigh; }
    float GetPitchLow() const { return mPitchLow; }
    float GetPitchHigh() const { return mPitchHigh; }

    // Back to the default distance and pitch.
    void ResetToDefaults(bool toDefaults);

private:
    Player* mPlayer = nullptr;
    WorldVec3 mTarget;
    float mDistanceLow = 1.0f;
    float mDistanceHigh = 1000.0f;
    float mPitchLow = 0.0f;
    float mPitchHigh = 89.0f;
    float mDistanceDefault = 0.0f;
    float mPitchDefault = 0.0f;
    float mDistance = 0.0f;
    float mPitch = 0.0f;
};

}  // namespace GAME
