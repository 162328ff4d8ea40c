#include "Host/play/PlaySession.h"

#include <algorithm>

#include "Host/HostApp.h"

#include <system_error>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/oneshot/OneShot.h"
#include "Game/quests/QuestRepository.h"
#include "Host/PrintableText.h"
#include "Host/StopSignal.h"
#include "Host/play/HostSaves.h"
#include "Host/play/MediaLog.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/PlayerClicks.h"
#include "Host/play/StateChecksum.h"
#include "Host/play/drivers/AttributeDriver.h"
#include "Host/play/drivers/CampaignDriver.h"
#include "Host/play/drivers/MarketDriver.h"
#include "Host/play/drivers/PotionDriver.h"
#include "Host/play/drivers/SkillDriver.h"

namespace GAME {

namespace {
// Where the campaign begins: the village in the meadow.
constexpr const char* kCampaignStart = "Start";
}  // namespace

std::optional<WorldCoords> PlayerStart(const std::string& spawn) {
    const std::vector<SpawnPoint>& spawns = World::Get().GetSpawnPoints();
    if (spawns.empty())
        return std::nullopt;
    const SpawnPoint* chosen = &spawns.front();
    for (const SpawnPoint& point : spawns)
        if (point.name == spawn)
            chosen = &point;
    WorldCoords coords = chosen->coords;
    WorldVec3 ground = coords.GetPosition();
    if (ground.PutOnFloor())
        coords.SetPosition(ground);
    return coords;
}

PlaySession::PlaySession(const PlayOptions& options, std::FILE* out)
    : mOptions(options), mOut(out), mClicks(options.inputFile, options.recordFile) {}

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

std::string DescribeSeed(bool seeded, unsigned seed) {
    if (seeded)
        return "seed " + std::to_string(seed);
    // The root seeds itself with the game time in seconds when it is made.
    return "seed " + std::to_string(gEngine->GetGameTime() / 1000) +
           " (the root's own, from the game time; --seed N picks another)";
}

GameEngine* StartGameRoot(std::unique_ptr<PlayEventLog>& log, std::FILE* out) {
    log = std::make_unique<PlayEventLog>(out);
    InitializeObjects();
    GameEngine* root = gGameEngine;
    if (!root)
        std::fprintf(stderr, "gamehost: the game root could not be created\n");
    return root;
}

bool PlaySession::StartGame() {
    if (!PrepareMachine(mOptions))
        return false;
    GameEngine* root = StartGameRoot(mLog, mOut);
    mMedia = std::make_unique<MediaLog>(mOut);
    mGameStarted = true;
    if (!root)
        return false;
    root->SetGameLoading(false);
    if (mOptions.seeded) {
        // After the root seeded itself, as the game does, so a given seed replays exactly.
        root->GetRandomGen().Seed(mOptions.seed);
        crt_srand(mOptions.seed);
    }
    std::fprintf(mOut, "gamehost: game root ready (single player, %s)\n",
                 DescribeSeed(mOptions.seeded, mOptions.seed).c_str());
    std::fflush(mOut);
    return LoadLevel(mOptions) && mClicks.CheckRegions();
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
    const std::vector<SpawnPoint>& points = World::Get().GetSpawnPoints();
    if (mOptions.spawn != PlayOptions().spawn &&
        std::none_of(points.begin(), points.end(),
                     [this](const SpawnPoint& point) { return point.name == mOptions.spawn; })) {
        std::fprintf(stderr, "gamehost: the level has no spawn point \"%s\" (--spawn)\n",
                     mOptions.spawn.c_str());
        return false;
    }
    const std::optional<WorldCoords> start =
        PlayerStart(PlaysCampaign() ? std::string(kCampaignStart) : mOptions.spawn);
    if (!start || !World::Get().AddEntity(player, *start, true)) {
        std::fprintf(stderr, "gamehost: the level has no spawn point to put the player on\n");
        return false;
    }
    mSaves = std::make_unique<HostSaves>(SaveFileOf(mOptions), !mOptions.noSave);
    GameEngine* root = gGameEngine;
    root->SetUI(mSaves.get());
    // The interface answers a pick-up with the player's loot sound.
    mSaves->SetPickUpListener([this](const std::wstring& description) {
        mLog->OnPickedUp(description);
        if (Player* taker = Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId))
            taker->PlayLootSound();
    });
    mSaves->SetNoticePrinter(
        [log = mLog.get()](const std::string& line) { log->PrintNotice(line); });
    root->SetAutoSave(!mOptions.noSave);
    player->SetGameInterface(mSaves.get());
    root->GetPlayerManagerClient()->SetMainPlayer(mPlayerId);
    player->SetIsControllingCharacter(true);
    player->InitialUpdate();
    root->SetPlayer(player);
    // A character saved with its quests takes them up where it left them.
    if (!file.empty()) {
        const std::filesystem::path quests = HostSaves::QuestFolderOf(file);
        if (std::filesystem::is_directory(quests, ec) &&
            !QuestRepository::Get()->LoadQuestState(quests, HostSaves::kQuestRepositoryFile))
            gEngine->Log(1, "Host: the quest state in %s could not be read", quests.c_str());
        root->SuperPreRun();
    }
    mLog->Attach(mPlayerId);
    const WorldVec3 at = player->GetPosition();
    std::fprintf(
        mOut, "gamehost: %s (%s) enters %s at (%.1f, %.1f, %.1f): level %u, experience %u\n",
        player->GetPlayerNameInChar().c_str(), classRecord.c_str(), at.region->GetName().c_str(),
        static_cast<double>(at.local.x), static_cast<double>(at.local.y),
        static_cast<double>(at.local.z), player->GetCharLevel(), player->GetExperiencePoints());
    if (file.empty())
        GiveStartingKit(*player);
    PrintWorn(*player);
    if (PlaysCampaign()) {
        mCampaign = std::make_unique<CampaignDriver>(*mLog, *mSaves);
        mClicks.SetCampaign(mCampaign.get());
    }
    return true;
}

