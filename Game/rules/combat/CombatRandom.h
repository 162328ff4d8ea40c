#pragma once
// The attack's own generator: RandomUniform's sequence, with the class final, so that every
// draw through it is the inline step and no call through the engine library.
#include <array>
#include <cstdint>

#include "Engine/sys/RandomUniform.h"

namespace GAME {

// The percent draw of the chances, IGenerate(0, 100), only grows with the state the step left,
// so "the draw is at most k" is "the state is below the least state drawing above k".
namespace CombatPercentDraw {

// IGenerate(0, 100) as a function of the state.
constexpr int Draw(std::uint32_t state) {
    return static_cast<int>(100.0 * (static_cast<double>(state) * RandomUniform::kFraction) + 0.5);
}

// The least state for which `above` holds (it holds for every later state, as the draws only
// grow); 2^31, above every state, when none is.
template <class Above>
constexpr std::uint32_t LeastStateWhere(Above above) {
    std::uint32_t low = 0;
    std::uint32_t high = 0x80000000u;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (above(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// The least state whose draw is above `percent`.
constexpr std::uint32_t LeastStateAbove(int percent) {
    return LeastStateWhere([percent](std::uint32_t state) { return Draw(state) > percent; });
}

// Index 0: no draw is at most the chance (below 0, or not a number); index k + 1: draws of at
// most k pass, k the chance's whole part, capped at 100. An int, whose conversion from float is
// one instruction (to an unsigned 64-bit index it is a branchy sequence).
constexpr int IndexOf(float chance) {
    if (chance >= 100.0f)
        return 101;
    if (chance >= 0.0f)
        return static_cast<int>(chance) + 1;
    return 0;
}

inline constexpr std::array<std::uint32_t, 102> kLimits = [] {
    std::array<std::uint32_t, 102> limits{};
    for (std::size_t index = 1; index < limits.size(); ++index)
        limits[index] = LeastStateAbove(static_cast<int>(index) - 1);
    return limits;
}();

// FGenerate(0, 100) as a function of the state: it too only grows with the state.
constexpr float DrawFloat(std::uint32_t state) {
    return static_cast<float>(100.0 * (static_cast<double>(state) * RandomUniform::kFraction) +
                              0.0);
}

// The least state whose FGenerate(0, 100) is above `chance`; 2^31 when none is (a chance of 100
// or more, or not a number). A store works it out once per chance it loads.
constexpr std::uint32_t LeastStateFloatAbove(float chance) {
    return LeastStateWhere([chance](std::uint32_t state) { return DrawFloat(state) > chance; });
}

}  // namespace CombatPercentDraw

class CombatRandom final : public RandomUniform {
public:
    void Seed(std::uint32_t seed) override { mState = NextState(seed); }

    // One draw of IGenerate(0, 100); true when it is at most `chance` as a float. The branch on
    // it waits for the integer step alone, not for the draw's double arithmetic.
    bool DrawPercentAtMost(float chance) {
        return StepBelow(CombatPercentDraw::kLimits[CombatPercentDraw::IndexOf(chance)]);
    }
    // One step of the sequence; true when the new state is below `limit`.
    bool StepBelow(std::uint32_t limit) {
        mState = NextState(mState);
        return mState < limit;
    }
    // Hands back a state taken with GetState and stepped outside, so that a batch of draws
    // keeps it in a register.
    void SetState(std::uint32_t state) { mState = state; }
};

}  // namespace GAME
