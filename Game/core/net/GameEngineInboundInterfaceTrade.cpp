// The trade steps: a server books each one a client sends in its TradeBook before it passes the
// step on to the partner's machine; the machine of the step's receiver hands it to its
// TradeManager.
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetPacket.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/items/market/TradeManager.h"

namespace GAME {

namespace {
TradeManager* Trades() {
    return gGameEngine ? gGameEngine->GetTradeManager() : nullptr;
}
}  // namespace

bool GameEngineInboundInterface::RefusedTradeStep(NetPacket& packet) const {
    TradeManager* trades = Trades();
    const char* refusal = trades ? trades->GetBook().Vet(packet, sourceHost) : "no game";
    if (!refusal)
        return false;
    NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, sourceType,
                              "GameEngineInboundInterface: refused %s from host %d: %s",
                              GetGamePacketKindName(packet.GetType()), sourceHost, refusal);
    return true;
}

void GameEngineInboundInterface::TradeInitiate(std::uint32_t sender, std::uint32_t) {
    if (TradeManager* trades = Trades())
        trades->HandleInitiateTradeInbound(sender);
}

void GameEngineInboundInterface::TradeCancel(std::uint32_t sender, std::uint32_t) {
    if (TradeManager* trades = Trades())
        trades->HandleCancelTradeInbound(sender);
}

void GameEngineInboundInterface::TradeFinalize(std::uint32_t sender, std::uint32_t) {
    if (TradeManager* trades = Trades())
        trades->HandleFinalizeTradeInbound(sender);
}

void GameEngineInboundInterface::TradeAddItem(std::uint32_t sender, std::uint32_t, const Vec2& slot,
                                              const ItemReplicaInfo& item) {
    if (TradeManager* trades = Trades())
        trades->HandleAddItemInbound(sender, slot, item);
}

void GameEngineInboundInterface::TradeRemoveItem(std::uint32_t sender, std::uint32_t,
                                                 std::uint32_t item) {
    if (TradeManager* trades = Trades())
        trades->HandleRemoveItemInbound(sender, item);
}

void GameEngineInboundInterface::TradeSetGoldAmount(std::uint32_t sender, std::uint32_t,
                                                    unsigned int amount) {
    if (TradeManager* trades = Trades())
        trades->HandleSetGoldAmountInbound(sender, amount);
}

}  // namespace GAME