bool PlaySession::PlaysCampaign() const {
    return mOptions.level == "Sample" && !mOptions.spawnGiven;
}

std::string StartingKitOf(const std::string& classRecord, std::vector<std::string>& records) {
    records.clear();
    std::string kitRecord = classRecord;
    const std::size_t dot = kitRecord.rfind(".dbr");
    if (dot == std::string::npos)
        return {};
    kitRecord.insert(dot, "Kit");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(kitRecord))
        return {};
    objects.GetLoadTable(kitRecord).GetStringArray("items", records);
    return kitRecord;
}

void PlaySession::GiveStartingKit(Player& player) {
    auto* controller = FindController<ControllerCharacter>(player);
    if (!controller)
        return;
    std::vector<std::string> records;
    const std::string kitRecord = StartingKitOf(mOptions.classRecord, records);
    for (const std::string& record : records) {
        Item* item = controller->CreateItemInInventory(record);
        auto* playerController = dynamic_cast<ControllerPlayer*>(controller);
        if (item && playerController)
            playerController->GiveItemToPlayer(item->GetObjectId());
        else if (item)
            controller->GetEquipmentCtrl().AutoInsertItem(item->GetObjectId());
        else
            std::fprintf(stderr, "gamehost: kit %s: %s makes no item\n", kitRecord.c_str(),
                         record.c_str());
    }
}

void PlaySession::PrintWorn(Player& player) {
    std::string worn;
    for (const EquipManagerContainer& entry : player.GetEquipManager().GetAttachedItems()) {
        const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(entry.itemId);
        if (!item)
            continue;
        std::wstring name;
        item->GetGameDescription(name);
        worn += (worn.empty() ? "" : ", ") + PrintableText(name);
    }
    if (!worn.empty())
        std::fprintf(mOut, "gamehost: %s wears %s\n", player.GetPlayerNameInChar().c_str(),
                     worn.c_str());
    PrintCarried(mOut, player);
}

void PrintCarried(std::FILE* out, const Player& player) {
    const auto* controller = FindController<ControllerPlayer>(player);
    if (!controller)
        return;
    const PlayerInventoryCtrl& bag = controller->GetInventoryCtrl();
    std::string carried;
    for (std::uint32_t sack = 0; sack < bag.GetNumberOfSacks(); ++sack)
        for (const auto& [id, rect] : bag.GetInventoryInSack(static_cast<int>(sack))) {
            const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id);
            if (!item)
                continue;
            std::wstring name;
            item->GetGameDescription(name);
            carried += (carried.empty() ? "" : ", ") + PlainItemText(name);
            if (const auto* potion = dynamic_cast<const OneShot_Potion*>(item))
                carried += " x" + std::to_string(potion->GetNumberInStack() + 1);
        }
    std::fprintf(out, "gamehost: %s carries %s\n", player.GetPlayerNameInChar().c_str(),
                 carried.empty() ? "nothing in the bag" : carried.c_str());
}

