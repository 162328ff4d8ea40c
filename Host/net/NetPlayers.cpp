#include "Host/net/NetPlayers.h"

#include <optional>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "Host/play/PlaySession.h"

namespace GAME {

namespace {
constexpr std::uint32_t kPlayerSerial = 0x0F000001;
}  // namespace

std::uint32_t NetPlayerId(int host) {
    return static_cast<std::uint32_t>(host) << 28 | kPlayerSerial;
}

NetPlayers::NetPlayers(std::string classRecord, Spawned spawned)
    : mClassRecord(std::move(classRecord)), mSpawned(std::move(spawned)) {}

NetPlayers::~NetPlayers() {
    Uninstall();
}

void NetPlayers::Install() {
    mInstalled = true;
    gEngine->GetNetworkConnectionManager()->SetPacketHandler(
        PacketType::SpawnPlayerPacket, [this](NetPacket& packet) { OnSpawnPacket(packet); });
}

void NetPlayers::Uninstall() {
    if (!mInstalled)
        return;
    mInstalled = false;
    gEngine->GetNetworkConnectionManager()->SetPacketHandler(PacketType::SpawnPlayerPacket,
                                                             nullptr);
}

Player* NetPlayers::Spawn(std::uint32_t id) {
    const int host = static_cast<int>(id >> 28);
    const bool own = host == gEngine->GetNetworkConnectionManager()->GetLocalHostId();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* player = objects.CreateObjectFromFile<Player>(mClassRecord, id);
    if (!player) {
        gEngine->Log(1, "Host: class record %s does not make a Player; host %d has no player.",
                     mClassRecord.c_str(), host);
        return nullptr;
    }
    player->SetPlayerName(host == kServerHostId ? std::wstring(L"Warden")
                                                : L"Warden " + std::to_wstring(host));
    const std::optional<WorldCoords> start = PlayerStart();
    if (!start || !World::Get().AddEntity(player, *start, true)) {
        gEngine->Log(1, "Host: the level has no spawn point for the player of host %d.", host);
        objects.DestroyObject(player);
        return nullptr;
    }
    GameEngine* root = gGameEngine;
    if (own)
        root->GetPlayerManagerClient()->SetMainPlayer(id);
    player->SetIsControllingCharacter(own);
    player->InitialUpdate();
    if (own)
        root->SetPlayer(player);
    // A client's player joins the server's list of players, which shares out the experience of
    // kills; the server's own joined it through SetMainPlayer.
    if (own && !gEngine->IsServer()) {
        PlayerNetBasicInfo info;
        player->GetPlayerNetBasicInfo(info);
        root->GetNetworkInterface()->CtoS_AddNewPlayer(info);
    }
    mPlayers.push_back(id);
    if (mSpawned)
        mSpawned(*player, own);
    return player;
}

Player* NetPlayers::SpawnAndSend(int host) {
    Player* player = Spawn(NetPlayerId(host));
    if (player) {
        std::unique_ptr<NetPacket> packet = player->CreateSpawnNetPacket();
        gEngine->GetNetworkConnectionManager()->SendToAllClients(packet.get());
    }
    return player;
}

void NetPlayers::OnSpawnPacket(NetPacket& packet) {
    const std::uint32_t id = static_cast<SpawnPlayerPacket&>(packet).player.GetId();
    const int sender = packet.GetHeader().sourceHost;
    const bool taken = Singleton<ObjectManager>::Get().GetObject(id) != nullptr;
    if (sender != kServerHostId || id != NetPlayerId(static_cast<int>(id >> 28)) || taken) {
        ++mRefused;
        NetFaultLog::Get().Report(1, sender, NetFault::Refused, PacketType::SpawnPlayerPacket,
                                  "Host: host %d asked for player %u (0x%x), which %s; ignored.",
                                  sender, id, id,
                                  sender != kServerHostId ? "only the server may spawn"
                                  : taken                 ? "exists already"
                                                          : "is no host's player id");
        return;
    }
    Spawn(id);
}

}  // namespace GAME
