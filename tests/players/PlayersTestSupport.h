#pragma once
// Helpers of the player tests: players made on the current machine, a running root object, and a
// network interface that records what the player managers send.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME::test {

// The answers to a party invitation dialog.
inline constexpr int kAccept = 1;
inline constexpr int kDecline = 0;

// A file of the player records in the test data.
inline std::string PlayersDir(const char* name) {
    return TestMachine::TestDataDir() + "/Records/Players/" + name;
}

// The id of a player owned by a host: the host in the top four bits.
constexpr std::uint32_t PlayerId(int host, std::uint32_t serial) {
    return (static_cast<std::uint32_t>(host) << 28) | serial;
}

inline Player* MakePlayer(std::uint32_t id, const std::wstring& name, std::uint32_t level,
                          Vec3 where = {}) {
    auto* player = Singleton<ObjectManager>::Get().CreateObject<Player>(id);
    player->SetPlayerName(name);
    test::SetCharLevel(*player, level);
    test::PlayerTestAccess::SetClassTag(*player, "tagCClass02");
    test::SetLife(*player, 80.0f, 100.0f);
    test::SetMana(*player, 30.0f, 50.0f);
    WorldCoords coords;
    coords.coords.origin = where;
    player->SetCoords(coords);
    return player;
}

inline PlayerNetBasicInfo InfoOf(const Player& player) {
    PlayerNetBasicInfo info;
    player.GetPlayerNetBasicInfo(info);
    return info;
}

// Host `host`'s own player arrives on its machine as MakePlayer makes it ("Player<host>"): it
// becomes the main player there and a client announces it; with `serverCopy` the server also
// holds a copy, as replication gives it. Then the packets are delivered.
inline void JoinPlayer(NetTestGame& game, int host, std::uint32_t id, std::uint32_t level,
                       Vec3 where = {}, bool serverCopy = false) {
    const std::wstring name = L"Player" + std::to_wstring(host);
    ON_MACHINE(game.Host(host)) {
        Player* player = MakePlayer(id, name, level, where);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(id);
        if (host != 0)
            gGameEngine->GetNetworkInterface()->CtoS_AddNewPlayer(InfoOf(*player));
    }
    if (serverCopy && host != 0)
        ON_MACHINE(game.Server()) {
            MakePlayer(id, name, level, where);
        }
    game.Pump();
}

// The root object of the current machine, for one test.
class RunningGame {
public:
    RunningGame() { InitializeObjects(); }
    ~RunningGame() { ShutdownObjects(); }
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;
};

// Records the player traffic instead of carrying it out.
class RecordingInterface : public GameEngineInboundInterface {
public:
    void StoC_AllPlayersHeartbeat(const std::vector<PlayerNetHeartbeatInfo>& heartbeats) override {
        sent.push_back('H');
        lastHeartbeats = heartbeats;
    }
    void StoC_AllPlayersUpdate(const std::vector<PlayerNetBasicInfo>& players) override {
        sent.push_back('U');
        lastUpdate = players;
    }
    void CtoS_SinglePlayerHeartbeat(const PlayerNetHeartbeatInfo& heartbeat) override {
        sent.push_back('h');
        lastHeartbeat = heartbeat;
    }
    void HandleBonusToClient(const Bonus& bonus, const std::uint32_t& player) override {
        bonuses.push_back(bonus);
        bonusReceivers.push_back(player);
    }

    std::string sent;
    std::vector<PlayerNetHeartbeatInfo> lastHeartbeats;
    std::vector<PlayerNetBasicInfo> lastUpdate;
    PlayerNetHeartbeatInfo lastHeartbeat;
    std::vector<Bonus> bonuses;
    std::vector<std::uint32_t> bonusReceivers;
};

}  // namespace GAME::test
