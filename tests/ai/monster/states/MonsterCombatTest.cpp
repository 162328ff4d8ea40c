// A monster's combat loop over whole frames on the sample meadow: it sees a hero beyond the
// wall, runs around the wall, waits while the only attack slot is taken, attacks with its claw,
// decides again at the end of each attack and kills the hero.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "Game/ai/monster/states/CombatStates.h"
#include "MonsterCombatTestSupport.h"

namespace GAME::test {
namespace {

// The meadow's first wall, over x and z.
bool InsideWall(const Vec3& p) {
    return p.x > 20.0f && p.x < 22.0f && p.z > 10.0f && p.z < 40.0f;
}

// The states a controller went through, each change once.
struct StateTrail {
    std::vector<std::string> names;
    void Note(const std::string& name) {
        if (names.empty() || names.back() != name)
            names.push_back(name);
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const std::string& each : names)
            n += each == name;
        return n;
    }
    bool Visited(const std::string& name) const { return Count(name) > 0; }
};

// Sees far and forgives slowly, so that sight alone angers it within a second or two.
constexpr const char* kWatchful = R"("ViewDistance": 30, "SightAngerRate": 60, "ForgiveRate": 5,
    "PursuitTime": 0, "EmoteWhenWaitingChance": 100)";

class MonsterCombat : public MonsterCombatTest {};

TEST_F(MonsterCombat, SeesTheHeroRunsAroundTheWallAttacksUntilItDiesThenGoesHome) {
    DefineBrute(kWatchful);
    Monster* monster = SpawnMonster(10, 25);
    Character* hero = SpawnHero(32, 25);
    ControllerMonster* brain = Brain(monster);
    const std::uint32_t claw = SkillId(monster, kClaw);
    ASSERT_NE(claw, 0u);

    StateTrail trail;
    std::vector<Vec3> steps;
    int hits = 0;
    int frames = 0;
    for (; frames < 1500 && hero->IsAlive(); ++frames) {
        const float life = hero->GetCurrentLife();
        Frame();
        hits += hero->GetCurrentLife() < life;
        trail.Note(Executing(brain));
        steps.push_back(monster->GetCoords().GetRegionCoords().origin);
    }
    ASSERT_FALSE(hero->IsAlive()) << "after " << frames << " frames";
    EXPECT_EQ(trail.names.front(), "Idle");
    ASSERT_TRUE(trail.Visited("Pursue"));
    ASSERT_TRUE(trail.Visited("Attack"));

    float travelled = 0.0f;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_FALSE(InsideWall(steps[i])) << i;
        if (i > 0)
            travelled += (steps[i] - steps[i - 1]).Length();
    }
    // Around an end of the wall: longer than the straight line to its slot beside the hero.
    EXPECT_GT(travelled, 25.0f);
    // Claws of 40 against 100 life: it attacked again at the end of each attack.
    EXPECT_EQ(hits, 3);
    EXPECT_LE(hero->GetCurrentLife(), 0.0f);
    // The enemy is gone: on its next frame the monster leaves the fight for home.
    Frame();
    EXPECT_EQ(Executing(brain), "Return");
}

TEST_F(MonsterCombat, TheHuntRunsTheSameOnAnotherMachine) {
    // The monster's steps, then the hero's life at the end.
    auto hunt = [&] {
        DefineBrute(kWatchful);
        Monster* monster = SpawnMonster(10, 25);
        Character* hero = SpawnHero(32, 25);
        std::vector<Vec3> trace;
        for (int frame = 0; frame < 1500 && hero->IsAlive(); ++frame) {
            Frame();
            trace.push_back(monster->GetCoords().GetRegionCoords().origin);
        }
        trace.emplace_back(hero->GetCurrentLife(), 0.0f, 0.0f);
        return trace;
    };
    const std::vector<Vec3> here = hunt();
    std::vector<Vec3> there;
    {
        TestMachine other{Copy().Root()};
        OpenWorld();
        there = hunt();
        ShutdownObjects();
    }
    ASSERT_EQ(here.size(), there.size());
    for (std::size_t i = 0; i < here.size(); ++i)
        ASSERT_TRUE(here[i] == there[i]) << "frame " << i;
}

TEST_F(MonsterCombat, TheSecondMonsterWaitsWhileTheOnlySlotIsTaken) {
    DefineBrute(kWatchful);
    Character* hero = SpawnHero(10, 35);
    hero->GetAttackSlots().SetNumSlots(1);
    Monster* first = SpawnMonster(10, 29);
    Monster* second = SpawnMonster(13, 31);
    StateTrail firstTrail, secondTrail;
    for (int frame = 0; frame < 600 && hero->IsAlive(); ++frame) {
        Frame();
        firstTrail.Note(Executing(Brain(first)));
        secondTrail.Note(Executing(Brain(second)));
    }
    EXPECT_FALSE(hero->IsAlive());
    // One of them held the slot and attacked; the other waited for it.
    const StateTrail& attacker = firstTrail.Visited("WaitToAttack") ? secondTrail : firstTrail;
    const StateTrail& waiter = firstTrail.Visited("WaitToAttack") ? firstTrail : secondTrail;
    EXPECT_TRUE(attacker.Visited("Attack"));
    EXPECT_TRUE(waiter.Visited("WaitToAttack"));
}

