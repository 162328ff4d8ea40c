#pragma once
// Packets that create items, entities and portals on the other machines, carry a trade step by
// step, and carry the market traffic between a client and the server's market of a merchant.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/world/Math.h"
#include "Engine/world/Region.h"
#include "Game/core/net/GameEnginePacketKind.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

class CreateItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateItemPacket)
    unsigned int characterId = 0;
    WorldCoords placement;
    ItemReplicaInfo item;
};

class CreateEntityPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateEntityPacket)
    unsigned int objectId = 0;
    WorldCoords placement;
    std::string recordName;
};

// The three trade steps that carry only the two traders.
template <PACKET_TYPE Type>
class TradeStepPacket : public NetPacket {
public:
    TradeStepPacket() : NetPacket(Type) {}
    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    unsigned int sender = 0;
    unsigned int receiver = 0;
};

class TradeInitiatePacket : public TradeStepPacket<PacketType::TradeInitiatePacket> {};
class TradeCancelPacket : public TradeStepPacket<PacketType::TradeCancelPacket> {};
class TradeFinalizePacket : public TradeStepPacket<PacketType::TradeFinalizePacket> {};

class TradeSetGoldPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(TradeSetGoldPacket)
    unsigned int sender = 0;
    unsigned int receiver = 0;
    unsigned int goldAmount = 0;
};

class TradeAddItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(TradeAddItemPacket)
    ItemReplicaInfo item;
    Vec2 slot;
    unsigned int sender = 0;
    unsigned int receiver = 0;
};

class TradeRemoveItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(TradeRemoveItemPacket)
    unsigned int itemId = 0;
    unsigned int sender = 0;
    unsigned int receiver = 0;
};

class CreateItemTeleportPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateItemTeleportPacket)
    unsigned int objectId = 0;
    WorldCoords placement;
    unsigned int owner = 0;
    std::string sectorTag;
};

class DestroyItemTeleportPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(DestroyItemTeleportPacket)
    unsigned int objectId = 0;
};

// Market packets whose body is a row of 32-bit words.
class MarketC2SUpdateRequestPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketC2SUpdateRequestPacket)
    unsigned int marketId = 0;
};

// A purchase request and a sell-back carry the same five words.
template <PACKET_TYPE Type>
class MarketTransactionPacket : public NetPacket {
public:
    MarketTransactionPacket() : NetPacket(Type) {}
    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    unsigned int marketId = 0;
    unsigned int level = 0;
    unsigned int seed = 0;
    unsigned int itemIndex = 0;
    unsigned int buyerId = 0;
};

class MarketC2SSellBackPacket
    : public MarketTransactionPacket<PacketType::MarketC2SSellBackPacket> {};
class MarketC2SPurchaseRequestPacket
    : public MarketTransactionPacket<PacketType::MarketC2SPurchaseRequestPacket> {};

class MarketS2CStatusUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CStatusUpdatePacket)
    unsigned int marketId = 0;
    unsigned int itemIndex = 0;
    int status = 0;
};

class MarketS2CPurchaseDeniedPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CPurchaseDeniedPacket)
    unsigned int marketId = 0;
    unsigned int itemIndex = 0;
    unsigned int buyerId = 0;
    int status = 0;
};

class MarketS2CPurchaseConfirmationPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CPurchaseConfirmationPacket)
    unsigned int marketId = 0;
    unsigned int itemIndex = 0;
    unsigned int buyerId = 0;
};

class MarketS2CUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CUpdatePacket)
    unsigned int marketId = 0;
    std::string marketName;
    unsigned int level = 0;
    unsigned int seed = 0;
    std::vector<unsigned int> soldIndices;
};

}  // namespace GAME
