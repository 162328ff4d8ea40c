// The states every monster has, in registration order. A line per state: each names the class
// that the state will be built as; until then a placeholder holds the name.
#include <memory>

#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/monster/ControllerMonster.h"
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
    AddState("Flee", std::make_unique<PlaceholderState>(this));                // ControllerMonsterStateFlee
    AddState("Roam", std::make_unique<PlaceholderState>(this));                // ControllerMonsterStateRoam
    AddState("Wander", std::make_unique<PlaceholderState>(this));              // ControllerMonsterStateWander
    AddState("WanderPause", std::make_unique<PlaceholderState>(this));         // ControllerMonsterStateWanderPause
    AddState("Return", std::make_unique<PlaceholderState>(this));              // ControllerMonsterStateReturnFast (a monster runs home)
    AddState("Dying", std::make_unique<PlaceholderState>(this));               // ControllerMonsterStateDying
    AddState("Dead", std::make_unique<PlaceholderState>(this));                // ControllerMonsterStateDead
    AddState("FollowLeader", std::make_unique<PlaceholderState>(this));        // ControllerMonsterStateFollowLeader
    AddState("DefendLeader", std::make_unique<PlaceholderState>(this));        // ControllerMonsterStateDefendLeader
    AddState("NavigateObstacle", std::make_unique<PlaceholderState>(this));    // ControllerMonsterStateNavigateObstacle
    AddState("Move", std::make_unique<PlaceholderState>(this));                // ControllerMonsterStateMove
    AddState("DodgeAttack", std::make_unique<PlaceholderState>(this));         // ControllerMonsterStateDodgeAttack
    AddState("Panic", std::make_unique<PlaceholderState>(this));               // ControllerMonsterStatePanic
    AddState("Paralyze", std::make_unique<PlaceholderState>(this));            // ControllerMonsterStateParalyze
    AddState("Confused", std::make_unique<PlaceholderState>(this));            // ControllerMonsterStateConfused
    AddState("Immobile", std::make_unique<PlaceholderState>(this));            // ControllerMonsterStateImmobile
    AddState("Trapped", std::make_unique<PlaceholderState>(this));             // ControllerMonsterStateTrapped
    AddState("TrappedAttack", std::make_unique<PlaceholderState>(this));       // ControllerMonsterStateTrappedAttack
    AddState("Stunned", std::make_unique<PlaceholderState>(this));             // ControllerMonsterStateStunned
    AddState("Scared", std::make_unique<PlaceholderState>(this));              // ControllerMonsterStateScared
    AddState("Patrol", std::make_unique<PlaceholderState>(this));              // ControllerMonsterStatePatrol
    AddState("WaitToAttack", std::make_unique<PlaceholderState>(this));        // ControllerMonsterStateWaitToAttack
    AddState("QuestMove", std::make_unique<PlaceholderState>(this));           // ControllerMonsterStateQuestMove
    AddState("QuestWalk", std::make_unique<PlaceholderState>(this));           // ControllerMonsterStateQuestWalk
    AddState("QuestPlayAnimation", std::make_unique<PlaceholderState>(this));  // ControllerMonsterStateQuestPlayAnimation
    AddState("QuestUseSkill", std::make_unique<PlaceholderState>(this));       // ControllerMonsterStateQuestUseSkill
    // clang-format on
}

}  // namespace GAME
