#pragma once
// Hands a click to the player's controller, the way the game's own user interface passes a
// mouse click on: the primary button, not held, on the point and the object under the cursor.
#include "Host/play/HostClick.h"

namespace GAME {

class Player;

// False when the click's region is not in the world or the controller did not take it.
bool DeliverClick(Player& player, const HostClick& click);

}  // namespace GAME
