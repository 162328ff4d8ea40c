#pragma once
// The root object of the game library: built by InitializeObjects, stepped once per frame by the
// host, torn down by ShutdownObjects. It owns the managers of the running game, the network
// interfaces and services modules, the camera and the game-wide settings.
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/sys/CriticalSection.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/text/Name.h"
#include "Engine/world/Region.h"
#include "Game/core/GameCamera.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/core/settings/DamageRegister.h"
#include "Game/core/settings/GameTables.h"
#include "Game/core/settings/GameTextStyles.h"
#include "Game/core/settings/MonsterCaps.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/ItemSet.h"
#include "Game/items/loot/RandomizerWeightModifiers.h"
#include "Game/quests/DialogManager.h"
#include "Game/rules/AttributePak.h"
#include "Game/rules/formulas/EquationInterface.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

class LoadTable;
class Player;
class PartyManager;
class TradeManager;
class TeamManager;
class Jukebox;
class GameUIInterface;
class GameEngineNetworkInterface;
class GameEngineOutboundInterface;
class GameEngineInboundInterface;
class GameEngineClientServicesModule;
class GameEngineServerServicesModuleBase;
class GameEngineServerServicesModule;
class PlayerManagerClient;
class PlayerManagerServer;
class Bonus;
class SoundPak;
class NetworkRegionLoaderBase;
class StartTeleportPacket;
class Character;
class Skill;
struct GameTextLine;
class InventorySack;
enum class Market_TypeEnum : std::int32_t;
class Entity;
class Team;
struct Vec3;
struct WorldRay;
struct WorldFrustum;
struct MinimapGameNugget;
enum NRLoaderState : int;
struct PlayerInfo;
class Proxy;
class InstanceGroup;

// What the level's groups make of a spawn proxy.
enum ProxyType : int { ProxyType_None = 0, ProxyType_Unified = 1, ProxyType_Unique = 2 };
template <class T>
class DesignerEquation;
// Why a skill point cannot be added or reclaimed: 0 no points, 1 mastery requirement, 2 base
// requirement, 3 (ends the text unless reclaiming), 4 (adds no line), 5 failed dependency,
// 6 reclaim without gold, 7 reclaim of a base skill, 8 nothing to reclaim.
using SkillReasons = std::array<bool, 9>;

enum RenderingDisable : int { RenderingDisableCount = 4 };

namespace test {
struct GameEngineTestAccess;
}

class GameEngine : public EquationInterface<float> {
    // Tests raise the hot-slot mark the bar would raise.
    friend struct test::GameEngineTestAccess;

public:
    static constexpr const char* kRecordName = "Records/Game/GameEngine.dbr";

    struct UINotification {
        int type = 0;
        std::vector<std::string> tags;
        std::vector<std::wstring> texts;
        bool operator==(const UINotification&) const = default;
    };
    struct ChatMessage {
        std::wstring from;
        std::wstring text;
        unsigned char channel = 0;
    };
    struct ItemClassInfo {
        std::wstring color;
        std::string sparkle;
        int textStyle = 2;
    };
    // Loot weight modifiers: noPrefixNoSuffix, bothPrefixSuffix, prefixOnly, suffixOnly,
    // brokenOnly.
    using RandomizerWeightModifiers = GAME::RandomizerWeightModifiers;
    // The act of a region (0: none).
    using ZonePage = int;
    struct PendingPortal {
        WorldCoords where;
        std::uint32_t owner = 0;
        std::uint32_t portal = 0;
        std::string text;
        bool pending = false;
    };

    GameEngine();
    ~GameEngine() override;
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    void Initialize();
    void Update(int elapsedMs);
    void Shutdown();

    // Network mode: only the current pointers change.
    void SetAsNetworkStub();
    void SetAsNetworkServer();
    void SetAsNetworkClient();
    GameEngineNetworkInterface* GetNetworkInterface() const { return currentInterface; }
    GameEngineInboundInterface* GetInboundNetworkInterface() const { return inbound.get(); }
    GameEngineOutboundInterface* GetOutboundNetworkInterface() const { return outbound.get(); }
    GameEngineClientServicesModule* GetClientServices() const { return currentClientServices; }
    GameEngineServerServicesModuleBase* GetServerServices() const { return currentServerServices; }
    PlayerManagerClient* GetPlayerManagerClient() const;
    PlayerManagerServer* GetPlayerManagerServer() const;
    bool IsServerOrSingle() const;

    Player* GetMainPlayer() const;
    std::uint32_t GetPlayerId() const;
    Player* GetHostPlayer(int hostId) const;

