// The anger table's queued provocations against the same provocations carried out one at a
// time: every value must come out bit for bit the same, whatever reads, insertions, removals
// and queue lengths come between.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

#include "Game/ai/anger/AngerTable.h"

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
