#include "Host/play/PlaySession.h"

#include <system_error>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Host/play/HostSaves.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/PlayerClicks.h"
#include "Host/play/StateChecksum.h"

namespace GAME {

namespace {

constexpr const char* kPlayerSpawn = "CaveEntrance";

// Where the player enters the level: the spawn point meant for it, else the level's first, put
// on the ground.
std::optional<WorldCoords> PlayerStart() {
    const std::vector<SpawnPoint>& spawns = World::Get().GetSpawnPoints();
    if (spawns.empty())
        return std::nullopt;
    const SpawnPoint* chosen = &spawns.front();
    for (const SpawnPoint& spawn : spawns)
        if (spawn.name == kPlayerSpawn)
            chosen = &spawn;
    WorldCoords coords = chosen->coords;
    WorldVec3 ground = coords.GetPosition();
    if (ground.PutOnFloor())
        coords.SetPosition(ground);
    return coords;
}

}  // namespace

PlaySession::PlaySession(const PlayOptions& options, std::FILE* out)
    : mOptions(options), mOut(out) {}

PlaySession::~PlaySession() {
    EndGame();
}

std::filesystem::path PlaySession::SaveFileOf(const PlayOptions& options) {
    if (!options.saveFile.empty())
        return options.saveFile;
    if (!options.characterFile.empty())
        return options.characterFile;
    std::string record = options.classRecord;
    for (char& c : record)
        if (c == '\\')
            c = '/';
    return std::filesystem::path(record).stem().string() + ".chr";
}

bool PlaySession::ReadInput() {
    if (mOptions.inputFile.empty())
        return true;
    std::string error;
    if (!ReadClickList(mOptions.inputFile, mReplay, error)) {
        std::fprintf(stderr, "gamehost: %s\n", error.c_str());
        return false;
    }
    return true;
}

bool PlaySession::CheckInputRegions() {
    for (const HostClick& click : mReplay)
        if (!World::Get().GetRegion(click.region)) {
            std::fprintf(stderr, "gamehost: %s:%d: the level has no region \"%s\"\n",
                         mOptions.inputFile.string().c_str(), click.line, click.region.c_str());
            return false;
        }
    return true;
}

bool PlaySession::StartGame() {
    if (!PrepareMachine(mOptions))
        return false;
    // Before the root: the log hears each death ahead of the root's reward.
    mLog = std::make_unique<PlayEventLog>(mOut);
    InitializeObjects();
    mGameStarted = true;
    GameEngine* root = gGameEngine;
    if (!root) {
        std::fprintf(stderr, "gamehost: the game root could not be created\n");
        return false;
    }
    root->SetGameLoading(false);
    if (mOptions.seeded) {
        // After the root seeded itself, as the game does, so a given seed replays exactly.
        root->GetRandomGen().Seed(mOptions.seed);
        crt_srand(mOptions.seed);
    }
    std::fprintf(mOut, "gamehost: game root ready (single player, seed %s)\n",
                 mOptions.seeded ? std::to_string(mOptions.seed).c_str() : "from the game time");
    std::fflush(mOut);
    return LoadSampleLevel() && CheckInputRegions();
}

bool PlaySession::MakePlayer() {
    const std::string& classRecord = mOptions.classRecord;
    const std::filesystem::path& file = mOptions.characterFile;
    std::error_code ec;
    if (!file.empty() && !std::filesystem::is_regular_file(file, ec)) {
        std::fprintf(stderr, "gamehost: character file %s not found\n", file.string().c_str());
        return false;
    }
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Player* player = objects.CreateObjectFromFile<Player>(classRecord);
    if (!player) {
        std::fprintf(stderr,
                     "gamehost: class record %s is unknown or does not make a Player (see the "
                     "log above)\n",
                     classRecord.c_str());
        return false;
    }
    mPlayerId = player->GetObjectId();
    player->SetPlayerName(L"Warden");
    if (!file.empty() && !player->LoadCharacterFile(file)) {
        std::fprintf(stderr,
                     "gamehost: character file %s is damaged or not a character file (the log "
                     "above names the property); it is left as it was\n",
                     file.string().c_str());
        return false;
    }
    const std::optional<WorldCoords> start = PlayerStart();
    if (!start || !World::Get().AddEntity(player, *start, true)) {
        std::fprintf(stderr, "gamehost: the level has no spawn point to put the player on\n");
        return false;
    }
    mSaves = std::make_unique<HostSaves>(SaveFileOf(mOptions), !mOptions.noSave);
    GameEngine* root = gGameEngine;
    root->SetUI(mSaves.get());
    root->SetAutoSave(!mOptions.noSave);
    player->SetGameInterface(mSaves.get());
    root->GetPlayerManagerClient()->SetMainPlayer(mPlayerId);
    player->SetIsControllingCharacter(true);
    player->InitialUpdate();
    root->SetPlayer(player);
    mLog->Attach(mPlayerId);
    const WorldVec3 at = player->GetPosition();
    std::fprintf(
        mOut, "gamehost: %s (%s) enters %s at (%.1f, %.1f, %.1f): level %u, experience %u\n",
        player->GetPlayerNameInChar().c_str(), classRecord.c_str(), at.region->GetName().c_str(),
        static_cast<double>(at.local.x), static_cast<double>(at.local.y),
        static_cast<double>(at.local.z), player->GetCharLevel(), player->GetExperiencePoints());
    return true;
}

void PlaySession::ClickFor(int frame) {
    Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId);
    if (!player)
        return;
    auto give = [&](const HostClick& click) {
        ++mClicksGiven;
        if (mRecorder)
            mRecorder->Add(click);
        if (DeliverClick(*player, click))
            ++mClicksDelivered;
    };
    if (!mOptions.inputFile.empty()) {
        while (mNextReplay < mReplay.size() && mReplay[mNextReplay].frame <= frame)
            give(mReplay[mNextReplay++]);
        return;
    }
    if (std::optional<HostClick> click = mDriver.Next(*player, frame, gEngine->GetGameTime()))
        give(*click);
}

