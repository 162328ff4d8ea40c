#include "Game/core/net/packets/CharacterActionPackets.h"

#include <gtest/gtest.h>

#include "Engine/net/NetPacketRegistry.h"
#include "GamePacketsTestSupport.h"

namespace GAME {
namespace {

using test::Body;
using test::BodyOf;
using test::ReadBack;

TEST(CharacterActionPackets, EveryKindRegistersUnderItsTypeId) {
    const char* names[] = {"IdleActionPacket",
                           "LongIdleActionPacket",
                           "MoveToPacket",
                           "WalkPacket",
                           "PickUpItemPacket",
                           "UseItemPacket",
                           "AttackPacket",
                           "TakeStunPacket",
                           "ImmobilizePacket",
                           "TakeTrapPacket",
                           "DiePacket",
                           "ChatActionPacket",
                           "PlayAnimationActionPacket",
                           "EngageNpcPacket",
                           "SpawnActionPacket",
                           "RespawnPacket"};
    PACKET_TYPE type = 63;
    for (const char* name : names) {
        const NetPacketKind* kind = NetPacketRegistry::Global().Find(type);
        ASSERT_NE(kind, nullptr) << name;
        EXPECT_EQ(kind->name, name);
        ++type;
    }
}

template <class Kind>
void ExpectCharacterOnly(const char* description) {
    Kind packet;
    packet.character = 21u;
    EXPECT_EQ(BodyOf(packet), Body().u32(21).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), description);
    EXPECT_EQ(ReadBack(packet)->character.GetId(), 21u);
}

TEST(CharacterActionPackets, StunImmobilizeTrapAndSpawnHoldOnlyTheCharacter) {
    ExpectCharacterOnly<TakeStunPacket>("Parent ID: 21\n");
    ExpectCharacterOnly<ImmobilizePacket>("Parent ID: 21\n");
    ExpectCharacterOnly<TakeTrapPacket>("Parent ID: 21\n");
    ExpectCharacterOnly<SpawnActionPacket>("Entity ID: 21\n");
}

TEST(CharacterActionPackets, IdlePositionsTravelButAreNotDescribed) {
    IdleActionPacket idle;
    idle.character = 1u;
    idle.position.local = Vec3(1, 2, 3);
    EXPECT_EQ(BodyOf(idle), Body().u32(1).vec3(1, 2, 3).bytes);
    EXPECT_EQ(idle.GetPacketDescription(false), "Entity ID: 1\n");
    LongIdleActionPacket longIdle;
    longIdle.position.local = Vec3(4, 5, 6);
    EXPECT_EQ(ReadBack(longIdle)->position.local, Vec3(4, 5, 6));
}

TEST(CharacterActionPackets, MoveToSendsTheSkillNumberIn16Bits) {
    MoveToPacket packet;
    packet.character = 1u;
    packet.targetId = 2;
    packet.startLocation.local = Vec3(1, 1, 1);
    packet.worldLocation.local = Vec3(2, 2, 2);
    packet.skillNumber = 65535;
    packet.speed = 1.5f;
    EXPECT_EQ(BodyOf(packet),
              Body().u32(1).u32(2).vec3(1, 1, 1).vec3(2, 2, 2).u16(65535).f32(1.5f).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Entity ID: 1\nTarget ID: 2\nStart Location: (1, 1, 1)\nWorld Location: (2, 2, 2)\n"
              "Skill Number: 65535\nSpeed: 1.5\n");
    EXPECT_EQ(ReadBack(packet)->skillNumber, 65535u);

    WalkPacket walk;
    walk.character = 1u;
    walk.targetId = 2;
    EXPECT_EQ(BodyOf(walk), Body().u32(1).u32(2).vec3(0, 0, 0).vec3(0, 0, 0).bytes);
    EXPECT_EQ(walk.GetPacketDescription(false),
              "Entity ID: 1\nTarget ID: 2\nStart Location: (0, 0, 0)\nWorld Location: (0, 0, 0)\n");
}

TEST(CharacterActionPackets, PickUpAndUseNameTheItem) {
    PickUpItemPacket pickUp;
    pickUp.character = 1u;
    pickUp.itemId = 8;
    pickUp.position.local = Vec3(1, 0, 1);
    EXPECT_EQ(BodyOf(pickUp), Body().u32(1).u32(8).vec3(1, 0, 1).bytes);
    EXPECT_EQ(pickUp.GetPacketDescription(false), "Entity ID: 1\nItem ID: 8\n");
    UseItemPacket use;
    use.itemId = 9;
    EXPECT_EQ(ReadBack(use)->itemId, 9u);
}

TEST(CharacterActionPackets, AttackSeedTravelsAsTwoBytes) {
    AttackPacket packet;
    packet.character = 1u;
    packet.defenderId = 2;
    packet.location.local = Vec3(1, 2, 3);
    packet.skillNumber = 7;
    packet.seed = 65535;
    packet.attackerPosition.local = Vec3(4, 5, 6);
    EXPECT_EQ(BodyOf(packet),
              Body().u32(1).u32(2).vec3(1, 2, 3).u16(7).u8(0xFF).u8(0xFF).vec3(4, 5, 6).bytes);
    EXPECT_EQ(
        packet.GetPacketDescription(false),
        "Attacker ID: 1\nDefender ID: 2\nLocation: (1, 2, 3)\nSkill Number: 7\nSeed: 65535\n");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->seed, 65535);
    EXPECT_EQ(copy->attackerPosition.local, Vec3(4, 5, 6));
}

