#include "Host/net/NetPlayers.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <system_error>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerJoinCheck.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "Game/world/strategic/TravelCheck.h"
#include "Host/net/NetKit.h"
#include "Host/play/PlaySession.h"

namespace GAME {

namespace {

constexpr std::uint32_t kPlayerSerial = 0x0F000001;
// What one player may take of its band; ids go on above it once the player is made.
constexpr std::uint32_t kBandSpan = 0x00800000;

int HostOf(std::uint32_t id) {
    return static_cast<int>(id >> 28);
}

bool IsPlayerId(std::uint32_t id) {
    return id == NetPlayerId(HostOf(id));
}

// Everything made for one player takes its ids from the player's band.
class PlayerBand {
public:
    explicit PlayerBand(std::uint32_t id) : mId(id) {
        Singleton<ObjectManager>::Get().BeginIdBand(id);
    }
    ~PlayerBand() { Singleton<ObjectManager>::Get().EndIdBand(mId + kBandSpan); }
    PlayerBand(const PlayerBand&) = delete;
    PlayerBand& operator=(const PlayerBand&) = delete;

private:
    std::uint32_t mId;
};

Player* PlayerWithId(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Player>(id) : nullptr;
}

void Destroy(Player* player) {
    if (player)
        Singleton<ObjectManager>::Get().DestroyObjectEx(player, "Host/NetPlayers", __LINE__);
}

std::vector<std::uint8_t> ReplicationOf(Player& player) {
    SpawnPlayerPacket scratch;
    {
        NetPacketOutBuffer out(&scratch);
        player.WriteReplicationData(out);
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(scratch.GetOutBuffer());
    return {bytes, bytes + scratch.GetOutBufferSize()};
}

// Server: a new player's kit, made in its band before it enters.
std::vector<std::uint32_t> KitFor(Player& player) {
    if (!IsNewPlayer(player))
        return {};
    PlayerBand band(player.GetObjectId());
    return MakeStartingKit(player);
}

// Client: its own new player's kit as the server's spawn packet names it.
std::vector<std::uint32_t> NamedKitFor(Player& own, const std::vector<std::uint8_t>& replication) {
    if (!IsNewPlayer(own))
        return {};
    PlayerReplicationData data;
    NetPacketHeader header;
    bool read = false;
    {
        NetPacketInBuffer in(header, replication.data(), static_cast<int>(replication.size()));
        read = data.Read(in);
    }
    if (!read || header.bad) {
        gEngine->Log(1,
                     "Host: the server's word on this machine's player is damaged; it enters "
                     "without a kit.");
        return {};
    }
    PlayerBand band(own.GetObjectId());
    return MakeNamedKit(own, data.inventory);
}

}  // namespace

std::uint32_t NetPlayerId(int host) {
    return static_cast<std::uint32_t>(host) << 28 | kPlayerSerial;
}

NetPlayers::NetPlayers(Spawned spawned) : mSpawned(std::move(spawned)) {}

NetPlayers::~NetPlayers() {
    Uninstall();
}

void NetPlayers::Install() {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    mInstalled = true;
    mServer = gEngine->IsServer();
    if (mServer) {
        net->SetPacketHandler(PacketType::SpawnPlayerPacket,
                              [this](NetPacket& packet) { OnJoin(packet); });
        return;
    }
    net->SetPacketHandler(PacketType::SpawnPlayerPacket,
                          [this](NetPacket& packet) { OnSpawnPacket(packet); });
    net->SetPacketHandler(PacketType::NackEntityPacket,
                          [this](NetPacket& packet) { OnPlayerGone(packet); });
}

void NetPlayers::Uninstall() {
    if (!mInstalled)
        return;
    mInstalled = false;
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    net->SetPacketHandler(PacketType::SpawnPlayerPacket, nullptr);
    if (!mServer)
        net->SetPacketHandler(PacketType::NackEntityPacket, nullptr);
}

Player* NetPlayers::MakeOwn(const std::string& classRecord, const std::filesystem::path& file) {
    const int host = gEngine->GetNetworkConnectionManager()->GetLocalHostId();
    const std::uint32_t id = NetPlayerId(host);
    std::error_code ec;
    if (!file.empty() && !std::filesystem::is_regular_file(file, ec)) {
        std::fprintf(stderr, "gamehost: character file %s not found\n", file.string().c_str());
        return nullptr;
    }
    PlayerBand band(id);
    auto* player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(classRecord, id);
    if (!player) {
        std::fprintf(stderr,
                     "gamehost: class record %s is unknown or does not make a Player (see the "
                     "log above)\n",
                     classRecord.c_str());
        return nullptr;
    }
    player->SetPlayerName(host == kServerHostId ? std::wstring(L"Warden")
                                                : L"Warden " + std::to_wstring(host));
    if (!file.empty() && !player->LoadCharacterFile(file)) {
        std::fprintf(stderr,
                     "gamehost: character file %s is damaged or not a character file (the log "
                     "above names the property); it is left as it was\n",
                     file.string().c_str());
        Destroy(player);
        return nullptr;
    }
    mOwn = id;
    return player;
}

bool NetPlayers::SendJoin() {
    Player* player = PlayerWithId(mOwn);
    if (!player)
        return false;
    SpawnPlayerPacket packet;
    packet.player = mOwn;
    packet.record = player->GetObjectName();
    packet.foundStones = player->GetTeleportUIDs();
    packet.attributePoints = player->GetModifierPoints();
    packet.replication = ReplicationOf(*player);
    return gEngine->GetNetworkConnectionManager()->SendToServer(&packet);
}

std::uint32_t NetPlayers::GetKillsBrought(std::uint32_t id) const {
    const auto it = mKillsBrought.find(id);
    return it == mKillsBrought.end() ? 0 : it->second;
}

bool NetPlayers::IsOwnInGame() const {
    return mOwn != 0 && std::find(mPlayers.begin(), mPlayers.end(), mOwn) != mPlayers.end();
}

bool NetPlayers::PutIn(Player& player, bool own, const std::vector<std::uint32_t>& kit) {
    const std::uint32_t id = player.GetObjectId();
    const int host = HostOf(id);
    const std::optional<WorldCoords> start = PlayerStart(mSpawn);
    if (!start || !World::Get().AddEntity(&player, *start, true)) {
        gEngine->Log(1, "Host: the level has no spawn point for the player of host %d.", host);
        return false;
    }
    GameEngine* root = gGameEngine;
    {
        PlayerBand band(id);
        if (own)
            root->GetPlayerManagerClient()->SetMainPlayer(id);
        player.SetIsControllingCharacter(own);
        player.InitialUpdate();
        WearKit(player, kit);
    }
    if (own)
        root->SetPlayer(&player);
    // A client's player joins the server's list of players, which shares out the experience of
    // kills; the server's own joined it through SetMainPlayer.
    if (own && !gEngine->IsServer()) {
        PlayerNetBasicInfo info;
        player.GetPlayerNetBasicInfo(info);
        root->GetNetworkInterface()->CtoS_AddNewPlayer(info);
    }
    mPlayers.push_back(id);
    mKillsBrought[id] = player.GetPlayStats().GetKills();
    if (mSpawned)
        mSpawned(player, own);
    return true;
}

Player* NetPlayers::MakeFromJoin(std::uint32_t id, const Join& join) {
    PlayerBand band(id);
    auto* player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(join.record, id);
    if (!player) {
        gEngine->Log(1, "Host: record %s makes no player; host %d has none.", join.record.c_str(),
                     HostOf(id));
        return nullptr;
    }
    NetPacketHeader header;
    bool read = false;
    {
        NetPacketInBuffer in(header, join.replication.data(),
                             static_cast<int>(join.replication.size()));
        read = player->ReadReplicationData(in);
    }
    if (!read || header.bad) {
        gEngine->Log(1, "Host: the player of host %d came with damaged replication data.",
                     HostOf(id));
        Destroy(player);
        return nullptr;
    }
    player->ApplyReplicationData(join.attributePoints);
    for (const UniqueId& stone : join.foundStones)
        player->AddTeleportUID(stone);
    return player;
}

bool NetPlayers::SendSpawn(Player& player) {
    SpawnPlayerPacket packet;
    packet.player = player.GetObjectId();
    packet.record = player.GetObjectName();
    packet.foundStones = player.GetTeleportUIDs();
    packet.attributePoints = player.GetModifierPoints();
    packet.replication = ReplicationOf(player);
    return gEngine->GetNetworkConnectionManager()->SendToAllClients(&packet);
}

bool NetPlayers::StartGame(const std::vector<int>& clients) {
    mStarted = true;
    Player* own = PlayerWithId(mOwn);
    if (!own || !PutIn(*own, true, KitFor(*own)))
        return false;
    SendSpawn(*own);
    std::vector<int> hosts = clients;
    std::sort(hosts.begin(), hosts.end());
    for (int host : hosts) {
        const auto join = mJoins.find(host);
        if (join == mJoins.end())
            continue;
        Player* player = MakeFromJoin(NetPlayerId(host), join->second);
        if (player && PutIn(*player, false, KitFor(*player)))
            SendSpawn(*player);
        else
            Destroy(player);
    }
    mJoins.clear();
    return true;
}

void NetPlayers::Refuse(int host, const std::string& why) {
    ++mRefused;
    NetFaultLog::Get().Report(1, host, NetFault::Refused, PacketType::SpawnPlayerPacket,
                              "Host: the player of host %d is refused: %s", host, why.c_str());
    if (host < 1 || host > kMaxClientHosts || !gGameEngine)
        return;
    // The client hears why, then goes: its seat is free for another.
    std::wstring text = L"your player is refused: ";
    text.append(why.begin(), why.end());
    gGameEngine->GetNetworkInterface()->DisplayWMessageRemote(NetPlayerId(host), true, text);
    mRefusedHosts.push_back(host);
}

void NetPlayers::DropRefused() {
    for (int host : mRefusedHosts)
        gEngine->GetNetworkConnectionManager()->DropHost(host, "player refused");
    mRefusedHosts.clear();
}

void NetPlayers::OnJoin(NetPacket& packet) {
    auto& join = static_cast<SpawnPlayerPacket&>(packet);
    const int sender = packet.GetHeader().sourceHost;
    const std::uint32_t id = join.player.GetId();
    if (mStarted)
        return Refuse(sender, "the game has begun");
    if (id != NetPlayerId(sender))
        return Refuse(sender, "player id: names another host's player");
    if (mJoins.contains(sender))
        return Refuse(sender, "joined already");
    if (join.record.empty())
        return Refuse(sender, "record: the join carries no player");
    std::uint32_t points = join.attributePoints;
    std::string fault = CheckJoiningPlayer(join.record, join.replication, &points);
    std::vector<UniqueId> stones;
    if (fault.empty())
        fault = CheckFoundStones(join.foundStones, stones);
    if (!fault.empty())
        return Refuse(sender, fault);
    mJoins[sender] = Join{join.record, std::move(join.replication), std::move(stones), points};
}

void NetPlayers::OnSpawnPacket(NetPacket& packet) {
    auto& spawn = static_cast<SpawnPlayerPacket&>(packet);
    const std::uint32_t id = spawn.player.GetId();
    const int sender = packet.GetHeader().sourceHost;
    const bool ownId = id == mOwn && mOwn != 0;
    const char* why = nullptr;
    if (sender != kServerHostId)
        why = "only the server may spawn";
    else if (!IsPlayerId(id))
        why = "is no host's player id";
    else if (ownId ? IsOwnInGame() : Singleton<ObjectManager>::Get().GetObject(id) != nullptr)
        why = "exists already";
    else if (!ownId && spawn.record.empty())
        why = "comes without its record";
    if (why) {
        ++mRefused;
        NetFaultLog::Get().Report(1, sender, NetFault::Refused, PacketType::SpawnPlayerPacket,
                                  "Host: host %d asked for player %u (0x%x), which %s; ignored.",
                                  sender, id, id, why);
        return;
    }
    if (ownId) {
        if (Player* own = PlayerWithId(mOwn))
            PutIn(*own, true, NamedKitFor(*own, spawn.replication));
        return;
    }
    // The server checked the stones; those of no stone here are left out as it did.
    std::vector<UniqueId> stones;
    CheckFoundStones(spawn.foundStones, stones);
    Player* player = MakeFromJoin(id, Join{spawn.record, std::move(spawn.replication),
                                           std::move(stones), spawn.attributePoints});
    if (player && !PutIn(*player, false))
        Destroy(player);
}

void NetPlayers::RemoveHost(int host) {
    const std::uint32_t id = NetPlayerId(host);
    mJoins.erase(host);
    const auto listed = std::find(mPlayers.begin(), mPlayers.end(), id);
    if (listed == mPlayers.end())
        return;
    mPlayers.erase(listed);
    if (gGameEngine)
        gGameEngine->RemovePlayerFromGame(host);
    if (Player* player = PlayerWithId(id)) {
        if (mGone)
            mGone(*player);
        World::Get().RemoveEntity(player);
        Destroy(player);
    }
    if (mServer) {
        NackEntityPacket gone;
        gone.entityIds.push_back(id);
        gEngine->GetNetworkConnectionManager()->SendToAllClients(&gone);
    }
}

void NetPlayers::OnPlayerGone(NetPacket& packet) {
    const auto& gone = static_cast<NackEntityPacket&>(packet);
    const int sender = packet.GetHeader().sourceHost;
    for (unsigned int id : gone.entityIds) {
        if (sender != kServerHostId || !IsPlayerId(id) || id == mOwn) {
            ++mRefused;
            NetFaultLog::Get().Report(1, sender, NetFault::Refused, PacketType::NackEntityPacket,
                                      "Host: host %d said player %u (0x%x) left; ignored.", sender,
                                      id, id);
            continue;
        }
        RemoveHost(HostOf(id));
    }
}

}  // namespace GAME