    void SetUI(GameUIInterface* userInterface) { ui = userInterface; }
    GameUIInterface* GetUI() const { return ui; }
    bool UIExists() const { return ui != nullptr; }
    // Saves go through the host's interface; each answers false when none is set.
    bool SaveGame();
    bool SaveGame(GameDifficulty difficulty);
    bool SaveQuest(bool argument);
    bool BackupGame();
    // True without saving while auto-save is off.
    bool AutoSave();
    bool AutoSaveQuest(bool argument);
    bool DisplaySkillReallocationWindow(unsigned characterId);
    void SetPlayer(Player* player) { camera.SetPlayer(player); }

    TradeManager* GetTradeManager() const { return tradeManager.get(); }
    PartyManager* GetPartyManager() const { return partyManager.get(); }
    TeamManager* GetTeamManager() const { return teamManager.get(); }
    DialogManager& GetDialogManager() { return dialogManager; }
    GameCamera* GetCamera() { return &camera; }
    // The view of a default camera looking at the position, on a 1024 x 768 viewport.
    void GetFrustumForPlayer(WorldFrustum& out, const WorldVec3& position) const;
    Jukebox* GetJukebox() const;
    RandomUniformLocked& GetRandomGen() { return randomGen; }
    // Inline: each read of a skill sum draws one, several per character and frame.
    unsigned short GetRandomSeed() {
        return static_cast<unsigned short>(
            randomGen.IGenerate(static_cast<int>(randomSeedMin), static_cast<int>(randomSeedMax)));
    }

    const Color& GetOverlayColor() const { return overlayColor; }
    void SetOverlayColor(const Color& color) { overlayColor = color; }

    bool IsGameLoading() const { return gameLoading; }
    void SetGameLoading(bool loading) { gameLoading = loading; }
    bool IsMouseLocked() const { return mouseLocked; }
    void LockMouse() { mouseLocked = true; }
    void UnlockMouse() { mouseLocked = false; }
    void IncrementNeedsSleepCounter() { ++needsSleepCounter; }
    void DecrementNeedsSleepCounter() { --needsSleepCounter; }
    bool NeedsSleep() const { return needsSleepCounter > 0; }
    void SetRenderingEnabled(bool enabled, int reason);
    bool IsRenderingEnabled() const;
    void ForceRenderingEnabled();
    void SetPlayerCompletedLevel(bool value) { playerCompletedLevel = value; }
    bool GetPlayerCompletedLevel() const { return playerCompletedLevel; }
    void SetPlayerUnlockedLevel(bool value) { playerUnlockedLevel = value; }
    bool GetPlayerUnlockedLevel() const { return playerUnlockedLevel; }
    void SetAutoSave(bool value) { autoSave = value; }
    bool GetAutoSave() const { return autoSave; }
    void SetSaveEnabled(bool value) { saveEnabled = value; }
    bool IsSaveEnabled() const { return saveEnabled; }

    bool IsGameWaiting() const;
    bool IsPlayerAlive() const;
    void SuperPreRun();
    void UnloadWorld();
    void ExitPlayingMode();
    LoadTable GetDatabase() const;
    // The settings' caps on a monster's speeds and defense (a boss's keys when `boss`).
    MonsterCaps::Row GetMonsterCaps(bool boss, std::size_t difficulty);
    void InitializeAssertHandler(void (*handler)(const char*), bool firstFlag, bool secondFlag);
    void SetAssertHandlerLogPath(const std::string& path);

    // Settings of the game settings record.
    float GetArmorDefensiveAbsorption() const { return armorDefensiveAbsorption; }
    // Game-balance attributes added to every monster and every player.
    const AttributePak& GetMonsterAttributePak() const { return monsterAttributePak; }
    const AttributePak& GetPlayerAttributePak() const { return playerAttributePak; }
    float GetMeleeRange() const { return meleeRange; }
    float GetShortRange() const { return shortRange; }
    float GetModerateRange() const { return moderateRange; }
    float GetLongRange() const { return longRange; }
    float GetMaximumRange() const { return maximumRange; }
    float GetMinRotationSpeed() const { return minRotationSpeed; }
    float GetMaxRotationSpeed() const { return maxRotationSpeed; }
    float GetPathSlowdownLength() const { return pathSlowdownLength; }
    float GetMinPlayerRotationSpeed() const { return minPlayerRotationSpeed; }
    float GetMaxPlayerRotationSpeed() const { return maxPlayerRotationSpeed; }
    float GetPlayerPathSlowdownLength() const { return playerPathSlowdownLength; }
    const std::string& GetItemForearmAnimationName() const { return itemForearmAnimationName; }
    const std::vector<unsigned int>& GetSkillMasteryTierLevels() const { return masteryTierLevels; }
    Vec2 GetInventorySackDims(int sack) const { return sack == 0 ? sackDims[0] : sackDims[1]; }
    const std::map<int, ItemClassInfo>& GetItemClassTable() const { return itemClassTable; }
    const std::map<int, std::wstring>& GetMonsterColorTable() const { return monsterColorTable; }
    const std::map<int, RandomizerWeightModifiers>& GetMonsterLootModifiers() const {
        return monsterLootModifiers;
    }
    const std::map<int, RandomizerWeightModifiers>& GetChestLootModifiers() const {
        return chestLootModifiers;
    }
    DesignerEquation<float>* GetExperienceEquation() const { return experienceEquation.get(); }
    DesignerEquation<float>* GetDeathPenaltyEquation() const { return deathPenaltyEquation.get(); }
    void PlayMarketPurchaseSound();
    void PlayMarketSaleSound();
    SoundPak* GetMarketPurchaseSound() const { return marketPurchaseSound; }
    SoundPak* GetMarketSaleSound() const { return marketSaleSound; }

