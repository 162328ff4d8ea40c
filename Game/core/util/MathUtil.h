#pragma once
// Geometry helpers of the game over the engine's vectors and world positions.
#include <cstdint>

#include "Engine/world/Math.h"
#include "Engine/world/Region.h"

namespace GAME {

// Truncated toward zero; a value no unsigned integer holds (negative, not finite, too large) is
// brought into range rather than converted with undefined behaviour.
inline std::uint32_t TruncateToUnsigned(float value) {
    if (!(value > 0.0f))
        return 0;
    return value >= 4294967295.0f ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

// A point inside the box, drawn from the C runtime's rand (x, then y, then z) in steps of
// 0.001, expressed through the box's frame.
Vec3 RandomPointInBox(const OrientedBox& box);

// Distance along a ray (unit direction) to the sphere's surface: 0 when the ray starts inside,
// kInfinity when it misses or the sphere lies behind the start.
float RaySphereDistance(const Vec3& rayOrigin, const Vec3& rayDirection, const Vec3& centre,
                        float radius);

// Where a mover leaving `moverPosition` at `speed` meets a target moving at `targetVelocity`,
// in the target's region. A target at rest gives its own position; a position without a
// region, a zero speed or no meeting in the future gives an empty WorldVec3.
WorldVec3 InterceptPoint(const WorldVec3& targetPosition, const Vec3& targetVelocity,
                         const WorldVec3& moverPosition, float speed);

}  // namespace GAME
