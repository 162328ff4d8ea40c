#pragma once
// Payloads of the named game events. Every name starts with "GameEvent_"; handlers read the
// fields in the order declared here.
#include <cstdint>
#include <string>

#include "Engine/events/EventManager.h"
#include "Engine/world/Region.h"
#include "Game/core/GameEventListener.h"

namespace GAME {

// The full name of a happening, e.g. "CreatureDeath" -> "GameEvent_CreatureDeath".
std::string GameEventName(const char* happening);

struct GameEvent_GameBalanceLevel : GameEvent {
    int level = 0;
};

struct GameEvent_TutorialUnlock : GameEvent {
    unsigned int page = 0;
};

struct GameEvent_CreatureDeath : GameEvent {
    std::string objectName;
    std::uint32_t objectId = 0;
    std::uint32_t attackerId = 0;
};

// A creature's controller started its death.
struct GameEvent_CreatureStartDeath : GameEvent {
    std::uint32_t objectId = 0;
};

// A placed, usable object came into the world (quest actions bind to it by object name).
struct GameEvent_FixedItemSpawn : GameEvent {
    std::string objectName;
    std::uint32_t itemId = 0;
};

// A placed object was used: a chest opened, a reward given.
struct GameEvent_FixedItemUse : GameEvent {
    std::string objectName;
    std::uint32_t userId = 0;
    std::uint32_t itemId = 0;
};

// A player portal or a teleport shrine was used: the user interface opens the teleport menu.
struct GameEvent_ActivateTeleportMenu : GameEvent {
    std::uint32_t objectId = 0;
};

// "GenericEntitySpawn", "GenericEntityInitialUpdate" and "GenericEntityDestroy": a placed
// object that quests may name (a proxy, a quest location, a fixed item).
struct GameEvent_GenericEntity : GameEvent {
    std::uint32_t objectId = 0;
    std::string objectName;
};

struct GameEvent_InviteToParty : GameEvent {
    int inviter = 0;
};

// A player stepped into a script point: the point's place, the character it is meant for (by
// object name) and its number in that character's script.
struct GameEvent_ScriptPoint : GameEvent {
    WorldCoords coords;
    std::string targetName;
    int index = 0;
};

// Builds the payload's name and delivers it; delivery has finished when this returns.
void SendGameEvent(const GameEvent& payload, const char* happening);

}  // namespace GAME
