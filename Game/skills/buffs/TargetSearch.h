#pragma once
// The root's radius query as the buff and modifier skills ask it: the list is filled afresh
// (the root's query appends), and empty without a game root.
#include <cstdint>
#include <vector>

#include "Game/core/GameEngine.h"

namespace GAME {

inline void FindTargetsInRadius(const Team& team, const WorldVec3& center, float radius,
                                std::vector<std::uint32_t>& out, std::uint32_t exclude,
                                bool friends) {
    out.clear();
    if (gGameEngine)
        gGameEngine->GetTargetsInRadius(team, center, radius, out, exclude, friends);
}

}  // namespace GAME
