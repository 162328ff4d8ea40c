#pragma once
// One loaded animation with the parameters it plays with.
#include "Engine/text/Name.h"

namespace GAME {

class Actor;
class GraphicsAnim;

class AnimationPlayback {
public:
    static constexpr float kDefaultBlendTime = 250.0f;

    AnimationPlayback() = default;
    AnimationPlayback(GraphicsAnim* animation, float speed, float weight)
        : animation(animation), speed(speed), weight(weight) {}
    AnimationPlayback(const AnimationPlayback&) = default;
    AnimationPlayback& operator=(const AnimationPlayback&) = default;
    virtual ~AnimationPlayback() = default;

    virtual bool IsEmpty() const { return animation == nullptr; }

    // Starts the animation on the actor's first channel; false when none is loaded. A counted
    // play (count above 1) loops in the engine and ends through HandleAnimationCallback.
    bool Play(Actor& actor, float speedMultiplier, bool loop, unsigned count);
    // True while a counted play still has passes to run: the "End" is swallowed.
    bool HandleAnimationCallback(const Name& event);
    bool SetPose(Actor& actor, int frame) const;
    bool SetLastPose(Actor& actor) const;
    void AdjustAnimation(Actor& actor, float speedMultiplier) const;
    int GetLength() const;
    int GetFrameRate() const;
    float GetAnimSpeed() const;

    GraphicsAnim* animation = nullptr;
    float blendTime = kDefaultBlendTime;
    float speed = 1.0f;
    float weight = 0.0f;
    unsigned remainingPlays = 0;
    bool looping = false;
};

}  // namespace GAME
