#include "Game/core/net/GameEngineNetworkInterface.h"

#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/items/market/MarketClient.h"
#include "Game/items/market/MarketServer.h"
#include "Game/items/market/TradeManager.h"
#include "support/NetTestGame.h"

namespace GAME {
namespace {

using test::NetTestGame;
using test::TestMachine;

constexpr std::uint32_t kClientPlayer = 0x10000001;  // host 1
constexpr std::uint32_t kOtherPlayer = 0x20000001;   // host 2

// A server and one client, each with its root in its network mode.
class TwoMachines : public ::testing::Test {
protected:
    void SetUp() override {
        ON_MACHINE(game.Server()) {
            InitializeObjects();
            gGameEngine->SetAsNetworkServer();
        }
        ON_MACHINE(game.Client(0)) {
            InitializeObjects();
            gGameEngine->SetAsNetworkClient();
        }
    }
    void TearDown() override {
        for (TestMachine* tm : game.Machines())
            ON_MACHINE(*tm) {
                ShutdownObjects();
            }
    }
    Player* MakePlayer(std::uint32_t id) {
        return static_cast<Player*>(Singleton<ObjectManager>::Get().CreateObject("Player", id));
    }
    NetTestGame game{1};
};

TEST_F(TwoMachines, AMessageFromTheClientIsShownOnTheServer) {
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->DisplayWMessageRemote(7, true, L"Hello");
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        const auto& notifications = gGameEngine->GetUINotifications();
        ASSERT_EQ(notifications.size(), 1u);
        EXPECT_EQ(notifications[0].type, 6);
        EXPECT_EQ(notifications[0].texts, (std::vector<std::wstring>{L"Hello"}));
    }
    ON_MACHINE(game.Client(0)) {
        EXPECT_TRUE(gGameEngine->GetUINotifications().empty());
    }
}

TEST_F(TwoMachines, ChatFromTheClientReachesTheServerWithItsChannel) {
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->HandleChatMessage(L"Ann", L"hi all", 3, {1, 2});
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        ASSERT_EQ(gGameEngine->GetChatMessages().size(), 1u);
        EXPECT_EQ(gGameEngine->GetChatMessages()[0].from, L"Ann");
        EXPECT_EQ(gGameEngine->GetChatMessages()[0].text, L"hi all");
        EXPECT_EQ(gGameEngine->GetChatMessages()[0].channel, 3);
    }
}

TEST_F(TwoMachines, MarketTradeAndQuestRequestsReachTheServersInboundWithTheirArguments) {
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().CreateObject("Entity", 8);  // no merchant
    }
    ON_MACHINE(game.Client(0)) {
        GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
        network->C2S_MarketPurchaseRequest(8, 3, 77, 2, kClientPlayer);
        network->TradeSetGoldAmount(kClientPlayer, kOtherPlayer, 250);
        network->HandleQuestMessagePacket(kClientPlayer, true, {4, 5, 6}, 0);
        network->C2S_MarketSellBack(8, 3, 77, 2, kOtherPlayer);  // another player's sale
    }
    game.Pump();
    TestMachine& server = game.Server();
    // Object 8 is no merchant: the request is refused before any market is made.
    EXPECT_EQ(server.CountLog("refused C2S_MarketPurchaseRequest from host 1 (object 8)"), 1);
    // No trade is open between the two (the server knows neither player): the step goes nowhere.
    EXPECT_EQ(server.CountLog("refused TradeSetGoldPacket from host 1"), 1);
    // A condition set is the server's to send.
    EXPECT_EQ(server.CountLog("refused HandleQuestMessagePacket from host 1 (object 268435457)"),
              1);
    EXPECT_EQ(server.CountLog("refused C2S_MarketSellBack from host 1"), 1);
    EXPECT_EQ(game.Client(0).CountLog("is not available yet"), 0);
}

TEST_F(TwoMachines, AClientsMarketRequestMakesNoMarketForAnObjectThatIsNoMerchant) {
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().CreateObject("Entity", 8);
    }
    ON_MACHINE(game.Client(0)) {
        GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
        network->C2S_MarketUpdateRequest(8);
        network->C2S_MarketPurchaseRequest(8, 1, 2, 3, kClientPlayer);
        network->C2S_MarketUpdateRequest(0x7777);  // no such merchant
        // A client keeps no server markets of its own.
        gGameEngine->GetInboundNetworkInterface()->C2S_MarketUpdateRequest(9);
        EXPECT_EQ(gGameEngine->GetServerServices()->GetMarketServer(9), nullptr);
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        auto* markets =
            static_cast<GameEngineServerServicesModule*>(gGameEngine->GetServerServices());
        EXPECT_EQ(markets->GetMarketCount(), 0u);
        EXPECT_EQ(game.Server().CountLog("refused C2S_MarketUpdateRequest from host 1 (object 8)"),
                  1);
        EXPECT_EQ(game.Server().CountLog("no merchant 30583 for a market request"), 1);
        EXPECT_EQ(game.Server().CountLog("C2S_MarketUpdateRequest (market 30583)"), 0);
    }
    EXPECT_EQ(game.Client(0).CountLog("C2S_MarketUpdateRequest (market 9)"), 0);
}

