#include "Game/core/net/packets/CharacterActionPackets.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Game/characters/actions/CharacterActionNetwork.h"

namespace GAME {

unsigned int CharacterActionPacketBase::PrepareOutBuffer() {
    NetPacketOutBuffer out(this);
    Serialize(out);
    if (hasPreMove) {
        NetFieldWriter writer(out);
        VisitPreMove(writer);
    }
    return out.Done();
}

void CharacterActionPacketBase::CopyInbound(const unsigned char* data, int size) {
    NetPacketInBuffer in(GetHeader(), data, size);
    Deserialize(in);
    hasPreMove = false;
    if (in.Remaining() > 0 && !in.Failed()) {
        NetFieldReader reader(in);
        VisitPreMove(reader);
    }
}

GAME_ACTION_PACKET_KIND_DEFINITIONS(MoveToPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(WalkPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(AttackPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(DiePacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(PlayAnimationActionPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(SpawnActionPacket)
GAME_ACTION_PACKET_KIND_DEFINITIONS(RespawnPacket)

REGISTER_NET_PACKET(IdleActionPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(LongIdleActionPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(MoveToPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(WalkPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(PickUpItemPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(UseItemPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(AttackPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(TakeStunPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(ImmobilizePacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(TakeTrapPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(DiePacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(ChatActionPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(PlayAnimationActionPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(EngageNpcPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(SpawnActionPacket, ReceiveCharacterAction);
REGISTER_NET_PACKET(RespawnPacket, ReceiveCharacterAction);

}  // namespace GAME
