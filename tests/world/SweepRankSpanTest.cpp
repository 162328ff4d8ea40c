// The span of a sweep's kept ranks bounds the words its marks are read back over: a rank left
// out of it would drop a kept entity, eight lanes or one at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Engine/world/WorldSweep.h"

namespace GAME::test {
namespace {

TEST(SweepRankSpan, FoldsEveryRankAtEitherWidth) {
    constexpr std::uint32_t kEmpty = ~std::uint32_t{0};
    struct Case {
        const char* name;
        std::vector<std::uint32_t> ranks;
        std::uint32_t lo, hi;  // given
        std::uint32_t wantLo, wantHi;
    };
    // The extremes sit in the first lane, the last lanes and the tail past whole eights.
    const Case cases[] = {
        {"none", {}, kEmpty, 0, kEmpty, 0},
        {"one", {42}, kEmpty, 0, 42, 42},
        {"seven", {9, 4, 17, 4, 30, 2, 11}, kEmpty, 0, 2, 30},
        {"eight falling", {8, 7, 6, 5, 4, 3, 2, 1}, kEmpty, 0, 1, 8},
        {"lowest in the tail", {50, 60, 70, 80, 90, 100, 110, 120, 1}, kEmpty, 0, 1, 120},
        {"highest in the tail", {5, 6, 7, 8, 9, 10, 11, 12, 13, 999}, kEmpty, 0, 5, 999},
        {"top bit",
         {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFF0u, 3, 7, 9, 10, 11, 12},
         kEmpty,
         0,
         3,
         0xFFFFFFF0u},
        {"both in the second eight",
         {50, 50, 50, 50, 50, 50, 50, 50, 50, 2, 50, 50, 50, 77, 50, 50, 50},
         kEmpty,
         0,
         2,
         77},
        {"given span wider", {20, 21, 22, 23, 24, 25, 26, 27, 28}, 10, 40, 10, 40},
    };
    const bool widths[] = {false, WorldCells::HasEightLanes()};
    for (const Case& c : cases)
        for (const bool eight : widths) {
            SCOPED_TRACE(testing::Message() << c.name << (eight ? ", eight lanes" : ""));
            std::uint32_t lo = c.lo, hi = c.hi;
            WorldCells::RankSpanWidest(c.ranks.data(), c.ranks.size(), lo, hi, eight);
            EXPECT_EQ(lo, c.wantLo);
            EXPECT_EQ(hi, c.wantHi);
        }
}

}  // namespace
}  // namespace GAME::test
