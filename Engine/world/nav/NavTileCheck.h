#pragma once
// A navigation tile read from a cache is checked before Detour takes it: Detour trusts a tile's
// header counts and indices (they size its copies and index its arrays), so a damaged tile whose
// cache checksum was forged would write past its data.
#include <cstddef>
#include <string>

namespace GAME {

// True when the tile's header and every index in it stay inside its bytes; otherwise false with
// what is wrong in `why`.
bool NavTileChecksOut(const unsigned char* data, std::size_t size, int expectX, int expectZ,
                      std::string& why);

}  // namespace GAME
