#pragma once
// The character of every creature that fights: enemies, bosses and the pets that players or
// other monsters command. Its AI lives in a ControllerMonster; the anger, lifetime and treasure
// operations here forward to it. Files: Monster.cpp (life cycle, sounds, look), MonsterJoin.cpp
// (leaders and banners), MonsterRules.cpp (caps, game balance, stun, death),
// MonsterController.cpp (controller set-up and forwarding), MonsterSavedState.cpp and
// MonsterReplication.cpp.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/characters/Character.h"
#include "Game/characters/monster/MonsterLoot.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/core/settings/GameTables.h"
#include "Game/core/settings/MonsterCaps.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

class ControllerMonster;
class NetPacketInBuffer;
class NetPacketOutBuffer;
class SkillAttributeAccumulator;
class SoundPak;
struct MonsterReplicationData;

class Monster : public Character {
    RTTI_DECLARE(Monster)
public:
    Monster();
    ~Monster() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int ms) override;
    void PrefetchKindLines() const override;

    // Spawning on other machines (MonsterReplication.cpp).
    void WriteReplicationData(NetPacketOutBuffer& out);
    // A malformed body is refused: false, logged, and no record is kept.
    bool ReadReplicationData(NetPacketInBuffer& in);
    void ApplyReplicationData();
    bool HasPendingReplicationData() const { return mPendingReplication != nullptr; }

    // Binary state of placed objects (MonsterSavedState.cpp).
    bool ShouldSaveState() const { return true; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    // True when the monster was rebuilt from saved state.
    bool IsRestored() const { return mRestored; }

    void TouchedByPlayer() override { Character::TouchedByPlayer(); }

    // Joining a leader: pets and converted monsters. durationMs -1: no time limit.
    void JoinMe(std::uint32_t leaderId, int durationMs, bool showBanner) override;
    std::uint32_t GetLeaderId() const { return mLeaderId; }
    std::uint32_t GetPreviousLeaderId() const { return mPreviousLeaderId; }
    int GetJoinTimeLeft() const { return mJoinTimeLeft; }
    const Team& GetSavedTeam() const { return mSavedTeam; }
    bool IsLeaderPlayer() const { return mLeaderIsPlayer; }
    bool IsRegisteredForForcedUpdates() const { return mForcedUpdatesRegistered; }

    // Caps and game balance.
    float GetDefenseAttributeCap() const override;
    float CapRunSpeed(float speed) const override;
    float CapSpellCastSpeed(float speed) const override;
    float CapAttackSpeed(float speed) const override;
    void ContributeGameBalanceCharAttributes(CharAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceOffensiveDamageAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void ContributeGameBalanceRetaliationAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void OnGameBalanceLevel(const GameEvent_GameBalanceLevel& event);
    unsigned int GetGameBalanceLevel() const { return mGameBalanceLevel; }
    float CalculateStun(float a, float b, float c, float d) const;

    // Combat hooks.
    void CombatExertInfluenceConfusion(int amount) override;
    void StartDamageEffect(CombatAttributeType type) override;
    void StopDamageEffect(CombatAttributeType type) override;
    CharFxPak& GetConfusionFx() { return mConfusionFx; }

    // Death.
    void CharacterIsDying() override;
    void CharacterHasDied() override;
    bool ShouldLoadLoot() const override;

    // Sounds.
    virtual void PlayAmbientSound(bool);
    virtual SoundPak* GetAlertSound() const { return GetMonsterSound(AlertSound); }
    virtual float GetAlertSoundChance() const { return mAlertSoundChance; }
    virtual SoundPak* GetRallySound() const { return GetMonsterSound(RallySound); }
    virtual float GetRallySoundChance() const { return mRallySoundChance; }
    virtual SoundPak* GetRampageSound() const { return GetMonsterSound(RampageSound); }
    virtual float GetRampageSoundChance() const { return mRampageSoundChance; }
    virtual int GetRampageSoundDelay() const { return mRampageSoundDelay; }
    // The sound packs of the record, in the order it names them; null when it names none.
    enum MonsterSound : std::size_t {
        AmbientSound,
        AlertSound,
        RallySound,
        RampageSound,
        FleeSound,
        PetAttackSound,
        PetAcknowledgeSound,
        AliveSound,
        MonsterSoundCount
    };
    SoundPak* GetMonsterSound(MonsterSound sound) const;
    SoundPak* GetFleeSound() const { return GetMonsterSound(FleeSound); }
    SoundPak* GetPetAttackSound() const { return GetMonsterSound(PetAttackSound); }
    SoundPak* GetPetAcknowledgeSound() const { return GetMonsterSound(PetAcknowledgeSound); }
    float GetAmbientCountdown() const { return mAmbientCountdown; }

    MonsterClassification GetClassification() const { return mClassification; }
    // The name shown of the monster: its classification's colour and its "description" text.
    std::wstring GetGameDescription(bool forMap) const;
    // A pet's summary: health, energy, its abilities or its bare-hand damage.
    void CreateUISummaryText(GameTextClass textClass,
                             std::vector<GameTextLine>& lines) const override;
    float GetDeathFromEnemyRange() const { return mDeathFromEnemyRange; }
    void SetProxyParent(const std::string& name) { mProxyParent = name; }
    const std::string& GetProxyParent() const { return mProxyParent; }
    void SetProxyNumSiblings(unsigned int count) { mProxyNumSiblings = count; }
    unsigned int GetProxyNumSiblings() const { return mProxyNumSiblings; }
    void SetPoppedOut(bool poppedOut) { mPoppedOut = poppedOut; }
    bool GetPoppedOut() const { return mPoppedOut; }
    const std::string& GetStatusIcon() const { return mStatusIcon; }
    const std::string& GetStatusIconRed() const { return mStatusIconRed; }
    bool GetShowStatusWidget() const { return mShowStatusWidgetWhenPet; }
    void SetUIActorDescriptionRedirectId(std::uint32_t id) { mUIActorDescriptionRedirectId = id; }
    std::uint32_t GetUIActorDescriptionRedirectId() const { return mUIActorDescriptionRedirectId; }
    void SetDropPerPartyMemberItem(const ItemReplicaInfo& item) { DropPerPartyMemberItem() = item; }
    // An empty item for a monster that drops none.
    const ItemReplicaInfo& GetDropPerPartyMemberItem() const;
    const std::string& GetMonsterMusic() const { return mMonsterMusic; }
    const std::string& GetBossBoundingVolume() const { return mBossBoundingVolume; }
    // The boss volume made from that record (0 when none).
    std::uint32_t GetBossBoundingVolumeId() const { return mBossBoundingVolumeId; }
    const std::string& GetTreasureProxyName() const { return mTreasureProxyName; }

    bool IsHeroOrBossLoot() const { return mHeroOrBossLoot; }

    // The controller. Only a controlling character's controller drives it on this machine.
    void SetIsControllingCharacter(bool controlling) { mControlling = controlling; }
    bool IsControllingCharacter() const { return mControlling; }
    // Makes the controller the monster's own and the monster its parent.
    void BrainTransplant(ControllerMonster* controller);
    // Takes a monster controller out (the caller owns it) and leaves a stub in its place; null
    // when the monster has none.
    ControllerMonster* Lobotomize();
    ControllerMonster* GetMonsterController() const;
    void SetLifetime(int ms);
    void TransferAnger(Monster& other);
    void ClearAnger();
    void SetTreasureProxy(const std::string& name);
    bool RequestConversation(const Monster& other);

    // Pet banners: one shown at a time, control before convert before base.
    void SetBaseBanner(const std::string& name) { SetBanner(BannerBase, name); }
    void SetConvertBanner(const std::string& name) { SetBanner(BannerConvert, name); }
    void SetControlBanner(const std::string& name) { SetBanner(BannerControl, name); }
    void RemoveBaseBanner() { RemoveBanner(BannerBase); }
    void RemoveConvertBanner() { RemoveBanner(BannerConvert); }
    void RemoveControlBanner() { RemoveBanner(BannerControl); }
    // Object ids of the banner of a kind and of the one shown (0: none).
    std::uint32_t GetBaseBannerId() const { return mBanners[BannerBase]; }
    std::uint32_t GetConvertBannerId() const { return mBanners[BannerConvert]; }
    std::uint32_t GetControlBannerId() const { return mBanners[BannerControl]; }
    std::uint32_t GetShownBannerId() const { return mShownBanner; }

protected:
    void StartAliveSound();
    void StopAliveSound();
    void DropLooselyAttachedItems();
    void DropFirmlyAttachedItems();
    void SelectAlternativeMeshAndTextures();
    void InitSkillsInController(const LoadTable& record, ControllerMonster& controller,
                                std::uint32_t defaultSkillId);
    void SetLeader(std::uint32_t id);
    void UnJoinLeader();
    void SetPetBanner();
    void RemoveAllPetBanners();

private:
    enum BannerKind : std::size_t { BannerBase, BannerConvert, BannerControl, BannerCount };
    ItemReplicaInfo& DropPerPartyMemberItem();

    void LoadController(const LoadTable& record);
    void SetBanner(BannerKind kind, const std::string& name);
    void RemoveBanner(BannerKind kind);
    void UpdateLeader(int ms);
    void UpdateMonsterMusic();
    void MakeBossBoundingVolume();
    float CapSpeed(float speed, MonsterCaps::Speed which, CharAttributeType baseAttribute) const;
    void DestroyBanners();
    // Controller calls that have nothing to do without a ControllerMonster.
    void ControllerNewLeader(std::uint32_t leaderId);

    // What each frame reads of a monster, side by side: the frame loop asks for these lines ahead.
    float mAmbientCountdown = 0.0f;
    float mDeathFromEnemyRange = 0.0f;
    std::uint32_t mLeaderId = 0;
    bool mAliveSoundWanted = false;
    RecordText mMonsterMusic;
    std::array<std::uint32_t, MonsterSoundCount> mSoundIds{};  // SoundPak object ids
    float mAmbientPeriodMin = 0.0f;
    float mAmbientPeriodMax = 0.0f;
    float mAlertSoundChance = 0.0f;
    float mRallySoundChance = 0.0f;
    float mRampageSoundChance = 0.0f;
    int mRampageSoundDelay = 0;
    RecordText mBossBoundingVolume;
    std::uint32_t mBossBoundingVolumeId = 0;
    int mJoinTimeLeft = -1;
    Team mSavedTeam;
    std::uint32_t mPreviousLeaderId = 0;
    MonsterClassification mClassification = MonsterClassification_Common;
    RecordText mDescriptionTag;
    std::string mProxyParent;
    unsigned int mProxyNumSiblings = 0;
    CharFxPak mConfusionFx;
    std::unique_ptr<MonsterReplicationData> mPendingReplication;
    std::vector<RecordText> mMeshes;
    std::vector<RecordText> mBaseTextures;
    std::vector<RecordText> mBumpTextures;
    RecordText mStatusIcon;
    RecordText mStatusIconRed;
    float mMonsterMusicRadiusSquared = 0.0f;
    std::uint32_t mUIActorDescriptionRedirectId = 0;
    // Made when the monster first drops one (few do).
    std::unique_ptr<ItemReplicaInfo> mDropPerPartyMemberItem;
    // Banner actors by object id; the shown one is also one of the three.
    std::uint32_t mShownBanner = 0;
    std::array<std::uint32_t, BannerCount> mBanners{};
    bool mShowStatusWidgetWhenPet = false;
    bool mLeaderIsPlayer = false;
    bool mBossCaps = false;  // a boss's caps, not any monster's
    RecordText mTreasureProxyName;
    GameEventListener<Monster, GameEvent_GameBalanceLevel> mBalanceListener;
    unsigned int mGameBalanceLevel = 0;
    bool mPoppedOut = false;

    bool mHeroOrBossLoot = false;
    bool mRestored = false;
    bool mControlling = false;
    bool mForcedUpdatesRegistered = false;
};

}  // namespace GAME
