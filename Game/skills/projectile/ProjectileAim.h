#pragma once
// How the projectile skills turn their launch coordinates.
#include "Engine/world/Region.h"

namespace GAME {

// The coordinates turned by `degrees` about their up axis (0, 1, 0); the origin stays.
inline WorldCoords RotatedAboutUp(const WorldCoords& coords, float degrees) {
    WorldCoords turned = coords;
    turned.coords =
        coords.coords * Coords::FromAxisAngle(Vec3(0.0f, 1.0f, 0.0f), degrees * 0.017453292f);
    turned.coords.origin = coords.coords.origin;
    return turned;
}

// The coordinates looking from their origin at `aim`, up (0, 1, 0); unchanged when the aim lies
// on the origin.
inline WorldCoords LookingAt(const WorldCoords& coords, const WorldVec3& aim) {
    WorldCoords looking = coords;
    const Vec3 direction = coords.GetPosition().VectorTo(aim);
    if (direction.LengthSquared() > 0.0f)
        looking.coords =
            Coords::FromDirection(coords.coords.origin, direction, Vec3(0.0f, 1.0f, 0.0f));
    return looking;
}

}  // namespace GAME
