// How a monster comes to hate: sight anger on 200 ms ticks (a long frame counts every whole
// tick), the enemy search (at most two ticks a frame), the closest-enemy check and its flee roll,
// the target kept until another is hated more than twice as much, and the pursuit range.
#include <gtest/gtest.h>

#include <optional>

#include "Engine/media/MediaRecorder.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/DistressCall.h"
#include "Game/characters/Player.h"
#include "ai/monster/MonsterControllerTestSupport.h"

namespace GAME::test {
namespace {

class MonsterTargetFinding : public MonsterControllerTest {};

TEST_F(MonsterTargetFinding, SightAngerComesInWholeTicksAndLongFramesCountEveryTick) {
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 15, "SightAngerRate": 20,
        "InnerSightAngerRate": 50, "InnerViewDistance": 5, "ForgiveRate": 5,
        "AngerTolerance": 1000})");
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 20);
    // 10 m away: the outer rate, lowered toward the edge of view.
    const float perTick = 20.0f * (1.0f - 0.1f * 10.0f / 15.0f) * 0.2f;
    EXPECT_FLOAT_EQ(controller->ProcessAngerTarget(foe, 200), perTick);

    controller->Update(100);  // one tick: sight anger, then a tick's forgiveness (1.0)
    EXPECT_FLOAT_EQ(AngerOf(foe), perTick - 1.0f);
    EXPECT_FLOAT_EQ(controller->GetAngerTickAccumulator(), 100.0f);
    controller->Update(100);  // the tick already paid for this time
    EXPECT_FLOAT_EQ(AngerOf(foe), perTick - 1.0f);
    controller->Update(500);  // three whole ticks at once
    EXPECT_FLOAT_EQ(controller->GetAngerTickAccumulator(), 100.0f);
    EXPECT_NEAR(AngerOf(foe), 4 * perTick - 4.0f, 1e-4f);

    // Inside the inner view the inner rate; exactly at its edge the outer formula.
    Character* near = Place("Records/AI/Foe.dbr", Team::Human, 12);
    Character* edge = Place("Records/AI/Foe.dbr", Team::Human, 15);
    EXPECT_FLOAT_EQ(controller->ProcessAngerTarget(near, 200), 10.0f);
    EXPECT_FLOAT_EQ(controller->ProcessAngerTarget(edge, 200),
                    20.0f * (1.0f - 0.1f * 5.0f / 15.0f) * 0.2f);
}

TEST_F(MonsterTargetFinding, TheAngerTableIsDrawnEachUpdateOnlyWhileItsCharacterShowsIt) {
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 15, "ForgiveRate": 0})");
    Place("Records/AI/Foe.dbr", Team::Human, 20);
    const MediaRecorder& media = MediaRecorder::Get();
    const std::uint64_t before = media.Count(MediaCall::StatisticGraph);
    controller->Update(200);
    EXPECT_EQ(media.Count(MediaCall::StatisticGraph), before);
    me->ShowAngerLevels(true);
    controller->Update(200);
    controller->Update(200);
    EXPECT_EQ(media.Count(MediaCall::StatisticGraph), before + 2);  // one foe, two updates
}

TEST_F(MonsterTargetFinding, OnlyAngeringLivingFoesInViewEarnSightAnger) {
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 15, "ForgiveRate": 0})");
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 20);
    Character* calm = Place("Records/AI/Calm.dbr", Team::Human, 14);
    Character* mate = Place("Records/AI/Foe.dbr", Team::Monster, 13);
    Character* far = Place("Records/AI/Foe.dbr", Team::Human, 30);
    Character* dead = Place("Records/AI/Foe.dbr", Team::Human, 16);
    dead->SetLifeState(Character_LifeState::Dead);
    controller->Update(200);
    EXPECT_GT(AngerOf(foe), 0.0f);
    for (const Character* c : {calm, mate, far, dead})
        EXPECT_FALSE(controller->GetAngerManager().GetAngerTable().contains(c->GetObjectId()));
}

TEST_F(MonsterTargetFinding, AKindThatReplacesSightAngerIsAskedForEveryFoe) {
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 15, "ForgiveRate": 0,
        "AngerTolerance": 1000})");
    controller->ReplaceSightAnger(7.0f);
    Character* near = Place("Records/AI/Foe.dbr", Team::Human, 12);
    Character* far = Place("Records/AI/Foe.dbr", Team::Human, 22);
    AngerManager expected;
    for (Character* c : {near, far})
        expected.AddAnger(*c, 3 * 7.0f);
    expected.Update(600, 0.0f, me);
    controller->Update(500);  // three whole ticks
    EXPECT_EQ(controller->GetAngerManager().GetAngerTable(), expected.GetAngerTable());
    EXPECT_FLOAT_EQ(AngerOf(far), 21.0f);
}

