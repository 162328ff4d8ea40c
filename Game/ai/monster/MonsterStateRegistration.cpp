// The states every monster has, in registration order. Monster kinds register their own
// replacements after these.
#include <memory>

#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/CombatStates.h"
#include "Game/ai/monster/states/DeathStates.h"
#include "Game/ai/monster/states/DisabledStates.h"
#include "Game/ai/monster/states/FearStates.h"
#include "Game/ai/monster/states/FleeState.h"
#include "Game/ai/monster/states/LeaderStates.h"
#include "Game/ai/monster/states/MovementStates.h"
#include "Game/ai/monster/states/ScriptedStates.h"
#include "Game/characters/monster/Monster.h"

namespace GAME {

void ControllerMonster::AddMonsterStates(bool temporary) {
    if (temporary) {
        AddTemporaryState("UseSkillOnAlly",
                          std::make_unique<ControllerMonsterStateUseSkillOnAlly>(this));
        AddTemporaryState("UseSkillOnPoint",
                          std::make_unique<ControllerMonsterStateUseSkillOnPoint>(this));
        return;
    }
    // clang-format off
    AddState("Startup", std::make_unique<ControllerMonsterStateStartup>(this));
    AddState("Idle", std::make_unique<ControllerMonsterStateIdle>(this));
    AddState("Pursue", std::make_unique<ControllerMonsterStatePursue>(this));
    AddState("EmoteBeforePursue", std::make_unique<ControllerMonsterStateEmoteBeforePursue>(this));
    AddState("Attack", std::make_unique<ControllerMonsterStateAttack>(this));
    AddState("RepositionForAttack", std::make_unique<ControllerMonsterStateRepositionForAttack>(this));
    AddState("Flee", std::make_unique<ControllerMonsterStateFlee>(this));
    AddState("Roam", std::make_unique<ControllerMonsterStateRoam>(this));
    AddState("Wander", std::make_unique<ControllerMonsterStateWander>(this));
    AddState("WanderPause", std::make_unique<ControllerMonsterStateWanderPause>(this));
    AddState("Return", std::make_unique<ControllerMonsterStateReturnFast>(this));
    AddState("Dying", std::make_unique<ControllerMonsterStateDying>(this));
    AddState("Dead", std::make_unique<ControllerMonsterStateDead>(this));
    AddState("FollowLeader", std::make_unique<ControllerMonsterStateFollowLeader>(this));
    AddState("DefendLeader", std::make_unique<ControllerMonsterStateDefendLeader>(this));
    AddState("NavigateObstacle", std::make_unique<ControllerMonsterStateNavigateObstacle>(this));
    AddState("Move", std::make_unique<ControllerMonsterStateMove>(this));
    AddState("DodgeAttack", std::make_unique<ControllerMonsterStateDodgeAttack>(this));
    AddState("Panic", std::make_unique<ControllerMonsterStatePanic>(this));
    AddState("Paralyze", std::make_unique<ControllerMonsterStateParalyze>(this));
    AddState("Confused", std::make_unique<ControllerMonsterStateConfused>(this));
    AddState("Immobile", std::make_unique<ControllerMonsterStateImmobile>(this));
    AddState("Trapped", std::make_unique<ControllerMonsterStateTrapped>(this));
    AddState("TrappedAttack", std::make_unique<ControllerMonsterStateTrappedAttack>(this));
    AddState("Stunned", std::make_unique<ControllerMonsterStateStunned>(this));
    AddState("Scared", std::make_unique<ControllerMonsterStateScared>(this));
    AddState("Patrol", std::make_unique<ControllerMonsterStatePatrol>(this));
    AddState("WaitToAttack", std::make_unique<ControllerMonsterStateWaitToAttack>(this));
    AddState("QuestMove", std::make_unique<ControllerMonsterStateQuestMove>(this));
    AddState("QuestWalk", std::make_unique<ControllerMonsterStateQuestWalk>(this));
    AddState("QuestPlayAnimation", std::make_unique<ControllerMonsterStateQuestPlayAnimation>(this));
    AddState("QuestUseSkill", std::make_unique<ControllerMonsterStateQuestUseSkill>(this));
    // clang-format on
}

}  // namespace GAME
