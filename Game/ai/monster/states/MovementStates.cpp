#include "Game/ai/monster/states/MovementStates.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/monster/states/MonsterStateHelpers.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"

namespace GAME {

namespace {

constexpr int kRoamOnChance = 20;
// A patrol point this close to the monster counts as reached.
constexpr float kPatrolPointReach = 1.0f;

}  // namespace

// Roam

void ControllerMonsterStateRoam::OnBegin() {
    if (!StartRoaming())
        Go("Idle");
}

void ControllerMonsterStateRoam::OnEnd() {
    GetController()->ReleaseMoveGoal();
}

void ControllerMonsterStateRoam::EndOfPathReached() {
    if (crt_rand() % 100 < kRoamOnChance && StartRoaming())
        return;
    Go("Idle");
}

bool ControllerMonsterStateRoam::StartRoaming() {
    Monster* monster = GetCharacter();
    if (!monster)
        return false;
    ControllerMonster* controller = GetController();
    WorldVec3 point;
    if (!PickRandomPointInVicinity(point, *monster, monster->GetSpawnPoint().GetPosition(),
                                   2.0f * monster->GetExtents(), controller->GetRoamDistance(),
                                   controller->GetMinRoamDistance(),
                                   controller->GetMaxYViewDistance()))
        return false;
    WalkTo(controller->GetClosestMovePoint(point), 0);
    return true;
}

// Wander

void ControllerMonsterStateWander::OnBegin() {
    Monster* monster = GetCharacter();
    const Character* leader = monster ? FindCharacter(monster->GetLeaderId()) : nullptr;
    if (leader) {
        ControllerMonster* controller = GetController();
        WorldVec3 point;
        if (PickRandomPointInVicinity(
                point, *monster, leader->GetPathPosition(),
                leader->GetExtents() + monster->GetExtents(), controller->GetWanderDistance(),
                controller->GetMinWanderDistance(), controller->GetMaxYViewDistance())) {
            WalkTo(controller->GetClosestMovePoint(point), 0);
            return;
        }
    }
    Go("Idle");
}

void ControllerMonsterStateWander::OnEnd() {
    GetController()->ReleaseMoveGoal();
}

void ControllerMonsterStateWander::EndOfPathReached() {
    Go("WanderPause");
}

bool ControllerMonsterStateWander::CheckLeaderAndWanderDistance() {
    Monster* monster = GetCharacter();
    const std::uint32_t leaderId = monster ? monster->GetLeaderId() : 0;
    const Character* leader = FindCharacter(leaderId);
    if (!leader) {
        Go("Idle");
        return true;
    }
    if (monster->GetPathPosition().DistanceTo(leader->GetPathPosition()) >
        GetController()->GetWanderDistance()) {
        Go("Return", Data({.ally = leaderId}));
        return true;
    }
    return false;
}

// WanderPause

void ControllerMonsterStateWanderPause::OnBegin() {
    Idle();
    mPauseCountdown = crt_rand() % 9997 + 3;
}

void ControllerMonsterStateWanderPause::OnUpdate(int ms) {
    if (CheckLeaderAndWanderDistance())
        return;
    mPauseCountdown -= ms;
    if (mPauseCountdown < 0)
        Go("Wander");
}

// Return

void ControllerMonsterStateReturn::OnBegin() {
    Monster* monster = GetCharacter();
    if (!monster)
        return;
    ControllerMonster* controller = GetController();
    if (const std::uint32_t leader = monster->GetLeaderId()) {
        Go("FollowLeader", Data({.ally = leader}));
        return;
    }
    const WorldVec3 home = controller->GetHomePosition();
    const float maxPursuit = controller->GetMaxPursuitDistance();
    if (maxPursuit != 0.0f && WorldDistance(home, monster->GetPathPosition()) > maxPursuit &&
        monster->CanMoveTo(home, kMonsterMoveTolerance)) {
        controller->ClearAnger();
        MoveTo(home, 0, 0);
        return;
    }
    const std::uint32_t enemy = controller->GetMostHatedEnemy();
    if (enemy && controller->IsEnemyValid(enemy)) {
        Go("Pursue", Data({.enemy = enemy, .skill = controller->ChooseBestSkill(enemy, false)}));
        return;
    }
    if (monster->AlreadyThere(home)) {
        Go("Idle");
        return;
    }
    const WorldVec3 spawn = monster->GetSpawnPoint().GetPosition();
    if (monster->CanMoveTo(spawn, kMonsterMoveTolerance)) {
        if (ShouldWalk())
            WalkTo(spawn, 0);
        else
            MoveTo(spawn, 0, 0);
        return;
    }
    gEngine->Log(2, "Monster %s can't return home.", monster->GetObjectName().c_str());
    // Home is wherever the monster got stuck, so it does not try again at once.
    monster->SetSpawnPoint(monster->GetCoords());
    ControllerMonsterStateReturn::EndOfPathReached();
}

void ControllerMonsterStateReturn::EndOfPathReached() {
    Go("Idle");
}

// Patrol

void ControllerMonsterStatePatrol::OnBegin() {
    mIdleCountdown = 0;
    ControllerMonster* controller = GetController();
    Monster* monster = GetCharacter();
    const auto& points = controller->GetPatrolPoints();
    if (monster && !points.empty()) {
        const int closest = GetClosestEntityIndex(points, monster->GetPosition());
        controller->SetCurrentPatrolPoint(closest);
        if (closest >= 0 && MoveToCurrentPatrolPoint()) {
            if (controller->GetLeaderBehavior() == ControllerMonster::LeadOnPatrol)
                CallForFollowers();
            return;
        }
    }
    Go("Return");
}

void ControllerMonsterStatePatrol::OnUpdate(int ms) {
    if (mIdleCountdown <= 0)
        return;
    mIdleCountdown -= ms;
    if (mIdleCountdown < 1) {
        mIdleCountdown = 0;
        MoveToNextPatrolPoint();
    }
}

void ControllerMonsterStatePatrol::EndOfPathReached() {
    ControllerMonster* controller = GetController();
    const int roll = crt_rand() % 100;
    mIdleCountdown = roll < controller->GetChanceToIdleOnPatrol()
                         ? MonsterRandomInt(controller->GetMinPatrolIdleTime(),
                                            controller->GetMaxPatrolIdleTime())
                         : 0;
    if (mIdleCountdown != 0)
        Idle();
    else
        MoveToNextPatrolPoint();
}

bool ControllerMonsterStatePatrol::MoveToCurrentPatrolPoint() {
    Monster* monster = GetCharacter();
    const auto& points = GetController()->GetPatrolPoints();
    const int count = static_cast<int>(points.size());
    const int start = GetController()->GetCurrentPatrolPoint();
    if (!monster || count == 0 || start < 0 || start >= count)
        return false;
    int index = start;
    do {
        const Entity* point = FindEntityByUniqueId(points[index]);
        if (point && point->GetRegion() &&
            WorldDistance(point->GetPosition(), monster->GetPosition()) > kPatrolPointReach &&
            monster->CanMoveTo(point->GetPosition(), kMonsterMoveTolerance)) {
            WalkTo(point->GetPosition(), point->GetObjectId());
            return true;
        }
        index = (index + 1) % count;
    } while (index != start);
    return false;
}

void ControllerMonsterStatePatrol::MoveToNextPatrolPoint() {
    ControllerMonster* controller = GetController();
    const int count = static_cast<int>(controller->GetPatrolPoints().size());
    if (count > 0)
        controller->SetCurrentPatrolPoint((controller->GetCurrentPatrolPoint() + 1) % count);
    if (!MoveToCurrentPatrolPoint())
        Go("Return");
}

// Move

void ControllerMonsterStateMove::OnBegin() {
    Monster* monster = GetCharacter();
    const WorldVec3 target = GetController()->GetMoveTerrainPoint();
    if (monster && monster->CanMoveTo(target, kMonsterMoveTolerance)) {
        monster->PlayNetSound(monster->GetPetAcknowledgeSound());
        MoveTo(target, 0, 0);
        return;
    }
    Go("Idle");
}

void ControllerMonsterStateMove::EndOfPathReached() {
    Go("Idle");
}

}  // namespace GAME
