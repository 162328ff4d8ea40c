#pragma once
// The world's cell walks as templates: box queries gather through them, and sphere sweeps judge
// a crowd from the grid cells' copies in one pass (no entity and no digest read on the way).
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
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

// Debug builds check that a cell's packed positions and radii are its entries' own.
inline void CheckReaches([[maybe_unused]] const EntityGrid& grid, [[maybe_unused]] int x,
                         [[maybe_unused]] int z) {
#ifndef NDEBUG
    const auto& entries = grid.Entries(x, z);
    const auto& reaches = grid.Reaches(x, z);
    bool same = entries.size() == reaches.size();
    for (std::size_t i = 0; same && i < entries.size(); ++i)
        same = std::memcmp(&entries[i].position, &reaches[i].position, sizeof(Vec3)) == 0 &&
               std::memcmp(&entries[i].radius, &reaches[i].radius, sizeof(float)) == 0;
    if (!same)
        std::abort();
#endif
}

inline bool BoxesOverlap(const Vec3& aLo, const Vec3& aHi, const Vec3& bLo, const Vec3& bHi) {
    return aLo.x <= bHi.x && bLo.x <= aHi.x && aLo.y <= bHi.y && bLo.y <= aHi.y && aLo.z <= bHi.z &&
           bLo.z <= aHi.z;
}

}  // namespace WorldCells

template <class VisitCell>
void World::ForEachCellInBox(Region* region, const Vec3& lo, const Vec3& hi, VisitCell&& visit) {
    const Vec3 worldLo = lo + region->GetOffset(), worldHi = hi + region->GetOffset();
    for (const auto& other : mRegions) {
        const EntityGrid* grid = other->GetEntityGrid();
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
            for (int x = x0; x <= x1; ++x) {
                WorldCells::CheckReaches(*grid, x, z);
                visit(*grid, x, z, toQuery);
            }
    }
}

template <class Visit>
void World::ForEachInBox(Region* region, const Vec3& lo, const Vec3& hi, EntityListType type,
                         Visit&& visit) {
    ForEachCellInBox(region, lo, hi,
                     [&](const EntityGrid& grid, int x, int z, const Vec3& toQuery) {
                         for (const EntityGrid::Entry& entry : grid.Entries(x, z))
                             if (WorldCells::Passes(entry.actor, type))
                                 visit(entry, entry.position + toQuery);
                     });
}

template <class Keep, class Use>
void World::SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Keep&& keep,
                        Use&& use) {
    SweepSphere(
        region, sphere, type, keep, [](std::size_t) {}, use);
}

template <class Keep, class Begin, class Use>
void World::SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Keep&& keep,
                        Begin&& begin, Use&& use) {
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
    ForEachCellInBox(
        region, sphere.center - r, sphere.center + r,
        [&](const EntityGrid& grid, int x, int z, const Vec3& toQuery) {
            const std::vector<EntityGrid::Reach>& reaches = grid.Reaches(x, z);
            const std::vector<EntityGrid::Entry>& entries = grid.Entries(x, z);
            // The sphere test over the packed positions first, without a branch per entity;
            // the entries that meet it are then filtered in cell order, as one by one.
            constexpr std::size_t kBlock = 64;
            for (std::size_t first = 0; first < reaches.size(); first += kBlock) {
                const std::size_t count = std::min(kBlock, reaches.size() - first);
                const EntityGrid::Reach* block = reaches.data() + first;
                std::uint64_t meets = 0;
                for (std::size_t i = 0; i < count; ++i) {
                    const float reach = sphere.radius + block[i].radius;
                    const float squared =
                        ((block[i].position + toQuery) - sphere.center).LengthSquared();
                    meets |= static_cast<std::uint64_t>(!(squared > reach * reach)) << i;
                }
                for (; meets != 0; meets &= meets - 1) {
                    const EntityGrid::Entry& entry =
                        entries[first + static_cast<std::size_t>(std::countr_zero(meets))];
                    if (!WorldCells::Passes(entry.actor, type) || !keep(entry))
                        continue;
                    mSweepIndex[entry.slot] = static_cast<std::uint32_t>(mSweepKept.size());
                    mSweepOrder.emplace_back(entry.rank, entry.slot);
                    mSweepKept.push_back(&entry);
                }
            }
        });
    // Sorted in the query scratch, which `use` may need again afterwards.
    mScratch.swap(mSweepOrder);
    SortScratch();
    mScratch.swap(mSweepOrder);
    begin(mSweepOrder.size());
    for (const auto& [rank, slot] : mSweepOrder)
        use(std::as_const(*mSweepKept[mSweepIndex[slot]]));
    mSweeping = false;
}

}  // namespace GAME
