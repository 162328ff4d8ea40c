#include "Game/core/GameEngine.h"
#include "Game/rules/death/DeathRemovals.h"

#include <algorithm>
#include <climits>

#include "Engine/Engine.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Game/characters/Player.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/AssertHandler.h"
#include "Game/core/GameConstants.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/core/players/Team.h"
#include "Game/items/market/TradeManager.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/conversation/NpcConversationManager.h"
#include "Game/rules/RacialBonusRaces.h"
#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

namespace {

// The hint timers are 32-bit milliseconds and a dedicated server outlives 24.8 days of them:
// they stop at the largest count instead of wrapping (every hint they drive is long due then).
int AddElapsed(int timer, int elapsedMs) {
    const long long sum = static_cast<long long>(timer) + elapsedMs;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

Player* FindPlayerById(std::uint32_t id) {
    return id == 0 ? nullptr : Singleton<ObjectManager>::Get().GetObject<Player>(id);
}
}  // namespace

GameEngine::GameEngine() : creatureDeathListener("GameEvent_CreatureDeath", "GameEngine") {
    // Seconds of game time, not of the wall clock: a run replays the same on every machine.
    randomGen.Seed(static_cast<std::uint32_t>(gEngine ? gEngine->GetGameTime() / 1000 : 0));
    armorDefensiveAbsorption = 0;
    pendingBanPlayerId = 0;
    ResetTutorialState();
    pendingPortal.pending = false;
    ui = nullptr;
    experienceEquation.reset();
    deathPenaltyEquation.reset();
    LoadFromDatabase(recordName);
    overlayColor = Color{1, 1, 1, 0};

    outbound = std::make_unique<GameEngineOutboundInterface>();
    inbound = std::make_unique<GameEngineInboundInterface>();
    renderingDisabled.fill(0);
    nullServerServices = std::make_unique<GameEngineServerServicesModuleBase>();
    serverServices = std::make_unique<GameEngineServerServicesModule>();
    clientServices = std::make_unique<GameEngineClientServicesModule>();
    teamManager = std::make_unique<TeamManager>();
    partyManager = std::make_unique<PartyManager>();
    tradeManager = std::make_unique<TradeManager>();

    nullServerServices->SetNetworkInterfaceSlot(&currentInterface);
    serverServices->SetNetworkInterfaceSlot(&currentInterface);
    clientServices->SetNetworkInterfaceSlot(&currentInterface);

    SetAsNetworkStub();
    creatureDeathListener.SetOwner(this, &GameEngine::OnCreatureDeath);

    FillClassArray();
    autoSave = true;
    InitializeActionMatrix();
    InitializeMonsterRaceMap();
    // Racial bonus lines name their races through this root from now on.
    SetMonsterRaceTagPluralSource(
        [this](const std::string& race) { return GetMonsterRaceTagPlural(race); });
    needsSleepCounter = 0;
    mouseLocked = false;
}

GameEngine::~GameEngine() {
    SetMonsterRaceTagPluralSource(nullptr);
    currentInterface = nullptr;
    outbound.reset();
    inbound.reset();
    experienceEquation.reset();
    deathPenaltyEquation.reset();
    nullServerServices.reset();
    serverServices.reset();
    clientServices.reset();
    currentClientServices = nullptr;
    currentServerServices = nullptr;
    teamManager.reset();
    partyManager.reset();
    tradeManager.reset();
    ActivityManager::Destroy();
    ownedLoaders.clear();
    InstanceGroupManager::Destroy();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (marketPurchaseSound)
        objects.DestroyObjectEx(marketPurchaseSound, __FILE__, __LINE__);
    if (marketSaleSound)
        objects.DestroyObjectEx(marketSaleSound, __FILE__, __LINE__);
    // The remaining members go in reverse declaration order; the listener unregisters itself.
}

void GameEngine::Initialize() {
    static constexpr std::pair<const char*, const char*> kAffiliations[] = {
        {"Unified Proxies", "Proxy"},
        {"Unique Proxies", "Proxy"},
        {"Any Entity", "Entity"},
        {"Decorations", "Decoration"},
        {"Monsters And Weapons", "Monster"},
        {"Monsters And Weapons", "Weapon"},
        {"Patrol Points", "PatrolPoint"},
        {"Patrollers", "Monster"},
        {"ProxyPatrollers", "Proxy"},
        {"Wander Points", "NpcWanderPoint"},
        {"Npc Wanderers", "Npc"},
        {"TeleportShrine", "StrategicMovementTeleportShrine"},
        {"RespawnShrine", "StrategicMovementRespawnShrine"},
        {"Bandari", "Monster"},
        {"Bandari", "Proxy"},
        {"Bandari Teleport Points", "BandariTeleportPoint"},
        {"Terracotta Warriors", "Monster"},
        {"Terracotta Warriors", "Proxy"},
    };
    InstanceGroupManager* groups = InstanceGroupManager::Get();
    for (const auto& [group, className] : kAffiliations)
        groups->AddGroupAffiliation(group, className);
    GameEngineInboundInterface::InstallPacketHandlers();
}

void GameEngine::Shutdown() {
    CriticalSectionLock lock(resourceLock);
    skillResources.clear();
}

void GameEngine::SetAsNetworkStub() {
    currentInterface = inbound.get();
    currentClientServices = clientServices.get();
    currentServerServices = serverServices.get();
}

void GameEngine::SetAsNetworkServer() {
    currentInterface = outbound.get();
    currentClientServices = clientServices.get();
    currentServerServices = serverServices.get();
}

void GameEngine::SetAsNetworkClient() {
    currentInterface = outbound.get();
    currentClientServices = clientServices.get();
    currentServerServices = nullServerServices.get();
}

PlayerManagerClient* GameEngine::GetPlayerManagerClient() const {
    return currentClientServices ? currentClientServices->GetPlayerManagerClient() : nullptr;
}

PlayerManagerServer* GameEngine::GetPlayerManagerServer() const {
    return currentServerServices ? currentServerServices->GetPlayerManagerServer() : nullptr;
}

bool GameEngine::IsServerOrSingle() const {
    return GetPlayerManagerServer() != nullptr;
}

std::uint32_t GameEngine::GetPlayerId() const {
    PlayerManagerClient* client = GetPlayerManagerClient();
    return client ? client->GetMainPlayer() : 0;
}

Player* GameEngine::GetMainPlayer() const {
    const std::uint32_t id = GetPlayerId();
    if (id == 0)
        return nullptr;
    return FindPlayerById(id);
}

Player* GameEngine::GetHostPlayer(int hostId) const {
    PlayerManagerClient* client = GetPlayerManagerClient();
    if (!client)
        return nullptr;
    return FindPlayerById(client->GetPlayerIdFromHostId(hostId));
}

Jukebox* GameEngine::GetJukebox() const {
    return &Singleton<Jukebox>::Get();
}

void GameEngine::SetRenderingEnabled(bool enabled, int reason) {
    if (reason < 0 || reason >= RenderingDisableCount)
        return;
    renderingDisabled[static_cast<std::size_t>(reason)] = enabled ? 0 : 1;
}

bool GameEngine::IsRenderingEnabled() const {
    for (std::uint8_t flag : renderingDisabled)
        if (flag)
            return false;
    return true;
}

void GameEngine::ForceRenderingEnabled() {
    renderingDisabled.fill(0);
}

bool GameEngine::IsPlayerAlive() const {
    const Player* player = GetMainPlayer();
    return player && player->GetLifeState() == Character_LifeState::Alive;
}

bool GameEngine::IsGameWaiting() const {
    if (!IsPlayerAlive() || gameLoading)
        return true;
    const Player* player = GetMainPlayer();
    return player && player->IsTeleporting();
}

void GameEngine::SuperPreRun() {
    QuestRepository* quests = QuestRepository::Get();
    quests->FireTriggers();
    quests->SimulateRewards();
}

void GameEngine::UnloadWorld() {
    camera.SetTarget(WorldVec3());
}

void GameEngine::ExitPlayingMode() {
    if (PlayerManagerServer* server = GetPlayerManagerServer())
        server->Clear();
    if (PlayerManagerClient* client = GetPlayerManagerClient())
        client->Clear();
    localPets.clear();
    Singleton<AmbianceManager>::Get().Reset();
    {
        CriticalSectionLock lock(proxyLock);
        heroBossRegistry.clear();
    }
    teleportInfos.clear();
    ActivityManager::Get()->Clear();
    ownedLoaders.clear();
    camera.ResetToDefaults(true);
}

LoadTable GameEngine::GetDatabase() const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(recordName);
    return objects.GetLoadTable(recordName);
}

