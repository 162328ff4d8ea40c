#pragma once
// The people and animals of the world that the player talks to, trades with or walks past. An
// Npc speaks its dialog pack when a player interacts with it, keeps a stack of further packs,
// shows a mark over its head (exclamation, question, illumination) when it has something to
// say, converses with other characters, dispenses an item to a player, and keeps its dialog
// state in the level's saved state. Files: Npc.cpp (record, frame, conversations),
// NpcDialogs.cpp (dialog packs and marks), NpcState.cpp (saved state, replication, the
// player's records).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Game/characters/Character.h"
#include "Game/characters/monster/MonsterLoot.h"

namespace GAME {

class NetPacketInBuffer;
class NetPacketOutBuffer;
class CrtGenerator;
class NpcDialogPak;
class NpcDialogUpdateAction;
class NpcIlluminateAction;
class Player;
class VoidCallbackFunctor;
struct SoundDescriptor;

class Npc : public Character {
    RTTI_DECLARE(Npc)
public:
    // The kind of mark the NPC shows.
    enum DialogType : int {
        DialogType_Exclamation = 1,
        DialogType_Question = 2,
        DialogType_Illumination = 3,
        DialogType_Default = 4,  // question mark while a greeting is pending
        DialogType_SkillReallocator = 5,
    };

    static constexpr const char* kQuestion01 = "Records/Effects/ObjectEffects/Question01.dbr";
    static constexpr const char* kQuestion03 = "Records/Effects/ObjectEffects/Question03.dbr";
    static constexpr const char* kExclamation02 =
        "Records/Effects/ObjectEffects/Exclaimation02.dbr";
    static constexpr const char* kExclamation03 =
        "Records/Effects/ObjectEffects/Exclaimation03.dbr";
    static constexpr const char* kAnchor01 = "Records/Effects/ObjectEffects/Anchor01.dbr";
    static constexpr int kConversationCooldownMs = 1000;

    Npc();
    ~Npc() override;

    void Load(const LoadTable& table) override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& nuggets) const override;
    void InitialUpdate() override;
    void UpdateSelf(int ms) override;
    bool ShouldServerSpawn() const override { return true; }
    bool IsOfInterest() const override;
    bool WillYouChat(std::uint32_t id) override;
    bool ShouldLoadLoot() const override;
    // A sheep turns with its stride: slowly while it ambles, quickly while it runs.
    float GetMinRotationSpeed() const override;
    float GetMaxRotationSpeed() const override;

