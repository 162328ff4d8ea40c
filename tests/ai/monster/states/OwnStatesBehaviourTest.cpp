// What the movement, crowd-control, quest and death states do along the way: where a monster
// roams, the order it patrols in, where it flees and how it goes home, a stun from start to end,
// the completion reports of quest commands, the paralysis time and the single use of a dying
// skill.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/events/EventManager.h"
#include "Engine/text/Name.h"
#include "Engine/world/UniqueIdMap.h"
#include "Game/ai/monster/states/DisabledStates.h"
#include "Game/ai/monster/states/ScriptedStates.h"
#include "Game/ai/movement/PatrolPoint.h"
#include "Game/characters/actions/AttackAction.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/MoveActions.h"
#include "Game/skills/Skill.h"
#include "ai/monster/states/MonsterStateScene.h"

namespace GAME::test {
namespace {

// Counts the game events of one name while it lives.
class EventCount : public EventHandlerInterface {
public:
    explicit EventCount(std::string name) : mName(std::move(name)) {
        Singleton<EventManager>::Get().Register(mName, this);
    }
    ~EventCount() override { Singleton<EventManager>::Get().UnRegister(mName, this); }
    void HandleEvent(const GameEvent*) override { ++count; }
    int count = 0;

private:
    std::string mName;
};

class OwnStatesBehaviour : public MonsterStateScene {
protected:
    StateSceneController& C() const { return Ctl(monster); }
    CharacterActionType Action() const { return monster->GetActionHandler().GetActionType(); }
    // Where the monster's running or walking action takes it (no region: neither runs).
    WorldVec3 Heading() const {
        const CharacterAction* action = monster->GetActionHandler().GetCurrentAction();
        if (const auto* run = dynamic_cast<const MoveToAction*>(action))
            return run->GetTarget();
        if (const auto* walk = dynamic_cast<const WalkAction*>(action))
            return walk->GetTarget();
        return WorldVec3();
    }
    // How many draws of the machine's generator `act` takes.
    template <class F>
    static int DrawsTaken(F&& act) {
        crt_srand(11);
        act();
        const int next = crt_rand();
        crt_srand(11);
        for (int n = 0; n < 1000; ++n)
            if (crt_rand() == next)
                return n;
        return -1;
    }
    void End() { C().HandleEvent(Name::Create("End")); }
    Skill* Blast() const {
        const std::uint32_t id = monster->GetSkillManager().FindSkillId("Records/AI/Blast.dbr");
        return Singleton<ObjectManager>::Get().GetObject<Skill>(id);
    }
    static void SetCooldown(Skill& skill, float ms) {
        if (ms > 0.0f)
            skill.ReplaceCooldownTime(ms);
        else
            skill.EndCooldown();
        skill.SetAvailability(true, false);
    }
};

TEST_F(OwnStatesBehaviour, RoamWalksNearItsSpawnPointAndStopsFourTimesInFive) {
    Begin("Roam");
    ASSERT_EQ(StateName(), "Roam");
    EXPECT_EQ(Action(), CharacterActionType_Walk);
    const WorldVec3 target = Heading();
    // Within "RoamDistance" 8 of home (the free point may step aside a little), and farther
    // than "MinRoamDistance" 2 from the monster.
    EXPECT_LT(monster->GetSpawnPoint().GetPosition().DistanceTo(target), 8.0f + 1.0f);
    EXPECT_GT(monster->GetPathPosition().DistanceTo(target), 2.0f - 0.5f);

    int idles = 0;
    for (int i = 0; i < 200; ++i) {
        Begin("Roam");
        C().EndOfPathReached();
        idles += StateName() == "Idle" ? 1 : 0;
    }
    EXPECT_NEAR(idles, 160, 20);
}

TEST_F(OwnStatesBehaviour, PatrolWalksItsPointsInRingOrderFromTheClosest) {
    const std::vector<WorldVec3> at = {At(44, 30), At(33, 30), At(30, 44)};
    std::vector<UniqueId> route;
    for (std::size_t i = 0; i < at.size(); ++i) {
        auto* point = Singleton<ObjectManager>::Get().CreateObject<PatrolPoint>();
        point->SetUniqueId(UniqueId(static_cast<std::uint32_t>(i) + 1, 5, 5, 5));
        UniqueIdMap::Get().Add(point->GetUniqueId(), point->GetObjectId());
        World::Get().AddEntity(point, WorldCoords(meadow, Coords::FromOrigin(at[i].local)), true);
        route.push_back(point->GetUniqueId());
    }
    C().SetPatrolRoute(route);

    Begin("Patrol");
    EXPECT_EQ(C().GetCurrentPatrolPoint(), 1);
    EXPECT_LT(Heading().DistanceTo(at[1]), 0.5f);
    C().EndOfPathReached();  // never idles on this route
    EXPECT_EQ(C().GetCurrentPatrolPoint(), 2);
    EXPECT_LT(Heading().DistanceTo(at[2]), 0.5f);
    // After the last comes the first; standing on it, the monster walks on to the next one
    // while the route stays at the first.
    monster->SetPathPosition(at[0]);
    C().EndOfPathReached();
    EXPECT_EQ(C().GetCurrentPatrolPoint(), 0);
    EXPECT_LT(Heading().DistanceTo(at[1]), 0.5f);
    EXPECT_EQ(StateName(), "Patrol");

    // A route whose every point is where the monster stands sends it home.
    C().SetPatrolRoute({route[0]});
    Begin("Patrol");
    EXPECT_EQ(StateName(), "Return");
}

TEST_F(OwnStatesBehaviour, FleeRunsAwayFromTheEnemyAndReturnRunsHome) {
    const Character* foe = SpawnFoe(26, 30);
    Begin("Flee", foe->GetObjectId());
    ASSERT_EQ(StateName(), "Flee");
    EXPECT_EQ(C().GetFleeCount(), 1u);
    EXPECT_EQ(Action(), CharacterActionType_MoveTo);
    // "fleeDistance" 6 straight away from the foe, up to 1 aside either way.
    const WorldVec3 refuge = Heading();
    EXPECT_GT(refuge.local.x, 30.0f + 6.0f - 1.5f);
    EXPECT_NEAR(refuge.local.z, 30.0f, 1.5f);

    monster->SetPathPosition(refuge);
    C().EndOfPathReached();
    EXPECT_EQ(StateName(), "Idle");
    EXPECT_EQ(C().GetFleeTimer(), C().GetFleeDelay());
    // "ResetOriginAfterFleeing": the refuge is home now.
    EXPECT_LT(monster->GetSpawnPoint().GetPosition().DistanceTo(refuge), 0.01f);

    const WorldVec3 home = At(30, 30);
    monster->SetSpawnPoint(WorldCoords(meadow, Coords::FromOrigin(home.local)));
    Begin("Return");
    EXPECT_EQ(StateName(), "Return");
    EXPECT_EQ(Action(), CharacterActionType_MoveTo);
    EXPECT_LT(Heading().DistanceTo(home), 0.5f);
    C().EndOfPathReached();
    EXPECT_EQ(StateName(), "Idle");
}

TEST_F(OwnStatesBehaviour, AStunHoldsTheMonsterUntilItEndsAndThenItGoesHome) {
    C().StunMe(1500.0f);
    EXPECT_EQ(StateName(), "Stunned");
    EXPECT_EQ(C().GetStunTime(), 1500);
    EXPECT_EQ(monster->GetActionState(), Character_ActionState::Stun);
    // Enemies and path ends do not move a stunned monster.
    State().EnemyFound(SpawnFoe(33, 30)->GetObjectId());
    C().EndOfPathReached();
    EXPECT_EQ(StateName(), "Stunned");

    monster->EndStun();  // "Return", and it stands at home
    EXPECT_EQ(StateName(), "Idle");
}

TEST_F(OwnStatesBehaviour, AQuestMoveReportsItsCompletionEvenWhenItHasToTeleport) {
    EventCount moved("GameEvent_MoveCompleted");
    const WorldVec3 goal = At(38, 30);
    Begin("Roam");
    monster->QuestCommandMove(0, goal, false);
    ASSERT_EQ(StateName(), "QuestMove");
    EXPECT_FALSE(State().ShouldFindEnemy());
    EXPECT_EQ(moved.count, 0);
    monster->SetPathPosition(goal);
    C().EndOfPathReached();
    EXPECT_EQ(StateName(), "Idle");
    EXPECT_EQ(moved.count, 1);
    EXPECT_LT(monster->GetSpawnPoint().GetPosition().DistanceTo(goal), 0.01f);

    // No path to the point: placed there at once, and reported all the same.
    C().SetMoveTerrainPoint(InCave());
    Begin("QuestWalk");
    EXPECT_EQ(StateName(), "Idle");
    EXPECT_EQ(monster->GetPathPosition().region, InCave().region);
    EXPECT_EQ(moved.count, 2);
}

TEST_F(OwnStatesBehaviour, AQuestSkillNotReadyIsWaitedForAndTheQuestAlwaysHearsBack) {
    EventCount done("GameEvent_AnimationCompleted");
    Skill* blast = Blast();
    ASSERT_NE(blast, nullptr);
    const std::uint32_t foe = SpawnFoe(33, 30)->GetObjectId();

    SetCooldown(*blast, 1000.0f);
    Begin("Roam");
    monster->QuestCommandUseSkill("Records/AI/Blast.dbr", foe, false);
    ASSERT_EQ(StateName(), "QuestUseSkill");
    EXPECT_EQ(tm->CountLog("Skill is not ready in ControllerMonsterStateQuestUseSkill"), 1);
    State().OnUpdate(500);
    EXPECT_NE(Action(), CharacterActionType_Attack);
    SetCooldown(*blast, 0.0f);
    State().OnUpdate(100);
    EXPECT_EQ(Action(), CharacterActionType_Attack);
    End();
    EXPECT_EQ(StateName(), "Idle");
    EXPECT_EQ(done.count, 1);

    // A skill that stays unready is given up after the bounded wait, and reported.
    SetCooldown(*blast, 600000.0f);
    Begin("Roam");
    monster->QuestCommandUseSkill("Records/AI/Blast.dbr", foe, false);
    State().OnUpdate(ControllerMonsterStateQuestUseSkill::kMaxSkillWait - 1);
    EXPECT_EQ(StateName(), "QuestUseSkill");
    State().OnUpdate(1);
    EXPECT_EQ(StateName(), "Idle");
    EXPECT_EQ(done.count, 2);
}

TEST_F(OwnStatesBehaviour, ATrappedAttackOnAVanishedEnemyStaysTrapped) {
    Character* foe = SpawnFoe(33, 30);
    const std::uint32_t id = foe->GetObjectId();
    Singleton<ObjectManager>::Get().DestroyObjectEx(foe, __FILE__, __LINE__);
    Begin("TrappedAttack", id, 0, Blast()->GetObjectId());
    EXPECT_EQ(StateName(), "Trapped");
    EXPECT_EQ(Action(), CharacterActionType_TakeTrap);
}

TEST_F(OwnStatesBehaviour, ATrappedMonsterStrikesWithTheSkillItChose) {
    const std::uint32_t blast = Blast()->GetObjectId();
    C().forcedSkill = blast;
    Begin("Trapped");
    const std::uint32_t foe = SpawnFoe(33, 30)->GetObjectId();
    State().EnemyFound(foe);
    ASSERT_EQ(StateName(), "TrappedAttack");
    EXPECT_EQ(C().GetCurrentEnemy(), foe);
    EXPECT_EQ(C().GetCurrentAlly(), 0u);
    EXPECT_EQ(C().GetCurrentSkillID(), blast);
    const auto* attack =
        dynamic_cast<const AttackAction*>(monster->GetActionHandler().GetCurrentAction());
    ASSERT_NE(attack, nullptr);
    // The action names the skill by the monster's reference number for it.
    EXPECT_EQ(attack->GetSkillId(), monster->GetSkillManager().GetSkillReferenceNumber(blast));
    EXPECT_NE(attack->GetSkillId(), monster->GetSkillManager().GetSkillReferenceNumber(0));
}

TEST_F(OwnStatesBehaviour, ParalysisShrinksBy160MsPerUnitOfDistanceInStepsOf25) {
    using Paralyze = ControllerMonsterStateParalyze;
    EXPECT_EQ(Paralyze::GetParalysisTime(0.0f), 4000);
    EXPECT_EQ(Paralyze::GetParalysisTime(8.7f), 4000 - 8 * 160);
    EXPECT_EQ(Paralyze::GetParalysisTime(20.0f), 800);
    EXPECT_EQ(Paralyze::GetParalysisTime(24.99f), 160);
    EXPECT_EQ(Paralyze::GetParalysisTime(25.0f), 4000);
    EXPECT_EQ(Paralyze::GetParalysisTime(48.0f), 320);
}

TEST_F(OwnStatesBehaviour, DyingUsesTheDyingSkillOnceAndStartsNoAttack) {
    // The same death without a dying skill, for the draws a death takes anyway; far enough
    // away that neither sees the other die.
    Monster* plain = SpawnMonster(58, 58);
    const int deathDraws = DrawsTaken([&] { Ctl(plain).CharacterIsDying(); });

    auto* lastGasp = Singleton<ObjectManager>::Get().GetObject<ActivationWitnessSkill>(
        monster->GetSkillManager().FindSkillId("Records/AI/LastGasp.dbr"));
    ASSERT_NE(lastGasp, nullptr);
    C().SetDyingSkill(lastGasp->GetObjectId());
    // Still alive: it dies itself first, and that death comes back as a second dying.
    const int draws = DrawsTaken([&] { C().CharacterIsDying(); });
    EXPECT_EQ(StateName(), "Dying");
    EXPECT_FALSE(monster->IsAlive());
    EXPECT_EQ(Action(), CharacterActionType_Die);
    EXPECT_EQ(lastGasp->activations, std::vector<std::string>{"End"});
    EXPECT_EQ(draws, deathDraws + 1);  // one seed, for one use

    C().CharacterIsDead();
    EXPECT_EQ(StateName(), "Dead");
    EXPECT_NE(Singleton<ObjectManager>::Get().GetObject<Monster>(monster->GetObjectId()), nullptr);
}

}  // namespace
}  // namespace GAME::test
