#include "Game/core/net/GameBalancePackets.h"

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

GameBalanceUpdatePacket::GameBalanceUpdatePacket()
    : NetPacket(PacketType::GameBalanceUpdatePacket) {}
GameBalanceUpdatePacket::~GameBalanceUpdatePacket() = default;
unsigned int GameBalanceUpdatePacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::int32_t>(gameBalanceLevel));
    return out.Done();
}
void GameBalanceUpdatePacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    std::int32_t level = gameBalanceLevel;
    if (in.Read32(level))
        gameBalanceLevel = level;
}
std::string GameBalanceUpdatePacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Game Balance Level: ", gameBalanceLevel, 0);
    return d.GetDescription();
}

template <PACKET_TYPE Type>
unsigned int QuestCommandGoPacket<Type>::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(characterId));
    out.Write32(static_cast<std::uint32_t>(targetId));
    out.Add(&targetPosition);
    out.Add(&allowInterruptions);
    return out.Done();
}
template <PACKET_TYPE Type>
void QuestCommandGoPacket<Type>::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(this->GetHeader(), data, size);
    ReadWord(in, characterId);
    ReadWord(in, targetId);
    in.Remove(&targetPosition);
    in.Remove(&allowInterruptions);
}
template <PACKET_TYPE Type>
std::string QuestCommandGoPacket<Type>::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Character Id: ", characterId, 0);
    d.Describe("Target Id: ", targetId, 0);
    d.Describe("Target Pos: ", targetPosition, 0);
    d.Describe("allow Interruptions: ", allowInterruptions, 0);
    return d.GetDescription();
}
template class QuestCommandGoPacket<PacketType::QuestCommandMovePacket>;
template class QuestCommandGoPacket<PacketType::QuestCommandWalkPacket>;

QuestCommandPlayAnimationPacket::QuestCommandPlayAnimationPacket()
    : NetPacket(PacketType::QuestCommandPlayAnimationPacket) {}
QuestCommandPlayAnimationPacket::~QuestCommandPlayAnimationPacket() = default;
unsigned int QuestCommandPlayAnimationPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(characterId));
    out.Write32(static_cast<std::uint32_t>(animation));
    out.Add(&looping);
    out.Add(&allowInterruptions);
    return out.Done();
}
void QuestCommandPlayAnimationPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, characterId);
    ReadWord(in, animation);
    in.Remove(&looping);
    in.Remove(&allowInterruptions);
}
std::string QuestCommandPlayAnimationPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Character Id: ", characterId, 0);
    d.Describe("Animation: ", animation, 0);
    d.Describe("Looping: ", looping, 0);
    d.Describe("allow Interruptions: ", allowInterruptions, 0);
    return d.GetDescription();
}

QuestCommandUseSkillPacket::QuestCommandUseSkillPacket()
    : NetPacket(PacketType::QuestCommandUseSkillPacket) {}
QuestCommandUseSkillPacket::~QuestCommandUseSkillPacket() = default;
unsigned int QuestCommandUseSkillPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(characterId));
    out.Write32(static_cast<std::uint32_t>(targetId));
    out.AddFileName(skillName);
    out.Add(&allowInterruptions);
    return out.Done();
}
void QuestCommandUseSkillPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, characterId);
    ReadWord(in, targetId);
    in.Remove(&skillName);
    in.Remove(&allowInterruptions);
}
std::string QuestCommandUseSkillPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Character Id: ", characterId, 0);
    d.Describe("Target Id: ", targetId, 0);
    d.Describe("Skill Name: ", skillName, 0);
    d.Describe("allow Interruptions: ", allowInterruptions, 0);
    return d.GetDescription();
}

QuestCommandLockFixedItemPacket::QuestCommandLockFixedItemPacket()
    : NetPacket(PacketType::QuestCommandLockFixedItemPacket) {}
QuestCommandLockFixedItemPacket::~QuestCommandLockFixedItemPacket() = default;
unsigned int QuestCommandLockFixedItemPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    out.Write32(static_cast<std::uint32_t>(objectId));
    out.Add(&locked);
    return out.Done();
}
void QuestCommandLockFixedItemPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadWord(in, objectId);
    in.Remove(&locked);
}
std::string QuestCommandLockFixedItemPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    d.Describe("Object Id: ", objectId, 0);
    d.Describe("Locked: ", locked, 0);
    return d.GetDescription();
}

REGISTER_NET_PACKET(GameBalanceUpdatePacket);
REGISTER_NET_PACKET(QuestCommandMovePacket);
REGISTER_NET_PACKET(QuestCommandWalkPacket);
REGISTER_NET_PACKET(QuestCommandPlayAnimationPacket);
REGISTER_NET_PACKET(QuestCommandUseSkillPacket);
REGISTER_NET_PACKET(QuestCommandLockFixedItemPacket);

}  // namespace GAME
