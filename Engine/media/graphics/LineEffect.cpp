#include "Engine/media/graphics/LineEffect.h"

#include <algorithm>
#include <cstdint>

#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

RTTI_IMPLEMENT(LineEffect, Entity)

void LineEffect::Load(const LoadTable& table) {
    Entity::Load(table);
    mTravelTime = static_cast<int>(table.GetFloat("travelTime", static_cast<float>(mTravelTime)));
}

void LineEffect::UpdateSelf(int elapsedMs) {
    Entity::UpdateSelf(elapsedMs);
    if (IsPausedAtTarget())
        return;
    mClock = std::min(mClock + elapsedMs, mPauseAtTarget ? std::max(mTravelTime, 0) : INT32_MAX);
    UpdateTravel();
}

void LineEffect::SetTexture(const std::string& texture) {
    mTexture = texture;
    if (!texture.empty())
        GraphicsEngine::Get().LoadTexture(texture);
}

void LineEffect::SetClock(int ms) {
    mClock = ms;
    UpdateTravel();
}

void LineEffect::UpdateTravel() {
    if (mTravelTime <= 0) {
        mTravel = 1.0f;
        return;
    }
    mTravel = std::clamp(static_cast<float>(mClock) / static_cast<float>(mTravelTime), 0.0f, 1.0f);
}

}  // namespace GAME
