#pragma once
// What the monster states ask of a projectile flying at them.
#include <cstdint>

namespace GAME {

struct WorldVec3;

// Where the projectile was launched; false when the id names none.
bool FindProjectileLaunchPoint(std::uint32_t projectileId, WorldVec3& out);

}  // namespace GAME
