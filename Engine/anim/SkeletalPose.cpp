#include "Engine/anim/SkeletalPose.h"

#include <array>

#include "Engine/anim/Skeleton.h"

namespace GAME {

void SkeletalPose::Reset(const Skeleton* skeleton) {
    mSkeleton = skeleton;
    if (!skeleton) {
        mLocal.clear();
        return;
    }
    mLocal.resize(static_cast<std::size_t>(skeleton->GetNumBones()));
    for (int i = 0; i < skeleton->GetNumBones(); ++i)
        mLocal[static_cast<std::size_t>(i)] = Coords::FromOrigin(skeleton->GetBone(i).offset);
}

bool SkeletalPose::GetBoneCoords(const Name& bone, Coords& out) const {
    const int index = mSkeleton ? mSkeleton->FindBone(bone) : -1;
    if (index < 0)
        return false;
    out = GetLocalCoords(index);
    return true;
}

bool SkeletalPose::SetBoneCoords(const Name& bone, const Coords& coords) {
    const int index = mSkeleton ? mSkeleton->FindBone(bone) : -1;
    if (index < 0)
        return false;
    SetLocalCoords(index, coords);
    return true;
}

Coords SkeletalPose::GetAbsCoords(int index) const {
    Coords result = GetLocalCoords(index);
    // Parents precede their children, so the walk up always ends at a root.
    for (int parent = mSkeleton->GetBone(index).parent; parent >= 0;
         parent = mSkeleton->GetBone(parent).parent)
        result = GetLocalCoords(parent) * result;
    return result;
}

bool SkeletalPose::GetAbsCoords(const Name& bone, Coords& out) const {
    const int index = mSkeleton ? mSkeleton->FindBone(bone) : -1;
    if (index < 0)
        return false;
    out = GetAbsCoords(index);
    return true;
}

void SkeletalPose::GetBounds(Vec3& min, Vec3& max) const {
    min = max = Vec3();
    // Parents precede their children, so each bone's frame builds on its parent's: one pass
    // instead of a walk up the chain per bone.
    constexpr int kMaxBones = 128;
    std::array<Coords, kMaxBones> frames;
    for (int i = 0; i < GetNumBones(); ++i) {
        Vec3 at;
        if (i < kMaxBones) {
            const int parent = mSkeleton->GetBone(i).parent;
            const auto index = static_cast<std::size_t>(i);
            frames[index] = parent >= 0
                                ? frames[static_cast<std::size_t>(parent)] * GetLocalCoords(i)
                                : GetLocalCoords(i);
            at = frames[index].origin;
        } else {
            at = GetAbsCoords(i).origin;
        }
        min = i == 0 ? at : min.Min(at);
        max = i == 0 ? at : max.Max(at);
    }
}

}  // namespace GAME
