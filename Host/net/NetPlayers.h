#pragma once
// The players of a network game. Every machine makes every player itself from the class
// record, when the server's spawn packet for it arrives, in the order the server sends them
// (its own first, then its clients by host id). Made in one order under caller-given ids, the
// players and the skills they bring get the same object ids on every machine.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace GAME {

class NetPacket;
class Player;

// The id of the player a host brings: the host's number in the top four bits, as the game's
// player lists expect; far above the ids the level takes.
std::uint32_t NetPlayerId(int host);

class NetPlayers {
public:
    // Told of each player made here, with whether it is this machine's own.
    using Spawned = std::function<void(Player& player, bool own)>;

    NetPlayers(std::string classRecord, Spawned spawned);
    ~NetPlayers();
    NetPlayers(const NetPlayers&) = delete;
    NetPlayers& operator=(const NetPlayers&) = delete;

    // Client: makes the players the server's spawn packets name (installed as the handler of
    // the kind until Uninstall).
    void Install();
    void Uninstall();
    // Server: makes the player of a host here and sends its spawn packet to every client;
    // null (logged) when it cannot be made.
    Player* SpawnAndSend(int host);

    // The players made so far, in the order they were made.
    const std::vector<std::uint32_t>& GetPlayers() const { return mPlayers; }
    int GetRefused() const { return mRefused; }

private:
    Player* Spawn(std::uint32_t id);
    void OnSpawnPacket(NetPacket& packet);

    std::string mClassRecord;
    Spawned mSpawned;
    std::vector<std::uint32_t> mPlayers;
    bool mInstalled = false;
    int mRefused = 0;
};

}  // namespace GAME
