#pragma once
// The player character, as far as the game core needs it so far: its name, class tag, party and
// the records the player managers keep of it.
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/triggers/TriggerToken.h"
#include "Game/characters/Character.h"
#include "Game/characters/player/PlayerMemories.h"
#include "Game/characters/player/PlayerSaveUISetting.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"

namespace GAME {

struct PlayerNetHeartbeatInfo;
struct PlayerNetBasicInfo;
struct PlayerReplicationData;
struct GameEvent_CreatureDeath;
class IOStream;
class NetPacket;
class NetPacketInBuffer;
class NetPacketOutBuffer;

enum class PlayerCharacterClassType : std::int32_t {
    None = -1,
    Warrior = 0,
    Archer = 1,
    Sorceress = 2
};

class Player : public Character {
    RTTI_DECLARE(Player)
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
    static constexpr const char* kStubControllerRecord =
        "Records/Controllers/Player/CharacterControllerStub.dbr";

    // Each frame, in a fixed order: the character, tutorial and fog of war, team, regeneration,
    // heartbeat, tokens, saving, vox countdowns, skill point hints (PlayerUpdate.cpp).
    void UpdateSelf(int ms) override;
    // Sound lines, default skills, gold, skill trees, textures and move ratio of the record.
    void Load(const LoadTable& table) override;
    // A player another machine controls is alive from the start; the texture is applied.
    void InitialUpdate() override;
    // The machine's own player; only it saves and speaks its vox lines.
    void SetIsControllingCharacter(bool controlling);
    bool IsControllingCharacter() const { return mControlling; }
    bool IsPlayer() const { return true; }
    bool DeleteOnEnteringUnloadedLevel() const { return false; }
    bool ShouldLoadLoot() const { return false; }
    bool ShouldUseDistressCall() const override { return true; }

    // Spawning on other machines and local copies (PlayerReplication.cpp).
    bool ShouldServerSpawn() const { return true; }
    std::unique_ptr<NetPacket> CreateSpawnNetPacket() const;
    void WriteReplicationData(NetPacketOutBuffer& out);
    // A malformed body is refused: false, logged, and no record is kept.
    bool ReadReplicationData(NetPacketInBuffer& in);
    void ApplyReplicationData();
    bool IsCopy() const { return mIsCopy; }
    void SetIsCopy(bool copy) { mIsCopy = copy; }

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
    void OnCreatureDeath(const GameEvent_CreatureDeath& event);

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

    const std::wstring& GetPlayerName() const { return mName; }
    std::string GetPlayerNameInChar() const;
    void SetPlayerName(const std::wstring& name) { mName = name; }
    const std::string& GetClassTag() const { return mClassTag; }
    void SetClassTag(const std::string& tag) { mClassTag = tag; }
    // The party the player is in (0: none), as the party manager knows it.
    int GetPartyId() const;
    // A human player's minor team is its party faction: its party, or itself when in none.
    Team GetTeam() const override;
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
    // Where the player comes back: the spawn point, at the current respawn point when known.
    WorldCoords GetClosestRespawnPoint() const;
    void ClearTeleportLocations();

    // Quest tokens: bestowed ones wait in the pending list until the next frame grants them.
    void BestowToken(const TriggerToken& token) { mPendingTokens.push_back(token); }
    bool HasToken(const std::string& name) const;
    void RemoveToken(const TriggerToken& token);
    void ClearTokens() { mTokens.clear(); }
    std::vector<std::string> GetTriggerTokensAsString() const;
    const std::vector<TriggerToken>& GetPendingTokens() const { return mPendingTokens; }

    bool GetAlternateConfig() const { return mAlternateConfig; }
    void SetAlternateConfigEnabled(bool enabled) { mAlternateConfigEnabled = enabled; }
    bool GetAlternateConfigEnabled() const { return mAlternateConfigEnabled; }
    const std::string& GetPlayerTexture() const { return mPlayerTexture; }
    void SetPlayerTexture(const std::string& name);
    void ResetPlayerTexture();
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
    void SetCompassState(std::uint32_t state) { mCompassState = state; }
    bool GetSkillWindowShowHelp() const { return mSkillWindowShowHelp; }
    void SetSkillWindowShowHelp(bool show) { mSkillWindowShowHelp = show; }
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
    bool mQuestSaveRequested = false;
    bool mQuestSaveArgument = false;
    std::vector<std::uint32_t> mAdoptedPets;
    std::vector<BoatMasterData> mBoatMasters;
    KeyedRecords<NpcDialogData> mNpcDialogs;
    KeyedRecords<NpcIlluminationData> mNpcIlluminations;
    GameEventListener<Player, GameEvent_CreatureDeath> mCreatureDeathListener;
};

}  // namespace GAME
