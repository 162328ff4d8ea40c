#pragma once
// One packet per character action, so that every machine runs the same action on its copy of the
// character. Each body starts with the acting character.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/text/Name.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"

namespace GAME {

// Base of the kinds: the acting character, bound to the packet, and the move that must run
// before the action. A pre-move follows the kind's body (true, then the position, target id,
// skill id and float); a body without one ends with the kind's fields, so the kinds' layouts
// stay as they are.
class CharacterActionPacketBase : public CharacterActionPacket {
public:
    explicit CharacterActionPacketBase(PACKET_TYPE type) : CharacterActionPacket(type) {}
    CharacterActionPacketBase(const CharacterActionPacketBase& other)
        : CharacterActionPacket(other), character(this) {
        CopyFrom(other);
    }
    CharacterActionPacketBase& operator=(const CharacterActionPacketBase& other) {
        CharacterActionPacket::operator=(other);
        CopyFrom(other);
        return *this;
    }

    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;

    template <class V>
    void VisitPreMove(V& v) {
        v.Bool(hasPreMove);
        if (!hasPreMove)
            return;
        v.Position(preMovePosition);
        v.Word(preMoveTargetId);
        v.Word(preMoveSkillId);
        v.Word(preMoveValue);
    }

    SmartObjectId character{this};
    bool hasPreMove = false;
    WorldVec3 preMovePosition;
    unsigned int preMoveTargetId = 0;
    unsigned int preMoveSkillId = 0;
    float preMoveValue = 0.0f;

private:
    void CopyFrom(const CharacterActionPacketBase& other) {
        character = other.character;
        hasPreMove = other.hasPreMove;
        preMovePosition = other.preMovePosition;
        preMoveTargetId = other.preMoveTargetId;
        preMoveSkillId = other.preMoveSkillId;
        preMoveValue = other.preMoveValue;
    }
};

// Kinds of one layout share a template. The idle kinds, and the item kinds, carry the
// character's position without describing it.
template <PACKET_TYPE Type>
class PositionActionPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_LAYOUT_OPERATIONS(PositionActionPacket)
    WorldVec3 position;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
        v.Position(position);
    }
};

class IdleActionPacket : public PositionActionPacket<PacketType::IdleActionPacket> {};
class LongIdleActionPacket : public PositionActionPacket<PacketType::LongIdleActionPacket> {};

// A move and a walk begin alike: the character, its target and the two ends of its route.
template <class V, class Route>
void VisitRoute(V& v, Route& route) {
    v.Object(route.character, "Entity ID: ");
    v.Word(route.targetId, "Target ID: ");
    v.Position(route.startLocation, "Start Location: ");
    v.Position(route.worldLocation, "World Location: ");
}

class MoveToPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(MoveToPacket)
    unsigned int targetId = 0;
    WorldVec3 startLocation;
    WorldVec3 worldLocation;
    unsigned int skillNumber = 0;
    float speed = 0.0f;

    template <class V>
    void VisitFields(V& v) {
        VisitRoute(v, *this);
        v.Half(skillNumber, "Skill Number: ");
        v.Word(speed, "Speed: ");
    }
};

class WalkPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(WalkPacket)
    unsigned int targetId = 0;
    WorldVec3 startLocation;
    WorldVec3 worldLocation;

    template <class V>
    void VisitFields(V& v) {
        VisitRoute(v, *this);
    }
};

template <PACKET_TYPE Type>
class ItemActionPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_LAYOUT_OPERATIONS(ItemActionPacket)
    unsigned int itemId = 0;
    WorldVec3 position;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
        v.Word(itemId, "Item ID: ");
        v.Position(position);
    }
};

class PickUpItemPacket : public ItemActionPacket<PacketType::PickUpItemPacket> {};
class UseItemPacket : public ItemActionPacket<PacketType::UseItemPacket> {};

class AttackPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(AttackPacket)
    unsigned int defenderId = 0;
    WorldVec3 location;
    unsigned int skillNumber = 0;
    unsigned short seed = 0;
    WorldVec3 attackerPosition;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Attacker ID: ");
        v.Word(defenderId, "Defender ID: ");
        v.Position(location, "Location: ");
        v.Half(skillNumber, "Skill Number: ");
        v.Half(seed, "Seed: ");
        v.Position(attackerPosition);
    }
};

// Kinds that carry the character and nothing else.
template <PACKET_TYPE Type>
class StatusActionPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_LAYOUT_OPERATIONS(StatusActionPacket)

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Parent ID: ");
    }
};

class TakeStunPacket : public StatusActionPacket<PacketType::TakeStunPacket> {};
class ImmobilizePacket : public StatusActionPacket<PacketType::ImmobilizePacket> {};
class TakeTrapPacket : public StatusActionPacket<PacketType::TakeTrapPacket> {};

// The handler ids are appended on reading.
class DiePacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(DiePacket)
    std::vector<unsigned int> deathHandlerIds;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
        v.Words(deathHandlerIds, {.item = "Death Handler Id: "});
    }
};

// Kinds that name one target.
template <PACKET_TYPE Type>
class TargetActionPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_LAYOUT_OPERATIONS(TargetActionPacket)
    unsigned int targetId = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
        v.Word(targetId, "Target ID: ");
    }
};

class ChatActionPacket : public TargetActionPacket<PacketType::ChatActionPacket> {};
class EngageNpcPacket : public TargetActionPacket<PacketType::EngageNpcPacket> {};

// The animation name travels as 16 bytes: its text, cut or padded with zero bytes.
class PlayAnimationActionPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(PlayAnimationActionPacket)
    int animationType = 0;
    Name animationName;       // the empty name unless set
    NetNameText unknownName;  // a name the receiver did not know (animationName then empty)
    float speedModifier = 0.0f;
    bool loop = false;
    unsigned int iteration = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
        v.Word(animationType, "Animation Type: ");
        v.Name16(animationName, unknownName);
        v.Word(speedModifier, "Speed Modifier: ");
        v.Bool(loop, "Loop: ");
        v.Word(iteration, "Iteration: ");
    }
};

class SpawnActionPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(SpawnActionPacket)

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
    }
};

class RespawnPacket : public CharacterActionPacketBase {
    GAME_ACTION_PACKET_KIND_OPERATIONS(RespawnPacket)
    WorldCoords respawnCoords;

    template <class V>
    void VisitFields(V& v) {
        v.Object(character, "Entity ID: ");
        v.Placement(respawnCoords, "RespawnCoords: ");
    }
};

}  // namespace GAME
