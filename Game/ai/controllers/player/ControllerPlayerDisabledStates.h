#pragma once
// The player states of a character that cannot act freely: immobilized, stunned, trapped, and a
// skill used while trapped. Each releases its hold on the character through a configuration
// command when it ends.
#include <cstdint>

#include "Game/ai/controllers/player/ControllerPlayerState.h"

namespace GAME {

class ControllerPlayerStateImmobilized : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateImmobilized(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kRestrained) {}
    void OnBegin() override { GetController()->Immobilize(); }
    void OnEnd() override;
    void OnUpdate(int) override {}
    void EndImmobilize() override { SetState("Idle", ControllerAIStateData()); }
};

class ControllerPlayerStateStunned : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateStunned(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kRestrained) {}
    void OnBegin() override { TakeStun(); }
    void OnEnd() override;
    void OnUpdate(int) override {}
    void EndStun() override { SetState("Idle", ControllerAIStateData()); }
};

class ControllerPlayerStateTrapped : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateTrapped(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kRestrained) {}
    void OnBegin() override { GetController()->TakeTrap(); }
    void OnEnd() override;
    void OnUpdate(int) override {}
    void EndTrap() override { SetState("Idle", ControllerAIStateData()); }
    // A trapped player uses a skill only on what it reaches from where it stands.
    bool RequestSkillAction(bool inPlace, bool second, std::uint32_t skillId,
                            const WorldVec3& point, std::uint32_t& target) override;
};

class ControllerPlayerStateUseSkillWhileTrapped : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateUseSkillWhileTrapped(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kRestrained) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
    void EndTrap() override;
};

}  // namespace GAME
