#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/net/ChatPacket.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/LoopbackTransport.h"
#include "Engine/object/ObjectManager.h"
#include "TestCommand.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kOgre = 0x2000;

TallyBook& Book() {
    return Singleton<TallyBook>::Get();
}

Actor* Find(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Actor>(id);
}

void MakeActorsEverywhere(NetTestGame& game, std::initializer_list<std::uint32_t> ids) {
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            for (std::uint32_t id : ids)
                MakeActor(id);
        }
}

TEST(ConfigCommand, RunsOnceLocallyInASinglePlayerGame) {
    TestMachine tm;
    MakeActor(kHero);
    ASSERT_FALSE(gEngine->IsNetworkEnabled());
    EXPECT_TRUE(Find(kHero)->Enqueue(std::make_unique<TallyConfigCmd>(kHero, 5)));
    EXPECT_EQ(Book().totals[kHero], 5);
    EXPECT_EQ(Book().executions, 1);
    EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetPacketsSent(), 0u);
    EXPECT_TRUE(Find(kHero)->Enqueue(nullptr));
}

TEST(ConfigCommand, EnqueuedOnTheServerRunsOnceOnEveryMachine) {
    NetTestGame game(2);
    MakeActorsEverywhere(game, {kHero, kOgre});
    ON_MACHINE(game.Server()) {
        EXPECT_TRUE(gEngine->IsServer());
        Find(kOgre)->Enqueue(
            std::make_unique<TallyConfigCmd>(kOgre, 3, "fire", std::vector<std::uint32_t>{kHero}));
        EXPECT_EQ(Book().executions, 1);  // here at once, before any delivery
    }
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(Book().executions, 0);
    }
    EXPECT_EQ(game.Pump(), 2);
    const auto totals = game.OnEach([] { return Book().totals[kOgre]; });
    EXPECT_EQ(totals, (std::vector<int>{3, 3, 3}));
    const auto executions = game.OnEach([] { return Book().executions; });
    EXPECT_EQ(executions, (std::vector<int>{1, 1, 1}));
    ON_MACHINE(game.Client(1)) {
        EXPECT_EQ(Book().notes, (std::vector<std::string>{"fire"}));
    }
    EXPECT_EQ(game.Pump(), 0);  // nothing echoes back
}

TEST(ConfigCommand, EnqueuedOnAClientRunsOnceOnEveryMachine) {
    NetTestGame game(3);
    MakeActorsEverywhere(game, {kHero});
    ON_MACHINE(game.Client(1)) {
        EXPECT_TRUE(gEngine->IsClient());
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetLocalHostId(), 2);
        Find(kHero)->Enqueue(std::make_unique<TallyConfigCmd>(kHero, 4));
    }
    game.Pump();
    EXPECT_EQ(game.OnEach([] { return Book().executions; }), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(game.OnEach([] { return Book().totals[kHero]; }), (std::vector<int>{4, 4, 4, 4}));
}

TEST(ConfigCommand, ACommandEnqueuedWhileAnotherRunsRunsOnceOnEveryMachine) {
    // Every machine runs the outer command, so each makes the inner one itself; none sends it.
    for (int origin : {0, 1}) {
        NetTestGame game(2);
        MakeActorsEverywhere(game, {kHero});
        ON_MACHINE(origin == 0 ? game.Server() : game.Client(0)) {
            Find(kHero)->Enqueue(std::make_unique<TallyConfigCmd>(kHero, 1, "nest"));
        }
        game.Pump();
        EXPECT_EQ(game.OnEach([] { return Book().totals[kHero]; }),
                  (std::vector<int>{101, 101, 101}))
            << "enqueued on machine " << origin;
        EXPECT_EQ(game.OnEach([] { return Book().executions; }), (std::vector<int>{2, 2, 2}));
    }
}

TEST(ConfigCommand, ThePacketIsTakenBeforeTheCommandRuns) {
    // TallyConfigCmd::Execute zeroes its amount, as commands that hand a field by reference do.
    NetTestGame game(1);
    MakeActorsEverywhere(game, {kHero});
    ON_MACHINE(game.Server()) {
        Find(kHero)->Enqueue(std::make_unique<TallyConfigCmd>(kHero, 9));
    }
    game.Pump();
    EXPECT_EQ(game.OnEach([] { return Book().totals[kHero]; }), (std::vector<int>{9, 9}));
}

TEST(ConfigCommand, ACommandWhoseActorIsGoneOnAMachineIsDroppedThere) {
    NetTestGame game(2);
    MakeActorsEverywhere(game, {kHero});
    ON_MACHINE(game.Client(0)) {
        Singleton<ObjectManager>::Get().DestroyObject(Find(kHero));
    }
    ON_MACHINE(game.Server()) {
        Find(kHero)->Enqueue(std::make_unique<TallyConfigCmd>(kHero, 1));
    }
    game.Pump();
    EXPECT_EQ(game.OnEach([] { return Book().executions; }), (std::vector<int>{1, 0, 1}));
}

