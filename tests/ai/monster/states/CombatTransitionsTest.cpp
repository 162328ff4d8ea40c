// Every transition of the table that starts in a combat state, in any state or in a state that
// uses the default responses, walked through a scenario of its own on a fresh world.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Engine/media/physics/CollisionData.h"
#include "Engine/text/Name.h"
#include "Game/ai/monster/states/CombatStates.h"
#include "Game/characters/ambient/DynamicBarrier.h"
#include "Game/world/projectiles/ProjectileBase.h"
#include "MonsterCombatTestSupport.h"
#include "MonsterTransitionTable.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace {

std::vector<MonsterTransition> CombatRows() {
    static const std::set<std::string> owned = {"any state",
                                                "default users",
                                                "Startup",
                                                "Idle",
                                                "Pursue",
                                                "EmoteBeforePursue",
                                                "NavigateObstacle",
                                                "Attack",
                                                "RepositionForAttack",
                                                "WaitToAttack",
                                                "DodgeAttack",
                                                "temporary states"};
    std::vector<MonsterTransition> rows;
    for (const MonsterTransition& row : kMonsterTransitions)
        if (owned.count(row.from))
            rows.push_back(row);
    return rows;
}

class CombatTransitions : public MonsterCombatTest,
                          public ::testing::WithParamInterface<MonsterTransition> {
protected:
    using Scenario = std::function<std::string()>;

    // A monster at (10, 25) after its first frame, and a hero at (x, z).
    void Ready(const std::string& behaviour = "", const std::string& extra = "",
               const char* attack = kClaw, float heroX = 16.0f, float heroZ = 25.0f) {
        DefineBrute(behaviour, extra, true, attack);
        monster = SpawnMonster(10, 25);
        hero = SpawnHero(heroX, heroZ);
        ASSERT_NE(monster, nullptr);
        brain = Brain(monster);
        ASSERT_NE(brain, nullptr);
        Frame();
        ASSERT_EQ(Now(), "Idle");
        heroId = hero->GetObjectId();
        self = monster->GetObjectId();
        // A monster already home would pass through "Return" straight on to "Idle".
        if (homeAway)
            monster->SetSpawnPoint(WorldCoords(meadow, Coords::FromOrigin(At(10, 32).local)));
    }
    // A hero standing in the cave, where no path from the meadow leads.
    void HeroInTheCave() {
        Region* cave = World::Get().GetRegion("Cave");
        WorldVec3 p(cave, Vec3(10, 5, 10));
        p.PutOnFloor();
        hero->SetPathPosition(p);
    }
    std::string Now() const { return Executing(brain); }
    ControllerAIState& State() const { return *brain->GetExecutingState(); }
    void Enter(const AIStateKey& name, const ControllerAIStateData& data = {}) {
        brain->ClearTemporaryStates();
        brain->SetState(name, data);
    }
    static ControllerAIStateData Data(std::uint32_t enemy, std::uint32_t ally = 0,
                                      std::uint32_t skill = 0, const WorldVec3& point = {}) {
        return ControllerAIStateData(
            {.enemy = enemy, .ally = ally, .skill = skill, .point = point});
    }
    std::uint32_t Skill(const char* record) const { return SkillId(monster, record); }
    // The current state beneath the temporary ones.
    std::string Beneath() {
        brain->ClearTemporaryStates();
        return Now();
    }
    Monster* Leader(float x, float z) {
        Monster* leader = SpawnMonster(x, z);
        monster->JoinMe(leader->GetObjectId(), -1, false);
        EXPECT_EQ(monster->GetLeaderId(), leader->GetObjectId());
        return leader;
    }
    void Skip(const char* why) { skipped = why; }
    bool homeAway = false;

    std::map<std::string, Scenario> Scenarios();

    Monster* monster = nullptr;
    Character* hero = nullptr;
    ControllerMonster* brain = nullptr;
    std::uint32_t heroId = 0;
    std::uint32_t self = 0;
    std::string skipped;
};

