#pragma once
// Placed objects without a deciding controller, whose lock selects what they show: portals (a
// static one placed in the level, or a player's own, which lives while the game engine knows
// it), the end-game portal, wells and quest objects.
#include <string>

#include "Engine/object/UniqueId.h"
#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

// The closed (locked) and open (unlocked) presentations: animation, sound and effect pak.
class FixedItemLockPresentation {
public:
    void Load(const LoadTable& table);
    void PreLoad(bool now);
    // Plays the set of the lock state once; with sound and effect unless initial.
    void Show(Actor& owner, bool locked, bool initial);
    // The quest object's way: at load the pose jumps to its last frame.
    void ShowPose(Actor& owner, bool locked, bool initial);

private:
    struct Set {
        OwnedAnimation animation;
        OwnedObject<SoundPak> sound{"Game/FixedItemTeleport"};
        std::string fxPakName;
    };
    void PlaySoundAndFx(Actor& owner, Set& set);

    Set mClosed;
    Set mOpen;
};

class FixedItemTeleport : public FixedItem {
    RTTI_DECLARE(FixedItemTeleport)
public:
    // How long a player portal stays once the game engine stops knowing it, and the most one
    // update counts toward that.
    static constexpr int kValidationLimitMs = 2000;
    static constexpr int kValidationStepMs = 100;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    void WriteReplicationData(NetPacketOutBuffer& out) override;
    bool ReadReplicationData(NetPacketInBuffer& in) override;
    void ApplyReplicationData() override;
    std::wstring GetGameDescription(bool forMap) const override;
    void RequestToUse(unsigned int user) override;
    bool IsOfInterest() const override;
    WorldVec3 GetMoveToPoint(unsigned int user) const override;
    void SetLock(bool locked) override;
    void CreatePathObstacle() override;

    bool IsStaticPortal() const { return mStaticPortal; }
    int GetValidationTime() const { return mValidationTime; }
    const std::wstring& GetOwnerName() const { return mOwnerName; }

private:
    void UseStaticPortal();

    FixedItemLockPresentation mPresentation;
    bool mStaticPortal = false;
    std::string mTextTag = "tagSBoatQuestion";
    std::wstring mOwnerName;
    int mValidationTime = 0;
    // Set when a failed validation locked the portal: a later success unlocks it again.
    bool mLockedByValidation = false;
    UniqueId mReceivedUniqueId;
    bool mReceivedHasUniqueId = false;
};

class FixedItemTyphonPortal : public FixedItem {
    RTTI_DECLARE(FixedItemTyphonPortal)
public:
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    void RequestToUse(unsigned int user) override;
    bool IsOfInterest() const override { return !IsLocked(); }
    WorldVec3 GetMoveToPoint(unsigned int user) const override;
    void SetLock(bool locked) override;

    bool IsWaitingForAnswer() const { return mWaiting; }

private:
    FixedItemLockPresentation mPresentation;
    bool mWaiting = false;
};

class FixedItemWell : public FixedItem {
    RTTI_DECLARE(FixedItemWell)
public:
    bool IsOfInterest() const override { return false; }
};

class FixedItemQuestObject : public FixedItem {
    RTTI_DECLARE(FixedItemQuestObject)
public:
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void RequestToUse(unsigned int user) override;
    bool IsOfInterest() const override { return IsLocked(); }
    void SetLock(bool locked) override;

private:
    FixedItemLockPresentation mPresentation;
};

}  // namespace GAME
