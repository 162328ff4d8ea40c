// The small containers of per-character tallies and queues: they must behave as the standard
// containers they stand in for (a std::map's order and values, a deque's order), inline or
// spilled, through wrap-round and growth.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "Game/core/util/RingQueue.h"
#include "Game/core/util/SmallMap.h"

namespace GAME {
namespace {

template <class Small>
std::vector<std::pair<int, float>> Entries(const Small& map) {
    std::vector<std::pair<int, float>> out;
    for (const auto& [key, value] : map)
        out.emplace_back(key, value);
    return out;
}

TEST(SmallMap, KeepsAStdMapsOrderAndValuesInlineAndSpilled) {
    const struct {
        const char* label;
        std::vector<int> keys;  // tallied in this order; repeats add up
    } cases[] = {
        {"empty", {}},
        {"ascending, fits", {1, 2, 3}},
        {"descending, exactly full", {9, 7, 5, 3}},
        {"repeats while full", {4, 2, 4, 8, 6, 2, 8}},
        {"spills on the fifth key", {5, 1, 4, 2, 3}},
        {"spilled, then more and repeats", {10, 3, 7, 1, 12, 3, 0, 7, 11, 10, 2}},
    };
    for (const auto& c : cases) {
        SmallMap<int, float, 4> small;
        std::map<int, float> reference;
        float amount = 0.5f;
        for (int key : c.keys) {
            small[key] += amount;
            reference[key] += amount;
            amount += 1.25f;
        }
        EXPECT_EQ(Entries(small),
                  (std::vector<std::pair<int, float>>(reference.begin(), reference.end())))
            << c.label;
        for (int key = -1; key <= 13; ++key) {
            const float* found = small.Find(key);
            const auto it = reference.find(key);
            ASSERT_EQ(found != nullptr, it != reference.end()) << c.label << " key " << key;
            if (found) {
                EXPECT_EQ(*found, it->second) << c.label << " key " << key;
            }
        }
        const SmallMap<int, float, 4> copy = small;
        small[100] = 1.0f;  // the copy keeps its own entries
        EXPECT_EQ(copy.size(), reference.size()) << c.label;
        EXPECT_EQ(copy.Find(100), nullptr) << c.label;
    }
}

// Pushes (positive counts) and pops (negative) in turn: wrap-round of the first block, growth
// while wrapped, emptying and refilling; with room inside the queue, the spill to the heap
// while wrapped as well.
template <class Ring>
void ExpectFirstInFirstOut() {
    const struct {
        const char* label;
        std::vector<int> steps;
    } cases[] = {
        {"fill and drain", {5, -5}},
        {"wrap without growth", {6, -4, 5, -7}},
        {"grow while wrapped", {7, -5, 12, -3, 20, -31}},
        {"empty then refill", {3, -3, 9, -2, 1, -8}},
        {"one at a time", {1, -1, 1, 1, -1, 1, -2}},
        {"spill while the room is wrapped", {2, -1, 3, -2, 1, -3}},
    };
    for (const auto& c : cases) {
        Ring ring;
        std::deque<std::uint32_t> reference;
        std::uint32_t next = 1;
        for (int step : c.steps) {
            for (int i = 0; i < step; ++i) {
                ring.push_back(next);
                reference.push_back(next++);
            }
            for (int i = 0; i < -step; ++i) {
                ASSERT_FALSE(ring.empty()) << c.label;
                EXPECT_EQ(ring.front(), reference.front()) << c.label;
                ring.pop_front();
                reference.pop_front();
            }
            std::vector<std::uint32_t> seen;
            ring.ForEach([&seen](std::uint32_t v) { seen.push_back(v); });
            EXPECT_EQ(seen, std::vector<std::uint32_t>(reference.begin(), reference.end()))
                << c.label;
            EXPECT_EQ(ring.size(), reference.size()) << c.label;
        }
        ring.clear();
        EXPECT_TRUE(ring.empty()) << c.label;
    }
}

TEST(RingQueue, KeepsFirstInFirstOutThroughWrapAndGrowth) {
    ExpectFirstInFirstOut<RingQueue<std::uint32_t>>();
    ExpectFirstInFirstOut<RingQueue<std::uint32_t, 2>>();
    ExpectFirstInFirstOut<RingQueue<std::uint32_t, 3>>();
}

}  // namespace
}  // namespace GAME
