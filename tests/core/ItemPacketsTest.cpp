#include "Game/core/net/packets/ItemPackets.h"

#include <gtest/gtest.h>

#include "Engine/net/NetPacketRegistry.h"
#include "GamePacketsTestSupport.h"

namespace GAME {
namespace {

using test::Body;
using test::BodyOf;
using test::ReadBack;

TEST(ItemPackets, EveryKindRegistersUnderItsTypeId) {
    const std::pair<PACKET_TYPE, const char*> kinds[] = {
        {32, "CreateItemPacket"},
        {33, "CreateEntityPacket"},
        {38, "TradeInitiatePacket"},
        {39, "TradeCancelPacket"},
        {40, "TradeSetGoldPacket"},
        {41, "TradeAddItemPacket"},
        {42, "TradeRemoveItemPacket"},
        {43, "TradeFinalizePacket"},
        {44, "CreateItemTeleportPacket"},
        {45, "DestroyItemTeleportPacket"},
        {49, "MarketC2SUpdateRequestPacket"},
        {50, "MarketC2SSellBackPacket"},
        {51, "MarketC2SPurchaseRequestPacket"},
        {52, "MarketS2CStatusUpdatePacket"},
        {53, "MarketS2CPurchaseDeniedPacket"},
        {54, "MarketS2CPurchaseConfirmationPacket"},
        {55, "MarketS2CUpdatePacket"},
    };
    for (const auto& [type, name] : kinds) {
        const NetPacketKind* kind = NetPacketRegistry::Global().Find(type);
        ASSERT_NE(kind, nullptr) << name;
        EXPECT_EQ(kind->name, name);
        EXPECT_EQ(NetPacketRegistry::Global().Create(type)->GetType(), type);
    }
}

TEST(ItemPackets, CreateItemWritesTheFullItemRecord) {
    CreateItemPacket packet;
    packet.characterId = 4;
    packet.placement.coords.origin = Vec3(1, 2, 3);
    packet.item.objectId = 99;
    packet.item.baseName = "Records/Item/Sword.dbr";
    packet.item.seed = 1234;
    EXPECT_EQ(BodyOf(packet), Body()
                                  .u32(4)
                                  .coords(1, 2, 3)
                                  .u32(99)
                                  .str("Records/Item/Sword.dbr")
                                  .str("")
                                  .str("")
                                  .str("")
                                  .str("")
                                  .u32(1234)
                                  .u32(0)
                                  .bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Character ID: 4\nCoords: (1, 2, 3) facing (0, 0, 1)\nItem ID: 99\nItem Name: "
              "Records/Item/Sword.dbr\n"
              "Prefix: \nPostFix: \nRelic: \nRelic Bonus: \nSeed: 1234\nVar1: 0\n");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->item, packet.item);
    EXPECT_EQ(copy->characterId, 4u);
}

TEST(ItemPackets, CreateEntityPutsTheObjectIdLast) {
    CreateEntityPacket packet;
    packet.objectId = 77;
    packet.recordName = "Records/Test/AnEntity.dbr";
    EXPECT_EQ(BodyOf(packet),
              Body().coords(0, 0, 0).str("Records/Test/AnEntity.dbr").u32(77).bytes);
    EXPECT_EQ(
        packet.GetPacketDescription(false),
        "Coords: (0, 0, 0) facing (0, 0, 1)\nName: Records/Test/AnEntity.dbr\nObjectId: 77\n");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->objectId, 77u);
    EXPECT_EQ(copy->recordName, packet.recordName);
}

TEST(ItemPackets, TradeStepsCarryTheTwoTraders) {
    TradeInitiatePacket initiate;
    initiate.sender = 1;
    initiate.receiver = 2;
    EXPECT_EQ(BodyOf(initiate), Body().u32(1).u32(2).bytes);
    EXPECT_EQ(initiate.GetPacketDescription(false), "Sender: 1\nReceiver: 2\n");
    TradeCancelPacket cancel;
    EXPECT_EQ(cancel.GetType(), 39);
    TradeFinalizePacket finalize;
    finalize.sender = 3;
    EXPECT_EQ(ReadBack(finalize)->sender, 3u);

    TradeSetGoldPacket gold;
    gold.sender = 1;
    gold.receiver = 2;
    gold.goldAmount = 500;
    EXPECT_EQ(BodyOf(gold), Body().u32(1).u32(2).u32(500).bytes);
    EXPECT_EQ(gold.GetPacketDescription(false), "Sender: 1\nReceiver: 2\ngoldAmount: 500\n");

    TradeRemoveItemPacket remove;
    remove.itemId = 9;
    remove.sender = 1;
    remove.receiver = 2;
    EXPECT_EQ(BodyOf(remove), Body().u32(1).u32(2).u32(9).bytes);
    EXPECT_EQ(remove.GetPacketDescription(false), "Sender: 1\nReceiver: 2\nItem Id: 9\n");
    EXPECT_EQ(ReadBack(remove)->itemId, 9u);
}

