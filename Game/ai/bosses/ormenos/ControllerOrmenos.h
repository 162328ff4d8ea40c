#pragma once
// Ormenos fights as any monster, except that its attack holds while a telekinesis throw it
// started has not been thrown yet.
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

class ControllerOrmenos : public ControllerMonster {
    RTTI_DECLARE(ControllerOrmenos)
public:
    void RegisterStates() override;
};

class ControllerOrmenosStateAttack : public ControllerMonsterStateAttack {
public:
    using ControllerMonsterStateAttack::ControllerMonsterStateAttack;
    void HandleEvent(const Name& name) override;
    void OnEnd() override { ControllerMonsterStateAttack::OnEnd(); }
};

}  // namespace GAME
