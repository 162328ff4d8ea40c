#pragma once
// One entry of the detail map: what an actor or a player shows there.
#include <string>

#include "Engine/world/Region.h"

namespace GAME {

struct MinimapGameNugget {
    int word = 0;  // for a player's entry: whether he is in the main player's party
    int kind = 0;
    std::wstring label;
    WorldVec3 position;
    Vec3 vector;
};

}  // namespace GAME
