#pragma once
// A holder of exactly one animation; the first one loaded stays. Characters hold one per
// single-animation type; props, puppets and projectiles hold theirs directly.
#include "Game/characters/anim/AnimationBase.h"
#include "Game/characters/anim/AnimationPlayback.h"

namespace GAME {

class OwnedAnimation : public AnimationBase {
public:
    OwnedAnimation() = default;
    ~OwnedAnimation() override;

    bool Play(Actor& actor, const Name& name, float speed, bool loop, unsigned count) override;
    bool SetLastPose(Actor& actor) override { return mPlayback.SetLastPose(actor); }
    bool SetPose(Actor& actor, int frame) override { return mPlayback.SetPose(actor, frame); }
    bool HandleAnimationCallback(Actor& actor, const Name& event) override;
    void AddAnimation(const std::string& fileName, float speed, float weight,
                      const std::string& referenceName) override;
    void AdjustAnimation(Actor& actor, float speedMultiplier) override {
        mPlayback.AdjustAnimation(actor, speedMultiplier);
    }
    void PreLoad(ResourcePriority priority) override;
    int GetLength() override { return mPlayback.GetLength(); }
    int GetFrameRate() override { return mPlayback.GetFrameRate(); }
    float GetAnimSpeed() override { return mPlayback.GetAnimSpeed(); }
    void SetBlendTime(float time) override { mPlayback.blendTime = time; }
    GraphicsAnim* GetAnimation() override { return mPlayback.animation; }
    bool IsEmpty() override { return mPlayback.IsEmpty(); }

    const AnimationPlayback& GetPlayback() const { return mPlayback; }

    // The direct use: load by name at a speed, play once or looping.
    void Load(const std::string& name, float speed) { AddAnimation(name, speed, 0.0f, {}); }
    bool PlayOnce(Actor& actor) { return Play(actor, Name(), 1.0f, false, 0); }
    bool PlayLoop(Actor& actor) { return Play(actor, Name(), 1.0f, true, 0); }
    void PreLoad() { PreLoad(ResourcePriority::Background); }
    bool IsLoaded() const { return !mPlayback.IsEmpty(); }
    GraphicsAnim* Get() const { return mPlayback.animation; }

private:
    AnimationPlayback mPlayback;
};

}  // namespace GAME
