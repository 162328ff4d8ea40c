#include "Engine/world/RegionLoader.h"

#include <cmath>
#include <utility>

#include "Engine/world/Region.h"
#include "Engine/world/World.h"

namespace GAME {

namespace {
// Where three planes meet; false when two of them are parallel.
bool Meet(const Plane& a, const Plane& b, const Plane& c, Vec3& out) {
    const Vec3 bc = b.normal.Cross(c.normal);
    const float det = a.normal.Dot(bc);
    if (std::fabs(det) < 1e-6f)
        return false;
    const Vec3 ca = c.normal.Cross(a.normal);
    const Vec3 ab = a.normal.Cross(b.normal);
    out = (bc * -a.d + ca * -b.d + ab * -c.d) / det;
    return true;
}
}  // namespace

bool GetFrustumWorldBounds(const WorldFrustum& frustum, ABBox& out) {
    if (!frustum.region || frustum.count < 4)
        return false;
    // The corners are the meeting points of three planes that lie inside every plane.
    bool any = false;
    ABBox box;
    const int n = frustum.count;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k) {
                Vec3 p;
                if (!Meet(frustum.planes[i], frustum.planes[j], frustum.planes[k], p))
                    continue;
                bool inside = true;
                for (int m = 0; m < n && inside; ++m)
                    inside = frustum.planes[m].Distance(p) >= -1e-2f * (1.0f + p.Length());
                if (!inside || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                    continue;
                box.min = any ? box.min.Min(p) : p;
                box.max = any ? box.max.Max(p) : p;
                any = true;
            }
    if (!any)
        return false;
    const Vec3 offset = frustum.region->GetOffset();
    out = {box.min + offset, box.max + offset};
    return true;
}

ABBox InflateBox(const ABBox& box, float factor) {
    const Vec3 center = (box.min + box.max) * 0.5f;
    const Vec3 half = (box.max - box.min) * (0.5f * factor);
    return ABBox::FromCenter(center, half);
}

void GetRegionsInBox(const World& world, const ABBox& worldBox, std::vector<Region*>& out) {
    for (const auto& region : world.GetRegions()) {
        const Vec3 lo = region->GetOffset() + region->GetBoundsMin();
        const Vec3 hi = region->GetOffset() + region->GetBoundsMax();
        if (lo.x <= worldBox.max.x && worldBox.min.x <= hi.x && lo.y <= worldBox.max.y &&
            worldBox.min.y <= hi.y && lo.z <= worldBox.max.z && worldBox.min.z <= hi.z)
            out.push_back(region.get());
    }
}

RegionLoader::RegionLoader(const World& world, std::vector<Region*> regions,
                           ResourceLoader& resources, int priority)
    : mWorld(world), mRegions(std::move(regions)), mResources(resources), mPriority(priority) {}

bool RegionLoader::Pending(const Region* region) const {
    return mWorld.HoldsRegion(region) && !region->IsLevelLoaded();
}

void RegionLoader::Update() {
    while (mNext < mRegions.size() && !Pending(mRegions[mNext]))
        ++mNext;
    if (mNext < mRegions.size())
        mRegions[mNext++]->SetLoaded(true);
}

bool RegionLoader::GetIsDone() const {
    for (const Region* region : mRegions)
        if (Pending(region))
            return false;
    return true;
}

}  // namespace GAME
