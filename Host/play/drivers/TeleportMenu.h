#pragma once
// The host's teleport menu: when the game opens it for this machine's player (a travel stone or a
// portal was used), it picks at once, as a person would, the stone a driver asked for when the
// player knows it, else the first other travel stone the player knows, and starts the player's
// teleport there (in a network game: asks the server for it). Nothing is chosen when the player
// knows no other.
#include <cstdint>
#include <functional>
#include <string>

#include "Engine/object/UniqueId.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"

namespace GAME {

class TeleportMenu {
public:
    using Printer = std::function<void(const std::string&)>;

    TeleportMenu(std::uint32_t playerId, Printer print);
    // The stone the next choice goes to when the player knows it (a nil id: none).
    void Prefer(const UniqueId& stone) { mPreferred = stone; }

private:
    void OnOpen(const GameEvent_ActivateTeleportMenu& event);

    std::uint32_t mPlayerId;
    Printer mPrint;
    UniqueId mPreferred;
    GameEventListener<TeleportMenu, GameEvent_ActivateTeleportMenu> mOpen;
};

}  // namespace GAME
