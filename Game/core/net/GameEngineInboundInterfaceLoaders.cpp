// Region-loader progress and server respawns as they arrive from the other machines.
#include <cmath>

#include "Engine/Engine.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/net/GameEngineInboundInterface.h"

namespace GAME {

void GameEngineInboundInterface::HandleNRLoaderStateChange(std::uint32_t player, int state) {
    GameEngine* root = gGameEngine;
    if (!root)
        return;
    if (FromRemoteClient()) {
        // A client reports only its own player's loading, and only a state that exists.
        if (RefusedUnlessOwner(player, "HandleNRLoaderStateChange"))
            return;
        if (!IsValidNRLoaderState(state)) {
            Refuse("HandleNRLoaderStateChange", player);
            return;
        }
        root->CtoS_HandleNRLoaderStateChangeInbound(player, static_cast<NRLoaderState>(state));
        return;
    }
    if (!IsValidNRLoaderState(state)) {
        gEngine->Log(1, "GameEngineInboundInterface: loader state %d of player %u dropped", state,
                     player);
        return;
    }
    if (gEngine->IsServer())
        root->CtoS_HandleNRLoaderStateChangeInbound(player, static_cast<NRLoaderState>(state));
    else
        root->StoC_HandleNRLoaderStateChangeInbound(player, static_cast<NRLoaderState>(state));
}

void GameEngineInboundInterface::CtoS_StartServerRespawn(std::uint32_t player,
                                                         const WorldVec3& where) {
    GameEngine* root = gGameEngine;
    if (!root)
        return;
    if (!gEngine->IsServer()) {
        gEngine->Log(1,
                     "GameEngineInboundInterface: CtoS_StartServerRespawn of player %u is for a "
                     "server; dropped",
                     player);
        return;
    }
    if (FromRemoteClient()) {
        if (RefusedUnlessOwner(player, "CtoS_StartServerRespawn"))
            return;
        const Vec3& p = where.GetRegionPosition();
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            Refuse("CtoS_StartServerRespawn", player);
            return;
        }
        // One load per player at a time: an honest client asks again only after its last
        // respawn finished loading, which needed the server's load done.
        if (root->IsNRLoaderLoading(player)) {
            Refuse("CtoS_StartServerRespawn", player);
            return;
        }
    }
    root->CtoS_StartServerRespawnInbound(player, where);
}

}  // namespace GAME
