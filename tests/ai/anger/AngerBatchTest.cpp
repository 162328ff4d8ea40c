// A batch of provocations against the same provocations walked one value at a time, over tables
// whose lane groups fill whole blocks, part of one, or one group alone; with the provoked
// entries at the table's first and last slots, listed rising, falling or shuffled (so the
// groups' windows of own steps follow one another or overlap), new ids among them, one id listed
// twice, values pushed to the cap and calms of -0; and tables the batch fills from empty (in
// whole blocks or not, listed in order or with neighbours swapped) or with runs of new ids long
// enough to make whole groups of entries it creates (those skip the calms before their own
// steps). Every value must match bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "Game/ai/anger/AngerLanes.h"
#include "Game/ai/anger/AngerTable.h"
#include "ai/anger/ProvokedColumnsOf.h"

namespace GAME::test {
namespace {

constexpr float kBatchCap = 100.0f;
constexpr float kBatchShare = 0.7f;

// The table as plain vectors, each provocation walked over every value at once.
struct WalkedAnger {
    std::vector<std::uint32_t> ids;
    std::vector<float> values;

    void Provoke(std::uint32_t id, float amount) {
        const auto at = std::lower_bound(ids.begin(), ids.end(), id);
        const auto slot = static_cast<std::size_t>(at - ids.begin());
        if (at == ids.end() || *at != id) {
            ids.insert(at, id);
            values.insert(values.begin() + static_cast<std::ptrdiff_t>(slot), 0.0f);
        }
        float calm = 0.0f;
        const bool calms = AngerTable::CalmOf(amount, ids.size(), kBatchShare, calm);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i == slot) {
                values[i] += amount;
                if (values[i] > kBatchCap)
                    values[i] = kBatchCap;
            } else if (calms) {
                values[i] -= calm;
            }
        }
    }
};

struct BatchRng {
    std::uint32_t state;
    std::uint32_t Next(std::uint32_t bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 9) % bound;
    }
};

// Traded: every eleventh listed id from the fourth is a new one just below it, the old entry
// left out (runs whose eighth ids agree though a middle one differs).
enum class Listed { Rising, Falling, Shuffled, Edges, MiddleTwoSwapped, PairsSwapped, Traded };

struct BatchCase {
    const char* name;
    std::uint32_t entries;  // ids 10, 20, ... before the batch
    std::uint32_t every;    // every n-th entry listed
    Listed order;
    std::uint32_t newEvery;    // a new id beside every n-th listed one (0: none)
    bool twice = false;        // the first listed id once more at the end
    bool minusZero = false;    // every value and amount -0
    float amount = 3.0f;       // the largest amount
    std::uint32_t newRun = 1;  // new ids side by side at each place one goes (at most 9)
    bool fromEmpty = false;    // the entries' ids are listed but the table starts empty
};

