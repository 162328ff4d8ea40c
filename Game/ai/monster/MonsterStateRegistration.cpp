// The states every monster has, in registration order. A line per state: each names the class
// that the state will be built as; until then a placeholder holds the name.
#include <memory>

#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/DeathStates.h"
#include "Game/ai/monster/states/DisabledStates.h"
#include "Game/ai/monster/states/FearStates.h"
#include "Game/ai/monster/states/FleeState.h"
#include "Game/ai/monster/states/LeaderStates.h"
#include "Game/ai/monster/states/MovementStates.h"
#include "Game/ai/monster/states/ScriptedStates.h"
#include "Game/characters/monster/Monster.h"

namespace GAME {

namespace {

// Does nothing beyond the state base.
class PlaceholderState final : public ControllerAIStateT<ControllerMonster, Monster> {
public:
    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}
};

}  // namespace

void ControllerMonster::AddMonsterStates(bool temporary) {
    if (temporary) {
        AddTemporaryState("UseSkillOnAlly", std::make_unique<PlaceholderState>(
                                                this));  // ControllerMonsterStateUseSkillOnAlly
        AddTemporaryState("UseSkillOnPoint", std::make_unique<PlaceholderState>(
                                                 this));  // ControllerMonsterStateUseSkillOnPoint
        return;
    }
    // clang-format off
    AddState("Startup", std::make_unique<PlaceholderState>(this));             // ControllerMonsterStateStartup
    AddState("Idle", std::make_unique<PlaceholderState>(this));                // ControllerMonsterStateIdle
    AddState("Pursue", std::make_unique<PlaceholderState>(this));              // ControllerMonsterStatePursue
    AddState("EmoteBeforePursue", std::make_unique<PlaceholderState>(this));   // ControllerMonsterStateEmoteBeforePursue
    AddState("Attack", std::make_unique<PlaceholderState>(this));              // ControllerMonsterStateAttack
    AddState("RepositionForAttack", std::make_unique<PlaceholderState>(this)); // ControllerMonsterStateRepositionForAttack
    AddState("Flee", std::make_unique<ControllerMonsterStateFlee>(this));
    AddState("Roam", std::make_unique<ControllerMonsterStateRoam>(this));
    AddState("Wander", std::make_unique<ControllerMonsterStateWander>(this));
    AddState("WanderPause", std::make_unique<ControllerMonsterStateWanderPause>(this));
    AddState("Return", std::make_unique<ControllerMonsterStateReturnFast>(this));
    AddState("Dying", std::make_unique<ControllerMonsterStateDying>(this));
    AddState("Dead", std::make_unique<ControllerMonsterStateDead>(this));
    AddState("FollowLeader", std::make_unique<ControllerMonsterStateFollowLeader>(this));
    AddState("DefendLeader", std::make_unique<ControllerMonsterStateDefendLeader>(this));
    AddState("NavigateObstacle", std::make_unique<PlaceholderState>(this));    // ControllerMonsterStateNavigateObstacle
    AddState("Move", std::make_unique<ControllerMonsterStateMove>(this));
    AddState("DodgeAttack", std::make_unique<PlaceholderState>(this));         // ControllerMonsterStateDodgeAttack
    AddState("Panic", std::make_unique<ControllerMonsterStatePanic>(this));
    AddState("Paralyze", std::make_unique<ControllerMonsterStateParalyze>(this));
    AddState("Confused", std::make_unique<ControllerMonsterStateConfused>(this));
    AddState("Immobile", std::make_unique<ControllerMonsterStateImmobile>(this));
    AddState("Trapped", std::make_unique<ControllerMonsterStateTrapped>(this));
    AddState("TrappedAttack", std::make_unique<ControllerMonsterStateTrappedAttack>(this));
    AddState("Stunned", std::make_unique<ControllerMonsterStateStunned>(this));
    AddState("Scared", std::make_unique<ControllerMonsterStateScared>(this));
    AddState("Patrol", std::make_unique<ControllerMonsterStatePatrol>(this));
    AddState("WaitToAttack", std::make_unique<PlaceholderState>(this));        // ControllerMonsterStateWaitToAttack
    AddState("QuestMove", std::make_unique<ControllerMonsterStateQuestMove>(this));
    AddState("QuestWalk", std::make_unique<ControllerMonsterStateQuestWalk>(this));
    AddState("QuestPlayAnimation", std::make_unique<ControllerMonsterStateQuestPlayAnimation>(this));
    AddState("QuestUseSkill", std::make_unique<ControllerMonsterStateQuestUseSkill>(this));
    // clang-format on
}

}  // namespace GAME
