// The lockstep's frame marks: the server counts a client's mark only when it names its sender
// and a finite point, and only from the clients of the game; a client's transport hands on
// nothing past the server's next mark before its time.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/characters/Character.h"
#include "Host/net/FrameMarks.h"
#include "Host/net/MarkGate.h"
#include "characters/CharacterActionTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

class LockstepMarks : public ::testing::Test {
protected:
    LockstepMarks() {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            hosts.push_back(gEngine->GetNetworkConnectionManager()->GetLocalHostId());
            marks[index++].Install();
        }
        // The third client plays no part in the game.
        marks[0].AddClient(hosts[1]);
        marks[0].AddClient(hosts[2]);
    }
    ~LockstepMarks() override {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            marks[index++].Uninstall();
        }
    }

    void SendFrom(int client, int namedHost, const WorldVec3& at) {
        ON_MACHINE(game.Client(client)) {
            FrustumUpdatePacket mark;
            mark.originatorHostId = namedHost;
            mark.originatorPosition = at;
            gEngine->GetNetworkConnectionManager()->SendToServer(&mark);
        }
    }

    NetTestGame game{3};
    FrameMarks marks[4];
    std::vector<int> hosts;
};

TEST_F(LockstepMarks, AClientMarkCountsOnlyForItsSenderAtAFinitePoint) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ON_MACHINE(game.Client(0)) {
        marks[1].SendClientMark(0);  // no player yet: a finite point of no region
    }
    SendFrom(1, hosts[1], WorldVec3(nullptr, Vec3(1, 2, 3)));  // names the other client
    SendFrom(1, hosts[2], WorldVec3(nullptr, Vec3(nan, 0, 0)));
    SendFrom(1, hosts[2], WorldVec3(nullptr, Vec3(0, inf, 0)));
    SendFrom(1, 0, WorldVec3(nullptr, Vec3(0, 0, 0)));         // names the server
    SendFrom(2, hosts[3], WorldVec3(nullptr, Vec3(0, 0, 0)));  // not a client of the game
    SendFrom(1, hosts[2], WorldVec3(nullptr, Vec3(4, 5, 6)));
    game.Pump();

    EXPECT_EQ(marks[0].GetMarks(hosts[1]), 1);
    EXPECT_EQ(marks[0].GetMarks(hosts[2]), 1);
    EXPECT_EQ(marks[0].GetMarks(hosts[3]), 0);
    EXPECT_EQ(marks[0].GetRefused(), 5);
    EXPECT_GE(game.Server().CountLog("sent a frame mark naming host"), 3);
    EXPECT_GE(game.Server().CountLog("a point that is not finite"), 1);
    // A refused mark is only logged: the honest client is still connected.
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetClientHosts().size(), 3u);
    }
}

TEST_F(LockstepMarks, TheServerMarksOneClientOrAll) {
    ON_MACHINE(game.Server()) {
        marks[0].SendServerMark({}, hosts[2]);
        marks[0].SendServerMark({});
    }
    game.Pump();
    EXPECT_EQ(marks[1].GetMarks(0), 1);
    EXPECT_EQ(marks[2].GetMarks(0), 2);
    EXPECT_EQ(marks[3].GetMarks(0), 1);
    // Nothing of a mark reaches the game: the handler only counts.
    EXPECT_EQ(marks[1].GetRefused(), 0);
}

TEST_F(LockstepMarks, AStrikeRoundIsTheServersWordInItsMark) {
    // After strikes landed the machines meet once more; the server, which holds them all, says
    // so in its mark, and each client reads it from the last mark it had.
    ON_MACHINE(game.Server()) {
        marks[0].SendServerMark({0x0F000001u}, hosts[1], true);
        marks[0].SendServerMark({0x0F000001u}, hosts[2]);
    }
    game.Pump();
    EXPECT_TRUE(marks[1].IsStrikeRoundAsked());
    EXPECT_FALSE(marks[2].IsStrikeRoundAsked());
    ON_MACHINE(game.Server()) {
        marks[0].SendServerMark({0x0F000001u});
    }
    game.Pump();
    EXPECT_FALSE(marks[1].IsStrikeRoundAsked());
    EXPECT_EQ(marks[1].GetMarks(0), 2);
}