TEST(AngerBatch, GivesTheValuesOfOneProvocationAtATime) {
    const BatchCase cases[] = {
        {"one entry", 1, 1, Listed::Rising, 0},
        {"less than a group", 5, 1, Listed::Rising, 0},
        {"one wide group", 16, 1, Listed::Rising, 0},
        {"a group and some", 21, 2, Listed::Rising, 3},
        {"three groups", 47, 1, Listed::Rising, 0},
        {"a block less one lane", 127, 1, Listed::Rising, 0},
        {"a whole block", 128, 1, Listed::Rising, 0},
        {"a block and one lane", 129, 1, Listed::Rising, 0},
        {"blocks of every size", 16 * 23 + 9, 1, Listed::Rising, 0},
        {"every third", 300, 3, Listed::Rising, 0},
        {"sparse", 400, 37, Listed::Rising, 0},
        {"new ids among old", 250, 1, Listed::Rising, 5},
        {"falling", 200, 1, Listed::Falling, 0},
        {"falling with new ids", 131, 2, Listed::Falling, 4},
        {"shuffled", 333, 1, Listed::Shuffled, 0},
        {"shuffled sparse", 180, 7, Listed::Shuffled, 3},
        {"first and last slots", 145, 1, Listed::Edges, 0},
        {"first and last of one group", 16, 1, Listed::Edges, 0},
        {"listed twice", 150, 2, Listed::Rising, 6, true},
        {"listed twice, shuffled", 90, 1, Listed::Shuffled, 0, true},
        {"up to the cap", 140, 1, Listed::Rising, 9, false, false, 400.0f},
        {"minus zero", 77, 1, Listed::Rising, 0, false, true},
        {"minus zero with new ids", 40, 2, Listed::Shuffled, 3, false, true},
        {"one entry from empty", 1, 1, Listed::Rising, 0, false, false, 3.0f, 1, true},
        {"a group less one lane from empty", 7, 1, Listed::Rising, 0, false, false, 3.0f, 1, true},
        {"a group from empty", 8, 1, Listed::Rising, 0, false, false, 3.0f, 1, true},
        {"a block and one lane from empty", 65, 1, Listed::Rising, 0, false, false, 3.0f, 1, true},
        {"blocks of every size from empty", 8 * 23 + 5, 1, Listed::Rising, 0, false, false, 3.0f, 1,
         true},
        {"from empty to the cap", 150, 1, Listed::Rising, 0, false, false, 400.0f, 1, true},
        {"falling from empty", 90, 1, Listed::Falling, 0, false, false, 3.0f, 1, true},
        {"shuffled from empty", 70, 1, Listed::Shuffled, 0, false, false, 3.0f, 1, true},
        {"two swapped within eight from empty", 100, 1, Listed::MiddleTwoSwapped, 0, false, false,
         3.0f, 1, true},
        {"two swapped across eights from empty", 99, 1, Listed::MiddleTwoSwapped, 0, false, false,
         3.0f, 1, true},
        {"listed twice from empty", 60, 1, Listed::Rising, 0, true, false, 3.0f, 1, true},
        {"from empty with runs", 30, 1, Listed::Rising, 2, false, false, 3.0f, 9, true},
        {"runs of new ids among old", 60, 1, Listed::Rising, 1, false, false, 3.0f, 9, false},
        {"runs of new ids, old ones unlisted", 90, 3, Listed::Rising, 1, false, false, 3.0f, 8,
         false},
        {"runs of new ids, one old between", 40, 1, Listed::Rising, 2, false, false, 3.0f, 7,
         false},
        {"runs of new ids to the cap", 50, 1, Listed::Rising, 1, false, false, 400.0f, 9, false},
        {"runs of new ids, shuffled", 45, 1, Listed::Shuffled, 1, false, false, 3.0f, 9, false},
        {"a whole block from empty", 64, 1, Listed::Rising, 0, false, false, 3.0f, 1, true},
        {"two whole blocks from empty", 128, 1, Listed::Rising, 0, false, false, 3.0f, 1, true},
        {"whole blocks and a lane from empty", 193, 1, Listed::Rising, 0, false, false, 3.0f, 1,
         true},
        {"pairs swapped from empty", 150, 1, Listed::PairsSwapped, 0, false, false, 3.0f, 1, true},
        {"pairs swapped from empty to the cap", 77, 1, Listed::PairsSwapped, 0, false, false,
         400.0f, 1, true},
        {"minus zero from empty", 100, 1, Listed::Rising, 0, false, true, 3.0f, 1, true},
        {"minus zero, pairs swapped from empty", 70, 1, Listed::PairsSwapped, 0, false, true, 3.0f,
         1, true},
        {"runs of eight old ids", 100, 1, Listed::Rising, 8},
        {"runs of nine old ids", 150, 1, Listed::Rising, 9},
        {"runs of seventeen old ids", 200, 1, Listed::Rising, 17},
        {"an old id traded for a new one", 120, 1, Listed::Traded, 0},
        {"traded among new ids", 90, 1, Listed::Traded, 12},
        // Tables large enough for sixteen-lane groups where the processor has them.
        {"wide blocks and a part from empty", 16 * 8 * 3 + 21, 1, Listed::Rising, 0, false, false,
         3.0f, 1, true},
        {"wide blocks from empty to the cap", 512, 1, Listed::Rising, 0, false, false, 400.0f, 1,
         true},
        {"wide, pairs swapped from empty", 300, 1, Listed::PairsSwapped, 0, false, false, 3.0f, 1,
         true},
        {"wide, two swapped across eights from empty", 385, 1, Listed::MiddleTwoSwapped, 0, false,
         false, 3.0f, 1, true},
        {"wide, minus zero from empty", 260, 1, Listed::Rising, 0, false, true, 3.0f, 1, true},
        {"wide, runs of new ids among old", 600, 1, Listed::Rising, 3, false, false, 3.0f, 9},
        {"wide, shuffled", 400, 1, Listed::Shuffled, 0},
    };
    for (const BatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        BatchRng rng{c.entries * 7 + c.every};
        AngerTable table;
        WalkedAnger walked;
        for (std::uint32_t i = 0; i < (c.fromEmpty ? 0 : c.entries); ++i) {
            const std::uint32_t id = 10 * (i + 1);
            const float value =
                c.minusZero ? -0.0f : static_cast<float>(rng.Next(15000)) * 0.01f - 50.0f;
            table.ValueAt(table.FindOrInsert(id, i)) = value;
            walked.ids.push_back(id);
            walked.values.push_back(value);
        }
        std::vector<AngerTable::Provoked> list;
        const auto amount = [&] {
            return c.minusZero ? -0.0f : static_cast<float>(1 + rng.Next(1000)) * c.amount / 1000;
        };
        for (std::uint32_t i = 0; i < c.entries; i += c.every) {
            if (c.newEvery != 0 && (i / c.every) % c.newEvery == 0)
                for (std::uint32_t j = 0; j < c.newRun; ++j)
                    list.push_back({10 * i + 5 - c.newRun / 2 + j, 1000 + i, amount()});
            list.push_back({10 * (i + 1), i, amount()});
        }
        if (c.order == Listed::Falling)
            std::reverse(list.begin(), list.end());
        if (c.order == Listed::Shuffled)
            for (std::size_t i = list.size(); i > 1; --i)
                std::swap(list[i - 1], list[rng.Next(static_cast<std::uint32_t>(i))]);
        if (c.order == Listed::PairsSwapped)
            for (std::size_t i = 1; i < list.size(); i += 2)
                std::swap(list[i - 1], list[i]);
        if (c.order == Listed::Edges)
            list = {list.front(), list.back()};
        if (c.order == Listed::MiddleTwoSwapped)
            std::swap(list[list.size() / 2 - 1], list[list.size() / 2]);
        if (c.order == Listed::Traded)
            for (std::size_t i = 3; i < list.size(); i += 11)
                list[i].id -= 3;
        if (c.twice)
            list.push_back({list.front().id, 7, amount()});
        for (const AngerTable::Provoked& p : list)
            walked.Provoke(p.id, p.amount);
        std::vector<std::int32_t> steps;
        const bool inOrder =
            table.ProvokeEach(ProvokedColumnsOf(list), list.size(), kBatchCap, kBatchShare, &steps);
        ASSERT_EQ(table.size(), walked.ids.size());
        for (std::size_t slot = 0; slot < table.size(); ++slot) {
            ASSERT_EQ(table.IdAt(slot), walked.ids[slot]) << slot;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(table.ValueAt(slot)),
                      std::bit_cast<std::uint32_t>(walked.values[slot]))
                << "slot " << slot << ": " << table.ValueAt(slot) << " against "
                << walked.values[slot];
        }
        // Each entry keeps the world slot it was last listed with, else the one it had (its
        // index among the entries before, which the new ones must not shift).
        for (std::size_t slot = 0; slot < table.size(); ++slot) {
            const std::uint32_t id = table.IdAt(slot);
            std::uint32_t hint = id % 10 == 0 && !c.fromEmpty ? id / 10 - 1 : AngerTable::kNoHint;
            for (const AngerTable::Provoked& p : list)
                if (p.id == id)
                    hint = p.worldSlot;
            EXPECT_EQ(table.HintAt(slot), hint) << "slot " << slot;
        }
        // In list order (a sight tick then reads each slot's reach at the slot itself, and no
        // steps are written) only when the table was empty and the ids rise.
        const bool rises =
            std::adjacent_find(list.begin(), list.end(), [](const auto& a, const auto& b) {
                return a.id >= b.id;
            }) == list.end();
        EXPECT_EQ(inOrder, c.fromEmpty && rises);
        if (inOrder) {
            ASSERT_EQ(table.size(), list.size());
            for (std::size_t slot = 0; slot < table.size(); ++slot)
                EXPECT_EQ(table.IdAt(slot), list[slot].id) << slot;
            continue;
        }
        // The step of each slot names a provocation of that slot's own entry.
        ASSERT_EQ(steps.size(), table.size());
        for (std::size_t slot = 0; slot < table.size(); ++slot) {
            if (steps[slot] >= 0) {
                EXPECT_EQ(list[static_cast<std::size_t>(steps[slot])].id, table.IdAt(slot)) << slot;
            }
        }
        const auto listedCount = static_cast<std::size_t>(
            std::count_if(steps.begin(), steps.end(), [](std::int32_t s) { return s >= 0; }));
        EXPECT_EQ(listedCount, list.size() - (c.twice ? 1 : 0));
    }
}

