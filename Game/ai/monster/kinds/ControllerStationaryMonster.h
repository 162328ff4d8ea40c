#pragma once
// A monster rooted to its place (a turret, a plant): it never moves, attacks only what is already
// in reach, and answers every order to move, follow or flee by resting again. It registers a
// state list of its own instead of the monster's.
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

class ControllerStationaryMonster : public ControllerMonster {
    RTTI_DECLARE(ControllerStationaryMonster)
public:
    bool CanMove() override { return false; }
    void RegisterStates() override;
};

// The monster "Idle" that only rests when it begins: no leader to defend, no roam to plan.
class ControllerStationaryMonsterStateIdle : public ControllerMonsterStateIdle {
public:
    using ControllerMonsterStateIdle::ControllerMonsterStateIdle;
    void OnBegin() override { Idle(); }
};

// Attacks the enemy when it stands in reach over a clear path, else rests; it never runs after it.
class ControllerStationaryMonsterStatePursue : public MonsterState {
public:
    using MonsterState::MonsterState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

// Stands in for every state that would move the monster: it rests instead.
class ControllerStationaryMonsterStateToIdle : public MonsterState {
public:
    using MonsterState::MonsterState;
    void OnBegin() override { Go("Idle"); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

}  // namespace GAME
