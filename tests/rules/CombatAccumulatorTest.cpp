#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "rules/CombatTestCharacter.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

TEST(CombatAccumulatorChance, ZeroDrawsNothingAndOtherChancesDrawOnce) {
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(1234);
    const std::uint32_t before = accumulator.GetRandomGen().GetState();
    EXPECT_TRUE(accumulator.EvaluateChance(0.0f));
    EXPECT_EQ(accumulator.GetRandomGen().GetState(), before);

    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(accumulator.EvaluateChance(100.0f));

    // Thirty percent passes exactly for draws 0 to 30.
    RandomUniform mirror;
    accumulator.SetSeed(99);
    mirror.Seed(99);
    int passed = 0;
    for (int i = 0; i < 2000; ++i) {
        const int draw = mirror.IGenerate(0, 100);
        const bool result = accumulator.EvaluateChance(30.0f);
        EXPECT_EQ(result, draw <= 30);
        passed += result ? 1 : 0;
    }
    EXPECT_GT(passed, 500);
    EXPECT_LT(passed, 750);
    EXPECT_FLOAT_EQ(accumulator.GetChanceMultiplier(30.0f), 1.0f);
}

// The chance test compares the stepped state with a table instead of drawing: it must agree
// with the float comparison of IGenerate(0, 100) on both sides of every table edge, for whole,
// fractional, negative, huge and not-a-number chances, and step the sequence exactly once.
TEST(CombatAccumulatorChance, AgreesWithTheDrawAtEveryEdgeOfTheTable) {
    // Seeding with s * inverse^2 leaves the state one step before s (see RandomUniformTest).
    std::uint32_t inverse = 16807u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 16807u * inverse;
    std::vector<std::uint32_t> states = {0u, 1u, 2147483646u};
    for (std::size_t k = 1; k < CombatPercentDraw::kLimits.size(); ++k) {
        const std::uint32_t limit = CombatPercentDraw::kLimits[k];
        for (std::uint32_t s : {limit - 1u, limit, limit + 1u})
            if (s < 2147483647u)
                states.push_back(s);
    }
    for (std::uint32_t s = 7u; s < 2147483647u - 10158713u; s += 10158713u)
        states.push_back(s);
    const float chances[] = {0.0f,
                             0.5f,
                             1.0f,
                             29.999f,
                             30.0f,
                             30.5f,
                             49.0f,
                             99.0f,
                             99.9f,
                             100.0f,
                             100.5f,
                             250.0f,
                             -0.001f,
                             -30.0f,
                             1e30f,
                             -1e30f,
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::quiet_NaN()};
    CombatAttributeAccumulator accumulator;
    RandomUniform mirror;
    for (std::uint32_t s : states) {
        const std::uint32_t seed = s * inverse * inverse;
        for (float chance : chances) {
            accumulator.SetSeed(seed);
            mirror.Seed(seed);
            const bool expected =
                chance == 0.0f || static_cast<float>(mirror.IGenerate(0, 100)) <= chance;
            ASSERT_EQ(accumulator.EvaluateChance(chance), expected) << s << " " << chance;
            // The mirror drew only for a chance other than 0, as the accumulator must.
            ASSERT_EQ(accumulator.GetRandomGen().GetState(), mirror.GetState());
        }
    }
}

// A store's global roll compares the stepped state with the least state whose FGenerate(0, 100)
// is above the chance: both sides of that state, and states across the range, must agree with
// the draw itself, for fractional, edge and not-a-number chances.
TEST(CombatAccumulatorChance, GlobalRollLimitAgreesWithTheFloatDraw) {
    std::uint32_t inverse = 16807u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 16807u * inverse;
    const float chances[] = {1e-30f,
                             0.5f,
                             30.0f,
                             33.3f,
                             49.999f,
                             50.0f,
                             99.99999f,
                             100.0f,
                             250.0f,
                             -5.0f,
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::quiet_NaN()};
    CombatRandom stepped;
    RandomUniform mirror;
    for (float chance : chances) {
        const std::uint32_t limit = CombatPercentDraw::LeastStateFloatAbove(chance);
        std::vector<std::uint32_t> states = {1u, 2147483646u};
        for (std::uint32_t s : {limit - 1u, limit, limit + 1u})
            if (s > 0u && s < 2147483647u)
                states.push_back(s);
        for (std::uint32_t s = 3u; s < 2147483647u - 7654321u; s += 7654321u)
            states.push_back(s);
        for (std::uint32_t s : states) {
            const std::uint32_t seed = s * inverse * inverse;
            stepped.Seed(seed);
            mirror.Seed(seed);
            const bool expected = !(mirror.FGenerate(0.0f, 100.0f) > chance);
            ASSERT_EQ(stepped.StepBelow(limit), expected) << s << " " << chance;
            ASSERT_EQ(stepped.GetState(), mirror.GetState());
        }
    }
}