TEST(CharacterActionPackets, DieListsItsDeathHandlers) {
    DiePacket packet;
    packet.character = 3u;
    EXPECT_EQ(BodyOf(packet), Body().u32(3).u32(0).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false), "Entity ID: 3\n");
    packet.deathHandlerIds = {4, 5};
    EXPECT_EQ(BodyOf(packet), Body().u32(3).u32(2).u32(4).u32(5).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Entity ID: 3\nDeath Handler Id: 4\nDeath Handler Id: 5\n");
    EXPECT_EQ(ReadBack(packet)->deathHandlerIds, packet.deathHandlerIds);
}

TEST(CharacterActionPackets, ChatAndEngageNameATarget) {
    ChatActionPacket chat;
    chat.character = 1u;
    chat.targetId = 2;
    EXPECT_EQ(BodyOf(chat), Body().u32(1).u32(2).bytes);
    EXPECT_EQ(chat.GetPacketDescription(false), "Entity ID: 1\nTarget ID: 2\n");
    EngageNpcPacket engage;
    engage.targetId = 6;
    EXPECT_EQ(ReadBack(engage)->targetId, 6u);
}

TEST(CharacterActionPackets, PlayAnimationCarriesTheNameInSixteenBytes) {
    PlayAnimationActionPacket packet;
    packet.character = 1u;
    packet.animationType = 3;
    packet.speedModifier = 2.0f;
    packet.loop = true;
    packet.iteration = 4;
    Body expected;
    expected.u32(1).i32(3);
    for (int i = 0; i < 16; ++i)
        expected.u8(0);
    expected.f32(2.0f).b(true).u32(4);
    EXPECT_EQ(BodyOf(packet), expected.bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Entity ID: 1\nAnimation Type: 3\nSpeed Modifier: 2\nLoop: true\nIteration: 4\n");
    packet.animationName = Name::Create("Attack1");
    auto copy = ReadBack(packet);
    EXPECT_EQ(copy->animationName, Name::Create("Attack1"));
    EXPECT_EQ(copy->iteration, 4u);
}

TEST(CharacterActionPackets, RespawnCarriesItsPlacement) {
    RespawnPacket packet;
    packet.character = 1u;
    packet.respawnCoords.coords.origin = Vec3(5, 6, 7);
    EXPECT_EQ(BodyOf(packet), Body().u32(1).coords(5, 6, 7).bytes);
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Entity ID: 1\nRespawnCoords: (5, 6, 7) facing (0, 0, 1)\n");
}

TEST(CharacterActionPackets, CopiesKeepTheCharacter) {
    AttackPacket original;
    original.character = 12u;
    original.seed = 9;
    AttackPacket copy(original);
    EXPECT_EQ(copy.character.GetId(), 12u);
    AttackPacket assigned;
    assigned = original;
    EXPECT_EQ(assigned.character.GetId(), 12u);
    EXPECT_EQ(assigned.seed, 9);
}

}  // namespace
}  // namespace GAME
