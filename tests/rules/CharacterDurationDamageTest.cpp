// Poison from an attack on a loaded character: it ticks over frames of the game clock, is
// credited to its attacker, and plays out identically on two machines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Engine/sys/RandomUniform.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatFilter.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/duration/DurationDamageManager.h"
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

// Two attackers' poison with no direct attack first: each tick is credited to the attacker of
// its own entry, not to whoever struck last (nobody here).
TEST(CharacterDurationDamage, EachAttackersPoisonIsCreditedToThatAttacker) {
    TestMachine tm;
    InitializeObjects();
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    ASSERT_NE(hero, nullptr);
    RunFrame(*hero, 10);
    DurationDamageManager& damage = hero->GetDurationDamageManager();
    const std::uint32_t attackers[] = {501, 502};
    const float amounts[] = {30.0f, 50.0f};
    for (int i = 0; i < 2; ++i) {
        damage.SetAttacker(attackers[i]);
        damage.AddDamage(T::Poison, amounts[i], 1.0f);
        damage.EndAttack();
    }
    for (int frame = 0; frame < 60; ++frame)
        RunFrame(*hero, 50);
    for (int i = 0; i < 2; ++i)
        EXPECT_FLOAT_EQ(gGameEngine->GetDamageByAttacker(attackers[i], hero->GetObjectId()),
                        amounts[i])
            << attackers[i];
    ShutdownObjects();
}

// Takes the whole of every hit.
class Ward : public CombatFilter {
public:
    float ModifyDamage(float, CombatAttributeType) override { return 0.0f; }
    bool ProvidesInvulnerability(const std::vector<std::string>&) override { return false; }
};

// Life leech over time pays its attacker what the victim lost, and nothing when a filter took
// the whole of it.
TEST(CharacterDurationDamage, LifeLeechOverTimePaysNothingForAWhollyFilteredTick) {
    TestMachine tm;
    InitializeObjects();
    for (const bool warded : {false, true}) {
        Character* victim = MakeCharacter("Records/Characters/Hero.dbr");
        Character* leech = MakeCharacter("Records/Characters/Hero.dbr");
        ASSERT_TRUE(victim && leech);
        RunFrame(*victim, 10);
        RunFrame(*leech, 10);
        leech->GetCombatManager().ApplyDamage(100.0f, {}, T::Fire);
        const float leechLife = leech->GetCurrentLife();
        Ward ward;
        if (warded)
            victim->GetCombatManager().AddCombatFilter(&ward);
        DurationDamageManager& damage = victim->GetDurationDamageManager();
        damage.SetAttacker(leech->GetObjectId());
        damage.AddDamage(T::LifeLeech, 20.0f, 1.0f);
        damage.EndAttack();
        for (int frame = 0; frame < 30; ++frame)
            RunFrame(*victim, 50);
        if (warded)
            EXPECT_FLOAT_EQ(leech->GetCurrentLife(), leechLife);
        else
            EXPECT_GT(leech->GetCurrentLife(), leechLife);
        victim->GetCombatManager().RemoveCombatFilter(&ward);
    }
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
