#pragma once
// Packets that create items, entities and portals on the other machines, carry a trade step by
// step, and carry the market traffic between a client and the server's market of a merchant.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/world/Math.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

// The item travels in its full form.
class CreateItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateItemPacket)
    unsigned int characterId = 0;
    WorldCoords placement;
    ItemReplicaInfo item;

    template <class V>
    void VisitFields(V& v) {
        v.Word(characterId, "Character ID: ");
        v.Placement(placement, "Coords: ");
        v.ItemFull(item);
    }
};

// The object id travels last.
class CreateEntityPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateEntityPacket)
    unsigned int objectId = 0;
    WorldCoords placement;
    std::string recordName;

    template <class V>
    void VisitFields(V& v) {
        v.Placement(placement, "Coords: ");
        v.String(recordName, "Name: ");
        v.Word(objectId, "ObjectId: ");
    }
};

// The three trade steps that carry only the two traders.
template <PACKET_TYPE Type>
class TradeStepPacket : public NetPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(TradeStepPacket, NetPacket)

    unsigned int sender = 0;
    unsigned int receiver = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(sender, "Sender: ");
        v.Word(receiver, "Receiver: ");
    }
};

class TradeInitiatePacket : public TradeStepPacket<PacketType::TradeInitiatePacket> {};
class TradeCancelPacket : public TradeStepPacket<PacketType::TradeCancelPacket> {};
class TradeFinalizePacket : public TradeStepPacket<PacketType::TradeFinalizePacket> {};

class TradeSetGoldPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(TradeSetGoldPacket)
    unsigned int sender = 0;
    unsigned int receiver = 0;
    unsigned int goldAmount = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(sender, "Sender: ");
        v.Word(receiver, "Receiver: ");
        v.Word(goldAmount, "goldAmount: ");
    }
};

// The item in its packet form after its base name; only the traders are described.
class TradeAddItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(TradeAddItemPacket)
    ItemReplicaInfo item;
    Vec2 slot;
    unsigned int sender = 0;
    unsigned int receiver = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(sender, "Sender: ");
        v.Word(receiver, "Receiver: ");
        v.Word(slot.x);
        v.Word(slot.y);
        v.String(item.baseName);
        v.ItemPacked(item);
    }
};

class TradeRemoveItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(TradeRemoveItemPacket)
    unsigned int itemId = 0;
    unsigned int sender = 0;
    unsigned int receiver = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(sender, "Sender: ");
        v.Word(receiver, "Receiver: ");
        v.Word(itemId, "Item Id: ");
    }
};

class CreateItemTeleportPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(CreateItemTeleportPacket)
    unsigned int objectId = 0;
    WorldCoords placement;
    unsigned int owner = 0;
    std::string sectorTag;

    template <class V>
    void VisitFields(V& v) {
        v.Placement(placement, "Coords: ");
        v.Word(owner, "Owner: ");
        v.Word(objectId, "ObjectId: ");
        v.Raw(sectorTag, "SectorTag: ");
    }
};

class DestroyItemTeleportPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(DestroyItemTeleportPacket)
    unsigned int objectId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(objectId, "ObjectId: ");
    }
};

// Market packets whose body is a row of 32-bit words.
class MarketC2SUpdateRequestPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketC2SUpdateRequestPacket)
    unsigned int marketId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(marketId, "Market Id: ");
    }
};

// A purchase request and a sell-back carry the same five words.
template <PACKET_TYPE Type>
class MarketTransactionPacket : public NetPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(MarketTransactionPacket, NetPacket)

    unsigned int marketId = 0;
    unsigned int level = 0;
    unsigned int seed = 0;
    unsigned int itemIndex = 0;
    unsigned int buyerId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(marketId, "Market Id: ");
        v.Word(level, "Level: ");
        v.Word(seed, "Seed: ");
        v.Word(itemIndex, "Item Index: ");
        v.Word(buyerId, "Buyer Id: ");
    }
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

    template <class V>
    void VisitFields(V& v) {
        v.Word(marketId, "Market Id: ");
        v.Word(itemIndex, "Item Index: ");
        v.Word(status, "Status: ");
    }
};

class MarketS2CPurchaseDeniedPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CPurchaseDeniedPacket)
    unsigned int marketId = 0;
    unsigned int itemIndex = 0;
    unsigned int buyerId = 0;
    int status = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(marketId, "Market Id: ");
        v.Word(itemIndex, "Item Index: ");
        v.Word(buyerId, "Buyer Id: ");
        v.Word(status, "Status: ");
    }
};

class MarketS2CPurchaseConfirmationPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CPurchaseConfirmationPacket)
    unsigned int marketId = 0;
    unsigned int itemIndex = 0;
    unsigned int buyerId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(marketId, "Market Id: ");
        v.Word(itemIndex, "Item Index: ");
        v.Word(buyerId, "Buyer Id: ");
    }
};

// The sold indices are appended on reading.
class MarketS2CUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(MarketS2CUpdatePacket)
    unsigned int marketId = 0;
    std::string marketName;
    unsigned int level = 0;
    unsigned int seed = 0;
    std::vector<unsigned int> soldIndices;

    template <class V>
    void VisitFields(V& v) {
        v.Word(marketId, "Market Id: ");
        v.String(marketName, "Market Name: ");
        v.Word(level, "Level: ");
        v.Word(seed, "Seed: ");
        v.Words(soldIndices, {.count = "Sold Item Index Size", .item = "  Item Index: "});
    }
};

}  // namespace GAME
