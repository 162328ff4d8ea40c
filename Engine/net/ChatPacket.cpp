#include "Engine/net/ChatPacket.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/fields/NetPacketFields.h"

namespace GAME {

ChatPacket::ChatPacket() : NetPacket(PacketType::ChatPacket) {}
ChatPacket::~ChatPacket() = default;

NET_PACKET_FIELD_OPERATIONS(ChatPacket)

// The game installs what receiving a chat message means on its machines.
REGISTER_NET_PACKET(ChatPacket);

}  // namespace GAME
