#pragma once
// The random numbers of one attack, drawn once from the attacker's seeded generator so that
// every machine replaying the attack resolves it alike.
#include <array>
#include <cstdint>

namespace GAME {

class RandomUniform;

class AttackRandoms {
public:
    static constexpr std::size_t kCount = 7;

    AttackRandoms() : AttackRandoms(0, 32765) {}
    AttackRandoms(std::uint32_t minimum, std::uint32_t maximum)
        : mMinimum(minimum), mMaximum(maximum) {}
    virtual ~AttackRandoms() = default;
    AttackRandoms(const AttackRandoms&) = default;
    AttackRandoms& operator=(const AttackRandoms&) = default;

    // Exactly seven integer draws, in index order.
    void Fill(RandomUniform& random);

    std::uint32_t GetMinimum() const { return mMinimum; }
    std::uint32_t GetMaximum() const { return mMaximum; }
    std::uint32_t GetValue(std::size_t index) const { return index < kCount ? mValues[index] : 0; }
    const std::array<std::uint32_t, kCount>& GetValues() const { return mValues; }

private:
    std::uint32_t mMinimum;
    std::uint32_t mMaximum;
    std::array<std::uint32_t, kCount> mValues{};
};

}  // namespace GAME