TEST_F(MonsterTargetFinding, TheEnemySearchRunsAtMostTwoTicksAFrame) {
    MakeController(R"({"Class": "ControllerMonster", "ForgiveRate": 0, "SightAngerRate": 0,
        "InnerSightAngerRate": 0})");
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 20);
    controller->TauntMe(50.0f, foe->GetObjectId());
    EXPECT_FALSE(controller->HasSeenEnemy());

    controller->Update(1000);
    EXPECT_EQ(Idle().findEnemyQuestions, 2);
    EXPECT_EQ(Idle().found, (std::vector<std::uint32_t>{foe->GetObjectId(), foe->GetObjectId()}));
    EXPECT_EQ(controller->GetFindEnemyTimer(), 200);
    EXPECT_TRUE(controller->HasSeenEnemy());
    controller->Update(100);
    EXPECT_EQ(Idle().findEnemyQuestions, 2);
    controller->Update(150);  // 50 ms late: one tick, and the next is due in 150 ms
    EXPECT_EQ(Idle().findEnemyQuestions, 3);
    EXPECT_EQ(controller->GetFindEnemyTimer(), 150);

    // A state that does not look finds nothing.
    Idle().findEnemy = false;
    controller->Update(200);
    EXPECT_EQ(Idle().found.size(), 3u);
}

TEST_F(MonsterTargetFinding, TheClosestEnemyCheckRollsToFleeOnlyWhenItMayFlee) {
    MakeController(R"({"Class": "ControllerMonster", "FleeBehavior": "FleeWhenEnemyClose",
        "enemyTooClose": 3, "maxFleeCount": 1, "FleeChance": 100, "ForgiveRate": 0,
        "AngerTolerance": 1000})");
    Character* foe = Place("Records/AI/Foe.dbr", Team::Human, 12);
    Place("Records/AI/Foe.dbr", Team::Human, 12.5f);  // beyond the first, not chosen
    crt_srand(7);
    const int first = crt_rand();
    const int second = crt_rand();

    crt_srand(7);
    controller->Update(200);
    ASSERT_EQ(Idle().closest.size(), 1u);
    EXPECT_EQ(Idle().closest[0].first, foe->GetObjectId());
    EXPECT_FLOAT_EQ(Idle().closest[0].second, 2.0f);
    EXPECT_EQ(crt_rand(), second);  // one draw: the flee roll

    // Fled as often as allowed: no roll and no check.
    controller->IncrementFleeCount();
    crt_srand(7);
    controller->Update(200);
    EXPECT_EQ(Idle().closest.size(), 1u);
    EXPECT_EQ(crt_rand(), first);

    // A kind that always looks needs neither the behaviour nor the roll.
    controller->alwaysLookForClosest = true;
    crt_srand(7);
    controller->Update(200);
    EXPECT_EQ(Idle().closest.size(), 2u);
    EXPECT_EQ(crt_rand(), first);
}

TEST_F(MonsterTargetFinding, TheLastTargetCountsDoubleAndPursuitRangeBoundsAnger) {
    MakeController(R"({"Class": "ControllerMonster", "MaxPursuitDistance": 20,
        "ForgiveRate": 0})");
    me->SetSpawnPoint(me->GetCoords());
    Character* a = Place("Records/AI/Foe.dbr", Team::Human, 20);
    Character* b = Place("Records/AI/Foe.dbr", Team::Human, 22);
    controller->TauntMe(30.0f, a->GetObjectId());
    EXPECT_EQ(controller->GetMostHatedEnemy(), a->GetObjectId());
    // b: 30; a: 30 - 30 / 2 * 0.7 = 19.5, counted 39 as the last target.
    controller->TauntMe(30.0f, b->GetObjectId());
    ASSERT_GT(AngerOf(b), AngerOf(a));
    EXPECT_EQ(controller->GetMostHatedEnemy(), a->GetObjectId());
    controller->TauntMe(20.0f, b->GetObjectId());
    EXPECT_EQ(controller->GetMostHatedEnemy(), b->GetObjectId());

    // 25 m from home: beyond pursuit, no anger and the state is not told.
    Character* distant = Place("Records/AI/Foe.dbr", Team::Human, 35);
    controller->UnderAttack(distant->GetObjectId());
    controller->TauntMe(50.0f, distant->GetObjectId());
    EXPECT_EQ(AngerOf(distant), 0.0f);
    EXPECT_TRUE(Idle().attackedBy.empty());
    controller->UnderAttack(a->GetObjectId());
    EXPECT_EQ(Idle().attackedBy, std::vector<std::uint32_t>{a->GetObjectId()});
    EXPECT_FALSE(controller->IsEnemyValid(distant->GetObjectId()));
    EXPECT_TRUE(controller->IsEnemyValid(a->GetObjectId()));
    EXPECT_EQ(controller->ValidEnemy(a->GetObjectId()), a);

    // Without a pursuit limit everything is in range, even an id that names nothing.
    MakeController(R"({"Class": "ControllerMonster"})");
    EXPECT_TRUE(controller->InPursuitRange(distant->GetObjectId()));
    EXPECT_TRUE(controller->InPursuitRange(9999));
}

