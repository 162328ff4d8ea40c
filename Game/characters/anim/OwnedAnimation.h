#pragma once
// A type with exactly one animation; the first one loaded stays.
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

private:
    AnimationPlayback mPlayback;
};

}  // namespace GAME
