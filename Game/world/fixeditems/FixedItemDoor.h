#pragma once
// Doors: closed (9) or open (10), with looping sounds per state, one-way and open-only kinds and
// an auto-close that shuts the door once nobody stands near it. A closed door is an obstacle on
// the navigation meshes; an open one is not. `FixedItemDoor` animates between its poses,
// `FixedItemDoorSwapping` swaps an open and a closed mesh.
#include <memory>
#include <string>
#include <vector>

#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemController.h"

namespace GAME {

class FixedItemDoorBase : public FixedItem {
    RTTI_DECLARE(FixedItemDoorBase)
public:
    static constexpr int kDefaultFadeMs = 1000;

    FixedItemDoorBase();
    ~FixedItemDoorBase() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    void RequestToUse(unsigned int user) override;
    void SetFixedItemState(FixedItem_State state, unsigned int instigator, bool initial,
                           bool flag) override;
    bool IsOfInterest() const override;
    bool IsAutoCloseEnabled() const override { return mAutoClose; }
    bool IsAlternateLock(unsigned int user) const override;
    float GetStandingDistance(float userRadius) const override;
    WorldVec3 GetMoveToPoint(unsigned int user) const override;
    // A closed door closes the polygons under it; an open one closes none.
    void CreatePathObstacle() override;

    // A plain door record changes state without showing anything; the kinds show it.
    virtual void Open() {}
    virtual void InstantaneousOpen() {}
    virtual void Close() {}
    virtual void InstantaneousClose() {}

    bool IsOpenOnly() const { return mOpenOnly; }
    bool IsOneWay() const { return mOneWay; }

private:
    void CreateFxPak(const std::string& name);
    void StartLoop(SoundPak* loop);

    OwnedObject<SoundPak> mCloseSound{"Game/FixedItemDoor"};
    std::string mCloseFxPakName;
    OwnedObject<SoundPak> mOpenSound{"Game/FixedItemDoor"};
    std::string mOpenFxPakName;
    OwnedObject<SoundPak> mOpenSoundLoop{"Game/FixedItemDoor"};
    int mOpenSoundFadeMs = kDefaultFadeMs;
    OwnedObject<SoundPak> mClosedSoundLoop{"Game/FixedItemDoor"};
    int mClosedSoundFadeMs = kDefaultFadeMs;
    bool mOpenOnly = false;
    bool mAutoClose = false;
    bool mOneWay = false;
    bool mReverseOneWay = false;
    // Stands in for the mesh's hit box, which the headless meshes lack: half the door's width.
    float mObstacleHalfWidth = 0.0f;
};

class FixedItemDoor : public FixedItemDoorBase {
    RTTI_DECLARE(FixedItemDoor)
public:
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void AnimationCallback(int channel, const Name& event) override;
    void Open() override;
    void InstantaneousOpen() override;
    void Close() override;
    void InstantaneousClose() override;

private:
    OwnedAnimation mCloseAnimation;
    OwnedAnimation mOpenAnimation;
};

class FixedItemDoorSwapping : public FixedItemDoorBase {
    RTTI_DECLARE(FixedItemDoorSwapping)
public:
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void Open() override;
    void InstantaneousOpen() override;
    void Close() override;
    void InstantaneousClose() override;

    const std::string& GetOpenMesh() const { return mOpenMesh; }
    const std::string& GetClosedMesh() const { return mClosedMesh; }

private:
    std::string mOpenMesh;
    std::string mClosedMesh;
    std::string mLoadedMesh;
};

class FixedItemDoorController : public FixedItemController {
public:
    enum State { None = 0, Closed = 1, Closing = 2, Opening = 3, Opened = 4 };

    void LoadFromDatabase(const std::string& record) override;
    void InitialUpdate() override;
    void TouchedByActor() override;
    void AnimationCallback(int channel, const Name& event) override;
    void Update(int ms) override;
    int GetState() const { return mState; }

private:
    void FollowItemState();
    bool AnyCharacterNear(float radius) const;

    int mState = None;
    bool mOpenOnly = false;
    FixedItem_State mSeenState = FixedItemState_None;
    mutable std::vector<Entity*> mNearby;  // the auto-close check's scratch list
};

}  // namespace GAME
