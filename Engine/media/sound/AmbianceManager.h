#pragma once
// Ambient sound and weather around the listener; headless, it keeps what it was told.
#include <array>

#include "Engine/world/Math.h"
#include "Engine/world/Region.h"
#include "Engine/world/WorldShapes.h"

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
    // The view the weather and ambient effects are kept to (a default camera on the player).
    void UpdateEnvironmentEffects(const WorldFrustum& view) {
        mEffectsView = view;
        ++mViewUpdates;
    }
    const WorldFrustum& GetEffectsView() const { return mEffectsView; }
    int GetViewUpdateCount() const { return mViewUpdates; }
    // Whether the listener (the target) stands where a boss fight's music may play: a region the
    // level marks "bossMusicZone".
    bool IsInBossMusicZone() const { return mTarget.region && mTarget.region->IsBossMusicZone(); }
    void Reset() {
        mTarget = WorldVec3();
        mEffectsPosition = WorldVec3();
        mEffectsView = WorldFrustum();
        ++mResets;
    }
    int GetResetCount() const { return mResets; }

    // The ambient light of the sky per environment (black until set; unknown ones black).
    static constexpr int kEnvironmentCount = 4;
    void SetSkyAmbientColor(int environment, const Color& color) {
        if (environment >= 0 && environment < kEnvironmentCount)
            mSkyAmbient[static_cast<std::size_t>(environment)] = color;
    }
    Color GetSkyAmbientColor(int environment) const {
        if (environment < 0 || environment >= kEnvironmentCount)
            return Color{};
        return mSkyAmbient[static_cast<std::size_t>(environment)];
    }

private:
    std::array<Color, kEnvironmentCount> mSkyAmbient{};
    WorldVec3 mTarget;
    WorldVec3 mEffectsPosition;
    WorldFrustum mEffectsView;
    int mEffectUpdates = 0;
    int mViewUpdates = 0;
    int mResets = 0;
};

}  // namespace GAME
