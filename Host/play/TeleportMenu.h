#pragma once
// The host's teleport menu: when the game opens it for this machine's player (a travel stone or a
// portal was used), it picks at once, as a person would, the first other travel stone the player
// knows, and starts the player's teleport there (in a network game: asks the server for it).
// Nothing is chosen when the player knows no other.
#include <cstdint>
#include <functional>
#include <string>

#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"

namespace GAME {

class TeleportMenu {
public:
    using Printer = std::function<void(const std::string&)>;

    TeleportMenu(std::uint32_t playerId, Printer print);

private:
    void OnOpen(const GameEvent_ActivateTeleportMenu& event);

    std::uint32_t mPlayerId;
    Printer mPrint;
    GameEventListener<TeleportMenu, GameEvent_ActivateTeleportMenu> mOpen;
};

}  // namespace GAME
