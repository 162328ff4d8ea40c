#include "Game/core/players/PlayerPackets.h"

#include "Engine/Engine.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

namespace {

constexpr std::uint8_t kFlagMale = 0x01;
constexpr std::uint8_t kFlagLevelByte = 0x02;
constexpr std::uint8_t kFlagClassIndex = 0x04;
// Each status skill name takes at least its 32-bit length.
constexpr std::size_t kMinSkillNameSize = 4;

const NetLabel kRecordHeading{"Game Player", 1};

// A status skill is carried by its record name.
constexpr auto kSkillName = [](auto& v, std::string& skill) { v.String(skill); };

// The head of every record.
template <class V>
void VisitVitals(V& v, PlayerNetHeartbeatInfo& info, NetLabel idLabel) {
    v.Word(info.playerId, idLabel);
    v.Word(info.life, {"Health: ", 2});
    v.Word(info.maxLife, {"Maximum Health: ", 2});
    v.Word(info.mana, {"Mana: ", 2});
    v.Word(info.maxMana, {"Maximum Mana: ", 2});
    v.Word(info.partyId, {"Party ID: ", 2});
}

// What the single-player forms carry after the vitals (and, for basic info, name and sex), all
// at full width.
template <class V>
void VisitFullTail(V& v, PlayerNetHeartbeatInfo& info, NetLabel levelLabel) {
    v.Word(info.level, levelLabel);
    v.Raw(info.classTag);
    v.Position(info.position);
    v.List32(info.statusSkills, kMinSkillNameSize, kSkillName);
}

std::uint8_t PackedFlags(const PlayerNetHeartbeatInfo& info) {
    std::uint8_t flags = 0;
    // Only levels that survive the trip in one byte go as a byte.
    if (info.level >= 0 && info.level < 256)
        flags |= kFlagLevelByte;
    if (ClassTagToIndex(info.classTag) != 255)
        flags |= kFlagClassIndex;
    return flags;
}

std::size_t StatusSkillsToSend(const PlayerNetHeartbeatInfo& info) {
    const std::size_t count = info.statusSkills.size();
    if (count <= kMaxStatusSkillsPerListRecord)
        return count;
    gEngine->Log(1, "Player %u has %zu status skills; sending the first %zu", info.playerId, count,
                 kMaxStatusSkillsPerListRecord);
    return kMaxStatusSkillsPerListRecord;
}

std::size_t PlayersToSend(std::size_t size, const char* kind) {
    if (size <= kMaxPlayersPerListPacket)
        return size;
    gEngine->Log(1, "%s: %zu players do not fit; sending the first %zu", kind, size,
                 kMaxPlayersPerListPacket);
    return kMaxPlayersPerListPacket;
}

// The packed tail of a list record, after its flags: level, class, position, status skills.
template <class V>
void VisitPackedTail(V& v, PlayerNetHeartbeatInfo& info, std::uint8_t flags, NetLabel levelLabel) {
    if (flags & kFlagLevelByte)
        v.LowByte(info.level, levelLabel);
    else
        v.Word(info.level, levelLabel);
    if (flags & kFlagClassIndex)
        v.ClassIndex(info.classTag);
    else
        v.Raw(info.classTag);
    v.Position(info.position);
    std::size_t count = info.statusSkills.size();
    if constexpr (V::kWrites)
        count = StatusSkillsToSend(info);
    v.List8(info.statusSkills, count, kSkillName);
}

template <class V>
void VisitHeartbeatRecord(V& v, PlayerNetHeartbeatInfo& info) {
    v.Heading(kRecordHeading);
    VisitVitals(v, info, {"Player: ", 2});
    std::uint8_t flags = PackedFlags(info);
    v.Byte(flags);
    VisitPackedTail(v, info, flags, {"Level: ", 2});
}

// The description names the player, sex and level before the id and vitals that the wire sends
// first; the sex and level that follow on the wire are then not described again.
template <class V>
void VisitBasicHead(V& v, PlayerNetBasicInfo& info) {
    if constexpr (V::kDescribes) {
        v.String(info.playerName, {"Player: ", 2});
        v.Bool(info.isMale, {"Is Male: ", 2});
        v.Word(info.level, {"Level: ", 2});
        VisitVitals(v, info, {"Player ID: ", 2});
    } else {
        VisitVitals(v, info, {});
        v.String(info.playerName);
    }
}

template <class V>
void VisitBasicRecord(V& v, PlayerNetBasicInfo& info) {
    v.Heading(kRecordHeading);
    VisitBasicHead(v, info);
    std::uint8_t flags = PackedFlags(info);
    if (info.isMale)
        flags |= kFlagMale;
    v.Byte(flags);
    if constexpr (V::kReads)
        info.isMale = (flags & kFlagMale) != 0;
    VisitPackedTail(v, info, flags, {});
}

}  // namespace

template <class V>
void SinglePlayerHeartbeatPacket::VisitFields(V& v) {
    v.Heading(kRecordHeading);
    VisitVitals(v, info, {"Player: ", 2});
    VisitFullTail(v, info, {"Level: ", 2});
}

template <class V>
void SinglePlayerBasicInfoPacket::VisitFields(V& v) {
    VisitBasicHead(v, info);
    v.Bool(info.isMale);
    VisitFullTail(v, info, {});
}

template <class V>
void AllPlayersHeartbeatPacket::VisitFields(V& v) {
    std::size_t count = infos.size();
    if constexpr (V::kWrites)
        count = PlayersToSend(count, "AllPlayersHeartbeatPacket");
    v.List8(infos, count,
            [](auto& w, PlayerNetHeartbeatInfo& info) { VisitHeartbeatRecord(w, info); });
}

template <class V>
void AllPlayersBasicInfoPacket::VisitFields(V& v) {
    std::size_t count = infos.size();
    if constexpr (V::kWrites)
        count = PlayersToSend(count, "AllPlayersBasicInfoPacket");
    v.List8(infos, count, [](auto& w, PlayerNetBasicInfo& info) { VisitBasicRecord(w, info); });
}

GAME_PACKET_KIND_DEFINITIONS(SinglePlayerHeartbeatPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(SinglePlayerBasicInfoPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(AllPlayersHeartbeatPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(AllPlayersBasicInfoPacket, NetPacket)

REGISTER_NET_PACKET(AllPlayersHeartbeatPacket);
REGISTER_NET_PACKET(SinglePlayerHeartbeatPacket);
REGISTER_NET_PACKET(AllPlayersBasicInfoPacket);
REGISTER_NET_PACKET(SinglePlayerBasicInfoPacket);

}  // namespace GAME
