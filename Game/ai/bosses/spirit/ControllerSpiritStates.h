#pragma once
// The spirit's own states. None of them looks for enemies or talks: a spirit only seeks statues.
#include <cstdint>

#include "Game/ai/bosses/spirit/ControllerSpirit.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

class ControllerSpiritState : public ControllerMonsterState<ControllerSpirit, Monster> {
public:
    using ControllerMonsterState::ControllerMonsterState;

    bool ShouldFindEnemy() override { return false; }
    bool ShouldFindClosestEnemy() override { return false; }
    bool IsAvailableForSidelineConversations() override { return false; }
    bool RequestConversation(std::uint32_t) override { return false; }

protected:
    std::uint32_t GetAnimateTarget() const { return Ctl().GetAnimateTarget(); }
    void SetAnimateTarget(std::uint32_t id) { Ctl().SetAnimateTarget(id); }
    // Claims the nearest free statue among the allies in sight; false when none is free.
    bool FindNewAnimateTarget();
    // Makes the animate target the most hated enemy and pursues it with the statue's skill.
    void PursueAnimateTarget();
    // "AttackToAnimate" with the state's enemy and skill.
    void AttackToAnimate();
};

class ControllerSpiritStateStartup : public ControllerSpiritState {
public:
    using ControllerSpiritState::ControllerSpiritState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

class ControllerSpiritStateIdle : public ControllerSpiritState {
public:
    using ControllerSpiritState::ControllerSpiritState;
    void OnBegin() override { Idle(); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

class ControllerSpiritStatePursueToAnimate : public ControllerSpiritState {
public:
    using ControllerSpiritState::ControllerSpiritState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { AttackToAnimate(); }
};

class ControllerSpiritStateAttackToAnimate : public ControllerSpiritState {
public:
    using ControllerSpiritState::ControllerSpiritState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

}  // namespace GAME
