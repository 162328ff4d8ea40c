#pragma once
// Bit-exact comparison of formula results.
#include <cmath>
#include <cstring>

namespace GAME::test {

// The processor may hand back either operand's NaN: NaNs agree as NaNs.
inline bool SameBits(float x, float y) {
    if (std::isnan(x) || std::isnan(y))
        return std::isnan(x) && std::isnan(y);
    return std::memcmp(&x, &y, sizeof x) == 0;
}

}  // namespace GAME::test