    // Binary state of placed objects.
    bool ShouldSaveState() const { return mDialogStateChanged; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    bool UseExistingObjectForRestore() const { return true; }

    // Spawning on other machines: the loot seed and the nine attached-item ids.
    void WriteReplicationData(NetPacketOutBuffer& out);
    bool ReadReplicationData(NetPacketInBuffer& in);
    void ApplyReplicationData();
    const LootStruct& GetReplicatedLoot() const { return mReplicatedLoot; }

    // The slots a non-player character adds.
    virtual void LoadController();
    virtual void OnPlayerInteract(std::uint32_t playerId, bool first, bool second);
    virtual Character* GetChatTarget() const { return nullptr; }
    virtual GraphicsAnim* GetAlertAnim() const { return mAlertAnim; }
    virtual float GetAlertAnimSpeed() const { return mAlertAnimSpeed; }
    virtual void PlayAlertSound() {}
    virtual void SetChatEnable(bool enable) { mChatEnable = enable; }
    virtual bool GetChatEnable() const { return mChatEnable; }
    virtual void Converse(std::uint32_t characterId);
    virtual bool Dialog_DoOverridePlaybackType() const { return false; }
    virtual void Dialog_OverridePlayback(SoundDescriptor&) {}
    virtual void Dialog_ReplaceStatic(const std::string& dialogFile,
                                      NpcDialogUpdateAction* updateAction, bool noPrimaryDialog);
    virtual std::uint32_t GetSocialTarget() const;
    virtual void AddSocialTarget(std::uint32_t id);
    virtual void DeleteSocialTarget(std::uint32_t id);
    virtual void UpdateSocialTargetList() {}
    virtual bool IsChatting() const { return !mSocialTargets.empty(); }
    virtual bool CanDelay() const { return true; }

    // Dialog.
    bool HasDialog() const { return mDialogPak != nullptr; }
    NpcDialogPak* GetDialogPak() const { return mDialogPak; }
    const std::string& GetDialogPakName() const { return mDialogPakName; }
    void SetDialogType(DialogType type) { mDialogType = type; }
    DialogType GetDialogType() const { return mDialogType; }
    int GetGreetingCountdown() const { return mGreetingCountdown; }
    void SetGreetingCountdown(int ms) { mGreetingCountdown = ms; }
    bool IsDialogStateChanged() const { return mDialogStateChanged; }
    void Dialog_Push(NpcDialogPak* pack);
    void Dialog_Push(const std::string& record);
    void Dialog_Append(NpcDialogPak* pack);
    void Dialog_Append(const std::string& record);
    // The front pack of the stack (the caller owns it), null when empty.
    NpcDialogPak* Dialog_Pop();
    std::size_t GetDialogStackSize() const { return mDialogStack.size(); }
    std::size_t GetSpokenDialogCount() const { return mSpokenDialogs.size(); }
    void Dialog_Illuminate(NpcIlluminateAction* action);
    void Dialog_Deluminate();
    void Dialog_TriggerAlert(std::uint32_t characterId);
    void DestroyDialogPak();
    void OnDialogComplete();
    // Calls OnDialogComplete on this NPC; owned by the NPC.
    VoidCallbackFunctor* GetCompletionFunctor() const { return mCompletionFunctor.get(); }

    // Marks over the head.
    void AttachPunctuation(const std::string& record);
    void DetachPunctuation();
    const std::string& GetPunctuationName() const { return mPunctuationName; }
    std::uint32_t GetPunctuationId() const { return mPunctuationId; }
    void AttachIllumination(const std::string& record);
    void DetachIllumination();
    std::uint32_t GetIlluminationId() const { return mIlluminationId; }

    // Conversations and attraction.
    bool IsChattingWithPlayer(std::uint32_t id) const;
    void OnConversationEnd(std::uint32_t id) { DeleteSocialTarget(id); }
    const std::vector<std::uint32_t>& GetSocialTargets() const { return mSocialTargets; }
    bool IsAvailableForConversations() const;
    bool IsAlerted() const { return mAlerted; }
    bool IsInSidelineConversation() const { return mInSidelineConversation; }
    bool IncludeInMap() const;
    bool IsInHerd() const { return mIsInHerd; }
    const std::string& GetHerdName() const { return mHerdName; }
    bool IsNpcAttractor() const { return mIsAttractor; }
    bool CanBeAttracted() const;
    int GetAttractionTime() const;
    // The same draw from a generator of the caller's (the town controller's own).
    int GetAttractionTime(CrtGenerator& random) const;
    void SetIgnoreAttractionTime(int ms) { mIgnoreAttractionTime = ms; }
    float GetDistanceToPlayer() const;
    float GetDialogFade() const;
    int GetConversationCooldown() const { return mConversationCooldown; }

    // Items given out, per player.
    void SetDispenseItem(std::uint32_t playerId, const std::string& itemRecord);
    const std::string& GetMessageFileName() const { return mMessageFileName; }
    const std::string& GetAIType() const { return mAIType; }
    const std::string& GetDescriptionTag() const { return mDescriptionTag; }
    std::wstring GetGameDescription(bool) const;

    // Controllers made by name (herds).
    void SetController(const std::string& record);

    // The main player's records of this NPC, keyed by its normalised object name.
    void SetBoatMaster(bool on, const std::string& text, int x, int y, int z);
    bool IsBoatMaster() const;
    void SetPlayerNpcDialog(NpcDialogUpdateAction* action);
    void SetPlayerNpcIllumination(NpcIlluminateAction* action);
    bool IsPlayerNpcDialog() const;
    bool IsPlayerNpcIllumination() const;
    std::uint32_t GetPlayerNpcDialog() const;
    std::uint32_t GetPlayerNpcIllumination() const;
    void RestoreInteractState();

protected:
    void Update_Dialog(int ms);
    // Swaps in a pack (the old one destroyed) and marks the dialog state changed.
    void ReplaceDialogPak(NpcDialogPak* pack);
    void SetDialogStateChanged() { mDialogStateChanged = true; }
    void SetDialogUpdateAction(NpcDialogUpdateAction* action) { mDialogUpdateAction = action; }
    std::string PlayerRecordKey() const;
    // Whether a player id is this machine's player.
    static bool IsMainPlayer(std::uint32_t id);
    void DispenseItem(std::uint32_t playerId);

private:
    void RebuildPunctuationOffset();

    std::vector<std::uint32_t> mSocialTargets;
    std::string mDialogPakName;
    std::string mConversationPakName;
    NpcDialogPak* mDialogPak = nullptr;  // owned
    DialogType mDialogType = DialogType_Default;
    int mGreetingCountdown = -1;
    bool mDialogStateChanged = false;
    NpcIlluminateAction* mIlluminateAction = nullptr;
    NpcDialogUpdateAction* mDialogUpdateAction = nullptr;
    std::string mMessageFileName = "NoFile";
    std::string mMessageDialogTag;
    float mMessageScrollRate = 1.0f;
    std::string mAIType;
    std::string mDescriptionTag;
    GraphicsAnim* mAlertAnim = nullptr;
    float mAlertAnimSpeed = 1.0f;
    bool mChatEnable = true;
    bool mIncludeInMap = false;
    std::vector<std::unique_ptr<NpcDialogPak>> mDialogStack;
    std::vector<std::unique_ptr<NpcDialogPak>> mSpokenDialogs;
    std::unique_ptr<VoidCallbackFunctor> mCompletionFunctor;
    std::string mIlluminationName;
    std::uint32_t mIlluminationId = 0;
    std::uint32_t mPunctuationId = 0;
    std::string mPunctuationName;
    bool mAvailableForConversations = false;
    bool mAlert = false;
    int mAlertTime = 0;
    int mConversationCooldown = 0;
    bool mAlerted = false;
    bool mInSidelineConversation = false;
    bool mIsInHerd = false;
    std::string mHerdName;
    bool mIsAttractor = false;
    int mAttractionTimeMin = 3;
    int mAttractionTimeMax = 4;
    bool mCanBeAttracted = true;
    int mIgnoreAttractionTime = 0;
    std::string mControllerRecord;
    std::map<std::uint32_t, std::string> mDispense;
    LootStruct mReplicatedLoot;
    bool mReplicationPending = false;
};

// Whether a character stands close enough to talk (the server's test of a client's request).
bool NpcWithinTalkReach(const Character& talker, const Npc& npc);

}  // namespace GAME
