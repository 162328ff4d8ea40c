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

class PlayEventLog;

class NetPlaySession {
public:
    NetPlaySession(const NetPlayOptions& options, std::FILE* out);
    ~NetPlaySession();
    NetPlaySession(const NetPlaySession&) = delete;
    NetPlaySession& operator=(const NetPlaySession&) = delete;

    // Before connecting: the click list and the output files; false with the reason on stderr.
    bool Open();
    // Once connected: the game root as server or client, the seed, the level, the marks.
    bool StartGame();
    // Server: makes its own player and those of the clients, in host order, on every machine.
    bool SpawnPlayers(std::vector<int> clients);
    // The frames and the summary; the exit code.
    int Play();
    // Shuts the game root down (also done by the destructor).
    void EndGame();

private:
    using Clock = std::chrono::steady_clock;
    // Receives until `done` holds; false, with the reason on stderr, when a machine left or
    // none answered within the time-out.
    template <class Done>
    bool WaitFor(Done done, int frame);
    bool PeersStillHere(int frame);
    void AfterFrame(int frame);
    void ClickFor(int frame);
    bool Meet(int frame);
    bool ClickInTurn(int frame);
    void TakeChecksum(int frame);
    int Finish(double wallSeconds);

    const NetPlayOptions& mOptions;
    std::FILE* mOut;
    ClickSource mClicks;
    std::unique_ptr<PlayEventLog> mLog;
    std::unique_ptr<NetPlayers> mPlayers;
    FrameMarks mMarks;
    std::vector<int> mClients;
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
