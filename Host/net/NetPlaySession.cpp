#include "Host/net/NetPlaySession.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Host/StopSignal.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/PlaySession.h"
#include "Host/play/StateChecksum.h"

namespace GAME {

namespace {

std::FILE* OpenOutput(const std::filesystem::path& file, const char* what) {
    if (file.empty())
        return nullptr;
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out)
        std::fprintf(stderr, "gamehost: cannot write the %s to %s\n", what, file.c_str());
    return out;
}

bool CloseOutput(std::FILE*& out, const std::filesystem::path& file) {
    if (!out)
        return true;
    const bool ok = std::ferror(out) == 0 && std::fclose(out) == 0;
    out = nullptr;
    if (!ok)
        std::fprintf(stderr, "gamehost: writing %s failed\n", file.c_str());
    return ok;
}

Player* FindPlayer(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Player>(id) : nullptr;
}

}  // namespace

NetPlaySession::NetPlaySession(const NetPlayOptions& options, std::FILE* out)
    : mOptions(options), mOut(out), mClicks(options.inputFile, options.recordFile) {}

NetPlaySession::~NetPlaySession() {
    EndGame();
    CloseOutput(mChecksums, mOptions.checksumsFile);
    CloseOutput(mStateDump, mOptions.stateDumpFile);
}

bool NetPlaySession::Open() {
    if (!mClicks.Open())
        return false;
    mChecksums = OpenOutput(mOptions.checksumsFile, "checksums");
    if (!mOptions.checksumsFile.empty() && !mChecksums)
        return false;
    mStateDump = OpenOutput(mOptions.stateDumpFile, "state dump");
    return mOptions.stateDumpFile.empty() || mStateDump;
}

bool NetPlaySession::StartGame() {
    GameEngine* root = StartGameRoot(mLog, mOut);
    mGameStarted = true;
    if (!root)
        return false;
    root->SetGameLoading(false);
    const bool server = gEngine->IsServer();
    if (server)
        root->SetAsNetworkServer();
    else
        root->SetAsNetworkClient();
    if (mOptions.seeded) {
        root->GetRandomGen().Seed(mOptions.seed);
        crt_srand(mOptions.seed);
    }
    const int host = gEngine->GetNetworkConnectionManager()->GetLocalHostId();
    std::fprintf(mOut, "gamehost: game root ready (%s, host %d, %s)\n",
                 server ? "server" : "client", host,
                 DescribeSeed(mOptions.seeded, mOptions.seed).c_str());
    if (!LoadSampleLevel() || !mClicks.CheckRegions())
        return false;
    mPlayers = std::make_unique<NetPlayers>(mOptions.classRecord, [this](Player& player, bool own) {
        const WorldVec3 at = player.GetPosition();
        if (own) {
            mOwnPlayer = player.GetObjectId();
            mLog->Attach(mOwnPlayer);
        }
        std::fprintf(mOut, "gamehost: %s (%s%s) enters %s at (%.1f, %.1f, %.1f)\n",
                     player.GetPlayerNameInChar().c_str(), own ? "played here, " : "",
                     mOptions.classRecord.c_str(), at.region ? at.region->GetName().c_str() : "",
                     static_cast<double>(at.local.x), static_cast<double>(at.local.y),
                     static_cast<double>(at.local.z));
    });
    mMarks.Install();
    if (!server)
        mPlayers->Install();
    return true;
}

bool NetPlaySession::SpawnPlayers(std::vector<int> clients) {
    std::sort(clients.begin(), clients.end());
    mClients = clients;
    for (int host : mClients)
        mMarks.AddClient(host);
    if (!mPlayers->SpawnAndSend(kServerHostId)) {
        std::fprintf(stderr, "gamehost: the server's player could not be made (see the log)\n");
        return false;
    }
    for (int host : mClients)
        mPlayers->SpawnAndSend(host);
    return true;
}

bool NetPlaySession::PeersStillHere(int frame) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    if (!gEngine->IsServer()) {
        if (net->GetTransport() && !net->GetTransport()->GetPeers().empty())
            return true;
        std::fprintf(stderr, "gamehost: the server left the game before frame %d\n", frame);
        return false;
    }
    const std::vector<int> connected = net->GetClientHosts();
    for (int host : mClients)
        if (std::find(connected.begin(), connected.end(), host) == connected.end()) {
            std::fprintf(stderr, "gamehost: client host %d left the game before frame %d\n", host,
                         frame);
            return false;
        }
    return true;
}

template <class Done>
bool NetPlaySession::WaitFor(Done done, int frame) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    const auto deadline = Clock::now() + std::chrono::milliseconds(mOptions.timeoutMs);
    while (!done()) {
        if (!PeersStillHere(frame))
            return false;
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "gamehost: no word from %s for %d ms before frame %d\n",
                         gEngine->IsServer() ? "a client" : "the server", mOptions.timeoutMs,
                         frame);
            return false;
        }
        net->ProcessIncoming(1);
    }
    return true;
}

void NetPlaySession::ClickFor(int frame) {
    if (Player* player = FindPlayer(mOwnPlayer))
        mClicks.ClickFor(*player, frame);
}

void NetPlaySession::TakeChecksum(int frame) {
    const std::string sum = FormatChecksum(ComputeWorldChecksum());
    mLastChecksumFrame = frame;
    if (mChecksums)
        std::fprintf(mChecksums, "%d %s\n", frame, sum.c_str());
    if (mStateDump)
        DumpWorldState(mStateDump, frame);
    if (frame <= mOptions.frames && mOptions.checksumEvery > 0 &&
        frame % mOptions.checksumEvery == 0)
        std::fprintf(mOut, "gamehost: frame %d checksum %s\n", frame, sum.c_str());
}

