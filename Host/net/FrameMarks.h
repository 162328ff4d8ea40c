#pragma once
// The marks that keep the machines of a network game in lockstep. At each meeting the server
// reports its players' positions to the clients (PlayerPositionUpdatePacket) and a client
// reports its host id and its player's position to the server (FrustumUpdatePacket). The
// channel is ordered, so a mark says that everything its sender sent before it has arrived. The
// reports only count: nothing in them reaches the game, so every machine's state stays its own
// game's doing. The same holds for the position reports (UpdatePositionPacket) every machine
// sends when one of its characters teleports: each machine moves its characters itself.
#include <cstdint>
#include <map>
#include <vector>

#include "Game/core/net/packets/WorldPackets.h"

namespace GAME {

class NetPacket;

class FrameMarks {
public:
    // Takes over the handler of the kind this machine receives (the server: the clients' marks;
    // a client: the server's); Uninstall gives it back. The marks must outlive the connection
    // or be uninstalled first.
    void Install();
    void Uninstall();
    ~FrameMarks();

    // Server: a client whose marks are counted; marks of hosts not added are refused.
    void AddClient(int host);
    // Server: a client that left; its late marks are refused.
    void RemoveClient(int host) { mMarks.erase(host); }
    // The marks received from a host (a client counts the server's under host 0).
    int GetMarks(int host) const;
    int GetRefused() const { return mRefused; }
    // Position reports taken from other machines (those naming a host other than their sender
    // are refused).
    int GetPositionReports() const { return mPositionReports; }

    // Server: sends a client (-1: every client) a mark with these players' positions. A mark
    // that asks for a strike round (the machines meet once more after the held strikes landed)
    // lists id 0 last.
    void SendServerMark(const std::vector<std::uint32_t>& players, int host = -1,
                        bool strikeRound = false);
    // Client: whether the server's last mark asked for a strike round.
    bool IsStrikeRoundAsked() const { return mStrikeRoundAsked; }
    // Client: sends the server this machine's mark with its player's position.
    void SendClientMark(std::uint32_t player);

    // Whether a client's mark may count: it names its sender and a finite point (a
    // player between regions has none).
    static bool IsHonestClientMark(const FrustumUpdatePacket& mark, int sender);

private:
    void OnClientMark(NetPacket& packet);
    void OnServerMark(NetPacket& packet);
    void OnPositionReport(NetPacket& packet);

    bool mInstalled = false;
    bool mServer = false;
    std::map<int, int> mMarks;
    int mRefused = 0;
    int mPositionReports = 0;
    bool mStrikeRoundAsked = false;
    PlayerPositionUpdatePacket mServerMark;
    FrustumUpdatePacket mClientMark;
};

}  // namespace GAME
