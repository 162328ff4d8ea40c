#pragma once
// Payloads of the game events a player sends.
#include <cstdint>
#include <string>

#include "Game/core/GameEvents.h"

namespace GAME {

// "GameEvent_GotToken": a quest token was granted to the player.
struct GameEvent_GotToken : GameEvent {
    std::uint32_t playerId = 0;
    std::string tokenName;
};

}  // namespace GAME