TEST(ItemPackets, TradeAddItemWritesTheSlotAndThePackedItem) {
    TradeAddItemPacket packet;
    packet.sender = 1;
    packet.receiver = 2;
    packet.slot = Vec2(3, 4);
    packet.item.objectId = 55;
    packet.item.baseName = "Records/Item/Ring.dbr";
    EXPECT_EQ(BodyOf(packet),
              Body().u32(1).u32(2).f32(3).f32(4).str("Records/Item/Ring.dbr").u32(55).u8(0).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), "Sender: 1\nReceiver: 2\n");

    packet.item.suffixName = "Records/Item/Suffix.dbr";
    packet.item.seed = 0x1234;
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->item, packet.item);
    EXPECT_EQ(copy->slot, Vec2(3, 4));
}

TEST(ItemPackets, PortalPackets) {
    CreateItemTeleportPacket create;
    create.objectId = 12;
    create.owner = 0x10000001;
    create.sectorTag = "tagSector";
    EXPECT_EQ(BodyOf(create),
              Body().coords(0, 0, 0).u32(0x10000001).u32(12).raw("tagSector").bytes);
    EXPECT_EQ(create.GetPacketDescription(false),
              "Coords: (0, 0, 0) facing (0, 0, 1)\nOwner: 268435457\nObjectId: 12\nSectorTag: "
              "tagSector\n");
    EXPECT_EQ(ReadBack(create)->sectorTag, "tagSector");

    DestroyItemTeleportPacket destroy;
    destroy.objectId = 12;
    EXPECT_EQ(BodyOf(destroy).size(), 4u);
    EXPECT_EQ(destroy.GetPacketDescription(false), "ObjectId: 12\n");
}

TEST(ItemPackets, MarketRequestsAndAnswers) {
    MarketC2SUpdateRequestPacket request;
    request.marketId = 8;
    EXPECT_EQ(BodyOf(request), Body().u32(8).bytes);
    EXPECT_EQ(request.GetPacketDescription(false), "Market Id: 8\n");

    MarketC2SPurchaseRequestPacket purchase;
    purchase.marketId = 8;
    purchase.level = 10;
    purchase.seed = 11;
    purchase.itemIndex = 2;
    purchase.buyerId = 3;
    EXPECT_EQ(BodyOf(purchase), Body().u32(8).u32(10).u32(11).u32(2).u32(3).bytes);
    EXPECT_EQ(purchase.GetPacketDescription(false),
              "Market Id: 8\nLevel: 10\nSeed: 11\nItem Index: 2\nBuyer Id: 3\n");
    MarketC2SSellBackPacket sell;
    sell.buyerId = 6;
    EXPECT_EQ(ReadBack(sell)->buyerId, 6u);
    EXPECT_EQ(sell.GetType(), 50);

    MarketS2CStatusUpdatePacket status;
    status.marketId = 8;
    status.itemIndex = 1;
    status.status = -1;
    EXPECT_EQ(BodyOf(status), Body().u32(8).u32(1).i32(-1).bytes);
    EXPECT_EQ(status.GetPacketDescription(false), "Market Id: 8\nItem Index: 1\nStatus: -1\n");

    MarketS2CPurchaseDeniedPacket denied;
    denied.marketId = 8;
    denied.itemIndex = 1;
    denied.buyerId = 3;
    denied.status = 0;
    EXPECT_EQ(BodyOf(denied), Body().u32(8).u32(1).u32(3).i32(0).bytes);
    EXPECT_EQ(denied.GetPacketDescription(false),
              "Market Id: 8\nItem Index: 1\nBuyer Id: 3\nStatus: 0\n");

    MarketS2CPurchaseConfirmationPacket confirmed;
    confirmed.marketId = 8;
    confirmed.itemIndex = 1;
    confirmed.buyerId = 3;
    EXPECT_EQ(BodyOf(confirmed), Body().u32(8).u32(1).u32(3).bytes);
    EXPECT_EQ(confirmed.GetPacketDescription(false), "Market Id: 8\nItem Index: 1\nBuyer Id: 3\n");
}

TEST(ItemPackets, MarketUpdateListsTheSoldItems) {
    MarketS2CUpdatePacket packet;
    packet.marketId = 8;
    packet.marketName = "Records/Market/Smith.dbr";
    packet.level = 3;
    packet.seed = 4;
    packet.soldIndices = {1, 5};
    EXPECT_EQ(
        BodyOf(packet),
        Body().u32(8).str("Records/Market/Smith.dbr").u32(3).u32(4).u32(2).u32(1).u32(5).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Market Id: 8\nMarket Name: Records/Market/Smith.dbr\nLevel: 3\nSeed: 4\nSold Item "
              "Index Size2\n"
              "  Item Index: 1\n  Item Index: 5\n");
    EXPECT_EQ(ReadBack(packet)->soldIndices, packet.soldIndices);

    MarketS2CUpdatePacket empty;
    EXPECT_EQ(BodyOf(empty), Body().u32(0).str("").u32(0).u32(0).u32(0).bytes);
    EXPECT_TRUE(ReadBack(empty)->soldIndices.empty());
}

}  // namespace
}  // namespace GAME
