#pragma once
// Payloads of the game events that characters send.
#include <cstdint>
#include <string>

#include "Game/core/GameEvents.h"

namespace GAME {

// "GameEvent_PlayerLevelUp" and "GameEvent_PlayerSkillUp": the character concerned.
struct GameEvent_CharacterId : GameEvent {
    std::uint32_t objectId = 0;
};

struct GameEvent_CreatureSpawn : GameEvent {
    std::string objectName;
    std::uint32_t objectId = 0;
    bool isPlayer = false;
};

struct GameEvent_CreatureInitialUpdate : GameEvent {
    std::uint32_t objectId = 0;
    std::string objectName;
};

// "GameEvent_MoveCompleted": a character finished a move a quest asked of it.
struct GameEvent_MoveCompleted : GameEvent {
    std::string objectName;
};

// "GameEvent_AnimationCompleted": a quest-commanded animation of this character has ended.
struct GameEvent_AnimationCompleted : GameEvent {
    std::string objectName;
};

}  // namespace GAME
