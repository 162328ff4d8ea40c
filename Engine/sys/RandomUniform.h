#pragma once
// The seeded generator whose sequence is a contract between machines and with saved items:
// state = ((state * 16807) mod 2^32) mod 2147483647, the product cut to 32 bits.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <type_traits>

#include "Engine/sys/CriticalSection.h"

namespace GAME {

class RandomUniform {
public:
    RandomUniform() = default;
    virtual ~RandomUniform() = default;

    virtual void Seed(std::uint32_t seed);
    // Rounds half up from min + (max - min) * u: both ends reachable. Inline, so that a caller
    // that knows the generator's exact class can draw without a call.
    virtual int IGenerate(int min, int max) {
        const double u = Step();
        const double x = static_cast<double>(min) +
                         (static_cast<double>(max) - static_cast<double>(min)) * u + 0.5;
        return static_cast<int>(x);
    }
    // In [min, max) before the rounding to float.
    virtual float FGenerate(float min, float max) {
        const double u = Step();
        return static_cast<float>((static_cast<double>(max) - static_cast<double>(min)) * u +
                                  static_cast<double>(min));
    }

    // IGenerate(min, max) once per element, in order, without a virtual call: the state stays
    // in a register instead of being stored and reloaded between the draws.
    template <class Range>
    void IGenerateEach(int min, int max, Range& out) {
        std::uint32_t state = mState;
        const double low = static_cast<double>(min);
        const double span = static_cast<double>(max) - low;
        for (auto& value : out) {
            state = NextState(state);
            value = static_cast<std::remove_reference_t<decltype(value)>>(
                static_cast<int>(low + span * (static_cast<double>(state) * kFraction) + 0.5));
        }
        mState = state;
    }

    // The same with the bounds as constants; a low end of 0 adds nothing to the scaled draw
    // (exactly, as the scaled draw is never negative).
    template <int Min, int Max, class Range>
    void IGenerateEach(Range& out) {
        constexpr double low = static_cast<double>(Min);
        constexpr double span = static_cast<double>(Max) - low;
        std::uint32_t state = mState;
        for (auto& value : out) {
            state = NextState(state);
            const double scaled = span * (static_cast<double>(state) * kFraction);
            double x;
            if constexpr (Min == 0)
                x = scaled + 0.5;
            else
                x = low + scaled + 0.5;
            value = static_cast<std::remove_reference_t<decltype(value)>>(static_cast<int>(x));
        }
        mState = state;
    }

    std::uint32_t GetState() const { return mState; }

    // The sequence's step: the product cut to 32 bits, then reduced modulo 2^31 - 1 by folding
    // the top bit back in (2^31 is 1 modulo 2^31 - 1), which gives the remainder without a
    // division.
    // Always inline: a large caller (a store's batch of rolls) must not turn it into a call.
    [[gnu::always_inline]] static constexpr std::uint32_t NextState(std::uint32_t state) {
        const std::uint32_t product = state * kMultiplier;
        std::uint32_t folded = (product & kModulus) + (product >> 31);
        if (folded >= kModulus)
            folded -= kModulus;
        return folded;
    }
    static constexpr std::uint32_t kMultiplier = 16807u;
    static constexpr std::uint32_t kModulus = 2147483647u;
    static constexpr double kFraction = 4.656612875245797e-10;  // the double nearest to 1 / 2^31-1

protected:
    // Advances the state and gives the fraction u in [0, 1).
    double Step() {
        mState = NextState(mState);
        return static_cast<double>(mState) * kFraction;
    }

    std::uint32_t mState = 0;
};

// The shared generator of the root object: the same draws, under a lock. Final and inline: a
// caller holding the object itself draws without a call.
class RandomUniformLocked final : public RandomUniform {
public:
    void Seed(std::uint32_t seed) override {
        std::lock_guard lock(mLock);
        RandomUniform::Seed(seed);
    }
    int IGenerate(int min, int max) override {
        std::lock_guard lock(mLock);
        return RandomUniform::IGenerate(min, max);
    }
    float FGenerate(float min, float max) override {
        std::lock_guard lock(mLock);
        return RandomUniform::FGenerate(min, max);
    }
    // A draw whose value nobody reads: the state moves exactly as IGenerate or FGenerate moves
    // it, without the scaling.
    void Skip() {
        std::lock_guard lock(mLock);
        mState = NextState(mState);
    }
    // Count such draws in a row, under one lock.
    void Skip(std::size_t count) {
        std::lock_guard lock(mLock);
        std::uint32_t state = mState;
        for (std::size_t i = 0; i < count; ++i)
            state = NextState(state);
        mState = state;
    }

private:
    SpinLock mLock;
};

}  // namespace GAME
