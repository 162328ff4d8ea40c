#pragma once
// The seeded generator whose sequence is a contract between machines and with saved items:
// state = ((state * 16807) mod 2^32) mod 2147483647, the product cut to 32 bits.
#include <cstdint>

#include "Engine/sys/CriticalSection.h"

namespace GAME {

class RandomUniform {
public:
    RandomUniform() = default;
    virtual ~RandomUniform() = default;

    virtual void Seed(std::uint32_t seed);
    // Rounds half up from min + (max - min) * u: both ends reachable.
    virtual int IGenerate(int min, int max);
    // In [min, max) before the rounding to float.
    virtual float FGenerate(float min, float max);

    std::uint32_t GetState() const { return mState; }

protected:
    // Advances the state and gives the fraction u in [0, 1).
    double Step();

    std::uint32_t mState = 0;
};

// The shared generator of the root object: the same draws, under a lock.
class RandomUniformLocked : public RandomUniform {
public:
    void Seed(std::uint32_t seed) override;
    int IGenerate(int min, int max) override;
    float FGenerate(float min, float max) override;

private:
    CriticalSection mLock;
};

}  // namespace GAME