TEST(CombatAccumulatorLists, NullIsIgnoredAndDefensesOfOneTypeMerge) {
    CombatAttributeAccumulator accumulator;
    accumulator.AddDamage(nullptr);
    accumulator.AddDefense(nullptr);
    EXPECT_TRUE(accumulator.IsEmpty());

    accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefense>(T::Fire, 10.0f));
    accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefense>(T::Fire, 15.0f));
    accumulator.AddDefense(std::make_unique<CombatAttributeDurDefense>(T::Fire, 40.0f));
    accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefense>(T::Cold, 5.0f));
    EXPECT_EQ(accumulator.GetDefensePayloads().size(), 3u);
    EXPECT_FLOAT_EQ(accumulator.GetTotalDefenseType(T::Fire), 25.0f);
    EXPECT_FLOAT_EQ(accumulator.GetTotalDefenseType(T::Cold), 5.0f);
}

TEST(CombatAccumulatorLists, FilterReflectDamageKeepsOnlyPlainDamageInOrder) {
    CombatAttributeAccumulator accumulator;
    accumulator.AddDamage(std::make_unique<CombatAttributeReflexDamage>(T::Stun, 1.0f));
    accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 10.0f));
    accumulator.AddDamage(std::make_unique<CombatAttributeInfluenceDamage_Taunt>(T::Taunt, 3.0f));
    accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Cold, 4.0f));
    accumulator.FilterReflectDamage();
    ASSERT_EQ(accumulator.GetDamagePayloads().size(), 2u);
    EXPECT_EQ(accumulator.GetDamagePayloads()[0]->GetType(), T::Fire);
    EXPECT_EQ(accumulator.GetDamagePayloads()[1]->GetType(), T::Cold);
}

TEST(CombatAccumulatorFlow, ModifiersThenProcessThenDefensesThenExecute) {
    CombatTestCharacter attacker;
    CombatTestCharacter defender;
    CombatAttributeAccumulator accumulator;
    accumulator.SetRegion(CombatAttributeRegion::Torso);
    accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 100.0f));
    accumulator.AddDamage(
        std::make_unique<CombatAttributeDamage_BasePhysical>(T::Physical, 50.0f, 0.0f, false));
    accumulator.AddDamageModifier(std::make_unique<CombatAttributeAbsDamageMod>(T::Fire, 50.0f));
    accumulator.ProcessDamage(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(accumulator.GetDamageModifiers().empty());
    float absolute = 0.0f, duration = 0.0f;
    accumulator.GetTotalDamageType(absolute, duration, T::Fire);
    EXPECT_FLOAT_EQ(absolute, 150.0f);

    accumulator.AddDefense(std::make_unique<CombatAttributeAbsDefense>(T::Fire, 20.0f));
    accumulator.AddDefenseModifier(std::make_unique<CombatAttributeAbsDefenseMod>(T::Fire, 50.0f));
    accumulator.AddDefense(std::make_unique<CombatAttributeDefense_AbsorptionProtection>(
        50.0f, 10.0f, CombatAttributeRegion::Torso));
    accumulator.ProcessDefense(defender, 0.0f, 0.0f, 0.0f, 0.0f);
    accumulator.ExecuteDefense();
    EXPECT_TRUE(accumulator.GetDefensePayloads().empty());
    EXPECT_TRUE(accumulator.GetDefenseModifiers().empty());

    accumulator.ExecuteDamage(defender);
    ASSERT_EQ(defender.damage.size(), 2u);
    EXPECT_FLOAT_EQ(defender.damage[0].amount, 105.0f);  // 150 less 30 %
    ASSERT_EQ(defender.armourCalls.size(), 1u);
    EXPECT_EQ(defender.armourCalls[0], (std::vector<float>{50.0f, 10.0f, 5.0f, 0.0f}));
}

TEST(CombatAccumulatorFlow, TotalsReductionScalingAndClear) {
    CombatAttributeAccumulator accumulator;
    accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 10.0f));
    accumulator.AddDamage(std::make_unique<CombatAttributeDurDamage>(T::Poison, 6.0f, 2.0f));
    accumulator.ScaleDamage(200.0f);
    accumulator.ScaleDamage(0.0f);
    accumulator.ReduceDamage(50.0f);
    float absolute = 0.0f, duration = 0.0f;
    accumulator.GetTotalDamage(absolute, duration);
    EXPECT_FLOAT_EQ(absolute, 10.0f);
    EXPECT_FLOAT_EQ(duration, 6.0f);
    accumulator.Clear();
    EXPECT_TRUE(accumulator.IsEmpty());
}

