#pragma once
// Fades the body's tint to black over the dissolve time, then removes the body once the whole
// death is over.
#include "Engine/world/Math.h"
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class FadeActorDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
    void Update(int ms) override;
    void PostProcess() override;

    int GetElapsed() const { return mElapsedMs; }
    float GetFadeTime() const { return mFadeMs; }

private:
    Color mStartColor{0.0f, 0.0f, 0.0f, 0.0f};
    int mElapsedMs = 0;
    float mFadeMs = 0.0f;
};

}  // namespace GAME
