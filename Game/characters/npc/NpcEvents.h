#pragma once
// Payloads of the conversation events of non-player characters ("ConversationBegin" is
// the quests' GameEvent_ConversationBegin).
#include <cstdint>
#include <string>

#include "Game/core/GameEvents.h"
#include "Game/quests/QuestEvents.h"

namespace GAME {

// "GameEvent_ConversationAlert": the NPC calls out.
struct GameEvent_ConversationAlert : GameEvent {
    std::uint32_t npcId = 0;
};

// "GameEvent_ActivateNPCMarket": a player asked a merchant for its market.
struct GameEvent_ActivateNPCMarket : GameEvent {
    std::uint32_t merchantId = 0;
    std::uint32_t playerId = 0;
};

}  // namespace GAME
