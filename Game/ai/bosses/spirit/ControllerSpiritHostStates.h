#pragma once
// The statue's own states: sitting until a spirit reaches it, and rising.
#include <cstdint>

#include "Game/ai/bosses/spirit/ControllerSpiritHost.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

class ControllerSpiritHostState : public ControllerMonsterState<ControllerSpiritHost, Monster> {
public:
    using ControllerMonsterState::ControllerMonsterState;

protected:
    // The controller's flag and the statue's saved one, together.
    void SetAnimated(bool animated);
};

class ControllerSpiritHostStateStartup : public ControllerSpiritHostState {
public:
    using ControllerSpiritHostState::ControllerSpiritHostState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void Attacked(std::uint32_t attackerId) override;
};

class ControllerSpiritHostStateAnimate : public ControllerSpiritHostState {
public:
    using ControllerSpiritHostState::ControllerSpiritHostState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

}  // namespace GAME
