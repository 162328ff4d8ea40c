#pragma once
// Plays the character's death effect at its "Target" attach point and finishes at once.
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class PlayEffectDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
    std::uint32_t GetEffectId() const { return mEffectId; }

private:
    std::uint32_t mEffectId = 0;
};

}  // namespace GAME
