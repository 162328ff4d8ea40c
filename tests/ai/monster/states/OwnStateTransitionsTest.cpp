// Every row of the monster transition table that starts in a movement, crowd-control, quest or
// death state, walked through a scenario: the target state is a marker, so the test sees where
// the transition lands without the target running on.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "Engine/text/Name.h"
#include "ai/monster/states/MonsterStateScene.h"
#include "ai/monster/states/MonsterTransitionTable.h"

namespace GAME::test {
namespace {

const std::set<std::string> kOwnStates = {
    "Flee",          "Roam",         "Wander",       "WanderPause", "Return",
    "Patrol",        "FollowLeader", "DefendLeader", "Move",        "Paralyze",
    "Panic",         "Confused",     "Immobile",     "Stunned",     "Trapped",
    "TrappedAttack", "Scared",       "QuestMove",    "QuestWalk",   "QuestPlayAnimation",
    "QuestUseSkill"};

class OwnStateTransitions : public MonsterStateScene {
protected:
    // A fresh monster at (30, 30) whose `target` state is a marker.
    void Restart(const char* target) {
        ShutdownObjects();
        InitializeObjects();
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        monster = SpawnMonster(30, 30, "Records/AI/Walker.dbr", target);
        ASSERT_NE(monster, nullptr);
    }
    StateSceneController& C() const { return Ctl(monster); }
    void End() { C().HandleEvent(Name::Create("End")); }
    std::uint32_t Foe(float x = 33) { return SpawnFoe(x, 30)->GetObjectId(); }
    Monster* Leader(float x = 33) { return GiveLeader(monster, x, 30); }
    void Destroy(Object* object) {
        Singleton<ObjectManager>::Get().DestroyObjectEx(object, __FILE__, __LINE__);
    }

