#pragma once
// The answer sets the movement, disabled, scripted and death states are built on: which events
// each answers with the default responses of the state base.
#include "Game/ai/monster/states/ControllerMonsterState.h"

namespace GAME {

using MonsterState = ControllerMonsterState<ControllerMonster, Monster>;

// How near a destination must be reachable for a monster to set out for it.
inline constexpr float kMonsterMoveTolerance = 0.5f;

// A monster state with a fixed set of default answers.
template <MonsterDefaults Defaults>
class MonsterStateWith : public MonsterState {
public:
    explicit MonsterStateWith(ControllerMonster* controller) : MonsterState(controller, Defaults) {}
};

// Obeys quest commands; every other event is ignored.
using MonsterQuestObedientState = MonsterStateWith<MonsterDefaults::QuestCommands>;
// Heeds only confusion and quest commands.
using MonsterDistractedState =
    MonsterStateWith<MonsterDefaults::Confused | MonsterDefaults::QuestCommands>;
// Moving on its own: every default but the conversation request.
using MonsterRoamingState = MonsterStateWith<AllDefaultsBut(MonsterDefaults::RequestConversation)>;
// Staying with the leader: as roaming, but an attack on an ally is none of its business.
using MonsterFollowingState = MonsterStateWith<AllDefaultsBut(MonsterDefaults::RequestConversation |
                                                              MonsterDefaults::AllyAttacked)>;
// Carrying out the leader's order to move.
using MonsterOrderedState =
    MonsterStateWith<MonsterDefaults::RequestMove | MonsterDefaults::QuestCommands |
                     MonsterDefaults::Confused>;

}  // namespace GAME
