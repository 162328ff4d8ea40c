#include "Game/core/players/PlayerManagerClient.h"

#include <cmath>
#include <cwctype>

#include "Engine/Engine.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/quests/actions/QuestRewardGrant.h"

namespace GAME {

namespace {

Player* FindPlayer(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Player>(id) : nullptr;
}

bool EqualsIgnoreCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

}  // namespace

PlayerManagerClient::PlayerManagerClient() = default;
PlayerManagerClient::~PlayerManagerClient() = default;

void PlayerManagerClient::Clear() {
    CriticalSectionLock lock(mLock);
    mPlayers.clear();
    mCache.clear();
    mMainPlayer = 0;
}

void PlayerManagerClient::Update(int elapsedMs) {
    mHeartbeatTimer += elapsedMs;
    UpdateLocalPlayer();
    if (mHeartbeatTimer <= kClientHeartbeatIntervalMs)
        return;
    if (Player* player = FindPlayer(mMainPlayer)) {
        PlayerNetHeartbeatInfo heartbeat;
        player->GetPlayerNetHeartbeatInfo(heartbeat);
        if (mModule && mModule->GetNetworkInterface())
            mModule->GetNetworkInterface()->CtoS_SinglePlayerHeartbeat(heartbeat);
    }
    mHeartbeatTimer = 0;
}

void PlayerManagerClient::UpdateLocalPlayer() {
    const std::uint32_t local = gGameEngine ? gGameEngine->GetPlayerId() : 0;
    Player* player = FindPlayer(mMainPlayer);
    if (!player || local == 0)
        return;
    PlayerNetBasicInfo info;
    player->GetPlayerNetBasicInfo(info);
    for (auto& record : mCache)
        if (record.playerId == local)
            record = info;
}

void PlayerManagerClient::UpdateGameInfo() {
    GameInfo& gameInfo = Singleton<GameInfo>::Get();
    gameInfo.ClearPlayerList();
    for (const auto& record : mCache)
        gameInfo.AddPlayer(record.playerName);
    gameInfo.SetNumPlayers(static_cast<int>(mCache.size()));
}

void PlayerManagerClient::SetMainPlayer(std::uint32_t id) {
    CriticalSectionLock lock(mLock);
    mMainPlayer = id;
    if (FindRecord(id))
        return;
    mPlayers.push_back(id);
    Player* player = FindPlayer(id);
    if (!player)
        return;
    PlayerNetBasicInfo info;
    player->GetPlayerNetBasicInfo(info);
    mCache.push_back(info);
    if (PlayerManagerServer* server = gGameEngine ? gGameEngine->GetPlayerManagerServer() : nullptr)
        server->HandleNewPlayer(info);
}

bool PlayerManagerClient::IsPlayerInGame(std::uint32_t id) const {
    for (std::uint32_t player : mPlayers)
        if (player == id)
            return true;
    return false;
}

bool PlayerManagerClient::IsPlayerInList(std::uint32_t id) const {
    return FindRecord(id) != nullptr;
}

const PlayerNetBasicInfo* PlayerManagerClient::FindRecord(std::uint32_t id) const {
    for (const auto& record : mCache)
        if (record.playerId == id)
            return &record;
    return nullptr;
}

std::wstring PlayerManagerClient::GetPlayerName(std::uint32_t id) const {
    const PlayerNetBasicInfo* record = FindRecord(id);
    return record ? record->playerName : std::wstring(L"ErrorName");
}

std::string PlayerManagerClient::GetPlayerClass(std::uint32_t id) const {
    const PlayerNetBasicInfo* record = FindRecord(id);
    return record ? record->classTag : std::string();
}

WorldVec3 PlayerManagerClient::GetPlayerLocation(std::uint32_t id) const {
    const PlayerNetBasicInfo* record = FindRecord(id);
    return record ? record->position : WorldVec3();
}

std::wstring PlayerManagerClient::GetPlayerLevel(std::uint32_t id) const {
    const PlayerNetBasicInfo* record = FindRecord(id);
    if (!record)
        return std::wstring();
    return std::to_wstring(record->level);
}

PlayerNetBasicInfo PlayerManagerClient::GetPlayerInfo(std::uint32_t id) const {
    const PlayerNetBasicInfo* record = FindRecord(id);
    return record ? *record : PlayerNetBasicInfo();
}

void PlayerManagerClient::GetPlayerInfo(PlayerInfo& info) {
    info.Clear();
    CriticalSectionLock lock(mLock);
    std::uint32_t lowest = 0;
    std::uint32_t highest = 0;
    std::uint32_t sum = 0;
    std::uint32_t count = 0;
    for (std::uint32_t id : mPlayers) {
        Player* player = FindPlayer(id);
        if (!player)
            continue;
        const std::uint32_t level = player->GetCharLevel();
        if (lowest == 0 || level < lowest)
            lowest = level;
        if (level > highest)
            highest = level;
        sum += level;
        ++count;
    }
    info.minLevel = lowest;
    info.maxLevel = highest;
    info.numPlayers = count;
    if (count != 0) {
        const double average = static_cast<double>(sum) / static_cast<double>(count) + 0.5;
        info.averageLevel = static_cast<std::uint32_t>(average);
    }
}

std::uint32_t PlayerManagerClient::GetPlayerIdFromHostId(int host) const {
    for (std::uint32_t id : mPlayers)
        if (HostOfPlayer(id) == host)
            return id;
    return 0;
}

std::uint32_t PlayerManagerClient::GetPlayerWithName(const std::wstring& name) const {
    std::wstring wanted = name;
    if (!wanted.empty() && wanted.front() == L'"') {
        if (wanted.size() < 3)
            return 0;
        wanted = wanted.substr(1, wanted.size() - 2);
    }
    for (const auto& record : mCache)
        if (EqualsIgnoreCase(record.playerName, wanted))
            return record.playerId;
    return 0;
}

void PlayerManagerClient::AddPlayerToParty(std::uint32_t id, int party) {
    for (auto& record : mCache)
        if (record.playerId == id)
            record.partyId = party;
}

void PlayerManagerClient::DumpPlayersToConsole() const {
    gEngine->Log(0, "===================================");
    gEngine->Log(0, "Player List:");
    for (const auto& record : mCache) {
        std::string name = LocalizationManager::ToChar(record.playerName);
        if (name.size() > 499)
            name.resize(499);
        gEngine->Log(0, "Name:    %s", name.c_str());
        gEngine->Log(0, record.isMale ? "Gender:  Male" : "Gender:  Female");
        gEngine->Log(0, "Id:      %d", static_cast<int>(record.playerId));
        gEngine->Log(0, "Level:   %d", record.level);
        gEngine->Log(0, "%s", "");
    }
    gEngine->Log(0, "===================================");
}

void PlayerManagerClient::BanPlayer(const std::wstring& name) {
    for (std::uint32_t id : std::vector<std::uint32_t>(mPlayers)) {
        Player* player = FindPlayer(id);
        if (!player || player->GetPlayerName() != name)
            continue;
        const int host = HostOfPlayer(id);
        gEngine->GetNetworkConnectionManager()->DropHost(host, "ban");
        gEngine->Log(0, "Banning Host %d (%s)", host, LocalizationManager::ToChar(name).c_str());
    }
}

void PlayerManagerClient::BanPlayer(const std::string& name) {
    for (std::uint32_t id : std::vector<std::uint32_t>(mPlayers)) {
        Player* player = FindPlayer(id);
        if (!player || LocalizationManager::ToChar(player->GetPlayerName()) != name)
            continue;
        const int host = HostOfPlayer(id);
        gEngine->GetNetworkConnectionManager()->DropHost(host, "ban");
        gEngine->Log(0, "Banning Host %d (%s)", host, name.c_str());
    }
}

void PlayerManagerClient::HandlePlayerHeartbeatInbound(
    const std::vector<PlayerNetHeartbeatInfo>& heartbeats) {
    const std::uint32_t local = gGameEngine ? gGameEngine->GetPlayerId() : mMainPlayer;
    for (const auto& heartbeat : heartbeats) {
        if (heartbeat.playerId == local)
            continue;
        for (auto& record : mCache)
            if (record.playerId == heartbeat.playerId)
                record = heartbeat;
    }
}

void PlayerManagerClient::HandlePlayerUpdate(const std::vector<PlayerNetBasicInfo>& players) {
    CriticalSectionLock lock(mLock);
    mPlayers.resize(players.size());
    for (std::size_t i = 0; i < players.size(); ++i)
        mPlayers[i] = players[i].playerId;
    mCache = players;
    UpdateLocalPlayer();
    UpdateGameInfo();
}

void PlayerManagerClient::HandleBonus(const Bonus& bonus) {
    const std::uint32_t local = gGameEngine ? gGameEngine->GetPlayerId() : mMainPlayer;
    if (bonus.sourceId == local || !FindPlayer(bonus.id))
        return;
    // The server hands shares out in the step a creature dies; a client has them only after it.
    FrameStrikes::RunOrHold(bonus.id, [bonus] {
        if (auto* player = Singleton<ObjectManager>::Get().GetObject<Player>(bonus.id)) {
            player->TakeBonus(bonus, false, 0);
            SpendQuestSkillPoints(*player, bonus);
        }
    });
}

void PlayerManagerClient::RemovePlayerFromGame(int host) {
    CriticalSectionLock lock(mLock);
    for (std::size_t i = 0; i < mPlayers.size();) {
        if (HostOfPlayer(mPlayers[i]) != host) {
            ++i;
            continue;
        }
        if (gGameEngine)
            gGameEngine->RemovePortalsFor(mPlayers[i]);
        mPlayers.erase(mPlayers.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < mCache.size())
            mCache.erase(mCache.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

}  // namespace GAME