    // The formulas' variables: the players' levels and count, the difficulty and the monster or
    // player being rewarded.
    bool GetDesignerVariable(const char* name, float& value) override;
    // A formula finds each name once, then asks by its slot (the name's place in the list).
    int ResolveDesignerVariable(const char* name) override;
    bool GetDesignerVariableAt(int slot, float& value) override;
    struct FormulaVariables {
        unsigned int averagePlayerLevel = 0;
        unsigned int minPlayerLevel = 0;
        unsigned int maxPlayerLevel = 0;
        unsigned int numberOfPlayers = 0;
        unsigned int gameDifficulty = 0;
        unsigned int monsterLevel = 0;
        unsigned int monsterExperience = 0;
        unsigned int currentPlayerLevel = 0;
    };
    FormulaVariables& GetFormulaVariables() { return formulaVariables; }
    int GetDeathPenaltyMin() const { return deathPenaltyMin; }
    int GetDeathPenaltyMax() const { return deathPenaltyMax; }

    // Game balance and difficulty.
    void SetGameBalanceLevel(int level);
    unsigned int GetBalanceDifficulty() const { return gameBalanceLevel; }
    int GetGameDifficulty() const { return gameDifficulty; }
    void SetGameDifficulty(int difficulty) { gameDifficulty = difficulty; }
    static const char* GetGameDifficultyAsString(int difficulty) {
        return GameDifficultyName(difficulty);
    }

    // UI queues and tutorial pages.
    void ResetTutorialState();
    void UnlockTutorialPage(unsigned int page, bool announce);
    bool IsTutorialPageUnlocked(unsigned int page) const;
    // An item joined the local player's inventory (a potion also raises the potion hint's flag);
    // the hints count them.
    void NoteInventoryAddition(bool potion) {
        ++furtherCounter;
        if (potion)
            tutorialFlag1 = 1;
    }
    const std::vector<unsigned int>& GetTutorialUnlockList() const { return tutorialUnlockList; }
    // The notification queue, oldest first: a repeat of the newest is dropped, and a UI that
    // never drains it keeps only the newest kMaxNotifications.
    static constexpr std::size_t kMaxNotifications = 64;
    void AddUINotification(int type, const std::wstring& text, bool clearFirst);
    void AddUINotification(int type, const std::vector<std::wstring>& texts, bool clearFirst);
    void AddUINotificationTag(int type, const std::string& tag, bool clearFirst);
    void AddUINotificationTag(int type, const std::vector<std::string>& tags, bool clearFirst);
    const std::vector<UINotification>& GetUINotifications() const { return notifications; }
    // The oldest, removed; an empty queue gives an empty notification of type 0.
    UINotification TakeTopNotification();
    int GetNumNotifications() const { return static_cast<int>(notifications.size()); }
    // "<mod> ~ <level file>" of the running game, or the default map's name without a mod.
    std::wstring GetMapName() const;
    // The detail map's entries: those of the actors in view, then one per known player.
    void GetDetailMapData(std::vector<MinimapGameNugget>& out, const WorldFrustum& view) const;
    // Tooltip lines of a skill for the skill window (the reasons say why a point cannot be
    // added or reclaimed) and for its hot slot.
    static void GenerateUISkillText(const Skill* skill, std::vector<GameTextLine>& lines,
                                    const SkillReasons* reasons, bool headerOnly, bool reclaim,
                                    int cost);
    static void GenerateUISkillInfo(const Skill* skill, std::vector<GameTextLine>& lines);
    void SetCameraFOV(float degrees);
    void AddChatMessage(const std::wstring& from, const std::wstring& text, unsigned char channel);
    const std::vector<ChatMessage>& GetChatMessages() const { return chatMessages; }
    void RemovePendingMessages(std::vector<ChatMessage>& out);
    void SendChatMessage(const std::wstring& from, const std::wstring& text, unsigned char channel,
                         std::vector<unsigned int> recipients);
    void UnlockAllTutorials();
    bool GetDisableTutorialAutoPop() const { return disableTutorialAutoPop; }
    void SetDisableTutorialAutoPop(bool disable) { disableTutorialAutoPop = disable; }
    void RegisterLocalPet(std::uint32_t id);
    void UnregisterLocalPet(std::uint32_t id);
    bool IsLocalPet(std::uint32_t id) const;
    const std::vector<std::uint32_t>& GetLocalPetList() const { return localPets; }
    void ClearPetList() { localPets.clear(); }

