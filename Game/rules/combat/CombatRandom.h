#pragma once
// The attack's own generator: RandomUniform's sequence, with the step inline and the class
// final, so that the accumulator's draws need no call through the engine library.
#include "Engine/sys/RandomUniform.h"

namespace GAME {

class CombatRandom final : public RandomUniform {
public:
    void Seed(std::uint32_t seed) override { mState = (seed * kMultiplier) % kModulus; }

    int IGenerate(int min, int max) override {
        const double u = NextFraction();
        const double x = static_cast<double>(min) +
                         (static_cast<double>(max) - static_cast<double>(min)) * u + 0.5;
        return static_cast<int>(x);
    }

    float FGenerate(float min, float max) override {
        const double u = NextFraction();
        return static_cast<float>((static_cast<double>(max) - static_cast<double>(min)) * u +
                                  static_cast<double>(min));
    }

private:
    static constexpr std::uint32_t kMultiplier = 16807u;
    static constexpr std::uint32_t kModulus = 2147483647u;
    static constexpr double kFraction = 4.656612875245797e-10;  // nearest to 1 / 2147483647

    double NextFraction() {
        mState = (mState * kMultiplier) % kModulus;
        return static_cast<double>(mState) * kFraction;
    }
};

}  // namespace GAME
