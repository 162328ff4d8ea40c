#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <thread>
#include <utility>
#include <vector>

#include "Engine/sys/RandomUniform.h"

namespace GAME {
namespace {

TEST(RandomUniform, SeedOneGivesTheThirtyTwoBitSequence) {
    RandomUniform r;
    r.Seed(1);
    EXPECT_EQ(r.GetState(), 16807u);
    r.IGenerate(0, 1);
    EXPECT_EQ(r.GetState(), 282475249u);
    r.IGenerate(0, 1);
    EXPECT_EQ(r.GetState(), 1622647863u);  // a 64-bit product would give 1622650073
}

// The step folds the top bit instead of dividing: the same remainder as the division for every
// product, the edges of the modulus and its multiples included.
TEST(RandomUniform, StepWithoutDivisionGivesTheRemainder) {
    constexpr std::uint32_t kModulus = 2147483647u;
    // The inverse of the multiplier modulo 2^32, so that a state with any product can be made.
    std::uint32_t inverse = 16807u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 16807u * inverse;
    ASSERT_EQ(inverse * 16807u, 1u);
    std::vector<std::uint32_t> products = {0u,           1u,           kModulus - 1,
                                           kModulus,     kModulus + 1, 2 * kModulus - 1,
                                           2 * kModulus, 0xFFFFFFFFu,  0x80000000u};
    for (std::uint32_t p = 12345u; p < 0xFFFF0000u; p += 65521u)
        products.push_back(p);
    for (std::uint32_t product : products)
        ASSERT_EQ(RandomUniform::NextState(product * inverse), product % kModulus) << product;
}

TEST(RandomUniform, SeedZeroStaysZero) {
    RandomUniform r;
    r.Seed(0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r.IGenerate(0, 100), 0);
        EXPECT_EQ(r.FGenerate(3.0f, 9.0f), 3.0f);
    }
}

TEST(RandomUniform, IntegerRangesRoundHalfUp) {
    RandomUniform r;
    r.Seed(12345);
    int lowest = 10, highest = -10;
    for (int i = 0; i < 20000; ++i) {
        const int v = r.IGenerate(-2, 2);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
        ASSERT_EQ(r.IGenerate(5, 5), 5);
        const float f = r.FGenerate(1.0f, 3.0f);
        ASSERT_GE(f, 1.0f);
        ASSERT_LT(f, 3.0f);
    }
    EXPECT_EQ(lowest, -1);  // truncation toward zero: -2 is never drawn
    EXPECT_EQ(highest, 2);
}

// The batch draw keeps the state in a register; it must give IGenerate's values in order and
// leave the same state, for any range (reversed and negative ones too) and element type.
TEST(RandomUniform, EachDrawOfABatchIsTheSingleDraw) {
    const std::pair<int, int> ranges[] = {{0, 32765}, {-7, 7}, {10, 20}, {5, 5}, {9, -3}};
    for (const auto& [min, max] : ranges) {
        RandomUniform batch, single;
        batch.Seed(4242);
        single.Seed(4242);
        std::array<std::uint32_t, 7> values{};
        batch.IGenerateEach(min, max, values);
        for (std::uint32_t value : values)
            ASSERT_EQ(static_cast<int>(value), single.IGenerate(min, max)) << min << ".." << max;
        int more[3];
        batch.IGenerateEach(min, max, more);
        for (int value : more)
            ASSERT_EQ(value, single.IGenerate(min, max));
        ASSERT_EQ(batch.GetState(), single.GetState());
    }
}

TEST(RandomUniform, LockedGivesTheSameDraws) {
    RandomUniform plain;
    RandomUniformLocked locked;
    plain.Seed(777);
    locked.Seed(777);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(plain.IGenerate(0, 1000), locked.IGenerate(0, 1000));
        ASSERT_EQ(plain.FGenerate(-1.0f, 1.0f), locked.FGenerate(-1.0f, 1.0f));
    }
}

// A skipped draw leaves the state where a full draw of any kind leaves it, from any state (the
// fixed zero and the largest state too), so that the draws after it are the same.
TEST(RandomUniform, SkipMovesTheStateAsADraw) {
    enum class Draw { Integer, Float };
    const std::pair<std::uint32_t, Draw> rows[] = {
        {1u, Draw::Integer},        {0u, Draw::Integer},
        {777u, Draw::Float},        {RandomUniform::kModulus - 1, Draw::Integer},
        {0x80000000u, Draw::Float}, {0xFFFFFFFFu, Draw::Integer}};
    for (const auto& [seed, draw] : rows) {
        RandomUniform plain;
        RandomUniformLocked skipped;
        plain.Seed(seed);
        skipped.Seed(seed);
        for (int i = 0; i < 50; ++i) {
            if (draw == Draw::Integer)
                plain.IGenerate(1, 32767);
            else
                plain.FGenerate(-5.0f, 5.0f);
            skipped.Skip();
            ASSERT_EQ(skipped.GetState(), plain.GetState()) << seed << " step " << i;
            ASSERT_EQ(skipped.IGenerate(0, 1000), plain.IGenerate(0, 1000)) << seed;
        }
    }
}

// Threads drawing at once through every entry of the lock: no draw is lost or taken twice, so
// the state ends where as many draws in one thread leave it, and each integer draw is the value
// of a step of the sequence that no other draw took.
TEST(RandomUniform, LockedDrawsFromManyThreadsLoseNone) {
    constexpr int kThreads = 4;
    constexpr int kDraws = 20000;
    constexpr int kTop = 2147483646;  // scaled by this, few steps share a value
    RandomUniformLocked locked;
    locked.Seed(4242);
    std::vector<std::vector<int>> drawn(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&locked, &out = drawn[static_cast<std::size_t>(t)], t] {
            for (int i = 0; i < kDraws; ++i) {
                if (t % 2 == 0)
                    out.push_back(locked.IGenerate(0, kTop));
                else if (t == 1)
                    locked.FGenerate(0.0f, 1.0f);
                else
                    locked.Skip();
            }
        });
    for (std::thread& thread : threads)
        thread.join();

    RandomUniform plain;
    plain.Seed(4242);
    std::map<int, int> unclaimed;  // the values of the sequence's steps, as many as it has
    for (int i = 0; i < kThreads * kDraws; ++i)
        ++unclaimed[plain.IGenerate(0, kTop)];
    EXPECT_EQ(locked.GetState(), plain.GetState());
    for (const std::vector<int>& values : drawn)
        for (int value : values)
            EXPECT_GE(--unclaimed[value], 0) << "not a step of its own: " << value;
}

}  // namespace
}  // namespace GAME
