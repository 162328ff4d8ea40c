#include "Engine/sys/GameTimer.h"

#include <limits>

#include "Engine/Engine.h"

namespace GAME {

GameTimer::GameTimer() : mClock(gEngine), mRunStart(mClock->GetGameTime()) {}

std::uint64_t GameTimer::Now() const {
    return mClock->GetGameTime();
}

void GameTimer::Reset() {
    mTotalBeforeRun = 0;
    mLastUpdateTotal = 0;
    mElapsed = 0;
    mRunStart = Now();
    mRunning = true;
}

void GameTimer::Start() {
    if (mRunning)
        return;
    mRunStart = Now();
    mRunning = true;
}

void GameTimer::Stop() {
    if (!mRunning)
        return;
    mTotalBeforeRun += RunSince(mRunStart);
    mRunning = false;
}

std::uint64_t GameTimer::RunSince(std::uint64_t mark) const {
    const std::uint64_t now = Now();
    return now > mark ? now - mark : 0;
}

std::uint64_t GameTimer::GetTotalElapsedTime() const {
    return mTotalBeforeRun + (mRunning ? RunSince(mRunStart) : 0);
}

void GameTimer::Update(int extraMs) {
    const std::uint64_t total = GetTotalElapsedTime();
    std::uint64_t step = total - mLastUpdateTotal;
    mLastUpdateTotal = total;
    if (extraMs > 0)
        step += static_cast<std::uint64_t>(extraMs);
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    mElapsed = static_cast<std::uint32_t>(step > kMax ? kMax : step);
}

}  // namespace GAME
