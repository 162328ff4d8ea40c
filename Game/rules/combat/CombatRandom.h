#pragma once
// The attack's own generator: RandomUniform's sequence, with the class final, so that every
// draw through it is the inline step and no call through the engine library.
#include "Engine/sys/RandomUniform.h"

namespace GAME {

class CombatRandom final : public RandomUniform {
public:
    void Seed(std::uint32_t seed) override { mState = NextState(seed); }
};

}  // namespace GAME