    std::map<std::string, std::function<void()>> Scenarios();
};

std::map<std::string, std::function<void()>> OwnStateTransitions::Scenarios() {
    return {
        {"Flee | flee time over",
         [&] {
             Begin("Flee", Foe());
             State().OnUpdate(3001);
         }},
        {"Flee | path end",
         [&] {
             Begin("Flee", Foe());
             C().EndOfPathReached();
         }},
        {"Flee | no flee point", [&] { Begin("Flee"); }},
        {"Roam | no point",
         [&] {
             monster->SetSpawnPoint(
                 WorldCoords(InCave().region, Coords::FromOrigin(InCave().local)));
             Begin("Roam");
         }},
        {"Roam | path end without a new roam",
         [&] {
             Begin("Roam");
             SeedNextRoll(20, false);
             C().EndOfPathReached();
         }},
        {"Wander | path end",
         [&] {
             Leader();
             Begin("Wander");
             C().EndOfPathReached();
         }},
        {"Wander | leader gone",
         [&] {
             Monster* leader = Leader();
             Begin("Wander");
             Destroy(leader);
             State().OnUpdate(10);
         }},
        {"Wander | too far from leader",
         [&] {
             Monster* leader = Leader();
             Begin("Wander");
             leader->SetPathPosition(At(55, 55));
             State().OnUpdate(10);
         }},
        {"Wander | OnBegin without leader or point", [&] { Begin("Wander"); }},
        {"WanderPause | leader gone",
         [&] {
             Monster* leader = Leader();
             Begin("WanderPause");
             Destroy(leader);
             State().OnUpdate(10);
         }},
        {"WanderPause | too far from leader",
         [&] {
             Monster* leader = Leader();
             Begin("WanderPause");
             leader->SetPathPosition(At(55, 55));
             State().OnUpdate(10);
         }},
        {"WanderPause | pause over",
         [&] {
             Leader();
             Begin("WanderPause");
             State().OnUpdate(10000);
         }},
        {"Return | leader",
         [&] {
             Leader();
             Begin("Return");
         }},
        {"Return | enemy still hated and valid",
         [&] {
             const std::uint32_t foe = Foe(34);
             C().GetAngerManager().AddAnger(foe, 100.0f);
             Begin("Return");
         }},
        {"Return | at home", [&] { Begin("Return"); }},
        {"Return | path end",
         [&] {
             monster->SetSpawnPoint(WorldCoords(meadow, Coords::FromOrigin(At(40, 40).local)));
             Begin("Return");
             C().EndOfPathReached();
         }},
        {"Patrol | no patrol point reachable", [&] { Begin("Patrol"); }},
        {"FollowLeader | leader dead or gone",
         [&] {
             Monster* leader = Leader(40);
             Begin("FollowLeader", 0, leader->GetObjectId());
             Kill(leader);
             State().OnUpdate(10);
         }},
        {"FollowLeader | ally died",
         [&] {
             Monster* leader = Leader(40);
             Begin("FollowLeader", 0, leader->GetObjectId());
             Kill(leader);
             State().AllyDied(leader->GetObjectId());
         }},
        {"FollowLeader | path end",
         [&] {
             Begin("FollowLeader", 0, Leader(40)->GetObjectId());
             C().EndOfPathReached();
         }},
        {"FollowLeader | lost slot",
         [&] {
             Begin("FollowLeader", 0, Leader(40)->GetObjectId());
             C().LostSlot();
         }},
        {"FollowLeader | no point",
         [&] {
             Monster* leader = Leader(40);
             leader->SetPathPosition(InCave());
             Begin("FollowLeader", 0, leader->GetObjectId());
         }},
        {"DefendLeader | leader moved away",
         [&] {
             Monster* leader = Leader(32);
             Begin("DefendLeader", 0, leader->GetObjectId());
             leader->SetPathPosition(At(42, 30));
             State().OnUpdate(500);
         }},
        {"DefendLeader | defend time over",
         [&] {
             Monster* leader = Leader(32);
             monster->SetPathPosition(
                 monster->GetMoveToPoint(leader->GetObjectId(), 0, leader->GetPathPosition()));
             Begin("DefendLeader", 0, leader->GetObjectId());
             State().OnUpdate(10000);
         }},
        {"DefendLeader | leader gone",
         [&] {
             Monster* leader = Leader(32);
             Begin("DefendLeader", 0, leader->GetObjectId());
             Kill(leader);
             State().OnUpdate(10);
         }},
        {"DefendLeader | ally (leader) died",
         [&] {
             Monster* leader = Leader(32);
             Begin("DefendLeader", 0, leader->GetObjectId());
             State().AllyDied(leader->GetObjectId());
         }},
        {"Move | path end",
         [&] {
             C().SetMoveTerrainPoint(At(36, 30));
             Begin("Move");
             C().EndOfPathReached();
         }},
        {"Move | cannot move",
         [&] {
             C().SetMoveTerrainPoint(InCave());
             Begin("Move");
         }},
        {"Paralyze | time over",
         [&] {
             Begin("Paralyze", Foe());
             State().OnUpdate(4001);
         }},
        {"Paralyze | no enemy", [&] { Begin("Paralyze"); }},
        {"Panic | no run-away point", [&] { Begin("Panic"); }},
        {"Confused | confusion over",
         [&] {
             C().SetConfusedTime(100);
             Begin("Confused");
             State().OnUpdate(200);
         }},
        {"Immobile | EndImmobilize",
         [&] {
             Begin("Immobile");
             C().EndImmobilize();
         }},
        {"Stunned | EndStun",
         [&] {
             Begin("Stunned");
             C().EndStun();
         }},
        {"Trapped | EndTrap",
         [&] {
             Begin("Trapped");
             C().EndTrap();
         }},
        {"TrappedAttack | EndTrap",
         [&] {
             Begin("TrappedAttack", Foe());
             C().EndTrap();
         }},
        {"Trapped | enemy found, skill usable trapped",
         [&] {
             C().forcedSkill = 77;
             Begin("Trapped");
             State().EnemyFound(Foe());
         }},
        {"TrappedAttack | End",
         [&] {
             Begin("TrappedAttack", Foe());
             End();
         }},
        {"Scared | no longer scared",
         [&] {
             Begin("Scared", Foe());
             State().OnUpdate(10);
         }},
        {"QuestMove | cannot move",
         [&] {
             C().SetMoveTerrainPoint(InCave());
             Begin("QuestMove");
         }},
        {"QuestMove | path end",
         [&] {
             C().SetMoveTerrainPoint(At(36, 30));
             Begin("QuestMove");
             C().EndOfPathReached();
         }},
        {"QuestWalk | cannot move",
         [&] {
             C().SetMoveTerrainPoint(InCave());
             Begin("QuestWalk");
         }},
        {"QuestWalk | path end",
         [&] {
             C().SetMoveTerrainPoint(At(36, 30));
             Begin("QuestWalk");
             C().EndOfPathReached();
         }},
        {"QuestPlayAnimation | End of a non-looping animation",
         [&] {
             C().SetQuestAnimation(AnimationSet_Type::Stun, false);
             Begin("QuestPlayAnimation");
             End();
         }},
        {"QuestUseSkill | End",
         [&] {
             const std::uint32_t foe = Foe();
             Begin("QuestUseSkill", foe, foe);
             End();
         }},
    };
}

TEST_F(OwnStateTransitions, EveryRowLandsWhereTheTableSays) {
    const auto scenarios = Scenarios();
    int walked = 0;
    for (const MonsterTransition& row : kMonsterTransitions) {
        if (!kOwnStates.contains(row.from))
            continue;
        SCOPED_TRACE(row.Key());
        const auto scenario = scenarios.find(row.Key());
        if (scenario == scenarios.end()) {
            ADD_FAILURE() << "no scenario for the row";
            continue;
        }
        Restart(row.to);
        MarkerState* marker = C().marker;
        ASSERT_NE(marker, nullptr);
        const int before = marker->begun;
        scenario->second();
        EXPECT_EQ(StateName(), row.to);
        EXPECT_GT(marker->begun, before);
        ++walked;
    }
    EXPECT_EQ(walked, static_cast<int>(scenarios.size()));
}

}  // namespace
}  // namespace GAME::test
