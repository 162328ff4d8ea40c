#include "Engine/world/nav/DynamicObstacle.h"

#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"

namespace GAME {

DynamicObstacle::~DynamicObstacle() {
    Detach();
}

bool DynamicObstacle::Create(Region* region, const OrientedBox& box) {
    if (!region)
        return false;
    const bool reattach = mAttached;
    Detach();
    mRegion = region;
    mSphere = false;
    mBox = box;
    const Vec3 half = box.GetAxisAlignedBox();
    mBounds = ABBox::FromCenter(box.frame.origin, half);
    if (reattach)
        AttachClosing(mClosesSize);
    return true;
}

bool DynamicObstacle::Create(Region* region, const Sphere& sphere) {
    if (!Takes(region, sphere))
        return false;
    const bool reattach = mAttached;
    Detach();
    mRegion = region;
    mSphere = true;
    mBall = sphere;
    const float r = sphere.radius;
    mBounds = ABBox::FromCenter(sphere.center, Vec3(r, r, r));
    if (reattach)
        AttachClosing(mClosesSize);
    return true;
}

void DynamicObstacle::Attach() {
    AttachClosing(-1);
}

void DynamicObstacle::AttachForSize(int pathingSize) {
    AttachClosing(pathingSize);
}

void DynamicObstacle::AttachClosing(int pathingSize) {
    if (mAttached || !mRegion)
        return;
    mClosesSize = pathingSize;
    World::Get().GetPathFinder().AttachObstacle(this);
}

void DynamicObstacle::Detach() {
    if (mAttached)
        if (World* world = Machine::Current().Find<World>())
            world->GetPathFinder().DetachObstacle(this);
    mAttached = false;
}

bool DynamicObstacle::Overlaps(const Vec3& p, float clearance) const {
    if (mSphere) {
        const float dx = p.x - mBall.center.x, dz = p.z - mBall.center.z;
        const float reach = mBall.radius + clearance;
        return dx * dx + dz * dz < reach * reach;
    }
    // Over the box's own x and z (the axes are taken as orthonormal, y as up).
    const Vec3 d = p - mBox.frame.origin;
    const Vec3 local(d.Dot(mBox.frame.xAxis), d.Dot(mBox.frame.yAxis), d.Dot(mBox.frame.zAxis));
    const Vec3 h = mBox.halfExtents;
    return Abs(local.x) < h.x + clearance && Abs(local.z) < h.z + clearance;
}

}  // namespace GAME
