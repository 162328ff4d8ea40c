#include "Game/core/GameCamera.h"

namespace GAME {

GameCamera::GameCamera() {
    ResetToDefaults(true);
}

void GameCamera::SetMovementExtents(float distanceLow, float distanceHigh, float pitchLow,
                                    float pitchHigh) {
    mDistanceLow = distanceLow;
    mDistanceHigh = distanceHigh;
    mPitchLow = pitchLow;
    mPitchHigh = pitchHigh;
}

void GameCamera::ResetToDefaults(bool toDefaults) {
    if (!toDefaults)
        return;
    mDistance = mDistanceDefault;
    mPitch = mPitchDefault * 0.017453292f;
}

}  // namespace GAME
