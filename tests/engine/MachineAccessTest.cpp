#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {
namespace {

// A thread that selected no machine works on the default one; a scope opened later on that
// thread still wins, and closing it returns the thread to the default.
TEST(MachineAccess, AThreadOnTheDefaultCanStillSelectAndLeaveAMachine) {
    Machine other;
    Machine* before = nullptr;
    Machine* during = nullptr;
    Machine* after = nullptr;
    Engine* engineDuring = nullptr;
    std::thread([&] {
        before = &Machine::Current();
        gEngine->GetGameTime();  // the thread's first access settles on the default
        {
            MachineScope scope(other);
            during = &Machine::Current();
            engineDuring = gEngine;
        }
        after = &Machine::Current();
    }).join();
    EXPECT_EQ(before, &Machine::Default());
    EXPECT_EQ(during, &other);
    EXPECT_EQ(after, &Machine::Default());
    EXPECT_EQ(engineDuring, other.Find<Engine>());
    EXPECT_NE(engineDuring, Machine::Default().Find<Engine>());
}

// Threads switching between machines at once each see their own machine's engine at every
// access: nothing cached outlives a switch or crosses threads.
TEST(MachineAccess, ConcurrentThreadsEachSeeTheEngineOfTheirOwnMachine) {
    Machine machines[3];
    Engine* engines[3];
    for (int i = 0; i < 3; ++i) {
        MachineScope scope(machines[i]);
        engines[i] = gEngine;
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(100 * (i + 1)));
    }
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3000; ++round) {
                const int m = (t + round) % 3;
                MachineScope scope(machines[m]);
                if (static_cast<Engine*>(gEngine) != engines[m] ||
                    gEngine->GetGameTime() != static_cast<std::uint64_t>(100 * (m + 1)))
                    ++mismatches;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace GAME
