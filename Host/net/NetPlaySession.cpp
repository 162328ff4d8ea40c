#include "Host/net/NetPlaySession.h"

#include <algorithm>
#include <set>

#include "Engine/Engine.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/items/inventory/Inventory.h"
#include "Host/StopSignal.h"
#include "Host/net/TradeDriver.h"
#include "Host/play/HostSaves.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/PlaySession.h"
#include "Host/play/StateChecksum.h"
#include "Host/play/drivers/AttributeDriver.h"
#include "Host/play/drivers/CampaignDriver.h"
#include "Host/play/drivers/MarketDriver.h"
#include "Host/play/drivers/SkillDriver.h"

namespace GAME {

namespace {

// Where the campaign begins, as in a game of one: the village in the meadow.
constexpr const char* kCampaignStart = "Start";
constexpr const char* kCampaignLevel = "Sample";

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

// "gamehost: goods of NAME: gold G; items A, B": the items the player carries or wears, by name.
void PrintGoods(std::FILE* out, const Player& player) {
    // By id: an id listed twice is one item.
    std::set<std::uint32_t> ids(player.GetInventory().GetInventoryItems().begin(),
                                player.GetInventory().GetInventoryItems().end());
    for (const EquipManagerContainer& worn : player.GetEquipManager().GetAttachedItems())
        ids.insert(worn.itemId);
    std::vector<std::string> names;
    for (std::uint32_t id : ids)
        if (const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id)) {
            std::wstring name;
            item->GetGameDescription(name);
            names.push_back(PlainItemText(name));
        }
    std::sort(names.begin(), names.end());
    std::string items;
    for (const std::string& name : names)
        items += (items.empty() ? "" : ", ") + name;
    std::fprintf(out, "gamehost: goods of %s: gold %u; items %s\n",
                 player.GetPlayerNameInChar().c_str(), player.GetMoney(),
                 items.empty() ? "none" : items.c_str());
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
    if (!LoadLevel(mOptions) || !mClicks.CheckRegions())
        return false;
    mPlayers = std::make_unique<NetPlayers>([this](Player& player, bool own) {
        const WorldVec3 at = player.GetPosition();
        if (own) {
            mOwnPlayer = player.GetObjectId();
            mLog->Attach(mOwnPlayer);
        }
        std::fprintf(mOut,
                     "gamehost: %s (%s%s) enters %s at (%.1f, %.1f, %.1f): level %u, "
                     "experience %u\n",
                     player.GetPlayerNameInChar().c_str(), own ? "played here, " : "",
                     player.GetObjectName().c_str(), at.region ? at.region->GetName().c_str() : "",
                     static_cast<double>(at.local.x), static_cast<double>(at.local.y),
                     static_cast<double>(at.local.z), player.GetCharLevel(),
                     player.GetExperiencePoints());
    });
    if (!server)
        mPlayers->SetGone([this](Player& player) {
            std::fprintf(mOut, "gamehost: %s left the game after frame %d\n",
                         player.GetPlayerNameInChar().c_str(), mFramesPlayed);
        });
    const std::vector<SpawnPoint>& points = World::Get().GetSpawnPoints();
    if (std::none_of(points.begin(), points.end(),
                     [this](const SpawnPoint& point) { return point.name == mOptions.spawn; }) &&
        mOptions.spawn != PlayOptions().spawn) {
        std::fprintf(stderr, "gamehost: the level has no spawn point \"%s\" (--spawn)\n",
                     mOptions.spawn.c_str());
        return false;
    }
    if (mOptions.campaign && mOptions.level != kCampaignLevel) {
        std::fprintf(stderr, "gamehost: --campaign plays the level \"%s\" only\n", kCampaignLevel);
        return false;
    }
    mPlayers->SetSpawn(mOptions.campaign ? std::string(kCampaignStart) : mOptions.spawn);
    mMarket = std::make_unique<MarketDriver>(*mLog);
    mTrade = std::make_unique<TradeDriver>(*mLog);
    mSkills = std::make_unique<SkillDriver>(*mLog);
    mAttributes = std::make_unique<AttributeDriver>(*mLog);
    mMarks.Install();
    mPlayers->Install();
    Player* own = mPlayers->MakeOwn(mOptions.classRecord, mOptions.characterFile);
    if (!own)
        return false;
    // Each machine saves its own player, as a single player's host does.
    mSaves = std::make_unique<HostSaves>(SaveFileOf(mOptions, host), !mOptions.noSave);
    mSaves->SetPickUpListener([this](const std::wstring& description) {
        mLog->OnPickedUp(description);
        if (Player* taker = FindPlayer(mOwnPlayer))
            taker->PlayLootSound();
    });
    mSaves->SetNoticePrinter(
        [log = mLog.get()](const std::string& line) { log->PrintNotice(line); });
    root->SetUI(mSaves.get());
    root->SetAutoSave(!mOptions.noSave);
    own->SetGameInterface(mSaves.get());
    if (mOptions.campaign) {
        mCampaign = std::make_unique<CampaignDriver>(*mLog, *mSaves);
        mCampaign->SetMarket(mMarket.get());
        mClicks.SetCampaign(mCampaign.get());
    }
    return true;
}

std::filesystem::path NetPlaySession::SaveFileOf(const NetPlayOptions& options, int host) {
    std::filesystem::path file = PlaySession::SaveFileOf(options);
    if (host == kServerHostId || !options.saveFile.empty() || !options.characterFile.empty())
        return file;
    return file.stem().string() + "-" + std::to_string(host) + file.extension().string();
}

bool NetPlaySession::SendJoin() {
    return mPlayers && mPlayers->SendJoin();
}

bool NetPlaySession::HasJoined(int host) const {
    return mPlayers && mPlayers->HasJoined(host);
}

void NetPlaySession::DropRefused() {
    if (mPlayers)
        mPlayers->DropRefused();
}

void NetPlaySession::ForgetJoin(int host) {
    if (mPlayers)
        mPlayers->ForgetJoin(host);
}

bool NetPlaySession::IsOwnInGame() const {
    return mPlayers && mPlayers->IsOwnInGame();
}

bool NetPlaySession::SpawnPlayers(std::vector<int> clients) {
    std::sort(clients.begin(), clients.end());
    std::erase_if(clients, [this](int host) { return !mPlayers->HasJoined(host); });
    mClients = clients;
    for (int host : mClients)
        mMarks.AddClient(host);
    if (!mPlayers->StartGame(mClients)) {
        std::fprintf(stderr, "gamehost: the server's player could not be put in (see the log)\n");
        return false;
    }
    return true;
}

bool NetPlaySession::IsClient(int host) const {
    return std::find(mClients.begin(), mClients.end(), host) != mClients.end();
}

void NetPlaySession::DropClient(int host, int frame, const char* why) {
    if (!IsClient(host))
        return;
    std::erase(mClients, host);
    mMarks.RemoveClient(host);
    const Player* player = FindPlayer(NetPlayerId(host));
    std::fprintf(mOut,
                 "gamehost: client host %d %s before frame %d: %s leaves the game, the "
                 "others play on\n",
                 host, why, frame, player ? player->GetPlayerNameInChar().c_str() : "its player");
    gEngine->GetNetworkConnectionManager()->DropHost(host, why);
    mDeparting.push_back(host);
}

void NetPlaySession::ApplyDepartures() {
    for (int host : mDeparting)
        mPlayers->RemoveHost(host);
    mDeparting.clear();
}

void NetPlaySession::DropLeavers(int frame) {
    const std::vector<int> connected = gEngine->GetNetworkConnectionManager()->GetClientHosts();
    for (int host : std::vector<int>(mClients))
        if (std::find(connected.begin(), connected.end(), host) == connected.end())
            DropClient(host, frame, "left the game");
}

bool NetPlaySession::WaitForServer(int marks, int frame) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    // The server gives up on a silent client within its own time-out, once per meeting.
    const auto deadline = Clock::now() + 3 * std::chrono::milliseconds(mOptions.timeoutMs);
    while (mMarks.GetMarks(kServerHostId) < marks) {
        NetTransport* transport = net->GetTransport();
        if (!transport || transport->GetPeers().empty()) {
            std::fprintf(stderr, "gamehost: the server left the game before frame %d\n", frame);
            return false;
        }
        const int silence = transport->GetSilenceMs(kServerHostId);
        if (silence > mOptions.timeoutMs || Clock::now() > deadline) {
            std::fprintf(stderr, "gamehost: no word from the server for %d ms before frame %d\n",
                         std::max(silence, mOptions.timeoutMs), frame);
            return false;
        }
        net->ProcessIncoming(1);
    }
    return true;
}

