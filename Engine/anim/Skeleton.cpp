#include "Engine/anim/Skeleton.h"

namespace GAME {

bool Skeleton::AddBone(const Name& name, const Name& parent, const Vec3& offset) {
    if (name.IsEmpty() || FindBone(name) >= 0)
        return false;
    int parentIndex = -1;
    if (!parent.IsEmpty()) {
        parentIndex = FindBone(parent);
        if (parentIndex < 0)
            return false;
    }
    mBones.push_back({name, parentIndex, offset});
    return true;
}

bool Skeleton::AddAttachPoint(const Name& name, const Name& bone, const Vec3& offset) {
    if (name.IsEmpty() || FindAttachPoint(name))
        return false;
    int boneIndex = -1;
    if (!bone.IsEmpty()) {
        boneIndex = FindBone(bone);
        if (boneIndex < 0)
            return false;
    }
    mAttachPoints.push_back({name, boneIndex, offset});
    return true;
}

int Skeleton::FindBone(const Name& name) const {
    for (std::size_t i = 0; i < mBones.size(); ++i)
        if (mBones[i].name == name)
            return static_cast<int>(i);
    return -1;
}

const SkeletonAttachPoint* Skeleton::FindAttachPoint(const Name& name) const {
    for (const auto& point : mAttachPoints)
        if (point.name == name)
            return &point;
    return nullptr;
}

}  // namespace GAME
