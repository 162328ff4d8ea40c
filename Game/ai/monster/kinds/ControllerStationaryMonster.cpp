#include "Game/ai/monster/kinds/ControllerStationaryMonster.h"

#include <memory>

#include "Game/ai/monster/states/DeathStates.h"
#include "Game/ai/monster/states/DisabledStates.h"
#include "Game/ai/monster/states/FearStates.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerStationaryMonster, ControllerMonster)

void ControllerStationaryMonster::RegisterStates() {
    using ToIdle = ControllerStationaryMonsterStateToIdle;
    AddState("Startup", std::make_unique<ControllerMonsterStateStartup>(this));
    AddState("Idle", std::make_unique<ControllerStationaryMonsterStateIdle>(this));
    AddState("Pursue", std::make_unique<ControllerStationaryMonsterStatePursue>(this));
    AddState("Attack", std::make_unique<ControllerMonsterStateAttack>(this));
    AddState("Flee", std::make_unique<ToIdle>(this));
    AddState("Return", std::make_unique<ToIdle>(this));
    AddState("Dying", std::make_unique<ControllerMonsterStateDying>(this));
    AddState("Dead", std::make_unique<ControllerMonsterStateDead>(this));
    AddState("Stunned", std::make_unique<ControllerMonsterStateStunned>(this));
    AddState("FollowLeader", std::make_unique<ToIdle>(this));
    AddState("DefendLeader", std::make_unique<ToIdle>(this));
    AddState("Move", std::make_unique<ToIdle>(this));
    AddState("Paralyze", std::make_unique<ControllerMonsterStateParalyze>(this));
    AddState("Confused", std::make_unique<ControllerMonsterStateConfused>(this));
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
