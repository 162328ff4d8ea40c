#pragma once
// The states in which a monster moves on its own outside combat: roaming around its spawn
// point, strolling around its leader, going home, walking its patrol route, and the move its
// leader orders.
#include <cstdint>

#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

// Random walks around the spawn point; at each end, one time in five it walks on at once.
class ControllerMonsterStateRoam : public MonsterRoamingState {
public:
    using MonsterRoamingState::MonsterRoamingState;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int) override {}
    void EndOfPathReached() override;

private:
    bool StartRoaming();
};

// A follower strolling to random points around its leader.
class ControllerMonsterStateWander : public MonsterRoamingState {
public:
    using MonsterRoamingState::MonsterRoamingState;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int) override { CheckLeaderAndWanderDistance(); }
    void EndOfPathReached() override;

protected:
    // Idle without a leader, "Return" when too far from it; true when the state was changed.
    bool CheckLeaderAndWanderDistance();
};

// A follower standing still a while between two strolls.
class ControllerMonsterStateWanderPause : public ControllerMonsterStateWander {
public:
    using ControllerMonsterStateWander::ControllerMonsterStateWander;

    void OnBegin() override;
    void OnUpdate(int ms) override;

private:
    int mPauseCountdown = 0;
};

// Going home: to the leader, back to a still-hated enemy, or to the spawn point.
class ControllerMonsterStateReturn : public MonsterRoamingState {
public:
    using MonsterRoamingState::MonsterRoamingState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndOfPathReached() override;

    virtual bool ShouldWalk() { return true; }
};

// The variant monsters register: they run home.
class ControllerMonsterStateReturnFast : public ControllerMonsterStateReturn {
public:
    using ControllerMonsterStateReturn::ControllerMonsterStateReturn;

    bool ShouldWalk() override { return false; }
};

// Walking the placed patrol points in ring order, idling at some of them.
class ControllerMonsterStatePatrol : public MonsterRoamingState {
public:
    using MonsterRoamingState::MonsterRoamingState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;

private:
    // Walks to the first reachable point from the current index on, without changing it.
    bool MoveToCurrentPatrolPoint();
    void MoveToNextPatrolPoint();

    int mIdleCountdown = 0;
};

// A move the leader ordered, to the controller's move target.
class ControllerMonsterStateMove : public MonsterOrderedState {
public:
    using MonsterOrderedState::MonsterOrderedState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndOfPathReached() override;
};

}  // namespace GAME
