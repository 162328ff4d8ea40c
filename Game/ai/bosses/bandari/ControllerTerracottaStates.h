#pragma once
// The warrior's standing start and its march. Both keep finding enemies, so that the warrior
// gains a most hated enemy while it stands or marches.
#include "Game/ai/bosses/bandari/ControllerTerracotta.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

using TerracottaState = ControllerMonsterState<ControllerTerracotta, Monster>;

class ControllerTerracottaStateStartup : public TerracottaState {
public:
    using TerracottaState::TerracottaState;
    bool ShouldFindEnemy() override { return true; }
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int ms) override;
};

class ControllerTerracottaStateAttackMarch : public TerracottaState {
public:
    // Each step of the march, along the warrior's facing, in metres.
    static constexpr float kStep = 5.0f;

    using TerracottaState::TerracottaState;
    bool ShouldFindEnemy() override { return true; }
    void OnBegin() override { StepAhead(); }
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { StepAhead(); }

private:
    void StepAhead();
};

}  // namespace GAME
