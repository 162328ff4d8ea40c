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

Vec3 Actor::GetMotion() const {
    const AnimationChannels::Channel* channel = mAnimation->GetChannel(0);
    if (!channel || !channel->playing || !channel->anim || channel->anim->GetLengthMs() <= 0.0f)
        return Vec3();
    const GraphicsAnim& anim = *channel->anim;
    const Skeleton* skeleton = anim.GetSkeleton();
    Vec3 displacement;
    for (const AnimationBoneMotion& motion : anim.GetBoneMotions())
        if (skeleton && motion.bone >= 0 && motion.bone < skeleton->GetNumBones() &&
            skeleton->GetBone(motion.bone).parent < 0)
            displacement += motion.displacement;
    const float perSecond =
        1000.0f / anim.GetLengthMs() * anim.GetAnimSpeed() * channel->speed * channel->multiplier;
    return GetCoords().coords.TransformVector(displacement * perSecond);
}

void Actor::GetPoseBounds(Vec3& min, Vec3& max) const {
    mAnimation->GetPoseBounds(Singleton<AnimationLibrary>::Get().GetDefaultSkeleton(), min, max);
}

Vec3 Actor::GetCenterOfMass() const {
    Vec3 min, max;
    GetPoseBounds(min, max);
    return (min + max) * 0.5f;
}

WorldCoords Actor::GetAttachedCoords(const char* attachPoint) const {
    return GetAttachedCoords(Name::Create(attachPoint ? attachPoint : ""));
}

}  // namespace GAME
