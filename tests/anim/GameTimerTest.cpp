// Game timers read their machine's game clock, which only the host's frames move.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Engine/Engine.h"
#include "Engine/sys/GameTimer.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

void Frames(int count, std::uint32_t ms) {
    for (int i = 0; i < count; ++i)
        gEngine->AdvanceGameTime(ms);
}

TEST(GameTimer, FollowsTheHostStepsOfItsOwnMachineNotTheWallClock) {
    TestMachine a;
    TestMachine b;
    std::unique_ptr<GameTimer> timer;
    ON_MACHINE(a) {
        Frames(2, 50);  // time before the timer does not count
        timer = std::make_unique<GameTimer>();
        Frames(3, 16);
    }
    ON_MACHINE(b) {
        Frames(10, 100);  // another machine's frames do not count either
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ON_MACHINE(a) {
        timer->Update();
        EXPECT_EQ(timer->GetElapsedTime(), 48u);
        EXPECT_EQ(timer->GetTotalElapsedTime(), 48u);
        timer->Update();  // no frame since: nothing elapsed
        EXPECT_EQ(timer->GetElapsedTime(), 0u);
        Frames(1, 16);
        timer->Update(5);
        EXPECT_EQ(timer->GetElapsedTime(), 21u);
        EXPECT_EQ(timer->GetTotalElapsedTime(), 64u);
        timer.reset();
    }
}

TEST(GameTimer, StopPausesStartResumesResetRestarts) {
    TestMachine tm;
    GameTimer timer;
    Frames(2, 25);
    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    Frames(4, 25);
    EXPECT_EQ(timer.GetTotalElapsedTime(), 50u);
    timer.Start();
    timer.Start();  // already running: nothing changes
    Frames(1, 10);
    EXPECT_EQ(timer.GetTotalElapsedTime(), 60u);
    timer.Update();
    EXPECT_EQ(timer.GetElapsedTime(), 60u);  // the paused stretch is not elapsed time
    timer.Reset();
    EXPECT_EQ(timer.GetTotalElapsedTime(), 0u);
    EXPECT_EQ(timer.GetElapsedTime(), 0u);
    Frames(1, 7);
    EXPECT_EQ(timer.GetTotalElapsedTime(), 7u);
}

TEST(GameTimer, APausedGameClockAddsNothing) {
    TestMachine tm;
    GameTimer timer;
    Frames(1, 16);
    EXPECT_EQ(gEngine->GetFrameStep(), 16u);
    gEngine->SetGameTimePaused(true);
    Frames(5, 16);
    EXPECT_EQ(gEngine->GetGameTime(), 16u);
    EXPECT_EQ(gEngine->GetFrameStep(), 0u);
    EXPECT_EQ(timer.GetTotalElapsedTime(), 16u);
    gEngine->SetGameTimePaused(false);
    Frames(1, 16);
    EXPECT_EQ(timer.GetTotalElapsedTime(), 32u);
}

}  // namespace
}  // namespace GAME::test
