#pragma once
// Underground, the walls between the camera and the player are found on the level's grid and
// faded: one run of wall along z and one along x, each the lattice points set in a row beside
// the target's cell where the line of sight crosses the cell's boundary.
#include "Engine/world/Math.h"

namespace GAME {

class TransparencyGrid;

// position: the target in grid (region) space; view: the camera's view axis; direction: the
// view axis flattened to the ground and made unit.
void MakeWallsTransparent(TransparencyGrid& grid, const Vec3& position, const Vec3& view,
                          const Vec3& direction);

}  // namespace GAME
