#pragma once
// What the physics tells an entity it touched.
#include <cstdint>

#include "Engine/world/Region.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

struct CollisionData {
    // Touching a surface (not only passing near it).
    bool contact = false;
    PhysicsSurface surface = PhysicsSurface::None;
    WorldVec3 where;
};

}  // namespace GAME
