#pragma once
// Sends each game-wide operation to the other machines: the call's arguments go into the packet
// this interface owns for the operation, which the connection manager writes out at once. What a
// server asks of the server, and what it tells its own player, runs on the server as well.
#include "Game/core/net/GameEngineNetworkInterface.h"

namespace GAME {

class NetPacket;
class GameEngineInboundInterface;

class GameEngineOutboundInterface : public GameEngineNetworkInterface {
public:
    GAME_NETWORK_OPERATIONS(GAME_NETOP_DECLARE_OVERRIDE)

private:
    static void Send(NetPacket& packet);
    // Sends a message to the machine of its receiver (a player id: host in the top four bits);
    // false when that is this machine.
    static bool SendToReceiver(std::uint32_t receiver, NetPacket& packet);
    // On a server: books its own player's trade step (TradeBook); false, logged, when refused.
    static bool VetOwnTradeStep(NetPacket& packet);
    // Sends a filled packet the way its operation's route says; runHere carries the operation
    // out on this machine's inbound interface when the route says it is (also) for this machine.
    template <OperationRoute route, class Kind, class RunHere>
    static void Deliver(Kind& packet, RunHere runHere);
    // Runs runHere on this machine's inbound interface as a request of this machine.
    template <class RunHere>
    static void RunOnThisMachine(RunHere runHere);
};

}  // namespace GAME
