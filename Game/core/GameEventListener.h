#pragma once
// The listener member through which an owner receives one named game event. It registers when
// built and unregisters when destroyed; until the owner sets itself (once fully built), received
// events are dropped.
#include <string>

#include "Engine/events/EventManager.h"
#include "Engine/sys/Machine.h"

namespace GAME {

template <class Owner, class Payload>
class GameEventListener : public EventHandlerInterface {
public:
    using Handler = void (Owner::*)(const Payload&);

    // name: the full event name ("GameEvent_CreatureDeath").
    explicit GameEventListener(const std::string& name, const char* ownerTypeName = "")
        : mName(name), mTypeName(ownerTypeName) {
        Singleton<EventManager>::Get().Register(mName, this);
    }
    ~GameEventListener() override { Singleton<EventManager>::Get().UnRegister(mName, this); }
    GameEventListener(const GameEventListener&) = delete;
    GameEventListener& operator=(const GameEventListener&) = delete;

    void HandleEvent(const GameEvent* payload) override {
        if (!mOwner || !mHandler || !payload)
            return;
        // A payload of another kind sent under this name is not ours to read.
        if (const auto* typed = dynamic_cast<const Payload*>(payload))
            (mOwner->*mHandler)(*typed);
    }
    void Send(const Payload& payload) const {
        Singleton<EventManager>::Get().Send(&payload, mName);
    }
    const char* GetTypeName() const override { return mTypeName; }

    void SetOwner(Owner* owner, Handler handler) {
        mOwner = owner;
        mHandler = handler;
    }
    Owner* GetOwner() const { return mOwner; }
    const std::string& GetName() const { return mName; }

private:
    std::string mName;
    const char* mTypeName;
    Owner* mOwner = nullptr;
    Handler mHandler = nullptr;
};

}  // namespace GAME
