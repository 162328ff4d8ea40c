#include "Game/core/net/ItemPackets.h"

#include "Engine/net/NetPacketBuffer.h"
#include "Engine/net/NetPacketDescriber.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

namespace {
void ReadWord(NetPacketInBuffer& in, unsigned int& target) {
    std::uint32_t value = target;
    if (in.Read32(value))
        target = value;
}
void ReadSigned(NetPacketInBuffer& in, int& target) {
    std::int32_t value = target;
    if (in.Read32(value))
        target = value;
}
}  // namespace

// CreateItemPacket: the item in its full form.
CreateItemPacket::CreateItemPacket() : NetPacket(PacketType::CreateItemPacket) {}
CreateItemPacket::~CreateItemPacket() = default;
unsigned int CreateItemPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(characterId));
    out.Add(&placement);
    out.AddItemRecordFull(item);
    return out.Done();
}
void CreateItemPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, characterId);
    in.Remove(&placement);
    in.RemoveItemRecordFull(&item);
}
std::string CreateItemPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Character ID: ", characterId, 0);
    d.Describe("Coords: ", placement, 0);
    d.Describe("Item ID: ", static_cast<unsigned int>(item.objectId), 0);
    d.Describe("Item Name: ", item.baseName, 0);
    d.Describe("Prefix: ", item.prefixName, 0);
    d.Describe("PostFix: ", item.suffixName, 0);
    d.Describe("Relic: ", item.relicName, 0);
    d.Describe("Relic Bonus: ", item.relicBonusName, 0);
    d.Describe("Seed: ", static_cast<unsigned int>(item.seed), 0);
    d.Describe("Var1: ", static_cast<unsigned int>(item.relicLevel), 0);
    return d.GetDescription();
}

// CreateEntityPacket: the object id travels last.
CreateEntityPacket::CreateEntityPacket() : NetPacket(PacketType::CreateEntityPacket) {}
CreateEntityPacket::~CreateEntityPacket() = default;
unsigned int CreateEntityPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(&placement);
    out.AddFileName(recordName);
    out.Write32(static_cast<std::uint32_t>(objectId));
    return out.Done();
}
void CreateEntityPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&placement);
    in.Remove(&recordName);
    ReadWord(in, objectId);
}
std::string CreateEntityPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Coords: ", placement, 0);
    d.Describe("Name: ", recordName, 0);
    d.Describe("ObjectId: ", objectId, 0);
    return d.GetDescription();
}

// Trade steps with the two traders only.
template <PACKET_TYPE Type>
unsigned int TradeStepPacket<Type>::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(sender));
    out.Write32(static_cast<std::uint32_t>(receiver));
    return out.Done();
}
template <PACKET_TYPE Type>
void TradeStepPacket<Type>::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(this->GetHeader(), data, size);
    ReadWord(in, sender);
    ReadWord(in, receiver);
}
template <PACKET_TYPE Type>
std::string TradeStepPacket<Type>::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Sender: ", sender, 0);
    d.Describe("Receiver: ", receiver, 0);
    return d.GetDescription();
}
template class TradeStepPacket<PacketType::TradeInitiatePacket>;
template class TradeStepPacket<PacketType::TradeCancelPacket>;
template class TradeStepPacket<PacketType::TradeFinalizePacket>;

// TradeSetGoldPacket
TradeSetGoldPacket::TradeSetGoldPacket() : NetPacket(PacketType::TradeSetGoldPacket) {}
TradeSetGoldPacket::~TradeSetGoldPacket() = default;
unsigned int TradeSetGoldPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(sender));
    out.Write32(static_cast<std::uint32_t>(receiver));
    out.Write32(static_cast<std::uint32_t>(goldAmount));
    return out.Done();
}
void TradeSetGoldPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, sender);
    ReadWord(in, receiver);
    ReadWord(in, goldAmount);
}
std::string TradeSetGoldPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Sender: ", sender, 0);
    d.Describe("Receiver: ", receiver, 0);
    d.Describe("goldAmount: ", goldAmount, 0);
    return d.GetDescription();
}

