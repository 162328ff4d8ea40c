#pragma once
// Payloads of the quest events ("GameEvent_" + the name in each comment).
#include <cstdint>
#include <string>

#include "Engine/text/Name.h"
#include "Game/core/GameEvents.h"

namespace GAME {

// "InheritQuest" (a quest became active), "QuestUnsolvable".
struct GameEvent_QuestHandle : GameEvent {
    Name handle;
};

// "QuestComplete".
struct GameEvent_QuestComplete : GameEvent {
    Name handle;
    bool first = false;
    bool second = false;
};

// "QuestReset": every quest is gone.
struct GameEvent_QuestReset : GameEvent {};

// "QuestUpdate": the quest log must be drawn again.
struct GameEvent_QuestUpdate : GameEvent {
    int value = 0;
};

// "CompleteQuestNow": the quest whose handle is made from `name` completes at once.
struct GameEvent_CompleteQuestNow : GameEvent {
    std::string name;
    bool first = false;
    bool second = false;
};

// "Reward": a quest announced a reward; a simulated one rebuilds the reward list.
struct GameEvent_Reward : GameEvent {
    Name handle;
    int region = 0;
    std::string locationTag;
    std::string titleTag;
    std::wstring text;
    bool simulated = false;
};

// "UpdateMapMarker".
struct GameEvent_UpdateMapMarker : GameEvent {
    Name handle;
    std::string description;
    std::string bulletPoint;
    bool complete = false;
    bool playSound = false;
    bool firstFire = false;
};

// "UpdateDialogTab".
struct GameEvent_UpdateDialogTab : GameEvent {
    Name handle;
    std::string dialogPack;
};

// "ConversationBegin": `name` is the non-player character's record.
struct GameEvent_ConversationBegin : GameEvent {
    std::string name;
    std::uint32_t npcId = 0;
    std::uint32_t playerId = 0;
};

// "EnterBoundingVolume" and "ExitBoundingVolume".
struct GameEvent_BoundingVolume : GameEvent {
    std::uint32_t volumeId = 0;
    std::uint32_t entityId = 0;
};

}  // namespace GAME