// A brain's reach check asks for its slot. Alone it may take over a dead holder's slot then; in a
// network game only the path update, which every machine runs, may change the ring: nothing
// tells the clients of the server's look.
TEST_F(MonsterCombat, TheReachCheckFreesADeadHoldersSlotOnlyInAGameOfOne) {
    struct Case {
        const char* name;
        bool network;
        bool server;
        bool deadKeepsSlot;
    };
    for (const Case& c : {Case{"alone", false, false, false}, Case{"server", true, true, true}}) {
        SCOPED_TRACE(c.name);
        DefineBrute(kWatchful);
        Character* hero = SpawnHero(10, 35);
        hero->GetAttackSlots().SetNumSlots(2);
        Monster* first = SpawnMonster(10, 29);
        Monster* second = SpawnMonster(13, 31);
        const auto holds = [&](Monster* monster) {
            for (std::size_t i = 0; i < hero->GetAttackSlots().GetNumSlots(); ++i)
                if (hero->GetAttackSlots().GetOccupant(i) == monster->GetObjectId())
                    return true;
            return false;
        };
        for (int frame = 0; frame < 600 && !(holds(first) && holds(second)); ++frame)
            Frame();
        ASSERT_TRUE(holds(first) && holds(second));
        ASSERT_FALSE(hero->IsMoving());
        first->SetLifeState(Character_LifeState::Dead);
        gEngine->SetNetworkMode(c.network, c.server);
        Brain(second)->GetExecutingState()->CloseEnoughToUseSkill(hero->GetObjectId(),
                                                                  SkillId(second, kClaw));
        gEngine->SetNetworkMode(false, false);
        EXPECT_EQ(holds(first), c.deadKeepsSlot);
        EXPECT_TRUE(holds(second));
        ShutdownObjects();
        OpenWorld();
    }
}

TEST_F(MonsterCombat, AWaitingMonsterCirclesBeyondANearEnemyOrAroundItselfWhenFar) {
    DefineBrute(R"("EmoteWhenWaitingChance": 0)");
    Monster* monster = SpawnMonster(10, 25);
    Character* near = SpawnHero(12, 25);
    Character* far = SpawnHero(10, 33);
    ControllerMonster* brain = Brain(monster);
    Frame();
    auto wait = [&](Character* enemy) {
        brain->SetState("WaitToAttack", ControllerAIStateData({.enemy = enemy->GetObjectId()}));
        EXPECT_EQ(Executing(brain), "WaitToAttack");
        return dynamic_cast<ControllerMonsterStateWaitToAttack*>(brain->GetExecutingState());
    };
    const auto* state = wait(near);
    ASSERT_NE(state, nullptr);
    // As far beyond the enemy as the monster stands before it, within a radius of 2.
    const Vec3 beyond = near->GetCoords().GetRegionCoords().origin +
                        monster->GetPathPosition().VectorTo(near->GetCoords().GetPosition());
    EXPECT_LT((state->GetAnchor().local - beyond).Length(), 1e-4f);
    EXPECT_FLOAT_EQ(state->GetAnchorRadius(), 2.0f);
    brain->SetState("Idle", ControllerAIStateData());
    state = wait(far);
    EXPECT_EQ(state->GetAnchor(), monster->GetPathPosition());
    EXPECT_FLOAT_EQ(state->GetAnchorRadius(),
                    0.5f * monster->GetPathPosition().DistanceTo(far->GetCoords().GetPosition()));
}

// Idle's countdown ends in a roam only for a monster that roams and has legs to walk on; the
// others wait without a draw. Each pair is a fresh meadow: the brute's records are read once.
class IdleRoaming : public MonsterCombatTest,
                    public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(IdleRoaming, TheCountdownEndsInARoamOnlyForALeggedRoamer) {
    const auto [roams, legs] = GetParam();
    const std::string soon = R"("MinTimeBeforeRoam": 100, "MaxTimeBeforeRoam": 100)";
    DefineBrute(roams ? R"("RoamBehavior": "Roam", )" + soon : soon, "", legs);
    ControllerMonster* brain = Brain(SpawnMonster(10, 25));
    ASSERT_NE(brain, nullptr);
    Frame();
    brain->SetState("Idle", ControllerAIStateData());
    ASSERT_EQ(Executing(brain), "Idle");
    // A monster that stays idle draws nothing (a roam that fails at once draws a new countdown).
    crt_srand(7);
    const int first = crt_rand();
    crt_srand(7);
    brain->GetExecutingState()->OnUpdate(101);
    const bool drew = crt_rand() != first;
    EXPECT_EQ(Executing(brain), roams && legs ? "Roam" : "Idle");
    EXPECT_EQ(drew, roams && legs);
}

INSTANTIATE_TEST_SUITE_P(RoamsAndLegs, IdleRoaming,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

// Emoting at the enemy needs the facing axis dotted with the unnormalised way to the enemy above
// 0.5236: distance counts, so a far enemy well aside is faced and a near one straight ahead not.
TEST(MonsterWaitToAttack, EmotesWhenFacingDotWayToEnemyExceedsThreshold) {
    using State = ControllerMonsterStateWaitToAttack;
    struct Case {
        Vec3 toEnemy;
        bool faces;
    };
    const Vec3 forward(0, 0, 1);
    for (const Case& c :
         {Case{Vec3(0, 0, 10), true}, Case{Vec3(10, 0, 10), true}, Case{Vec3(0.1f, 0, 0.5f), false},
          Case{Vec3(0, 0, 0.53f), true}, Case{Vec3(0, 0, 0.52f), false},
          Case{Vec3(0, 0, -3), false}, Case{Vec3(), false}})
        EXPECT_EQ(State::Faces(forward, c.toEnemy), c.faces) << c.toEnemy.x << "," << c.toEnemy.z;
}

}  // namespace
}  // namespace GAME::test