// Batches into a table emptied before each, its block and the scratch left from a larger batch
// or too small for this one: values and hints as one at a time, in list order, and the room
// taken at once, at most a quarter more than the entries.
TEST(AngerBatch, FillsAnEmptiedTableAsOneAtATime) {
    struct Round {
        std::uint32_t entries;
        bool byCompact;  // emptied by dropping every entry rather than by clear()
    };
    const Round rounds[] = {{300, false}, {20, false}, {9, true},    {150, true},
                            {7, false},   {1, true},   {600, false}, {64, true}};
    AngerTable table;
    BatchRng rng{7};
    std::vector<std::int32_t> steps;
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.entries);
        if (round.byCompact)
            table.Compact([](std::uint32_t, float&, std::uint32_t&) { return false; });
        else
            table.clear();
        const std::size_t roomBefore = table.capacity();
        std::vector<AngerTable::Provoked> list;
        WalkedAnger walked;
        for (std::uint32_t i = 0, id = 0; i < round.entries; ++i) {
            id += 1 + rng.Next(30);
            list.push_back({id, id / 3, static_cast<float>(1 + rng.Next(900)) * 0.01f});
            walked.Provoke(id, list.back().amount);
        }
        EXPECT_TRUE(table.ProvokeEach(ProvokedColumnsOf(list), list.size(), kBatchCap, kBatchShare,
                                      &steps));
        ASSERT_EQ(table.size(), list.size());
        for (std::size_t slot = 0; slot < table.size(); ++slot) {
            ASSERT_EQ(table.IdAt(slot), list[slot].id) << slot;
            EXPECT_EQ(table.HintAt(slot), list[slot].worldSlot) << slot;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(table.ValueAt(slot)),
                      std::bit_cast<std::uint32_t>(walked.values[slot]))
                << "slot " << slot;
        }
        if (roomBefore < list.size())
            EXPECT_LE(table.capacity(), AngerStorage::CapacityFor(list.size()));
        else
            EXPECT_EQ(table.capacity(), roomBefore);
    }
}

