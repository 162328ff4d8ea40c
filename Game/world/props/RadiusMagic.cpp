#include "Game/world/props/RadiusMagic.h"

#include <cstring>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"

namespace GAME {

RTTI_IMPLEMENT(RadiusMagic, Decoration)

void RadiusMagic::SetEffect(float extent, float timeScale) {
    mEffect.extent = extent;
    mEffect.timeScale = timeScale;
    mEndValue = 2.0f * extent;
}

void RadiusMagic::SetEffect(const RadiusEffect& effect) {
    mEffect = effect;
    mEndValue = 2.0f * effect.extent;
}

bool RadiusMagic::GetShaderParam(const char* name, float& out) const {
    if (std::strcmp(name, "radius") != 0)
        return false;
    out = mCurrentValue;
    return true;
}

bool RadiusMagic::GetShaderParamFloat4(const char* name, float out[4]) const {
    if (std::strcmp(name, "strength") != 0)
        return false;
    const float ratio = mCurrentValue / mEndValue;
    const float strength = (1.0f - ratio * ratio) * 0.03f;
    out[0] = strength;
    out[1] = 0.0f;
    out[2] = 0.0f;
    out[3] = strength;
    return true;
}

void RadiusMagic::UpdateSelf(int elapsedMs) {
    Decoration::UpdateSelf(elapsedMs);
    mElapsed += elapsedMs;
    mCurrentValue = static_cast<float>(mElapsed) / mEffect.timeScale;
    if (mCurrentValue > mEndValue) {
        World::Get().RemoveEntity(this);
        Singleton<ObjectManager>::Get().DestroyObject(this);
    }
}

}  // namespace GAME
