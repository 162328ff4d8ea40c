#include "Game/core/net/ItemPackets.h"

#include "Engine/net/NetPacketFields.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

GAME_PACKET_KIND_DEFINITIONS(CreateItemPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(CreateEntityPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(TradeSetGoldPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(TradeAddItemPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(TradeRemoveItemPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(CreateItemTeleportPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(DestroyItemTeleportPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(MarketC2SUpdateRequestPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(MarketS2CStatusUpdatePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(MarketS2CPurchaseDeniedPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(MarketS2CPurchaseConfirmationPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(MarketS2CUpdatePacket, NetPacket)

NET_PACKET_FIELD_OPERATIONS_OF(template <PACKET_TYPE Type>, TradeStepPacket<Type>)
template class TradeStepPacket<PacketType::TradeInitiatePacket>;
template class TradeStepPacket<PacketType::TradeCancelPacket>;
template class TradeStepPacket<PacketType::TradeFinalizePacket>;

NET_PACKET_FIELD_OPERATIONS_OF(template <PACKET_TYPE Type>, MarketTransactionPacket<Type>)
template class MarketTransactionPacket<PacketType::MarketC2SSellBackPacket>;
template class MarketTransactionPacket<PacketType::MarketC2SPurchaseRequestPacket>;

REGISTER_NET_PACKET(CreateItemPacket);
REGISTER_NET_PACKET(CreateEntityPacket);
REGISTER_NET_PACKET(TradeInitiatePacket);
REGISTER_NET_PACKET(TradeCancelPacket);
REGISTER_NET_PACKET(TradeFinalizePacket);
REGISTER_NET_PACKET(TradeSetGoldPacket);
REGISTER_NET_PACKET(TradeAddItemPacket);
REGISTER_NET_PACKET(TradeRemoveItemPacket);
REGISTER_NET_PACKET(CreateItemTeleportPacket);
REGISTER_NET_PACKET(DestroyItemTeleportPacket);
REGISTER_NET_PACKET(MarketC2SUpdateRequestPacket);
REGISTER_NET_PACKET(MarketC2SSellBackPacket);
REGISTER_NET_PACKET(MarketC2SPurchaseRequestPacket);
REGISTER_NET_PACKET(MarketS2CStatusUpdatePacket);
REGISTER_NET_PACKET(MarketS2CPurchaseDeniedPacket);
REGISTER_NET_PACKET(MarketS2CPurchaseConfirmationPacket);
REGISTER_NET_PACKET(MarketS2CUpdatePacket);

}  // namespace GAME
