#include "Game/core/players/PlayerPackets.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/NetPacketBuffer.h"
#include "Engine/net/NetPacketDescriber.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

namespace {

constexpr std::uint8_t kFlagMale = 0x01;
constexpr std::uint8_t kFlagLevelByte = 0x02;
constexpr std::uint8_t kFlagClassIndex = 0x04;

void WriteVitals(NetPacketOutBuffer& out, const PlayerNetHeartbeatInfo& info) {
    out.Write32(info.playerId);
    out.Write32(info.life);
    out.Write32(info.maxLife);
    out.Write32(info.mana);
    out.Write32(info.maxMana);
    out.Write32(static_cast<std::int32_t>(info.partyId));
}

void ReadVitals(NetPacketInBuffer& in, PlayerNetHeartbeatInfo& info) {
    in.Read32(info.playerId);
    in.Read32(info.life);
    in.Read32(info.maxLife);
    in.Read32(info.mana);
    in.Read32(info.maxMana);
    std::int32_t party = 0;
    if (in.Read32(party))
        info.partyId = party;
}

void WriteFullSkills(NetPacketOutBuffer& out, const std::vector<std::string>& skills) {
    out.Write32(static_cast<std::uint32_t>(skills.size()));
    for (const auto& skill : skills)
        out.AddFileName(skill);
}

void ReadFullSkills(NetPacketInBuffer& in, std::vector<std::string>& skills) {
    std::uint32_t count = 0;
    // Each name takes at least its 32-bit length.
    if (!in.RemoveCount(count, 4))
        return;
    skills.assign(count, std::string());
    for (auto& skill : skills)
        if (!in.Remove(&skill))
            return;
}

// The packed tail of a list record: flags, level, class, position and status skills.
std::uint8_t PackedFlags(const PlayerNetHeartbeatInfo& info) {
    std::uint8_t flags = 0;
    // Only levels that survive the trip in one byte go as a byte.
    if (info.level >= 0 && info.level < 256)
        flags |= kFlagLevelByte;
    if (ClassTagToIndex(info.classTag) != 255)
        flags |= kFlagClassIndex;
    return flags;
}

void WritePackedTail(NetPacketOutBuffer& out, const PlayerNetHeartbeatInfo& info,
                     std::uint8_t flags) {
    if (flags & kFlagLevelByte)
        out.Write8(static_cast<std::uint8_t>(info.level & 0xFF));
    else
        out.Write32(static_cast<std::int32_t>(info.level));
    if (flags & kFlagClassIndex)
        out.Write8(ClassTagToIndex(info.classTag));
    else
        out.AddRaw(info.classTag);
    out.Add(&info.position);

    std::size_t count = info.statusSkills.size();
    if (count > kMaxStatusSkillsPerListRecord) {
        gEngine->Log(1, "Player %u has %zu status skills; sending the first %zu", info.playerId,
                     count, kMaxStatusSkillsPerListRecord);
        count = kMaxStatusSkillsPerListRecord;
    }
    out.Write8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i)
        out.AddFileName(info.statusSkills[i]);
}

void ReadPackedTail(NetPacketInBuffer& in, PlayerNetHeartbeatInfo& info, std::uint8_t flags) {
    if (flags & kFlagLevelByte) {
        std::uint8_t level = 0;
        if (in.Read8(level))
            info.level = level;
    } else {
        std::int32_t level = 0;
        if (in.Read32(level))
            info.level = level;
    }
    if (flags & kFlagClassIndex) {
        std::uint8_t index = 0;
        if (in.Read8(index))
            info.classTag = ClassIndexToTag(index);
    } else {
        in.RemoveRaw(&info.classTag);
    }
    in.Remove(&info.position);
    std::uint8_t count = 0;
    if (!in.Read8(count))
        return;
    info.statusSkills.assign(count, std::string());
    for (auto& skill : info.statusSkills)
        if (!in.Remove(&skill))
            return;
}

std::size_t ListCount(std::size_t size, const char* kind) {
    if (size <= kMaxPlayersPerListPacket)
        return size;
    gEngine->Log(1, "%s: %zu players do not fit; sending the first %zu", kind, size,
                 kMaxPlayersPerListPacket);
    return kMaxPlayersPerListPacket;
}

// What both single-player forms carry after the vitals (and, for basic info, name and sex).
void WriteSingleTail(NetPacketOutBuffer& out, const PlayerNetHeartbeatInfo& info) {
    out.Write32(static_cast<std::int32_t>(info.level));
    out.AddRaw(info.classTag);
    out.Add(&info.position);
    WriteFullSkills(out, info.statusSkills);
}

void ReadSingleTail(NetPacketInBuffer& in, PlayerNetHeartbeatInfo& info) {
    std::int32_t level = 0;
    if (in.Read32(level))
        info.level = level;
    in.RemoveRaw(&info.classTag);
    in.Remove(&info.position);
    ReadFullSkills(in, info.statusSkills);
}

void DescribeVitals(NetPacketDescriber& d, const PlayerNetHeartbeatInfo& info) {
    d.Describe("Health: ", info.life, 2);
    d.Describe("Maximum Health: ", info.maxLife, 2);
    d.Describe("Mana: ", info.mana, 2);
    d.Describe("Maximum Mana: ", info.maxMana, 2);
    d.Describe("Party ID: ", info.partyId, 2);
}

void DescribeHeartbeat(NetPacketDescriber& d, const PlayerNetHeartbeatInfo& info) {
    d.Heading("Game Player", 1);
    d.Describe("Player: ", static_cast<unsigned int>(info.playerId), 2);
    DescribeVitals(d, info);
    d.Describe("Level: ", info.level, 2);
}

