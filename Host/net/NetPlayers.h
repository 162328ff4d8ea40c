#pragma once
// The players of a network game. Every machine makes its own player from its own class record
// or character file. A client brings its player to the server in a join: a spawn packet that
// carries the player's record name and replication data, which the server checks
// (CheckJoiningPlayer) and takes, or refuses with one line naming the field. When the game
// starts the server puts the players in, its own first and then its clients' by host id, and
// sends each one's spawn packet with its record, found travel stones and replication data (a
// brought character's stones were found in other games: no replication carries them, and the
// server checks them too, CheckFoundStones); a client makes the
// others' players from those and puts its own in when its packet comes. A player and all it
// brings (skills, controller, items) take their ids from a band of its host's, so they have the
// same ids on every machine, whichever order a machine made the players in. A player whose host
// left is taken out of the game on every machine.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"

namespace GAME {

class NetPacket;
class Player;

// The id of the player a host brings: the host's number in the top four bits, as the game's
// player lists expect; far above the ids the level takes.
std::uint32_t NetPlayerId(int host);

class NetPlayers {
public:
    // Told of each player put into the game here, with whether it is this machine's own.
    using Spawned = std::function<void(Player& player, bool own)>;

    explicit NetPlayers(Spawned spawned);
    ~NetPlayers();
    NetPlayers(const NetPlayers&) = delete;
    NetPlayers& operator=(const NetPlayers&) = delete;

    // Takes over the handlers of the kinds this machine receives (the server: the clients'
    // joins; a client: the server's spawn packets and its word that a player left) until
    // Uninstall.
    void Install();
    void Uninstall();

    // This machine's own player, made from the class record, or read from the character file
    // when one is given, and not yet in the world; null, with the reason on stderr.
    Player* MakeOwn(const std::string& classRecord, const std::filesystem::path& file);
    // Client: brings the own player to the server.
    bool SendJoin();

    // Server: whether a client's player was taken; a host that left the lobby is forgotten.
    bool HasJoined(int host) const { return mJoins.contains(host); }
    void ForgetJoin(int host) { mJoins.erase(host); }
    // Server: drops the clients refused since the last call (each was told why first).
    void DropRefused();
    // Server: puts its own player and those of the clients that joined into the game, in host
    // order, and sends each one's spawn packet to every client; false when its own cannot go in.
    bool StartGame(const std::vector<int>& clients);

    // Takes the player of a host that left out of the game; the server tells the clients.
    void RemoveHost(int host);
    // Told of each player taken out of the game here, before it goes.
    void SetGone(std::function<void(Player& player)> gone) { mGone = std::move(gone); }
    // The spawn point every player enters at (the same on every machine).
    void SetSpawn(std::string spawn) { mSpawn = std::move(spawn); }
    // The kills a player came with: a brought character's earlier ones are known only to the
    // machine that owns it.
    std::uint32_t GetKillsBrought(std::uint32_t id) const;

    std::uint32_t GetOwnId() const { return mOwn; }
    bool IsOwnInGame() const;
    // The players in the game, in the order they were put in.
    const std::vector<std::uint32_t>& GetPlayers() const { return mPlayers; }
    int GetRefused() const { return mRefused; }

private:
    struct Join {
        std::string record;
        std::vector<std::uint8_t> replication;
        std::vector<UniqueId> foundStones;
        std::uint32_t attributePoints = 0;  // unspent, as the server checked them
    };
    // Puts a made player into the world and the game's player lists; it puts on the kit's
    // items (NetKit) once in.
    bool PutIn(Player& player, bool own, const std::vector<std::uint32_t>& kit = {});
    Player* MakeFromJoin(std::uint32_t id, const Join& join);
    bool SendSpawn(Player& player);
    void OnJoin(NetPacket& packet);
    void OnSpawnPacket(NetPacket& packet);
    void OnPlayerGone(NetPacket& packet);
    void Refuse(int host, const std::string& why);

    Spawned mSpawned;
    std::function<void(Player& player)> mGone;
    std::string mSpawn = "CaveEntrance";
    std::map<std::uint32_t, std::uint32_t> mKillsBrought;
    std::uint32_t mOwn = 0;
    std::map<int, Join> mJoins;  // server: the clients' players, by host
    std::vector<std::uint32_t> mPlayers;
    std::vector<int> mRefusedHosts;  // server: to be dropped
    bool mInstalled = false;
    bool mServer = false;
    bool mStarted = false;
    int mRefused = 0;
};

}  // namespace GAME
