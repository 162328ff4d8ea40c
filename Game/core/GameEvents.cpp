#include "Game/core/GameEvents.h"

#include <memory>
#include <string>
#include <vector>

#include "Engine/sys/Machine.h"

namespace GAME {

std::string GameEventName(const char* happening) {
    return std::string("GameEvent_") + happening;
}

void SendGameEvent(const GameEvent& payload, const char* happening) {
    // The name is built in storage kept per thread and depth (a handler may send an event of
    // its own while this one is delivered): sending takes nothing from the heap once warm.
    thread_local std::vector<std::unique_ptr<std::string>> names;
    thread_local std::size_t depth = 0;
    if (depth == names.size())
        names.push_back(std::make_unique<std::string>());
    std::string& name = *names[depth];
    name.assign("GameEvent_").append(happening);
    struct Nested {
        Nested() { ++depth; }
        ~Nested() { --depth; }
    } nested;
    Singleton<EventManager>::Get().Send(&payload, name);
}

}  // namespace GAME
