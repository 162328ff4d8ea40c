#pragma once
// The game balance level sent to the clients, and the commands a server quest gives characters
// and fixed items on every machine.
#include <string>

#include "Engine/net/NetPacket.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"

namespace GAME {

class GameBalanceUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(GameBalanceUpdatePacket)
    int gameBalanceLevel = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(gameBalanceLevel, "Game Balance Level: ");
    }
};

// Move to and walk to carry the same fields.
template <PACKET_TYPE Type>
class QuestCommandGoPacket : public NetPacket {
    GAME_PACKET_LAYOUT_OPERATIONS(QuestCommandGoPacket, NetPacket)

    unsigned int characterId = 0;
    unsigned int targetId = 0;
    WorldVec3 targetPosition;
    bool allowInterruptions = false;

    template <class V>
    void VisitFields(V& v) {
        v.Word(characterId, "Character Id: ");
        v.Word(targetId, "Target Id: ");
        v.Position(targetPosition, "Target Pos: ");
        v.Bool(allowInterruptions, "allow Interruptions: ");
    }
};

class QuestCommandMovePacket : public QuestCommandGoPacket<PacketType::QuestCommandMovePacket> {};
class QuestCommandWalkPacket : public QuestCommandGoPacket<PacketType::QuestCommandWalkPacket> {};

class QuestCommandPlayAnimationPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestCommandPlayAnimationPacket)
    unsigned int characterId = 0;
    unsigned int animation = 0;
    bool looping = false;
    bool allowInterruptions = false;

    template <class V>
    void VisitFields(V& v) {
        v.Word(characterId, "Character Id: ");
        v.Word(animation, "Animation: ");
        v.Bool(looping, "Looping: ");
        v.Bool(allowInterruptions, "allow Interruptions: ");
    }
};

class QuestCommandUseSkillPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestCommandUseSkillPacket)
    unsigned int characterId = 0;
    unsigned int targetId = 0;
    std::string skillName;
    bool allowInterruptions = false;

    template <class V>
    void VisitFields(V& v) {
        v.Word(characterId, "Character Id: ");
        v.Word(targetId, "Target Id: ");
        v.String(skillName, "Skill Name: ");
        v.Bool(allowInterruptions, "allow Interruptions: ");
    }
};

class QuestCommandLockFixedItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestCommandLockFixedItemPacket)
    unsigned int objectId = 0;
    bool locked = false;

    template <class V>
    void VisitFields(V& v) {
        v.Word(objectId, "Object Id: ");
        v.Bool(locked, "Locked: ");
    }
};

}  // namespace GAME