void DescribeBasicInfo(NetPacketDescriber& d, const PlayerNetBasicInfo& info) {
    d.Describe("Player: ", info.playerName, 2);
    d.Describe("Is Male: ", info.isMale, 2);
    d.Describe("Level: ", info.level, 2);
    d.Describe("Player ID: ", static_cast<unsigned int>(info.playerId), 2);
    DescribeVitals(d, info);
}

}  // namespace

// SinglePlayerHeartbeatPacket
SinglePlayerHeartbeatPacket::SinglePlayerHeartbeatPacket()
    : NetPacket(PacketType::SinglePlayerHeartbeatPacket) {}
SinglePlayerHeartbeatPacket::~SinglePlayerHeartbeatPacket() = default;

unsigned int SinglePlayerHeartbeatPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    WriteVitals(out, info);
    WriteSingleTail(out, info);
    return out.Done();
}

void SinglePlayerHeartbeatPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadVitals(in, info);
    ReadSingleTail(in, info);
}

std::string SinglePlayerHeartbeatPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    DescribeHeartbeat(d, info);
    return d.GetDescription();
}

// SinglePlayerBasicInfoPacket
SinglePlayerBasicInfoPacket::SinglePlayerBasicInfoPacket()
    : NetPacket(PacketType::SinglePlayerBasicInfoPacket) {}
SinglePlayerBasicInfoPacket::~SinglePlayerBasicInfoPacket() = default;

unsigned int SinglePlayerBasicInfoPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    WriteVitals(out, info);
    out.Add(info.playerName);
    out.Add(&info.isMale);
    WriteSingleTail(out, info);
    return out.Done();
}

void SinglePlayerBasicInfoPacket::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    ReadVitals(in, info);
    in.Remove(&info.playerName);
    in.Remove(&info.isMale);
    ReadSingleTail(in, info);
}

std::string SinglePlayerBasicInfoPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    DescribeBasicInfo(d, info);
    return d.GetDescription();
}

// AllPlayersHeartbeatPacket
AllPlayersHeartbeatPacket::AllPlayersHeartbeatPacket()
    : NetPacket(PacketType::AllPlayersHeartbeatPacket) {}
AllPlayersHeartbeatPacket::~AllPlayersHeartbeatPacket() = default;

unsigned int AllPlayersHeartbeatPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    const std::size_t count = ListCount(infos.size(), "AllPlayersHeartbeatPacket");
    out.Write8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const PlayerNetHeartbeatInfo& info = infos[i];
        WriteVitals(out, info);
        const std::uint8_t flags = PackedFlags(info);
        out.Write8(flags);
        WritePackedTail(out, info, flags);
    }
    return out.Done();
}

void AllPlayersHeartbeatPacket::CopyInbound(const unsigned char* data, int size) {
    // A packet that is read again starts from an empty list.
    infos.clear();
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint8_t count = 0;
    if (!in.Read8(count))
        return;
    for (int i = 0; i < count && !in.Failed(); ++i) {
        PlayerNetHeartbeatInfo info;
        ReadVitals(in, info);
        std::uint8_t flags = 0;
        in.Read8(flags);
        ReadPackedTail(in, info, flags);
        if (!in.Failed())
            infos.push_back(std::move(info));
    }
}

std::string AllPlayersHeartbeatPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    for (const auto& info : infos)
        DescribeHeartbeat(d, info);
    return d.GetDescription();
}

// AllPlayersBasicInfoPacket
AllPlayersBasicInfoPacket::AllPlayersBasicInfoPacket()
    : NetPacket(PacketType::AllPlayersBasicInfoPacket) {}
AllPlayersBasicInfoPacket::~AllPlayersBasicInfoPacket() = default;

unsigned int AllPlayersBasicInfoPacket::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    const std::size_t count = ListCount(infos.size(), "AllPlayersBasicInfoPacket");
    out.Write8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const PlayerNetBasicInfo& info = infos[i];
        WriteVitals(out, info);
        out.Add(info.playerName);
        std::uint8_t flags = PackedFlags(info);
        if (info.isMale)
            flags |= kFlagMale;
        out.Write8(flags);
        WritePackedTail(out, info, flags);
    }
    return out.Done();
}

void AllPlayersBasicInfoPacket::CopyInbound(const unsigned char* data, int size) {
    infos.clear();
    NetPacketInBuffer in(GetHeader(), data, size);
    std::uint8_t count = 0;
    if (!in.Read8(count))
        return;
    for (int i = 0; i < count && !in.Failed(); ++i) {
        PlayerNetBasicInfo info;
        ReadVitals(in, info);
        in.Remove(&info.playerName);
        std::uint8_t flags = 0;
        in.Read8(flags);
        info.isMale = (flags & kFlagMale) != 0;
        ReadPackedTail(in, info, flags);
        if (!in.Failed())
            infos.push_back(std::move(info));
    }
}

std::string AllPlayersBasicInfoPacket::GetPacketDescription(bool flag) {
    NetPacketDescriber d(this, flag);
    for (const auto& info : infos) {
        d.Heading("Game Player", 1);
        DescribeBasicInfo(d, info);
    }
    return d.GetDescription();
}

REGISTER_NET_PACKET(AllPlayersHeartbeatPacket);
REGISTER_NET_PACKET(SinglePlayerHeartbeatPacket);
REGISTER_NET_PACKET(AllPlayersBasicInfoPacket);
REGISTER_NET_PACKET(SinglePlayerBasicInfoPacket);

}  // namespace GAME
