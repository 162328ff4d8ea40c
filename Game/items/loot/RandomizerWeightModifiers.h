#pragma once
// Whole percentages added to the five outcome weights of a randomizer, per monster or chest
// classification, and the draws every loot table takes from its caller's generator.
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "Engine/sys/RandomUniform.h"

namespace GAME {

// In this order: noPrefixNoSuffix, bothPrefixSuffix, prefixOnly, suffixOnly, brokenOnly.
using RandomizerWeightModifiers = std::array<int, 5>;

enum RandomizerOutcome : std::size_t {
    kNoPrefixNoSuffix = 0,
    kBothPrefixSuffix = 1,
    kPrefixOnly = 2,
    kSuffixOnly = 3,
    kBrokenOnly = 4,
};

// weight + weight x modifier / 100. Worked in signed 64 bits: a negative modifier lowers the
// weight (never below 0) instead of wrapping it to a huge one.
inline std::uint32_t ModifyWeight(std::uint32_t weight, int modifier) {
    const std::int64_t product = static_cast<std::int64_t>(weight) * modifier;
    const std::int64_t result = static_cast<std::int64_t>(weight) + product / 100;
    if (result < 0)
        return 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(result > kMax ? kMax : result);
}

// The generator's bounds are ints: a larger total draws up to the largest int.
inline int DrawBound(std::uint32_t value) {
    constexpr auto kMax = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
    return static_cast<int>(value > kMax ? kMax : value);
}

// Cumulative draw: r = IGenerate(0, T - 1), T the last cumulative weight (IGenerate(0, 0) when
// T is 0); the first entry whose cumulative weight exceeds r. Null when none does.
template <class Entry>
const Entry* CumulativeDraw(const std::vector<Entry>& entries, RandomUniform& random) {
    const std::uint32_t total = entries.empty() ? 0 : entries.back().cumulativeWeight;
    const auto roll =
        static_cast<std::uint32_t>(random.IGenerate(0, total == 0 ? 0 : DrawBound(total - 1)));
    for (const Entry& entry : entries)
        if (entry.cumulativeWeight > roll)
            return &entry;
    return nullptr;
}

// Plain draw: r = IGenerate(0, T) with T itself; the first entry after whose weight the running
// sum reaches r. Null when none does.
template <class Entry>
const Entry* PlainDraw(const std::vector<Entry>& entries, std::uint32_t total,
                       RandomUniform& random) {
    const auto roll = static_cast<std::uint32_t>(random.IGenerate(0, DrawBound(total)));
    std::uint32_t sum = 0;
    for (const Entry& entry : entries) {
        sum += entry.weight;
        if (roll <= sum)
            return &entry;
    }
    return nullptr;
}

}  // namespace GAME
