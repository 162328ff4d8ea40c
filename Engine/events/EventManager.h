#pragma once
// Named game events: a sender hands a payload and a name to Send, which calls every handler
// registered under that name, in registration order, before it returns.
#include <string>
#include <unordered_map>
#include <vector>

namespace GAME {

// The base of every event payload.
struct GameEvent {
    virtual ~GameEvent() = default;
};

class EventHandlerInterface {
public:
    virtual ~EventHandlerInterface() = default;
    virtual void HandleEvent(const GameEvent* payload) = 0;
    virtual const char* GetTypeName() const { return ""; }
};

class EventManager {
public:
    void Register(const std::string& name, EventHandlerInterface* handler);
    void UnRegister(const std::string& name, EventHandlerInterface* handler);
    void Send(const GameEvent* payload, const std::string& name);
    std::size_t GetHandlerCount(const std::string& name) const;

private:
    struct Channel {
        std::vector<EventHandlerInterface*> handlers;  // null: unregistered during delivery
        int delivering = 0;
    };
    std::unordered_map<std::string, Channel> mChannels;
};

}  // namespace GAME
