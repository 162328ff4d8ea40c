#pragma once
// The simple skeleton of the clip tables: named bones with their bind offsets from the parent,
// and named attach points fixed to a bone. Nothing is drawn; callers ask where a bone or a point
// of an actor is.
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Engine/world/Math.h"

namespace GAME {

struct SkeletonBone {
    Name name;
    int parent = -1;  // index of an earlier bone; -1 for a root
    Vec3 offset;      // bind position relative to the parent
};

struct SkeletonAttachPoint {
    Name name;
    int bone = -1;  // -1: the actor's own origin
    Vec3 offset;    // relative to the bone
};

class Skeleton {
public:
    explicit Skeleton(std::string name = {}) : mName(std::move(name)) {}

    const std::string& GetName() const { return mName; }
    // A bone's parent must already be present; false (nothing added) otherwise.
    bool AddBone(const Name& name, const Name& parent, const Vec3& offset);
    // False when the bone is unknown (an empty bone name fixes the point to the origin).
    bool AddAttachPoint(const Name& name, const Name& bone, const Vec3& offset);

    int GetNumBones() const { return static_cast<int>(mBones.size()); }
    const SkeletonBone& GetBone(int index) const { return mBones[static_cast<std::size_t>(index)]; }
    // -1 when absent.
    int FindBone(const Name& name) const;
    const SkeletonAttachPoint* FindAttachPoint(const Name& name) const;

private:
    std::string mName;
    std::vector<SkeletonBone> mBones;
    std::vector<SkeletonAttachPoint> mAttachPoints;
};

}  // namespace GAME
