#pragma once
// A shrine: a player activates it; while active it gives its reward to the activator's side
// around it at a fixed period, then rests dormant for a while and becomes usable again (unless
// it serves once). Six states, three of them transitions, each with its animation, sound and
// effect pak; three attached effects carry the show.
#include <array>
#include <string>
#include <vector>

#include "Engine/media/graphics/EffectEntity.h"
#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemController.h"

namespace GAME {

class FixedItemShrine : public FixedItem {
    RTTI_DECLARE(FixedItemShrine)
public:
    FixedItemShrine();
    ~FixedItemShrine() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void AnimationCallback(int channel, const Name& event) override;
    void RequestToUse(unsigned int user) override;
    void SetFixedItemState(FixedItem_State state, unsigned int instigator, bool initial,
                           bool flag) override;
    bool IsOfInterest() const override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& out) const override;

    unsigned int GetActivator() const { return mActivator; }
    std::size_t GetAttachedEffectCount() const;

private:
    // One presentation per state from idle (3) to dormant-to-idle (8).
    struct Presentation {
        OwnedAnimation animation;
        OwnedObject<SoundPak> sound{"Game/FixedItemShrine"};
        std::string fxPakName;
    };
    enum Effect { IdleLooping = 0, DormantToIdle = 1, ActiveOneShot = 2, EffectCount = 3 };

    Presentation& Set(FixedItem_State state) { return mSets[state - FixedItemState_ShrineIdle]; }
    bool PlayAnimationAndFX(bool initial, Presentation& set, bool loop);
    void GoIdle(bool initial);
    void GoIdleToActive(bool initial);
    void GoActive(bool initial);
    void GoActiveToDormant(bool initial);
    void GoDormant(bool initial);
    void GoDormantToIdle(bool initial);
    void PlaceEffectsInWorld();
    void StartIdleEffect();
    void StartActiveEffect();
    void StartAttachedEffect(Effect which);

    std::array<Presentation, 6> mSets;
    std::array<std::string, EffectCount> mEffectNames;
    std::array<std::string, EffectCount> mAttachPoints;
    std::string mActiveMeshFx;
    std::array<OwnedObject<EffectEntity>, EffectCount> mEffects{
        OwnedObject<EffectEntity>{"Game/FixedItemShrine"},
        OwnedObject<EffectEntity>{"Game/FixedItemShrine"},
        OwnedObject<EffectEntity>{"Game/FixedItemShrine"}};
    float mPlaySpeed = 1.0f;
    unsigned int mActivator = 0;
};

class FixedItemShrineController : public FixedItemController {
public:
    enum State { None = 0, Idle = 1, Active = 2, Dormant = 3 };

    void LoadFromDatabase(const std::string& record) override;
    void InitialUpdate() override;
    void TouchedByActor() override;
    void AnimationCallback(int, const Name&) override {}
    void Update(int ms) override;

    int GetState() const { return mState; }
    int GetPhaseTimer() const { return mPhaseTimer; }
    unsigned int GetActivator() const { return mActivator; }

private:
    void Enqueue(FixedItem_State state);
    void Sample();

    int mState = None;
    bool mOneTimeUse = false;
    int mActiveTime = 0;
    int mDormantTime = 0;
    int mSampleTime = 0;
    float mRadius = 0.0f;
    int mPhaseTimer = 0;
    int mSampleTimer = 0;
    unsigned int mActivator = 0;
};

}  // namespace GAME
