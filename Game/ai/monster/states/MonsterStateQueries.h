#pragma once
// Lookups the monster states share that the engine and the state base do not offer yet.
#include <cmath>
#include <vector>

#include "Engine/world/Region.h"

namespace GAME {

class Character;
class Entity;
class Name;
class UniqueId;

// The entity placed under the unique id, or null (a null id names nothing).
Entity* FindEntityByUniqueId(const UniqueId& id);
// The index of the entity nearest to `from` among the ids; unresolved or region-less entities
// are skipped, the first of equals wins; -1 when none qualifies.
int GetClosestEntityIndex(const std::vector<UniqueId>& ids, const WorldVec3& from);
// Whether the animation event is "End", the end of a pass.
bool IsEndEvent(const Name& event);
// Frees the character from its trap on every machine.
void RemoveTrap(Character& character);
// Distance through world space; infinite when either point has no region. World::
// GetDistanceSquared's measure, without finding the machine's world for it; inline, as sight
// sweeps measure every foe.
inline float WorldDistance(const WorldVec3& a, const WorldVec3& b) {
    return std::sqrt(a.region && b.region ? a.VectorTo(b).LengthSquared() : kInfinity);
}

}  // namespace GAME
