#pragma once
// A chest: opens once, plays its open animation, sound and effect, and drops the loot its
// controller rolls at the open animation's "lootGen" event. It may be locked outright, or while
// strong monsters stand near it (radius lock); a locked chest wears a lock effect.
#include <string>
#include <vector>

#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemController.h"

namespace GAME {

class EffectEntity;

class FixedItemContainer : public FixedItem {
    RTTI_DECLARE(FixedItemContainer)
public:
    // A locked classification no monster reaches: the chest is never radius-locked.
    static constexpr int kNeverLocked = 999;
    static constexpr int kRadiusCheckMs = 500;
    static constexpr int kLightFadeMs = 8000;

    FixedItemContainer();
    ~FixedItemContainer() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    bool IsOfInterest() const override;
    void RequestToUse(unsigned int user) override;
    void SetFixedItemState(FixedItem_State state, unsigned int instigator, bool initial,
                           bool flag) override;

    bool IsRadiusLockActive() const { return mRadiusLockActive; }
    int GetLockedClassification() const { return mLockedClassification; }
    static int ResolveLockedClassification(const std::string& name);

private:
    void Open();
    bool CheckRadiusClear() const;
    void UpdateLockEffect();

    OwnedAnimation mIdleAnimation;
    OwnedAnimation mOpenAnimation;
    OwnedObject<SoundPak> mOpenSound{"Game/FixedItemContainer"};
    std::string mOpenFxPakName;
    std::string mLockedEffectName;
    bool mPathableWhenOpen = false;
    bool mRadiusLockEnabled = false;
    bool mRadiusLockActive = true;
    float mLockedRadius = 0.0f;
    int mRadiusCheckCountdown = 0;
    int mLockedClassification = kNeverLocked;
    OwnedObject<EffectEntity> mLockEffect{"Game/FixedItemContainer"};
    int mLightFadeCountdown = kLightFadeMs;
    unsigned int mInstigator = 0;
    mutable std::vector<Entity*> mNearby;  // the radius check's scratch list
};

class FixedItemContainerController : public FixedItemController {
public:
    enum State { None = 0, ClosedReady = 1, Opening = 2, Opened = 3 };

    void InitialUpdate() override;
    void TouchedByActor() override;
    void AnimationCallback(int channel, const Name& event) override;
    int GetState() const { return mState; }

private:
    int mState = None;
};

}  // namespace GAME
