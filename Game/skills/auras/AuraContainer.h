#pragma once
// One aura on an owner: the entity that shows it and how long it has left.
#include <cstdint>
#include <string>

namespace GAME {

class AuraContainer {
public:
    AuraContainer(std::string name, std::uint32_t entityId, bool permanent, std::int32_t ms)
        : mName(std::move(name)), mEntityId(entityId), mPermanent(permanent), mRemaining(ms) {}

    const std::string& GetName() const { return mName; }
    std::uint32_t GetEntityId() const { return mEntityId; }
    bool IsPermanent() const { return mPermanent; }
    std::int32_t GetRemainingTime() const { return mRemaining; }

    // Counts down a timed aura; true when it has run out.
    bool CountDown(std::int32_t ms) {
        mRemaining -= ms;
        return mRemaining < 1;
    }
    // Makes the aura end at the owner's next update.
    void Expire() {
        mPermanent = false;
        mRemaining = 0;
    }

private:
    std::string mName;
    std::uint32_t mEntityId = 0;
    bool mPermanent = false;
    std::int32_t mRemaining = 0;
};

}  // namespace GAME
