#pragma once
// One machine's part of a network game of the sample world, played in lockstep: the machines
// meet after each step of a frame and click in turn between frames (see Play), so every machine
// carries out what the others decided at the same point of the same frame. Each machine prints
// the play log, its checksum every N frames and a summary, and can write its checksums (and each
// character's hashed fields) for comparison with the others'.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Host/NetModes.h"
#include "Host/net/FrameMarks.h"
#include "Host/net/NetPlayers.h"
#include "Host/play/ClickSource.h"

namespace GAME {

class AttributeDriver;
class CampaignDriver;
class HostSaves;
class MarketDriver;
class PlayEventLog;
class SkillDriver;
class TradeDriver;

class NetPlaySession {
public:
    NetPlaySession(const NetPlayOptions& options, std::FILE* out);
    ~NetPlaySession();
    NetPlaySession(const NetPlaySession&) = delete;
    NetPlaySession& operator=(const NetPlaySession&) = delete;

    // Before connecting: the click list and the output files; false with the reason on stderr.
    bool Open();
    // Once connected: the game root as server or client, the seed, the level, the marks and
    // this machine's own player (not yet in the game).
    bool StartGame();
    // Client: brings the own player to the server. Server: whether a client's player came and
    // was taken (a refused one is told why and dropped); a client that left is forgotten.
    bool SendJoin();
    bool HasJoined(int host) const;
    void ForgetJoin(int host);
    void DropRefused();
    // Client: whether the server put this machine's player into the game.
    bool IsOwnInGame() const;
    // Server: puts its own player and those of the clients that joined into the game, in host
    // order, on every machine.
    bool SpawnPlayers(std::vector<int> clients);
    // Where this machine saves its player: --save, else the character file, else the class's
    // name with the host's number ("Warden-2.chr"; the server's "Warden.chr").
    static std::filesystem::path SaveFileOf(const NetPlayOptions& options, int host);
    // The frames and the summary; the exit code.
    int Play();
    // Shuts the game root down (also done by the destructor).
    void EndGame();

private:
    using Clock = std::chrono::steady_clock;
    // Client: receives until the server's marks reach `marks`; false, with the reason on
    // stderr, when the server left or its connection fell silent for the time-out (it may
    // wait longer for a silent client of its own, but goes on pinging meanwhile).
    bool WaitForServer(int marks, int frame);
    // Server: receives until the client's marks reach `marks`; a client that leaves, or that
    // has not marked when the meeting's deadline passes, is dropped and the game goes on
    // without it.
    void WaitForClient(int host, int marks, int frame, Clock::time_point deadline);
    Clock::time_point MeetingDeadline() const;
    bool IsClient(int host) const;
    void DropClient(int host, int frame, const char* why);
    void DropLeavers(int frame);
    // A client found gone mid-turn leaves the world only where every machine can take it out
    // at the same point: right before the server's next mark to all.
    void ApplyDepartures();
    bool SaveAtEnd();
    void AfterFrame(int frame);
    void ClickFor(int frame);
    bool Meet(int frame);
    // After held strikes landed: the machines meet once more.
    bool StrikeRound(int frame);
    bool ClickInTurn(int frame);
    void TakeChecksum(int frame);
    int Finish(double wallSeconds);

    const NetPlayOptions& mOptions;
    std::FILE* mOut;
    ClickSource mClicks;
    std::unique_ptr<PlayEventLog> mLog;
    std::unique_ptr<MarketDriver> mMarket;
    std::unique_ptr<NetPlayers> mPlayers;
    std::unique_ptr<HostSaves> mSaves;
    std::unique_ptr<TradeDriver> mTrade;
    std::unique_ptr<CampaignDriver> mCampaign;
    std::unique_ptr<SkillDriver> mSkills;
    std::unique_ptr<AttributeDriver> mAttributes;
    FrameMarks mMarks;
    std::vector<int> mClients;
    std::vector<int> mDeparting;
    std::uint32_t mOwnPlayer = 0;
    std::FILE* mChecksums = nullptr;
    std::FILE* mStateDump = nullptr;
    int mLastChecksumFrame = -1;
    int mMarksDue = 0;
    int mFramesPlayed = 0;  // the marks each other machine must have sent by now
    bool mGameStarted = false;
    std::uint64_t mNextProgress = 0;
};

}  // namespace GAME
