#pragma once
// Animated scenery placed in a level: random idle animations by weight, sounds on animation
// events, ambient and periodic sounds, an object attached at random from up to four choices
// and an optional bounding volume.
#include <cstdint>
#include <vector>

#include "Engine/object/Object.h"
#include "Game/world/EventSoundTable.h"
#include "Game/world/sounds/SoundAmbient.h"
#include "Game/world/sounds/SoundPeriodic.h"

namespace GAME {

class GraphicsAnim;

class Decoration : public Actor {
    RTTI_DECLARE(Decoration)
public:
    struct RandomAnimation {
        GraphicsAnim* animation = nullptr;
        float chance = 0.0f;
    };

    ~Decoration() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void UpdateSelf(int elapsedMs) override;
    void AnimationCallback(int channel, const Name& event) override;

    virtual void SetInvisible() { mHidden = true; }
    virtual void SetVisible() { mHidden = false; }
    bool IsStatic() const { return !mAllowPathing; }
    bool ShouldServerSpawn() const override { return false; }
    bool IncludeInMinimap() const { return true; }
    bool GetIsPartOfLevel() const { return true; }

    // Null without a base animation; else a weighted pick, the base one when none is picked.
    GraphicsAnim* GetRandomAnimation() const;

    float GetHiddenAmount() const { return mHiddenAmount; }
    GraphicsAnim* GetBaseAnimation() const { return mBaseAnimation; }
    const std::vector<RandomAnimation>& GetRandomAnimations() const { return mRandomAnimations; }
    std::uint32_t GetAttachedObjectId() const { return mAttachedObjectId; }
    std::uint32_t GetBoundingVolumeId() const { return mBoundingVolumeId; }
    const EventSoundTable& GetEventSounds() const { return mSounds; }
    const SoundAmbient& GetAmbient() const { return mAmbient; }
    const SoundPeriodic& GetPeriodic() const { return mPeriodic; }

private:
    void PlayOnChannel0(GraphicsAnim* animation);
    void LoadAttachment(const LoadTable& table);
    void LoadBoundingVolume(const LoadTable& table);

    bool mHidden = false;
    float mHiddenAmount = 0.0f;
    GraphicsAnim* mBaseAnimation = nullptr;
    GraphicsAnim* mCurrentAnimation = nullptr;
    std::vector<RandomAnimation> mRandomAnimations;
    EventSoundTable mSounds;
    SoundAmbient mAmbient;
    SoundPeriodic mPeriodic;
    bool mAllowPathing = false;
    std::uint32_t mAttachedObjectId = 0;
    std::uint32_t mBoundingVolumeId = 0;
};

}  // namespace GAME
