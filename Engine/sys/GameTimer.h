#pragma once
// A stopwatch on the machine's game clock (Engine::GetGameTime), which only the host's frames
// advance: the same run reads the same times on every machine, never the wall clock. A timer
// reads the clock of the machine it was made on. It runs from construction; Stop pauses it and
// Start resumes it.
#include <cstdint>

namespace GAME {

class Engine;

class GameTimer {
public:
    GameTimer();

    // Restarts from 0, running.
    void Reset();
    void Start();
    void Stop();
    bool IsRunning() const { return mRunning; }

    // Takes the time run since the last update (plus extraMs) as the elapsed time.
    void Update(int extraMs = 0);
    // Milliseconds of the last update.
    std::uint32_t GetElapsedTime() const { return mElapsed; }
    // Milliseconds run since the last Reset (pauses excluded), read now.
    std::uint64_t GetTotalElapsedTime() const;

private:
    std::uint64_t Now() const;
    std::uint64_t RunSince(std::uint64_t mark) const;

    Engine* mClock;
    std::uint64_t mTotalBeforeRun = 0;   // run time up to the last Start
    std::uint64_t mRunStart = 0;         // game time of the last Start or Reset
    std::uint64_t mLastUpdateTotal = 0;  // total run time at the last Update
    std::uint32_t mElapsed = 0;
    bool mRunning = true;
};

}  // namespace GAME
