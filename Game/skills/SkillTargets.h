#pragma once
// The characters a skill may pick around a point: those in the sphere that have done their
// initial update, are alive, not hiding and not non-player characters, keeping the friends (or
// the foes) of a team, in the world's order. The root will own this query; skills are its only
// callers so far.
#include <cstdint>
#include <vector>

namespace GAME {

class Character;
class Team;
struct Vec3;
struct WorldVec3;

// A character's radius by its size class (0.5, 1.0 or 1.75 m).
float GetCharacterExtents(const Character& character);

// Fills `out` (cleared first); `exclude` 0 excludes nobody.
void GetTargetsInRadius(const Team& team, const WorldVec3& centre, float radius,
                        std::vector<std::uint32_t>& out, std::uint32_t exclude, bool friends);

// The same filter over the entities in a cone at the apex along the direction, of half-angle
// `angleDegrees` and as long as `length`.
void GetTargetsInCone(const Team& team, const WorldVec3& apex, const Vec3& direction,
                      float angleDegrees, float length, std::vector<std::uint32_t>& out,
                      std::uint32_t exclude, bool friends);

}  // namespace GAME
