#include "Game/core/net/packets/WorldPackets.h"

#include <gtest/gtest.h>

#include "Engine/net/NetPacketRegistry.h"
#include "GamePacketsTestSupport.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::Body;
using test::BodyOf;
using test::ReadBack;

TEST(WorldPackets, EveryKindRegistersUnderItsTypeId) {
    const std::pair<PACKET_TYPE, const char*> kinds[] = {
        {17, "QuestMessagePacket"},
        {20, "FrustumUpdatePacket"},
        {25, "WorldInitPacket"},
        {26, "RemoteMessagePacket"},
        {27, "RemoteWMessagePacket"},
        {28, "PlayerPositionUpdatePacket"},
        {29, "PartyRequestResponsePacket"},
        {30, "SpawnPlayerPacket"},
        {34, "ServerSpawnCompletePacket"},
        {35, "AckEntityPacket"},
        {36, "NackEntityPacket"},
        {37, "WarpEntityPacket"},
        {46, "StartTeleportPacket"},
        {47, "NRLoaderStatePacket"},
        {48, "StartServerRespawnPacket"},
        {106, "UpdatePositionPacket"},
    };
    for (const auto& [type, name] : kinds) {
        const NetPacketKind* kind = NetPacketRegistry::Global().Find(type);
        ASSERT_NE(kind, nullptr) << name;
        EXPECT_EQ(kind->name, name);
        EXPECT_EQ(NetPacketRegistry::Global().Create(type)->GetType(), type);
    }
}

TEST(WorldPackets, WorldInitCarriesTheTimeOfDay) {
    WorldInitPacket packet;
    packet.timeOfDay = 13.5f;
    EXPECT_EQ(BodyOf(packet), Body().f32(13.5f).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), "Time (24hr): 13.5\n");
    EXPECT_EQ(ReadBack(packet)->timeOfDay, 13.5f);
}

TEST(WorldPackets, SpawnPlayerLogsAndMarksThePlayerForReplication) {
    test::TestMachine tm;
    SpawnPlayerPacket packet;
    EXPECT_EQ(packet.GetPacketClass(), 2);
    packet.player = 255u;
    EXPECT_EQ(BodyOf(packet), Body().u32(255).bytes);
    EXPECT_TRUE(packet.player.IsMarkedForReplication());
    EXPECT_EQ(tm.CountLog("Replicating entity 255 (0xff) in SpawnPlayerPacket"), 1);
    EXPECT_EQ(packet.GetPacketDescription(false), "Player Object Id: 255\n");
    EXPECT_EQ(ReadBack(packet)->player.GetId(), 255u);
}

TEST(WorldPackets, ServerSpawnCompleteHasAnEmptyBody) {
    ServerSpawnCompletePacket packet;
    EXPECT_TRUE(BodyOf(packet).empty());
    EXPECT_EQ(packet.GetPacketDescription(false), "");
    ReadBack(packet);
}

TEST(WorldPackets, WarpAndFrustumCarryPositions) {
    WarpEntityPacket warp;
    warp.warpPoint.local = Vec3(1, 2, 3);
    EXPECT_EQ(BodyOf(warp), Body().vec3(1, 2, 3).bytes);
    EXPECT_EQ(warp.GetPacketDescription(false), "Warp Point: (1, 2, 3)\n");
    EXPECT_EQ(ReadBack(warp)->warpPoint.local, Vec3(1, 2, 3));

    FrustumUpdatePacket frustum;
    frustum.originatorHostId = -2;
    frustum.originatorPosition.local = Vec3(4, 5, 6);
    EXPECT_EQ(BodyOf(frustum), Body().i32(-2).vec3(4, 5, 6).bytes);
    EXPECT_EQ(frustum.GetPacketDescription(false),
              "Originator Host ID: -2\nOriginator position: (4, 5, 6)\n");
    EXPECT_EQ(ReadBack(frustum)->originatorHostId, -2);
}

TEST(WorldPackets, UpdatePositionDescribesNoPlacement) {
    UpdatePositionPacket packet;
    packet.originatorId = 3;
    packet.entityId = 258;
    packet.placement.coords.origin = Vec3(7, 8, 9);
    EXPECT_EQ(BodyOf(packet), Body().i32(3).u32(258).coords(7, 8, 9).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), "Originator ID: 3\nEntity ID: 258\n");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->entityId, 258u);
    EXPECT_EQ(copy->placement.coords.origin, Vec3(7, 8, 9));
}

TEST(WorldPackets, PlayerPositionsWriteBothListsAndDescribePairs) {
    PlayerPositionUpdatePacket packet;
    packet.playerIds = {1, 2, 3};
    packet.playerPositions = {WorldVec3(nullptr, Vec3(1, 1, 1)), WorldVec3(nullptr, Vec3(2, 2, 2))};
    EXPECT_EQ(BodyOf(packet),
              Body().u32(3).u32(1).u32(2).u32(3).u32(2).vec3(1, 1, 1).vec3(2, 2, 2).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Player Positions: \nPlayer ID: 1\nPlayer Position: (1, 1, 1)\nPlayer ID: 2\n"
              "Player Position: (2, 2, 2)\n");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->playerIds, packet.playerIds);
    EXPECT_EQ(copy->playerPositions.size(), 2u);
}