void PlaySession::PlayFrames() {
    const int progressMs = mOptions.progressSeconds * 1000;
    std::uint64_t nextProgress = progressMs > 0 ? static_cast<std::uint64_t>(progressMs) : 0;
    mFramesPlayed = 0;
    PotionDriver potions(*mLog);
    mMarket = std::make_unique<MarketDriver>(*mLog);
    if (mCampaign)
        mCampaign->SetMarket(mMarket.get());
    SkillDriver skills(*mLog);
    AttributeDriver attributes(*mLog);
    for (int frame = 1; frame <= mOptions.frames; ++frame) {
        if (const int signal = StopSignalReceived()) {
            std::fprintf(mOut, "gamehost: stopped by signal %d after frame %d\n", signal,
                         frame - 1);
            return;
        }
        if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId)) {
            mClicks.ClickFor(*player, frame);
            potions.DrinkIfLow(*player);
            attributes.Step(*player);
            if (mCampaign)
                skills.Step(*player, gEngine->GetGameTime(), mCampaign->GetCastRadius(),
                            mCampaign->MayCallPet());
            else
                skills.Step(*player, gEngine->GetGameTime());
            mMarket->Trade(*player);
        }
        RunFrame(mOptions.frameMs);
        RunFramePresentationStep();
        mLog->Observe();
        ShowNotifications();
        mMedia->Flush();
        if (progressMs > 0 && gEngine->GetGameTime() >= nextProgress) {
            mLog->PrintProgress(frame);
            nextProgress += static_cast<std::uint64_t>(progressMs);
        }
        if (mOptions.checksumEvery > 0 && frame % mOptions.checksumEvery == 0)
            std::fprintf(mOut, "gamehost: frame %d checksum %s\n", frame,
                         FormatChecksum(ComputeWorldChecksum()).c_str());
        mFramesPlayed = frame;
    }
}

void PlaySession::ShowNotifications() {
    GameEngine* root = gGameEngine;
    const LocalizationManager& texts = LocalizationManager::Instance();
    while (root && root->GetNumNotifications() > 0) {
        const GameEngine::UINotification note = root->TakeTopNotification();
        std::wstring line;
        for (const std::string& tag : note.tags)
            line += (line.empty() ? L"" : L" ") + texts.GetText(tag);
        for (const std::wstring& text : note.texts)
            line += (line.empty() ? L"" : L" ") + text;
        mLog->PrintNotice("gamehost: notice: " + PrintableText(line));
    }
}

void PrintPlaySummary(std::FILE* out, int frames, const PlayEventLog& log, Player* player,
                      const ClickSource& clicks, double wallSeconds) {
    std::fprintf(out, "gamehost: played %d frames (%llu ms of game time)\n", frames,
                 static_cast<unsigned long long>(gEngine->GetGameTime()));
    if (player) {
        // The kills the play statistics count (a monster counts once it is dead, not while it
        // dies), so that this line and the statistics' own agree.
        std::fprintf(out, "gamehost: kills %u, deaths %d, experience %u, level %u, gold %u\n",
                     player->GetPlayStats().GetKills(), log.GetDeaths(),
                     player->GetExperiencePoints(), player->GetCharLevel(), player->GetMoney());
        for (const std::string& line : player->GetPlayStats().GetRealTimeStrings())
            if (!line.empty())
                std::fprintf(out, "gamehost: %s\n", line.c_str());
    }
    PrintQuestLog(out);
    std::fprintf(out, "gamehost: %d clicks, %d delivered to the player controller\n",
                 clicks.GetClicksGiven(), clicks.GetClicksDelivered());
    const double fps = wallSeconds > 0.0 ? frames / wallSeconds : 0.0;
    std::fprintf(out, "gamehost: %.0f frames per second of wall time\n", fps);
    std::fprintf(out, "gamehost: checksum %s\n", FormatChecksum(ComputeWorldChecksum()).c_str());
}

void PlaySession::PrintSummary(double wallSeconds) {
    Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(mPlayerId);
    PrintPlaySummary(mOut, mFramesPlayed, *mLog, player, mClicks, wallSeconds);
    if (mCampaign)
        mCampaign->PrintSummary(mOut, player);
    if (player)
        PrintCarried(mOut, *player);
    mMedia->PrintSummary(mOut);
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
    QuestRepository::Get()->WaitDone();
    World::Get().UnloadLevel();
    ShutdownObjects();
    mClicks.SetCampaign(nullptr);
    mCampaign.reset();
    mMarket.reset();
    mLog.reset();
    mMedia.reset();
}

int PlaySession::Run() {
    std::setvbuf(mOut, nullptr, _IOLBF, 0);
    InstallStopSignals();
    if (!mClicks.Open())
        return 1;
    if (!StartGame() || !MakePlayer())
        return 1;
    const auto began = std::chrono::steady_clock::now();
    PlayFrames();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - began;
    PrintSummary(wall.count());
    bool ok = SaveAtEnd();
    ok = mClicks.Commit(mOut) && ok;
    EndGame();
    std::fprintf(mOut, "gamehost: game root shut down\n");
    return ok ? 0 : 1;
}

int RunPlay(const PlayOptions& options) {
    PlaySession session(options, stdout);
    return session.Run();
}

}  // namespace GAME
