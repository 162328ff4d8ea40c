#pragma once
// Every machine's cache of the player list: which player is this machine's, each player's latest
// basic info as the server last sent it, and this machine's own heartbeat to the server.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/sys/CriticalSection.h"
#include "Game/core/players/PlayerNetInfo.h"

namespace GAME {

class GameEngineClientServicesModule;
class Bonus;
struct PlayerInfo;

class PlayerManagerClient {
public:
    PlayerManagerClient();
    virtual ~PlayerManagerClient();

    void SetClientServicesModule(GameEngineClientServicesModule* module) { mModule = module; }
    GameEngineClientServicesModule* GetClientServicesModule() const { return mModule; }

    void Update(int elapsedMs);
    void Clear();

    void SetMainPlayer(std::uint32_t id);
    std::uint32_t GetMainPlayer() const { return mMainPlayer; }

    const std::vector<std::uint32_t>& GetAllPlayersInGame() const { return mPlayers; }
    const std::vector<PlayerNetBasicInfo>& GetPlayerInfoCache() const { return mCache; }
    bool IsPlayerInGame(std::uint32_t id) const;
    bool IsPlayerInList(std::uint32_t id) const;

    std::wstring GetPlayerName(std::uint32_t id) const;
    std::string GetPlayerClass(std::uint32_t id) const;
    WorldVec3 GetPlayerLocation(std::uint32_t id) const;
    std::wstring GetPlayerLevel(std::uint32_t id) const;
    PlayerNetBasicInfo GetPlayerInfo(std::uint32_t id) const;
    void GetPlayerInfo(PlayerInfo& info);
    std::uint32_t GetPlayerIdFromHostId(int host) const;
    std::uint32_t GetPlayerWithName(const std::wstring& name) const;

    void AddPlayerToParty(std::uint32_t id, int party);
    void DumpPlayersToConsole() const;
    void BanPlayer(const std::string& name);
    void BanPlayer(const std::wstring& name);

    // Received from the server.
    void HandlePlayerHeartbeatInbound(const std::vector<PlayerNetHeartbeatInfo>& heartbeats);
    void HandlePlayerUpdate(const std::vector<PlayerNetBasicInfo>& players);
    void HandleBonus(const Bonus& bonus);
    // A host left the game: its players leave the cache.
    void RemovePlayerFromGame(int host);

private:
    void UpdateLocalPlayer();
    void UpdateGameInfo();
    const PlayerNetBasicInfo* FindRecord(std::uint32_t id) const;

    GameEngineClientServicesModule* mModule = nullptr;
    std::uint32_t mMainPlayer = 0;
    std::vector<std::uint32_t> mPlayers;
    std::vector<PlayerNetBasicInfo> mCache;
    int mHeartbeatTimer = 0;
    CriticalSection mLock;
};

}  // namespace GAME
