#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/ChatPacket.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/net/transport/LoopbackTransport.h"
#include "Engine/world/Region.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

NetworkConnectionManager* Manager() {
    return gEngine->GetNetworkConnectionManager();
}

void SendChat(const wchar_t* text) {
    ChatPacket chat;
    chat.text = text;
    EXPECT_TRUE(Manager()->SendPacket(&chat));
}

// Handlers may remove or replace themselves, or close the connection, from inside delivery.
TEST(ConnectionManagerDelivery, AHandlerMayRemoveOrReplaceItselfWhileItRuns) {
    NetTestGame game(1);
    auto heard = std::make_shared<std::vector<std::wstring>>();
    ON_MACHINE(game.Client(0)) {
        Manager()->SetPacketHandler(PacketType::ChatPacket, [heard](NetPacket& packet) {
            Manager()->SetPacketHandler(PacketType::ChatPacket, [heard](NetPacket& p) {
                heard->push_back(L"second:" + static_cast<ChatPacket&>(p).text);
            });
            // The captures of the handler that was just replaced are still in use here.
            heard->push_back(L"first:" + static_cast<ChatPacket&>(packet).text);
        });
    }
    ON_MACHINE(game.Server()) {
        SendChat(L"a");
        SendChat(L"b");
    }
    game.Pump();
    EXPECT_EQ(*heard, (std::vector<std::wstring>{L"first:a", L"second:b"}));

    ON_MACHINE(game.Client(0)) {
        Manager()->SetPacketHandler(PacketType::ChatPacket, [heard](NetPacket& packet) {
            Manager()->SetPacketHandler(PacketType::ChatPacket, nullptr);
            heard->push_back(L"last:" + static_cast<ChatPacket&>(packet).text);
        });
    }
    ON_MACHINE(game.Server()) {
        SendChat(L"c");
        SendChat(L"d");
    }
    game.Pump();
    EXPECT_EQ(heard->back(), L"last:c");
    EXPECT_EQ(heard->size(), 3u);
    EXPECT_EQ(game.Client(0).CountLog("no handler for ChatPacket"), 1);
}

TEST(ConnectionManagerDelivery, NothingMoreRunsOnceAHandlerClosesTheConnection) {
    NetTestGame game(2);
    std::vector<std::wstring> heard;
    ON_MACHINE(game.Client(0)) {
        Manager()->SetPacketHandler(PacketType::ChatPacket, [&heard](NetPacket& packet) {
            heard.push_back(static_cast<ChatPacket&>(packet).text);
            if (heard.size() == 1)
                Manager()->Shutdown();
        });
    }
    ON_MACHINE(game.Server()) {
        SendChat(L"bye");
        SendChat(L"after");
    }
    game.Pump();
    EXPECT_EQ(heard, (std::vector<std::wstring>{L"bye"}));
    ON_MACHINE(game.Client(0)) {
        EXPECT_FALSE(gEngine->IsNetworkEnabled());
    }
}

TEST(ConnectionManagerDelivery, FramesOfAnOldConnectionDoNotRunOnItsReplacement) {
    NetTestGame game(1);
    auto other = LoopbackNetwork::Create();
    auto otherServer = other->CreateServer();
    std::vector<std::wstring> heard;
    ON_MACHINE(game.Client(0)) {
        Manager()->SetPacketHandler(PacketType::ChatPacket, [&](NetPacket& packet) {
            heard.push_back(static_cast<ChatPacket&>(packet).text);
            Manager()->SetTransport(other->CreateClient());
        });
    }
    ON_MACHINE(game.Server()) {
        SendChat(L"move");
        SendChat(L"stale");
    }
    game.Pump();
    EXPECT_EQ(heard, (std::vector<std::wstring>{L"move"}));
}

