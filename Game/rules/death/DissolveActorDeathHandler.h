#pragma once
// Dissolves the body ("Dissolve": with the death; "DissolveOnCallback": on the animation's
// "dissolve"; "Delete": never) under a shrinking red light and an effect, and removes the body
// once the whole death is over.
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class DissolveActorDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
    void Update(int ms) override;
    void AnimationCallback(const Name& name) override;
    void ExternalEvent(const Name& name) override;
    void PostProcess() override;
    virtual void StartDissolve();

    std::uint32_t GetEffectId() const { return mEffectId; }
    std::uint32_t GetLightId() const { return mLightId; }
    float GetLightRadius() const { return mLightRadius; }

private:
    std::uint32_t mEffectId = 0;
    std::uint32_t mLightId = 0;
    float mLightRadius = 0.0f;
};

// The same dissolve under its own name.
class TelkineDeathHandler : public DissolveActorDeathHandler {
public:
    using DissolveActorDeathHandler::DissolveActorDeathHandler;
};

}  // namespace GAME
