#pragma once
// The happenings of carried and worn items.
#include <cstdint>

#include "Game/core/GameEvents.h"

namespace GAME {

// An item joined a character's inventory.
struct GameEvent_ItemAdd : GameEvent {
    std::uint32_t ownerId = 0;
    std::uint32_t itemId = 0;
    bool flag = false;
};

// An item was attached to (or detached from) a character.
struct GameEvent_ItemEquip : GameEvent {
    std::uint32_t characterId = 0;
    std::uint32_t itemId = 0;
};

}  // namespace GAME
