#pragma once
// Packets that set up and steer a networked game: world start, spawns, warps, position fixes,
// acknowledgements, teleports, respawns, loader states, party answers and messages.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/world/Region.h"
#include "Game/core/net/GameEnginePacketKind.h"

namespace GAME {

class WorldInitPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(WorldInitPacket)
    float timeOfDay = 0.0f;  // hours of a 24-hour clock
};

class SpawnPlayerPacket : public ObjectContainerPacket {
    GAME_PACKET_KIND_OPERATIONS(SpawnPlayerPacket)
    SmartObjectId player{this};
};

class ServerSpawnCompletePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(ServerSpawnCompletePacket)
};

class WarpEntityPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(WarpEntityPacket)
    WorldVec3 warpPoint;
};

class FrustumUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(FrustumUpdatePacket)
    int originatorHostId = 0;
    WorldVec3 originatorPosition;
};

class UpdatePositionPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(UpdatePositionPacket)
    int originatorId = 0;
    unsigned int entityId = 0;
    WorldCoords placement;
};

class PlayerPositionUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(PlayerPositionUpdatePacket)
    std::vector<unsigned int> playerIds;
    std::vector<WorldVec3> playerPositions;
};

class AckEntityPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(AckEntityPacket)
    std::vector<unsigned int> entityIds;
};

class NackEntityPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(NackEntityPacket)
    std::vector<unsigned int> entityIds;
};

class StartTeleportPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(StartTeleportPacket)
    unsigned int playerId = 0;
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

class NRLoaderStatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(NRLoaderStatePacket)
    unsigned int playerId = 0;
    int state = 0;
};

class StartServerRespawnPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(StartServerRespawnPacket)
    unsigned int playerId = 0;
    WorldVec3 location;
};

class PartyRequestResponsePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(PartyRequestResponsePacket)
    unsigned int recipient = 0;
    unsigned int sender = 0;
    bool accepted = false;
};

class RemoteMessagePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(RemoteMessagePacket)
    unsigned int receiver = 0;
    unsigned int optionalInsert = 0;  // a player whose name goes into the message
    bool asBubble = false;
    std::string textTag;
};

class RemoteWMessagePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(RemoteWMessagePacket)
    unsigned int receiver = 0;
    bool asBubble = false;
    std::wstring text;
};

class QuestMessagePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestMessagePacket)
    unsigned int sender = 0;
    unsigned int receiver = 0;
    std::vector<unsigned int> words;
    bool conditionSet = false;
};

}  // namespace GAME
