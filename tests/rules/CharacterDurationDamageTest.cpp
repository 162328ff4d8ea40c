// Poison from an attack on a loaded character: it ticks over frames of the game clock, is
// credited to its attacker, and plays out identically on two machines.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/sys/RandomUniform.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "characters/CharacterTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

struct PoisonRun {
    std::vector<float> life;  // after each frame
    float credited = 0.0f;
    bool poisonedAtOnce = false;
    bool poisonedAtEnd = true;
};

PoisonRun PoisonHero() {
    PoisonRun run;
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    EXPECT_NE(hero, nullptr);
    EXPECT_NE(gGameEngine, nullptr);
    if (!hero || !gGameEngine)
        return run;
    RunFrame(*hero, 10);
    RandomUniform random;
    random.Seed(7);
    ParametersCombat attack(random);
    attack.attackerId = 4242;
    attack.accumulator.AddDamage(
        std::make_unique<CombatAttributeDurDamage>(T::Poison, 50.0f, 2.0f));
    EXPECT_TRUE(hero->TakeAttack(attack));
    run.poisonedAtOnce = hero->GetDurationDamageManager().IsPoisoned();
    // Uneven frames: ticks come due whenever more than 100 ms have gathered.
    for (int frame = 0; frame < 90; ++frame) {
        RunFrame(*hero, 25 + (frame % 3) * 10);
        run.life.push_back(hero->GetCurrentLife());
    }
    run.credited = gGameEngine->GetDamageByAttacker(4242, hero->GetObjectId());
    run.poisonedAtEnd = hero->GetDurationDamageManager().IsPoisoned();
    return run;
}

TEST(CharacterDurationDamage, PoisonTicksOnTheGameClockAlikeOnTwoMachines) {
    TestMachine first;
    TestMachine second;
    PoisonRun a, b;
    ON_MACHINE(first) {
        InitializeObjects();
        a = PoisonHero();
        ShutdownObjects();
    }
    ON_MACHINE(second) {
        InitializeObjects();
        b = PoisonHero();
        ShutdownObjects();
    }
    EXPECT_TRUE(a.poisonedAtOnce);
    EXPECT_FALSE(a.poisonedAtEnd);
    EXPECT_FLOAT_EQ(a.credited, 100.0f);
    ASSERT_EQ(a.life.size(), 90u);
    // Life falls over the two seconds, not at once (regeneration is slower than the poison).
    EXPECT_GT(a.life[2], 190.0f);
    EXPECT_LT(a.life[60], 120.0f);
    EXPECT_EQ(a.life, b.life);
    EXPECT_EQ(a.credited, b.credited);
}

}  // namespace
}  // namespace GAME::test