TEST(WorldPackets, AckAndNackListEntities) {
    AckEntityPacket ack;
    ack.entityIds = {9, 10};
    EXPECT_EQ(BodyOf(ack), Body().u32(2).u32(9).u32(10).bytes);
    EXPECT_EQ(ack.GetPacketDescription(false), "Acked Entities: \nEntity IDs: 9\nEntity IDs: 10\n");
    NackEntityPacket nack;
    EXPECT_EQ(BodyOf(nack), Body().u32(0).bytes);
    EXPECT_EQ(nack.GetPacketDescription(false), "Nacked Entities: \n");
    // Reading appends to what the packet already holds.
    AckEntityPacket target;
    target.entityIds = {1};
    const auto body = BodyOf(ack);
    target.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_EQ(target.entityIds, (std::vector<unsigned int>{1, 9, 10}));
}

TEST(WorldPackets, TeleportLoaderAndRespawnPackets) {
    StartTeleportPacket teleport;
    teleport.playerId = 0x10000001;
    teleport.x = 1.0f;
    teleport.y = -2.0f;
    teleport.z = 0.5f;
    EXPECT_EQ(BodyOf(teleport), Body().u32(0x10000001).f32(1).f32(-2).f32(0.5f).bytes);
    EXPECT_EQ(teleport.GetPacketDescription(false), "Player Id: 268435457\nx: 1\ny: -2\nz: 0.5\n");
    EXPECT_EQ(ReadBack(teleport)->y, -2.0f);

    NRLoaderStatePacket loader;
    loader.playerId = 4;
    loader.state = -1;
    EXPECT_EQ(BodyOf(loader), Body().u32(4).i32(-1).bytes);
    EXPECT_EQ(loader.GetPacketDescription(false), "Player Id: 4\nState: -1\n");
    EXPECT_EQ(ReadBack(loader)->state, -1);

    StartServerRespawnPacket respawn;
    respawn.playerId = 5;
    respawn.location.local = Vec3(1, 0, 2);
    EXPECT_EQ(BodyOf(respawn), Body().u32(5).vec3(1, 0, 2).bytes);
    EXPECT_EQ(respawn.GetPacketDescription(false), "Player Id: 5\nLocation: (1, 0, 2)\n");
}

TEST(WorldPackets, PartyResponseCarriesTheFlagBetweenTheIds) {
    PartyRequestResponsePacket packet;
    packet.recipient = 7;
    packet.sender = 8;
    packet.accepted = true;
    EXPECT_EQ(BodyOf(packet), Body().u32(7).b(true).u32(8).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), "Recipient: 7\nAccepted:  true\nSender:    8\n");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->recipient, 7u);
    EXPECT_EQ(copy->sender, 8u);
    EXPECT_TRUE(copy->accepted);
}

TEST(WorldPackets, RemoteMessagesCarryTagsAndTexts) {
    RemoteMessagePacket message;
    message.receiver = 1;
    message.optionalInsert = 2;
    message.asBubble = true;
    message.textTag = "tagHello";
    EXPECT_EQ(BodyOf(message), Body().u32(1).u32(2).b(true).raw("tagHello").bytes);
    EXPECT_EQ(message.GetPacketDescription(false),
              "Receiver: 1\noptionalInsert: 2\nAsBubble: true\nTextTag: tagHello\n");
    EXPECT_EQ(ReadBack(message)->textTag, "tagHello");

    RemoteWMessagePacket wide;
    wide.receiver = 3;
    wide.text = L"Hi";
    EXPECT_EQ(BodyOf(wide), Body().u32(3).b(false).wstr(L"Hi").bytes);
    EXPECT_EQ(wide.GetPacketDescription(false), "Receiver: 3\nAsBubble: false\ntext: Hi\n");
    EXPECT_EQ(ReadBack(wide)->text, L"Hi");
}

TEST(WorldPackets, QuestMessageReplacesItsWords) {
    QuestMessagePacket packet;
    packet.sender = 1;
    packet.receiver = 2;
    packet.words = {5, 6};
    packet.conditionSet = true;
    EXPECT_EQ(BodyOf(packet), Body().u32(1).u32(2).u32(2).u32(5).u32(6).b(true).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "    QuestMessage Data\n        Sender:   1\n        Receiver: 2\n        Data: 5\n"
              "        Data: 6\n        Is Condition Set:true\n");

    QuestMessagePacket empty;
    EXPECT_EQ(BodyOf(empty), Body().u32(0).u32(0).u32(0).b(false).bytes);
    const auto body = BodyOf(empty);
    QuestMessagePacket target;
    target.words = {9, 9, 9};
    target.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_TRUE(target.words.empty());
}

TEST(WorldPackets, ACopyIsIndependent) {
    auto original = std::make_unique<QuestMessagePacket>();
    original->words = {1, 2};
    QuestMessagePacket copy(*original);
    original.reset();
    EXPECT_EQ(copy.words, (std::vector<unsigned int>{1, 2}));
}

TEST(WorldPackets, AShortBodyIsRejectedWithoutReadingPastIt) {
    QuestMessagePacket packet;
    const auto body = Body().u32(1).u32(2).u32(1000).u32(5).bytes;  // claims 1000 words
    packet.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_FALSE(packet.IsInboundValid());
    EXPECT_TRUE(packet.words.empty());
}

}  // namespace
}  // namespace GAME
