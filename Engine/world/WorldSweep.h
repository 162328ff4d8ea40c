#pragma once
// The world's cell walks as templates: box queries gather through them, and sphere sweeps judge
// a crowd from the grid cells' copies in one pass (no entity and no digest read on the way).
#include <cstdlib>
#include <utility>

#include "Engine/world/EntityGrid.h"
#include "Engine/world/World.h"

namespace GAME {

namespace WorldCells {

inline bool Passes(bool actor, EntityListType type) {
    switch (type) {
        case EntityListType::Actors:
            return actor;
        case EntityListType::Static:
            return !actor;
        case EntityListType::All:
            break;
    }
    return true;
}

inline bool BoxesOverlap(const Vec3& aLo, const Vec3& aHi, const Vec3& bLo, const Vec3& bHi) {
    return aLo.x <= bHi.x && bLo.x <= aHi.x && aLo.y <= bHi.y && bLo.y <= aHi.y && aLo.z <= bHi.z &&
           bLo.z <= aHi.z;
}

}  // namespace WorldCells

template <class Visit>
void World::ForEachInBox(Region* region, const Vec3& lo, const Vec3& hi, EntityListType type,
                         Visit&& visit) {
    const Vec3 worldLo = lo + region->GetOffset(), worldHi = hi + region->GetOffset();
    for (const auto& other : mRegions) {
        EntityGrid* grid = other->GetEntityGrid();
        if (grid->GetCount() == 0)
            continue;
        const float reach = grid->GetMaxRadius();
        const Vec3 widen(reach, reach, reach);
        const Vec3 otherLo = worldLo - other->GetOffset() - widen;
        const Vec3 otherHi = worldHi - other->GetOffset() + widen;
        if (other.get() != region &&
            !WorldCells::BoxesOverlap(otherLo, otherHi, other->GetBoundsMin(),
                                      other->GetBoundsMax()))
            continue;
        const Vec3 toQuery = other->GetOffset() - region->GetOffset();
        int x0 = 0, z0 = 0, x1 = 0, z1 = 0;
        grid->CellRange(otherLo, otherHi, x0, z0, x1, z1);
        for (int z = z0; z <= z1; ++z)
            for (int x = x0; x <= x1; ++x)
                for (const EntityGrid::Entry& entry : grid->Cell(x, z))
                    if (WorldCells::Passes(entry.actor, type))
                        visit(entry, entry.position + toQuery);
    }
}

template <class Keep, class Use>
void World::SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Keep&& keep,
                        Use&& use) {
    if (!HoldsRegion(region))
        return;
    if (mSweeping)
        std::abort();  // a sweep inside a sweep would overwrite the one running
    mSweeping = true;
    mSweepKept.clear();
    mSweepOrder.clear();
    if (mSweepIndex.size() < mPlaced.size())
        mSweepIndex.resize(mPlaced.size());
    const Vec3 r(sphere.radius, sphere.radius, sphere.radius);
    ForEachInBox(region, sphere.center - r, sphere.center + r, type,
                 [&](const EntityGrid::Entry& entry, const Vec3& at) {
                     const float reach = sphere.radius + entry.radius;
                     if ((at - sphere.center).LengthSquared() > reach * reach || !keep(entry))
                         return;
                     mSweepIndex[entry.slot] = static_cast<std::uint32_t>(mSweepKept.size());
                     mSweepOrder.emplace_back(entry.rank, entry.slot);
                     mSweepKept.push_back(entry);
                 });
    // Sorted in the query scratch, which `use` may need again afterwards.
    mScratch.swap(mSweepOrder);
    SortScratch();
    mScratch.swap(mSweepOrder);
    for (const auto& [rank, slot] : mSweepOrder)
        use(std::as_const(mSweepKept[mSweepIndex[slot]]));
    mSweeping = false;
}

}  // namespace GAME
