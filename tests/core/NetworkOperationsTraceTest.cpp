// Every operation of the network interfaces, sent by a client and by the server of a three-machine
// game: the frames each machine puts on the wire and what every machine logs and shows when they
// arrive, compared with a checked-in trace. After an intended change of the wire or of an
// operation's handling, rerun with GAME_UPDATE_GOLDEN=1 and review the diff.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/LoopbackTransport.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

constexpr std::uint32_t kServerPlayer = 0x00000011;
constexpr std::uint32_t kPlayer1 = 0x10000001;  // host 1
constexpr std::uint32_t kPlayer2 = 0x20000001;  // host 2
constexpr std::uint32_t kMerchant = 0x00000021;
constexpr std::uint32_t kPlayers[] = {kServerPlayer, kPlayer1, kPlayer2};

// Writes each frame a machine sends into the trace before the loopback carries it.
class RecordingTransport : public NetTransport {
public:
    RecordingTransport(std::unique_ptr<NetTransport> inner, std::vector<std::string>& trace)
        : mInner(std::move(inner)), mTrace(trace) {}

    bool IsServer() const override { return mInner->IsServer(); }
    int GetLocalHostId() const override { return mInner->GetLocalHostId(); }
    std::vector<int> GetPeers() const override { return mInner->GetPeers(); }
    bool Send(int host, const std::vector<std::uint8_t>& frame) override {
        std::string line =
            "  " + std::to_string(GetLocalHostId()) + " -> " + std::to_string(host) + ":";
        for (std::uint8_t byte : frame) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", byte);
            line += hex;
        }
        mTrace.push_back(line);
        return mInner->Send(host, frame);
    }
    void Poll(std::vector<NetFrame>& out, int timeoutMs) override { mInner->Poll(out, timeoutMs); }
    void DropHost(int host, const char* reason) override { mInner->DropHost(host, reason); }
    const char* GetName() const override { return "recording"; }

private:
    std::unique_ptr<NetTransport> mInner;
    std::vector<std::string>& mTrace;
};

struct Call {
    const char* name;
    std::function<void(GameEngineNetworkInterface&)> run;
};

