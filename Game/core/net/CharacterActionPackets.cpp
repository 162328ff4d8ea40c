#include "Game/core/net/CharacterActionPackets.h"

#include <cstring>

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
}  // namespace

// Kinds whose body is the character and nothing else, described under one label.
#define GAME_CHARACTER_ONLY_ACTION(Kind, Label)                   \
    Kind::Kind() : CharacterActionPacketBase(PacketType::Kind) {} \
    Kind::~Kind() = default;                                      \
    void Kind::Serialize(NetPacketOutBuffer& out) {               \
        out.Add(&character);                                      \
    }                                                             \
    void Kind::Deserialize(NetPacketInBuffer& in) {               \
        in.Remove(&character);                                    \
    }                                                             \
    std::string Kind::GetPacketDescription(bool flag) {           \
        NetPacketDescriber d(this, flag);                         \
        d.Describe(Label, character, 0);                          \
        return d.GetDescription();                                \
    }

GAME_CHARACTER_ONLY_ACTION(TakeStunPacket, "Parent ID: ")
GAME_CHARACTER_ONLY_ACTION(ImmobilizePacket, "Parent ID: ")
GAME_CHARACTER_ONLY_ACTION(TakeTrapPacket, "Parent ID: ")
GAME_CHARACTER_ONLY_ACTION(SpawnActionPacket, "Entity ID: ")
#undef GAME_CHARACTER_ONLY_ACTION

// Idle kinds: the position travels but is not described.
#define GAME_IDLE_ACTION(Kind)                                    \
    Kind::Kind() : CharacterActionPacketBase(PacketType::Kind) {} \
    Kind::~Kind() = default;                                      \
    void Kind::Serialize(NetPacketOutBuffer& out) {               \
        out.Add(&character);                                      \
        out.Add(&position);                                       \
    }                                                             \
    void Kind::Deserialize(NetPacketInBuffer& in) {               \
        in.Remove(&character);                                    \
        in.Remove(&position);                                     \
    }                                                             \
    std::string Kind::GetPacketDescription(bool flag) {           \
        NetPacketDescriber d(this, flag);                         \
        d.Describe("Entity ID: ", character, 0);                  \
        return d.GetDescription();                                \
    }

GAME_IDLE_ACTION(IdleActionPacket)
GAME_IDLE_ACTION(LongIdleActionPacket)
#undef GAME_IDLE_ACTION

// Item kinds: the item id and the character's position.
#define GAME_ITEM_ACTION(Kind)                                    \
    Kind::Kind() : CharacterActionPacketBase(PacketType::Kind) {} \
    Kind::~Kind() = default;                                      \
    void Kind::Serialize(NetPacketOutBuffer& out) {               \
        out.Add(&character);                                      \
        out.Write32(static_cast<std::uint32_t>(itemId));          \
        out.Add(&position);                                       \
    }                                                             \
    void Kind::Deserialize(NetPacketInBuffer& in) {               \
        in.Remove(&character);                                    \
        ReadWord(in, itemId);                                     \
        in.Remove(&position);                                     \
    }                                                             \
    std::string Kind::GetPacketDescription(bool flag) {           \
        NetPacketDescriber d(this, flag);                         \
        d.Describe("Entity ID: ", character, 0);                  \
        d.Describe("Item ID: ", itemId, 0);                       \
        return d.GetDescription();                                \
    }

GAME_ITEM_ACTION(PickUpItemPacket)
GAME_ITEM_ACTION(UseItemPacket)
#undef GAME_ITEM_ACTION