    struct PartyRequestResponse {
        std::uint32_t player = 0;
        bool accepted = false;
    };
    void RegisterPartyRequestResponse(std::uint32_t player, bool accepted);
    int GetNumPartyRequestResponses() const {
        return static_cast<int>(partyRequestResponses.size());
    }
    // The oldest answer, removed; an empty queue gives player 0, not accepted.
    PartyRequestResponse GetTopPartyRequestResponse();
    void BanPlayer(std::uint32_t player, bool ask);
    void SetPendingBanPlayerId(std::uint32_t player) { pendingBanPlayerId = player; }
    std::uint32_t GetPendingBanPlayerId() const { return pendingBanPlayerId; }
    void SetPendingPortalRequest(const WorldCoords& where, std::uint32_t owner,
                                 std::uint32_t portal, const std::string& text);
    bool IsPortalRequestPending() const { return pendingPortal.pending; }

    // Tutorial-hint counters written by the main player's update and the UI.
    void SetUnspentSkillPoints(int points) { unspentSkillPoints = points; }
    void SetUnspentMasteryPoints(int points) { unspentMasteryPoints = points; }
    int GetModifierPointsTimer() const { return modifierPointsTimer; }
    int GetSkillPointsTimer() const { return skillPointsTimer; }
    int GetPlayTimer() const { return playTimer; }

    // Network hooks reached from the inbound interface.
    void HandleBonusToServerInbound(const Bonus& bonus, const WorldVec3& where,
                                    std::uint32_t receiver);
    void OnCreatureDeath(const GameEvent_CreatureDeath& event);

    // Forwarding to the current network interface and the registers behind it.
    void CreateItem(const WorldCoords& where, const ItemReplicaInfo& item);
    void CreateItemForCharacter(std::uint32_t character, const WorldCoords& where,
                                const ItemReplicaInfo& item, std::wstring* name);
    void CreateEntity(const WorldCoords& where, const std::string& record, std::uint32_t id);
    void AddPlayerToParty(std::uint32_t player, int party);
    void InvitePlayerToParty(std::uint32_t invitee, int party);
    void QuestCommandMove(std::uint32_t character, std::uint32_t target, WorldVec3 to,
                          bool allowInterruptions);
    void QuestCommandWalk(std::uint32_t character, std::uint32_t target, WorldVec3 to,
                          bool allowInterruptions);
    void QuestCommandPlayAnimation(std::uint32_t character, unsigned int animation, bool looping,
                                   bool allowInterruptions);
    void QuestCommandUseSkill(std::uint32_t character, std::string& skill, std::uint32_t target,
                              bool allowInterruptions);
    void QuestCommandLockFixedItem(std::uint32_t item, bool lock);
    void SendQuestPacket(const std::vector<unsigned int>& words, std::uint32_t receiver,
                         bool conditionSet);
    void DisplayMessageRemote(std::uint32_t target, std::uint32_t namePlayer, bool notification,
                              const std::string& tag);
    void DisplayWMessageRemote(std::uint32_t target, bool notification, const std::wstring& text);
    void BroadcastMessageRemote(std::uint32_t namePlayer, bool notification,
                                const std::string& tag);
    void SendPartyRequestResponse(std::uint32_t sender, std::uint32_t recipient, bool accepted);
    void HandleBonusToServerOutbound(const Bonus& bonus, const WorldVec3& where,
                                     std::uint32_t receiver);
    void RemovePlayerFromGame(int host);
    // Markets of merchants: the client module's market clients, the server module's markets.
    void CreateMarketClient(std::uint32_t merchant);
    void DestroyMarketClient(std::uint32_t merchant);
    void ForceMarketRefresh(std::uint32_t merchant);
    // What the UI asks of a merchant's market client; without one: status 0, no sack, false, and
    // nothing done.
    int GetMarketItemStatus(std::uint32_t merchant, std::uint32_t item) const;
    InventorySack* GetMarketInventorySack(std::uint32_t merchant, Market_TypeEnum type);
    const InventorySack* GetMarketInventorySack(std::uint32_t merchant, Market_TypeEnum type) const;
    bool GetMarketIsItemAffordable(std::uint32_t merchant, std::uint32_t item) const;
    void OpenMarket(std::uint32_t merchant, Market_TypeEnum& type, const Vec2& position);
    void CloseMarket(std::uint32_t merchant);
    void CreateUIPlayerSellText(std::uint32_t merchant, std::uint32_t item,
                                std::vector<GameTextLine>& lines);
    void CreateUIPlayerBuyText(std::uint32_t merchant, std::uint32_t item,
                               std::vector<GameTextLine>& lines);
    bool PlayerPurchaseRequest(std::uint32_t merchant, std::uint32_t item);
    bool PlayerSaleRequest(std::uint32_t merchant, std::uint32_t item, bool flag);
    std::wstring GetPlayerName(std::uint32_t id) const;
    // Spawning entry points the game keeps but never acts on.
    void InvokeSpawnCharacter(const std::string&, std::uint32_t) {}
    void InvokeSpawnCharacter(const std::string&) {}
    void DefaultSpawn(std::uint32_t) {}
    void HandleRespawnCharacter(std::uint32_t, std::uint32_t) {}
    void HandleSpawnCharacter(std::uint32_t, std::uint32_t) {}
    void HandleSpawnCharacter(std::uint32_t) {}