MonsterCaps::Row GameEngine::GetMonsterCaps(bool boss, std::size_t difficulty) {
    return monsterCaps.Of(boss, difficulty, [this] { return GetDatabase(); });
}

void GameEngine::InitializeAssertHandler(void (*handler)(const char*), bool firstFlag,
                                         bool secondFlag) {
    GAME::InitializeAssertHandler(handler, firstFlag, secondFlag);
}

void GameEngine::SetAssertHandlerLogPath(const std::string& path) {
    GAME::SetAssertHandlerLogPath(path.c_str());
}

void GameEngine::UpdateTutorialHints(Player* player, int elapsedMs) {
    if (unspentSkillPoints > 0) {
        if (hotSlotChanged)
            hotSlotTimer = 0;
        else
            hotSlotTimer = AddElapsed(hotSlotTimer, elapsedMs);
        if (hotSlotTimer >= kTutorialHintDelayMs)
            UnlockTutorialPage(kTutorialPageHotSlot, true);
    }
    if (unspentSkillPoints == 0 && unspentMasteryPoints >= 9)
        UnlockTutorialPage(kTutorialPageMasteryPoints, true);
    if (player && player->GetModifierPoints() > 0)
        modifierPointsTimer = AddElapsed(modifierPointsTimer, elapsedMs);
    else
        modifierPointsTimer = 0;
    if (player && player->GetSkillPoints() != 0)
        skillPointsTimer = AddElapsed(skillPointsTimer, elapsedMs);
    else
        skillPointsTimer = 0;
    if (skillPointsTimer > kTutorialHintLongDelayMs ||
        modifierPointsTimer > kTutorialHintLongDelayMs)
        UnlockTutorialPage(kTutorialPageUnspentPoints, true);
    if (!playTimerStopped) {
        playTimer = AddElapsed(playTimer, elapsedMs);
        if (playTimer >= kTutorialHintLongDelayMs || playCounter >= 16)
            UnlockTutorialPage(kTutorialPagePlayTime, true);
    }
    if (furtherCounter >= 3 && !tutorialFlag2 && tutorialFlag1)
        UnlockTutorialPage(kTutorialPageFurtherCounter, true);
}

