#include "Game/core/net/GameEngineServicesModules.h"

#include "Engine/Engine.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/items/market/MarketClient.h"
#include "Game/items/market/MarketServer.h"

namespace GAME {

GameEngineClientServicesModule::GameEngineClientServicesModule()
    : mPlayerManager(std::make_unique<PlayerManagerClient>()) {
    mPlayerManager->SetClientServicesModule(this);
}

GameEngineClientServicesModule::~GameEngineClientServicesModule() {
    mMarkets.clear();
    mPlayerManager.reset();
}

void GameEngineClientServicesModule::Update(int elapsedMs) {
    for (auto& [merchant, market] : mMarkets)
        market->Update(elapsedMs);
    mPlayerManager->Update(elapsedMs);
}

MarketClient* GameEngineClientServicesModule::FindMarketClient(std::uint32_t merchant) const {
    auto it = mMarkets.find(merchant);
    return it == mMarkets.end() ? nullptr : it->second.get();
}

void GameEngineClientServicesModule::CreateMarketClient(std::uint32_t merchant) {
    if (mMarkets.count(merchant))
        return;
    mMarkets.emplace(merchant, std::make_unique<MarketClient>(this, merchant));
}

void GameEngineClientServicesModule::DestroyMarketClient(std::uint32_t merchant) {
    mMarkets.erase(merchant);
}

GameEngineServerServicesModuleBase::GameEngineServerServicesModuleBase() = default;
GameEngineServerServicesModuleBase::~GameEngineServerServicesModuleBase() = default;

GameEngineServerServicesModule::GameEngineServerServicesModule() {
    mPlayerManager = std::make_unique<PlayerManagerServer>();
    mPlayerManager->SetServerServicesModule(this);
}

GameEngineServerServicesModule::~GameEngineServerServicesModule() {
    mMarkets.clear();
    mPlayerManager.reset();
}

void GameEngineServerServicesModule::Update(int elapsedMs) {
    mPlayerManager->Update(elapsedMs);
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    const int balance = mPlayerManager->GetNumberOfPlayers() + 6 * difficulty;
    if (balance != mLastBalanceLevel) {
        mLastBalanceLevel = balance;
        if (GameEngineNetworkInterface* network = GetNetworkInterface()) {
            network->GameBalanceUpdate(balance);
            // The outbound interface reaches only the clients; the server's monsters need the
            // level as much as theirs.
            GameEngineInboundInterface* local =
                gGameEngine ? gGameEngine->GetInboundNetworkInterface() : nullptr;
            if (local && network != local && gEngine->IsServer()) {
                const int source = local->GetSourceHost();
                local->SetSourceHost(-1);
                local->GameBalanceUpdate(balance);
                local->SetSourceHost(source);
            }
        }
    }
    for (auto& [merchant, market] : mMarkets)
        market->Update(elapsedMs);
}

MarketServer* GameEngineServerServicesModule::GetMarketServer(std::uint32_t merchant) {
    auto it = mMarkets.find(merchant);
    if (it != mMarkets.end())
        return it->second.get();
    auto market = std::make_unique<MarketServer>(this, merchant);
    market->AttachToMerchant();
    mMarkets.emplace(merchant, std::move(market));
    return mMarkets.find(merchant)->second.get();
}

void GameEngineServerServicesModule::ForceMarketRefresh(std::uint32_t merchant) {
    if (merchant != 0) {
        auto it = mMarkets.find(merchant);
        if (it != mMarkets.end())
            it->second->RequestRefresh();
        return;
    }
    for (auto& [id, market] : mMarkets)
        market->RequestRefresh();
}

}  // namespace GAME
