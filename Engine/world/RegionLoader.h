#pragma once
// Loading the regions around a far destination before something is placed there. Headless,
// a region's level becomes loaded one region per frame step, in the order given, so a load
// spans as many frames as it has regions still unloaded.
#include <cstddef>
#include <vector>

#include "Engine/world/WorldShapes.h"

namespace GAME {

class Region;
class ResourceLoader;
class World;

// How much a view's box is widened before the regions in it are loaded: a little of what lies
// just outside the view is ready when the view turns.
inline constexpr float kLevelLoadInflation = 1.25f;
inline float GetLevelLoadInflation() {
    return kLevelLoadInflation;
}

// The world-space box of the frustum's corners (its region's offset added); false when the
// frustum is open or has no region, then `out` is left alone.
bool GetFrustumWorldBounds(const WorldFrustum& frustum, ABBox& out);
// The box grown about its centre by the factor.
ABBox InflateBox(const ABBox& box, float factor);
// The regions of the world whose world-space box meets the box, in level order.
void GetRegionsInBox(const World& world, const ABBox& worldBox, std::vector<Region*>& out);

class RegionLoader {
public:
    // `priority` is the resource loader's (1: before the level goes on). The regions are the
    // world's; one the world has dropped since counts as loaded (nothing is left to load).
    RegionLoader(const World& world, std::vector<Region*> regions, ResourceLoader& resources,
                 int priority);
    RegionLoader(const RegionLoader&) = delete;
    RegionLoader& operator=(const RegionLoader&) = delete;

    void SetFrustum(const WorldFrustum& frustum) { mFrustum = frustum; }
    const WorldFrustum& GetFrustum() const { return mFrustum; }
    const std::vector<Region*>& GetRegions() const { return mRegions; }
    int GetPriority() const { return mPriority; }
    ResourceLoader& GetResourceLoader() const { return mResources; }

    // One frame of loading: the next region whose level is not loaded yet becomes loaded.
    void Update();
    bool GetIsDone() const;

private:
    bool Pending(const Region* region) const;

    const World& mWorld;
    std::vector<Region*> mRegions;
    ResourceLoader& mResources;
    WorldFrustum mFrustum;
    int mPriority = 1;
    std::size_t mNext = 0;
};

}  // namespace GAME