void NetPlaySession::AfterFrame(int frame) {
    mLog->Observe();
    const int progressMs = mOptions.progressSeconds * 1000;
    if (progressMs > 0) {
        if (mNextProgress == 0)
            mNextProgress = static_cast<std::uint64_t>(progressMs);
        if (gEngine->GetGameTime() >= mNextProgress) {
            mLog->PrintProgress(frame);
            mNextProgress += static_cast<std::uint64_t>(progressMs);
        }
    }
    if (mOptions.checksumEvery > 0 && frame % mOptions.checksumEvery == 0)
        TakeChecksum(frame);
}

// The machines meet after each step of a frame, so that what one machine decided in a step
// (a strike landing or a clip ending in the engine's step, a path's end in the entities' step, a
// controller's decision in the characters' step) is taken by every other before the next step: each
// client marks, the server passes every client's packets on and marks. Between two frames the
// machines click in turn, in host order, so that every machine runs the clicks' actions in one
// order (moves ask for places in turn: the order decides who stands where): the server clicks and
// gives each client its turn (a mark to it alone); the client clicks and marks; the server, having
// run and passed on that client's packets, gives the next its turn. A last mark to every client
// starts the next frame.
bool NetPlaySession::Meet(int frame) {
    ++mMarksDue;
    if (!gEngine->IsServer()) {
        mMarks.SendClientMark(mOwnPlayer);
        if (!WaitFor([&] { return mMarks.GetMarks(kServerHostId) >= mMarksDue; }, frame))
            return false;
        // Every machine has the step's strikes now: they land in one order everywhere.
        FrameStrikes::Get().RunHeld();
        return true;
    }
    for (int host : mClients)
        if (!WaitFor([&] { return mMarks.GetMarks(host) >= mMarksDue; }, frame))
            return false;
    mMarks.SendServerMark(mPlayers->GetPlayers());
    FrameStrikes::Get().RunHeld();
    return true;
}

bool NetPlaySession::ClickInTurn(int frame) {
    ++mMarksDue;
    if (gEngine->IsServer()) {
        if (frame <= mOptions.frames)
            ClickFor(frame);
        for (int host : mClients) {
            mMarks.SendServerMark(mPlayers->GetPlayers(), host);
            if (!WaitFor([&] { return mMarks.GetMarks(host) >= mMarksDue; }, frame))
                return false;
        }
        mMarks.SendServerMark(mPlayers->GetPlayers());
        return true;
    }
    if (!WaitFor([&] { return mMarks.GetMarks(kServerHostId) >= mMarksDue; }, frame))
        return false;
    if (!FindPlayer(mOwnPlayer)) {
        std::fprintf(stderr, "gamehost: the server spawned no player for this machine\n");
        return false;
    }
    if (frame <= mOptions.frames)
        ClickFor(frame);
    mMarks.SendClientMark(mOwnPlayer);
    ++mMarksDue;
    return WaitFor([&] { return mMarks.GetMarks(kServerHostId) >= mMarksDue; }, frame);
}

int NetPlaySession::Play() {
    const auto began = Clock::now();
    if (!ClickInTurn(1))
        return 1;
    InstallStopSignals();
    for (int frame = 1; frame <= mOptions.frames; ++frame) {
        if (const int signal = StopSignalReceived()) {
            std::fprintf(mOut, "gamehost: stopped by signal %d after frame %d\n", signal,
                         frame - 1);
            mFramesPlayed = frame - 1;
            return Finish(std::chrono::duration<double>(Clock::now() - began).count());
        }
        RunFrameEngineStep(mOptions.frameMs);
        if (!Meet(frame))
            return 1;
        RunFrameEntityStep();
        if (!Meet(frame))
            return 1;
        RunFrameCharacterStep(mOptions.frameMs);
        // The controllers' decisions of the frame (a death, a move) are in every checksum.
        if (!Meet(frame))
            return 1;
        AfterFrame(frame);
        if (!ClickInTurn(frame + 1))
            return 1;
        mFramesPlayed = frame;
    }
    return Finish(std::chrono::duration<double>(Clock::now() - began).count());
}

int NetPlaySession::Finish(double wallSeconds) {
    PrintPlaySummary(mOut, mFramesPlayed, *mLog, FindPlayer(mOwnPlayer), mClicks, wallSeconds);
    // Every player's credit as this machine has it: the same on every machine.
    for (std::uint32_t id : mPlayers->GetPlayers())
        if (Player* player = FindPlayer(id))
            std::fprintf(mOut, "gamehost: player %s: kills %u, experience %u, level %u\n",
                         player->GetPlayerNameInChar().c_str(), player->GetPlayStats().GetKills(),
                         player->GetExperiencePoints(), player->GetCharLevel());
    if (mLastChecksumFrame != mFramesPlayed)
        TakeChecksum(mFramesPlayed);
    std::fprintf(mOut, "gamehost: not saved (a network game)\n");
    bool ok = mClicks.Commit(mOut);
    ok = CloseOutput(mChecksums, mOptions.checksumsFile) && ok;
    ok = CloseOutput(mStateDump, mOptions.stateDumpFile) && ok;
    if (ok && !mOptions.checksumsFile.empty())
        std::fprintf(mOut, "gamehost: checksums written to %s\n", mOptions.checksumsFile.c_str());
    return ok ? 0 : 1;
}

void NetPlaySession::EndGame() {
    if (!mGameStarted)
        return;
    mGameStarted = false;
    mMarks.Uninstall();
    if (mPlayers)
        mPlayers->Uninstall();
    if (GameEngine* root = gGameEngine)
        root->SetPlayer(nullptr);
    World::Get().UnloadLevel();
    ShutdownObjects();
    mLog.reset();
}

}  // namespace GAME
