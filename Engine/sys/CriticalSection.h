#pragma once
// A recursive lock (the same thread may enter again) and its scoped holder.
#include <mutex>

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

}  // namespace GAME
