#pragma once
// The character a human controls: its name and class, the places it knows per difficulty, its
// quest tokens, saves and spoken refusals, the caps and balance the game settings give it, its
// paper doll, and what its character file and replication carry (the player/ folder).
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/triggers/TriggerToken.h"
#include "Game/characters/Character.h"
#include "Game/characters/player/PlayerMemories.h"
#include "Game/characters/player/PlayerSaveUISetting.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/core/util/EnumConverter.h"

namespace GAME {

struct PlayerNetHeartbeatInfo;
struct PlayerNetBasicInfo;
struct PlayerReplicationData;
struct GameEvent_CreatureDeath;
class Region;
class IOStream;
class PlayerHotSlotCtrl;
class PlayerInventoryCtrl;
class NetPacket;
class NetPacketInBuffer;
class NetPacketOutBuffer;

namespace test {
struct PlayerTestAccess;
}

class Player : public Character {
    RTTI_DECLARE(Player)
    // Tests set up what only a saved character or the class record would give.
    friend struct test::PlayerTestAccess;

public:
    Player();
    ~Player() override;

    static constexpr int kAutoSaveInterval = 60000;  // ms
    static constexpr int kLockedObjectVoxInterval = 8000;
    static constexpr int kSkillVoxRepeatInterval = 8000;
    static constexpr int kSkillVoxInterval = 3000;
    static constexpr std::size_t kMaxAdoptedPets = 6;
    static constexpr int kSkillTrees = 10;
    static constexpr unsigned kSkillTreeEntries = 25;
    static constexpr const char* kPlayerControllerRecord =
        "Records/Controllers/Player/PlayerController.dbr";
    // A player controlled elsewhere still fights here: on a server its death is decided here.
    static constexpr const char* kStubControllerRecord =
        "Records/Controllers/Player/PlayerControllerStub.dbr";

    // Each frame, in a fixed order: the character, tutorial and fog of war, team, regeneration,
    // heartbeat, tokens, saving, vox countdowns, skill point hints (PlayerUpdate.cpp).
    void UpdateSelf(int ms) override;
    // Sound lines, default skills, gold, skill trees, textures and move ratio of the record.
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    // A player another machine controls is alive from the start; the controlling one carries
    // its light; the texture is applied.
    void InitialUpdate() override;
    // The machine's own player; only it saves and speaks its vox lines.
    void SetIsControllingCharacter(bool controlling);
    // The player's controller drops its target (nothing without a player controller).
    void ClearTarget();
    bool IsControllingCharacter() const { return mControlling; }
    bool IsPlayer() const { return true; }
    bool DeleteOnEnteringUnloadedLevel() const { return false; }
    bool ShouldLoadLoot() const override { return false; }
    bool ShouldUseDistressCall() const override { return true; }
    // Its sounds come with the record (Load).
    void InitializeSound() {}

    // Spawning on other machines and local copies (PlayerReplication.cpp).
    bool ShouldServerSpawn() const override { return true; }
    std::unique_ptr<NetPacket> CreateSpawnNetPacket() const;
    void WriteReplicationData(NetPacketOutBuffer& out);
    // A malformed body is refused: false, logged, and no record is kept.
    bool ReadReplicationData(NetPacketInBuffer& in);
    void ApplyReplicationData() { ApplyReplicationData(0); }
    // A brought character's unspent attribute points are at least `attributePoints`, the
    // server's checked count of its file's (quests give points no replication tells).
    void ApplyReplicationData(std::uint32_t attributePoints);
    bool IsCopy() const { return mIsCopy; }
    void SetIsCopy(bool copy) { mIsCopy = copy; }

    // The paper doll: a copy of this player in a region of its own, shown by the inventory
    // screen (PlayerPaperDoll.cpp). The copy is made through the replication data.
    Player* CreateCopy();
    void CreatePaperDoll();
    // The character's attach and detach, mirrored on the paper doll with copies of the items.
    void AttachItemAction(std::uint32_t itemId, std::uint32_t location) override;
    void DetachItemAction(std::uint32_t itemId) override;
    Player* GetPaperDoll() const;
    Region* GetPaperDollRegion() const { return mPaperDollRegion.get(); }
    void RemoveLight();
    std::uint32_t GetPlayerLight() const { return mPlayerLight; }

