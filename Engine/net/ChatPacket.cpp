#include "Engine/net/ChatPacket.h"

#include "Engine/net/NetPacketFields.h"
#include "Engine/net/NetPacketRegistry.h"

namespace GAME {

ChatPacket::ChatPacket() : NetPacket(PacketType::ChatPacket) {}
ChatPacket::~ChatPacket() = default;

NET_PACKET_FIELD_OPERATIONS(ChatPacket)

// The game installs what receiving a chat message means on its machines.
REGISTER_NET_PACKET(ChatPacket);

}  // namespace GAME
