#pragma once
// The bound Typhon follows the quest scripts alone: held by its chains (and invincible) until a
// quest plays its animation, then waiting to be told where to walk, then walking into a portal.
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

class TyphonChained;

class ControllerTyphonChained : public ControllerMonster {
    RTTI_DECLARE(ControllerTyphonChained)
public:
    void InitialUpdate() override;
    void Update(int ms) override;
    void RegisterStates() override;
};

using TyphonChainedState = ControllerMonsterState<ControllerTyphonChained, TyphonChained>;

class ControllerTyphonChainedStateStartup : public TyphonChainedState {
public:
    using TyphonChainedState::TyphonChainedState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

// Waits for the quest to play its animation.
class ControllerTyphonChainedStateChained : public TyphonChainedState {
public:
    using TyphonChainedState::TyphonChainedState;
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void QuestCommandPlayAnimation(AnimationSet_Type, bool) override;
};

class ControllerTyphonChainedStateBreakingTheChains : public TyphonChainedState {
public:
    using TyphonChainedState::TyphonChainedState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

// Waits for the quest to say where to go.
class ControllerTyphonChainedStateWaitToWalk : public TyphonChainedState {
public:
    using TyphonChainedState::TyphonChainedState;
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void QuestCommandMove(std::uint32_t id, const WorldVec3& point) override;
    void QuestCommandWalk(std::uint32_t id, const WorldVec3& point) override;
};

class ControllerTyphonChainedStateWalkToPortal : public TyphonChainedState {
public:
    using TyphonChainedState::TyphonChainedState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndOfPathReached() override;
};

}  // namespace GAME
