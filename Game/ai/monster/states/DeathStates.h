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

private:
    // The die action of a living monster reports the death, which begins this state again
    // inside its own beginning: that inner beginning must not loot or use the skill twice.
    bool mBeginning = false;
};

class ControllerMonsterStateDead : public MonsterState {
public:
    using MonsterState::MonsterState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

}  // namespace GAME
