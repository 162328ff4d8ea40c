#pragma once
#include <vector>

namespace GAME {

class Character;
class Entity;
class Player;

// The nearest living foe of the player within the radius, as a person looking around sees it;
// `squared` gets its squared distance. Ties go to the first in world order, the same on every
// machine. `scratch` keeps the sphere query's list between calls.
Character* FindNearestFoe(Player& player, float radius, std::vector<Entity*>& scratch,
                          float& squared);

}  // namespace GAME