// An ally's call answered inside the call (attacker at hand) or outside it (looked up by id)
// is bounded by the pursuit range alike: anger and the state's answer, or neither. Without a
// limit even an attacker id that names nothing is answered (though no valid enemy).
TEST_F(MonsterTargetFinding, ACallForHelpIsBoundedByPursuitRangeInsideOrOutsideTheCall) {
    constexpr float kNoCharacter = -1.0f;
    const struct {
        const char* behaviour;
        float attackerX;  // home is x = 10
        bool answered;
    } cases[] = {
        {R"({"Class": "ControllerMonster", "MaxPursuitDistance": 20, "AllyAttackedAnger": 40})",
         20.0f, true},
        {R"({"Class": "ControllerMonster", "MaxPursuitDistance": 20, "AllyAttackedAnger": 40})",
         35.0f, false},
        {R"({"Class": "ControllerMonster", "MaxPursuitDistance": 20, "AllyAttackedAnger": 40})",
         kNoCharacter, false},
        {R"({"Class": "ControllerMonster", "AllyAttackedAnger": 40})", 35.0f, true},
        {R"({"Class": "ControllerMonster", "AllyAttackedAnger": 40})", kNoCharacter, true},
    };
    me->SetSpawnPoint(me->GetCoords());
    Character* ally = Place("Records/AI/Foe.dbr", Team::Monster, 12);
    for (const auto& c : cases) {
        for (const bool inCall : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.attackerX << (inCall ? " in call" : " by id"));
            MakeController(c.behaviour);
            Character* attacker = c.attackerX == kNoCharacter
                                      ? nullptr
                                      : Place("Records/AI/Foe.dbr", Team::Human, c.attackerX);
            // Where the call's lookup found the attacker, a hint the answers start from; where the
            // id names nothing, a hint at another foe must not be taken for it.
            const std::uint32_t attackerId = attacker ? attacker->GetObjectId() : 9999;
            const Character* hinted =
                attacker ? attacker : Place("Records/AI/Foe.dbr", Team::Human, 20.0f);
            ObjectManager::Kept<Character> kept;
            Singleton<ObjectManager>::Get().GetObject(hinted->GetObjectId(), kept);
            const DistressCall call{ally->GetObjectId(), ally, attackerId, attacker, 0, kept};
            {
                std::optional<DistressCall::Scope> scope;
                if (inCall)
                    scope.emplace(call);
                ASSERT_EQ(DistressCall::Matching(call.allyId, call.attackerId) != nullptr, inCall);
                controller->AllyAttacked(call.allyId, call.attackerId);
            }
            if (attacker) {
                EXPECT_EQ(AngerOf(attacker), c.answered ? 40.0f : 0.0f);
            }
            EXPECT_EQ(Idle().allyAttacks.size(), c.answered ? 1u : 0u);
            EXPECT_EQ(Idle().attackerValid,
                      std::vector<bool>(c.answered ? 1u : 0u, attacker != nullptr));
        }
    }
}

