#include "Game/core/net/CharacterActionPackets.h"

#include "Engine/net/NetPacketFields.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

GAME_ACTION_PACKET_KIND_DEFINITIONS(MoveToPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(WalkPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(AttackPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(DiePacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(PlayAnimationActionPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(SpawnActionPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(RespawnPacket)

GAME_ACTION_PACKET_LAYOUT_DEFINITIONS(PositionActionPacket)
template class PositionActionPacket<PacketType::IdleActionPacket>;
template class PositionActionPacket<PacketType::LongIdleActionPacket>;

GAME_ACTION_PACKET_LAYOUT_DEFINITIONS(ItemActionPacket)
template class ItemActionPacket<PacketType::PickUpItemPacket>;
template class ItemActionPacket<PacketType::UseItemPacket>;

GAME_ACTION_PACKET_LAYOUT_DEFINITIONS(StatusActionPacket)
template class StatusActionPacket<PacketType::TakeStunPacket>;
template class StatusActionPacket<PacketType::ImmobilizePacket>;
template class StatusActionPacket<PacketType::TakeTrapPacket>;

GAME_ACTION_PACKET_LAYOUT_DEFINITIONS(TargetActionPacket)
template class TargetActionPacket<PacketType::ChatActionPacket>;
template class TargetActionPacket<PacketType::EngageNpcPacket>;

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
