#pragma once
// Heartbeat and basic-info packets of the players: one record from a client to the server, the
// list of every player from the server to the clients. The list forms pack counts, levels and
// class tags into single bytes. The field lists (VisitFields) are in PlayerPackets.cpp: their
// layouts depend on flags and capped counts.
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"
#include "Game/core/players/PlayerNetInfo.h"

namespace GAME {

class SinglePlayerHeartbeatPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(SinglePlayerHeartbeatPacket)
    PlayerNetHeartbeatInfo info;

    template <class V>
    void VisitFields(V& v);
};

class SinglePlayerBasicInfoPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(SinglePlayerBasicInfoPacket)
    PlayerNetBasicInfo info;

    template <class V>
    void VisitFields(V& v);
};

class AllPlayersHeartbeatPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(AllPlayersHeartbeatPacket)
    std::vector<PlayerNetHeartbeatInfo> infos;

    template <class V>
    void VisitFields(V& v);
};

class AllPlayersBasicInfoPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(AllPlayersBasicInfoPacket)
    std::vector<PlayerNetBasicInfo> infos;

    template <class V>
    void VisitFields(V& v);
};

// The most records, and status skills per record, that a list packet carries: their counts
// travel as single bytes.
inline constexpr std::size_t kMaxPlayersPerListPacket = 255;
inline constexpr std::size_t kMaxStatusSkillsPerListRecord = 255;

}  // namespace GAME
