#pragma once
// The Cyclops' own states: it rests until woken, walks its scripted way, roars, charges the
// player and, after a fight that drifted off, turns back on the player while it is a foe.
#include <cstdint>

#include "Game/ai/bosses/cyclops/ControllerCyclops.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

using CyclopsState = ControllerMonsterState<ControllerCyclops, Monster>;

// The monster "Idle" without roaming: it only rests, and waking sends it on its script.
class ControllerCyclopsStateIdle : public ControllerMonsterStateIdle {
public:
    explicit ControllerCyclopsStateIdle(ControllerCyclops* controller)
        : ControllerMonsterStateIdle(controller) {}
    void OnBegin() override { Idle(); }
    void OnUpdate(int) override {}
    void WakeUp(std::uint32_t enemy) override { Go("ScriptedMove", Data({.enemy = enemy})); }
};

// Walks to script point 0 when it is known and reachable; then, or at once, the charge.
class ControllerCyclopsStateScriptedMove : public CyclopsState {
public:
    using CyclopsState::CyclopsState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void EndOfPathReached() override { BullRun(); }

private:
    // The player becomes the most hated enemy and the charge begins.
    void BullRun();
};

// Roars once (a temporary state), then walks at the player and kills every foe monster it
// touches on the way; at the end of the charge it attacks or pursues.
class ControllerCyclopsStateBullRun : public CyclopsState {
public:
    static constexpr float kTrampleRadius = 2.0f;
    static constexpr float kThrowStrength = 4.0f;

    using CyclopsState::CyclopsState;
    void OnBegin() override;
    void OnEnd() override { Ctl().SetPlayerFocused(false); }
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;

    bool HasRoared() const { return mRoared; }

private:
    bool mRoared = false;
};

// The roar before a charge: foe monsters around panic; the post-roar music follows it.
class ControllerCyclopsStateRoar : public CyclopsState {
public:
    static constexpr float kPanicRadius = 25.0f;

    using CyclopsState::CyclopsState;
    void OnBegin() override;
    void OnEnd() override { Ctl().PlayBossMusic(); }
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

// Back from a fight: the player again while it is a foe, else rest.
class ControllerCyclopsStateReturn : public CyclopsState {
public:
    using CyclopsState::CyclopsState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

}  // namespace GAME