TEST_F(TwoMachines, TheServerCreatesAnEntityOnTheClientWithItsId) {
    WorldCoords where;
    where.coords.origin = Vec3(3, 0, 4);
    ON_MACHINE(game.Server()) {
        gGameEngine->GetNetworkInterface()->CreateEntity(where, "Records/Test/AnEntity.dbr", 777);
    }
    game.Pump();
    ON_MACHINE(game.Client(0)) {
        Entity* entity = Singleton<ObjectManager>::Get().GetObject<Entity>(777);
        ASSERT_NE(entity, nullptr);
        EXPECT_EQ(entity->GetCoords().coords.origin, Vec3(3, 0, 4));
    }
}

TEST_F(TwoMachines, TheServerSetsTheClientsBalanceLevel) {
    ON_MACHINE(game.Server()) {
        gGameEngine->GetNetworkInterface()->GameBalanceUpdate(13);
    }
    game.Pump();
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(gGameEngine->GetBalanceDifficulty(), 13u);
    }
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->GetBalanceDifficulty(), 0u);
    }
}

TEST_F(TwoMachines, TheServersModuleGivesItsBalanceLevelToTheClientsAndItself) {
    ON_MACHINE(game.Server()) {
        gGameEngine->SetGameDifficulty(1);
        gGameEngine->Update(10);
        gGameEngine->Update(10);
        EXPECT_EQ(gGameEngine->GetBalanceDifficulty(), 6u);
    }
    game.Pump();
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(gGameEngine->GetBalanceDifficulty(), 6u);
    }
}

TEST_F(TwoMachines, GoldAClientGivesItsOwnPlayerOutsideATradeIsRefused) {
    Player* onServer = nullptr;
    ON_MACHINE(game.Server()) {
        onServer = MakePlayer(kClientPlayer);
    }
    ASSERT_NE(onServer, nullptr);
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->GiveGoldToPlayer(kClientPlayer, 50);
    }
    game.Pump();
    EXPECT_EQ(onServer->GetMoney(), 0u);
    EXPECT_EQ(game.Server().CountLog("refused GiveGoldToPlayer from host 1"), 1);
}

// Requests a server refuses from a client.

TEST_F(TwoMachines, AClientCannotTakeGold) {
    Player* onServer = nullptr;
    ON_MACHINE(game.Server()) {
        onServer = MakePlayer(kOtherPlayer);
        onServer->AddMoney(100);
    }
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->GiveGoldToPlayer(kOtherPlayer, -60);
    }
    game.Pump();
    EXPECT_EQ(onServer->GetMoney(), 100u);
    EXPECT_EQ(game.Server().CountLog("refused GiveGoldToPlayer from host 1"), 1);
}

TEST_F(TwoMachines, AClientCannotCreateEntities) {
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->CreateEntity(WorldCoords(), "Records/Test/AnEntity.dbr",
                                                         4242);
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(4242), nullptr);
    }
    EXPECT_EQ(game.Server().CountLog("refused CreateEntity from host 1"), 1);
}

TEST_F(TwoMachines, AClientCannotSetTheBalanceLevelOrCommandQuests) {
    ON_MACHINE(game.Client(0)) {
        GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
        network->GameBalanceUpdate(40);
        network->QuestCommandLockFixedItem(5, true);
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->GetBalanceDifficulty(), 0u);
    }
    EXPECT_EQ(game.Server().CountLog("refused GameBalanceUpdate from host 1"), 1);
    EXPECT_EQ(game.Server().CountLog("refused QuestCommandLockFixedItem from host 1"), 1);
}

TEST_F(TwoMachines, AClientCannotMoveAnotherPlayerBetweenParties) {
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->AddPlayerToParty(kOtherPlayer,
                                                             static_cast<int>(kClientPlayer));
        gGameEngine->GetNetworkInterface()->InvitePlayerToParty(kClientPlayer,
                                                                static_cast<int>(kOtherPlayer));
    }
    game.Pump();
    EXPECT_EQ(game.Server().CountLog("refused AddPlayerToParty from host 1"), 1);
    EXPECT_EQ(game.Server().CountLog("refused InvitePlayerToParty from host 1"), 1);
}

TEST_F(TwoMachines, AShortBodyRunsNothing) {
    Player* onServer = nullptr;
    ON_MACHINE(game.Server()) {
        onServer = MakePlayer(kClientPlayer);
        // GiveGoldPacket (112) with a player id and half an amount.
        const std::vector<std::uint8_t> frame{112, 0, 0x01, 0, 0, 0x10, 50, 0};
        gEngine->GetNetworkConnectionManager()->HandleFrame(1, frame.data(), frame.size());
        EXPECT_EQ(gEngine->GetNetworkConnectionManager()->GetPacketsDropped(), 1u);
    }
    EXPECT_EQ(onServer->GetMoney(), 0u);
}