// A crowd longer than the sweep's read-ahead, with actors that are no characters and friends
// among it: the sweep angers each foe in world order exactly as weighing it alone would, and a
// later weighing starts from where the monster stands then, not where the sweep saw it.
TEST_F(MonsterTargetFinding, TheSightSweepAngersACrowdAsWeighingEachFoeAloneWould) {
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 30, "SightAngerRate": 20,
        "InnerSightAngerRate": 50, "InnerViewDistance": 5, "ForgiveRate": 3,
        "AngerTolerance": 1000})");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<Character*> crowd;
    for (int i = 0; i < 24; ++i) {
        const float x = 11.0f + 1.1f * static_cast<float>(i);
        if (i % 5 == 0)
            World::Get().AddEntity(objects.CreateObject<Actor>(),
                                   WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, 12))), true);
        crowd.push_back(Place("Records/AI/Foe.dbr", i % 4 == 3 ? Team::Monster : Team::Human, x));
    }
    AngerManager expected;
    for (Character* c : crowd)
        if (c->GetTeam().GetTeamMajor() == Team::Human)
            expected.AddAnger(*c, controller->ProcessAngerTarget(c, 200));
    expected.Update(200, 3.0f, me);
    controller->Update(100);  // one tick
    ASSERT_GT(expected.GetAngerTable().size(), 12u);
    EXPECT_EQ(controller->GetAngerManager().GetAngerTable(), expected.GetAngerTable());

    me->SetPathPosition(WorldVec3(region, Vec3(30, 0, 10)));
    EXPECT_FLOAT_EQ(controller->ProcessAngerTarget(crowd[0], 200),
                    20.0f * (1.0f - 0.1f * 19.0f / 30.0f) * 0.2f);
}

// Crowds weighed eight foes at a time where they can be (27: the last three as a group too):
// foes with their own path position (away from where they stand, so the anger and the table's
// reach measure different places), foes standing on it, foes that anger nobody (among the last
// three too), in a region away from the world's origin. The tick's table and its closest enemy
// are those of weighing each foe alone.
struct SightCrowd {
    const char* name;
    int ownPathEvery;  // every n-th foe holds its own path position (0: none)
    int calmEvery;     // every n-th foe angers nobody (0: none)
    Vec3 offset;       // of the region the fight is in
};

class SightTickCrowds : public MonsterControllerTest,
                        public ::testing::WithParamInterface<SightCrowd> {};

TEST_P(SightTickCrowds, AreWeighedAsEachFoeAlone) {
    const SightCrowd& c = GetParam();
    region = World::Get().AddRegion(
        std::make_unique<Region>("Away", c.offset, Vec3(), Vec3(200, 50, 200)));
    World::Get().AddEntity(me, WorldCoords(region, Coords::FromOrigin(Vec3(10, 0, 10))), true);
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 30, "SightAngerRate": 20,
        "InnerSightAngerRate": 50, "InnerViewDistance": 5, "ForgiveRate": 3,
        "AngerTolerance": 1000})");
    std::vector<Character*> crowd;
    for (int i = 0; i < 27; ++i) {
        const float x = 6.0f + 0.9f * static_cast<float>(i);
        Character* foe = Place("Records/AI/Foe.dbr", Team::Human, x);
        if (c.ownPathEvery != 0 && i % c.ownPathEvery == 0)
            foe->SetPathPositionNotCoords(
                WorldVec3(region, Vec3(x + 0.3f, 0.25f, 10.0f + 0.7f * static_cast<float>(i))));
        if (c.calmEvery != 0 && i % c.calmEvery == 5)
            foe->SetCausesAnger(false);
        crowd.push_back(foe);
    }
    // The tick first: weighing a foe without a path position of its own gives it one.
    controller->Update(100);
    AngerManager expected;
    for (Character* foe : crowd)
        expected.AddAnger(*foe, controller->ProcessAngerTarget(foe, 200));
    expected.Update(200, 3.0f, me);
    const AngerManager& swept = controller->GetAngerManager();
    ASSERT_GT(expected.GetAngerTable().size(), 20u);
    EXPECT_EQ(swept.GetAngerTable(), expected.GetAngerTable());
    std::uint32_t sweptClosest = 0, expectedClosest = 0;
    float sweptDistance = 0.0f, expectedDistance = 0.0f;
    swept.GetClosestEnemy(sweptClosest, sweptDistance);
    expected.GetClosestEnemy(expectedClosest, expectedDistance);
    EXPECT_NE(expectedClosest, 0u);
    EXPECT_EQ(sweptClosest, expectedClosest);
    EXPECT_EQ(sweptDistance, expectedDistance);
}

INSTANTIATE_TEST_SUITE_P(
    MonsterTargetFinding, SightTickCrowds,
    ::testing::Values(SightCrowd{"EveryFoeOnItsOwnPath", 1, 0, Vec3()},
                      SightCrowd{"SomeFoesStandingOnTheirPath", 3, 0, Vec3()},
                      SightCrowd{"AFoeAmongEightThatAngersNobody", 1, 11, Vec3()},
                      SightCrowd{"TheLastOfAFewLeftOverAngersNobody", 1, 21, Vec3()},
                      SightCrowd{"ARegionAwayFromTheOrigin", 1, 0, Vec3(1000.25f, 3.5f, -240.75f)}),
    [](const ::testing::TestParamInfo<SightCrowd>& info) { return info.param.name; });