TEST(ConfigCommand, AMalformedCommandPacketRunsNothingAnywhere) {
    NetTestGame game(2);
    MakeActorsEverywhere(game, {kHero});
    // Parent id, amount, then a note whose length runs past the body.
    const std::vector<std::uint8_t> frame{200, 0, 0x00, 0x10, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0, 'x'};
    ON_MACHINE(game.Server()) {
        gEngine->GetNetworkConnectionManager()->HandleFrame(1, frame.data(), frame.size());
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetPacketsDropped(), 1u);
    }
    EXPECT_EQ(game.Pump(), 0);  // nothing relayed
    EXPECT_EQ(game.OnEach([] { return Book().executions; }), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(
        game.Server().CountLog("dropped bad TallyConfigCmdPacket (type 200, 13 bytes) from host 1"),
        1);
}

TEST(ConfigCommand, AnUnknownTypeIdIsLoggedAndDropped) {
    NetTestGame game(1);
    const std::vector<std::uint8_t> frame{0x12, 0, 1, 2};  // 18: an id no kind takes
    ON_MACHINE(game.Client(0)) {
        gEngine->GetNetworkConnectionManager()->HandleFrame(0, frame.data(), frame.size());
    }
    EXPECT_EQ(game.Client(0).CountLog("unknown type 18 (2 bytes) from host 0"), 1);
    const std::vector<std::uint8_t> stub{7};
    ON_MACHINE(game.Client(0)) {
        gEngine->GetNetworkConnectionManager()->HandleFrame(0, stub.data(), stub.size());
    }
    EXPECT_EQ(game.Client(0).CountLog("no type id"), 1);
}

TEST(ConnectionManager, SendsToTheServerToEveryClientOrToOneHost) {
    NetTestGame game(2);
    std::vector<std::wstring> heard[3];
    int index = 0;
    for (TestMachine* tm : game.Machines()) {
        ON_MACHINE(*tm) {
            auto* log = &heard[index];
            gEngine->GetNetworkConnectionManager()->SetPacketHandler(
                PacketType::ChatPacket, [log](NetPacket& p) {
                    log->push_back(static_cast<ChatPacket&>(p).text + L"@" +
                                   std::to_wstring(p.GetHeader().sourceHost));
                });
        }
        ++index;
    }
    ChatPacket chat;
    ON_MACHINE(game.Client(0)) {
        chat.text = L"up";
        EXPECT_TRUE(gEngine->GetNetworkConnectionManager()->SendPacket(&chat));
        EXPECT_FALSE(gEngine->GetNetworkConnectionManager()->SendToAllClients(&chat));
        EXPECT_FALSE(gEngine->GetNetworkConnectionManager()->SendToHost(2, &chat));
    }
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetClientHosts(),
                  (std::vector<int>{1, 2}));
        chat.text = L"all";
        EXPECT_TRUE(gEngine->GetNetworkConnectionManager()->SendPacket(&chat));
        // The packet may be changed as soon as the send returns.
        chat.text = L"two";
        EXPECT_TRUE(gEngine->GetNetworkConnectionManager()->SendToHost(2, &chat));
        EXPECT_FALSE(gEngine->GetNetworkConnectionManager()->SendToServer(&chat));
    }
    game.Pump();
    EXPECT_EQ(heard[0], (std::vector<std::wstring>{L"up@1"}));
    EXPECT_EQ(heard[1], (std::vector<std::wstring>{L"all@0"}));
    EXPECT_EQ(heard[2], (std::vector<std::wstring>{L"all@0", L"two@0"}));

    // A dropped client gets nothing more.
    ON_MACHINE(game.Server()) {
        gEngine->GetNetworkConnectionManager()->DropHost(1, "ban");
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetClientHosts(), (std::vector<int>{2}));
        chat.text = L"later";
        gEngine->GetNetworkConnectionManager()->SendPacket(&chat);
    }
    game.Pump();
    EXPECT_EQ(heard[1].size(), 1u);
    EXPECT_EQ(heard[2].size(), 3u);
}

TEST(NetTestGame, RunsFramesOnEveryMachineAndDeliversBetweenThem) {
    NetTestGame game(2);
    MakeActorsEverywhere(game, {kHero});
    int steps = 0;
    game.RunFrames(3, 33, [&](TestMachine&, int index) {
        ++steps;
        if (index == 0)
            Find(kHero)->Enqueue(std::make_unique<TallyConfigCmd>(kHero, 1));
    });
    EXPECT_EQ(steps, 9);
    EXPECT_EQ(game.OnEach([] { return gEngine->GetGameTime(); }),
              (std::vector<std::uint64_t>{99, 99, 99}));
    EXPECT_EQ(game.OnEach([] { return Book().totals[kHero]; }), (std::vector<int>{3, 3, 3}));
}

TEST(NetTestGame, ShutdownReturnsAMachineToSinglePlayer) {
    NetTestGame game(1);
    ON_MACHINE(game.Client(0)) {
        gEngine->GetNetworkConnectionManager()->Shutdown();
        EXPECT_FALSE(gEngine->IsNetworkEnabled());
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetLocalHostId(), 0);
        EXPECT_FALSE(gEngine->GetNetworkConnectionManager()->SendPacket(nullptr));
    }
    ON_MACHINE(game.Server()) {
        EXPECT_TRUE(gEngine->GetNetworkConnectionManager()->GetClientHosts().empty());
    }
}

}  // namespace
}  // namespace GAME::test
