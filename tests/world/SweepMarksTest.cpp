// A sweep reads its kept ranks back from a byte per rank, 64 to a word: each marked rank must
// come back once, in rising rank, its mark cleared, and nothing past the words asked for read
// (or the ranks listed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Engine/world/WorldSweep.h"

namespace GAME::test {
namespace {

TEST(SweepMarks, ReadsBackEachMarkedRankAtEitherWidth) {
    constexpr std::size_t kWord = WorldCells::kMarksPerWord;
    struct Case {
        const char* name;
        std::vector<std::uint32_t> marked;  // in rising rank
        std::size_t first, last;            // the words read
    };
    std::vector<std::uint32_t> wholeSecond(kWord);
    for (std::size_t i = 0; i < kWord; ++i)
        wholeSecond[i] = static_cast<std::uint32_t>(kWord + i);
    // Marks at both ends of a word and of each sixteen and thirty-two, words left empty between,
    // words ending on each of four ranks taken at a step, and marks past the words read (which
    // must stay).
    const Case cases[] = {
        {"none", {}, 0, 0},
        {"first and last of a word", {0, 63}, 0, 0},
        {"each quarter's edges", {15, 16, 31, 32, 47, 48}, 0, 0},
        {"four and one more", {1, 2, 3, 4, 9}, 0, 0},
        {"second word alone", {64, 100, 127}, 1, 1},
        {"a full word", wholeSecond, 1, 1},
        {"an empty word between", {3, 130, 191}, 0, 2},
        {"one beyond the last word", {5, 64}, 0, 0},
        {"one before the first word", {10, 70, 71}, 1, 1},
    };
    constexpr std::size_t kWords = 4;
    std::vector<EntityGrid::Entry> entries(kWords * kWord);
    std::vector<const EntityGrid::Entry*> at(entries.size());
    for (std::size_t rank = 0; rank < entries.size(); ++rank) {
        entries[rank].rank = static_cast<std::uint32_t>(rank);
        at[rank] = &entries[rank];
    }
    const bool widths[] = {false, WorldCells::HasEightLanes()};
    for (const Case& c : cases)
        for (const bool eight : widths) {
            SCOPED_TRACE(testing::Message() << c.name << (eight ? ", eight lanes" : ""));
            std::vector<unsigned char> marks(entries.size(), 0);
            std::vector<std::uint32_t> want;
            for (const std::uint32_t rank : c.marked) {
                marks[rank] = WorldCells::kMarked;
                if (rank / kWord >= c.first && rank / kWord <= c.last)
                    want.push_back(rank);
            }
            std::vector<const EntityGrid::Entry*> out(entries.size());
            const EntityGrid::Entry** end = WorldCells::ReadMarksWidest(
                marks.data(), at.data(), c.first, c.last, out.data(), eight);
            std::vector<std::uint32_t> got;
            for (const EntityGrid::Entry* const* e = out.data(); e != end; ++e)
                got.push_back((*e)->rank);
            EXPECT_EQ(got, want);
            for (std::size_t rank = 0; rank < marks.size(); ++rank) {
                const bool read = rank / kWord >= c.first && rank / kWord <= c.last;
                const bool left =
                    !read && std::find(c.marked.begin(), c.marked.end(), rank) != c.marked.end();
                EXPECT_EQ(marks[rank], left ? WorldCells::kMarked : 0) << "rank " << rank;
            }
        }
}

// Read from a list in no order: ranks at both ends of a word, two in one word, ranks under the
// first and the second word of words, and a rank marked but not listed (its mark left).
TEST(SweepMarks, ReadsBackListedRanksInRisingRank) {
    constexpr std::size_t kWord = WorldCells::kMarksPerWord;
    constexpr std::size_t kWords = kWord + 2, kWordWords = 2;
    std::vector<EntityGrid::Entry> entries(kWords * kWord);
    std::vector<const EntityGrid::Entry*> at(entries.size());
    for (std::size_t rank = 0; rank < entries.size(); ++rank) {
        entries[rank].rank = static_cast<std::uint32_t>(rank);
        at[rank] = &entries[rank];
    }
    const std::vector<std::uint32_t> listed = {
        kWord * kWord + 1, 5, (kWords - 1) * kWord + 63, 0, 63 * kWord + 63, 63 * kWord};
    std::vector<std::uint32_t> want = listed;
    std::sort(want.begin(), want.end());
    const std::uint32_t unlisted = 7 * kWord + 3;
    for (const bool eight : {false, WorldCells::HasEightLanes()}) {
        SCOPED_TRACE(eight ? "bit scans" : "plain");
        std::vector<unsigned char> marks(entries.size(), 0);
        std::vector<std::uint64_t> bits(kWords + kWordWords, 0);
        for (const std::uint32_t rank : listed)
            marks[rank] = WorldCells::kMarked;
        marks[unlisted] = WorldCells::kMarked;
        std::vector<const EntityGrid::Entry*> out(entries.size());
        const EntityGrid::Entry** end = WorldCells::ReadListedRanksWidest(
            marks.data(), bits.data(), bits.data() + kWords, kWordWords, listed.data(),
            listed.size(), at.data(), out.data(), eight);
        std::vector<std::uint32_t> got;
        for (const EntityGrid::Entry* const* e = out.data(); e != end; ++e)
            got.push_back((*e)->rank);
        EXPECT_EQ(got, want);
        for (std::size_t i = 0; i < marks.size(); ++i)
            EXPECT_EQ(marks[i], i == unlisted ? WorldCells::kMarked : 0) << "rank " << i;
        EXPECT_TRUE(std::all_of(bits.begin(), bits.end(), [](std::uint64_t b) { return b == 0; }));
    }
}

}  // namespace
}  // namespace GAME::test
