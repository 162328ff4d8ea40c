#pragma once
// The player states that stand, idle, die and come back, and those that act on an object once
// in reach: talk, pick up, use, and use a skill.
#include <cstdint>

#include "Game/ai/controllers/player/ControllerPlayerState.h"

namespace GAME {

class ControllerPlayerStateStartup : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateStartup(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kIgnoresAll) {}
    void OnBegin() override { SetState("LongIdle", ControllerAIStateData()); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

class ControllerPlayerStateIdle : public ControllerPlayerState {
public:
    static constexpr int kLongIdleMin = 8000;
    static constexpr int kLongIdleMax = 12000;

    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    int GetCountdown() const { return mCountdown; }

private:
    void DrawCountdown();
    int mCountdown = 0;
};

class ControllerPlayerStateLongIdle : public ControllerPlayerState {
public:
    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override { LongIdle(); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void Attacked(std::uint32_t) override { SetState("Idle", ControllerAIStateData()); }
};

// "Dying" and "Dead": nothing happens until the controller respawns the player.
class ControllerPlayerStateDying : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateDying(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kIgnoresAll) {}
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void CharacterIsDying() override {}
    void CharacterIsDead() override {}
};

class ControllerPlayerStateRespawning : public ControllerPlayerState {
public:
    explicit ControllerPlayerStateRespawning(ControllerPlayer* controller)
        : ControllerPlayerState(controller, kIgnoresAll) {}
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
    void CharacterIsDying() override {}
    void CharacterIsDead() override { SetState("Idle", ControllerAIStateData()); }
};

class ControllerPlayerStateTalkToNpc : public ControllerPlayerState {
public:
    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override { EngageNpc(GetCurrentAlly(), false, false); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void RequestNpcAction(bool inPlace, bool second, const WorldVec3& point,
                          std::uint32_t npc) override;
};

class ControllerPlayerStatePickupItem : public ControllerPlayerState {
public:
    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override { PickupItem(GetCurrentAlly()); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
    void RequestItemAction(bool inPlace, bool second, const WorldVec3& point, Item& item) override;
};

class ControllerPlayerStateUseFixedItem : public ControllerPlayerState {
public:
    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override { Use(GetCurrentAlly()); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
    void RequestFixedItemAction(bool inPlace, bool second, const WorldVec3& point,
                                std::uint32_t fixedItem) override;
};

class ControllerPlayerStateDoStrategicMovement : public ControllerPlayerState {
public:
    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override { Use(GetCurrentAlly()); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void RequestStrategicMovementAction(bool inPlace, bool second, const WorldVec3& point,
                                        std::uint32_t object) override;
};

class ControllerPlayerStateUseSkill : public ControllerPlayerState {
public:
    // How long a held button waits before it re-issues the same skill on the same target.
    static constexpr int kRepeatLock = 200;

    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& name) override;
    float GetSkillUseTolerance(std::uint32_t target) override;
    bool RequestSkillAction(bool inPlace, bool second, std::uint32_t skillId,
                            const WorldVec3& point, std::uint32_t& target) override;
    void RequestMoveAction(bool inPlace, bool second, const WorldVec3& point) override;
    int GetRepeatLock() const { return mRepeatLock; }

private:
    int mRepeatLock = 0;
};

}  // namespace GAME
