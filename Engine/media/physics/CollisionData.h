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
    // The collision kind: the surface kind of the ground touched (7 is water), 0 for an entity.
    int kind = 0;
    // The entity touched; 0 for the ground.
    std::uint32_t entityId = 0;
};

}  // namespace GAME