// One call of every operation, each argument distinct so that a value landing in the wrong
// field shows in the frame or in the receiver's log.
std::vector<Call> EveryOperation() {
    WorldCoords where;
    where.coords.origin = Vec3(1.5f, 2.5f, 3.5f);
    ItemReplicaInfo item;
    item.objectId = 0x31;
    item.baseName = "Records/Test/Item.dbr";
    item.prefixName = "pre";
    item.seed = 0x32;
    item.relicLevel = 3;
    Bonus bonus;
    bonus.id = kPlayer2;
    bonus.lifePoints = 4.0f;
    bonus.gold = 0x41;
    bonus.experience = 0x42;
    bonus.effectName = "not sent";
    bonus.sourceId = 0x43;
    const PlayerNetHeartbeatInfo heartbeat{.playerId = kPlayer1,
                                           .life = 5.0f,
                                           .level = 6,
                                           .partyId = 0,
                                           .position = {},
                                           .classTag = "tagClass",
                                           .statusSkills = {"skillA"}};
    PlayerNetBasicInfo basic;
    static_cast<PlayerNetHeartbeatInfo&>(basic) = heartbeat;
    basic.playerName = L"Ann";
    basic.isMale = true;
    const WorldVec3 position(nullptr, Vec3(7, 8, 9));
    const auto party1 = static_cast<int>(kPlayer1);
    return {
        {"TradeInitiate", [](auto& n) { n.TradeInitiate(kPlayer1, kPlayer2); }},
        {"TradeCancel", [](auto& n) { n.TradeCancel(kPlayer1, kPlayer2); }},
        {"TradeFinalize", [](auto& n) { n.TradeFinalize(kPlayer1, kPlayer2); }},
        {"TradeAddItem",
         [=](auto& n) { n.TradeAddItem(kPlayer1, kPlayer2, Vec2(2.0f, 3.0f), item); }},
        {"TradeRemoveItem", [](auto& n) { n.TradeRemoveItem(kPlayer1, kPlayer2, 0x51); }},
        {"TradeSetGoldAmount", [](auto& n) { n.TradeSetGoldAmount(kPlayer1, kPlayer2, 0x52); }},
        {"GiveGoldToPlayer", [](auto& n) { n.GiveGoldToPlayer(kPlayer1, 0x53); }},
        {"CreateItem",
         [=](auto& n) {
             std::wstring name;
             n.CreateItem(kPlayer1, where, item, &name);
         }},
        {"CreateEntity",
         [=](auto& n) { n.CreateEntity(where, "Records/Test/AnEntity.dbr", 0x54); }},
        {"CreateFixedItemTeleport",
         [=](auto& n) { n.CreateFixedItemTeleport(where, kPlayer1, 0x55, "tagSector", 0x56); }},
        {"DestroyFixedItemTeleport", [](auto& n) { n.DestroyFixedItemTeleport(0x57); }},
        {"StoC_AllPlayersHeartbeat", [=](auto& n) { n.StoC_AllPlayersHeartbeat({heartbeat}); }},
        {"CtoS_SinglePlayerHeartbeat", [=](auto& n) { n.CtoS_SinglePlayerHeartbeat(heartbeat); }},
        {"StoC_AllPlayersUpdate", [=](auto& n) { n.StoC_AllPlayersUpdate({basic}); }},
        {"CtoS_AddNewPlayer", [=](auto& n) { n.CtoS_AddNewPlayer(basic); }},
        {"HandleBonusToClient", [=](auto& n) { n.HandleBonusToClient(bonus, kPlayer2); }},
        {"HandleBonusToServer", [=](auto& n) { n.HandleBonusToServer(bonus, position, kPlayer1); }},
        {"HandleQuestMessagePacket",
         [](auto& n) {
             n.HandleQuestMessagePacket(kPlayer1, true, {0x61, 0x62}, kPlayer2);
         }},
        {"AddPlayerToParty", [=](auto& n) { n.AddPlayerToParty(kPlayer1, party1); }},
        {"InvitePlayerToParty", [=](auto& n) { n.InvitePlayerToParty(kPlayer2, party1); }},
        {"GameBalanceUpdate", [](auto& n) { n.GameBalanceUpdate(0x63); }},
        {"S2C_MarketUpdate",
         [](auto& n) {
             n.S2C_MarketUpdate(kMerchant, "market", 0x64, 0x65, {1, 2});
         }},
        {"S2C_MarketPurchaseConfirmation",
         [](auto& n) { n.S2C_MarketPurchaseConfirmation(kMerchant, 0x66, kPlayer1); }},
        {"S2C_MarketPurchaseDenied",
         [](auto& n) { n.S2C_MarketPurchaseDenied(kMerchant, 0x67, kPlayer1, 2); }},
        {"S2C_MarketItemStatusUpdate",
         [](auto& n) { n.S2C_MarketItemStatusUpdate(kMerchant, 0x68, 3); }},
        {"C2S_MarketPurchaseRequest",
         [](auto& n) { n.C2S_MarketPurchaseRequest(kMerchant, 0x69, 0x6a, 0x6b, kPlayer1); }},
        {"C2S_MarketSellBack",
         [](auto& n) { n.C2S_MarketSellBack(kMerchant, 0x6c, 0x6d, 0x6e, kPlayer1); }},
        {"C2S_MarketUpdateRequest", [](auto& n) { n.C2S_MarketUpdateRequest(kMerchant); }},
        {"DisplayMessageRemote",
         [](auto& n) { n.DisplayMessageRemote(kPlayer2, kPlayer1, false, "tagHello"); }},
        {"DisplayWMessageRemote",
         [](auto& n) { n.DisplayWMessageRemote(kServerPlayer, true, L"Hello"); }},
        {"HandleChatMessage",
         [](auto& n) {
             n.HandleChatMessage(L"Ann", L"hi", 4, {kPlayer1, kPlayer2});
         }},
        {"QuestCommandMove",
         [=](auto& n) { n.QuestCommandMove(kPlayer1, kPlayer2, position, true); }},
        {"QuestCommandWalk",
         [=](auto& n) { n.QuestCommandWalk(kPlayer1, kPlayer2, position, false); }},
        {"QuestCommandPlayAnimation",
         [](auto& n) { n.QuestCommandPlayAnimation(kPlayer1, 0x71, true, false); }},
        {"QuestCommandUseSkill",
         [](auto& n) {
             std::string skill = "Records/Test/Skill.dbr";
             n.QuestCommandUseSkill(kPlayer1, skill, kPlayer2, true);
         }},
        {"QuestCommandLockFixedItem", [](auto& n) { n.QuestCommandLockFixedItem(0x72, true); }},
    };
}