TEST(CombatAccumulatorCopy, AssignmentClonesAndRestartsFromTheSeed) {
    CombatAttributeAccumulator original;
    original.SetSeed(4242);
    original.SetRegion(CombatAttributeRegion::Legs);
    original.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 10.0f));
    original.AddDefenseModifier(std::make_unique<CombatAttributeAbsDefenseMod>(T::Fire, 5.0f));
    original.GetRandomGen().IGenerate(0, 100);
    original.GetRandomGen().IGenerate(0, 100);

    CombatAttributeAccumulator copy;
    copy.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Cold, 1.0f));
    copy = original;
    EXPECT_EQ(copy.GetDamagePayloads().size(), 2u);  // appended
    EXPECT_NE(copy.GetDamagePayloads()[1].get(), original.GetDamagePayloads()[0].get());
    EXPECT_EQ(copy.GetDefenseModifiers().size(), 1u);
    EXPECT_EQ(copy.GetRegion(), CombatAttributeRegion::Legs);
    RandomUniform fresh;
    fresh.Seed(4242);
    EXPECT_EQ(copy.GetRandomGen().GetState(), fresh.GetState());
    EXPECT_NE(copy.GetRandomGen().GetState(), original.GetRandomGen().GetState());
}

TEST(ParametersCombatTest, SameGeneratorStateGivesTheSameSeedsOnTwoMachines) {
    TestMachine server;
    TestMachine client;
    std::array<std::uint32_t, 7> seeds[2];
    std::uint32_t states[2];
    int chances[2] = {0, 0};
    TestMachine* machines[2] = {&server, &client};
    for (int m = 0; m < 2; ++m) {
        ON_MACHINE(*machines[m]) {
            RandomUniform attacker;
            attacker.Seed(31337);
            ParametersCombat params(attacker);
            seeds[m] = params.attackRandoms.GetValues();
            states[m] = params.accumulator.GetRandomGen().GetState();
            for (int i = 0; i < 100; ++i)
                chances[m] += params.accumulator.EvaluateChance(40.0f) ? 1 : 0;
            // Exactly seven draws were taken from the attacker.
            RandomUniform check;
            check.Seed(31337);
            for (int i = 0; i < 7; ++i)
                check.IGenerate(0, 32765);
            EXPECT_EQ(attacker.GetState(), check.GetState());
        }
    }
    EXPECT_EQ(seeds[0], seeds[1]);
    EXPECT_EQ(states[0], states[1]);
    EXPECT_EQ(chances[0], chances[1]);
}

TEST(ParametersCombatTest, AccumulatorSeededWithTheFirstRandomAndDefaults) {
    RandomUniform attacker;
    attacker.Seed(7);
    ParametersCombat params(attacker);
    EXPECT_EQ(params.accumulator.GetSeed(), params.attackRandoms.GetValue(0));
    EXPECT_EQ(params.attackRandoms.GetMaximum(), 32765u);
    EXPECT_EQ(params.attackerId, 0u);
    EXPECT_EQ(params.combatStyle, ParametersCombatStyle::Direct);
    EXPECT_EQ(params.ragDollData.effect, CharacterRagDoll::Random);
    EXPECT_FLOAT_EQ(params.ragDollData.speed, 1.0f);
    EXPECT_TRUE(params.auraName.empty());
}

TEST(ParametersCombatTest, CopyByAssignmentNeverSharesPayloads) {
    RandomUniform attacker;
    attacker.Seed(11);
    ParametersCombat params(attacker);
    params.attackerId = 5;
    params.combatStyle = ParametersCombatStyle::Probability;
    params.auraName = "Records/Skills/Aura.dbr";
    params.manaCost = 12.0f;
    params.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 10.0f));

    ParametersCombat copy(attacker);
    copy = params;
    EXPECT_EQ(copy.attackerId, 5u);
    EXPECT_EQ(copy.combatStyle, ParametersCombatStyle::Probability);
    EXPECT_EQ(copy.auraName, params.auraName);
    EXPECT_FLOAT_EQ(copy.manaCost, 12.0f);
    EXPECT_EQ(copy.attackRandoms.GetValues(), params.attackRandoms.GetValues());
    ASSERT_EQ(copy.accumulator.GetDamagePayloads().size(), 1u);
    EXPECT_NE(copy.accumulator.GetDamagePayloads()[0].get(),
              params.accumulator.GetDamagePayloads()[0].get());
    params.accumulator.Clear();
    float absolute = 0.0f, duration = 0.0f;
    copy.accumulator.GetTotalDamage(absolute, duration);
    EXPECT_FLOAT_EQ(absolute, 10.0f);
}

}  // namespace
}  // namespace GAME::test
