#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"

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

// A class of no fixed slot, numbered on first use like most.
struct NumberedSingleton {
    int value = 7;
};

// The classes of fixed slots and a numbered one each keep their own instance, per machine, and
// are made, found and reset one by one.
TEST(MachineAccess, FixedAndNumberedSlotsHoldTheirOwnInstances) {
    Machine first;
    Machine second;
    MachineScope scope(first);
    EXPECT_EQ(first.Find<ObjectManager>(), nullptr);
    EXPECT_EQ(first.Find<World>(), nullptr);
    void* const made[] = {&first.Get<ObjectManager>(), &first.Get<World>(),
                          &first.Get<NumberedSingleton>()};
    EXPECT_NE(made[0], made[1]);
    EXPECT_NE(made[0], made[2]);
    EXPECT_NE(made[1], made[2]);
    EXPECT_EQ(&Singleton<ObjectManager>::Get(), made[0]);
    EXPECT_EQ(&World::Get(), made[1]);
    EXPECT_EQ(Singleton<NumberedSingleton>::Get().value, 7);
    EXPECT_EQ(second.Find<ObjectManager>(), nullptr);
    EXPECT_EQ(second.Find<World>(), nullptr);
    EXPECT_EQ(second.Find<NumberedSingleton>(), nullptr);

    first.Reset<ObjectManager>();
    EXPECT_EQ(first.Find<ObjectManager>(), nullptr);
    EXPECT_EQ(first.Find<World>(), made[1]);
    EXPECT_EQ(first.Find<NumberedSingleton>(), made[2]);
    auto installed = std::make_unique<ObjectManager>();
    ObjectManager* const raw = installed.get();
    first.Install(std::move(installed));
    EXPECT_EQ(&Singleton<ObjectManager>::Get(), raw);
}

}  // namespace
}  // namespace GAME
