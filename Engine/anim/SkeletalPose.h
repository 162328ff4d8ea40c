#pragma once
// The coordinates of every bone of a skeleton, each relative to its parent bone. An empty pose
// (no skeleton) stands for "no pose of its own": the actor shows its animation or bind pose.
#include <vector>

#include "Engine/text/Name.h"
#include "Engine/world/Math.h"

namespace GAME {

class Skeleton;

class SkeletalPose {
public:
    SkeletalPose() = default;

    // The bind pose of the skeleton (null: empty). Keeps its storage, so refilling a pose of
    // the same skeleton every frame allocates nothing.
    void Reset(const Skeleton* skeleton);
    bool IsEmpty() const { return mSkeleton == nullptr; }
    const Skeleton* GetSkeleton() const { return mSkeleton; }
    int GetNumBones() const { return static_cast<int>(mLocal.size()); }

    // Relative to the parent bone; false for an unknown bone.
    bool GetBoneCoords(const Name& bone, Coords& out) const;
    bool SetBoneCoords(const Name& bone, const Coords& coords);
    const Coords& GetLocalCoords(int index) const {
        return mLocal[static_cast<std::size_t>(index)];
    }
    void SetLocalCoords(int index, const Coords& coords) {
        mLocal[static_cast<std::size_t>(index)] = coords;
    }
    // In the actor's own space (the chain of parents applied).
    Coords GetAbsCoords(int index) const;
    bool GetAbsCoords(const Name& bone, Coords& out) const;
    // The box around the bones' positions in the actor's own space (zero without bones).
    void GetBounds(Vec3& min, Vec3& max) const;

private:
    const Skeleton* mSkeleton = nullptr;
    std::vector<Coords> mLocal;
};

}  // namespace GAME
