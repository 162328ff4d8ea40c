#include "Game/core/net/GameEngineServicesModules.h"

#include <gtest/gtest.h>

#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/items/market/MarketServer.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

struct BalanceCounter : EventHandlerInterface {
    std::vector<int> levels;
    void HandleEvent(const GameEvent* payload) override {
        levels.push_back(static_cast<const GameEvent_GameBalanceLevel*>(payload)->level);
    }
};

class ServicesModuleTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

TEST_F(ServicesModuleTest, AMarketIsCreatedOncePerMerchant) {
    GameEngineServerServicesModuleBase* server = gGameEngine->GetServerServices();
    MarketServer* first = server->GetMarketServer(77);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(server->GetMarketServer(77), first);
    EXPECT_EQ(first->GetMerchantId(), 77u);
    EXPECT_EQ(static_cast<GameEngineServerServicesModule*>(server)->GetMarketCount(), 1u);
}

TEST_F(ServicesModuleTest, ForceMarketRefreshReachesTheNamedOrEveryMarket) {
    auto* server = static_cast<GameEngineServerServicesModule*>(gGameEngine->GetServerServices());
    server->ForceMarketRefresh(0);
    server->ForceMarketRefresh(5);
    EXPECT_EQ(server->GetMarketCount(), 0u);
    MarketServer* a = server->GetMarketServer(1);
    MarketServer* b = server->GetMarketServer(2);
    // A new market restocks at its first update.
    EXPECT_TRUE(a->IsRefreshPending());
    a->Update(0);
    b->Update(0);
    server->ForceMarketRefresh(2);
    EXPECT_FALSE(a->IsRefreshPending());
    EXPECT_TRUE(b->IsRefreshPending());
    server->ForceMarketRefresh(0);
    EXPECT_TRUE(a->IsRefreshPending());
}

TEST_F(ServicesModuleTest, MarketClientsAreCreatedAndDestroyedByMerchant) {
    GameEngineClientServicesModule* client = gGameEngine->GetClientServices();
    EXPECT_EQ(client->FindMarketClient(9), nullptr);
    client->CreateMarketClient(9);
    MarketClient* market = client->FindMarketClient(9);
    ASSERT_NE(market, nullptr);
    client->CreateMarketClient(9);
    EXPECT_EQ(client->FindMarketClient(9), market);
    client->DestroyMarketClient(9);
    client->DestroyMarketClient(9);
    EXPECT_EQ(client->FindMarketClient(9), nullptr);
}

TEST_F(ServicesModuleTest, TheBalanceLevelIsSentOnlyWhenItChanges) {
    BalanceCounter counter;
    Singleton<EventManager>::Get().Register("GameEvent_GameBalanceLevel", &counter);
    GameEngine& root = *gGameEngine;
    root.Update(10);  // no players, normal difficulty: 0 equals the last level sent
    EXPECT_TRUE(counter.levels.empty());
    root.SetGameDifficulty(1);
    root.Update(10);
    root.Update(10);
    EXPECT_EQ(counter.levels, (std::vector<int>{6}));
    root.SetGameDifficulty(2);
    root.Update(10);
    EXPECT_EQ(counter.levels, (std::vector<int>{6, 12}));
    Singleton<EventManager>::Get().UnRegister("GameEvent_GameBalanceLevel", &counter);
}

TEST_F(ServicesModuleTest, TheEmptyServerModuleOfAClientDoesNothing) {
    GameEngine& root = *gGameEngine;
    root.SetAsNetworkClient();
    GameEngineServerServicesModuleBase* server = root.GetServerServices();
    EXPECT_EQ(server->GetPlayerManagerServer(), nullptr);
    EXPECT_EQ(server->GetMarketServer(3), nullptr);
    server->ForceMarketRefresh(0);
    root.SetGameDifficulty(2);
    server->Update(10);  // sends no balance level
    EXPECT_EQ(root.GetBalanceDifficulty(), 0u);
}

TEST_F(ServicesModuleTest, ModulesWithoutASlotHaveNoInterface) {
    GameEngineServerServicesModule module;
    EXPECT_EQ(module.GetNetworkInterface(), nullptr);
    GameEngineNetworkInterface* current = nullptr;
    module.SetNetworkInterfaceSlot(&current);
    EXPECT_EQ(module.GetNetworkInterface(), nullptr);
    GameEngineOutboundInterface outbound;
    current = &outbound;
    EXPECT_EQ(module.GetNetworkInterface(), &outbound);
}

}  // namespace
}  // namespace GAME
