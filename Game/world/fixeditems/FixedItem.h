#pragma once
// The base of every placed, usable object of the world (chests, doors, shrines, portals, wells,
// quest objects): one state value shared by the kinds, a lock, a deciding controller on the
// machine that owns the game state, an optional skill emitter, a reward for users, a drop item
// for each party member, sounds on animation events and path obstacles from its mesh. The state
// reaches clients as one byte and saved games as a short binary record; every change and use
// reaches all machines as a configuration command.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/Object.h"
#include "Engine/sys/GameTimer.h"
#include "Game/characters/anim/AnimationSound.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/Team.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/OwnedObject.h"
#include "Game/skills/auras/AuraManager.h"
#include "Game/world/effects/SpecialFX.h"
#include "Game/world/fixeditems/FixedItemState.h"

namespace GAME {

class Character;
class DynamicObstacle;
class FixedItemController;
class FixedItemSkill;
class NetPacketInBuffer;
class NetPacketOutBuffer;

class FixedItem : public Actor, public FixedItemCommandTarget {
    RTTI_DECLARE(FixedItem)
public:
    static constexpr int kSoundCount = 5;
    // How far around an opened or activated item its team's monsters hear of it.
    static constexpr float kNotifyAlliesRadius = 20.0f;

    FixedItem();
    ~FixedItem() override;

    // Engine operations.
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    void AnimationCallback(int channel, const Name& event) override;
    bool ShouldServerSpawn() const override { return true; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    virtual bool ShouldSaveState() const { return true; }
    virtual bool IsStatic() const { return false; }
    bool OccludesPathing() const override { return false; }
    virtual bool DeleteOnEnteringUnloadedLevel() const { return false; }
    virtual bool GetIsPartOfLevel() const { return true; }
    virtual void OnAddToLevel() { CreatePathObstacle(); }
    virtual void OnRemoveFromLevel() { RemovePathObstacle(); }
    virtual void OnMoveInLevel() { CreatePathObstacle(); }
    virtual void WriteReplicationData(NetPacketOutBuffer& out);
    virtual bool ReadReplicationData(NetPacketInBuffer& in);
    virtual void ApplyReplicationData();
    // "^y" for the map, the description, and the locked text while locked (not on the map).
    virtual std::wstring GetGameDescription(bool forMap) const;

    // The operations the kinds override.
    virtual void RequestToUse(unsigned int user);
    void UseOnTarget(unsigned int user, const std::vector<unsigned int>& targets) override;
    void UseSkillOnTargets(unsigned int user, const std::vector<unsigned int>& targets) override;
    void SetFixedItemState(FixedItem_State, unsigned int, bool, bool) override {}
    virtual bool IsOfInterest() const { return false; }
    virtual bool CanIUse(unsigned int) const { return true; }
    virtual WorldVec3 GetMoveToPoint(unsigned int user) const;
    virtual float GetExtraReach() const { return 0.0f; }
    virtual FixedItemSkill* GetSkill() const;
    virtual int GetSkillDelay() const { return mSkillDelay; }
    virtual void SetLock(bool locked) { mLocked = locked; }
    virtual bool IsLocked() const { return mLocked; }
    virtual bool IsCharacterInFront(WorldCoords& coords) const;
    virtual float GetStandingDistance(float userRadius) const;
    virtual bool IsAutoCloseEnabled() const { return false; }
    virtual bool IsAlternateLock(unsigned int) const { return false; }
    virtual void CreatePathObstacle();
    virtual void RemovePathObstacle();
    virtual void DebugRender() const;

    FixedItem_State GetCurrentState() const { return mState; }
    FixedItem_State GetPendingState() const { return mPendingState; }
    FixedItemController* GetController() const { return mController.get(); }
    const Team& GetTeam() const { return mTeam; }
    void SetProxyLevel(unsigned int level) { mProxyLevel = level; }
    unsigned int GetProxyLevel() const { return mProxyLevel; }
    void SetDropPerPartyMemberItem(const ItemReplicaInfo& item);
    ItemReplicaInfo GetDropPerPartyMemberItem() const { return mDropPerPartyMemberItem; }
    void DropAdditionalItems(const ItemReplicaInfo& item, unsigned int count);
    WorldCoords GetLootDropCoords() const;
    void PlayLockedSound();
    void PlaySkillWarningFx();
    void NotifyAllies(unsigned int user);
    void GiveBonusToTargets(const std::vector<unsigned int>& targets);
    const Bonus& GetReward() const { return mReward; }
    const std::string& GetLockedTextTag() const { return mLockedTextTag; }
    std::size_t GetPathObstacleCount() const { return mObstacles.size(); }

protected:
    // Stores the state and tells the controller.
    void SetCurrentState(FixedItem_State state);
    // Replaces any controller: made, given this item, its record and state, and started. Only
    // the machine that owns the game state has one.
    void InstallController(std::unique_ptr<FixedItemController> controller);
    static bool IsDecidingMachine();
    void RequestObstacleRebuild() { mObstacleRebuild = true; }
    // Closes the navigation polygons under the box (region space) until the next removal.
    void AddPathObstacle(const OrientedBox& box);
    int GetElapsedMs() const { return mElapsedMs; }
    SpecialFX& GetActiveEffect() { return mActiveEffect; }

private:
    FixedItem_State mState = FixedItemState_None;
    FixedItem_State mPendingState = FixedItemState_None;
    SpecialFX mActiveEffect;
    Bonus mReward;
    std::unique_ptr<FixedItemController> mController;
    AuraManager mAuras;
    AnimationSound mAnimationSounds;
    std::string mSoundNames[kSoundCount];
    OwnedObject<FixedItemSkill> mSkill{"Game/FixedItem"};
    int mSkillDelay = 1;
    std::vector<std::unique_ptr<DynamicObstacle>> mObstacles;
    bool mObstacleRebuild = false;
    Team mTeam;
    unsigned int mProxyLevel = 0;
    GameTimer mUpdateTimer;
    int mElapsedMs = 0;
    std::uint64_t mLastFrame = 0;
    bool mLocked = false;
    std::string mDescriptionTag;
    std::string mLockedTextTag;
    ItemReplicaInfo mDropPerPartyMemberItem;
    OwnedObject<SoundPak> mLockedSound{"Game/FixedItem"};
    int mObstacleCountdown = 0;
    std::uint8_t mReceivedState = 0;
    bool mReceivedLock = false;
    bool mReceived = false;
};

// Whether the user stands near enough to use the item: the server's check of a client's use.
bool FixedItemWithinUseReach(const Character& user, const FixedItem& item);

}  // namespace GAME