    // One candidate not in `excluded`, drawn once from the root's generator; 0 when none is
    // left (then nothing is drawn).
    std::uint32_t PickObject(const std::vector<std::uint32_t>& candidates,
                             const std::vector<std::uint32_t>& excluded);
    // Target queries: the ids of the living, visible, initialised characters (never NPCs, nor
    // `exclude`) that are friends (a friendly barrier is none) or foes of `team`, in the world's
    // order for the shape. Each appends to `out`, keeping what it held.
    void GetTargetsInRadius(const Team& team, const WorldVec3& center, float radius,
                            std::vector<std::uint32_t>& out, std::uint32_t exclude, bool friends);
    void GetTargetsInRadius(const Character& who, const WorldVec3& center, float radius,
                            std::vector<std::uint32_t>& out, std::uint32_t exclude, bool friends);
    // Every friend, then every foe.
    void GetAllTargetsInRadius(const Team& team, const WorldVec3& center, float radius,
                               std::vector<std::uint32_t>& out, std::uint32_t exclude);
    // Nearest first along the ray.
    void GetTargetsAlongRay(const Team& team, const WorldRay& ray, float length,
                            std::vector<std::uint32_t>& out, std::uint32_t exclude, bool friends);
    // A cone of half-angle `angleDegrees` from the apex along the direction.
    void GetTargetsInCone(const Team& team, const WorldVec3& apex, const Vec3& direction,
                          float angleDegrees, float length, std::vector<std::uint32_t>& out,
                          std::uint32_t exclude, bool friends);
    void FilterInvalidTargets(const Team& team, const std::vector<Entity*>& candidates,
                              std::vector<std::uint32_t>& out, std::uint32_t exclude,
                              bool friends) const;
    // Room for the fights of a world of `population` entities (the damage register, the
    // queries' list), taken as its characters are made, so that the first blows take none.
    void ReserveCombatRoom(std::size_t population);

    // Damage register: who hurt which non-player victim how much.
    void RegisterDamage(std::uint32_t victim, std::uint32_t attacker, float damage);
    float GetTotalDamageDone(std::uint32_t victim) const;
    float GetDamageByAttacker(std::uint32_t attacker, std::uint32_t victim) const;
    float GetPlayerDamagePercent(std::uint32_t attacker, std::uint32_t victim) const;
    void RemoveDamageEntry(std::uint32_t victim);
    // A pet's or summon's master, else the attacker itself.
    std::uint32_t GetMasterAttacker(std::uint32_t attacker) const;

    // Experience rewards from the settings record's formulas.
    unsigned int CalculateExperienceReward(unsigned int monsterLevel,
                                           unsigned int monsterExperience);
    unsigned int GetPlayerDeathExperiencePenalty(Player* player, std::uint32_t killer);
    void GetPlayerInfo(PlayerInfo& out);

    // Spawn proxies in "Unified Proxies" groups share a pool index; of a "Unique Proxies" group
    // one member, chosen once per game, spawns; a hero or boss a proxy made is not made twice.
    // Proxies load on the level loader thread: every map here is kept under proxyLock.
    ProxyType GetProxyType(Proxy* proxy);
    bool GetUnifiedProxyPool(Proxy* proxy, unsigned int& pool);
    void SetUnifiedProxyPool(Proxy* proxy, unsigned int pool);
    bool GetUnifiedProxyPoolName(const std::string& group, unsigned int& pool);
    void SetUnifiedProxyPoolName(const std::string& group, unsigned int pool);
    bool IsUniqueProxySelected(Proxy* proxy);
    UniqueId LoadAndSelectOneProxy(InstanceGroup* group);
    void RegisterProxyHeroBoss(const std::string& name);
    void UnregisterProxyHeroBoss(const std::string& name);
    bool IsProxyHeroBossInGame(const std::string& name);
    void ClearProxyInfo();
    void DumpGroupProxyData();