// Kinds that name one target.
#define GAME_TARGET_ACTION(Kind)                                  \
    Kind::Kind() : CharacterActionPacketBase(PacketType::Kind) {} \
    Kind::~Kind() = default;                                      \
    void Kind::Serialize(NetPacketOutBuffer& out) {               \
        out.Add(&character);                                      \
        out.Write32(static_cast<std::uint32_t>(targetId));        \
    }                                                             \
    void Kind::Deserialize(NetPacketInBuffer& in) {               \
        in.Remove(&character);                                    \
        ReadWord(in, targetId);                                   \
    }                                                             \
    std::string Kind::GetPacketDescription(bool flag) {           \
        NetPacketDescriber d(this, flag);                         \
        d.Describe("Entity ID: ", character, 0);                  \
        d.Describe("Target ID: ", targetId, 0);                   \
        return d.GetDescription();                                \
    }

GAME_TARGET_ACTION(ChatActionPacket)
GAME_TARGET_ACTION(EngageNpcPacket)
#undef GAME_TARGET_ACTION

// MoveToPacket
MoveToPacket::MoveToPacket() : CharacterActionPacketBase(PacketType::MoveToPacket) {}
MoveToPacket::~MoveToPacket() = default;
void MoveToPacket::Serialize(NetPacketOutBuffer& out) {
    out.Add(&character);
    out.Write32(static_cast<std::uint32_t>(targetId));
    out.Add(&startLocation);
    out.Add(&worldLocation);
    out.Add16Bit(&skillNumber);
    out.Write32(speed);
}
void MoveToPacket::Deserialize(NetPacketInBuffer& in) {
    in.Remove(&character);
    ReadWord(in, targetId);
    in.Remove(&startLocation);
    in.Remove(&worldLocation);
    in.Remove16Bit(&skillNumber);
    in.Read32(speed);
}
std::string MoveToPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Entity ID: ", character, 0);
    d.Describe("Target ID: ", targetId, 0);
    d.Describe("Start Location: ", startLocation, 0);
    d.Describe("World Location: ", worldLocation, 0);
    d.Describe("Skill Number: ", skillNumber, 0);
    d.Describe("Speed: ", speed, 0);
    return d.GetDescription();
}

// WalkPacket
WalkPacket::WalkPacket() : CharacterActionPacketBase(PacketType::WalkPacket) {}
WalkPacket::~WalkPacket() = default;
void WalkPacket::Serialize(NetPacketOutBuffer& out) {
    out.Add(&character);
    out.Write32(static_cast<std::uint32_t>(targetId));
    out.Add(&startLocation);
    out.Add(&worldLocation);
}
void WalkPacket::Deserialize(NetPacketInBuffer& in) {
    in.Remove(&character);
    ReadWord(in, targetId);
    in.Remove(&startLocation);
    in.Remove(&worldLocation);
}
std::string WalkPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Entity ID: ", character, 0);
    d.Describe("Target ID: ", targetId, 0);
    d.Describe("Start Location: ", startLocation, 0);
    d.Describe("World Location: ", worldLocation, 0);
    return d.GetDescription();
}

// AttackPacket
AttackPacket::AttackPacket() : CharacterActionPacketBase(PacketType::AttackPacket) {}
AttackPacket::~AttackPacket() = default;
void AttackPacket::Serialize(NetPacketOutBuffer& out) {
    out.Add(&character);
    out.Write32(static_cast<std::uint32_t>(defenderId));
    out.Add(&location);
    out.Add16Bit(&skillNumber);
    out.Write16(seed);
    out.Add(&attackerPosition);
}
void AttackPacket::Deserialize(NetPacketInBuffer& in) {
    in.Remove(&character);
    ReadWord(in, defenderId);
    in.Remove(&location);
    in.Remove16Bit(&skillNumber);
    std::uint16_t value = seed;
    if (in.Read16(value))
        seed = value;
    in.Remove(&attackerPosition);
}
std::string AttackPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Attacker ID: ", character, 0);
    d.Describe("Defender ID: ", defenderId, 0);
    d.Describe("Location: ", location, 0);
    d.Describe("Skill Number: ", skillNumber, 0);
    d.Describe("Seed: ", static_cast<int>(seed), 0);
    return d.GetDescription();
}

