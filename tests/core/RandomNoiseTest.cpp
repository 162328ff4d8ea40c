#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/core/util/PerlinNoise.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

std::vector<std::uint32_t> States(std::uint32_t seed, int draws) {
    RandomUniform r;
    r.Seed(seed);
    std::vector<std::uint32_t> out{r.GetState()};
    for (int i = 0; i < draws; ++i) {
        r.IGenerate(0, 1);
        out.push_back(r.GetState());
    }
    return out;
}

TEST(RandomUniformGolden, SequencesOfSeveralSeeds) {
    using V = std::vector<std::uint32_t>;
    EXPECT_EQ(States(1, 5), (V{16807, 282475249, 1622647863, 947787490, 1578127215, 13566058}));
    EXPECT_EQ(States(42, 5),
              (V{705894, 1126542219, 1579233965, 1434844124, 1331308677, 672805828}));
    EXPECT_EQ(States(123456789, 5),
              (V{469048755, 2037437125, 1578992516, 1671778077, 2045573356, 885673461}));
    EXPECT_EQ(States(0, 3), (V{0, 0, 0, 0}));
    // Seeds past the modulus land inside 0 .. 2147483646.
    EXPECT_EQ(States(0xFFFFFFFFu, 3), (V{2147466842, 1865025206, 807311034, 674860374}));
    EXPECT_EQ(States(2147483647u, 3), (V{2147466841, 1865008399, 524835785, 1199696160}));
}

TEST(RandomUniformGolden, DrawsOfAStoredSeed) {
    RandomUniform r;
    r.Seed(42);
    std::vector<int> ints;
    for (int i = 0; i < 8; ++i)
        ints.push_back(r.IGenerate(0, 100));
    EXPECT_EQ(ints, (std::vector<int>{52, 74, 67, 62, 31, 63, 42, 94}));

    r.Seed(7);
    EXPECT_EQ(r.FGenerate(-1.0f, 1.0f), 0.8415290117263794f);
    EXPECT_EQ(r.FGenerate(-1.0f, 1.0f), -0.42153990268707275f);
    EXPECT_EQ(r.FGenerate(-1.0f, 1.0f), -0.8211131691932678f);
}

TEST(RandomUniformGolden, BoundsAndRounding) {
    RandomUniform r;
    r.Seed(99);
    int zeros = 0, ones = 0, inner = 0, ends = 0;
    for (int i = 0; i < 40000; ++i) {
        const int bit = r.IGenerate(0, 1);
        ASSERT_TRUE(bit == 0 || bit == 1);
        (bit ? ones : zeros)++;
        const int v = r.IGenerate(0, 4);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 4);
        (v == 0 || v == 4 ? ends : inner)++;
        const float f = r.FGenerate(1.0f, 3.0f);
        ASSERT_GE(f, 1.0f);
        ASSERT_LT(f, 3.0f);
        ASSERT_EQ(r.IGenerate(5, 5), 5);
        // A reversed range runs the same formula with a negative span.
        const int rev = r.IGenerate(10, 0);
        ASSERT_GE(rev, 0);
        ASSERT_LE(rev, 10);
    }
    EXPECT_NEAR(zeros, ones, 1200);
    // Each end gets half the share of an inner value: 2 halves against 3 wholes.
    EXPECT_NEAR(static_cast<double>(ends) / inner, 1.0 / 3.0, 0.03);
}

TEST(RandomUniformGolden, SameSeedOnTwoMachinesGivesTheSameDraws) {
    test::TestMachine server;
    test::TestMachine client;
    std::vector<int> a, b;
    ON_MACHINE(server) {
        crt_srand(5);  // the C runtime's state is the machine's and plays no part
        RandomUniform r;
        r.Seed(0xBEEF);
        for (int i = 0; i < 50; ++i)
            a.push_back(r.IGenerate(-1000, 1000));
    }
    ON_MACHINE(client) {
        RandomUniform r;
        r.Seed(0xBEEF);
        for (int i = 0; i < 50; ++i)
            b.push_back(r.IGenerate(-1000, 1000));
    }
    EXPECT_EQ(a, b);
}

TEST(PerlinNoise, LoadTablesComeFromTheStartupRandState) {
    test::TestMachine tm;
    crt_srand(1);
    PerlinNoise1 one;
    PerlinNoise2 two;
    PerlinNoise1::Build(one, [] { return crt_rand(); });
    PerlinNoise2::Build(two, [] { return crt_rand(); });
    EXPECT_EQ(one.permutation, PerlinNoise1::Global().permutation);
    EXPECT_EQ(one.gradient, PerlinNoise1::Global().gradient);
    EXPECT_EQ(two.permutation, PerlinNoise2::Global().permutation);
    EXPECT_EQ(two.gradient, PerlinNoise2::Global().gradient);

    const auto& table = PerlinNoise1::Global();
    EXPECT_EQ((std::vector<int>(table.permutation.begin(), table.permutation.begin() + 8)),
              (std::vector<int>{0, 218, 160, 222, 43, 220, 252, 116}));
    EXPECT_EQ(table.gradient[3], 1.0f);
    EXPECT_EQ(table.gradient[7], -0.99999994f);  // the float rounding of 1/sqrt(q) * g
    for (int i = 0; i < 258; ++i) {
        ASSERT_EQ(table.permutation[256 + i], table.permutation[i]);
        ASSERT_EQ(table.gradient[256 + i], table.gradient[i]);
    }
}

TEST(PerlinNoise, TwoDimensionalGradientsAreUnitOrTiny) {
    const auto& table = PerlinNoise2::Global();
    for (int i = 0; i < PerlinNoise2::kSize; ++i) {
        const float x = table.gradient[i][0], y = table.gradient[i][1];
        const float q = x * x + y * y;
        if (q > 0.0001f) {
            ASSERT_NEAR(q, 1.0f, 1e-5f) << i;
        }
    }
}

TEST(PerlinNoise, GoldenSamples) {
    EXPECT_EQ(PerlinNoise1::Sample(0.5f), 0.0f);
    EXPECT_EQ(PerlinNoise1::Sample(-0.25f), 0.328125f);
    EXPECT_EQ(PerlinNoise1::Sample(3.7f), 0.08399999141693115f);
    EXPECT_EQ(PerlinNoise1::Sample(100.125f), 0.1572265625f);
    EXPECT_EQ(PerlinNoise1::Sample(-17.6f), -0.048000186681747437f);
}

TEST(PerlinNoise, ZeroAtIntegersAndBounded) {
    for (int i = -600; i <= 600; ++i)
        ASSERT_EQ(PerlinNoise1::Sample(static_cast<float>(i)), 0.0f) << i;
    for (float x = -300.0f; x < 300.0f; x += 0.037f)
        ASSERT_LE(std::fabs(PerlinNoise1::Sample(x)), 0.5f) << x;
}

TEST(PerlinNoise, NegativeQuarterUsesTheLastEntryAndTheCopyOfTheFirst) {
    PerlinNoise1 table{};
    table.permutation[255] = 10;
    table.permutation[256] = 20;  // the copy of entry 0
    table.gradient[10] = 1.0f;
    table.gradient[20] = -1.0f;
    // r0 = 0.75, r1 = -0.25, s = 0.84375: a = 0.75, b = 0.25
    EXPECT_FLOAT_EQ(PerlinNoise1::Noise(table, -0.25f), 0.75f + 0.84375f * (0.25f - 0.75f));
}

}  // namespace
}  // namespace GAME
