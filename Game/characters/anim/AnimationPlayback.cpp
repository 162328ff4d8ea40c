#include "Game/characters/anim/AnimationPlayback.h"

#include "Engine/anim/GraphicsAnim.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/object/Object.h"
#include "Game/characters/actions/ActionSupport.h"

namespace GAME {

bool AnimationPlayback::Play(Actor& actor, float speedMultiplier, bool loop, unsigned count) {
    looping = loop;
    remainingPlays = count;
    if (IsEmpty())
        return false;
    actor.PlayAnimation(0, animation, loop || count != 0, speedMultiplier * speed,
                        static_cast<int>(blendTime));
    return true;
}

bool AnimationPlayback::HandleAnimationCallback(const Name& event) {
    if (looping || event != action_support::EndEvent())
        return false;
    --remainingPlays;
    return static_cast<int>(remainingPlays) > 0;
}

bool AnimationPlayback::SetPose(Actor& actor, int frame) const {
    if (IsEmpty())
        return false;
    SkeletalPose pose;
    animation->GetFramePose(pose, static_cast<float>(frame), false);
    actor.SetPose(pose);
    return true;
}

bool AnimationPlayback::SetLastPose(Actor& actor) const {
    return !IsEmpty() && SetPose(actor, animation->GetLength() - 1);
}

void AnimationPlayback::AdjustAnimation(Actor& actor, float speedMultiplier) const {
    actor.SetAnimationSpeedMultiplier(0, speedMultiplier * speed);
}

int AnimationPlayback::GetLength() const {
    return IsEmpty() ? 0 : animation->GetLength();
}

int AnimationPlayback::GetFrameRate() const {
    return IsEmpty() ? 0 : animation->GetFrameRate();
}

float AnimationPlayback::GetAnimSpeed() const {
    return IsEmpty() ? 0.0f : animation->GetAnimSpeed() / speed;
}

}  // namespace GAME
