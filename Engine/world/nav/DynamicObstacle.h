#pragma once
// A temporary obstacle for the path finder: a box or a sphere in a region. While attached, the
// navigation polygons it overlaps are closed to paths (the polygons a path starts and ends in
// stay open), and point tests and point sets keep out of its exact shape.
#include <cstdint>
#include <vector>

#include "Engine/world/Region.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

class NavMesh;

class DynamicObstacle {
public:
    DynamicObstacle() = default;
    ~DynamicObstacle();
    DynamicObstacle(const DynamicObstacle&) = delete;
    DynamicObstacle& operator=(const DynamicObstacle&) = delete;

    // The shape, in the region's space; a created obstacle that is attached is re-attached.
    bool Create(Region* region, const OrientedBox& box);
    bool Create(Region* region, const Sphere& sphere);
    // Whether Create takes the sphere.
    static bool Takes(const Region* region, const Sphere& sphere) {
        return region && sphere.radius >= 0;
    }
    void Attach();
    // Closes the polygons of one pathing size's mesh only: for an obstacle that stands while
    // one search of that size runs (the other meshes are not asked meanwhile).
    void AttachForSize(int pathingSize);
    void Detach();
    bool IsAttached() const { return mAttached; }
    Region* GetRegion() const { return mRegion; }
    // True when the point (region space, over x and z) lies within `clearance` of the shape.
    bool Overlaps(const Vec3& p, float clearance) const;
    // The axis-aligned box around the shape.
    const ABBox& GetBounds() const { return mBounds; }
    void DebugRender() const {}

private:
    friend class PathFinder;
    void AttachClosing(int pathingSize);

    Region* mRegion = nullptr;
    int mClosesSize = -1;  // the size whose mesh it closes; -1: every size
    bool mSphere = false;
    OrientedBox mBox;
    Sphere mBall;
    ABBox mBounds;
    bool mAttached = false;
    bool mPassing = false;  // one of the path finder's PassingObstacle
    bool mPending = false;  // attached, its polygons not closed yet (PathFinder::ClosePending)
    // The polygons this obstacle closed, per mesh.
    std::vector<std::pair<NavMesh*, std::uint32_t>> mClosed;
};

}  // namespace GAME
