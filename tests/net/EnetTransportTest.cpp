#include <enet/enet.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/EnetTransport.h"
#include "Engine/object/ObjectManager.h"
#include "TestCommand.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLimit = std::chrono::seconds(10);

// Processes packets until `done` holds or the time is up; whether it held.
template <class Done>
bool PollUntil(Done done) {
    const auto deadline = Clock::now() + kLimit;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        gEngine->GetNetworkConnectionManager()->ProcessIncoming(10);
    }
    return true;
}

int Total() {
    return Singleton<TallyBook>::Get().totals[kHero];
}

// Two machines on two threads, talking over ENet on 127.0.0.1.
TEST(EnetTransport, CarriesConfigurationCommandsBothWays) {
    std::promise<unsigned short> portPromise;
    auto portFuture = portPromise.get_future();
    std::atomic<bool> clientDone{false};
    struct Outcome {
        bool ok = false;
        int total = 0;
        int executions = 0;
        int hostId = -2;
    };
    Outcome server, client;

    std::thread serverThread([&] {
        TestMachine tm;
        MakeActor(kHero);
        auto listening = EnetTransport::Listen(0, 4);
        if (!listening) {
            portPromise.set_value(0);
            return;
        }
        EnetTransport* transport = listening.get();
        portPromise.set_value(transport->GetPort());
        gEngine->GetNetworkConnectionManager()->SetTransport(std::move(listening));
        if (!transport->WaitForClients(1, 10000))
            return;
        Singleton<ObjectManager>::Get().GetObject<Actor>(kHero)->Enqueue(
            std::make_unique<TallyConfigCmd>(kHero, 1));
        // The client answers with a command of its own: 1 + 10.
        server.ok = PollUntil([] { return Total() == 11; }) &&
                    PollUntil([&] { return transport->GetPeerCount() == 0; });
        server.total = Total();
        server.executions = Singleton<TallyBook>::Get().executions;
        server.hostId = gEngine->GetNetworkConnectionManager()->GetLocalHostId();
        gEngine->GetNetworkConnectionManager()->Shutdown();
    });

    std::thread clientThread([&] {
        TestMachine tm;
        MakeActor(kHero);
        const unsigned short port = portFuture.get();
        if (port == 0)
            return;
        auto connected = EnetTransport::Connect("127.0.0.1", port, 10000);
        if (!connected)
            return;
        EnetTransport* transport = connected.get();
        gEngine->GetNetworkConnectionManager()->SetTransport(std::move(connected));
        client.hostId = gEngine->GetNetworkConnectionManager()->GetLocalHostId();
        client.ok = PollUntil([] { return Total() == 1; });
        Singleton<ObjectManager>::Get().GetObject<Actor>(kHero)->Enqueue(
            std::make_unique<TallyConfigCmd>(kHero, 10));
        client.total = Total();
        client.executions = Singleton<TallyBook>::Get().executions;
        transport->DisconnectAll(2000);
        gEngine->GetNetworkConnectionManager()->Shutdown();
        clientDone = true;
    });

    serverThread.join();
    clientThread.join();
    EXPECT_TRUE(clientDone);
    EXPECT_TRUE(client.ok);
    EXPECT_TRUE(server.ok);
    EXPECT_EQ(server.hostId, 0);
    EXPECT_EQ(client.hostId, 1);
    EXPECT_EQ(server.total, 11);
    EXPECT_EQ(server.executions, 2);
    EXPECT_EQ(client.total, 11);
    EXPECT_EQ(client.executions, 2);
}

TEST(EnetTransport, ConnectingToNobodyTimesOut) {
    TestMachine tm;
    // Find a port nobody listens on: open one, close it again.
    unsigned short port = 0;
    {
        auto probe = EnetTransport::Listen(0, 1);
        ASSERT_NE(probe, nullptr);
        port = probe->GetPort();
    }
    const auto start = Clock::now();
    EXPECT_EQ(EnetTransport::Connect("127.0.0.1", port, 300), nullptr);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(tm.CountLog("no answer from 127.0.0.1"), 1);
}

