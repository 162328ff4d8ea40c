#pragma once
// Game events sent while attacks are resolved.
#include <cstdint>
#include <string>

#include "Engine/world/Region.h"
#include "Game/core/GameEvents.h"

namespace GAME {

// "GameEvent_FloatingText": a text shown over a character (a critical strike's damage).
struct GameEvent_FloatingText : GameEvent {
    std::wstring text;
    std::string style;
    WorldVec3 position;
    std::uint32_t objectId = 0;
};

}  // namespace GAME
