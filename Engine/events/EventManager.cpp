#include "Engine/events/EventManager.h"

#include <algorithm>

namespace GAME {

void EventManager::Register(const std::string& name, EventHandlerInterface* handler) {
    if (!handler)
        return;
    Channel& channel = mChannels[name];
    if (std::find(channel.handlers.begin(), channel.handlers.end(), handler) ==
        channel.handlers.end())
        channel.handlers.push_back(handler);
}

void EventManager::UnRegister(const std::string& name, EventHandlerInterface* handler) {
    auto it = mChannels.find(name);
    if (it == mChannels.end())
        return;
    Channel& channel = it->second;
    auto pos = std::find(channel.handlers.begin(), channel.handlers.end(), handler);
    if (pos == channel.handlers.end())
        return;
    // During delivery the list is being walked: leave a hole, compacted afterwards.
    if (channel.delivering > 0)
        *pos = nullptr;
    else
        channel.handlers.erase(pos);
}

void EventManager::Send(const GameEvent* payload, const std::string& name) {
    auto it = mChannels.find(name);
    if (it == mChannels.end())
        return;
    Channel& channel = it->second;
    ++channel.delivering;
    // Handlers registered during this delivery wait for the next event.
    const std::size_t count = channel.handlers.size();
    for (std::size_t i = 0; i < count; ++i)
        if (EventHandlerInterface* handler = channel.handlers[i])
            handler->HandleEvent(payload);
    if (--channel.delivering == 0)
        std::erase(channel.handlers, nullptr);
}

std::size_t EventManager::GetHandlerCount(const std::string& name) const {
    auto it = mChannels.find(name);
    if (it == mChannels.end())
        return 0;
    return static_cast<std::size_t>(std::count_if(
        it->second.handlers.begin(), it->second.handlers.end(), [](auto* h) { return h; }));
}

}  // namespace GAME
