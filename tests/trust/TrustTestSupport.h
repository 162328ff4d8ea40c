#pragma once
// The two players of the trust tests: a hostile client's and an honest one's.
#include <cstdint>

#include "players/PlayersTestSupport.h"

namespace GAME::test {

inline constexpr std::uint32_t kHostile = PlayerId(1, 0x11);
inline constexpr std::uint32_t kHonest = PlayerId(2, 0x22);

}  // namespace GAME::test
