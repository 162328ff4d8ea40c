// The anger table's queued provocations against the same provocations carried out one at a
// time: every value must come out bit for bit the same, whatever reads, insertions, removals
// and queue lengths come between.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "Game/ai/anger/AngerTable.h"
#include "ai/anger/ProvokedColumnsOf.h"

namespace GAME::test {
namespace {

// The table as it was before provocations were queued: each one applied to every value at once.
struct EagerTable {
    std::vector<std::pair<std::uint32_t, float>> entries;

    std::size_t FindOrInsert(std::uint32_t id) {
        std::size_t slot = 0;
        while (slot < entries.size() && entries[slot].first < id)
            ++slot;
        if (slot == entries.size() || entries[slot].first != id)
            entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(slot), {id, 0.0f});
        return slot;
    }
    void Provoke(std::size_t slot, float amount, float cap, bool calms, float calm) {
        float& value = entries[slot].second;
        value += amount;
        if (value > cap)
            value = cap;
        if (!calms)
            return;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (i != slot)
                entries[i].second -= calm;
    }
};

struct Rng {
    std::uint32_t state;
    std::uint32_t Next(std::uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
    float Amount() { return static_cast<float>(Next(100000)) * 0.0013f; }
};

void ExpectSame(const AngerTable& table, const EagerTable& eager) {
    ASSERT_EQ(table.size(), eager.entries.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        ASSERT_EQ(table.IdAt(i), eager.entries[i].first) << i;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(table.ValueAt(i)),
                  std::bit_cast<std::uint32_t>(eager.entries[i].second))
            << "slot " << i << " of " << table.size();
    }
}

// Provokes the same id in both; ids mostly rise (a sweep's order), some land in the middle.
void ProvokeBoth(AngerTable& table, EagerTable& eager, Rng& rng, std::uint32_t& nextId) {
    std::uint32_t id = 0;
    const std::uint32_t pick = rng.Next(10);
    if (pick < 5 || eager.entries.empty())
        id = (nextId += 1 + rng.Next(3));
    else if (pick < 9)
        id = eager.entries[rng.Next(static_cast<std::uint32_t>(eager.entries.size()))].first;
    else
        id = 1 + rng.Next(nextId + 1);
    const float amount = rng.Amount();
    const std::size_t slot = table.FindOrInsert(id);
    ASSERT_EQ(slot, eager.FindOrInsert(id));
    const std::size_t size = table.size();
    const bool calms = size >= 2;
    const float calm = calms ? amount / static_cast<float>(size) * 0.7f : 0.0f;
    table.Provoke(slot, amount, 100.0f, calms, calm);
    eager.Provoke(slot, amount, 100.0f, calms, calm);
}

TEST(AngerTableQueue, QueuedProvocationsGiveTheValuesOfImmediateOnes) {
    for (std::uint32_t seed : {1u, 7u, 42u, 2024u}) {
        Rng rng{seed};
        AngerTable table;
        EagerTable eager;
        std::uint32_t nextId = 0;
        // Runs of every length around the queue's and the blocks' sizes, with reads, removals
        // of the entries below zero (as an update compacts) and copies between them.
        for (int round = 0; round < 60; ++round) {
            const std::uint32_t run = rng.Next(3 * AngerTable::kQueued);
            for (std::uint32_t i = 0; i < run; ++i)
                ProvokeBoth(table, eager, rng, nextId);
            switch (rng.Next(6)) {
                case 0:
                    ExpectSame(table, eager);
                    break;
                case 1: {
                    std::size_t kept = 0;
                    for (std::size_t i = 0; i < table.size(); ++i)
                        if (table.ValueAt(i) >= 0.0f)
                            table.MoveSlot(i, kept++);
                    table.Truncate(kept);
                    std::erase_if(eager.entries, [](const auto& e) { return e.second < 0.0f; });
                    break;
                }
                case 2: {
                    const AngerTable copy = table;
                    ExpectSame(copy, eager);
                    break;
                }
                case 3: {
                    // Moved away and back, queue and all; a copy assigned over a smaller table.
                    AngerTable moved = std::move(table);
                    EXPECT_TRUE(table.empty());
                    table = std::move(moved);
                    AngerTable assigned;
                    assigned.FindOrInsert(1);
                    assigned = table;
                    ExpectSame(assigned, eager);
                    break;
                }
                case 4: {
                    // Swapped with a table whose queue holds a different number, and back: each
                    // keeps its own provocations.
                    AngerTable other;
                    EagerTable otherEager;
                    std::uint32_t otherId = 0;
                    const std::uint32_t count = AngerTable::kAtOnce + rng.Next(80);
                    for (std::uint32_t i = 0; i < count; ++i)
                        ProvokeBoth(other, otherEager, rng, otherId);
                    table.swap(other);
                    ExpectSame(table, otherEager);
                    table.swap(other);
                    break;
                }
                default:
                    break;
            }
            if (HasFatalFailure())
                return;
        }
        ExpectSame(table, eager);
    }
}

// A crowd seen for the first time: every foe a new last entry, or now and then one seen before
// provoked again, so each batch of queued provocations ends many calms in the last groups.
TEST(AngerTableQueue, ACrowdSeenAtOnceGivesTheValuesOfImmediateOnes) {
    for (const std::uint32_t againEvery : {0u, 3u, 10u}) {
        Rng rng{againEvery + 5};
        AngerTable table;
        EagerTable eager;
        for (std::uint32_t i = 1; i <= 700; ++i) {
            const bool again = againEvery != 0 && i % againEvery == 0;
            const std::uint32_t id =
                again ? eager.entries[rng.Next(static_cast<std::uint32_t>(eager.entries.size()))]
                            .first
                      : 10 * i;
            const float amount = rng.Amount();
            const std::size_t slot = table.FindOrInsert(id);
            ASSERT_EQ(slot, eager.FindOrInsert(id));
            const bool calms = table.size() >= 2;
            const float calm = calms ? amount / static_cast<float>(table.size()) * 0.7f : 0.0f;
            table.Provoke(slot, amount, 100.0f, calms, calm);
            eager.Provoke(slot, amount, 100.0f, calms, calm);
            if (i % 97 == 0)
                ExpectSame(table, eager);
        }
        ExpectSame(table, eager);
        if (HasFatalFailure())
            return;
    }
}

// A sweep's provocations carried out together against the same ones one at a time, over tables
// of every size around the lane groups, with the listed ids in rising order (as sweeps list
// them), in any order, shuffled, new ones between old ones, and one id listed twice.
TEST(AngerTableQueue, ABatchOfProvocationsGivesTheValuesOfImmediateOnes) {
    struct Case {
        std::uint32_t before;    // entries first, provoked one by one
        std::uint32_t listed;    // provocations in the batch
        std::uint32_t newEvery;  // every n-th listed id is new (0: none)
        bool shuffled;           // listed out of id order
        bool twice;              // one id listed a second time
        bool rising = false;     // listed in rising id order
    };
    const Case cases[] = {
        {0, 1, 0, false, false},         {0, 9, 1, false, false},
        {1, 1, 0, false, false},         {7, 7, 0, false, false},
        {8, 8, 3, true, false},          {31, 31, 0, false, false},
        {33, 40, 4, false, false},       {70, 70, 5, true, false},
        {80, 78, 0, false, false},       {129, 150, 7, true, false},
        {200, 90, 2, true, false},       {40, 30, 3, true, true},
        {0, 9, 1, false, false, true},   {1, 6, 1, false, false, true},
        {7, 7, 0, false, false, true},   {33, 40, 4, false, false, true},
        {80, 78, 4, false, false, true}, {129, 150, 7, false, false, true},
    };
    for (const Case& c : cases) {
        Rng rng{c.before * 31 + c.listed};
        AngerTable table;
        EagerTable eager;
        for (std::uint32_t i = 0; i < c.before; ++i) {
            const std::uint32_t id = 10 * (i + 1);
            const float amount = rng.Amount();
            const std::size_t slot = table.FindOrInsert(id);
            ASSERT_EQ(slot, eager.FindOrInsert(id));
            float calm = 0.0f;
            const bool calms = AngerTable::CalmOf(amount, table.size(), 0.7f, calm);
            table.Provoke(slot, amount, 100.0f, calms, calm);
            eager.Provoke(slot, amount, 100.0f, calms, calm);
        }
        std::vector<AngerTable::Provoked> list;
        for (std::uint32_t i = 0; i < c.listed; ++i) {
            const bool fresh = c.before == 0 || (c.newEvery != 0 && i % c.newEvery == 0);
            // New ids fall between the old ones (and past them), old ones are any entry.
            const std::uint32_t id = fresh ? 10 * (i % (c.before + 5)) + 5 + 2 * (i / 40)
                                           : 10 * (1 + rng.Next(c.before));
            if (std::any_of(list.begin(), list.end(), [id](const auto& p) { return p.id == id; }))
                continue;
            list.push_back({id, i, rng.Amount() * 3.0f});
        }
        if (c.shuffled)
            for (std::size_t i = list.size(); i > 1; --i)
                std::swap(list[i - 1], list[rng.Next(static_cast<std::uint32_t>(i))]);
        if (c.rising)
            std::sort(list.begin(), list.end(),
                      [](const auto& a, const auto& b) { return a.id < b.id; });
        if (c.twice && !list.empty())
            list.push_back({list.front().id, 0, 2.5f});
        for (const AngerTable::Provoked& p : list) {
            const std::size_t slot = eager.FindOrInsert(p.id);
            const std::size_t size = eager.entries.size();
            float calm = 0.0f;
            const bool calms = AngerTable::CalmOf(p.amount, size, 0.7f, calm);
            eager.Provoke(slot, p.amount, 100.0f, calms, calm);
        }
        std::vector<std::int32_t> steps(3, 7);  // stale contents are replaced
        const bool inOrder =
            table.ProvokeEach(ProvokedColumnsOf(list), list.size(), 100.0f, 0.7f, &steps);
        SCOPED_TRACE(testing::Message() << "before " << c.before << ", listed " << c.listed);
        ExpectSame(table, eager);
        // Each entry keeps the world slot it was last listed with.
        for (std::size_t i = c.twice ? 1 : 0; i < list.size(); ++i)
            EXPECT_EQ(table.HintAt(table.Find(list[i].id)), list[i].worldSlot);
        // Each slot names a provocation of its own entry, or none when it was not listed (in
        // list order, slot k is the k-th listed entry's, and the steps are not written).
        for (std::size_t slot = 0; inOrder && slot < table.size(); ++slot)
            EXPECT_EQ(table.IdAt(slot), list[slot].id) << slot;
        if (!inOrder) {
            ASSERT_EQ(steps.size(), table.size());
        }
        for (std::size_t slot = 0; !inOrder && slot < table.size(); ++slot) {
            const auto listed = std::find_if(
                list.begin(), list.end(), [&](const auto& p) { return p.id == table.IdAt(slot); });
            if (listed == list.end())
                EXPECT_EQ(steps[slot], -1) << slot;
            else
                EXPECT_EQ(list[static_cast<std::size_t>(steps[slot])].id, table.IdAt(slot));
        }
        if (HasFatalFailure())
            return;
    }
}

// A provocation of -0 calms the others by -0, which turns a value of -0 into +0: the batch takes
// the calm as it is, as one provocation at a time does, in whole lane groups and past them.
TEST(AngerTableQueue, ACalmOfMinusZeroIsTakenAsItIs) {
    for (std::uint32_t before : {3u, 8u, 11u, 20u}) {
        AngerTable table;
        EagerTable eager;
        for (std::uint32_t id = 1; id <= before; ++id) {
            table.ValueAt(table.FindOrInsert(id)) = -0.0f;
            eager.entries[eager.FindOrInsert(id)].second = -0.0f;
        }
        const std::vector<AngerTable::Provoked> list = {{2, 0, -0.0f}, {before + 1, 1, -0.0f}};
        for (const AngerTable::Provoked& p : list) {
            const std::size_t slot = eager.FindOrInsert(p.id);
            float calm = 0.0f;
            const bool calms = AngerTable::CalmOf(p.amount, eager.entries.size(), 0.7f, calm);
            eager.Provoke(slot, p.amount, 100.0f, calms, calm);
        }
        table.ProvokeEach(ProvokedColumnsOf(list), list.size(), 100.0f, 0.7f);
        SCOPED_TRACE(testing::Message() << before << " entries");
        ExpectSame(table, eager);
    }
}

// The angriest entry against a walk that takes an entry only when it scores strictly higher:
// ties go to the first, the doubled entry wins on its doubled score, nothing at or below the
// floor wins and a NaN never does, wherever in the lane groups (or past them) the entries lie.
TEST(AngerTableQueue, TheAngriestIsTheFirstOfTheHighestScoresAboveTheFloor) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::vector<float> values;  // for ids 1, 2, ...
        std::uint32_t doubled;
        float floor;
        std::size_t angriest;  // the slot, or values.size() for none
    };
    const Case cases[] = {
        {{}, 0, 0.0f, 0},
        {{3, 5, 5, 1}, 0, 0.0f, 1},
        {{3, 5, 5, 1}, 4, 0.0f, 1},
        {{3, 5, 5, 1}, 1, 0.0f, 0},
        {{3, 5, 5, 1}, 0, 5.0f, 4},
        {{1, 2, 3, 4, 5, 6, 7, 8, 2, 9}, 0, 0.0f, 9},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 9}, 0, 0.0f, 8},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 9}, 10, 0.0f, 9},
        {{nan, 2, 3, 4, 5, 6, 7, nan, 1, 9, 9, 2, 3, 4, 5, 6, 2}, 0, 0.0f, 9},
        {{nan, 2, 3, 4, 5, 6, 7, 9.5f, 1, 9, 9, 2, 3, 4, 5, 6, 2}, 0, 0.0f, 7},
        {{-4, -1, -2, -1, -3, -6, -7, -8, -1}, 0, -5.0f, 1},
        {{-4, -1, -2, -1, -3, -6, -7, -8, -1}, 0, 0.0f, 9},
        {{nan, nan, nan, nan, nan, nan, nan, nan, nan}, 0, -1.0f, 9},
        // Ties in lanes of different groups: the first slot wins, not the first lane.
        {{1, 1, 1, 1, 1, 9, 1, 1, 1, 1, 9, 1, 1, 1, 1, 1, 1}, 0, 0.0f, 5},
        {{1, 1, 1, 1, 1, 1, 1, 2, 9, 1, 1, 1, 1, 1, 1, 9, 9}, 0, 0.0f, 8},
        {{1, 1, 1, 1, 1, 1, 1, 9, 9, 1, 1, 1, 1, 1, 1, 1, 9}, 0, 0.0f, 7},
        {{1, 2, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1, 3, 3}, 0, 0.0f, 8},
        // A lane rising to a tie after another lane held it, and the doubled score tying.
        {{1, 1, 8, 1, 1, 1, 6, 1, 1, 1, 1, 1, 1, 1, 8, 1, 1}, 0, 0.0f, 2},
        {{1, 1, 8, 1, 1, 1, 4, 1, 1, 1, 1, 1, 1, 1, 8, 1, 1}, 7, 0.0f, 2},
        {{1, 1, 7, 1, 1, 1, 4, 1, 1, 1, 1, 1, 1, 1, 8, 1, 1}, 7, 0.0f, 6},
        // -0 and +0 tie above a negative floor.
        {{-3, -3, -3, -3, -3, 0.0f, -3, -3, -0.0f, -3}, 0, -1.0f, 5},
        {{-3, -3, -0.0f, -3, -3, 0.0f, -3, -3, -3, -3}, 0, -1.0f, 2},
    };
    for (const Case& c : cases) {
        AngerTable table;
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            table.FindOrInsert(static_cast<std::uint32_t>(i + 1));
            table.ValueAt(i) = c.values[i];
        }
        EXPECT_EQ(table.Angriest(c.floor, c.doubled), c.angriest)
            << c.values.size() << " entries, doubled " << c.doubled << ", floor " << c.floor;
    }
}

TEST(AngerTableQueue, ComparingAndClearingSeeTheQueuedChanges) {
    AngerTable a, b;
    for (std::uint32_t id = 1; id <= 40; ++id) {
        a.Provoke(a.FindOrInsert(id), 5.0f, 100.0f, a.size() >= 2, 0.25f);
        b.Provoke(b.FindOrInsert(id), 5.0f, 100.0f, b.size() >= 2, 0.25f);
    }
    EXPECT_EQ(a, b);
    b.Provoke(b.FindOrInsert(3), 1.0f, 100.0f, true, 0.0f);
    EXPECT_FALSE(a == b);
    // Cleared with provocations still queued: nothing of them reaches entries added later.
    a.clear();
    a.Provoke(a.FindOrInsert(9), 2.0f, 100.0f, false, 0.0f);
    EXPECT_EQ(a.size(), 1u);
    EXPECT_FLOAT_EQ(a.ValueAt(0), 2.0f);
}

}  // namespace
}  // namespace GAME::test
