#pragma once
// The end of a monster's life: dying (its extra loot and its dying skill) and dead (its
// treasure placed where it fell). Neither answers any event.
#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

class ControllerMonsterStateDying : public MonsterState {
public:
    using MonsterState::MonsterState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

class ControllerMonsterStateDead : public MonsterState {
public:
    using MonsterState::MonsterState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

}  // namespace GAME
