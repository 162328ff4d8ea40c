#pragma once
// What a server lets a client's player travel to: from a travel stone or a portal it stands at,
// to a travel stone it has found (or, from a boat, to the boat's other landing). A teleport's
// destination comes from the client as bare coordinates; these are the places the game's own
// menus could have chosen.
#include "Engine/world/Region.h"

namespace GAME {

class Player;

// Null when the travel may go; else why not (for the log).
const char* TravelRefusal(const Player& player, const Vec3& destination);

}  // namespace GAME
