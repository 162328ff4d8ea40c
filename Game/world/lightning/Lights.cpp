#include "Engine/Engine.h"
#include "Game/core/util/PerlinNoise.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/lightning/LightAnchor.h"
#include "Game/world/lightning/LightTorch.h"

namespace GAME {

RTTI_IMPLEMENT(LightAnchor, Light)
RTTI_IMPLEMENT(LightTorch, Light)

LightAnchor::LightAnchor() {
    SetLightType(0);
    SetColor(Color{0.28f, 0.28f, 1.96f, 1.0f});
    SetRadius(20.0f);
}

void LightTorch::InitialUpdate() {
    Light::InitialUpdate();
    mPhase = RandomFloat(0.0f, 1000.0f);
}

void LightTorch::UpdateSelf(int elapsedMs) {
    Light::UpdateSelf(elapsedMs);
    constexpr float kPi = 3.14159265f;
    const float t = static_cast<float>(gEngine->GetGameTime()) * 0.001f + mPhase;
    const float a = (PerlinNoise1::Sample(t + kPi) + 1.0f) * 0.5f;
    const float b = PerlinNoise1::Sample(t * 10.0f) * 0.25f + a + 0.5f;
    SetColor(Color{b, 0.5f * b, 0.16f * b, 1.0f});
}

}  // namespace GAME
