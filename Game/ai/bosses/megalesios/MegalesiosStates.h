#pragma once
// The Megalesios boss's own states: waiting invincible for the quest's word, the bursts, and the
// attack on a conduit that ends its invincibility.
#include <cstdint>

#include "Game/ai/bosses/megalesios/ControllerMegalesios.h"
#include "Game/ai/monster/states/ControllerMonsterState.h"
#include "Game/characters/monster/Megalesios.h"

namespace GAME {

using MegalesiosState = ControllerMonsterState<ControllerMegalesios, Megalesios>;

// Invincible and resting until a quest asks for a skill; a restored fight resumes at once.
class ControllerMegalesiosStateStartup : public MegalesiosState {
public:
    using MegalesiosState::MegalesiosState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void QuestCommandUseSkill(std::uint32_t skillId, std::uint32_t targetId) override;
};

// Uses the burst skill (special attack 5) once; its end starts the conduit phase.
class ControllerMegalesiosStateLaunchBursts : public MegalesiosState {
public:
    using MegalesiosState::MegalesiosState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int) override {}
    void HandleEvent(const Name& name) override;
};

// Strikes the chosen conduit with special attack 1 every one to five seconds; when it is gone
// the phase is over for good.
class ControllerMegalesiosStateAttackConduit : public MegalesiosState {
public:
    explicit ControllerMegalesiosStateAttackConduit(ControllerMegalesios* controller)
        : MegalesiosState(controller, MonsterDefaults::QuestCommands) {}
    void OnBegin() override;
    void OnEnd() override { Ctl().SetInvincible(false); }
    void OnUpdate(int ms) override;
    void QuestCommandUseSkill(std::uint32_t skillId, std::uint32_t targetId) override;

    std::uint32_t GetConduit() const { return mConduit; }
    int GetAttackCountdown() const { return mAttackCountdown; }

private:
    void ChooseConduit();

    int mAttackCountdown = 0;
    std::uint32_t mConduit = 0;
};

}  // namespace GAME
