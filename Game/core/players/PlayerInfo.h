#pragma once
// The level summary of the players in a game, offered to level formulas as designer variables.
#include <cstdint>

namespace GAME {

struct PlayerInfo {
    std::uint32_t averageLevel = 0;
    std::uint32_t minLevel = 0;
    std::uint32_t maxLevel = 0;
    std::uint32_t numPlayers = 0;
    std::uint32_t gameDifficulty = 0;  // filled by the root object

    void Clear() { *this = PlayerInfo(); }
};

}  // namespace GAME
