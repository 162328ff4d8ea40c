#pragma once
// One click of the user as the host hands it to the player's controller: the frame it comes in,
// the object under the cursor (0: the ground) and the clicked point in a region of the level.
#include <cstdint>
#include <string>

#include "Engine/world/Math.h"

namespace GAME {

struct HostClick {
    int frame = 0;
    std::uint32_t target = 0;
    std::string region;
    Vec3 point;
    int line = 0;  // where a replayed click was read, for messages; 0 when made in this run
};

}  // namespace GAME
