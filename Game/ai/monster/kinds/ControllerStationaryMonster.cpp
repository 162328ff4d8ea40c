#include "Game/ai/monster/kinds/ControllerStationaryMonster.h"

#include <memory>

#include "Game/ai/monster/states/DeathStates.h"
#include "Game/ai/monster/states/DisabledStates.h"
#include "Game/ai/monster/states/FearStates.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerStationaryMonster, ControllerMonster)

void ControllerStationaryMonster::RegisterStates() {
    using ToIdle = ControllerStationaryMonsterStateToIdle;
    AddState<ControllerMonsterStateStartup>("Startup", this);
    AddState<ControllerStationaryMonsterStateIdle>("Idle", this);
    AddState<ControllerStationaryMonsterStatePursue>("Pursue", this);
    AddState<ControllerMonsterStateAttack>("Attack", this);
    AddState<ToIdle>("Flee", this);
    AddState<ToIdle>("Return", this);
    AddState<ControllerMonsterStateDying>("Dying", this);
    AddState<ControllerMonsterStateDead>("Dead", this);
    AddState<ControllerMonsterStateStunned>("Stunned", this);
    AddState<ToIdle>("FollowLeader", this);
    AddState<ToIdle>("DefendLeader", this);
    AddState<ToIdle>("Move", this);
    AddState<ControllerMonsterStateParalyze>("Paralyze", this);
    AddState<ControllerMonsterStateConfused>("Confused", this);
}

void ControllerStationaryMonsterStatePursue::OnBegin() {
    const std::uint32_t enemy = GetCurrentEnemy();
    const std::uint32_t skill = GetCurrentSkillID();
    const Character* target = ValidateObjectId(enemy, "Pursue");
    if (target && target->IsAlive() && CloseEnoughToUseSkill(enemy, skill) && IsPathClear(enemy))
        Go("Attack", Data({.enemy = enemy, .skill = skill}));
    else
        Go("Idle");
}

}  // namespace GAME