void PlaySession::PlayFrames() {
    const int progressMs = mOptions.progressSeconds * 1000;
    std::uint64_t nextProgress = progressMs > 0 ? static_cast<std::uint64_t>(progressMs) : 0;
    for (int frame = 1; frame <= mOptions.frames; ++frame) {
        ClickFor(frame);
        RunFrame(mOptions.frameMs);
        mLog->Observe();
        if (progressMs > 0 && gEngine->GetGameTime() >= nextProgress) {
            mLog->PrintProgress(frame);
            nextProgress += static_cast<std::uint64_t>(progressMs);
        }
        if (mOptions.checksumEvery > 0 && frame % mOptions.checksumEvery == 0)
            std::fprintf(mOut, "gamehost: frame %d checksum %s\n", frame,
                         FormatChecksum(ComputeWorldChecksum()).c_str());
    }
}

void PlaySession::PrintSummary(double wallSeconds) {
    Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId);
    std::fprintf(mOut, "gamehost: played %d frames (%llu ms of game time)\n", mOptions.frames,
                 static_cast<unsigned long long>(gEngine->GetGameTime()));
    if (player) {
        std::fprintf(mOut, "gamehost: kills %d, deaths %d, experience %u, level %u\n",
                     mLog->GetKills(), mLog->GetDeaths(), player->GetExperiencePoints(),
                     player->GetCharLevel());
        for (const std::string& line : player->GetPlayStats().GetRealTimeStrings())
            if (!line.empty())
                std::fprintf(mOut, "gamehost: %s\n", line.c_str());
    }
    std::fprintf(mOut, "gamehost: %d clicks, %d delivered to the player controller\n", mClicksGiven,
                 mClicksDelivered);
    const double fps = wallSeconds > 0.0 ? mOptions.frames / wallSeconds : 0.0;
    std::fprintf(mOut, "gamehost: %.0f frames per second of wall time\n", fps);
    std::fprintf(mOut, "gamehost: checksum %s\n", FormatChecksum(ComputeWorldChecksum()).c_str());
}

bool PlaySession::SaveAtEnd() {
    if (mOptions.noSave) {
        std::fprintf(mOut, "gamehost: not saved (--no-save)\n");
        return true;
    }
    if (!mSaves->SaveGame()) {
        std::fprintf(stderr, "gamehost: the character could not be saved to %s\n",
                     mSaves->GetFile().string().c_str());
        return false;
    }
    std::fprintf(mOut, "gamehost: saved %s\n", mSaves->GetFile().string().c_str());
    return true;
}

void PlaySession::EndGame() {
    if (!mGameStarted)
        return;
    mGameStarted = false;
    if (GameEngine* root = gGameEngine) {
        root->SetUI(nullptr);
        root->SetPlayer(nullptr);
    }
    if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId))
        player->SetGameInterface(nullptr);
    World::Get().UnloadLevel();
    ShutdownObjects();
    mLog.reset();
}

int PlaySession::Run() {
    std::setvbuf(mOut, nullptr, _IOLBF, 0);
    if (!ReadInput())
        return 1;
    if (!mOptions.recordFile.empty()) {
        mRecorder = std::make_unique<ClickRecorder>(mOptions.recordFile);
        if (std::string error; !mRecorder->Open(error)) {
            std::fprintf(stderr, "gamehost: %s\n", error.c_str());
            return 1;
        }
    }
    if (!StartGame() || !MakePlayer())
        return 1;
    const auto began = std::chrono::steady_clock::now();
    PlayFrames();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - began;
    PrintSummary(wall.count());
    bool ok = SaveAtEnd();
    if (mRecorder) {
        if (std::string error; !mRecorder->Commit(error)) {
            std::fprintf(stderr, "gamehost: %s\n", error.c_str());
            ok = false;
        } else {
            std::fprintf(mOut, "gamehost: clicks written to %s\n",
                         mOptions.recordFile.string().c_str());
        }
    }
    EndGame();
    std::fprintf(mOut, "gamehost: game root shut down\n");
    return ok ? 0 : 1;
}

int RunPlay(const PlayOptions& options) {
    PlaySession session(options, stdout);
    return session.Run();
}

}  // namespace GAME
