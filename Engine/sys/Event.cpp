#include "Engine/sys/Event.h"

#include <chrono>
#include <thread>

namespace GAME {

void Event::Signal() {
    {
        std::lock_guard lock(mMutex);
        mSignaled = true;
    }
    mCondition.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(mMutex);
    mSignaled = false;
}

bool Event::IsSignaled() const {
    std::lock_guard lock(mMutex);
    return mSignaled;
}

bool Event::Wait(std::int64_t timeoutMs) {
    std::unique_lock lock(mMutex);
    auto ready = [this] { return mSignaled; };
    if (timeoutMs < 0)
        mCondition.wait(lock, ready);
    else if (!mCondition.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
        return false;
    if (!mManualReset)
        mSignaled = false;
    return true;
}

int WaitForAnyEvent(Event* const* events, int count, std::int64_t timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (int i = 0; i < count; ++i)
            if (events[i]->Wait(0))
                return i;
        if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace GAME
