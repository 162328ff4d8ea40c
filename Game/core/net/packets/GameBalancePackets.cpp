#include "Game/core/net/packets/GameBalancePackets.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

GAME_PACKET_KIND_DEFINITIONS(GameBalanceUpdatePacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(QuestCommandPlayAnimationPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(QuestCommandUseSkillPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(QuestCommandLockFixedItemPacket, NetPacket)

REGISTER_NET_PACKET(GameBalanceUpdatePacket);
REGISTER_NET_PACKET(QuestCommandMovePacket);
REGISTER_NET_PACKET(QuestCommandWalkPacket);
REGISTER_NET_PACKET(QuestCommandPlayAnimationPacket);
REGISTER_NET_PACKET(QuestCommandUseSkillPacket);
REGISTER_NET_PACKET(QuestCommandLockFixedItemPacket);

}  // namespace GAME