TEST_F(TwoMachines, APacketNamingAMissingPlayerDoesNothing) {
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetNetworkInterface()->GiveGoldToPlayer(kClientPlayer, 10);
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(kClientPlayer), nullptr);
    }
}

// Single player: every call runs at once through the inbound interface.

class SinglePlayer : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

TEST_F(SinglePlayer, GoldBelowOneIsSubtracted) {
    auto* player =
        static_cast<Player*>(Singleton<ObjectManager>::Get().CreateObject("Player", 0x00000009));
    GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
    network->GiveGoldToPlayer(9, 100);
    network->GiveGoldToPlayer(9, -30);
    EXPECT_EQ(player->GetMoney(), 70u);
    network->GiveGoldToPlayer(9, 0);
    EXPECT_EQ(player->GetMoney(), 70u);
    network->GiveGoldToPlayer(9, std::numeric_limits<int>::min());
    EXPECT_EQ(player->GetMoney(), 0u);
    network->GiveGoldToPlayer(12345, 10);  // nobody: nothing
}

TEST_F(SinglePlayer, CreateEntityTakesAFreshIdOrNothing) {
    GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::size_t before = objects.GetObjectCount();
    network->CreateEntity(WorldCoords(), "", 0);
    EXPECT_EQ(objects.GetObjectCount(), before);
    network->CreateEntity(WorldCoords(), "Records/Test/AnEntity.dbr", 0);
    EXPECT_EQ(objects.GetObjectCount(), before + 1);
    network->CreateEntity(WorldCoords(), "Records/Test/UnknownClass.dbr", 0);
    EXPECT_EQ(objects.GetObjectCount(), before + 1);
}

TEST_F(SinglePlayer, RemoteMessagesFormatTheirTag) {
    GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
    network->DisplayMessageRemote(1, 0, false, "tagNothing");
    const auto& dialogs = gGameEngine->GetDialogManager().GetDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].party, 12);
    EXPECT_FALSE(dialogs[0].text.empty());
}

TEST_F(SinglePlayer, ATradeStepRunsOnThisMachinesOwnTradeWindow) {
    GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
    gGameEngine->CreateMarketClient(1);
    network->TradeInitiate(1, 2);
    // A trade step runs on this machine's own trade window: the question waits for an answer.
    EXPECT_EQ(gGameEngine->GetTradeManager()->GetPendingInvitation(), 1u);
    EXPECT_EQ(tm.CountLog("TradeInitiate"), 0);
}

TEST_F(SinglePlayer, MarketAnswersNeedTheMerchantsMarketClient) {
    GameEngineNetworkInterface* network = gGameEngine->GetNetworkInterface();
    network->S2C_MarketUpdate(4, "Records/Markets/None.dbr", 1, 9, {});
    gGameEngine->CreateMarketClient(4);
    MarketClient* market = gGameEngine->GetClientServices()->FindMarketClient(4);
    ASSERT_NE(market, nullptr);
    EXPECT_EQ(market->GetStockSeed(), 0u);  // the first answer found no market here
    network->S2C_MarketUpdate(4, "Records/Markets/None.dbr", 1, 9, {});
    EXPECT_EQ(market->GetStockSeed(), 9u);
    gGameEngine->DestroyMarketClient(4);
    EXPECT_EQ(gGameEngine->GetClientServices()->FindMarketClient(4), nullptr);
}

TEST_F(SinglePlayer, AMarketRequestMakesTheMerchantsMarketThatARefreshReaches) {
    auto* markets = static_cast<GameEngineServerServicesModule*>(gGameEngine->GetServerServices());
    gGameEngine->ForceMarketRefresh(6);
    EXPECT_EQ(markets->GetMarketCount(), 0u);
    gGameEngine->GetNetworkInterface()->C2S_MarketSellBack(6, 1, 2, 3, 9);
    ASSERT_EQ(markets->GetMarketCount(), 1u);
    gGameEngine->ForceMarketRefresh(6);
    EXPECT_TRUE(markets->GetMarketServer(6)->IsRefreshPending());
}

TEST(NetworkInterfaces, CopiesCarryEveryPacket) {
    TestMachine tm;
    GameEngineOutboundInterface original;
    original.GetPackets().questMessage.words = {1, 2, 3};
    GameEngineOutboundInterface copy(original);
    EXPECT_EQ(copy.GetPackets().questMessage.words, (std::vector<unsigned int>{1, 2, 3}));
    GameEngineOutboundInterface assigned;
    assigned = original;
    original.GetPackets().questMessage.words.clear();
    EXPECT_EQ(assigned.GetPackets().questMessage.words.size(), 3u);
}

}  // namespace
}  // namespace GAME
