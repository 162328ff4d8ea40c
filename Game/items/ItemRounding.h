#pragma once
// Float to whole number by truncation toward zero, as the item rules round ("plus 0.5,
// truncated"); values beyond the int range (or not a number) give the nearest bound (or 0)
// instead of an undefined conversion.
#include <cmath>
#include <limits>

namespace GAME {

inline int TruncateToInt(float value) {
    if (std::isnan(value))
        return 0;
    constexpr float kLimit = 2147483648.0f;
    if (value >= kLimit)
        return std::numeric_limits<int>::max();
    if (value < -kLimit)
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace GAME