// TradeAddItemPacket: the item in its packet form after its base name.
TradeAddItemPacket::TradeAddItemPacket() : NetPacket(PacketType::TradeAddItemPacket) {}
TradeAddItemPacket::~TradeAddItemPacket() = default;
unsigned int TradeAddItemPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(sender));
    out.Write32(static_cast<std::uint32_t>(receiver));
    out.Write8Bytes(&slot);
    out.AddFileName(item.baseName);
    out.AddItemRecordPacked(item);
    return out.Done();
}
void TradeAddItemPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, sender);
    ReadWord(in, receiver);
    in.Read32(slot.x);
    in.Read32(slot.y);
    in.Remove(&item.baseName);
    in.RemoveItemRecordPacked(&item);
}
std::string TradeAddItemPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Sender: ", sender, 0);
    d.Describe("Receiver: ", receiver, 0);
    return d.GetDescription();
}

// TradeRemoveItemPacket: the item id travels last.
TradeRemoveItemPacket::TradeRemoveItemPacket() : NetPacket(PacketType::TradeRemoveItemPacket) {}
TradeRemoveItemPacket::~TradeRemoveItemPacket() = default;
unsigned int TradeRemoveItemPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(sender));
    out.Write32(static_cast<std::uint32_t>(receiver));
    out.Write32(static_cast<std::uint32_t>(itemId));
    return out.Done();
}
void TradeRemoveItemPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, sender);
    ReadWord(in, receiver);
    ReadWord(in, itemId);
}
std::string TradeRemoveItemPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Sender: ", sender, 0);
    d.Describe("Receiver: ", receiver, 0);
    d.Describe("Item Id: ", itemId, 0);
    return d.GetDescription();
}

// CreateItemTeleportPacket
CreateItemTeleportPacket::CreateItemTeleportPacket()
    : NetPacket(PacketType::CreateItemTeleportPacket) {}
CreateItemTeleportPacket::~CreateItemTeleportPacket() = default;
unsigned int CreateItemTeleportPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Add(&placement);
    out.Write32(static_cast<std::uint32_t>(owner));
    out.Write32(static_cast<std::uint32_t>(objectId));
    out.AddRaw(sectorTag);
    return out.Done();
}
void CreateItemTeleportPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    in.Remove(&placement);
    ReadWord(in, owner);
    ReadWord(in, objectId);
    in.RemoveRaw(&sectorTag);
}
std::string CreateItemTeleportPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Coords: ", placement, 0);
    d.Describe("Owner: ", owner, 0);
    d.Describe("ObjectId: ", objectId, 0);
    d.Describe("SectorTag: ", sectorTag, 0);
    return d.GetDescription();
}

// DestroyItemTeleportPacket
DestroyItemTeleportPacket::DestroyItemTeleportPacket()
    : NetPacket(PacketType::DestroyItemTeleportPacket) {}
DestroyItemTeleportPacket::~DestroyItemTeleportPacket() = default;
unsigned int DestroyItemTeleportPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(objectId));
    return out.Done();
}
void DestroyItemTeleportPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, objectId);
}
std::string DestroyItemTeleportPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("ObjectId: ", objectId, 0);
    return d.GetDescription();
}

// MarketC2SUpdateRequestPacket
MarketC2SUpdateRequestPacket::MarketC2SUpdateRequestPacket()
    : NetPacket(PacketType::MarketC2SUpdateRequestPacket) {}
MarketC2SUpdateRequestPacket::~MarketC2SUpdateRequestPacket() = default;
unsigned int MarketC2SUpdateRequestPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(marketId));
    return out.Done();
}
void MarketC2SUpdateRequestPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, marketId);
}
std::string MarketC2SUpdateRequestPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Market Id: ", marketId, 0);
    return d.GetDescription();
}

// Purchase request and sell-back.
template <PACKET_TYPE Type>
unsigned int MarketTransactionPacket<Type>::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    for (unsigned int word : {marketId, level, seed, itemIndex, buyerId})
        out.Write32(static_cast<std::uint32_t>(word));
    return out.Done();
}
template <PACKET_TYPE Type>
void MarketTransactionPacket<Type>::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(this->GetHeader(), data, size);
    for (unsigned int* word : {&marketId, &level, &seed, &itemIndex, &buyerId})
        ReadWord(in, *word);
}
template <PACKET_TYPE Type>
std::string MarketTransactionPacket<Type>::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Market Id: ", marketId, 0);
    d.Describe("Level: ", level, 0);
    d.Describe("Seed: ", seed, 0);
    d.Describe("Item Index: ", itemIndex, 0);
    d.Describe("Buyer Id: ", buyerId, 0);
    return d.GetDescription();
}
template class MarketTransactionPacket<PacketType::MarketC2SSellBackPacket>;
template class MarketTransactionPacket<PacketType::MarketC2SPurchaseRequestPacket>;

