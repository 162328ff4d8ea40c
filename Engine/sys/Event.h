#pragma once
// A waitable event, signalled or not; manual-reset events stay signalled until reset.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace GAME {

class Event {
public:
    explicit Event(bool manualReset = false, bool initiallySignaled = false)
        : mManualReset(manualReset), mSignaled(initiallySignaled) {}

    void Signal();
    void Reset();
    // Waits up to timeoutMs (negative: forever); true when the event was signalled.
    bool Wait(std::int64_t timeoutMs = -1);
    bool IsSignaled() const;

    static constexpr std::int64_t INFINITE_WAIT = -1;

private:
    mutable std::mutex mMutex;
    std::condition_variable mCondition;
    bool mManualReset;
    bool mSignaled;
};

// Waits for the first of several events; returns its index or -1 on timeout.
int WaitForAnyEvent(Event* const* events, int count, std::int64_t timeoutMs);

}  // namespace GAME
