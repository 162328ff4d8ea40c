// What the server makes of a client's fixed-item commands: the server decides every state, so a
// client's state change becomes a use request for the client's own player standing at the item.
#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

namespace {
// How far from an item a player may stand and still use it (as far as it may pick things up).
constexpr float kUseReach = 10.0f;

Player* PlayerOfHost(int host) {
    const PlayerManagerServer* players =
        gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr;
    if (!players)
        return nullptr;
    for (const std::uint32_t id : players->GetPlayers())
        if (HostOfPlayer(id) == host)
            return Singleton<ObjectManager>::Get().GetObject<Player>(id);
    return nullptr;
}
}  // namespace

bool FixedItemWithinUseReach(const Character& user, const FixedItem& item) {
    return item.IsInWorld() && user.GetPosition().DistanceTo(item.GetPosition()) <= kUseReach;
}

bool FixedItemStateChangeConfigCmd::AcceptFromClient(int sourceHost) const {
    auto* item = Singleton<ObjectManager>::Get().GetObject<FixedItem>(GetObjectId());
    Player* player = PlayerOfHost(sourceHost);
    const bool use = item && player && player->IsAlive() && FixedItemWithinUseReach(*player, *item);
    NetFaultLog::Get().Report(
        1, sourceHost, NetFault::Refused, PacketType::FixedItemStateChangeConfigCmdPacket,
        "Net: state %u of fixed item %u from host %d is the server's to "
        "decide: %s",
        state, GetObjectId(), sourceHost, use ? "taken as a use by its player" : "refused");
    if (use)
        item->RequestToUse(player->GetObjectId());
    return false;
}

}  // namespace GAME
