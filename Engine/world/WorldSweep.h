#pragma once
// The world's cell walks as templates: box queries gather through them, and sphere sweeps judge
// a crowd from the grid cells' copies in one pass (no entity and no digest read on the way).
#include <algorithm>
#include <bit>
#include <cstdint>
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

// Debug builds check that a cell's packed positions, radii, slots and game words are its
// entries' own.
inline void CheckReaches([[maybe_unused]] const EntityGrid& grid, [[maybe_unused]] int x,
                         [[maybe_unused]] int z) {
#ifndef NDEBUG
    const auto& entries = grid.Entries(x, z);
    const auto& reaches = grid.Reaches(x, z);
    const auto& tags = grid.Tags(x, z);
    bool same = entries.size() == reaches.size() && entries.size() == tags.size();
    for (std::size_t i = 0; same && i < entries.size(); ++i) {
        const EntityGrid::Tag tag = EntityGrid::TagOf(entries[i]);
        same = std::memcmp(&entries[i].position, &reaches[i].position, sizeof(Vec3)) == 0 &&
               std::memcmp(&entries[i].radius, &reaches[i].radius, sizeof(float)) == 0 &&
               std::memcmp(&tag, &tags[i], sizeof tag) == 0;
    }
    if (!same)
        std::abort();
#endif
}

// Bit i set when the bounding sphere of block[i] (i < count <= 64), taken into the query's space
// by `toQuery`, meets the sphere. Four at a time, each lane taking the float operations of one
// entity's test in the same order (so the same answers), with no branch per entity.
inline std::uint64_t SphereMask(const EntityGrid::Reach* block, std::size_t count,
                                const Vec3& toQuery, const Sphere& sphere) {
    using Lanes = float __attribute__((vector_size(16)));
    using LaneMask = std::int32_t __attribute__((vector_size(16)));
    std::uint64_t meets = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const EntityGrid::Reach* r = block + i;
        const Lanes x = {r[0].position.x, r[1].position.x, r[2].position.x, r[3].position.x};
        const Lanes y = {r[0].position.y, r[1].position.y, r[2].position.y, r[3].position.y};
        const Lanes z = {r[0].position.z, r[1].position.z, r[2].position.z, r[3].position.z};
        const Lanes radius = {r[0].radius, r[1].radius, r[2].radius, r[3].radius};
        const Lanes dx = (x + toQuery.x) - sphere.center.x;
        const Lanes dy = (y + toQuery.y) - sphere.center.y;
        const Lanes dz = (z + toQuery.z) - sphere.center.z;
        const Lanes squared = dx * dx + dy * dy + dz * dz;
        const Lanes reach = sphere.radius + radius;
        const LaneMask meet = ~(squared > reach * reach) & LaneMask{1, 2, 4, 8};
        meets |= static_cast<std::uint64_t>(meet[0] | meet[1] | meet[2] | meet[3]) << i;
    }
    for (; i < count; ++i) {
        const float reach = sphere.radius + block[i].radius;
        const float squared = ((block[i].position + toQuery) - sphere.center).LengthSquared();
        meets |= static_cast<std::uint64_t>(!(squared > reach * reach)) << i;
    }
    return meets;
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
    SweepSphere(
        region, sphere, type, [](const EntityGrid::Tag*, std::size_t) { return ~std::uint64_t{0}; },
        keep, begin, use);
}

template <class Screen, class Keep, class Begin, class Use>
void World::SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Screen&& screen,
                        Keep&& keep, Begin&& begin, Use&& use) {
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
            const std::vector<EntityGrid::Tag>& tags = grid.Tags(x, z);
            const std::vector<EntityGrid::Entry>& entries = grid.Entries(x, z);
            // The sphere test over the packed positions and the screen over the packed tags
            // first, without a branch per entity; the entries that pass both are then filtered
            // in cell order, as one by one.
            constexpr std::size_t kBlock = 64;
            for (std::size_t first = 0; first < reaches.size(); first += kBlock) {
                const std::size_t count = std::min(kBlock, reaches.size() - first);
                const std::uint64_t meets =
                    WorldCells::SphereMask(reaches.data() + first, count, toQuery, sphere);
                std::uint64_t wanted = meets & screen(tags.data() + first, count);
                // The entries the filter reads are asked for together, not one miss after another.
                for (std::uint64_t m = wanted; m != 0; m &= m - 1) {
                    const char* at = reinterpret_cast<const char*>(
                        &entries[first + static_cast<std::size_t>(std::countr_zero(m))]);
                    __builtin_prefetch(at);
                    __builtin_prefetch(at + sizeof(EntityGrid::Entry) - 1);
                }
#ifndef NDEBUG
                // What the screen passes over, the filter would have refused.
                for (std::uint64_t m = meets & ~wanted; m != 0; m &= m - 1) {
                    const EntityGrid::Entry& entry =
                        entries[first + static_cast<std::size_t>(std::countr_zero(m))];
                    if (WorldCells::Passes(entry.actor, type) && keep(entry))
                        std::abort();
                }
#endif
                for (; wanted != 0; wanted &= wanted - 1) {
                    const EntityGrid::Entry& entry =
                        entries[first + static_cast<std::size_t>(std::countr_zero(wanted))];
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
