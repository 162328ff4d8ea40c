// Storage carved from huge-page spans: every carve is aligned and whole, carves follow one
// another in a span, one larger than a span gets a span of its own, and the count of carved
// bytes is what was handed out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "Engine/sys/HugePageSpans.h"

namespace GAME {
namespace {

using HugePageSpans::kAlignment;
using HugePageSpans::kSpanBytes;

std::size_t Rounded(std::size_t bytes) {
    return (bytes + kAlignment - 1) / kAlignment * kAlignment;
}

TEST(HugePageSpans, CarvesAreAlignedWholeAndCounted) {
    const struct {
        const char* label;
        std::size_t bytes;
        std::size_t counted;
    } cases[] = {
        {"nothing", 0, kAlignment},
        {"one byte", 1, kAlignment},
        {"one line", kAlignment, kAlignment},
        {"a line and a byte", kAlignment + 1, 2 * kAlignment},
        {"a chunk", 16 * 1024, 16 * 1024},
        {"larger than a span", kSpanBytes + 100, Rounded(kSpanBytes + 100)},
    };
    for (const auto& c : cases) {
        const std::size_t before = HugePageSpans::CarvedBytes();
        auto* carved = static_cast<unsigned char*>(HugePageSpans::Carve(c.bytes));
        ASSERT_NE(carved, nullptr) << c.label;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(carved) % kAlignment, 0u) << c.label;
        EXPECT_EQ(HugePageSpans::CarvedBytes() - before, c.counted) << c.label;
        std::memset(carved, 0xA5, c.counted);  // all of it is the caller's
        EXPECT_EQ(carved[c.counted - 1], 0xA5) << c.label;
    }
}

// Objects made one after another lie side by side; a carve that does not fit what is left of a
// span starts a new one and never overlaps the old.
TEST(HugePageSpans, CarvesFollowOneAnotherAndNeverOverlap) {
    const std::size_t size = 3 * 1024 + 100;
    auto* previous = static_cast<char*>(HugePageSpans::Carve(size));
    int adjacent = 0;
    const int carves = static_cast<int>(2 * kSpanBytes / Rounded(size));  // crosses a span
    for (int i = 0; i < carves; ++i) {
        auto* next = static_cast<char*>(HugePageSpans::Carve(size));
        if (next == previous + Rounded(size))
            ++adjacent;
        else
            EXPECT_TRUE(next >= previous + Rounded(size) || next + Rounded(size) <= previous);
        previous = next;
    }
    // Only a new span breaks the run (other tests' threads carve nothing here).
    EXPECT_GE(adjacent, carves - 3);
}

// Warming writes only pages nothing was carved from: what a carve holds stays as its owner left
// it, whether the carving stopped inside a page or on its edge, and what is carved after reads
// as fresh memory, also when the warming went on past the span.
TEST(HugePageSpans, WarmingLeavesCarvedBytesAloneAndLaterCarvesFresh) {
    constexpr std::size_t kPage = 4096;
    const struct {
        const char* label;
        std::size_t carve;
        std::size_t warm;
    } cases[] = {
        {"inside a page", kPage + 3 * kAlignment, 4 * kPage},
        {"a line short of a page's edge", 2 * kPage - kAlignment, 2 * kPage},
        {"to a page's edge", 2 * kPage, 3 * kPage},
        {"past the span", kAlignment, 2 * kSpanBytes},
    };
    for (const auto& c : cases) {
        // The next carve starts on a page edge, whatever the cases before left.
        auto* at = static_cast<unsigned char*>(HugePageSpans::Carve(kAlignment));
        const std::size_t toEdge =
            (kPage - reinterpret_cast<std::uintptr_t>(at + kAlignment) % kPage) % kPage;
        if (toEdge > 0)
            HugePageSpans::Carve(toEdge);
        auto* carved = static_cast<unsigned char*>(HugePageSpans::Carve(c.carve));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(carved) % kPage, 0u) << c.label;
        std::memset(carved, 0xA5, c.carve);
        HugePageSpans::Warm(c.warm);
        for (std::size_t i = 0; i < c.carve; ++i)
            ASSERT_EQ(carved[i], 0xA5) << c.label << " byte " << i;
        auto* later = static_cast<unsigned char*>(HugePageSpans::Carve(2 * kPage));
        for (std::size_t i = 0; i < 2 * kPage; ++i)
            ASSERT_EQ(later[i], 0) << c.label << " byte " << i;
    }
}

// A warming past the span in use maps the next one ahead: the carving goes on into it once,
// fresh, and a second warming past that maps yet another, never the same again.
TEST(HugePageSpans, SpansWarmedAheadAreHandedOutOnceAndFresh) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::vector<std::pair<unsigned char*, unsigned char*>> carved;
    for (int round = 0; round < 2; ++round) {
        HugePageSpans::Warm(kSpanBytes + kPiece);
        for (std::size_t i = 0; i <= kSpanBytes / kPiece; ++i) {
            auto* at = static_cast<unsigned char*>(HugePageSpans::Carve(kPiece));
            ASSERT_EQ(at[0], 0) << "round " << round << " piece " << i;
            ASSERT_EQ(at[kPiece - 1], 0) << "round " << round << " piece " << i;
            at[0] = at[kPiece - 1] = 0xA5;
            carved.emplace_back(at, at + kPiece);
        }
    }
    std::sort(carved.begin(), carved.end());
    for (std::size_t i = 1; i < carved.size(); ++i)
        EXPECT_LE(carved[i - 1].second, carved[i].first) << "piece " << i;
}

}  // namespace
}  // namespace GAME
