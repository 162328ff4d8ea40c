#pragma once
// Hands a click to the player's controller, the way the game's own user interface passes a
// mouse click on: the object under the cursor becomes the combat enemy (a foe) or ally (anyone
// else), then the primary button, not held, on the point and that object.
#include "Host/play/HostClick.h"

namespace GAME {

class Player;

// False, logged, when the click's region is not in the world or the player has no controller;
// what the controller makes of a delivered click is its own affair.
bool DeliverClick(Player& player, const HostClick& click);

}  // namespace GAME
