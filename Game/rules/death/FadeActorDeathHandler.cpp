#include "Game/rules/death/FadeActorDeathHandler.h"

#include "Game/characters/Character.h"
#include "Game/rules/death/DeathRemovals.h"

namespace GAME {

void FadeActorDeathHandler::Execute() {
    if (!mCharacter)
        return;
    mStartColor = mCharacter->GetTintColor();
    mFadeMs = mCharacter->GetDissolveTime() * 1000.0f;
    // Each death fades from the start: after a respawn the old time would end it at once.
    mElapsedMs = 0;
}

void FadeActorDeathHandler::Update(int ms) {
    if (!mCharacter)
        return;
    mElapsedMs += ms;
    if (mFadeMs > 0.0f) {
        const float f = 1.0f - static_cast<float>(mElapsedMs) / mFadeMs;
        mCharacter->SetTintColor(
            Color{f * mStartColor.r, f * mStartColor.g, f * mStartColor.b, 1.0f});
    } else {
        Finish();
    }
    if (static_cast<float>(mElapsedMs) >= mFadeMs)
        Finish();
}

void FadeActorDeathHandler::PostProcess() {
    // This runs inside the body's own update: the body goes at the game's next frame step.
    if (mCharacter)
        Singleton<DeathRemovals>::Get().Request(*mCharacter);
}

}  // namespace GAME
