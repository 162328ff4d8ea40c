// What the UI asks of a merchant's market: the client services module's market client answers;
// without one, nothing is there.
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/items/market/MarketClient.h"

namespace GAME {

namespace {
MarketClient* FindMarket(const GameEngineClientServicesModule* client, std::uint32_t merchant) {
    return client ? client->FindMarketClient(merchant) : nullptr;
}
}  // namespace

int GameEngine::GetMarketItemStatus(std::uint32_t merchant, std::uint32_t item) const {
    const MarketClient* market = FindMarket(clientServices.get(), merchant);
    return market ? market->GetItemStatus(item) : 0;
}

InventorySack* GameEngine::GetMarketInventorySack(std::uint32_t merchant, Market_TypeEnum type) {
    MarketClient* market = FindMarket(clientServices.get(), merchant);
    return market ? market->GetInventorySack(type) : nullptr;
}

const InventorySack* GameEngine::GetMarketInventorySack(std::uint32_t merchant,
                                                        Market_TypeEnum type) const {
    return const_cast<GameEngine*>(this)->GetMarketInventorySack(merchant, type);
}

bool GameEngine::GetMarketIsItemAffordable(std::uint32_t merchant, std::uint32_t item) const {
    const MarketClient* market = FindMarket(clientServices.get(), merchant);
    return market && market->IsItemAffordable(item);
}

void GameEngine::OpenMarket(std::uint32_t merchant, Market_TypeEnum& type, const Vec2& position) {
    if (MarketClient* market = FindMarket(clientServices.get(), merchant))
        market->Open(type, position);
}

void GameEngine::CloseMarket(std::uint32_t merchant) {
    if (MarketClient* market = FindMarket(clientServices.get(), merchant))
        market->Close();
}

void GameEngine::CreateUIPlayerSellText(std::uint32_t merchant, std::uint32_t item,
                                        std::vector<GameTextLine>& lines) {
    if (MarketClient* market = FindMarket(clientServices.get(), merchant))
        market->CreateUIPlayerSellText(item, lines);
}

void GameEngine::CreateUIPlayerBuyText(std::uint32_t merchant, std::uint32_t item,
                                       std::vector<GameTextLine>& lines) {
    if (MarketClient* market = FindMarket(clientServices.get(), merchant))
        market->CreateUIPlayerBuyText(item, lines);
}

bool GameEngine::PlayerPurchaseRequest(std::uint32_t merchant, std::uint32_t item) {
    MarketClient* market = FindMarket(clientServices.get(), merchant);
    return market && market->PlayerPurchaseRequest(item);
}

bool GameEngine::PlayerSaleRequest(std::uint32_t merchant, std::uint32_t item, bool quiet) {
    MarketClient* market = FindMarket(clientServices.get(), merchant);
    return market && market->PlayerSaleRequest(item, quiet);
}

}  // namespace GAME
