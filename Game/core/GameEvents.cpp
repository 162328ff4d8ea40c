#include "Game/core/GameEvents.h"

#include "Engine/sys/Machine.h"

namespace GAME {

std::string GameEventName(const char* happening) {
    return std::string("GameEvent_") + happening;
}

void SendGameEvent(const GameEvent& payload, const char* happening) {
    const std::string name = GameEventName(happening);
    Singleton<EventManager>::Get().Send(&payload, name);
}

}  // namespace GAME
