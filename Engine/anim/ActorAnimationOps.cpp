// Actor's animation operations: thin forwards to its AnimationChannels, plus the attach points of
// its skeleton. (Actor is declared in Engine/object/Object.h.)
#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/AnimationLibrary.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/anim/Skeleton.h"
#include "Engine/object/Object.h"
#include "Engine/sys/Machine.h"

namespace GAME {

void Actor::PlayAnimation(int channel, GraphicsAnim* anim, bool loop, float speed, int blendMs) {
    mAnimation->Play(channel, anim, loop, speed, blendMs);
}

void Actor::SetAnimationSpeedMultiplier(int channel, float multiplier) {
    mAnimation->SetSpeedMultiplier(channel, multiplier);
}

void Actor::StopAnimations() {
    mAnimation->StopAll();
}

void Actor::AnimationCallback(int, const Name&) {}

GraphicsAnim* Actor::GetChannelAnimation(int channel) const {
    // The library hands out mutable handles; the channel keeps the same one.
    return const_cast<GraphicsAnim*>(mAnimation->GetAnimation(channel));
}

int Actor::GetChannelFrame(int channel) const {
    return mAnimation->GetCurrentFrame(channel);
}

void Actor::SetPose(const SkeletalPose& pose) {
    mAnimation->SetPose(pose);
}

const SkeletalPose& Actor::GetPose() const {
    return mAnimation->GetPose(Singleton<AnimationLibrary>::Get().GetDefaultSkeleton());
}

WorldCoords Actor::GetAttachedCoords(const Name& attachPoint) const {
    const WorldCoords& own = GetCoords();
    const SkeletalPose& pose = GetPose();
    const Skeleton* skeleton = pose.GetSkeleton();
    const SkeletonAttachPoint* point = skeleton ? skeleton->FindAttachPoint(attachPoint) : nullptr;
    if (!point)
        return own;
    Coords local = Coords::FromOrigin(point->offset);
    if (point->bone >= 0)
        local = pose.GetAbsCoords(point->bone) * local;
    return WorldCoords(own.region, own.coords * local);
}

bool Actor::HasRigidBodyData() const {
    return GetPose().GetNumBones() > 1;
}

WorldCoords Actor::GetAttachedCoords(const char* attachPoint) const {
    return GetAttachedCoords(Name::Create(attachPoint ? attachPoint : ""));
}

}  // namespace GAME
