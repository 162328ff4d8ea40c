// Teleports, region-loader progress and server respawns as they arrive from the other machines.
#include <cmath>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/world/strategic/TravelCheck.h"

namespace GAME {

namespace {
// World coordinates beyond any level; also keeps the conversion to whole numbers defined.
constexpr float kCoordinateLimit = 1.0e7f;

bool IsUsableCoordinate(float v) {
    return std::isfinite(v) && std::fabs(v) <= kCoordinateLimit;
}
}  // namespace

void GameEngineInboundInterface::StartTeleport(std::uint32_t player, float x, float y, float z) {
    GameEngine* root = gGameEngine;
    if (!root)
        return;
    const bool usable = IsUsableCoordinate(x) && IsUsableCoordinate(y) && IsUsableCoordinate(z);
    if (FromRemoteClient()) {
        // A client moves only its own player, to a real place, one move at a time.
        if (RefusedUnlessOwner(player, "StartTeleport"))
            return;
        if (!usable || root->IsNRLoaderLoading(player)) {
            Refuse("StartTeleport", player);
            return;
        }
        // Only from a travel stone or portal it stands at, to a place those lead to.
        const auto* mover = Singleton<ObjectManager>::Get().GetObject<Player>(player);
        const char* why = !mover ? "no such player"
                          : root->IsTeleportUnderWay(player) || mover->IsTeleporting()
                              ? "the player is travelling already"
                              : TravelRefusal(*mover, Vec3(x, y, z));
        if (why) {
            NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, sourceType,
                                      "GameEngineInboundInterface: refused StartTeleport from "
                                      "host %d (player %u to %.0f, %.0f, %.0f): %s",
                                      sourceHost, player, static_cast<double>(x),
                                      static_cast<double>(y), static_cast<double>(z), why);
            return;
        }
    } else if (!usable) {
        gEngine->Log(1, "GameEngineInboundInterface: teleport of player %u to no place dropped",
                     player);
        return;
    }
    const int ix = static_cast<int>(x), iy = static_cast<int>(y), iz = static_cast<int>(z);
    if (gEngine->IsServer())
        root->CtoS_StartTeleportInbound(player, ix, iy, iz);
    else
        root->StoC_StartTeleportInbound(player, ix, iy, iz);
}

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