    // Saving: a request is served by the next frame.
    void RequestSave() { mSaveRequested = true; }
    void AutoSave();
    void AutoSaveQuest(bool argument);
    void OnQuestComplete() { mQuestSaveRequested = true; }
    void OnQuestUpdate(bool argument) {
        mQuestSaveRequested = true;
        mQuestSaveArgument = argument;
    }
    int GetAutoSaveCountdown() const { return mAutoSaveCountdown; }
    // A boss near the local player names its fight's music for this frame.
    void RegisterMonsterMusic(std::uint32_t bossId, const std::string& name);
    // The local player's boss music: starts inside a boss music zone, leaves outside it.
    void BossMusicStateUpdate();
    const std::string& GetBossMusic() const { return mBossMusic; }
    void Heartbeat(int ms);

    // Spoken refusals, on the controlling character only; each line waits out its interval.
    void PlayLockedChestVox() { PlayLockedVox(mLockedVox[0]); }
    void PlayLockedShrineVox() { PlayLockedVox(mLockedVox[1]); }
    void PlayLockedDoorVox() { PlayLockedVox(mLockedVox[2]); }
    void PlayLockedQuestObjectVox() { PlayLockedVox(mLockedVox[3]); }
    void PlayNotEnoughManaVox(std::uint32_t id) { PlaySkillVox(mSkillVox[0], id); }
    void PlayInvalidEquipmentVox(std::uint32_t id) { PlaySkillVox(mSkillVox[1], id); }
    void PlaySkillCooldownVox(std::uint32_t id) { PlaySkillVox(mSkillVox[2], id); }
    void ResetSkillVox();
    void PlayInventoryFullSound();

    // Pets this player adopted; a pet leaves the list when it dies.
    bool CanAdoptAPet(std::uint32_t id);
    const std::vector<std::uint32_t>& GetAdoptedPets() const { return mAdoptedPets; }
    // Also keeps the greatest monster this player has killed in its play statistics.
    void OnCreatureDeath(const GameEvent_CreatureDeath& event);
    // Death costs the player the experience penalty of the game settings.
    void CharacterIsDying() override;
    // A kill counts in the play statistics with the victim's reward and the hits it took.
    void ContactWithObject(std::uint32_t objectId);

    // What the player remembers of non-player characters.
    void AddBoatMaster(const BoatMasterData& data);
    bool IsBoatMaster(const std::string& key) const;
    void GetBoatMaster(const std::string& key, BoatMasterData& out) const;
    void AddNpcDialog(const NpcDialogData& data) { mNpcDialogs.Add(data); }
    bool IsNpcDialog(const std::string& key) const { return mNpcDialogs.Has(key); }
    void GetNpcDialog(const std::string& key, NpcDialogData& out) const {
        mNpcDialogs.Get(key, out);
    }
    void RemoveNpcDialog(const std::string& key) { mNpcDialogs.Remove(key); }
    void AddNpcIllumination(const NpcIlluminationData& data) { mNpcIlluminations.Add(data); }
    bool IsNpcIllumination(const std::string& key) const { return mNpcIlluminations.Has(key); }
    void GetNpcIllumination(const std::string& key, NpcIlluminationData& out) const {
        mNpcIlluminations.Get(key, out);
    }
    void RemoveNpcIllumination(const std::string& key) { mNpcIlluminations.Remove(key); }

    float CalculateStun(float a, float b, float c, float d) const;
    // The attack speed of the unarmed stance; 1 without one.
    float GetUnarmedAnimSpeed() const;

