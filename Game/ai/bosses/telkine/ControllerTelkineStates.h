#pragma once
// The Telkine's states: a start, the two attack phases and the emote between phase-one throws.
#include <cstdint>

#include "Engine/sys/GameTimer.h"
#include "Game/ai/bosses/telkine/ControllerTelkine.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

class ControllerTelkineState : public ControllerMonsterState<ControllerTelkine, Monster> {
public:
    using ControllerMonsterState::ControllerMonsterState;

protected:
    std::uint32_t GetSkeletonSpellId() const { return Ctl().GetSkeletonSpellId(); }
    std::uint32_t GetTelekinesisSpellId() const { return Ctl().GetTelekinesisSpellId(); }
    std::uint32_t GetDirectAttackId() const { return Ctl().GetDirectAttackId(); }
    // The nearest living player and the nearest living other enemy in sight (0 when none).
    void ChooseTargets(std::uint32_t& player, std::uint32_t& other);
};

class ControllerTelkineStateStartup : public ControllerTelkineState {
public:
    using ControllerTelkineState::ControllerTelkineState;
    void OnBegin() override { Go("AttackPhase1"); }
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

class ControllerTelkineStateAttackPhase1 : public ControllerTelkineState {
public:
    using ControllerTelkineState::ControllerTelkineState;
    // Runs again after each emote: it keeps its count and clock.
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& name) override;

    int GetAttackCount() const { return mAttackCount; }
    bool IsAttacking() const { return mAttacking; }
    bool IsEmotePending() const { return mEmotePending; }
    int GetTimeSinceLastAttack() const { return mTimeSinceLastAttack; }

private:
    int mTimeSinceLastAttack = 0;
    int mAttackCount = 0;
    int mAttackLimit = 12;
    int mAttackInterval = 12000;
    bool mAttacking = false;
    bool mEmotePending = true;
};

class ControllerTelkineStateAttackPhase2 : public ControllerTelkineState {
public:
    using ControllerTelkineState::ControllerTelkineState;
    void OnBegin() override { mTimer.Reset(); }
    void OnEnd() override {}
    void OnUpdate(int ms) override;

private:
    GameTimer mTimer;
    int mAttackInterval = 5000;
};

class ControllerTelkineStateEmote : public ControllerTelkineState {
public:
    using ControllerTelkineState::ControllerTelkineState;
    void OnBegin() override;
    void OnEnd() override { Idle(); }
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

}  // namespace GAME
