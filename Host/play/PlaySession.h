#pragma once
// One run of `gamehost play`: the sample level, the player made from its class record or read
// from a character file, the clicks of the scripted driver or of a recorded list, the frames,
// and at the end a summary, the state checksum and the save.
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Host/HostApp.h"
#include "Host/play/ClickDriver.h"
#include "Host/play/ClickList.h"
#include "Host/play/HostClick.h"

namespace GAME {

class HostSaves;
class Player;
class PlayEventLog;

class PlaySession {
public:
    PlaySession(const PlayOptions& options, std::FILE* out);
    ~PlaySession();
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // The whole run; the process's exit code (0, or 1 with the reason on stderr).
    int Run();

    // Where the character is saved: --save, else the character file read, else the class's
    // name beside the working folder ("Warden.chr").
    static std::filesystem::path SaveFileOf(const PlayOptions& options);

private:
    bool ReadInput();
    bool CheckInputRegions();
    bool StartGame();
    bool MakePlayer();
    void PlayFrames();
    void ClickFor(int frame);
    void PrintSummary(double wallSeconds);
    bool SaveAtEnd();
    void EndGame();

    const PlayOptions& mOptions;
    std::FILE* mOut;
    std::vector<HostClick> mReplay;
    std::size_t mNextReplay = 0;
    ClickDriver mDriver;
    std::unique_ptr<ClickRecorder> mRecorder;
    std::unique_ptr<PlayEventLog> mLog;
    std::unique_ptr<HostSaves> mSaves;
    std::uint32_t mPlayerId = 0;
    bool mGameStarted = false;
    int mClicksDelivered = 0;
    int mClicksGiven = 0;
};

}  // namespace GAME
