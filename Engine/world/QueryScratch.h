#pragma once
// A list kept for world queries from one call to the next (entities, or the ids picked from
// them): emptied, with room for every entity of the world and as many again, so that it grows
// at once and rarely, not by doubling through a fight's first frames as the crowd gathers, nor
// when a fight's loot and summons join the world.
#include <algorithm>
#include <vector>

#include "Engine/world/World.h"

namespace GAME {

template <class T>
void PrepareQueryScratch(std::vector<T>& scratch) {
    scratch.clear();
    const std::size_t all = World::Get().GetEntityCount();
    if (scratch.capacity() < all) [[unlikely]]
        scratch.reserve(std::max(2 * all, 2 * scratch.capacity()));
}

// Room for `count` items, written through once so that the list's pages are memory before a
// frame needs them: a page's first touch costs far more than its use. The items held stay.
template <class T, class Alloc>
void ReserveWritten(std::vector<T, Alloc>& list, std::size_t count) {
    if (list.capacity() >= count)
        return;
    const std::size_t held = list.size();
    list.reserve(count);
    list.resize(count);
    list.resize(held);
}

}  // namespace GAME
