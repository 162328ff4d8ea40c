#include "Engine/sys/Event.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace GAME {

namespace {
// Longer timeouts cannot be added to the clock without overflowing; they mean "forever".
constexpr std::int64_t kLongestTimeoutMs = std::int64_t{1} << 40;  // about 35 years

std::int64_t Bounded(std::int64_t timeoutMs) {
    return timeoutMs > kLongestTimeoutMs ? -1 : timeoutMs;
}
}  // namespace

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
    timeoutMs = Bounded(timeoutMs);
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
    if (!events || count <= 0)
        return -1;  // nothing could ever signal
    timeoutMs = Bounded(timeoutMs);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(std::max<std::int64_t>(timeoutMs, 0));
    for (;;) {
        for (int i = 0; i < count; ++i)
            if (events[i] && events[i]->Wait(0))
                return i;
        if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace GAME