NetPlaySession::Clock::time_point NetPlaySession::MeetingDeadline() const {
    return Clock::now() + std::chrono::milliseconds(mOptions.timeoutMs);
}

void NetPlaySession::WaitForClient(int host, int marks, int frame, Clock::time_point deadline) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    while (IsClient(host) && mMarks.GetMarks(host) < marks) {
        DropLeavers(frame);
        // A machine that was killed says nothing, not even goodbye.
        if (IsClient(host) && Clock::now() > deadline)
            DropClient(host, frame, "said nothing for the time-out");
        net->ProcessIncoming(1);
    }
}

void NetPlaySession::ClickFor(int frame) {
    Player* player = FindPlayer(mOwnPlayer);
    if (!player)
        return;
    mClicks.ClickFor(*player, frame);
    // Points are spent and skills cast in the player's turn, as its clicks: the server answers a
    // spend in that order, and the casts' strikes meet the others'. Only the campaign casts: it
    // says where a cast helps; elsewhere a player casting at whatever is near stalls the fights.
    mAttributes->Step(*player);
    if (mCampaign)
        mSkills->Step(*player, gEngine->GetGameTime(), mCampaign->GetCastRadius(),
                      mCampaign->MayCallPet());
    // At a stall the player deals in its turn too: the server answers in that order.
    if (mMarket)
        mMarket->Trade(*player);
    if (mTrade)
        mTrade->Step(*player, gEngine->GetNetworkConnectionManager()->GetLocalHostId(), frame,
                     mPlayers->GetPlayers());
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
    FrameStrikes& strikes = FrameStrikes::Get();
    if (!gEngine->IsServer()) {
        mMarks.SendClientMark(mOwnPlayer);
        if (!WaitForServer(mMarksDue, frame))
            return false;
        // Every machine has the step's strikes now: they land in one order everywhere.
        strikes.RunHeld();
        return !mMarks.IsStrikeRoundAsked() || StrikeRound(frame);
    }
    const auto deadline = MeetingDeadline();
    for (int host : std::vector<int>(mClients))
        WaitForClient(host, mMarksDue, frame, deadline);
    ApplyDepartures();
    const bool struck = strikes.GetHeldCount() != 0;
    mMarks.SendServerMark(mPlayers->GetPlayers(), -1, struck);
    strikes.RunHeld();
    return !struck || StrikeRound(frame);
}

