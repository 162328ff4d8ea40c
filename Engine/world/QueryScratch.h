#pragma once
// A list kept for world queries from one call to the next: emptied, with room for every entity
// of the world, so that it grows at once and rarely, not by doubling through a fight's first
// frames as the crowd gathers.
#include <algorithm>
#include <vector>

#include "Engine/world/World.h"

namespace GAME {

inline void PrepareQueryScratch(std::vector<Entity*>& scratch) {
    scratch.clear();
    const std::size_t all = World::Get().GetEntityCount();
    if (scratch.capacity() < all)
        scratch.reserve(std::max(all, 2 * scratch.capacity()));
}

}  // namespace GAME
