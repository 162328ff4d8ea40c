#pragma once
// Plays the character's death sound and finishes at once.
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class PlaySoundDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
};

}  // namespace GAME
