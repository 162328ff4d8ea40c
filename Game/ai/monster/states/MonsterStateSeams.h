#pragma once
// What the monster states reach in parts of the game that are not built yet. Each reports
// through the seam log (Game/core/util/SeamLog.h) and does nothing; a query answers nothing found.
#include <cstdint>

namespace GAME {

struct WorldVec3;

// The launch point of a projectile; false when the id names none.
bool FindProjectileLaunchPoint(std::uint32_t projectileId, WorldVec3& out);

}  // namespace GAME