    // Known teleporter portals.
    struct TeleportInfo {
        WorldCoords where;
        std::uint32_t owner = 0;
        std::uint32_t portal = 0;
        std::string text;
    };
    void CreateFixedItemTeleport(const WorldCoords& where, std::uint32_t owner,
                                 std::uint32_t portal, const std::string& text,
                                 std::uint32_t target);
    void DestroyFixedItemTeleport(std::uint32_t id);
    void CreateFixedItemTeleportNetHook(const WorldCoords& where, std::uint32_t owner,
                                        std::uint32_t portal, const std::string& text);
    void DestroyFixedItemTeleportNetHook(std::uint32_t id);
    void RemovePortalsFor(std::uint32_t owner);
    void SendFixedItemTeleports(std::uint32_t target);
    const std::vector<TeleportInfo>& GetTeleportInfoList() const { return teleportInfos; }
    // The main player opens his personal portal (asking first when it would replace one).
    void CreateFixedItemTeleport();
    const TeleportInfo* GetTeleportInfo(std::uint32_t portal) const;
    bool ValidateArtifactPortal(std::uint32_t portal) const;
    bool HasFixedItemTeleport(std::uint32_t owner) const;
    bool MainPlayerHasPersonalTeleport() const;
    // The act of the main player's portal's region; 0 without one.
    ZonePage GetMainPlayersPersonalPortalZone() const;
    // Debugging aid: the main player jumps to the entity.
    void TryJump(std::uint32_t entity);

    // Teleports to whole-number world coordinates: the activity's kind follows whose player it
    // is and whether this machine serves the game.
    void InstallTeleportActivity(std::uint32_t player, int x, int y, int z);
    void InitiatePlayerTeleport(int x, int y, int z);
    void StoC_StartTeleportInbound(std::uint32_t player, int x, int y, int z);
    void CtoS_StartTeleportInbound(std::uint32_t player, int x, int y, int z);
    void StoC_StartTeleportOutbound(std::uint32_t player, int x, int y, int z);
    void CtoS_StartTeleportOutbound(std::uint32_t player, int x, int y, int z);
    // Tells the other clients, not the teleporting player's machine nor this one.
    void ServerPropegateTeleport(std::uint32_t player, int x, int y, int z);
    // In a network game a teleport is the server's decision: it tells every client, and every
    // machine installs its kind of the activity at the same meeting point of the machines.
    void DecideTeleport(std::uint32_t player, int x, int y, int z);
    // From the decision until the player's activity here ends (a second ask is refused).
    bool IsTeleportUnderWay(std::uint32_t player) const;
    void EndTeleport(std::uint32_t player);

    // Respawns: the local player's runs here (a client asks the server to load along); the id
    // of the activity, 0 when none was made.
    std::uint32_t StartRespawnForLocalPlayer(const WorldVec3& where);
    void CtoS_InitiateServerRespawnLoaderOutbound(const WorldVec3& where);
    void CtoS_StartServerRespawnInbound(std::uint32_t player, const WorldVec3& where);
    bool IsDeathLoaderActive(std::uint32_t activityId) const;

    // Region loaders by player id: the peer's progress reports reach them through here.
    // The loaders made here belong to the root until DestroyNetworkLoader.
    NetworkRegionLoaderBase* CreateNetworkLoader(std::uint32_t player, const WorldVec3& where);
    NetworkRegionLoaderBase* CreateNetworkLoaderInbound(std::uint32_t player,
                                                        const WorldVec3& where);
    void DestroyNetworkLoader(NetworkRegionLoaderBase* loader);
    // Do nothing: the outbound side makes no loader here, and a loader made above is released
    // only by DestroyNetworkLoader.
    void CreateNetworkLoaderOutbound(std::uint32_t, const WorldVec3&) {}
    void DestroyNetworkLoaderInbound(NetworkRegionLoaderBase*) {}
    void DestroyNetworkLoaderOutbound(NetworkRegionLoaderBase*) {}
    void RegisterNRLoader(std::uint32_t id, NetworkRegionLoaderBase* loader);
    void UnregisterNRLoader(NetworkRegionLoaderBase* loader);
    // The first loader registered under the id, or null.
    NetworkRegionLoaderBase* FindNRLoader(std::uint32_t id) const;
    // Whether a loader registered under the id has not finished its own loading.
    bool IsNRLoaderLoading(std::uint32_t id) const;
    void CtoS_HandleNRLoaderStateChangeOutbound(std::uint32_t player, NRLoaderState state);
    void StoC_HandleNRLoaderStateChangeOutbound(std::uint32_t player, NRLoaderState state);
    void CtoS_HandleNRLoaderStateChangeInbound(std::uint32_t player, NRLoaderState state);
    void StoC_HandleNRLoaderStateChangeInbound(std::uint32_t player, NRLoaderState state);

