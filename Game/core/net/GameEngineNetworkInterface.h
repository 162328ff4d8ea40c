#pragma once
// Every game-wide operation that must reach the other machines, as one call (the operations are
// the rows of GameEngineOperations.h). The outbound implementation fills the packet it owns for
// the operation and sends it; the inbound one carries the operation out on this machine. Both own
// one packet of each operation's kind.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/core/net/GameEngineOperations.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

struct WorldVec3;
struct WorldCoords;
struct PlayerNetHeartbeatInfo;
struct PlayerNetBasicInfo;
class Bonus;
struct NetworkInterfacePackets;

using MarketItemStatus = int;

class GameEngineNetworkInterface {
public:
    GameEngineNetworkInterface();
    virtual ~GameEngineNetworkInterface();
    GameEngineNetworkInterface(const GameEngineNetworkInterface& other);
    GameEngineNetworkInterface& operator=(const GameEngineNetworkInterface& other);

    // One pure virtual per operation, in the order of the table.
    GAME_NETWORK_OPERATIONS(GAME_NETOP_DECLARE_PURE)

    // The packets this interface owns (one per kind, reused by every call).
    NetworkInterfacePackets& GetPackets() { return *packets; }
    const NetworkInterfacePackets& GetPackets() const { return *packets; }

protected:
    std::unique_ptr<NetworkInterfacePackets> packets;
};

}  // namespace GAME
