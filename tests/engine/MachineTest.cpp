#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>
#include <utility>

#include "Engine/Engine.h"
#include "Engine/events/EventManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Event.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(Machine, TwoMachinesKeepTheirStateApart) {
    TestMachine server;
    TestMachine client("");
    std::uint32_t serverId = 0;
    ON_MACHINE(server) {
        serverId = Singleton<ObjectManager>::Get().CreateObject("Actor")->GetObjectId();
        crt_srand(5);
        gEngine->Log(0, "on the server");
        EXPECT_TRUE(Singleton<ObjectManager>::Get().LoadTableFile("Records/Test/Values.dbr"));
    }
    ON_MACHINE(client) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(serverId), nullptr);
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectCount(), 0u);
        crt_srand(5);
        EXPECT_FALSE(Singleton<ObjectManager>::Get().LoadTableFile("Records/Test/Values.dbr"));
    }
    EXPECT_EQ(server.CountLog("on the server"), 1);
    EXPECT_EQ(client.CountLog("on the server"), 0);
    int a, b;
    ON_MACHINE(server) {
        a = crt_rand();
    }
    ON_MACHINE(client) {
        b = crt_rand();
    }
    EXPECT_EQ(a, b);
}

TEST(Machine, CrtRandIsTheClassicGenerator) {
    TestMachine tm;
    crt_srand(1);
    // state = state * 214013 + 2531011, result (state >> 16) & 0x7FFF
    EXPECT_EQ(crt_rand(), 41);
    EXPECT_EQ(crt_rand(), 18467);
    EXPECT_EQ(crt_rand(), 6334);
    for (int i = 0; i < 1000; ++i) {
        const int r = crt_rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, CRT_RAND_MAX);
    }
}

TEST(Machine, ScopesNestAndThreadsStartOnTheDefault) {
    TestMachine outer;
    Machine* seen = nullptr;
    {
        Machine inner;
        MachineScope scope(inner);
        EXPECT_EQ(&Machine::Current(), &inner);
        std::thread([&] { seen = &Machine::Current(); }).join();
    }
    EXPECT_EQ(&Machine::Current(), &outer.machine());
    EXPECT_EQ(seen, &Machine::Default());
}

struct Recorder : EventHandlerInterface {
    std::vector<int>* order;
    int tag;
    Recorder(std::vector<int>* o, int t) : order(o), tag(t) {}
    void HandleEvent(const GameEvent*) override { order->push_back(tag); }
};

struct SelfRemover : EventHandlerInterface {
    std::vector<int>* order;
    explicit SelfRemover(std::vector<int>* o) : order(o) {}
    void HandleEvent(const GameEvent*) override {
        order->push_back(99);
        Singleton<EventManager>::Get().UnRegister("GameEvent_Test", this);
    }
};

TEST(Events, DeliveryIsSynchronousInRegistrationOrder) {
    TestMachine tm;
    auto& events = Singleton<EventManager>::Get();
    std::vector<int> order;
    Recorder first(&order, 1), second(&order, 2), other(&order, 3);
    SelfRemover remover(&order);
    events.Register("GameEvent_Test", &first);
    events.Register("GameEvent_Test", &remover);
    events.Register("GameEvent_Test", &second);
    events.Register("GameEvent_Other", &other);
    GameEvent payload;
    events.Send(&payload, "GameEvent_Test");
    EXPECT_EQ(order, (std::vector<int>{1, 99, 2}));
    order.clear();
    events.UnRegister("GameEvent_Test", &first);
    events.Send(&payload, "GameEvent_Test");
    EXPECT_EQ(order, std::vector<int>{2});
    events.Send(&payload, "GameEvent_Nobody");
    EXPECT_EQ(events.GetHandlerCount("GameEvent_Test"), 1u);
}

TEST(Log, FormatsLongLinesAndChannels) {
    TestMachine tm;
    const std::string longText(2000, 'x');
    gEngine->Log(1, "%s!", longText.c_str());
    gEngine->LogChannel(0, "Combat", "hit %d", 5);
    ASSERT_EQ(tm.Log().size(), 2u);
    EXPECT_EQ(tm.Log()[0].text.size(), 2001u);
    EXPECT_EQ(tm.Log()[0].level, 1);
    EXPECT_EQ(tm.Log()[1].channel, "Combat");
    EXPECT_EQ(tm.Log()[1].text, "hit 5");
    // A format without conversions prints as itself; an escaped percent sign is still one.
    tm.ClearLog();
    gEngine->Log(2, "no conversions");
    gEngine->Log(2, "100%% sure");
    ASSERT_EQ(tm.Log().size(), 2u);
    EXPECT_EQ(tm.Log()[0].text, "no conversions");
    EXPECT_EQ(tm.Log()[1].text, "100% sure");
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

template <int N>
struct Slot {
    int value = N;
};

template <int... N>
int MakeSlots(Machine& machine, std::integer_sequence<int, N...>) {
    const int values[] = {machine.Get<Slot<N>>().value...};
    int sum = 0;
    for (const int value : values)
        sum += value;
    return sum;
}

// A worker of the machine (the save thread) looks up instances that exist while the main
// thread creates new kinds; the lookups must not see storage being moved.
TEST(Machine, InstancesAreFoundWhileOthersAreCreatedOnAnotherThread) {
    test::TestMachine tm("");
    Machine& machine = tm.machine();
    machine.Get<Slot<-1>>();
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::thread reader([&] {
        MachineScope scope(machine);
        while (!stop)
            if (machine.Get<Slot<-1>>().value != -1)
                ++wrong;
    });
    const int sum = MakeSlots(machine, std::make_integer_sequence<int, 300>());
    stop = true;
    reader.join();
    EXPECT_EQ(sum, 299 * 300 / 2);
    EXPECT_EQ(wrong, 0);
}

TEST(Machine, LogLinesFromSeveralThreadsAreAllDelivered) {
    test::TestMachine tm("");
    auto work = [&] {
        MachineScope scope(tm.machine());
        for (int i = 0; i < 2000; ++i)
            gEngine->Log(0, "line %d", i);
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(tm.Log().size(), 4000u);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// A timeout too long to add to the clock means "wait until signalled", not "give up at once".
TEST(WaitableEvent, AnOverlongTimeoutWaitsForTheSignal) {
    Event event;
    Event other;
    std::thread signaller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        event.Signal();
    });
    EXPECT_TRUE(event.Wait(std::numeric_limits<std::int64_t>::max()));
    signaller.join();
    Event* both[] = {&other, &event};
    std::thread again([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        event.Signal();
    });
    EXPECT_EQ(WaitForAnyEvent(both, 2, std::numeric_limits<std::int64_t>::max()), 1);
    again.join();
    EXPECT_FALSE(other.Wait(0));
    EXPECT_FALSE(other.Wait(5));
}

}  // namespace
}  // namespace GAME
