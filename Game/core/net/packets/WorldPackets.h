#pragma once
// Packets that set up and steer a networked game: world start, spawns, warps, position fixes,
// acknowledgements, teleports, respawns, loader states, party answers and messages.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/object/UniqueId.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"

namespace GAME {

class WorldInitPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(WorldInitPacket)
    float timeOfDay = 0.0f;  // hours of a 24-hour clock

    template <class V>
    void VisitFields(V& v) {
        v.Word(timeOfDay, "Time (24hr): ");
    }
};

// The player travels with its packet: after the id, when the sender filled them, the player's
// record name, the travel stones it found (four words each) and its unspent attribute points
// (its character file's, which no replication carries), then its replication data
// (Player::WriteReplicationData), which the receiver makes the player from. A body of the id alone
// is the bare form.
class SpawnPlayerPacket : public ObjectContainerPacket {
    GAME_PACKET_KIND_OPERATIONS(SpawnPlayerPacket)
    SmartObjectId player{this};
    std::string record;                     // empty: the bare form
    std::vector<UniqueId> foundStones;      // at the game's difficulty
    std::uint32_t attributePoints = 0;      // unspent
    std::vector<std::uint8_t> replication;  // read back by Player::ReadReplicationData

    template <class V>
    void VisitFields(V& v) {
        v.Object(player, "Player Object Id: ");
    }
};

class ServerSpawnCompletePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(ServerSpawnCompletePacket)

    template <class V>
    void VisitFields(V&) {}
};

class WarpEntityPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(WarpEntityPacket)
    WorldVec3 warpPoint;

    template <class V>
    void VisitFields(V& v) {
        v.Position(warpPoint, "Warp Point: ");
    }
};

class FrustumUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(FrustumUpdatePacket)
    int originatorHostId = 0;
    WorldVec3 originatorPosition;

    template <class V>
    void VisitFields(V& v) {
        v.Word(originatorHostId, "Originator Host ID: ");
        v.Position(originatorPosition, "Originator position: ");
    }
};

class UpdatePositionPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(UpdatePositionPacket)
    int originatorId = 0;
    unsigned int entityId = 0;
    WorldCoords placement;

    template <class V>
    void VisitFields(V& v) {
        v.Word(originatorId, "Originator ID: ");
        v.Word(entityId, "Entity ID: ");
        v.Placement(placement);
    }
};

// The description pairs each id with its position; the wire sends the two lists one by one.
class PlayerPositionUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(PlayerPositionUpdatePacket)
    std::vector<unsigned int> playerIds;
    std::vector<WorldVec3> playerPositions;

    template <class V>
    void VisitFields(V& v) {
        v.Words(playerIds);
        v.Positions(playerPositions);
        v.Describe([this](auto& d) {
            d.Heading("Player Positions: ", 0);
            for (std::size_t i = 0; i < playerIds.size() && i < playerPositions.size(); ++i) {
                d.Describe("Player ID: ", playerIds[i], 0);
                d.Describe("Player Position: ", playerPositions[i], 0);
            }
        });
    }
};

// Acknowledged and refused entities: one list of ids, under a heading of its kind.
template <PACKET_TYPE Type>
class EntityListPacket : public NetPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(EntityListPacket, NetPacket)
    std::vector<unsigned int> entityIds;

    template <class V>
    void VisitFields(V& v) {
        constexpr bool kAck = Type == PacketType::AckEntityPacket;
        v.Words(entityIds, {.heading = kAck ? "Acked Entities: " : "Nacked Entities: ",
                            .item = "Entity IDs: "});
    }
};

class AckEntityPacket : public EntityListPacket<PacketType::AckEntityPacket> {};
class NackEntityPacket : public EntityListPacket<PacketType::NackEntityPacket> {};

class StartTeleportPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(StartTeleportPacket)
    unsigned int playerId = 0;
    float x = 0.0f, y = 0.0f, z = 0.0f;

    template <class V>
    void VisitFields(V& v) {
        v.Word(playerId, "Player Id: ");
        v.Word(x, "x: ");
        v.Word(y, "y: ");
        v.Word(z, "z: ");
    }
};

class NRLoaderStatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(NRLoaderStatePacket)
    unsigned int playerId = 0;
    int state = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(playerId, "Player Id: ");
        v.Word(state, "State: ");
    }
};

class StartServerRespawnPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(StartServerRespawnPacket)
    unsigned int playerId = 0;
    WorldVec3 location;

    template <class V>
    void VisitFields(V& v) {
        v.Word(playerId, "Player Id: ");
        v.Position(location, "Location: ");
    }
};

// The flag travels between the two ids.
class PartyRequestResponsePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(PartyRequestResponsePacket)
    unsigned int recipient = 0;
    unsigned int sender = 0;
    bool accepted = false;

    template <class V>
    void VisitFields(V& v) {
        v.Word(recipient, "Recipient: ");
        v.Bool(accepted, "Accepted:  ");
        v.Word(sender, "Sender:    ");
    }
};

class RemoteMessagePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(RemoteMessagePacket)
    unsigned int receiver = 0;
    unsigned int optionalInsert = 0;  // a player whose name goes into the message
    bool asBubble = false;
    std::string textTag;

    template <class V>
    void VisitFields(V& v) {
        v.Word(receiver, "Receiver: ");
        v.Word(optionalInsert, "optionalInsert: ");
        v.Bool(asBubble, "AsBubble: ");
        v.Raw(textTag, "TextTag: ");
    }
};

class RemoteWMessagePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(RemoteWMessagePacket)
    unsigned int receiver = 0;
    bool asBubble = false;
    std::wstring text;

    template <class V>
    void VisitFields(V& v) {
        v.Word(receiver, "Receiver: ");
        v.Bool(asBubble, "AsBubble: ");
        v.String(text, "text: ");
    }
};

// The words are replaced, not appended, on reading.
class QuestMessagePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestMessagePacket)
    unsigned int sender = 0;
    unsigned int receiver = 0;
    std::vector<unsigned int> words;
    bool conditionSet = false;

    template <class V>
    void VisitFields(V& v) {
        v.Heading({"QuestMessage Data", 1});
        v.Word(sender, {"Sender:   ", 2});
        v.Word(receiver, {"Receiver: ", 2});
        v.Words(words, {.item = "Data: ", .indent = 2, .replace = true});
        v.Bool(conditionSet, {"Is Condition Set:", 2});
    }
};

}  // namespace GAME
