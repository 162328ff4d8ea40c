#pragma once
// The wall grid of an underground level, as the camera sees it: a lattice with points at half-cell
// steps along x and z (2 * cells + 1 of them) and at whole cells along y (cells + 1), each set
// where a wall stands, and the box of it that the engine should fade out.
#include <array>

#include "Engine/world/Math.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

class TransparencyGrid {
public:
    virtual ~TransparencyGrid() = default;

    virtual Vec3 GetCellSpacing() const = 0;
    virtual IntVec3 GetCellCount() const = 0;
    virtual bool GetLatticeValue(int x, int y, int z) const = 0;
    // Six inward planes: x low and high, y low and high, z low and high.
    virtual void UpdateTransparency(const std::array<Plane, 6>& box) = 0;
};

}  // namespace GAME
