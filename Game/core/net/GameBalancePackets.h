#pragma once
// The game balance level sent to the clients, and the commands a server quest gives characters
// and fixed items on every machine.
#include <string>

#include "Engine/net/NetPacket.h"
#include "Engine/world/Region.h"
#include "Game/core/net/GameEnginePacketKind.h"

namespace GAME {

class GameBalanceUpdatePacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(GameBalanceUpdatePacket)
    int gameBalanceLevel = 0;
};

// Move to and walk to carry the same fields.
template <PACKET_TYPE Type>
class QuestCommandGoPacket : public NetPacket {
public:
    QuestCommandGoPacket() : NetPacket(Type) {}
    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    unsigned int characterId = 0;
    unsigned int targetId = 0;
    WorldVec3 targetPosition;
    bool allowInterruptions = false;
};

class QuestCommandMovePacket : public QuestCommandGoPacket<PacketType::QuestCommandMovePacket> {};
class QuestCommandWalkPacket : public QuestCommandGoPacket<PacketType::QuestCommandWalkPacket> {};

class QuestCommandPlayAnimationPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestCommandPlayAnimationPacket)
    unsigned int characterId = 0;
    unsigned int animation = 0;
    bool looping = false;
    bool allowInterruptions = false;
};

class QuestCommandUseSkillPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestCommandUseSkillPacket)
    unsigned int characterId = 0;
    unsigned int targetId = 0;
    std::string skillName;
    bool allowInterruptions = false;
};

class QuestCommandLockFixedItemPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(QuestCommandLockFixedItemPacket)
    unsigned int objectId = 0;
    bool locked = false;
};

}  // namespace GAME
