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
    if (!MustDeclareStates(temporary))
        return;
    if (temporary) {
        AddTemporaryState<ControllerMonsterStateUseSkillOnAlly>("UseSkillOnAlly", this);
        AddTemporaryState<ControllerMonsterStateUseSkillOnPoint>("UseSkillOnPoint", this);
        return;
    }
    // clang-format off
    AddState<ControllerMonsterStateStartup>("Startup", this);
    AddState<ControllerMonsterStateIdle>("Idle", this);
    AddState<ControllerMonsterStatePursue>("Pursue", this);
    AddState<ControllerMonsterStateEmoteBeforePursue>("EmoteBeforePursue", this);
    AddState<ControllerMonsterStateAttack>("Attack", this);
    AddState<ControllerMonsterStateRepositionForAttack>("RepositionForAttack", this);
    AddState<ControllerMonsterStateFlee>("Flee", this);
    AddState<ControllerMonsterStateRoam>("Roam", this);
    AddState<ControllerMonsterStateWander>("Wander", this);
    AddState<ControllerMonsterStateWanderPause>("WanderPause", this);
    AddState<ControllerMonsterStateReturnFast>("Return", this);
    AddState<ControllerMonsterStateDying>("Dying", this);
    AddState<ControllerMonsterStateDead>("Dead", this);
    AddState<ControllerMonsterStateFollowLeader>("FollowLeader", this);
    AddState<ControllerMonsterStateDefendLeader>("DefendLeader", this);
    AddState<ControllerMonsterStateNavigateObstacle>("NavigateObstacle", this);
    AddState<ControllerMonsterStateMove>("Move", this);
    AddState<ControllerMonsterStateDodgeAttack>("DodgeAttack", this);
    AddState<ControllerMonsterStatePanic>("Panic", this);
    AddState<ControllerMonsterStateParalyze>("Paralyze", this);
    AddState<ControllerMonsterStateConfused>("Confused", this);
    AddState<ControllerMonsterStateImmobile>("Immobile", this);
    AddState<ControllerMonsterStateTrapped>("Trapped", this);
    AddState<ControllerMonsterStateTrappedAttack>("TrappedAttack", this);
    AddState<ControllerMonsterStateStunned>("Stunned", this);
    AddState<ControllerMonsterStateScared>("Scared", this);
    AddState<ControllerMonsterStatePatrol>("Patrol", this);
    AddState<ControllerMonsterStateWaitToAttack>("WaitToAttack", this);
    AddState<ControllerMonsterStateQuestMove>("QuestMove", this);
    AddState<ControllerMonsterStateQuestWalk>("QuestWalk", this);
    AddState<ControllerMonsterStateQuestPlayAnimation>("QuestPlayAnimation", this);
    AddState<ControllerMonsterStateQuestUseSkill>("QuestUseSkill", this);
    // clang-format on
}

}  // namespace GAME