TEST(EnetTransport, NothingMoreIsHeardFromADroppedClient) {
    TestMachine tm;
    auto server = EnetTransport::Listen(0, 2);
    ASSERT_NE(server, nullptr);
    const unsigned short port = server->GetPort();
    std::unique_ptr<EnetTransport> client;
    std::thread connecting([&] { client = EnetTransport::Connect("127.0.0.1", port, 5000); });
    const bool connected = server->WaitForClients(1, 5000);
    connecting.join();
    ASSERT_TRUE(connected);
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->Send(kServerHostId, {0x12, 0, 7}));
    // The frame comes in while the server waits for a second client that never comes.
    EXPECT_FALSE(server->WaitForClients(2, 500));
    server->DropHost(1, "kicked");
    std::vector<NetFrame> frames;
    server->Poll(frames, 0);
    EXPECT_TRUE(frames.empty());
    EXPECT_TRUE(server->GetPeers().empty());
}

// A peer that sends ENet's connect command and then never answers: the handshake stays open.
class HalfOpenPeer {
public:
    explicit HalfOpenPeer(unsigned short port) {
        ENetAddress address;
        enet_address_set_host(&address, "127.0.0.1");
        address.port = port;
        mHost = enet_host_create(nullptr, 1, 1, 0, 0);
        if (mHost && enet_host_connect(mHost, &address, 1, 0))
            enet_host_flush(mHost);
    }
    ~HalfOpenPeer() {
        if (mHost)
            enet_host_destroy(mHost);
    }
    HalfOpenPeer(const HalfOpenPeer&) = delete;
    HalfOpenPeer& operator=(const HalfOpenPeer&) = delete;
    bool Sent() const { return mHost != nullptr; }

private:
    ENetHost* mHost = nullptr;
};

// A server for one client: a stalled handshake must neither keep the real client out nor hold
// its slot for long, and a connection past the client count is refused with a log line.
TEST(EnetTransport, AStalledHandshakeNeitherBlocksAClientNorLingers) {
    TestMachine tm;
    auto server = EnetTransport::Listen(0, 1);
    ASSERT_NE(server, nullptr);
    server->SetHandshakeTimeout(300);
    const unsigned short port = server->GetPort();
    HalfOpenPeer stalled(port);
    ASSERT_TRUE(stalled.Sent());
    std::vector<NetFrame> frames;
    server->Poll(frames, 50);  // the server takes the stalled connect first

    std::unique_ptr<EnetTransport> client;
    std::thread connecting([&] {
        TestMachine clientMachine;
        client = EnetTransport::Connect("127.0.0.1", port, 3000);
    });
    const bool connected = server->WaitForClients(1, 3000);
    connecting.join();
    ASSERT_TRUE(connected);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->GetLocalHostId(), 1);

    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (tm.CountLog("no handshake within 300 ms") == 0 && Clock::now() < deadline)
        server->Poll(frames, 20);
    EXPECT_EQ(tm.CountLog("no handshake within 300 ms"), 1);

    bool refusedQuickly = false;
    std::thread second([&] {
        TestMachine clientMachine;
        const auto start = Clock::now();
        refusedQuickly = EnetTransport::Connect("127.0.0.1", port, 3000) == nullptr &&
                         Clock::now() - start < std::chrono::milliseconds(2500) &&
                         clientMachine.CountLog("refused the connection") == 1;
    });
    while (tm.CountLog("all 1 client slots are taken") == 0 && Clock::now() < deadline + kLimit)
        server->Poll(frames, 20);
    second.join();
    EXPECT_EQ(tm.CountLog("refused a connection from 127.0.0.1:"), 1);
    EXPECT_TRUE(refusedQuickly);
    EXPECT_EQ(server->GetPeerCount(), 1);
    client->DisconnectAll(200);
}

TEST(EnetTransport, AClientComingAfterAnotherLeftGetsAFreshHostId) {
    TestMachine tm;
    auto server = EnetTransport::Listen(0, 1);
    ASSERT_NE(server, nullptr);
    const unsigned short port = server->GetPort();
    std::vector<int> ids;
    for (int round = 0; round < 2; ++round) {
        std::unique_ptr<EnetTransport> client;
        std::thread connecting([&] {
            TestMachine clientMachine;
            client = EnetTransport::Connect("127.0.0.1", port, 3000);
        });
        const bool connected = server->WaitForClients(1, 3000);
        connecting.join();
        ASSERT_TRUE(connected);
        ASSERT_NE(client, nullptr);
        ids.push_back(client->GetLocalHostId());
        std::thread leaving([&] { client->DisconnectAll(2000); });
        std::vector<NetFrame> frames;
        const auto deadline = Clock::now() + std::chrono::seconds(3);
        while (server->GetPeerCount() > 0 && Clock::now() < deadline)
            server->Poll(frames, 20);
        leaving.join();
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace GAME::test
