#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "CharacterTestSupport.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

// An attack of fire and physical damage from the given attacker.
void Strike(Character& target, std::uint32_t attacker, RandomUniform& random) {
    ParametersCombat attack(random);
    attack.attackerId = attacker;
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 40.0f));
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Cold, 10.0f));
    EXPECT_TRUE(target.TakeAttack(attack));
}

TEST(CharacterCombat, PayloadsOfAnAttackTakeLifeThroughTheDefenses) {
    TestMachine tm;
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    ASSERT_NE(hero, nullptr);
    RunFrame(*hero, 10);
    RandomUniform random;
    random.Seed(99);
    Strike(*hero, 4242, random);
    // Fire resisted by 25 %, cold taken whole.
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 200.0f - 30.0f - 10.0f);
    EXPECT_EQ(hero->GetAttackerId(), 4242u);
    EXPECT_EQ(hero->GetPlayStats().GetHitsReceived(), 1u);
    EXPECT_FLOAT_EQ(hero->GetPlayStats().GetDamageReceived({1, T::Fire}), 30.0f);
    EXPECT_EQ(hero->GetDistressCallsLeft(), 0);

    hero->SetGod(true);
    Strike(*hero, 4242, random);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 160.0f);
    EXPECT_FLOAT_EQ(hero->GetPlayStats().GetDamageReceived({1, T::Fire}), 30.0f);
    // Damage of nothing changes nothing.
    hero->SetGod(false);
    hero->ApplyDamage(0.0f, {1, T::Fire}, T::Fire);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), 160.0f);
}

TEST(CharacterCombat, SpeedsHalveTheBaseAttackSpeedWhenDualWielding) {
    struct Swift : Character {
        void GetEquipCharAttributes(CharAttributeAccumulator& accumulator) override {
            accumulator.AddValue(CharAttributeType::AttackSpeed, 20.0f);
            accumulator.AddValue(CharAttributeType::BaseAttackSpeed, 100.0f);
        }
    };
    TestMachine tm;
    Swift swift;
    swift.Load(Singleton<ObjectManager>::Get().GetLoadTable("Records/Characters/Hero.dbr"));
    swift.InitialUpdate();
    EXPECT_FLOAT_EQ(swift.GetAttackSpeed(), 120.0f);
    test::SetHandState(swift, 2);
    EXPECT_FLOAT_EQ(swift.GetAttackSpeed(), 70.0f);
    // No root: no absolute cap for a warming-up character.
    test::SetWarmUpSpeed(swift, true);
    EXPECT_FLOAT_EQ(swift.GetRunSpeed(), 100.0f);
}

// The one cap rule of the player, monster and absolute run speed caps (percent of the base 100).
TEST(CharacterCombat, SpeedCapsHoldTheSpeedBetweenPercentsOfItsBaseAndAMaximumBelowTheMinimumWins) {
    TestMachine tm;
    Character hero;
    hero.Load(Singleton<ObjectManager>::Get().GetLoadTable("Records/Characters/Hero.dbr"));
    hero.InitialUpdate();
    const struct {
        float speed, capMin, capMax, expected;
    } cases[] = {
        {10.0f, 0.0f, 150.0f, 10.0f},    {10.0f, 50.0f, -1.0f, 10.0f},
        {10.0f, 50.0f, 150.0f, 50.0f},   {120.0f, 50.0f, 150.0f, 120.0f},
        {400.0f, 50.0f, 150.0f, 150.0f}, {10.0f, 80.0f, 60.0f, 60.0f},
        {70.0f, 80.0f, 60.0f, 60.0f},    {100.0f, 80.0f, 60.0f, 60.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(
            hero.CapSpeedToBase(c.speed, c.capMin, c.capMax, CharAttributeType::RunSpeed),
            c.expected)
            << c.speed << " capped by " << c.capMin << ".." << c.capMax;
}

// Vitals of a fixed script of frames, attacks and regeneration on one machine.
std::pair<float, float> PlayScript() {
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    RandomUniform random;
    random.Seed(7);
    for (int frame = 0; frame < 120; ++frame) {
        if (frame % 25 == 3)
            Strike(*hero, 1, random);
        if (frame == 40)
            hero->SubtractMana(35.0f);
        RunFrame(*hero, 33);
    }
    return {hero->GetCurrentLife(), hero->GetCurrentMana()};
}

TEST(CharacterCombat, TheSameScriptOnTwoMachinesEndsInIdenticalVitals) {
    TestMachine first;
    TestMachine second;
    std::pair<float, float> a, b;
    ON_MACHINE(first) {
        a = PlayScript();
    }
    ON_MACHINE(second) {
        b = PlayScript();
    }
    EXPECT_LT(a.first, 200.0f);
    EXPECT_EQ(a.first, b.first);
    EXPECT_EQ(a.second, b.second);
}

}  // namespace
}  // namespace GAME::test