// Every machine moves its own characters: a teleport tells the others, and a report (even one
// naming another client's host) moves nothing anywhere.
TEST_F(LockstepMarks, ATeleportIsReportedAndAReportMovesNothing) {
    constexpr std::uint32_t kWalker = 0x300;
    auto walkerAt = [] {
        return Singleton<ObjectManager>::Get().GetObject<Character>(kWalker)->GetPathPosition();
    };
    game.OnEach([] {
        InitializeObjects();
        MakeLivingCharacter(kWalker, 10, 10);
    });
    ON_MACHINE(game.Client(0)) {
        auto* controller = Singleton<ObjectManager>::Get().CreateObject<ControllerCombat>();
        controller->AttachParent(kWalker);
        Character* walker = Singleton<ObjectManager>::Get().GetObject<Character>(kWalker);
        walker->SetControllerId(controller->GetObjectId());
        walker->TeleportToLocation(
            WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(30, 0, 40))));
    }
    ON_MACHINE(game.Client(1)) {
        UpdatePositionPacket hostile;
        hostile.originatorId = hosts[1];
        hostile.entityId = kWalker;
        hostile.placement = WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(90, 0, 90)));
        gEngine->GetNetworkConnectionManager()->SendToServer(&hostile);
    }
    game.Pump();

    EXPECT_EQ(marks[0].GetPositionReports(), 1);
    EXPECT_EQ(marks[0].GetRefused(), 1);
    EXPECT_EQ(game.Server().CountLog("sent a position report naming host"), 1);
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(walkerAt(), FieldPoint(30, 40));
    }
    for (TestMachine* tm : {&game.Server(), &game.Client(1), &game.Client(2)}) {
        ON_MACHINE(*tm) {
            EXPECT_EQ(walkerAt(), FieldPoint(10, 10));
        }
    }
    game.OnEach(ShutdownObjects);
}

// Hands over everything queued in one poll, as a burst from the network would come.
class BurstTransport : public NetTransport {
public:
    bool IsServer() const override { return false; }
    int GetLocalHostId() const override { return 1; }
    std::vector<int> GetPeers() const override { return {0}; }
    bool Send(int, const std::vector<std::uint8_t>& frame) override {
        sent.push_back(frame);
        return true;
    }
    void Poll(std::vector<NetFrame>& out, int) override {
        ++polls;
        for (auto& frame : queued)
            out.push_back(std::move(frame));
        queued.clear();
    }
    void DropHost(int, const char*) override {}
    const char* GetName() const override { return "burst"; }

    void Queue(std::uint16_t type, std::uint8_t tag) {
        queued.push_back(NetFrame{
            0,
            {static_cast<std::uint8_t>(type & 0xFF), static_cast<std::uint8_t>(type >> 8), tag}});
    }

    std::vector<NetFrame> queued;
    std::vector<std::vector<std::uint8_t>> sent;
    int polls = 0;
};

TEST(MarkGate, HandsOnUpToTheNextMarkAndHoldsTheRest) {
    auto inner = std::make_unique<BurstTransport>();
    BurstTransport& burst = *inner;
    constexpr std::uint16_t kMark = PacketType::PlayerPositionUpdatePacket;
    constexpr std::uint16_t kOther = PacketType::ChatPacket;
    burst.Queue(kOther, 1);
    burst.Queue(kMark, 2);
    burst.Queue(kOther, 3);
    burst.Queue(kMark, 4);
    burst.Queue(kOther, 5);
    // A mark's id in the high byte of another kind is no mark.
    burst.Queue(static_cast<std::uint16_t>(kMark << 8), 6);
    MarkGate gate(std::move(inner), PacketType::PlayerPositionUpdatePacket);

    const auto tags = [&] {
        std::vector<NetFrame> out;
        gate.Poll(out, 0);
        std::vector<int> seen;
        for (const NetFrame& frame : out)
            seen.push_back(frame.bytes.back());
        return seen;
    };
    EXPECT_EQ(tags(), (std::vector<int>{1, 2}));
    EXPECT_EQ(tags(), (std::vector<int>{3, 4}));
    EXPECT_EQ(tags(), (std::vector<int>{5, 6}));
    EXPECT_EQ(burst.polls, 1);  // the network is asked again only once all was handed on
    EXPECT_EQ(tags(), std::vector<int>{});
    EXPECT_EQ(burst.polls, 2);

    gate.Send(0, {1, 2});
    ASSERT_EQ(burst.sent.size(), 1u);
    EXPECT_EQ(gate.GetPeers(), std::vector<int>{0});
}

}  // namespace
}  // namespace GAME::test
