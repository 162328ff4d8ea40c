#pragma once
// Draws of the world objects that need not agree between machines: they come from the C
// runtime's generator (the machine's crt_rand), or from a private generator of the same kind.
#include <cstdint>

#include "Engine/sys/Machine.h"

namespace GAME {

// draw x (1 / 32767) x (max - min) + min, with a draw of 0..32767.
inline float RandomFloatFrom(int draw, float min, float max) {
    return static_cast<float>(draw) * (1.0f / 32767.0f) * (max - min) + min;
}

inline float RandomFloat(float min, float max) {
    return RandomFloatFrom(crt_rand(), min, max);
}

// draw % (max - min + 1) + min. A range with max below min gives min.
inline int RandomIntFrom(int draw, int min, int max) {
    if (max < min)
        return min;
    const auto span = static_cast<unsigned>(max) - static_cast<unsigned>(min) + 1u;
    if (span == 0u)  // the whole int range
        return draw;
    return static_cast<int>(static_cast<unsigned>(min) + static_cast<unsigned>(draw) % span);
}

// One crt_rand draw % (max - min + 1) + min. A range with max below min still draws and gives min.
inline int RandomInt(int min, int max) {
    return RandomIntFrom(crt_rand(), min, max);
}

// The C runtime's generator with a state of its own, so that seeding it touches no other
// user of rand.
class CrtGenerator {
public:
    void Seed(std::uint32_t seed) { mState = seed; }
    int Next() {
        mState = mState * 214013u + 2531011u;
        return static_cast<int>((mState >> 16) & 0x7FFF);
    }
    float Float(float min, float max) { return RandomFloatFrom(Next(), min, max); }
    int Int(int min, int max) { return RandomIntFrom(Next(), min, max); }

private:
    std::uint32_t mState = 1;
};

}  // namespace GAME
