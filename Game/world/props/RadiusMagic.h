#pragma once
// The ring a radius skill shows on the ground: it grows with time, feeds the "radius" and
// "strength" shader parameters and removes itself once past twice its extent.
#include <string>

#include "Game/world/props/Decoration.h"

namespace GAME {

struct RadiusEffect {
    float timeScale = 1.0f;
    float extent = 1.0f;
    float value2 = 0.0f;
    float value3 = 0.0f;
    std::string name;
};

class RadiusMagic : public Decoration {
    RTTI_DECLARE(RadiusMagic)
public:
    void UpdateSelf(int elapsedMs) override;
    bool CanCollide(const Entity&) const override { return false; }

    void SetEffect(float extent, float timeScale);
    void SetEffect(const RadiusEffect& effect);
    virtual bool GetShaderParam(const char* name, float& out) const;
    virtual bool GetShaderParamFloat4(const char* name, float out[4]) const;

    float GetCurrentValue() const { return mCurrentValue; }
    float GetEndValue() const { return mEndValue; }

private:
    int mElapsed = 0;
    RadiusEffect mEffect;
    float mEndValue = 1.0f;
    float mCurrentValue = 0.0f;
};

}  // namespace GAME