// Batch after batch on one table: the values carried from one batch to the next, entries
// created by the last, and an entry that stood at its own step in one batch and not the next.
TEST(AngerBatch, BatchesInARowKeepTheValuesOfOneAtATime) {
    AngerTable table;
    WalkedAnger walked;
    BatchRng rng{99};
    for (int round = 0; round < 40; ++round) {
        std::vector<AngerTable::Provoked> list;
        std::uint32_t id = 0;
        for (;;) {
            id += 1 + rng.Next(40);
            if (id > 3000)
                break;
            list.push_back({id, round == 0 ? 0u : id, static_cast<float>(rng.Next(900)) * 0.01f});
        }
        for (const AngerTable::Provoked& p : list)
            walked.Provoke(p.id, p.amount);
        table.ProvokeEach(ProvokedColumnsOf(list), list.size(), kBatchCap, kBatchShare);
        ASSERT_EQ(table.size(), walked.ids.size()) << "round " << round;
        for (std::size_t slot = 0; slot < table.size(); ++slot)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(table.ValueAt(slot)),
                      std::bit_cast<std::uint32_t>(walked.values[slot]))
                << "round " << round << ", slot " << slot;
    }
}

constexpr float kKernelCap = 40.0f;

enum class Own { InOrder, ReversedInGroups, EveryThird };

