// A sweep reads its kept ranks back from a byte per rank, 64 to a word: each marked rank must
// come back once, in rising rank, its mark cleared, and nothing past the words asked (or noted)
// for read.
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

// Read through the notes of the words marked: ranks in the first and the last word of marks, in
// a word noted by the first and by the second word of notes, and a word marked but not noted
// (never read, its mark left).
TEST(SweepMarks, ReadsBackOnlyTheNotedWords) {
    constexpr std::size_t kWord = WorldCells::kMarksPerWord;
    constexpr std::size_t kWords = kWord + 2, kNoteWords = 2;
    std::vector<EntityGrid::Entry> entries(kWords * kWord);
    std::vector<const EntityGrid::Entry*> at(entries.size());
    for (std::size_t rank = 0; rank < entries.size(); ++rank) {
        entries[rank].rank = static_cast<std::uint32_t>(rank);
        at[rank] = &entries[rank];
    }
    const std::vector<std::uint32_t> noted = {0, 5, 63 * kWord + 63, kWord * kWord + 1,
                                              (kWords - 1) * kWord + 63};
    const std::uint32_t unnoted = 7 * kWord + 3;
    for (const bool eight : {false, WorldCells::HasEightLanes()}) {
        SCOPED_TRACE(eight ? "eight lanes" : "four lanes");
        std::vector<unsigned char> marks(entries.size() + kNoteWords * kWord, 0);
        unsigned char* const notes = marks.data() + entries.size();
        for (const std::uint32_t rank : noted) {
            marks[rank] = WorldCells::kMarked;
            notes[rank / kWord] = WorldCells::kMarked;
        }
        marks[unnoted] = WorldCells::kMarked;
        std::vector<const EntityGrid::Entry*> out(entries.size());
        const EntityGrid::Entry** end = WorldCells::ReadNotedMarksWidest(
            marks.data(), notes, at.data(), kNoteWords, out.data(), eight);
        std::vector<std::uint32_t> got;
        for (const EntityGrid::Entry* const* e = out.data(); e != end; ++e)
            got.push_back((*e)->rank);
        EXPECT_EQ(got, noted);
        for (std::size_t i = 0; i < marks.size(); ++i)
            EXPECT_EQ(marks[i], i == unnoted ? WorldCells::kMarked : 0) << "byte " << i;
    }
}

}  // namespace
}  // namespace GAME::test