void GameEngine::Update(int elapsedMs) {
    // Bodies removed by their death handlers go here, outside any entity's own update.
    Singleton<DeathRemovals>::Get().Flush();
    Player* player = GetMainPlayer();
    const std::uint32_t playerId = player ? GetPlayerId() : 0;
    UpdateTutorialHints(player, elapsedMs);

    partyManager->Update();

    if (pendingPortal.pending &&
        dialogManager.GetNumResponsesFor(kDialogPartyPortalReplacement) > 0) {
        const DialogManager::YesNoResponse response =
            dialogManager.GetResponseFor(kDialogPartyPortalReplacement);
        if (response.answer == 1)
            CreateFixedItemTeleport(pendingPortal.where, pendingPortal.owner, pendingPortal.portal,
                                    pendingPortal.text, 0);
        pendingPortal.pending = false;
    }

    Jukebox& jukebox = Singleton<Jukebox>::Get();
    if (jukebox.GetTrackedPlayer() != 0) {
        const Player* tracked = FindPlayerById(jukebox.GetTrackedPlayer());
        jukebox.SetTrackedPlayerDead(!(tracked && tracked->IsAlive()));
    }
    if (jukebox.GetTrackedBoss() != 0) {
        const auto* boss =
            dynamic_cast<const Character*>(FindObjectOfClass(jukebox.GetTrackedBoss(), "Monster"));
        jukebox.SetTrackedBossDead(!(boss && boss->IsAlive()));
    }

    if (pendingBanPlayerId != 0 && dialogManager.GetNumResponsesFor(kDialogPartyBan) > 0) {
        const DialogManager::YesNoResponse response = dialogManager.GetResponseFor(kDialogPartyBan);
        if (response.answer == 1)
            BanPlayer(pendingBanPlayerId, false);
        pendingBanPlayerId = 0;
    }

    ActivityManager::Get()->Update(elapsedMs);

    // The steps above may have removed the player (a teleport or respawn), so ask again.
    player = FindPlayerById(playerId);
    if (player) {
        const WorldVec3 position = player->GetCoords().GetPosition();
        AmbianceManager& ambiance = Singleton<AmbianceManager>::Get();
        ambiance.SetTargetPosition(position);
        ambiance.UpdateEnvironmentEffects(position);
        WorldFrustum frustum;
        GetFrustumForPlayer(frustum, position);
        ambiance.UpdateEnvironmentEffects(frustum);
        Singleton<GameInfo>::Get().SetPlayerLevel(static_cast<int>(player->GetCharLevel()));
    }

    tradeManager->Update();
    QuestRepository::Get()->Update(elapsedMs);
    // Sideline conversations, only where characters joined them.
    if (auto* conversations = Machine::Current().Find<NpcConversationManager>())
        conversations->Update(elapsedMs);
    currentServerServices->Update(elapsedMs);
    currentClientServices->Update(elapsedMs);
}

void GameEngine::GetFrustumForPlayer(WorldFrustum& out, const WorldVec3& position) const {
    GameCamera view;
    view.SetTarget(position);
    view.Update();
    view.GetFrustum(Viewport{0.0f, 0.0f, 1024.0f, 768.0f}, out);
}

void GameEngine::SetPendingPortalRequest(const WorldCoords& where, std::uint32_t owner,
                                         std::uint32_t portal, const std::string& text) {
    pendingPortal = PendingPortal{where, owner, portal, text, true};
}

void GameEngine::SetGameBalanceLevel(int level) {
    gameBalanceLevel = static_cast<unsigned int>(level);
    GameEvent_GameBalanceLevel event;
    event.level = level;
    SendGameEvent(event, "GameBalanceLevel");
}

}  // namespace GAME