// MarketS2CStatusUpdatePacket
MarketS2CStatusUpdatePacket::MarketS2CStatusUpdatePacket()
    : NetPacket(PacketType::MarketS2CStatusUpdatePacket) {}
MarketS2CStatusUpdatePacket::~MarketS2CStatusUpdatePacket() = default;
unsigned int MarketS2CStatusUpdatePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(marketId));
    out.Write32(static_cast<std::uint32_t>(itemIndex));
    out.Write32(static_cast<std::int32_t>(status));
    return out.Done();
}
void MarketS2CStatusUpdatePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, marketId);
    ReadWord(in, itemIndex);
    ReadSigned(in, status);
}
std::string MarketS2CStatusUpdatePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Market Id: ", marketId, 0);
    d.Describe("Item Index: ", itemIndex, 0);
    d.Describe("Status: ", status, 0);
    return d.GetDescription();
}

// MarketS2CPurchaseDeniedPacket
MarketS2CPurchaseDeniedPacket::MarketS2CPurchaseDeniedPacket()
    : NetPacket(PacketType::MarketS2CPurchaseDeniedPacket) {}
MarketS2CPurchaseDeniedPacket::~MarketS2CPurchaseDeniedPacket() = default;
unsigned int MarketS2CPurchaseDeniedPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(marketId));
    out.Write32(static_cast<std::uint32_t>(itemIndex));
    out.Write32(static_cast<std::uint32_t>(buyerId));
    out.Write32(static_cast<std::int32_t>(status));
    return out.Done();
}
void MarketS2CPurchaseDeniedPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, marketId);
    ReadWord(in, itemIndex);
    ReadWord(in, buyerId);
    ReadSigned(in, status);
}
std::string MarketS2CPurchaseDeniedPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Market Id: ", marketId, 0);
    d.Describe("Item Index: ", itemIndex, 0);
    d.Describe("Buyer Id: ", buyerId, 0);
    d.Describe("Status: ", status, 0);
    return d.GetDescription();
}

// MarketS2CPurchaseConfirmationPacket
MarketS2CPurchaseConfirmationPacket::MarketS2CPurchaseConfirmationPacket()
    : NetPacket(PacketType::MarketS2CPurchaseConfirmationPacket) {}
MarketS2CPurchaseConfirmationPacket::~MarketS2CPurchaseConfirmationPacket() = default;
unsigned int MarketS2CPurchaseConfirmationPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(marketId));
    out.Write32(static_cast<std::uint32_t>(itemIndex));
    out.Write32(static_cast<std::uint32_t>(buyerId));
    return out.Done();
}
void MarketS2CPurchaseConfirmationPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, marketId);
    ReadWord(in, itemIndex);
    ReadWord(in, buyerId);
}
std::string MarketS2CPurchaseConfirmationPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Market Id: ", marketId, 0);
    d.Describe("Item Index: ", itemIndex, 0);
    d.Describe("Buyer Id: ", buyerId, 0);
    return d.GetDescription();
}

// MarketS2CUpdatePacket: the sold indices are appended on reading.
MarketS2CUpdatePacket::MarketS2CUpdatePacket() : NetPacket(PacketType::MarketS2CUpdatePacket) {}
MarketS2CUpdatePacket::~MarketS2CUpdatePacket() = default;
unsigned int MarketS2CUpdatePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(marketId));
    out.AddFileName(marketName);
    out.Write32(static_cast<std::uint32_t>(level));
    out.Write32(static_cast<std::uint32_t>(seed));
    out.Write32(static_cast<std::uint32_t>(soldIndices.size()));
    for (unsigned int index : soldIndices)
        out.Write32(static_cast<std::uint32_t>(index));
    return out.Done();
}
void MarketS2CUpdatePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, marketId);
    in.Remove(&marketName);
    ReadWord(in, level);
    ReadWord(in, seed);
    std::uint32_t count = 0;
    if (!in.RemoveCount(count, 4))
        return;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t index = 0;
        if (!in.Read32(index))
            return;
        soldIndices.push_back(index);
    }
}
std::string MarketS2CUpdatePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Market Id: ", marketId, 0);
    d.Describe("Market Name: ", marketName, 0);
    d.Describe("Level: ", level, 0);
    d.Describe("Seed: ", seed, 0);
    d.Describe("Sold Item Index Size", static_cast<unsigned int>(soldIndices.size()), 0);
    for (unsigned int index : soldIndices)
        d.Describe("  Item Index: ", index, 0);
    return d.GetDescription();
}

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
