#include "Game/core/players/GoldPartyBonusPackets.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

GAME_PACKET_KIND_DEFINITIONS(GiveGoldPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(JoinPartyConfigCmdPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(InvitePartyConfigCmdPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(BonusToClientPacket, NetPacket)
GAME_PACKET_KIND_DEFINITIONS(BonusToServerPacket, NetPacket)

BonusToClientPacket& BonusToClientPacket::operator=(const BonusToClientPacket& other) {
    NetPacket::operator=(other);
    bonus.CopyValues(other.bonus);
    return *this;
}

BonusToServerPacket& BonusToServerPacket::operator=(const BonusToServerPacket& other) {
    NetPacket::operator=(other);
    bonus.CopyValues(other.bonus);
    where = other.where;
    activePlayer = other.activePlayer;
    return *this;
}

REGISTER_NET_PACKET(JoinPartyConfigCmdPacket);
REGISTER_NET_PACKET(InvitePartyConfigCmdPacket);
REGISTER_NET_PACKET(GiveGoldPacket);
REGISTER_NET_PACKET(BonusToClientPacket);
REGISTER_NET_PACKET(BonusToServerPacket);

}  // namespace GAME