// The loopback transport behaves as the network one does at the edges of a connection.
TEST(LoopbackTransport, FramesFromADroppedClientAreNotRunOrRelayed) {
    NetTestGame game(2);
    std::vector<std::wstring> heard[3];
    int index = 0;
    for (TestMachine* tm : game.Machines()) {
        ON_MACHINE(*tm) {
            auto* log = &heard[index];
            Manager()->SetPacketHandler(PacketType::ChatPacket, [log](NetPacket& p) {
                log->push_back(static_cast<ChatPacket&>(p).text);
            });
        }
        ++index;
    }
    ON_MACHINE(game.Client(0)) {
        SendChat(L"spam");
    }
    ON_MACHINE(game.Client(1)) {
        SendChat(L"hello");
    }
    EXPECT_EQ(game.Network().Pending(kServerHostId), 2u);
    ON_MACHINE(game.Server()) {
        Manager()->DropHost(1, "kicked");
    }
    EXPECT_EQ(game.Network().Pending(kServerHostId), 1u);
    game.Pump();
    EXPECT_EQ(heard[0], (std::vector<std::wstring>{L"hello"}));
}

TEST(LoopbackTransport, AMachineDoesNotSendToItselfAndAGoneOneGetsNothing) {
    auto network = LoopbackNetwork::Create();
    auto server = network->CreateServer();
    auto client = network->CreateClient();
    const std::vector<std::uint8_t> frame{1, 0};
    EXPECT_FALSE(server->Send(kServerHostId, frame));
    EXPECT_FALSE(server->Send(-1, frame));
    EXPECT_FALSE(server->Send(kMaxClientHosts + 5, frame));
    EXPECT_TRUE(server->Send(1, frame));
    EXPECT_EQ(network->Pending(1), 1u);
    client.reset();
    EXPECT_EQ(network->PendingTotal(), 0u);
    EXPECT_FALSE(server->Send(1, frame));
    EXPECT_TRUE(server->GetPeers().empty());
}

// A command that carries a position; what it found on each machine is kept there.
struct RouteLog {
    std::vector<std::string> regions;
};

class RoutePacket : public ObjectInteractionPacket {
public:
    RoutePacket() : ObjectInteractionPacket(201) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        out.Add(&where);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        in.Remove(&where);
    }
    WorldVec3 where;
};

class RouteCmd : public ActorConfigCommand {
public:
    explicit RouteCmd(const RoutePacket& packet) : ActorConfigCommand(0), where(packet.where) {}
    void Execute() override {
        Singleton<RouteLog>::Get().regions.push_back(where.region ? where.region->GetName()
                                                                  : "(none)");
    }
    std::unique_ptr<NetPacket> GetNetPacket() override { return nullptr; }
    WorldVec3 where;
};

TEST(ConnectionManagerRelay, PassesOnTheBytesAClientSentNotWhatTheServerMadeOfThem) {
    NetPacketRegistry registry;
    ASSERT_TRUE((registry.RegisterCommand<RouteCmd, RoutePacket>("RouteCmd", "RoutePacket")));
    NetTestGame game(2);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            Manager()->SetRegistry(&registry);
        }
    // The server has not loaded the region the two clients are in.
    Region cave0("Cave"), cave1("Cave");
    ON_MACHINE(game.Client(0)) {
        Singleton<NetRegionTable>::Get().Add(&cave0);
        RoutePacket packet;
        packet.where = WorldVec3(&cave0, {1, 2, 3});
        EXPECT_TRUE(Manager()->SendPacket(&packet));
    }
    ON_MACHINE(game.Client(1)) {
        Singleton<NetRegionTable>::Get().Add(&cave1);
    }
    game.Pump();
    EXPECT_EQ(game.OnEach([] { return Singleton<RouteLog>::Get().regions; }),
              (std::vector<std::vector<std::string>>{{"(none)"}, {}, {"Cave"}}));
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            Singleton<NetRegionTable>::Get().Remove(tm == &game.Client(0) ? &cave0 : &cave1);
        }
}

}  // namespace
}  // namespace GAME::test