class NetworkOperationsTrace : public ::testing::Test {
protected:
    void SetUp() override {
        for (int host = 0; host < 3; ++host) {
            machines.push_back(std::make_unique<TestMachine>());
            ON_MACHINE(*machines.back()) {
                auto transport = host == 0 ? network->CreateServer() : network->CreateClient();
                gEngine->GetNetworkConnectionManager()->SetTransport(
                    std::make_unique<RecordingTransport>(std::move(transport), trace));
                InitializeObjects();
                if (host == 0)
                    gGameEngine->SetAsNetworkServer();
                else
                    gGameEngine->SetAsNetworkClient();
                for (std::uint32_t id : kPlayers)
                    Singleton<ObjectManager>::Get().CreateObject("Player", id);
                Singleton<ObjectManager>::Get().CreateObject("Entity", kMerchant);
                gGameEngine->CreateMarketClient(kMerchant);
            }
        }
    }
    void TearDown() override {
        for (auto& tm : machines)
            ON_MACHINE(*tm) {
                ShutdownObjects();
            }
        // Each machine's guard restores the one made before it: tear down newest first.
        while (!machines.empty())
            machines.pop_back();
    }

    void Pump() {
        for (int round = 0; round < 16; ++round) {
            int handled = 0;
            for (auto& tm : machines)
                ON_MACHINE(*tm) {
                    handled += gEngine->GetNetworkConnectionManager()->ProcessIncoming(0);
                }
            // The machines meet: what waits for that point lands.
            for (auto& tm : machines)
                ON_MACHINE(*tm) {
                    FrameStrikes::Get().RunHeld();
                }
            if (handled == 0 && network->PendingTotal() == 0)
                return;
        }
    }

    // What each machine logged and shows since the last step.
    void NoteEffects() {
        for (std::size_t host = 0; host < machines.size(); ++host) {
            TestMachine& tm = *machines[host];
            for (const test::LogLine& line : tm.Log())
                trace.push_back("  host " + std::to_string(host) + " log " +
                                std::to_string(line.level) + ": " + line.text);
            tm.ClearLog();
            ON_MACHINE(tm) {
                std::string state = "  host " + std::to_string(host) + ":";
                state += " notes " + std::to_string(gGameEngine->GetUINotifications().size());
                state += " dialogs " +
                         std::to_string(gGameEngine->GetDialogManager().GetDialogs().size());
                state += " chat " + std::to_string(gGameEngine->GetChatMessages().size());
                state += " balance " + std::to_string(gGameEngine->GetBalanceDifficulty());
                state += " gold";
                for (std::uint32_t id : kPlayers)
                    state += " " +
                             std::to_string(
                                 Singleton<ObjectManager>::Get().GetObject<Player>(id)->GetMoney());
                state += " parties";
                for (std::uint32_t id : kPlayers)
                    state += " " + std::to_string(gGameEngine->GetPartyManager()->GetParty(id));
                state +=
                    " objects " + std::to_string(Singleton<ObjectManager>::Get().GetObjectCount());
                trace.push_back(state);
            }
        }
    }

    std::shared_ptr<LoopbackNetwork> network = LoopbackNetwork::Create();
    std::vector<std::unique_ptr<TestMachine>> machines;
    std::vector<std::string> trace;
};

TEST_F(NetworkOperationsTrace, EveryOperationFromAClientAndFromTheServerMatchesTheTrace) {
    NoteEffects();
    trace.clear();
    for (int sender : {1, 0}) {
        for (const Call& call : EveryOperation()) {
            trace.push_back(std::string(call.name) + " from host " + std::to_string(sender));
            ON_MACHINE(*machines[static_cast<std::size_t>(sender)]) {
                call.run(*gGameEngine->GetNetworkInterface());
            }
            Pump();
            NoteEffects();
        }
    }
    std::ostringstream text;
    for (const std::string& line : trace)
        text << line << '\n';

    const std::string golden = TestMachine::TestDataDir() + "/Net/NetworkOperations.txt";
    if (std::getenv("GAME_UPDATE_GOLDEN")) {
        std::ofstream(golden) << text.str();
        GTEST_SKIP() << "wrote " << golden;
    }
    std::ifstream file(golden);
    ASSERT_TRUE(file) << golden;
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(text.str(), expected.str());
}

}  // namespace
}  // namespace GAME