std::map<std::string, CombatTransitions::Scenario> CombatTransitions::Scenarios() {
    return {
        {"any state | BeginStun, StunMe",
         [&] {
             Ready();
             for (const AIStateKey from : {AIStateId::Idle, AIStateId::Attack}) {
                 Enter(from, Data(heroId, 0, Skill(kClaw)));
                 brain->AddTemporaryState("UseSkillOnAlly", Data(0, self, Skill(kBuff)));
                 brain->BeginStun();
                 EXPECT_EQ(brain->GetActiveTemporaryStateCount(), 0u) << from.GetName();
                 EXPECT_EQ(Now(), "Stunned") << from.GetName();
             }
             Enter("Idle");
             brain->StunMe(1500.7f);
             EXPECT_EQ(brain->GetStunTime(), 1500);
             return Now();
         }},
        {"any state | BeginTrap",
         [&] {
             Ready();
             brain->BeginTrap();
             return Now();
         }},
        {"any state | BeginImmobilize",
         [&] {
             Ready();
             brain->BeginImmobilize();
             return Now();
         }},
        {"any state | CharacterIsDying",
         [&] {
             Ready();
             Enter("Attack", Data(heroId, 0, Skill(kClaw)));
             brain->CharacterIsDying();
             return Now();
         }},
        {"any state | CharacterIsDead",
         [&] {
             Ready();
             brain->CharacterIsDead();
             return Now();
         }},
        {"any state | Panic(enemy)",
         [&] {
             // The hero west of the monster: it runs east, into the open meadow.
             Ready("", "", kClaw, 4.0f, 25.0f);
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             brain->Panic(heroId);
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             return Now();
         }},
        {"default users | EnemyFound: new valid enemy",
         [&] {
             Ready();
             Monster* friendly = SpawnMonster(12, 28);
             State().EnemyFound(friendly->GetObjectId());
             EXPECT_EQ(Now(), "Idle");
             State().EnemyFound(heroId);
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kClaw));
             return Now();
         }},
        {"default users | Attacked: FleeOnDamage, CanFlee",
         [&] {
             Ready(R"("FleeBehavior": "FleeOnDamage")");
             // Hits from the enemy it already fights do not scare it off.
             Enter("Idle", Data(heroId));
             State().Attacked(heroId);
             EXPECT_EQ(Now(), "Idle");
             Enter("Idle");
             State().Attacked(heroId);
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             return Now();
         }},
        {"default users | AllyAttacked: distress roll passes, enemy valid",
         [&] {
             Ready();
             Monster* ally = SpawnMonster(12, 28);
             State().AllyAttacked(ally->GetObjectId(), heroId);
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             EXPECT_EQ(brain->GetCurrentAlly(), ally->GetObjectId());
             return Now();
         }},
        {"default users | AllyNeedsHelp: distress roll passes, enemy valid",
         [&] {
             Ready();
             Monster* ally = SpawnMonster(12, 28);
             // Help against a friend is no help.
             State().AllyNeedsHelp(ally->GetObjectId(), ally->GetObjectId());
             EXPECT_EQ(Now(), "Idle");
             State().AllyNeedsHelp(heroId, ally->GetObjectId());
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             return Now();
         }},
        {"default users | ClosestEnemyFound: FleeWhenEnemyClose, CanFlee",
         [&] {
             Ready(R"("FleeBehavior": "FleeWhenEnemyClose")");
             State().ClosestEnemyFound(heroId, 2.0f);
             return Now();
         }},
        {"default users | LowHealth: FleeOnLowHealth, CanFlee",
         [&] {
             Ready(R"("FleeBehavior": "FleeOnLowHealth")");
             Enter("Idle", Data(heroId));
             State().LowHealth();
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             return Now();
         }},
        {"default users | LowHealth: berserk skill and enemy",
         [&] {
             Ready("", R"("berserkSkillName": "Records/Test/Bite.dbr")", kClaw, 10, 45);
             State().LowHealth();  // no enemy yet: nothing to be berserk about
             EXPECT_EQ(Now(), "Idle");
             Enter("Idle", Data(heroId));
             State().LowHealth();
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kBite));
             return Now();
         }},
        {"default users | Confused: longer confusion",
         [&] {
             Ready();
             brain->SetConfusedTime(5000);
             State().Confused(3000);
             EXPECT_EQ(Now(), "Idle");
             brain->SetConfusedTime(0);
             State().Confused(3000);
             EXPECT_EQ(brain->GetConfusedTime(), 3000);
             return Now();
         }},
        {"default users | RequestAttack from the leader",
         [&] {
             Ready();
             Monster* stranger = SpawnMonster(14, 30);
             Monster* leader = Leader(12, 28);
             State().RequestAttack(stranger->GetObjectId(), heroId);
             EXPECT_EQ(Now(), "Idle");
             State().RequestAttack(leader->GetObjectId(), heroId);
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             EXPECT_EQ(brain->GetMostHatedEnemy(), heroId);
             return Now();
         }},
        {"default users | RequestMove from the leader",
         [&] {
             Ready();
             Monster* leader = Leader(12, 28);
             const WorldVec3 there = At(14, 20);
             State().RequestMove(heroId, there);
             EXPECT_EQ(Now(), "Idle");
             State().RequestMove(leader->GetObjectId(), there);
             EXPECT_EQ(brain->GetMoveTerrainPoint(), there);
             EXPECT_EQ(brain->GetCurrentAlly(), leader->GetObjectId());
             return Now();
         }},
        {"default users | RequestConversation from a non-foe",
         [&] {
             Ready();
             Monster* friendly = SpawnMonster(12, 28);
             EXPECT_FALSE(State().RequestConversation(heroId));
             EXPECT_TRUE(State().RequestConversation(friendly->GetObjectId()));
             return Now();
         }},
        {"default users | ProjectileNotification: dodge roll and point found",
         [&] {
             Ready(R"("DodgeChance": 100, "DodgeDistance": 4.0)");
             Record("Records/Test/Arrow.dbr", R"({"Class": "ProjectileArrowLike"})");
             auto* arrow = Singleton<ObjectManager>::Get().CreateObjectFromFile<ProjectileBase>(
                 "Records/Test/Arrow.dbr");
             ProjectileInfo info;
             info.casterId = heroId;
             info.start = WorldCoords(meadow, Coords::FromOrigin(At(20, 25).local));
             arrow->LoadInfo(info, 1);
             State().ProjectileNotification(arrow->GetObjectId());
             return Now();
         }},
        {"default users | quest move",
         [&] {
             Ready();
             tm.ClearLog();
             WorldVec3 cave(World::Get().GetRegion("Cave"), Vec3(10, 5, 10));
             cave.PutOnFloor();
             State().QuestCommandMove(0, cave);
             EXPECT_EQ(tm.CountLog("Quest cannot move Records/Test/Brute.dbr to point"), 1);
             EXPECT_EQ(Now(), "Idle");
             State().QuestCommandMove(0, At(14, 20));
             EXPECT_EQ(brain->GetMoveTerrainPoint(), At(14, 20));
             return Now();
         }},
        {"default users | quest walk",
         [&] {
             Ready();
             State().QuestCommandWalk(0, At(14, 20));
             return Now();
         }},
        {"default users | quest play animation",
         [&] {
             Ready();
             State().QuestCommandPlayAnimation(AnimationSet_Type::Special, true);
             EXPECT_EQ(brain->GetQuestAnimation(), AnimationSet_Type::Special);
             EXPECT_TRUE(brain->GetQuestAnimationLooping());
             return Now();
         }},
        {"default users | quest use skill",
         [&] {
             Ready();
             State().QuestCommandUseSkill(Skill(kBuff), heroId);
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             EXPECT_EQ(brain->GetCurrentAlly(), heroId);
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kBuff));
             return Now();
         }},
        {"Startup | no Spawn animation",
         [&] {
             DefineBrute("", R"("initialSkillName": "Records/Test/Roar.dbr")");
             monster = SpawnMonster(10, 25);
             brain = Brain(monster);
             Frame();
             // Straight to "Idle", with the initial skill in front of it.
             EXPECT_EQ(Now(), "UseSkillOnAlly");
             EXPECT_EQ(brain->GetCurrentAlly(), monster->GetObjectId());
             EXPECT_EQ(brain->GetCurrentSkillID(), SkillId(monster, kBuff));
             return Beneath();
         }},
        {"Startup | End",
         [&] {
             DefineBrute("", R"("unarmedSpawnAnim": "Creatures/Anims/Human_Stun.anm")");
             monster = SpawnMonster(10, 25);
             brain = Brain(monster);
             Frame();
             EXPECT_EQ(Now(), "Startup");
             for (int ms = 0; ms < 1000 && Now() == "Startup"; ms += 33)
                 Frame();
             return Now();
         }},
        {"Idle | OnBegin: leader alive",
         [&] {
             Ready();
             Leader(12, 28);
             Enter("Idle");
             return Now();
         }},
        {"Idle | roam countdown over: has leader",
         [&] {
             Ready(R"("RoamBehavior": "Roam", "MinTimeBeforeRoam": 100,
                      "MaxTimeBeforeRoam": 100)",
                   "", kClaw, 10, 50);
             Monster* leader = Leader(12, 28);
             leader->SetLifeState(Character_LifeState::Dead);
             Enter("Idle");
             State().OnUpdate(60);
             EXPECT_EQ(Now(), "Idle");
             State().OnUpdate(60);
             return Now();
         }},
        {"Idle | roam countdown over: no patrol points",
         [&] {
             Ready(R"("RoamBehavior": "Roam", "MinTimeBeforeRoam": 100,
                      "MaxTimeBeforeRoam": 100)",
                   "", kClaw, 10, 50);
             Enter("Idle");
             State().OnUpdate(100);  // down to 0: not yet
             EXPECT_EQ(Now(), "Idle");
             State().OnUpdate(1);
             return Now();
         }},
        {"Idle | roam countdown over: patrol points",
         [&] {
             Skip("patrol routes come from the level's instance groups, which are not built");
             return std::string();
         }},
        {"Pursue | cannot move",
         [&] {
             DefineBrute("", "", false);
             monster = SpawnMonster(10, 25);
             hero = SpawnHero(16, 25);
             brain = Brain(monster);
             Frame();
             brain->SetState("Pursue", Data(hero->GetObjectId(), 0, SkillId(monster, kClaw)));
             return Now();
         }},
        {"Pursue | not at point and cannot reach it",
         [&] {
             // A point short of the hero in the cave, to which no path leads.
             Ready("", "", kPoke);
             HeroInTheCave();
             Enter("Pursue", Data(heroId, 0, Skill(kPoke)));
             return Now();
         }},
        {"Pursue | enemy invalid",
         [&] {
             Ready();
             Enter("Pursue", Data(SpawnMonster(12, 28)->GetObjectId(), 0, Skill(kClaw)));
             return Now();
         }},
        {"Pursue | pursuit time over",
         [&] {
             Ready(R"("PursuitTime": 100)", "", kClaw, 10, 45);
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             EXPECT_EQ(Now(), "Pursue");
             State().OnUpdate(100);
             EXPECT_EQ(Now(), "Pursue");
             State().OnUpdate(1);
             return Now();
         }},
        {"Pursue | path end not in range",
         [&] {
             Ready("", "", kClaw, 10, 45);
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             EXPECT_EQ(Now(), "Pursue");
             State().EndOfPathReached();
             return Now();
         }},
        {"Pursue | emote chance",
         [&] {
             Ready(R"("EmoteBeforePursuingChance": 100)");
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             EXPECT_EQ(brain->GetCurrentEnemy(), heroId);
             return Now();
         }},
        {"Pursue | no free slot",
         [&] {
             Ready(R"("EmoteWhenWaitingChance": 100)");
             hero->GetAttackSlots().SetNumSlots(0);
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             return Now();
         }},
        {"Pursue | lost slot without a new one",
         [&] {
             Ready(R"("EmoteWhenWaitingChance": 100)");
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             EXPECT_EQ(Now(), "Pursue");
             State().LostSlot();  // the slot is still free for it
             EXPECT_EQ(Now(), "Pursue");
             hero->GetAttackSlots().SetNumSlots(0);
             State().LostSlot();
             return Now();
         }},
        {"Pursue | in range, path clear",
         [&] {
             Ready("", "", kShot, 14, 25);
             Enter("Pursue", Data(heroId, 0, Skill(kShot)));
             return Now();
         }},
        {"Pursue | in range, path blocked",
         [&] {
             Ready("", "", kShot, 26, 25);
             monster->SetPathPosition(At(17, 25));
             Enter("Pursue", Data(heroId, 0, Skill(kShot)));
             return Now();
         }},
        {"Pursue | better skill while running",
         [&] {
             Ready(R"("PursuitTime": 300)", "", kClaw, 10, 45);
             Enter("Pursue", Data(heroId, 0, Skill(kBite)));
             State().OnUpdate(200);
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kBite));
             State().OnUpdate(1);
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kClaw));
             // Begun again: the pursuit has its whole time once more.
             State().OnUpdate(250);
             return Now();
         }},
        {"Pursue | blocking barrier",
         [&] {
             Ready("", "", kClaw, 30, 25);
             // A barrier of the hero's side on the way: the monster turns on it. A friendly or
             // a dead one on the line, or one off the line, is passed by. (The stone wall at
             // x 20..22 stands between the two; a barrier on it would stand above the line.)
             auto make = [&](float x, float z, const Team& team) {
                 Record("Records/Test/Barrier.dbr",
                        R"({"Class": "DynamicBarrier", "characterLife": 50,
                     "combatManagerRecord": "Records/Combat/Standard.dbr"})");
                 auto* barrier =
                     Singleton<ObjectManager>::Get().CreateObjectFromFile<DynamicBarrier>(
                         "Records/Test/Barrier.dbr");
                 barrier->InitialUpdate();
                 test::SetLife(*barrier, 50.0f, 50.0f);
                 barrier->SetTeam(team);
                 World::Get().AddEntity(
                     barrier, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)), true);
                 return barrier->GetObjectId();
             };
             make(15, 25, monster->GetTeam());
             make(15, 40, TeamManager::DefaultPlayerTeam());
             Singleton<ObjectManager>::Get()
                 .GetObject<DynamicBarrier>(make(12, 25, TeamManager::DefaultPlayerTeam()))
                 ->SetLifeState(Character_LifeState::Dead);
             Enter("Pursue", Data(heroId, 0, Skill(kClaw)));
             State().OnUpdate(1);
             EXPECT_EQ(DynamicBarrier::FindBlocking(self, heroId), nullptr);
             // Of two hostile ones on the line the nearer is the one in the way.
             make(18, 25, TeamManager::DefaultPlayerTeam());
             const std::uint32_t blocking = make(15, 25, TeamManager::DefaultPlayerTeam());
             auto* found = DynamicBarrier::FindBlocking(self, heroId);
             EXPECT_EQ(found ? found->GetObjectId() : 0u, blocking);
             State().OnUpdate(1);
             EXPECT_EQ(brain->GetMostHatedEnemy(), blocking);
             return Now();
         }},
        {"EmoteBeforePursue | End",
         [&] {
             Ready();
             Enter("EmoteBeforePursue", Data(heroId));
             EXPECT_EQ(Now(), "EmoteBeforePursue");
             State().HandleEvent(Name::Create("End"));
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kClaw));
             return Now();
         }},
        {"EmoteBeforePursue | enemy invalid",
         [&] {
             Ready();
             Enter("EmoteBeforePursue", Data(0));
             return Now();
         }},
        {"NavigateObstacle | in range and clear",
         [&] {
             Ready("", "", kShot, 14, 25);
             Enter("NavigateObstacle", Data(heroId, 0, Skill(kShot)));
             EXPECT_EQ(Now(), "NavigateObstacle");
             State().OnUpdate(33);
             return Now();
         }},
        {"NavigateObstacle | clear only",
         [&] {
             Ready("", "", kClaw, 14, 25);
             Enter("NavigateObstacle", Data(heroId, 0, Skill(kClaw)));
             EXPECT_EQ(Now(), "NavigateObstacle");
             State().OnUpdate(33);
             return Now();
         }},
        {"NavigateObstacle | no living enemy",
         [&] {
             Ready();
             hero->SetLifeState(Character_LifeState::Dead);
             Enter("NavigateObstacle", Data(heroId, 0, Skill(kClaw)));
             return Now();
         }},
        {"NavigateObstacle | cannot move there",
         [&] {
             Ready();
             HeroInTheCave();
             Enter("NavigateObstacle", Data(heroId, 0, Skill(kClaw)));
             return Now();
         }},
        {"Attack | enemy invalid",
         [&] {
             Ready("", "", kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             EXPECT_EQ(Now(), "Attack");
             hero->SetLifeState(Character_LifeState::Dead);
             State().OnUpdate(33);
             return Now();
         }},
        {"Attack | End: far from leader (teleports)",
         [&] {
             Ready(R"("TeleportToLeaderDistance": 10)", "", kShot, 14, 25);
             Leader(40, 40);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             State().HandleEvent(Name::Create("End"));
             // Beside its leader now, and guarding it.
             EXPECT_LT(monster->GetPathPosition().DistanceTo(At(40, 40)), 10.0f);
             return Now();
         }},
        {"Attack | End: self-buff",
         [&] {
             Ready(R"("BuffSelfBehavior": "WhenIdle")",
                   R"("buffSelfSkillName": "Records/Test/Roar.dbr")", kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             State().HandleEvent(Name::Create("End"));
             EXPECT_EQ(Now(), "UseSkillOnAlly");
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kBuff));
             return Beneath();
         }},
        {"Attack | End: chain on the enemy",
         [&] {
             Ready("",
                   R"("chainInitialSkill": "Records/Test/Shot.dbr",
                      "chainNextSkill": "Records/Test/Bite.dbr")",
                   kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             State().HandleEvent(Name::Create("End"));
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kBite));
             return Now();
         }},
        {"Attack | End: chain on leader or self",
         [&] {
             Ready("",
                   R"("chainInitialSkill": "Records/Test/Shot.dbr",
                      "chainNextSkill": "Records/Test/Roar.dbr", "chainBehavior": "UseOnSelf")",
                   kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             State().HandleEvent(Name::Create("End"));
             EXPECT_EQ(brain->GetCurrentAlly(), self);
             EXPECT_EQ(brain->GetCurrentSkillID(), Skill(kBuff));
             return Now();
         }},
        {"Attack | End: in range and clear",
         [&] {
             Ready("", "", kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             State().HandleEvent(Name::Create("End"));
             return Now();
         }},
        {"Attack | End: reposition wanted",
         [&] {
             Ready(R"("RepositionChance": 100)", "", kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             // The monster's own shot struck a wall.
             ProjectileInfo info;
             info.casterId = self;
             State().ProjectileCollisionCallback(info, CollisionData{});
             State().HandleEvent(Name::Create("End"));
             return Now();
         }},
        {"Attack | End: else",
         [&] {
             Ready("", "", kClaw, 10, 45);
             Enter("Attack", Data(heroId, 0, Skill(kClaw)));
             State().HandleEvent(Name::Create("End"));
             return Now();
         }},
        {"Attack | LostSlot",
         [&] {
             Ready("", "", kClaw, 10, 45);
             Enter("Attack", Data(heroId, 0, Skill(kClaw)));
             State().LostSlot();
             return Now();
         }},
        {"Attack | Attacked: FleeOnDamage, CanFlee",
         [&] {
             Ready(R"("FleeBehavior": "FleeOnDamage")", "", kShot, 14, 25);
             Enter("Attack", Data(heroId, 0, Skill(kShot)));
             State().Attacked(heroId);
             return Now();
         }},
        {"RepositionForAttack | no point",
         [&] {
             Ready();
             Enter("RepositionForAttack", Data(0));
             return Now();
         }},
        {"RepositionForAttack | path end not in range",
         [&] {
             Ready("", "", kClaw, 10, 45);
             Enter("RepositionForAttack", Data(heroId, 0, Skill(kClaw)));
             EXPECT_EQ(Now(), "RepositionForAttack");
             State().EndOfPathReached();
             return Now();
         }},
        {"RepositionForAttack | path end in range",
         [&] {
             Ready("", "", kShot, 14, 25);
             Enter("RepositionForAttack", Data(heroId, 0, Skill(kShot)));
             EXPECT_EQ(Now(), "RepositionForAttack");
             State().EndOfPathReached();
             return Now();
         }},
        {"WaitToAttack | slot free again",
         [&] {
             Ready(R"("EmoteWhenWaitingChance": 100)");
             hero->GetAttackSlots().SetNumSlots(0);
             Enter("WaitToAttack", Data(heroId, 0, Skill(kClaw)));
             State().OnUpdate(334);
             EXPECT_EQ(Now(), "WaitToAttack");  // still none free
             hero->GetAttackSlots().SetNumSlots(4);
             State().OnUpdate(300);
             EXPECT_EQ(Now(), "WaitToAttack");  // not counted again yet
             State().OnUpdate(34);
             return Now();
         }},
        {"WaitToAttack | enemy invalid",
         [&] {
             Ready(R"("EmoteWhenWaitingChance": 100)");
             hero->GetAttackSlots().SetNumSlots(0);
             Enter("WaitToAttack", Data(heroId, 0, Skill(kClaw)));
             hero->SetLifeState(Character_LifeState::Dead);
             State().OnUpdate(334);
             return Now();
         }},
        {"WaitToAttack | nothing to do",
         [&] {
             Ready(R"("EmoteWhenWaitingChance": 0)");
             Enter("WaitToAttack", Data(0));
             return Now();
         }},
        {"DodgeAttack | path end",
         [&] {
             Ready();
             Enter("DodgeAttack", Data(heroId, 0, 0, At(12, 30)));
             EXPECT_EQ(Now(), "DodgeAttack");
             State().EndOfPathReached();
             return Now();
         }},
        {"DodgeAttack | cannot move",
         [&] {
             Ready();
             WorldVec3 cave(World::Get().GetRegion("Cave"), Vec3(10, 5, 10));
             cave.PutOnFloor();
             Enter("DodgeAttack", Data(heroId, 0, 0, cave));
             return Now();
         }},
        {"temporary states | done",
         [&] {
             Ready();
             brain->AddTemporaryState("UseSkillOnAlly", Data(0, self, Skill(kBuff)));
             EXPECT_EQ(Now(), "UseSkillOnAlly");
             State().HandleEvent(Name::Create("End"));
             Frame();
             return Now() == "Idle" ? std::string("the state below") : Now();
         }},
    };
}

TEST_P(CombatTransitions, LeadsWhereTheTableSays) {
    const MonsterTransition& row = GetParam();
    auto scenarios = Scenarios();
    const auto found = scenarios.find(row.Key());
    ASSERT_NE(found, scenarios.end()) << "no scenario for the row " << row.Key();
    homeAway = row.to == std::string("Return");
    const std::string observed = found->second();
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
    EXPECT_EQ(observed, row.to) << row.Key();
}

INSTANTIATE_TEST_SUITE_P(Rows, CombatTransitions, ::testing::ValuesIn(CombatRows()),
                         [](const ::testing::TestParamInfo<MonsterTransition>& info) {
                             std::string name;
                             for (char c : info.param.Key())
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name + "_" + std::to_string(info.index);
                         });

}  // namespace
}  // namespace GAME::test