struct KernelCase {
    const char* name;
    std::size_t count;
    Own own;
    std::size_t oldLane = SIZE_MAX;   // this lane was there before its step
    std::size_t idleLane = SIZE_MAX;  // this lane has no step
    float scale = 1.0f;               // amounts (0: all -0)
    std::size_t swapLane = SIZE_MAX;  // this lane and the next trade steps
    bool filled = false;              // no steps passed: an empty table filled in list order
    float dropped = -std::numeric_limits<float>::infinity();  // the caller drops values below
    bool raisingCalm = false;  // one calm near the end is far below 0
    // Filled: the line is where the lane ends that its roundings lifted most above the exact
    // difference of its start and calms (it must stay), among the last lanes of groups of eight
    // (no later lane of its group takes fewer calms).
    bool lineOnLifted = false;
    bool endlessCalm = false;  // one calm midway is +inf
};

// The batch kernel alone, on steps laid out by hand: blocks whose lanes their steps all create,
// in order, reversed within a group, or with other steps between the groups' windows; a lane
// that was already there or has no step among them; blocks in order but for two lanes late in
// them; partial blocks, -0 and the cap; in tables
// small and large. Each value must match a plain walk of its own step's calms bit for bit.
// Filled in list order with no steps passed, no old value (NaN) may be read, no amount past the
// table taken and no lane past it written. A value the caller drops may end anywhere below the
// line, but only there, and not once a calm below 0 could raise it back; a lane that ends on the
// line, however many calms it took and whatever its roundings gained, must stay exact.
TEST(AngerBatchLanes, MatchesEachValueWalkedAlone) {
    const KernelCase cases[] = {
        {"one group", 8, Own::InOrder},
        {"a whole block", 64, Own::InOrder},
        {"two blocks and a part", 150, Own::InOrder},
        {"reversed in groups", 128, Own::ReversedInGroups},
        {"reversed, partial", 77, Own::ReversedInGroups},
        {"other steps between windows", 96, Own::EveryThird},
        {"one lane already there", 128, Own::InOrder, 70},
        {"one lane with no step", 128, Own::InOrder, SIZE_MAX, 9},
        {"to the cap", 100, Own::ReversedInGroups, SIZE_MAX, SIZE_MAX, 90.0f},
        {"minus zero", 72, Own::InOrder, SIZE_MAX, SIZE_MAX, 0.0f},
        {"minus zero, reversed", 64, Own::ReversedInGroups, 5, SIZE_MAX, 0.0f},
        {"in order but a pair late in a block", 128, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, 125},
        // Large enough for sixteen-lane groups, where the processor has them.
        {"wide blocks and a part", 300, Own::InOrder},
        {"wide, reversed in groups", 270, Own::ReversedInGroups},
        {"wide, other steps between windows", 260, Own::EveryThird},
        {"wide, one lane already there", 256, Own::InOrder, 200},
        {"wide, one lane with no step", 263, Own::InOrder, SIZE_MAX, 130},
        {"wide, to the cap", 290, Own::ReversedInGroups, SIZE_MAX, SIZE_MAX, 90.0f},
        {"wide, minus zero", 256, Own::InOrder, 17, SIZE_MAX, 0.0f},
        {"wide, in order but a pair late in a block", 384, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f,
         253},
        // A partial last block in order: its last group's lanes past the table must not count.
        {"a partial block, one lane already there", 150, Own::InOrder, 147},
        {"a partial block, one lane with no step", 150, Own::InOrder, SIZE_MAX, 141},
        {"a partial block, a pair late in its last group", 150, Own::InOrder, SIZE_MAX, SIZE_MAX,
         1.0f, 146},
        {"a partial block, a pair late in its first group", 150, Own::InOrder, SIZE_MAX, SIZE_MAX,
         1.0f, 134},
        {"a partial block of whole groups, one lane already there", 88, Own::InOrder, 80},
        {"wide, a partial block, one lane already there", 300, Own::InOrder, 299},
        {"wide, a partial block, a pair late in its last group", 300, Own::InOrder, SIZE_MAX,
         SIZE_MAX, 1.0f, 297},
        {"wide, a partial block, a pair late in its first group", 300, Own::InOrder, SIZE_MAX,
         SIZE_MAX, 1.0f, 270},
        {"filled: one entry", 1, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true},
        {"filled: one group", 8, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true},
        {"filled: a part group", 13, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true},
        {"filled: blocks and a part", 150, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true},
        {"filled: to the cap", 100, Own::InOrder, SIZE_MAX, SIZE_MAX, 90.0f, SIZE_MAX, true},
        {"filled: minus zero", 72, Own::InOrder, SIZE_MAX, SIZE_MAX, 0.0f, SIZE_MAX, true},
        {"filled wide: whole blocks", 256, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true},
        {"filled wide: a part group", 263, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true},
        {"filled wide: blocks and a part", 300, Own::InOrder, SIZE_MAX, SIZE_MAX, 90.0f, SIZE_MAX,
         true},
        {"filled wide: a block and most groups of one", 456, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, true},
        {"filled wide: blocks and all groups of one", 760, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, true},
        {"filled, the first groups dropped", 300, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX,
         true, 0.5f},
        {"filled, every lane dropped", 270, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true,
         1000.0f},
        {"filled, dropped but a calm below 0", 300, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, true, 0.5f, true},
        {"filled wide, the first groups dropped", 760, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, true, 2.0f},
        {"wide, reversed in groups, dropped", 270, Own::ReversedInGroups, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, false, 0.5f},
        {"other steps between windows, dropped", 96, Own::EveryThird, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, false, 0.5f},
        {"filled, the line on the most lifted lane", 300, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f,
         SIZE_MAX, true, 0.0f, false, true},
        {"filled wide, the line on the most lifted lane", 1000, Own::InOrder, SIZE_MAX, SIZE_MAX,
         1.0f, SIZE_MAX, true, 0.0f, false, true},
        {"filled wide, to the cap, the line on the most lifted lane", 777, Own::InOrder, SIZE_MAX,
         SIZE_MAX, 90.0f, SIZE_MAX, true, 0.0f, false, true},
        {"filled, minus zero, dropped", 300, Own::InOrder, SIZE_MAX, SIZE_MAX, 0.0f, SIZE_MAX, true,
         0.5f},
        {"filled, an endless calm", 300, Own::InOrder, SIZE_MAX, SIZE_MAX, 1.0f, SIZE_MAX, true,
         0.5f, false, false, true},
    };
    for (const KernelCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t lanes = (c.count + AngerLanes::kBatchLanes - 1) /
                                  AngerLanes::kBatchLanes * AngerLanes::kBatchLanes;
        std::vector<std::int32_t> step(lanes, -1), fresh(lanes, 0);
        for (std::size_t i = 0; i < c.count; ++i) {
            const std::size_t group = i / 8 * 8;
            const std::size_t at =
                c.own == Own::ReversedInGroups
                    ? group + std::min<std::size_t>(8, c.count - group) - 1 - (i - group)
                    : i;
            step[i] = static_cast<std::int32_t>(c.own == Own::EveryThird ? 3 * at : at);
            fresh[i] = -1;
        }
        if (c.swapLane < c.count && c.swapLane + 1 < c.count)
            std::swap(step[c.swapLane], step[c.swapLane + 1]);
        if (c.oldLane < c.count)
            fresh[c.oldLane] = 0;
        if (c.idleLane < c.count)
            step[c.idleLane] = -1, fresh[c.idleLane] = 0;
        const std::size_t steps = c.own == Own::EveryThird ? 3 * c.count : c.count;
        // Past the table, amounts run on to whole groups, and spare lanes must stay as they are.
        constexpr float kUnread = std::numeric_limits<float>::quiet_NaN();
        std::vector<float> amounts(std::max(steps, lanes), kUnread),
            calms(steps + AngerLanes::kBatchLanes);
        std::vector<float> values(c.count + AngerLanes::kBatchLanes, -7.5f);
        std::fill_n(values.begin(), c.count, kUnread);
        for (std::size_t k = 0; k < steps; ++k) {
            amounts[k] = c.scale == 0.0f ? -0.0f : c.scale * static_cast<float>(k % 13 + 1) / 7;
            calms[k] = c.scale == 0.0f ? -0.0f : static_cast<float>(k % 5 + 1) / 64;
        }
        // Late, so it lifts values that fell far below the line back above it.
        if (c.raisingCalm)
            calms[steps - 2] = -50.0f;
        if (c.endlessCalm)
            calms[steps / 2] = std::numeric_limits<float>::infinity();
        for (std::size_t i = 0; !c.filled && i < c.count; ++i)
            values[i] = c.scale == 0.0f ? -0.0f : static_cast<float>(i % 11) - 3.0f;
        std::vector<float> walked = values;
        for (std::size_t i = 0; i < c.count; ++i)
            for (std::size_t k = 0; k < steps; ++k) {
                if (step[i] != static_cast<std::int32_t>(k)) {
                    walked[i] -= calms[k];
                    continue;
                }
                walked[i] = (fresh[i] != 0 ? 0.0f : walked[i]) + amounts[k];
                if (walked[i] > kKernelCap)
                    walked[i] = kKernelCap;
            }
        float dropped = c.dropped;
        double most = 0.0, after = 0.0;
        for (std::size_t i = c.count; c.lineOnLifted && i-- > 0;) {
            const double exact = std::min(0.0f + amounts[i], kKernelCap) - after;
            if (i % AngerLanes::kLanes == AngerLanes::kLanes - 1 && walked[i] - exact > most)
                most = walked[i] - exact, dropped = walked[i];
            after += calms[i];
        }
        AngerLanes::ApplyBatch(values.data(), c.count, c.filled ? nullptr : step.data(),
                               c.filled ? nullptr : fresh.data(), amounts.data(), calms.data(),
                               steps, kKernelCap, dropped);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i < c.count && values[i] < dropped && walked[i] < dropped)
                continue;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(values[i]),
                      std::bit_cast<std::uint32_t>(walked[i]))
                << "lane " << i << ": " << values[i] << " against " << walked[i];
        }
    }
}