// DiePacket: the handler ids are appended on reading.
DiePacket::DiePacket() : CharacterActionPacketBase(PacketType::DiePacket) {}
DiePacket::~DiePacket() = default;
void DiePacket::Serialize(NetPacketOutBuffer& out) {
    out.Add(&character);
    out.AddIdList(deathHandlerIds);
}
void DiePacket::Deserialize(NetPacketInBuffer& in) {
    in.Remove(&character);
    in.RemoveIdList(&deathHandlerIds);
}
std::string DiePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Entity ID: ", character, 0);
    for (unsigned int id : deathHandlerIds)
        d.Describe("Death Handler Id: ", id, 0);
    return d.GetDescription();
}

// PlayAnimationActionPacket
PlayAnimationActionPacket::PlayAnimationActionPacket()
    : CharacterActionPacketBase(PacketType::PlayAnimationActionPacket) {}
PlayAnimationActionPacket::~PlayAnimationActionPacket() = default;
void PlayAnimationActionPacket::Serialize(NetPacketOutBuffer& out) {
    out.Add(&character);
    out.Write32(static_cast<std::int32_t>(animationType));
    char bytes[16] = {};
    const std::string& text = animationName.str();
    std::memcpy(bytes, text.data(), std::min<std::size_t>(text.size(), sizeof(bytes)));
    out.Write16Bytes(bytes);
    out.Write32(speedModifier);
    out.Add(&loop);
    out.Write32(static_cast<std::uint32_t>(iteration));
}
void PlayAnimationActionPacket::Deserialize(NetPacketInBuffer& in) {
    in.Remove(&character);
    std::int32_t type = animationType;
    if (in.Read32(type))
        animationType = type;
    char bytes[16] = {};
    if (in.Read16Bytes(bytes))
        animationName = Name::Create(std::string(bytes, strnlen(bytes, sizeof(bytes))));
    in.Read32(speedModifier);
    in.Remove(&loop);
    ReadWord(in, iteration);
}
std::string PlayAnimationActionPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Entity ID: ", character, 0);
    d.Describe("Animation Type: ", animationType, 0);
    d.Describe("Speed Modifier: ", speedModifier, 0);
    d.Describe("Loop: ", loop, 0);
    d.Describe("Iteration: ", iteration, 0);
    return d.GetDescription();
}

// RespawnPacket
RespawnPacket::RespawnPacket() : CharacterActionPacketBase(PacketType::RespawnPacket) {}
RespawnPacket::~RespawnPacket() = default;
void RespawnPacket::Serialize(NetPacketOutBuffer& out) {
    out.Add(&character);
    out.Add(&respawnCoords);
}
void RespawnPacket::Deserialize(NetPacketInBuffer& in) {
    in.Remove(&character);
    in.Remove(&respawnCoords);
}
std::string RespawnPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Entity ID: ", character, 0);
    d.Describe("RespawnCoords: ", respawnCoords, 0);
    return d.GetDescription();
}

REGISTER_NET_PACKET(IdleActionPacket);
REGISTER_NET_PACKET(LongIdleActionPacket);
REGISTER_NET_PACKET(MoveToPacket);
REGISTER_NET_PACKET(WalkPacket);
REGISTER_NET_PACKET(PickUpItemPacket);
REGISTER_NET_PACKET(UseItemPacket);
REGISTER_NET_PACKET(AttackPacket);
REGISTER_NET_PACKET(TakeStunPacket);
REGISTER_NET_PACKET(ImmobilizePacket);
REGISTER_NET_PACKET(TakeTrapPacket);
REGISTER_NET_PACKET(DiePacket);
REGISTER_NET_PACKET(ChatActionPacket);
REGISTER_NET_PACKET(PlayAnimationActionPacket);
REGISTER_NET_PACKET(EngageNpcPacket);
REGISTER_NET_PACKET(SpawnActionPacket);
REGISTER_NET_PACKET(RespawnPacket);

}  // namespace GAME
