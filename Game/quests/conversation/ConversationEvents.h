#pragma once
// Payloads of the sideline conversation events ("GameEvent_" + the name in each comment).
#include <cstdint>
#include <string>

#include "Game/core/GameEvents.h"

namespace GAME {

class Conversation;

// "StartSidelineConversation": the speakers were assigned and the first line is next.
struct GameEvent_StartSidelineConversation : GameEvent {
    Conversation* conversation = nullptr;
};

// "SidelineConversationLine": a speaker says the line of the text tag.
struct GameEvent_SidelineConversationLine : GameEvent {
    Conversation* conversation = nullptr;
    std::uint32_t speakerId = 0;
    std::string tag;
};

}  // namespace GAME
