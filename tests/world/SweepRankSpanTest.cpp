// The span of a sweep's kept ranks bounds the words its bit set is read back over: a rank left
// out of it would drop a kept entity, eight lanes or one at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Engine/world/WorldSweep.h"

namespace GAME::test {
namespace {

struct SpanCase {
    const char* name;
    std::vector<std::uint32_t> ranks;
};

TEST(SweepRankSpan, FoldsEveryRankAtEveryWidth) {
    std::vector<std::uint32_t> rising(37), falling(37);
    for (std::uint32_t i = 0; i < rising.size(); ++i) {
        rising[i] = 5 * i + 3;
        falling[i] = 900 - 7 * i;
    }
    // The extremes sit in the last lanes, in the tail past whole eights and in the first lane.
    const SpanCase cases[] = {
        {"one", {42}},
        {"seven, no whole eight", {9, 4, 17, 4, 30, 2, 11}},
        {"eight", {8, 7, 6, 5, 4, 3, 2, 1}},
        {"lowest in the tail", {50, 60, 70, 80, 90, 100, 110, 120, 1}},
        {"highest in the tail", {50, 60, 70, 80, 90, 100, 110, 120, 130, 999}},
        {"rising", rising},
        {"falling", falling},
        {"unsigned top bit",
         {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFF0u, 3, 0x80000001u, 9, 10, 11, 12}},
    };
    const bool widths[] = {false, WorldCells::HasEightLanes()};
    for (const SpanCase& c : cases)
        for (const bool eight : widths) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(eight ? "eight lanes" : "one by one");
            std::uint32_t lo = ~std::uint32_t{0}, hi = 0;
            WorldCells::RankSpanWidest(c.ranks.data(), c.ranks.size(), lo, hi, eight);
            const auto [low, high] = std::minmax_element(c.ranks.begin(), c.ranks.end());
            EXPECT_EQ(lo, *low);
            EXPECT_EQ(hi, *high);
        }
}

TEST(SweepRankSpan, KeepsWhatItWasGivenWhenNothingIsWider) {
    const std::uint32_t ranks[9] = {20, 21, 22, 23, 24, 25, 26, 27, 28};
    const bool widths[] = {false, WorldCells::HasEightLanes()};
    for (const bool eight : widths) {
        std::uint32_t lo = 10, hi = 40;
        WorldCells::RankSpanWidest(ranks, 9, lo, hi, eight);
        EXPECT_EQ(lo, 10u);
        EXPECT_EQ(hi, 40u);
        // Nothing to fold: the span stays empty.
        lo = ~std::uint32_t{0};
        hi = 0;
        WorldCells::RankSpanWidest(nullptr, 0, lo, hi, eight);
        EXPECT_EQ(lo, ~std::uint32_t{0});
        EXPECT_EQ(hi, 0u);
    }
}

}  // namespace
}  // namespace GAME::test