// A filled table's packing holds each group of eight against the line of its last lane, eights
// in runs of four and alone below them, and the table's last few on their own. Whichever way an
// eight is reached, a last lane of it that ends exactly on the line must stay, and so must every
// lane that ends above it.
TEST(AngerBatchLanes, KeepsTheLastOfEachEightOnTheLine) {
    struct LineCase {
        const char* name;
        std::size_t count;
        float scale;  // amounts
    };
    const LineCase cases[] = {
        {"one eight alone below the runs, three after the last eight", 299, 1.0f},
        {"two eights alone", 272, 1.0f},
        {"three eights alone", 280, 1.0f},
        {"runs of four only", 256, 1.0f},
        {"runs of four and seven after the last eight", 263, 1.0f},
        {"to the cap", 286, 90.0f},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> amounts(c.count + AngerLanes::kBatchLanes),
            calms(c.count + AngerLanes::kBatchLanes);
        for (std::size_t k = 0; k < c.count; ++k) {
            amounts[k] = c.scale * static_cast<float>(k % 13 + 1) / 7;
            calms[k] = static_cast<float>(k % 5 + 1) / 64;
        }
        std::vector<float> walked(c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            walked[i] = std::min(0.0f + amounts[i], kKernelCap);
            for (std::size_t k = i + 1; k < c.count; ++k)
                walked[i] -= calms[k];
        }
        for (std::size_t last = 7; last < c.count + 7; last += 8) {
            const std::size_t lane = std::min(last, c.count - 1);
            const float line = walked[lane];
            std::vector<float> values(c.count);
            AngerLanes::ApplyBatch(values.data(), c.count, nullptr, nullptr, amounts.data(),
                                   calms.data(), c.count, kKernelCap, line);
            for (std::size_t i = 0; i < c.count; ++i) {
                if (walked[i] < line)
                    ASSERT_LT(values[i], line) << "line on lane " << lane << ", lane " << i;
                else
                    ASSERT_EQ(std::bit_cast<std::uint32_t>(values[i]),
                              std::bit_cast<std::uint32_t>(walked[i]))
                        << "line on lane " << lane << ", lane " << i;
            }
        }
    }
}

