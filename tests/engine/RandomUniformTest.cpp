#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
}  // namespace GAME
