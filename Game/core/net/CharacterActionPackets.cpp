#include "Game/core/net/CharacterActionPackets.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

GAME_ACTION_PACKET_KIND_DEFINITIONS(MoveToPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(WalkPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(AttackPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(DiePacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(PlayAnimationActionPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(SpawnActionPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(RespawnPacket)

REGISTER_NET_PACKET(IdleActionPacket);
REGISTER_NET_PACKET(LongIdleActionPacket);
REGISTER_NET_PACKET(MoveToPacket);
REGISTER_NET_PACKET(WalkPacket);
REGISTER_NET_PACKET(PickUpItemPacket);
REGISTER_NET_PACKET(UseItemPacket);
REGISTER_NET_PACKET(AttackPacket);
REGISTER_NET_PACKET(TakeStunPacket);
REGISTER_NET_PACKET(ImmobilizePacket);
REGISTER_NET_PACKET(TakeTrapPacket);
REGISTER_NET_PACKET(DiePacket);
REGISTER_NET_PACKET(ChatActionPacket);
REGISTER_NET_PACKET(PlayAnimationActionPacket);
REGISTER_NET_PACKET(EngageNpcPacket);
REGISTER_NET_PACKET(SpawnActionPacket);
REGISTER_NET_PACKET(RespawnPacket);

}  // namespace GAME