// What a machine decides as the strikes land (a foe turning on its attacker, a death) must
// reach the others before the next step, as any decision of a step does: after strikes the
// machines meet once more. The server, which holds every strike, says when (a client's own
// count could miss one it dropped and leave the machines waiting on each other).
bool NetPlaySession::StrikeRound(int frame) {
    ++mMarksDue;
    if (!gEngine->IsServer()) {
        mMarks.SendClientMark(mOwnPlayer);
        return WaitForServer(mMarksDue, frame);
    }
    const auto deadline = MeetingDeadline();
    for (int host : std::vector<int>(mClients))
        WaitForClient(host, mMarksDue, frame, deadline);
    ApplyDepartures();
    mMarks.SendServerMark(mPlayers->GetPlayers());
    return true;
}

bool NetPlaySession::ClickInTurn(int frame) {
    ++mMarksDue;
    if (gEngine->IsServer()) {
        if (frame <= mOptions.frames)
            ClickFor(frame);
        for (int host : std::vector<int>(mClients)) {
            if (!IsClient(host))
                continue;
            mMarks.SendServerMark(mPlayers->GetPlayers(), host);
            // Each turn has its own time: a silent client before it must not use it up.
            WaitForClient(host, mMarksDue, frame, MeetingDeadline());
        }
        ApplyDepartures();
        mMarks.SendServerMark(mPlayers->GetPlayers());
        return true;
    }
    if (!WaitForServer(mMarksDue, frame))
        return false;
    if (!FindPlayer(mOwnPlayer)) {
        std::fprintf(stderr, "gamehost: the server spawned no player for this machine\n");
        return false;
    }
    if (frame <= mOptions.frames)
        ClickFor(frame);
    mMarks.SendClientMark(mOwnPlayer);
    ++mMarksDue;
    return WaitForServer(mMarksDue, frame);
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
    if (gEngine->IsServer())
        ApplyDepartures();
    PrintPlaySummary(mOut, mFramesPlayed, *mLog, FindPlayer(mOwnPlayer), mClicks, wallSeconds);
    if (mCampaign)
        mCampaign->PrintSummary(mOut, FindPlayer(mOwnPlayer));
    // Every player's credit in this game as this machine has it: the same on every machine.
    for (std::uint32_t id : mPlayers->GetPlayers())
        if (Player* player = FindPlayer(id))
            std::fprintf(mOut, "gamehost: player %s: kills %u, experience %u, level %u\n",
                         player->GetPlayerNameInChar().c_str(),
                         player->GetPlayStats().GetKills() - mPlayers->GetKillsBrought(id),
                         player->GetExperiencePoints(), player->GetCharLevel());
    // And what each carries and has: the same on every machine too.
    for (std::uint32_t id : mPlayers->GetPlayers())
        if (Player* player = FindPlayer(id))
            PrintGoods(mOut, *player);
    if (mLastChecksumFrame != mFramesPlayed)
        TakeChecksum(mFramesPlayed);
    bool ok = SaveAtEnd();
    ok = mClicks.Commit(mOut) && ok;
    ok = CloseOutput(mChecksums, mOptions.checksumsFile) && ok;
    ok = CloseOutput(mStateDump, mOptions.stateDumpFile) && ok;
    if (ok && !mOptions.checksumsFile.empty())
        std::fprintf(mOut, "gamehost: checksums written to %s\n", mOptions.checksumsFile.c_str());
    return ok ? 0 : 1;
}

bool NetPlaySession::SaveAtEnd() {
    if (mOptions.noSave) {
        std::fprintf(mOut, "gamehost: not saved (--no-save)\n");
        return true;
    }
    if (!mSaves || !mSaves->SaveGame()) {
        std::fprintf(stderr, "gamehost: the character could not be saved to %s\n",
                     mSaves ? mSaves->GetFile().string().c_str() : "?");
        return false;
    }
    std::fprintf(mOut, "gamehost: saved %s\n", mSaves->GetFile().string().c_str());
    return true;
}

void NetPlaySession::EndGame() {
    if (!mGameStarted)
        return;
    mGameStarted = false;
    mMarks.Uninstall();
    mClicks.SetCampaign(nullptr);
    mCampaign.reset();
    if (mPlayers)
        mPlayers->Uninstall();
    if (GameEngine* root = gGameEngine) {
        root->SetUI(nullptr);
        root->SetPlayer(nullptr);
    }
    if (mPlayers)
        if (Player* own = FindPlayer(mPlayers->GetOwnId()))
            own->SetGameInterface(nullptr);
    World::Get().UnloadLevel();
    ShutdownObjects();
    mLog.reset();
}

}  // namespace GAME