// A filled table's kept entries walk in groups whose lanes run one step apart: groups of
// entries side by side in blocks that follow one another, blocks of such groups with entries
// dropped between them, groups with entries dropped inside (short gaps and long), and partial
// last blocks, for eight lanes and sixteen. Entries with a tiny amount surely fall below the
// line; every other one must end bit for bit as walked alone.
TEST(AngerBatchLanes, WalksTheKeptEntriesWhereverTheDroppedLie) {
    struct KeptCase {
        const char* name;
        std::size_t count;
        bool (*drops)(std::size_t entry);
        float scale = 1.0f;  // kept amounts
    };
    const KeptCase cases[] = {
        {"none dropped", 1024, [](std::size_t) { return false; }},
        {"none dropped, a partial block", 1000, [](std::size_t) { return false; }},
        {"one dropped early", 777, [](std::size_t i) { return i == 5; }},
        {"dropped between groups", 1024, [](std::size_t i) { return i % 272 == 16; }},
        {"one in seventy dropped", 900, [](std::size_t i) { return i % 70 == 33; }},
        {"a run dropped inside a group", 700, [](std::size_t i) { return i >= 100 && i < 111; }},
        {"every other dropped at first", 800, [](std::size_t i) { return i < 300 && i % 2 == 0; }},
        {"the first third dropped", 600, [](std::size_t i) { return i < 200; }},
        {"one dropped in the last group", 263, [](std::size_t i) { return i == 260; }},
        {"a partial block side by side, its last group partial", 1290,
         [](std::size_t i) { return i < 20; }},
        {"one dropped early in a partial block", 1250, [](std::size_t i) { return i == 1220; }},
        {"one dropped late in a partial block", 1250, [](std::size_t i) { return i == 1247; }},
        {"to the cap, one in thirty dropped", 520, [](std::size_t i) { return i % 30 == 7; },
         60.0f},
    };
    constexpr float kLine = 1.0f;
    for (const KeptCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> amounts(c.count + AngerLanes::kBatchLanes),
            calms(c.count + AngerLanes::kBatchLanes);
        for (std::size_t k = 0; k < c.count; ++k) {
            amounts[k] = c.drops(k) ? 0.01f : c.scale * (20.0f + static_cast<float>(k % 13) / 7);
            calms[k] = static_cast<float>(k % 5 + 1) / 1024;
        }
        std::vector<float> walked(c.count), values(c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            walked[i] = std::min(0.0f + amounts[i], kKernelCap);
            for (std::size_t k = i + 1; k < c.count; ++k)
                walked[i] -= calms[k];
        }
        AngerLanes::ApplyBatch(values.data(), c.count, nullptr, nullptr, amounts.data(),
                               calms.data(), c.count, kKernelCap, kLine);
        for (std::size_t i = 0; i < c.count; ++i) {
            if (c.drops(i))
                ASSERT_LT(values[i], kLine) << "lane " << i;
            else
                ASSERT_EQ(std::bit_cast<std::uint32_t>(values[i]),
                          std::bit_cast<std::uint32_t>(walked[i]))
                    << "lane " << i << ": " << values[i] << " against " << walked[i];
        }
    }
}

}  // namespace
}  // namespace GAME::test
