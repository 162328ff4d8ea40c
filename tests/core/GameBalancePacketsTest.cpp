#include "Game/core/net/packets/GameBalancePackets.h"

#include <gtest/gtest.h>

#include "Engine/net/NetPacketRegistry.h"
#include "GamePacketsTestSupport.h"

namespace GAME {
namespace {

using test::Body;
using test::BodyOf;
using test::ReadBack;

TEST(GameBalancePackets, EveryKindRegistersUnderItsTypeId) {
    const std::pair<PACKET_TYPE, const char*> kinds[] = {
        {56, "QuestCommandMovePacket"},          {57, "QuestCommandWalkPacket"},
        {58, "QuestCommandPlayAnimationPacket"}, {59, "QuestCommandUseSkillPacket"},
        {60, "QuestCommandLockFixedItemPacket"}, {61, "GameBalanceUpdatePacket"},
    };
    for (const auto& [type, name] : kinds) {
        const NetPacketKind* kind = NetPacketRegistry::Global().Find(type);
        ASSERT_NE(kind, nullptr) << name;
        EXPECT_EQ(kind->name, name);
    }
}

TEST(GameBalancePackets, ANegativeBalanceLevelTravelsUnchanged) {
    GameBalanceUpdatePacket packet;
    packet.gameBalanceLevel = -7;
    EXPECT_EQ(BodyOf(packet), Body().i32(-7).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), "Game Balance Level: -7\n");
    EXPECT_EQ(ReadBack(packet)->gameBalanceLevel, -7);
}

TEST(GameBalancePackets, MoveAndWalkCommands) {
    QuestCommandMovePacket move;
    move.characterId = 1;
    move.targetId = 2;
    move.targetPosition.local = Vec3(3, 4, 5);
    move.allowInterruptions = true;
    EXPECT_EQ(BodyOf(move), Body().u32(1).u32(2).vec3(3, 4, 5).b(true).bytes);
    EXPECT_EQ(move.GetPacketDescription(false),
              "Character Id: 1\nTarget Id: 2\nTarget Pos: (3, 4, 5)\nallow Interruptions: true\n");
    QuestCommandWalkPacket walk;
    walk.characterId = 9;
    EXPECT_EQ(walk.GetType(), 57);
    EXPECT_EQ(ReadBack(walk)->characterId, 9u);
}

TEST(GameBalancePackets, PlayAnimationSendsLoopingBeforeInterruptions) {
    QuestCommandPlayAnimationPacket packet;
    packet.characterId = 1;
    packet.animation = 6;
    packet.looping = true;
    packet.allowInterruptions = false;
    EXPECT_EQ(BodyOf(packet), Body().u32(1).u32(6).b(true).b(false).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Character Id: 1\nAnimation: 6\nLooping: true\nallow Interruptions: false\n");
    auto copy = ReadBack(packet);
    EXPECT_TRUE(copy->looping);
    EXPECT_FALSE(copy->allowInterruptions);
}

TEST(GameBalancePackets, UseSkillAndLock) {
    QuestCommandUseSkillPacket skill;
    skill.characterId = 1;
    skill.targetId = 2;
    skill.allowInterruptions = true;
    EXPECT_EQ(BodyOf(skill), Body().u32(1).u32(2).str("").b(true).bytes);
    skill.skillName = "Records/Skills/Fire.dbr";
    EXPECT_EQ(skill.GetPacketDescription(false),
              "Character Id: 1\nTarget Id: 2\nSkill Name: Records/Skills/Fire.dbr\nallow "
              "Interruptions: true\n");
    EXPECT_EQ(ReadBack(skill)->skillName, "Records/Skills/Fire.dbr");

    QuestCommandLockFixedItemPacket lock;
    lock.objectId = 44;
    lock.locked = true;
    EXPECT_EQ(BodyOf(lock), Body().u32(44).b(true).bytes);
    EXPECT_EQ(lock.GetPacketDescription(false), "Object Id: 44\nLocked: true\n");
}

}  // namespace
}  // namespace GAME