    // Game-wide tables and lookups.
    unsigned int CheckPlayerAction(unsigned int requested, unsigned int current) const;
    const std::string& GetClassTag(unsigned int first, unsigned int second) const;
    const std::string& GetClassTag(unsigned int mastery) const;
    void SetClassEntry(int first, int second, const std::string& tag);
    const std::string& GetMonsterRaceTagSingular(const std::string& race) const;
    const std::string& GetMonsterRaceTagPlural(const std::string& race) const;
    static ItemClassification ResolveItemClassificationEnum(const std::string& name) {
        return ResolveItemClassificationName(name);
    }
    static MonsterClassification ResolveMonsterClassificationEnum(const std::string& name) {
        return ResolveMonsterClassificationName(name);
    }
    static ChestClassification ResolveChestClassificationEnum(const std::string& name) {
        return ResolveChestClassificationName(name);
    }
    std::wstring GetItemColorText(ItemClassification itemClass) const;
    GameTextClass GetItemTextClass(ItemClassification itemClass) const;
    std::string GetItemSparkleName(ItemClassification itemClass) const;
    std::wstring GetMonsterColorText(MonsterClassification monsterClass) const;
    // A class without an entry leaves `out` as it was.
    void GetMonsterLootWeightModifiers(MonsterClassification monsterClass,
                                       RandomizerWeightModifiers& out) const;
    void GetChestLootWeightModifiers(ChestClassification chestClass,
                                     RandomizerWeightModifiers& out) const;
    std::string GetGameTextStyleName(GameTextClass textClass) const;
    float GetGameTextStyleIndent(GameTextClass textClass) const;
    const GameTextStyleTable& GetGameTextStyles() const { return textStyles; }
    GameTextStyleTable& GetGameTextStyles() { return textStyles; }
    unsigned int GetSkillMasteryLevel(unsigned int tier) const;
    // Each skill record is loaded once per game, from the game thread or the level loader.
    const SkillProfile* LoadSkillResource(const Name& record, const LoadTable& table);
    const SkillProfile* GetSkillResource(const Name& record) const;
    SkillProfile* GetNullSkillResource() { return &nullSkillResource; }

    // Item sets by record name (normalised); each is loaded once per game.
    void LoadItemSet(const std::string& record);
    const ItemSet* GetItemSet(const std::string& record) const;

private:
    void LoadFromDatabase(const std::string& name);
    void FillClassArray();
    void InitializeActionMatrix();
    void InitializeMonsterRaceMap();
    void UpdateTutorialHints(Player* player, int elapsedMs);

