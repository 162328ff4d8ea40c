#pragma once
// The packets a network interface owns, one per operation, built once and reused by every call;
// they are built in the order of the operations and destroyed in the reverse order.
#include "Engine/net/ChatPacket.h"
#include "Game/core/net/GameEngineOperations.h"
#include "Game/core/net/packets/GameBalancePackets.h"
#include "Game/core/net/packets/ItemPackets.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/GoldPartyBonusPackets.h"
#include "Game/core/players/PlayerPackets.h"

namespace GAME {

#define GAME_NETOP_PACKET(Operation, Kind, member, ...) Kind member;
struct NetworkInterfacePackets {
    GAME_NETWORK_OPERATIONS(GAME_NETOP_PACKET)
};
#undef GAME_NETOP_PACKET

}  // namespace GAME
