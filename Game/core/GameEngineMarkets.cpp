// What the UI asks of a merchant's market: the client services module's market client answers.
// The market client's own operations come with the markets; until then each answers as if the
// market held nothing, with one line in the log.
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/market/MarketClient.h"

namespace GAME {

namespace {
bool HasMarketClient(const GameEngineClientServicesModule* client, std::uint32_t merchant) {
    return client && client->FindMarketClient(merchant) != nullptr;
}
}  // namespace

int GameEngine::GetMarketItemStatus(std::uint32_t merchant, std::uint32_t) const {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::GetItemStatus");
    return 0;
}

InventorySack* GameEngine::GetMarketInventorySack(std::uint32_t merchant, Market_TypeEnum) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::GetInventorySack");
    return nullptr;
}

const InventorySack* GameEngine::GetMarketInventorySack(std::uint32_t merchant,
                                                        Market_TypeEnum type) const {
    return const_cast<GameEngine*>(this)->GetMarketInventorySack(merchant, type);
}

bool GameEngine::GetMarketIsItemAffordable(std::uint32_t merchant, std::uint32_t) const {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::IsItemAffordable");
    return false;
}

void GameEngine::OpenMarket(std::uint32_t merchant, Market_TypeEnum&, const Vec2&) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::Open");
}

void GameEngine::CloseMarket(std::uint32_t merchant) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::Close");
}

void GameEngine::CreateUIPlayerSellText(std::uint32_t merchant, std::uint32_t,
                                        std::vector<GameTextLine>&) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::CreateUIPlayerSellText");
}

void GameEngine::CreateUIPlayerBuyText(std::uint32_t merchant, std::uint32_t,
                                       std::vector<GameTextLine>&) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::CreateUIPlayerBuyText");
}

bool GameEngine::PlayerPurchaseRequest(std::uint32_t merchant, std::uint32_t) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::PlayerPurchaseRequest");
    return false;
}

bool GameEngine::PlayerSaleRequest(std::uint32_t merchant, std::uint32_t, bool) {
    if (HasMarketClient(clientServices.get(), merchant))
        ReportSeam("GameEngine", "MarketClient::PlayerSaleRequest");
    return false;
}

}  // namespace GAME
