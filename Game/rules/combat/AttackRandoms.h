#pragma once
// The random numbers of one attack, drawn once from the attacker's seeded generator so that
// every machine replaying the attack resolves it alike.
#include <array>
#include <cstdint>
#include <typeinfo>

#include "Engine/sys/RandomUniform.h"

namespace GAME {

class AttackRandoms {
public:
    static constexpr std::size_t kCount = 7;
    static constexpr std::uint32_t kDefaultMaximum = 32765;

    AttackRandoms() : AttackRandoms(0, kDefaultMaximum) {}
    AttackRandoms(std::uint32_t minimum, std::uint32_t maximum)
        : mMinimum(minimum), mMaximum(maximum) {}
    virtual ~AttackRandoms() = default;
    AttackRandoms(const AttackRandoms&) = default;
    AttackRandoms& operator=(const AttackRandoms&) = default;

    // Exactly seven integer draws, in index order. Inline: the attackers' plain generators draw
    // without a call, the default range with its bounds as constants; any other class draws
    // through its own calls.
    void Fill(RandomUniform& random) {
        if (typeid(random) != typeid(RandomUniform)) [[unlikely]] {
            FillThrough(random);
            return;
        }
        if (mMinimum == 0 && mMaximum == kDefaultMaximum)
            random.IGenerateEach<0, static_cast<int>(kDefaultMaximum)>(mValues);
        else
            random.IGenerateEach(static_cast<int>(mMinimum), static_cast<int>(mMaximum), mValues);
    }

    std::uint32_t GetMinimum() const { return mMinimum; }
    std::uint32_t GetMaximum() const { return mMaximum; }
    std::uint32_t GetValue(std::size_t index) const { return index < kCount ? mValues[index] : 0; }
    const std::array<std::uint32_t, kCount>& GetValues() const { return mValues; }

private:
    void FillThrough(RandomUniform& random);

    std::uint32_t mMinimum;
    std::uint32_t mMaximum;
    std::array<std::uint32_t, kCount> mValues{};
};

}  // namespace GAME
