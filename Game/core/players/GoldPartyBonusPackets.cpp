#include "Game/core/players/GoldPartyBonusPackets.h"

#include "Engine/net/NetPacketBuffer.h"
#include "Engine/net/NetPacketDescriber.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

namespace {

void WriteBonusValues(NetPacketOutBuffer& out, const Bonus& bonus) {
    out.Write32(bonus.lifePoints);
    out.Write32(bonus.lifePercent);
    out.Write32(bonus.manaPoints);
    out.Write32(bonus.manaPercent);
    out.Write32(bonus.gold);
    out.Write32(bonus.skillPoints);
    out.Write32(bonus.attributePoints);
    out.Write32(bonus.experience);
    out.Write32(bonus.sourceId);
}

void ReadBonusValues(NetPacketInBuffer& in, Bonus& bonus) {
    in.Read32(bonus.lifePoints);
    in.Read32(bonus.lifePercent);
    in.Read32(bonus.manaPoints);
    in.Read32(bonus.manaPercent);
    in.Read32(bonus.gold);
    in.Read32(bonus.skillPoints);
    in.Read32(bonus.attributePoints);
    in.Read32(bonus.experience);
    in.Read32(bonus.sourceId);
}

void DescribeBonusValues(NetPacketDescriber& d, const Bonus& bonus) {
    d.Describe("Life Points: ", bonus.lifePoints, 0);
    d.Describe("Life Percent: ", bonus.lifePercent, 0);
    d.Describe("Mana Points: ", bonus.manaPoints, 0);
    d.Describe("Mana Percent: ", bonus.manaPercent, 0);
    d.Describe("Gold Points: ", static_cast<unsigned int>(bonus.gold), 0);
    d.Describe("Skill Points: ", static_cast<unsigned int>(bonus.skillPoints), 0);
    d.Describe("Attribute Points: ", static_cast<unsigned int>(bonus.attributePoints), 0);
    d.Describe("Exp Points: ", static_cast<unsigned int>(bonus.experience), 0);
}

// The three kinds of a player id and a number share their body.
template <class Packet>
unsigned int WriteIdAndNumber(Packet& packet, std::uint32_t id, int number) {
    NetPacketOutBuffer out(&packet);
    out.Write32(id);
    out.Write32(static_cast<std::int32_t>(number));
    return out.Done();
}

template <class Packet>
void ReadIdAndNumber(Packet& packet, const unsigned char* data, int size, std::uint32_t& id,
                     int& number) {
    NetPacketInBuffer in(packet.GetHeader(), data, size);
    in.Read32(id);
    std::int32_t value = 0;
    if (in.Read32(value))
        number = value;
}

template <class Packet>
std::string DescribeIdAndNumber(Packet& packet, bool flag, const char* idLabel,
                                const char* numberLabel, std::uint32_t id, int number) {
    NetPacketDescriber d(&packet, flag);
    d.Describe(idLabel, static_cast<unsigned int>(id), 0);
    d.Describe(numberLabel, number, 0);
    return d.GetDescription();
}

}  // namespace

// GiveGoldPacket
GiveGoldPacket::GiveGoldPacket() : NetPacket(PacketType::GiveGoldPacket) {}
GiveGoldPacket::~GiveGoldPacket() = default;
unsigned int GiveGoldPacket::PrepareOutBuffer() {
    return WriteIdAndNumber(*this, playerId, amount);
}
void GiveGoldPacket::CopyInbound(const unsigned char* data, int size) {
    ReadIdAndNumber(*this, data, size, playerId, amount);
}
std::string GiveGoldPacket::GetPacketDescription(bool flag) {
    return DescribeIdAndNumber(*this, flag, "PlayerID: ", "GoldAmount: ", playerId, amount);
}

// JoinPartyConfigCmdPacket
JoinPartyConfigCmdPacket::JoinPartyConfigCmdPacket()
    : NetPacket(PacketType::JoinPartyConfigCmdPacket) {}
JoinPartyConfigCmdPacket::~JoinPartyConfigCmdPacket() = default;
unsigned int JoinPartyConfigCmdPacket::PrepareOutBuffer() {
    return WriteIdAndNumber(*this, playerId, party);
}
void JoinPartyConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    ReadIdAndNumber(*this, data, size, playerId, party);
}
std::string JoinPartyConfigCmdPacket::GetPacketDescription(bool flag) {
    return DescribeIdAndNumber(*this, flag, "Joining Player: ", "Party: ", playerId, party);
}

// InvitePartyConfigCmdPacket
InvitePartyConfigCmdPacket::InvitePartyConfigCmdPacket()
    : NetPacket(PacketType::InvitePartyConfigCmdPacket) {}
InvitePartyConfigCmdPacket::~InvitePartyConfigCmdPacket() = default;
unsigned int InvitePartyConfigCmdPacket::PrepareOutBuffer() {
    return WriteIdAndNumber(*this, playerId, party);
}
void InvitePartyConfigCmdPacket::CopyInbound(const unsigned char* data, int size) {
    ReadIdAndNumber(*this, data, size, playerId, party);
}
std::string InvitePartyConfigCmdPacket::GetPacketDescription(bool flag) {
    return DescribeIdAndNumber(*this, flag, "Inviting Player: ", "Party: ", playerId, party);
}

// BonusToClientPacket
BonusToClientPacket::BonusToClientPacket() : NetPacket(PacketType::BonusToClientPacket) {}
BonusToClientPacket::~BonusToClientPacket() = default;
BonusToClientPacket& BonusToClientPacket::operator=(const BonusToClientPacket& other) {
    NetPacket::operator=(other);
    bonus.CopyValues(other.bonus);
    return *this;
}
unsigned int BonusToClientPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    WriteBonusValues(out, bonus);
    out.Write32(bonus.id);
    return out.Done();
}
void BonusToClientPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadBonusValues(in, bonus);
    in.Read32(bonus.id);
}
std::string BonusToClientPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    DescribeBonusValues(d, bonus);
    return d.GetDescription();
}

// BonusToServerPacket
BonusToServerPacket::BonusToServerPacket() : NetPacket(PacketType::BonusToServerPacket) {}
BonusToServerPacket::~BonusToServerPacket() = default;
BonusToServerPacket& BonusToServerPacket::operator=(const BonusToServerPacket& other) {
    NetPacket::operator=(other);
    bonus.CopyValues(other.bonus);
    where = other.where;
    activePlayer = other.activePlayer;
    return *this;
}
unsigned int BonusToServerPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    WriteBonusValues(out, bonus);
    out.Add(&where);
    out.Write32(activePlayer);
    return out.Done();
}
void BonusToServerPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadBonusValues(in, bonus);
    in.Remove(&where);
    in.Read32(activePlayer);
}
std::string BonusToServerPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    DescribeBonusValues(d, bonus);
    d.Describe("Active Player: ", static_cast<unsigned int>(activePlayer), 0);
    return d.GetDescription();
}

REGISTER_NET_PACKET(JoinPartyConfigCmdPacket);
REGISTER_NET_PACKET(InvitePartyConfigCmdPacket);
REGISTER_NET_PACKET(GiveGoldPacket);
REGISTER_NET_PACKET(BonusToClientPacket);
REGISTER_NET_PACKET(BonusToServerPacket);

}  // namespace GAME
