#pragma once
// A recursive lock (the same thread may enter again) and its scoped holder; a spin lock for
// sections of a few instructions.
#include <atomic>
#include <mutex>
#include <thread>

namespace GAME {

class CriticalSection {
public:
    void Enter() { mMutex.lock(); }
    void Exit() { mMutex.unlock(); }
    bool TryEnter() { return mMutex.try_lock(); }

private:
    std::recursive_mutex mMutex;
};

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : mSection(section) { mSection.Enter(); }
    ~CriticalSectionLock() { mSection.Exit(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& mSection;
};

// Not recursive. Taking it free costs one atomic exchange, where a mutex costs two calls: for
// sections as short as a draw, taken thousands of times a frame with nobody waiting.
class SpinLock {
public:
    void lock() noexcept {
        while (mHeld.test_and_set(std::memory_order_acquire))
            while (mHeld.test(std::memory_order_relaxed))
                std::this_thread::yield();
    }
    void unlock() noexcept { mHeld.clear(std::memory_order_release); }

private:
    std::atomic_flag mHeld;
};

}  // namespace GAME
