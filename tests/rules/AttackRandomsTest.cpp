#include <gtest/gtest.h>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/AttackRandoms.h"

namespace GAME {
namespace {

TEST(AttackRandoms, FillDrawsExactlySevenValuesInOrder) {
    RandomUniform random, replay;
    random.Seed(2718);
    replay.Seed(2718);
    AttackRandoms randoms;
    EXPECT_EQ(randoms.GetMinimum(), 0u);
    EXPECT_EQ(randoms.GetMaximum(), 32765u);
    for (std::size_t i = 0; i < AttackRandoms::kCount; ++i)
        EXPECT_EQ(randoms.GetValue(i), 0u);
    randoms.Fill(random);
    for (std::size_t i = 0; i < AttackRandoms::kCount; ++i) {
        const auto expected = static_cast<std::uint32_t>(replay.IGenerate(0, 32765));
        EXPECT_EQ(randoms.GetValue(i), expected);
        EXPECT_LE(randoms.GetValue(i), 32765u);
    }
    EXPECT_EQ(random.GetState(), replay.GetState());

    AttackRandoms copy = randoms;
    EXPECT_EQ(copy.GetValues(), randoms.GetValues());
}

TEST(AttackRandoms, SameSeedSameValuesAndBoundsHold) {
    RandomUniform a, b;
    a.Seed(99);
    b.Seed(99);
    AttackRandoms first(10, 20), second(10, 20);
    first.Fill(a);
    second.Fill(b);
    EXPECT_EQ(first.GetValues(), second.GetValues());
    for (auto value : first.GetValues()) {
        EXPECT_GE(value, 10u);
        EXPECT_LE(value, 20u);
    }
}

}  // namespace
}  // namespace GAME
