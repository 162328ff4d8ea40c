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

#include "Engine/world/Region.h"
#include "Host/HostApp.h"
#include "Host/play/ClickSource.h"

namespace GAME {

class CampaignDriver;
class GameEngine;
class HostSaves;
class MarketDriver;
class MediaLog;
class Player;
class PlayEventLog;

// Where a player enters the sample level: the spawn point meant for players, else the level's
// first, put on the ground; none when the level has no spawn point.
std::optional<WorldCoords> PlayerStart(const std::string& spawn = "CaveEntrance");
// The end-of-run lines every mode prints: frames and game time, the player's kills, deaths,
// experience, level and play statistics, the clicks and the speed.
// What the player's bag holds, a potion pile with its count.
void PrintCarried(std::FILE* out, const Player& player);
void PrintPlaySummary(std::FILE* out, int frames, const PlayEventLog& log, Player* player,
                      const ClickSource& clicks, double wallSeconds);

// The records of the class's starting kit ("<class>Kit.dbr", key "items"), which it names;
// none (and "") when the class has no kit.
std::string StartingKitOf(const std::string& classRecord, std::vector<std::string>& records);

// "seed N" for the start line: the seed given, else the one the root took itself.
std::string DescribeSeed(bool seeded, unsigned seed);
// Makes the current machine's game root with `log` made first, so the log hears each death ahead
// of the root's reward; null, with a message, when no root could be made.
GameEngine* StartGameRoot(std::unique_ptr<PlayEventLog>& log, std::FILE* out);

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
    bool StartGame();
    bool MakePlayer();
    // `play` on the sample level without --spawn: the campaign, from the village.
    bool PlaysCampaign() const;
    // A new character of a class with a kit record ("<class>Kit.dbr", key "items") carries the
    // kit's items and wears those that fit.
    void GiveStartingKit(Player& player);
    void PrintWorn(Player& player);
    void PlayFrames();
    // Drains the root's notifications onto the log, as a UI shows them.
    void ShowNotifications();
    void PrintSummary(double wallSeconds);
    bool SaveAtEnd();
    void EndGame();

    const PlayOptions& mOptions;
    std::FILE* mOut;
    ClickSource mClicks;
    std::unique_ptr<PlayEventLog> mLog;
    std::unique_ptr<MediaLog> mMedia;
    std::unique_ptr<HostSaves> mSaves;
    // The sample level's campaign, when this run plays it.
    std::unique_ptr<CampaignDriver> mCampaign;
    std::unique_ptr<MarketDriver> mMarket;
    std::uint32_t mPlayerId = 0;
    int mFramesPlayed = 0;
    bool mGameStarted = false;
};

}  // namespace GAME