    // Caps from the game record's entry of the current difficulty (PlayerBalance.cpp).
    float GetDefenseAttributeCap() const override;
    float CapRunSpeed(float speed) const override;
    float CapSpellCastSpeed(float speed) const override;
    float CapAttackSpeed(float speed) const override;
    // The game record's player attribute pack at the game's balance difficulty.
    void ContributeGameBalanceCharAttributes(CharAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceOffensiveDamageAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceRetaliationAttributes(
        CombatAttributeAccumulator& accumulator) override;

    const std::wstring& GetPlayerName() const { return mName; }
    std::string GetPlayerNameInChar() const;
    void SetPlayerName(const std::wstring& name) { mName = name; }
    // Texts shown of the player (PlayerText.cpp).
    std::wstring GetMenuDescription() const;
    std::wstring GetGameDescription(bool) const;
    std::wstring GetRolloverDescription() const;
    // The game's class table entry of the player's masteries; empty without masteries.
    std::string GetClassTag() const;
    // The class tag's text, empty without a class tag.
    std::wstring GetClassNameA() const;
    // A tag that stands in for the masteries of a player that has none (tests of the player
    // managers, which build bare players).
    // The party the player is in (0: none), as the party manager knows it.
    int GetPartyId() const;
    // A human player's minor team is its party faction: its party, or itself when in none.
    Team DerivedTeam() const override;
    bool AllocateAllAnimSets() const override { return true; }

    void GetPlayerNetHeartbeatInfo(PlayerNetHeartbeatInfo& info) const;
    void GetPlayerNetBasicInfo(PlayerNetBasicInfo& info) const;

    // Character class: "Warrior", "Archer", "Sorceress"; any other text is None.
    PlayerCharacterClassType GetPlayerCharacterClass() const { return mCharacterClass; }
    void SetPlayerCharacterClass(PlayerCharacterClassType type) { mCharacterClass = type; }
    void SetPlayerCharacterClass(const std::string& text);

    // Teleporters, map markers and respawn points of the current game difficulty.
    const std::vector<UniqueId>& GetTeleportUIDs() const;
    const std::vector<UniqueId>& GetMarkerUIDs() const;
    const std::vector<UniqueId>& GetRespawnUIDs() const;
    bool IsTeleportUIDKnown(const UniqueId& id) const;
    bool IsMarkerUIDKnown(const UniqueId& id) const;
    bool IsRespawnUIDKnown(const UniqueId& id) const;
    void AddTeleportUID(const UniqueId& id);
    void AddMarkerUID(const UniqueId& id);
    void AddRespawnUID(const UniqueId& id);
    bool IsCurrentRespawnPoint(const UniqueId& id) const;
    const UniqueId& GetCurrentRespawnPoint() const;
    // The current respawn point becomes a fresh id that names no placed object.
    void ClearRespawnLocation();
    void ClearTeleportLocations();
    // The spawn point, moved to the current respawn point when that can be found in the world.
    WorldCoords GetClosestRespawnPoint() const;
    // A free place next to the player that it can walk to; its own place when there is none.
    WorldCoords GetNearSpawnCoords();
    // Teleports to the world's next player spawn point.
    void JumpToNextSpawnPoint();
    // To the engine log: the known teleporters and the current respawn point of the current
    // difficulty, each with whether the level holds it; the level table.
    void DumpTeleportIds() const;
    void DumpRespawnIds() const;
    void DumpExperienceLevels();
    // With the record's limit on how far a move may stray from the straight line.
    bool CanMoveTo(const WorldVec3& target, float distance) override;

    // Quest tokens: bestowed ones wait in the pending list until the next frame grants them.
    void BestowToken(const TriggerToken& token) { mPendingTokens.push_back(token); }
    bool HasToken(const std::string& name) const;
    void RemoveToken(const TriggerToken& token);
    void ClearTokens() { mTokens.clear(); }
    std::vector<std::string> GetTriggerTokensAsString() const;
    const std::vector<TriggerToken>& GetPendingTokens() const { return mPendingTokens; }

    bool GetAlternateConfig() const { return mAlternateConfig; }
    void SetAlternateConfig(bool alternate);
    void SetAlternateConfigEnabled(bool enabled) { mAlternateConfigEnabled = enabled; }
    bool GetAlternateConfigEnabled() const { return mAlternateConfigEnabled; }
    const std::string& GetPlayerTexture() const { return mPlayerTexture; }
    bool GiveItemToCharacter(Item& item) override;
    // Then a save is asked for.
    void DropItem(Item* item, float x, float z) override;
    // The controls let go of it too (the worn slot, the bag) and a save is asked for.
    void NotifyControllerItemRemovedFromInventory(std::uint32_t itemId) override;
    bool IsInventorySpaceAvailable(Item& item) const;
    PlayerHotSlotCtrl& GetPlayerHotSlotCtrl() const { return *mHotSlots; }
    // Along the paper-doll chain too.
    void SetPlayerTexture(const std::string& name);
    void ResetPlayerTexture();
    // The texture at the index of the record's list, clamped into it.
    void PickNewTexture(int index);
    const UniqueId& GetUniqueSaveId() const { return mUniqueSaveId; }
    void SetUniqueSaveId(const UniqueId& id) { mUniqueSaveId = id; }
    void SetDebugSphereRadius(float radius) { mDebugSphereRadius = radius; }
    bool IsInMainQuest() const { return mInMainQuest; }
    void SetIsInMainQuest(bool value) { mInMainQuest = value; }
    // A new player has completed none: stored as 3, reported as 0.
    std::uint32_t GetGreatestDifficultyCompleted() const {
        return mGreatestDifficultyCompleted == 3 ? 0 : mGreatestDifficultyCompleted;
    }
    void SetGreatestDifficultyCompleted(std::uint32_t value) {
        mGreatestDifficultyCompleted = value;
    }
    bool GetHasBeenInGame() const { return mHasBeenInGame; }
    void SetHasBeenInGame(bool value) { mHasBeenInGame = value; }
    std::uint32_t GetCompassState() const { return mCompassState; }
    bool GetSkillWindowShowHelp() const { return mSkillWindowShowHelp; }
    bool IsSaveRequested() const { return mSaveRequested; }

    PlayerGameInterface* GetGameInterface() const { return mGameInterface; }
    void SetGameInterface(PlayerGameInterface* gameInterface) { mGameInterface = gameInterface; }

    // The character file: one routine reads or writes the whole character.
    void StreamProperties(IOStream& stream);
    void StreamPropertiesUI(IOStream& stream);
    void StreamPropertiesInventory(IOStream& stream);
    bool StreamPropertiesQuestTokens(IOStream& stream);
    // The skill bars the user set (the host's, else those last read), for the UI section.
    void GetUISettings(PlayerSave_UISetting& settings) const;
    void RestoreUISettings(PlayerSave_UISetting& settings);

    // Writes the character file under a temporary name and renames it into place.
    bool SaveCharacterFile(const std::filesystem::path& path);
    // Reads a character file; a file that does not read cleanly to its end is refused with its
    // name and the property, and the player and the game are left as they were.
    bool LoadCharacterFile(const std::filesystem::path& path);
    // The same over the bytes of a file; `name` names it in the log.
    bool LoadCharacterData(const std::vector<std::uint8_t>& bytes, const std::string& name);

private:
    // Destroys the current controller and binds a new one made from the record (none when the
    // record makes no controller).
    void ReplaceController(const char* record);
    using IdLists = std::array<std::vector<UniqueId>, 3>;
    std::size_t DifficultyIndex() const;
    static bool AddUID(std::vector<UniqueId>& list, const UniqueId& id);
    // applyToGame false: a trial read that leaves the game root's tutorial state alone.
    void StreamCharacter(IOStream& stream, bool applyToGame);
    void StreamTutorialState(IOStream& stream, bool applyToGame);
    void StreamIdLists(IOStream& stream, const char* versionKey, const char* sizeKey,
                       const char* idKey, IdLists& lists);
    void StreamPropertiesHotSlots(IOStream& stream);
    void StreamPropertiesSkills(IOStream& stream);
    // The bag of the player controller, else the one kept for the next (a stub has none).
    PlayerInventoryCtrl& GetBag();

    // A sound line with its own countdown, or one of the skill lines sharing theirs.
    struct LockedVox {
        std::uint32_t sound = 0;  // SoundPak object id, 0: none
        int countdown = 0;
    };
    struct SkillVox {
        std::uint32_t sound = 0;
        std::uint32_t lastId = 0;
    };
    std::array<std::uint32_t*, 9> SoundIds();
    void PlayLockedVox(LockedVox& line);
    void PlaySkillVox(SkillVox& line, std::uint32_t id);
    void PlaySound(std::uint32_t soundId);
    void GrantPendingTokens();
    void CountDownVox(int ms);
    void LoadLight(const LoadTable& table);
    void AttachLight();
    void DestroyPaperDoll();
    float CapSpeed(float speed, std::size_t cap, CharAttributeType base) const;

    // The game record's caps, per difficulty, read on first use.
    struct Caps {
        static constexpr std::size_t kRunSpeed = 0, kAttackSpeed = 1, kSpellCastSpeed = 2;
        // No member initialisers: clang cannot use them before the enclosing class is complete
        // (the optional's emplace needs the constructor); value-initialisation zeroes all.
        std::array<float, 3> defense;
        std::array<std::array<float, 3>, 3> low;   // [speed][difficulty]
        std::array<std::array<float, 3>, 3> high;  // [speed][difficulty]
    };
    const Caps& GetCaps() const;

    std::wstring mName;
    std::string mClassTag;
    PlayerGameInterface* mGameInterface = nullptr;
    PlayerSave_UISetting mUISettings;
    std::vector<TriggerToken> mTokens;
    std::vector<TriggerToken> mPendingTokens;
    PlayerCharacterClassType mCharacterClass = PlayerCharacterClassType::None;
    IdLists mTeleportUIDs;
    IdLists mMarkerUIDs;
    IdLists mRespawnUIDs;
    std::array<UniqueId, 3> mCurrentRespawnPoint{};
    bool mAlternateConfig = false;
    bool mAlternateConfigEnabled = false;
    std::string mPlayerTexture;
    bool mSaveRequested = false;
    bool mInMainQuest = true;
    std::uint32_t mGreatestDifficultyCompleted = 3;
    bool mHasBeenInGame = false;
    std::uint32_t mCompassState = 0;
    bool mSkillWindowShowHelp = true;

    bool mControlling = false;
    bool mIsCopy = false;
    std::unique_ptr<PlayerReplicationData> mPendingReplication;
    std::uint32_t mInventoryFullSound = 0;
    std::uint32_t mPickUpSound = 0;
    std::vector<std::string> mPlayerTextures;
    float mMaxMoveToRatio = 0.0f;
    std::array<LockedVox, 4> mLockedVox{};  // chest, shrine, door, quest object
    std::array<SkillVox, 3> mSkillVox{};    // not enough mana, invalid equipment, cooldown
    int mSkillVoxRepeatCountdown = 0;
    int mSkillVoxCountdown = 0;
    int mHeartbeatCountdown = 0;
    int mAutoSaveCountdown = kAutoSaveInterval;
    int mAutoSaveCount = 0;
    std::string mPreviousBossMusic;
    std::string mBossMusic;
    bool mQuestSaveRequested = false;
    bool mQuestSaveArgument = false;
    std::vector<std::uint32_t> mAdoptedPets;
    std::vector<BoatMasterData> mBoatMasters;
    KeyedRecords<NpcDialogData> mNpcDialogs;
    KeyedRecords<NpcIlluminationData> mNpcIlluminations;
    std::uint32_t mPlayerLight = 0;
    UniqueId mUniqueSaveId;
    float mDebugSphereRadius = 0.0f;
    int mSpawnPointIndex = 0;
    std::uint32_t mPaperDoll = 0;  // the copy's object id
    // This player's worn item id -> the paper doll's copy of it.
    std::map<std::uint32_t, std::uint32_t> mPaperDollItems;
    std::unique_ptr<Region> mPaperDollRegion;
    mutable std::optional<Caps> mCaps;
    GameEventListener<Player, GameEvent_CreatureDeath> mCreatureDeathListener;
    std::unique_ptr<PlayerHotSlotCtrl> mHotSlots;
    // The bag while no player controller holds it (a stub controller during a load).
    std::unique_ptr<PlayerInventoryCtrl> mHeldBag;
};

}  // namespace GAME