// A crowd of more teams than a sweep remembers, taking turns along the line: each sweep finds
// exactly the foes (and the friends) the team rules name, in world order.
TEST_F(MonsterTargetFinding, ASweepJudgesACrowdOfManyTeamsAsTheRulesDo) {
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 30})");
    me->SetTeam(TeamManager::BuildTeam(Team::Monster, Team::Red));
    const std::pair<std::uint32_t, std::uint32_t> teams[] = {{Team::Monster, Team::Blue},
                                                             {Team::Monster, Team::Red},
                                                             {Team::Friendly, 0},
                                                             {Team::Human, 0},
                                                             {Team::Monster, Team::Green},
                                                             {Team::Hostile, 0},
                                                             {Team::Monster, Team::MonsterHostile}};
    std::vector<Character*> crowd;
    for (int i = 0; i < 40; ++i) {
        Character* c =
            Place("Records/AI/Foe.dbr", Team::Human, 11.0f + 0.5f * static_cast<float>(i));
        const auto& [major, minor] = teams[static_cast<std::size_t>(i) % std::size(teams)];
        c->SetTeam(TeamManager::BuildTeam(major, minor));
        crowd.push_back(c);
    }
    for (const bool foes : {true, false}) {
        std::vector<Character*> expected, found;
        for (Character* c : crowd)
            if (foes ? me->GetTeam().IsFoe(c->GetTeam()) : me->GetTeam().IsFriend(c->GetTeam()))
                expected.push_back(c);
        controller->GetCharactersInSphere(found, region, Sphere{Vec3(10, 0, 10), 30.0f}, foes);
        ASSERT_GT(expected.size(), 10u);
        EXPECT_EQ(found, expected) << (foes ? "foes" : "friends");
    }
}

// Players are judged by their party faction (alone, a player is its own), not by the team they
// last held, wherever the sweeper's side reads a human's minor team.
TEST_F(MonsterTargetFinding, ASweepJudgesPlayersByTheirFactionWhereverItsSideReadsIt) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText("Records/AI/Player.dbr",
                                                               R"({"Class": "Player"})"));
    MakeController(R"({"Class": "ControllerMonster", "ViewDistance": 30})");
    std::vector<Character*> players;
    for (int i = 0; i < 5; ++i) {
        players.push_back(
            Place("Records/AI/Player.dbr", Team::Human, 11.0f + 0.5f * static_cast<float>(i)));
        ASSERT_TRUE(players.back()->IsA<Player>());
    }
    const std::uint32_t first = players[0]->GetObjectId();
    // Held minors that are not the faction: the first's faction, a stale one; one player
    // invisible and one on the monsters' side.
    players[1]->SetTeam(TeamManager::BuildTeam(Team::Human, first));
    players[2]->SetTeam(TeamManager::BuildTeam(Team::Human, 7));
    players[3]->SetInvisible(true);
    players[4]->SetTeam(TeamManager::BuildTeam(Team::Monster, Team::Red));
    const std::pair<const char*, Team> sides[] = {
        {"red", TeamManager::BuildTeam(Team::Monster, Team::Red)},
        {"blue", TeamManager::BuildTeam(Team::Monster, Team::Blue)},
        {"the first's faction", TeamManager::BuildTeam(Team::Human, first)},
        {"a stale faction", TeamManager::BuildTeam(Team::Human, 7)},
        {"friendly", TeamManager::InvisibleTeam()},
        {"hostile", TeamManager::BuildTeam(Team::Hostile, 0)}};
    for (const bool pvp : {false, true}) {
        Singleton<GameInfo>::Get().SetPvP(pvp);
        for (const auto& [name, side] : sides) {
            me->SetTeam(side);
            for (const bool foes : {true, false}) {
                std::vector<Character*> expected, found;
                for (Character* c : players)
                    if (foes ? side.IsFoe(c->GetTeam()) : side.IsFriend(c->GetTeam()))
                        expected.push_back(c);
                controller->GetCharactersInSphere(found, region, Sphere{Vec3(10, 0, 10), 30.0f},
                                                  foes);
                EXPECT_EQ(found, expected)
                    << name << (foes ? " foes" : " friends") << " pvp " << pvp;
            }
        }
    }
    Singleton<GameInfo>::Get().SetPvP(false);
}

}  // namespace
}  // namespace GAME::test
