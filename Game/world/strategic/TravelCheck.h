#pragma once
// What a server lets a client's player travel to: from a travel stone or a portal it stands at,
// to a travel stone it has found (or, from a boat, to the boat's other landing; from a guide it
// stands by, to a way a guide action of the server's own quests opens for him). A teleport's
// destination comes from the client as bare coordinates; these are the places the game's own
// menus could have chosen.
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/world/Region.h"

namespace GAME {

class Player;

// Null when the travel may go; else why not (for the log).
const char* TravelRefusal(const Player& player, const Vec3& destination);

// The travel stones a joining player brings from its file (found in other games): `kept` gets
// those the level places, each once (a stone of another level is left out: no travel here
// leads there). Empty when the list is one a file could hold; else one line naming the field:
// an entry naming a placed thing that is no travel stone.
std::string CheckFoundStones(const std::vector<UniqueId>& stones, std::vector<UniqueId>& kept);

}  // namespace GAME