    // 1
    unsigned int randomSeedMin = 1;
    unsigned int randomSeedMax = 32767;
    // 2: tutorial hints
    int unspentSkillPoints = 0;
    int unspentMasteryPoints = 0;
    std::uint8_t tutorialFlag1 = 0;
    std::uint8_t tutorialFlag2 = 0;
    int playTimer = 0;
    std::uint8_t playTimerStopped = 0;
    int playCounter = 0;
    int modifierPointsTimer = 0;
    std::uint8_t hotSlotChanged = 0;
    int hotSlotTimer = 0;
    int furtherCounter = 0;
    int skillPointsTimer = 0;
    // 3, 4
    bool autoSave = true;
    DialogManager dialogManager;
    // 5
    std::vector<UINotification> notifications;
    std::vector<TeleportInfo> teleportInfos;
    struct RegisteredLoader {
        NetworkRegionLoaderBase* loader = nullptr;
        std::uint32_t id = 0;
    };
    std::vector<RegisteredLoader> nrLoaders;
    // Declared after the registry: they unregister themselves when they go.
    std::vector<std::unique_ptr<NetworkRegionLoaderBase>> ownedLoaders;
    // Reused by every propagated teleport.
    std::unique_ptr<StartTeleportPacket> propagatedTeleport;
    std::vector<std::uint32_t> decidedTeleports;
    // 6
    std::unique_ptr<PartyManager> partyManager;
    std::unique_ptr<TradeManager> tradeManager;
    std::unique_ptr<TeamManager> teamManager;
    // 7, 8
    Color overlayColor{1, 1, 1, 0};
    std::string recordName = kRecordName;
    MonsterCaps monsterCaps;
    // 9
    std::map<Name, std::unique_ptr<SkillProfile>> skillResources;
    SkillProfile nullSkillResource;
    // 10
    std::vector<unsigned int> masteryTierLevels;
    SoundPak* marketPurchaseSound = nullptr;
    SoundPak* marketSaleSound = nullptr;
    // 11
    RandomUniformLocked randomGen;
    // 12
    float armorDefensiveAbsorption = 0;
    float meleeRange = 0, shortRange = 0, moderateRange = 0, longRange = 0, maximumRange = 0;
    float minRotationSpeed = 0, maxRotationSpeed = 0, pathSlowdownLength = 0;
    float minPlayerRotationSpeed = 0, maxPlayerRotationSpeed = 0, playerPathSlowdownLength = 0;
    // 13, 14
    GameCamera camera;
    GameUIInterface* ui = nullptr;
    // 15: proxy bookkeeping
    std::string unifiedProxiesGroup = "Unified Proxies";
    std::string uniqueProxiesGroup = "Unique Proxies";
    std::map<std::string, unsigned int> unifiedProxyPools;
    std::map<std::string, UniqueId> uniqueProxySelections;
    std::map<std::string, bool> heroBossRegistry;
    // 16: the formulas with their variables and bounds
    std::unique_ptr<DesignerEquation<float>> experienceEquation;
    std::unique_ptr<DesignerEquation<float>> deathPenaltyEquation;
    FormulaVariables formulaVariables;
    int deathPenaltyMin = 0;
    int deathPenaltyMax = 0;
    DamageRegister damageRegister;
    // 17
    std::map<int, ItemClassInfo> itemClassTable;
    std::string itemForearmAnimationName;
    // 18
    AttributePak monsterAttributePak;
    AttributePak playerAttributePak;
    std::array<Vec2, 2> sackDims{};
    std::map<int, std::wstring> monsterColorTable;
    // 19
    GameEventListener<GameEngine, GameEvent_CreatureDeath> creatureDeathListener;
    // 20: network block
    GameEngineNetworkInterface* currentInterface = nullptr;
    std::unique_ptr<GameEngineOutboundInterface> outbound;
    std::unique_ptr<GameEngineInboundInterface> inbound;
    GameEngineClientServicesModule* currentClientServices = nullptr;
    GameEngineServerServicesModuleBase* currentServerServices = nullptr;
    std::unique_ptr<GameEngineServerServicesModuleBase> nullServerServices;
    std::unique_ptr<GameEngineServerServicesModule> serverServices;
    std::unique_ptr<GameEngineClientServicesModule> clientServices;
    // 21
    mutable CriticalSection resourceLock;
    CriticalSection proxyLock;
    // 22, 23
    ClassTagTable classTags{};
    std::vector<std::uint32_t> localPets;
    CharacterActionMatrix actionMatrix{};
    GameTextStyleTable textStyles;
    MonsterRaceMap monsterRaces;
    // 24
    std::uint32_t pendingBanPlayerId = 0;
    bool disableTutorialAutoPop = false;
    PendingPortal pendingPortal;
    // 25
    std::vector<ChatMessage> chatMessages;
    std::map<int, RandomizerWeightModifiers> monsterLootModifiers;
    std::map<int, RandomizerWeightModifiers> chestLootModifiers;
    // 26
    std::vector<unsigned int> tutorialUnlockList;
    std::vector<bool> tutorialUnlockBits;
    // 28
    std::array<std::uint8_t, RenderingDisableCount> renderingDisabled{};
    int needsSleepCounter = 0;
    bool playerCompletedLevel = false;
    bool playerUnlockedLevel = false;
    bool mouseLocked = false;
    // 29
    std::deque<PartyRequestResponse> partyRequestResponses;
    unsigned int gameBalanceLevel = 0;
    bool gameLoading = true;
    bool saveEnabled = true;
    int gameDifficulty = 0;
    // Item sets and text styles.
    std::map<std::string, std::unique_ptr<ItemSet>> itemSets;
    // The entities a target query found, kept so that a warm query allocates nothing.
    std::vector<Entity*> queryScratch;
};

// The machine's slot for its root object; a root still alive when the machine goes is shut down.
struct GameEngineSlot {
    static constexpr FixedSlot kMachineSlot = FixedSlot::GameEngine;
    GameEngine* engine = nullptr;
    GameEngineSlot() = default;
    GameEngineSlot(const GameEngineSlot&) = delete;
    GameEngineSlot& operator=(const GameEngineSlot&) = delete;
    ~GameEngineSlot();
};

// The exported root: reads and writes the current machine's root object. Reads are inline: the
// frame reaches the root from everywhere, and a call into the library per access costs more than
// the lookup itself.
struct GameEngineHandle {
    [[gnu::always_inline]] GameEngine* operator->() const { return Current(); }
    [[gnu::always_inline]] GameEngine& operator*() const { return *Current(); }
    [[gnu::always_inline]] operator GameEngine*() const { return Current(); }
    const GameEngineHandle& operator=(GameEngine* engine) const;
    const GameEngineHandle& operator=(const GameEngineHandle&) const = delete;

private:
    [[gnu::always_inline]] static GameEngine* Current() {
        const GameEngineSlot* slot = Machine::Current().Find<GameEngineSlot>();
        return slot ? slot->engine : nullptr;
    }
};
extern const GameEngineHandle gGameEngine;

}  // namespace GAME

extern "C" {
void InitializeObjects();
void ShutdownObjects();
}
