#pragma once
// The body's own death: the death animation, or the rag doll when the character falls as one.
// Finishes on the animation's "End" or the rag doll's "PhysicsComplete", and then stops the
// effects still attached to the body.
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class DefaultDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
    void AnimationCallback(const Name& name) override;
    void ExternalEvent(const Name& name) override;
    void Finish() override;
};

}  // namespace GAME
