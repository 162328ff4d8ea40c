#pragma once
// Ambient sound and weather around the listener; headless, it keeps what it was told.
#include "Engine/world/Region.h"

namespace GAME {

class AmbianceManager {
public:
    void SetTargetPosition(const WorldVec3& position) { mTarget = position; }
    const WorldVec3& GetTargetPosition() const { return mTarget; }
    void UpdateEnvironmentEffects(const WorldVec3& position) {
        mEffectsPosition = position;
        ++mEffectUpdates;
    }
    int GetEffectUpdateCount() const { return mEffectUpdates; }
    void Reset() {
        mTarget = WorldVec3();
        mEffectsPosition = WorldVec3();
        ++mResets;
    }
    int GetResetCount() const { return mResets; }

private:
    WorldVec3 mTarget;
    WorldVec3 mEffectsPosition;
    int mEffectUpdates = 0;
    int mResets = 0;
};

}  // namespace GAME
