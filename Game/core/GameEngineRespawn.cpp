// The root's teleports, respawns and its registry of network region loaders.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/activities/RespawnActivity.h"
#include "Game/core/activities/TeleportActivity.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PlayerManagerClient.h"

namespace GAME {

void GameEngine::InstallTeleportActivity(std::uint32_t player, int x, int y, int z) {
    const bool local = player == GetPlayerId();
    std::unique_ptr<TeleportActivity> activity;
    if (IsServerOrSingle())
        activity =
            local
                ? std::unique_ptr<TeleportActivity>(std::make_unique<TeleportLocalServerActivity>())
                : std::make_unique<TeleportNonLocalServerActivity>();
    else
        activity =
            local
                ? std::unique_ptr<TeleportActivity>(std::make_unique<TeleportLocalClientActivity>())
                : std::make_unique<TeleportNonLocalClientActivity>();
    activity->SetDestination(x, y, z, player);
    ActivityManager::Get()->InstallActivity(activity.release());
}

void GameEngine::InitiatePlayerTeleport(int x, int y, int z) {
    if (!gEngine->IsNetworkEnabled())
        InstallTeleportActivity(GetPlayerId(), x, y, z);
    else if (IsServerOrSingle())
        DecideTeleport(GetPlayerId(), x, y, z);
    else
        CtoS_StartTeleportOutbound(GetPlayerId(), x, y, z);  // an ask: the server decides
}

void GameEngine::StoC_StartTeleportInbound(std::uint32_t player, int x, int y, int z) {
    if (!gEngine->IsNetworkEnabled()) {
        InstallTeleportActivity(player, x, y, z);
        return;
    }
    // The server's decision: carried out where the server and the other clients do it.
    FrameStrikes::RunOrHold(player, [player, x, y, z] {
        if (GameEngine* root = gGameEngine)
            root->InstallTeleportActivity(player, x, y, z);
    });
}

void GameEngine::CtoS_StartTeleportInbound(std::uint32_t player, int x, int y, int z) {
    if (gEngine->IsNetworkEnabled())
        DecideTeleport(player, x, y, z);
    else
        InstallTeleportActivity(player, x, y, z);
}

void GameEngine::DecideTeleport(std::uint32_t player, int x, int y, int z) {
    if (IsTeleportUnderWay(player))
        return;
    decidedTeleports.push_back(player);
    StoC_StartTeleportOutbound(player, x, y, z);
    FrameStrikes::RunOrHold(player, [player, x, y, z] {
        if (GameEngine* root = gGameEngine)
            root->InstallTeleportActivity(player, x, y, z);
    });
}

bool GameEngine::IsTeleportUnderWay(std::uint32_t player) const {
    return std::find(decidedTeleports.begin(), decidedTeleports.end(), player) !=
           decidedTeleports.end();
}

void GameEngine::EndTeleport(std::uint32_t player) {
    std::erase(decidedTeleports, player);
}

void GameEngine::StoC_StartTeleportOutbound(std::uint32_t player, int x, int y, int z) {
    outbound->StartTeleport(player, static_cast<float>(x), static_cast<float>(y),
                            static_cast<float>(z));
}

void GameEngine::CtoS_StartTeleportOutbound(std::uint32_t player, int x, int y, int z) {
    outbound->StartTeleport(player, static_cast<float>(x), static_cast<float>(y),
                            static_cast<float>(z));
}

void GameEngine::ServerPropegateTeleport(std::uint32_t player, int x, int y, int z) {
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    PlayerManagerClient* players = GetPlayerManagerClient();
    if (!connections || !players)
        return;
    if (!propagatedTeleport)
        propagatedTeleport = std::make_unique<StartTeleportPacket>();
    StartTeleportPacket& packet = *propagatedTeleport;
    packet.playerId = player;
    packet.x = static_cast<float>(x);
    packet.y = static_cast<float>(y);
    packet.z = static_cast<float>(z);
    const std::uint32_t self = GetPlayerId();
    for (const PlayerNetBasicInfo& info : players->GetPlayerInfoCache())
        if (info.playerId != self && info.playerId != player)
            connections->SendToHost(HostOfPlayer(info.playerId), &packet);
}

std::uint32_t GameEngine::StartRespawnForLocalPlayer(const WorldVec3& where) {
    std::unique_ptr<RespawnActivity> activity;
    if (IsServerOrSingle()) {
        activity = std::make_unique<RespawnLocalServerActivity>();
    } else {
        activity = std::make_unique<RespawnLocalClientActivity>();
        CtoS_InitiateServerRespawnLoaderOutbound(where);
    }
    activity->SetDestination(where, GetPlayerId());
    RespawnActivity* started = activity.get();
    ActivityManager::Get()->FastInstallActivity(activity.release());
    return started->GetId();
}

void GameEngine::CtoS_InitiateServerRespawnLoaderOutbound(const WorldVec3& where) {
    outbound->CtoS_StartServerRespawn(GetPlayerId(), where);
}

void GameEngine::CtoS_StartServerRespawnInbound(std::uint32_t player, const WorldVec3& where) {
    auto activity = std::make_unique<RespawnNonLocalServerActivity>();
    activity->SetDestination(where, player);
    ActivityManager::Get()->InstallActivity(activity.release());
}

bool GameEngine::IsDeathLoaderActive(std::uint32_t activityId) const {
    return ActivityManager::Get()->IsActivityActive(activityId);
}

NetworkRegionLoaderBase* GameEngine::CreateNetworkLoader(std::uint32_t player,
                                                         const WorldVec3& where) {
    std::unique_ptr<NetworkLoader> loader;
    if (IsServerOrSingle())
        loader = std::make_unique<TeleportLoader>();
    else
        loader = std::make_unique<NetworkLoader>();
    loader->Register(where, player);
    ownedLoaders.push_back(std::move(loader));
    return ownedLoaders.back().get();
}

NetworkRegionLoaderBase* GameEngine::CreateNetworkLoaderInbound(std::uint32_t player,
                                                                const WorldVec3& where) {
    std::unique_ptr<NetworkLoader> loader;
    if (!IsServerOrSingle())
        loader = std::make_unique<NetworkLoader>();
    else if (player == GetPlayerId())
        loader = std::make_unique<LocalNetworkLoader>();
    else
        loader = std::make_unique<TeleportLoader>();
    loader->Register(where, player);
    ownedLoaders.push_back(std::move(loader));
    return ownedLoaders.back().get();
}

void GameEngine::DestroyNetworkLoader(NetworkRegionLoaderBase* loader) {
    if (!loader)
        return;
    const auto owned = std::find_if(ownedLoaders.begin(), ownedLoaders.end(),
                                    [&](const auto& held) { return held.get() == loader; });
    if (owned == ownedLoaders.end()) {
        // An activity's loader: the activity deletes it; only the registration goes.
        gEngine->Log(1, "GameEngine: DestroyNetworkLoader of a loader (player %u) it did not make",
                     loader->GetRegisteredId());
        UnregisterNRLoader(loader);
        return;
    }
    ownedLoaders.erase(owned);
}

void GameEngine::RegisterNRLoader(std::uint32_t id, NetworkRegionLoaderBase* loader) {
    nrLoaders.push_back({loader, id});
}

void GameEngine::UnregisterNRLoader(NetworkRegionLoaderBase* loader) {
    std::erase_if(nrLoaders, [&](const RegisteredLoader& entry) { return entry.loader == loader; });
}

NetworkRegionLoaderBase* GameEngine::FindNRLoader(std::uint32_t id) const {
    for (const RegisteredLoader& entry : nrLoaders)
        if (entry.id == id)
            return entry.loader;
    return nullptr;
}

bool GameEngine::IsNRLoaderLoading(std::uint32_t id) const {
    return std::any_of(nrLoaders.begin(), nrLoaders.end(), [&](const RegisteredLoader& entry) {
        return entry.id == id && entry.loader->GetLocalState() != NRLoaderState_Done;
    });
}

void GameEngine::CtoS_HandleNRLoaderStateChangeOutbound(std::uint32_t player, NRLoaderState state) {
    outbound->HandleNRLoaderStateChange(player, state);
}

void GameEngine::StoC_HandleNRLoaderStateChangeOutbound(std::uint32_t player, NRLoaderState state) {
    outbound->HandleNRLoaderStateChange(player, state);
}

void GameEngine::CtoS_HandleNRLoaderStateChangeInbound(std::uint32_t player, NRLoaderState state) {
    if (NetworkRegionLoaderBase* loader = FindNRLoader(player))
        loader->SetRemoteState(static_cast<std::uint32_t>(state));
}

void GameEngine::StoC_HandleNRLoaderStateChangeInbound(std::uint32_t player, NRLoaderState state) {
    if (NetworkRegionLoaderBase* loader = FindNRLoader(player))
        loader->SetRemoteState(static_cast<std::uint32_t>(state));
}

}  // namespace GAME
