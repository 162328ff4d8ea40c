#pragma once
// A flickering torch light: its colour follows noise over game time from a random phase.
#include "Engine/media/graphics/Light.h"

namespace GAME {

class LightTorch : public Light {
    RTTI_DECLARE(LightTorch)
public:
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    float GetPhase() const { return mPhase; }

private:
    float mPhase = 0.0f;
};

}  // namespace GAME
