#pragma once
// The world's cell walks as templates: box queries gather through them, and sphere sweeps judge
// a crowd from the grid cells' copies in one pass (no entity and no digest read on the way).
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#endif

#include "Engine/world/EntityGrid.h"
#include "Engine/world/SweepMarks.h"
#include "Engine/world/SweepScreens.h"
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
inline void CheckPacks([[maybe_unused]] const EntityGrid& grid, [[maybe_unused]] int x,
                       [[maybe_unused]] int z) {
#ifndef NDEBUG
    using Pack = EntityGrid::Pack;
    const auto& entries = grid.Entries(x, z);
    const auto& packs = grid.Packs(x, z);
    bool same = packs.size() == (entries.size() + Pack::kWidth - 1) / Pack::kWidth;
    for (std::size_t i = 0; same && i < entries.size(); ++i) {
        const Pack& p = packs[i / Pack::kWidth];
        const std::size_t k = i % Pack::kWidth;
        const EntityGrid::Entry& e = entries[i];
        const float packed[4] = {p.x[k], p.y[k], p.z[k], p.radius[k]};
        const float own[4] = {e.position.x, e.position.y, e.position.z, e.radius};
        const std::uint32_t words[4] = {p.slot[k], p.gameFlags[k], p.gameWords[0][k],
                                        p.gameWords[1][k]};
        const std::uint32_t ownWords[4] = {e.slot, e.game.gameFlags, e.game.gameWords[0],
                                           e.game.gameWords[1]};
        same = std::memcmp(packed, own, sizeof packed) == 0 &&
               std::memcmp(words, ownWords, sizeof words) == 0;
    }
    if (!same)
        std::abort();
#endif
}

// Four lanes of a pack as the compiler's vectors: the width every x86-64 processor has (wider
// ones would be taken apart lane by lane where the library is built for the common base).
using LaneFloats = float __attribute__((vector_size(16)));
using LaneWords = std::uint32_t __attribute__((vector_size(16)));
using LaneMask = std::int32_t __attribute__((vector_size(16)));
constexpr std::size_t kQuad = 4;
static_assert(EntityGrid::Pack::kWidth % kQuad == 0);

template <class Vector, class Lane>
inline Vector LoadQuad(const Lane* lanes) {
    static_assert(sizeof(Vector) == kQuad * sizeof(Lane));
    Vector out;
    __builtin_memcpy(&out, lanes, sizeof out);
    return out;
}

// Bit k set for each lane k of four that is all ones.
inline unsigned LaneBits(LaneMask lanes) {
#if defined(__SSE2__)
    return static_cast<unsigned>(_mm_movemask_ps(reinterpret_cast<__m128>(lanes)));
#else
    return (lanes[0] & 1u) | (lanes[1] & 2u) | (lanes[2] & 4u) | (lanes[3] & 8u);
#endif
}

// Bit i set when the bounding sphere of entry i of the packs (i < count <= 64), taken into the
// query's space by `toQuery`, meets the sphere. Four lanes at a time, each taking the float
// operations of one entity's test in the same order (so the same answers), with no branch per
// entity.
inline std::uint64_t SphereMask(const EntityGrid::Pack* packs, std::size_t count,
                                const Vec3& toQuery, const Sphere& sphere) {
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    std::uint64_t meets = 0;
    for (std::size_t i = 0; i < count; i += kQuad) {
        const EntityGrid::Pack& p = packs[i / kWidth];
        const std::size_t lane = i % kWidth;
        const LaneFloats dx = (LoadQuad<LaneFloats>(p.x + lane) + toQuery.x) - sphere.center.x;
        const LaneFloats dy = (LoadQuad<LaneFloats>(p.y + lane) + toQuery.y) - sphere.center.y;
        const LaneFloats dz = (LoadQuad<LaneFloats>(p.z + lane) + toQuery.z) - sphere.center.z;
        const LaneFloats squared = dx * dx + dy * dy + dz * dz;
        const LaneFloats reach = sphere.radius + LoadQuad<LaneFloats>(p.radius + lane);
        meets |= static_cast<std::uint64_t>(LaneBits(~(squared > reach * reach))) << i;
    }
    return count < 64 ? meets & ((std::uint64_t{1} << count) - 1) : meets;
}

// Eight lanes where the processor has them (wider registers than the library's base): the
// same float operations per lane, so the same answers.
using OctFloats = float __attribute__((vector_size(32)));
using OctWords = std::uint32_t __attribute__((vector_size(32)));
using OctMask = std::int32_t __attribute__((vector_size(32)));
static_assert(EntityGrid::Pack::kWidth == 8);

#if defined(__x86_64__)
// Bit k set for each lane k of eight that is all ones.
[[gnu::target("avx2"), gnu::always_inline]] inline unsigned OctBits(OctMask lanes) {
    return static_cast<unsigned>(_mm256_movemask_ps(reinterpret_cast<__m256>(lanes)));
}

// SphereMask of one pack's eight lanes as lanes of all ones, lanes past a cell's last entry
// included (only where HasEightLanes).
[[gnu::target("avx2"), gnu::always_inline]] inline OctMask SphereLanesOct(const EntityGrid::Pack& p,
                                                                          const Vec3& toQuery,
                                                                          const Sphere& sphere) {
    OctFloats x, y, z, radius;
    __builtin_memcpy(&x, p.x, sizeof x);
    __builtin_memcpy(&y, p.y, sizeof y);
    __builtin_memcpy(&z, p.z, sizeof z);
    __builtin_memcpy(&radius, p.radius, sizeof radius);
    const OctFloats dx = (x + toQuery.x) - sphere.center.x;
    const OctFloats dy = (y + toQuery.y) - sphere.center.y;
    const OctFloats dz = (z + toQuery.z) - sphere.center.z;
    const OctFloats squared = dx * dx + dy * dy + dz * dz;
    const OctFloats reach = sphere.radius + radius;
    // Not greater, as one compare (`~(squared > reach * reach)` costs GCC a second step).
    return reinterpret_cast<OctMask>(_mm256_cmp_ps(squared, reach * reach, _CMP_NGT_US));
}

// SphereLanesOct as bits.
[[gnu::target("avx2"), gnu::always_inline]] inline unsigned SphereBitsOct(const EntityGrid::Pack& p,
                                                                          const Vec3& toQuery,
                                                                          const Sphere& sphere) {
    return OctBits(SphereLanesOct(p, toQuery, sphere));
}

// The bits of the first `count` (at most 64) entries.
inline std::uint64_t FirstBits(std::size_t count) {
    return count < 64 ? (std::uint64_t{1} << count) - 1 : ~std::uint64_t{0};
}

// SphereMask a pack at a time (only where HasEightLanes).
[[gnu::target("avx2")]] inline std::uint64_t SphereMaskOct(const EntityGrid::Pack* packs,
                                                           std::size_t count, const Vec3& toQuery,
                                                           const Sphere& sphere) {
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    std::uint64_t meets = 0;
    for (std::size_t i = 0; i < count; i += kWidth)
        meets |= static_cast<std::uint64_t>(SphereBitsOct(packs[i / kWidth], toQuery, sphere)) << i;
    return meets & FirstBits(count);
}
#endif

// SphereMask, eight lanes at a time where the processor has them (debug builds take four too
// and abort when the two differ).
inline std::uint64_t SphereMaskWidest(const EntityGrid::Pack* packs, std::size_t count,
                                      const Vec3& toQuery, const Sphere& sphere, bool eight) {
#if defined(__x86_64__)
    if (eight) {
        const std::uint64_t meets = SphereMaskOct(packs, count, toQuery, sphere);
#ifndef NDEBUG
        if (meets != SphereMask(packs, count, toQuery, sphere))
            std::abort();
#endif
        return meets;
    }
#endif
    return SphereMask(packs, count, toQuery, sphere);
}

// The lowest and the highest of `count` ranks, folded into `lo` and `hi`.
inline void RankSpan(const std::uint32_t* ranks, std::size_t count, std::uint32_t& lo,
                     std::uint32_t& hi) {
    for (std::size_t i = 0; i < count; ++i) {
        lo = std::min(lo, ranks[i]);
        hi = std::max(hi, ranks[i]);
    }
}

#if defined(__x86_64__)
// RankSpan eight ranks at a time (only where HasEightLanes).
[[gnu::target("avx2")]] inline void RankSpanOct(const std::uint32_t* ranks, std::size_t count,
                                                std::uint32_t& lo, std::uint32_t& hi) {
    __m256i low = _mm256_set1_epi32(static_cast<int>(lo));
    __m256i high = _mm256_set1_epi32(static_cast<int>(hi));
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ranks + i));
        low = _mm256_min_epu32(low, r);
        high = _mm256_max_epu32(high, r);
    }
    std::uint32_t lows[8], highs[8];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lows), low);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(highs), high);
    // Each lane folds into its own end: a lane still at its start is no rank.
    for (std::size_t k = 0; k < 8; ++k) {
        lo = std::min(lo, lows[k]);
        hi = std::max(hi, highs[k]);
    }
    RankSpan(ranks + i, count - i, lo, hi);
}
#endif

// RankSpan, eight ranks at a time where the processor has them (debug builds take them one by
// one too and abort when the two differ).
inline void RankSpanWidest(const std::uint32_t* ranks, std::size_t count, std::uint32_t& lo,
                           std::uint32_t& hi, [[maybe_unused]] bool eight) {
#if defined(__x86_64__)
    if (eight) {
#ifndef NDEBUG
        std::uint32_t plainLo = lo, plainHi = hi;
        RankSpan(ranks, count, plainLo, plainHi);
#endif
        RankSpanOct(ranks, count, lo, hi);
#ifndef NDEBUG
        if (plainLo != lo || plainHi != hi)
            std::abort();
#endif
        return;
    }
#endif
    RankSpan(ranks, count, lo, hi);
}

#ifndef NDEBUG
// The bits of the block's entries (`count` at `entries`) a screen marked among ranks [from,
// marker.found) of the kept list: each its entry's own, marked once and kept by `keep`; aborts
// otherwise. Ranks of other blocks are left to theirs, unless `whole` (all of them the block's).
template <class Keep>
std::uint64_t CheckScreenMarks(const SweepMarker& marker, std::size_t from,
                               const EntityGrid::Entry* entries, std::size_t count,
                               EntityListType type, Keep& keep, bool whole = true) {
    std::uint64_t marked = 0;
    const auto first = reinterpret_cast<std::uintptr_t>(entries);
    for (std::size_t k = from; k < marker.found; ++k) {
        const std::uint32_t rank = marker.ranks[k];
        const EntityGrid::Entry* const entry = marker.at[rank];
        const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(entry) - first;
        const std::size_t i = offset / sizeof(EntityGrid::Entry);
        if (!whole && (offset % sizeof(EntityGrid::Entry) != 0 || i >= count))
            continue;
        if (offset % sizeof(EntityGrid::Entry) != 0 || i >= count || entry->rank != rank ||
            marker.marks[rank] != kMarked || (marked >> i & 1) != 0 ||
            !Passes(entry->actor, type) || !keep(*entry))
            std::abort();
        marked |= std::uint64_t{1} << i;
    }
    return marked;
}
#endif

inline bool BoxesOverlap(const Vec3& aLo, const Vec3& aHi, const Vec3& bLo, const Vec3& bHi) {
    return aLo.x <= bHi.x && bLo.x <= aHi.x && aLo.y <= bHi.y && bLo.y <= aHi.y && aLo.z <= bHi.z &&
           bLo.z <= aHi.z;
}

}  // namespace WorldCells

template <class VisitCell>
void World::ForEachCellInBox(Region* region, const Vec3& lo, const Vec3& hi, VisitCell&& visit) {
    ForEachCellBoxInBox(
        region, lo, hi,
        [&](const EntityGrid& grid, int x0, int z0, int x1, int z1, const Vec3& toQuery) {
            for (int z = z0; z <= z1; ++z)
                for (int x = x0; x <= x1; ++x)
                    visit(grid, x, z, toQuery);
        });
}

template <class VisitBox>
void World::ForEachCellBoxInBox(Region* region, const Vec3& lo, const Vec3& hi, VisitBox&& visit) {
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
#ifndef NDEBUG
        for (int z = z0; z <= z1; ++z)
            for (int x = x0; x <= x1; ++x)
                WorldCells::CheckPacks(*grid, x, z);
#endif
        visit(*grid, x0, z0, x1, z1, toQuery);
    }
}

template <class Test, class Found>
void World::ForEachInBox(Region* region, const Vec3& lo, const Vec3& hi, EntityListType type,
                         Test&& test, Found&& found) {
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    ForEachCellInBox(
        region, lo, hi, [&](const EntityGrid& grid, int x, int z, const Vec3& toQuery) {
            const EntityGrid::EntryList& entries = grid.Entries(x, z);
            const EntityGrid::Pack* pack = grid.Packs(x, z).data();
            for (std::size_t first = 0; first < entries.size(); first += kWidth, ++pack) {
                const std::size_t lanes = std::min(kWidth, entries.size() - first);
                for (std::size_t k = 0; k < lanes; ++k) {
                    // The entry's own position and radius (CheckPacks).
                    const Vec3 at = Vec3(pack->x[k], pack->y[k], pack->z[k]) + toQuery;
                    const EntityGrid::Entry& entry = entries[first + k];
                    bool passes = false;
                    if constexpr (std::is_invocable_v<Test&, const Vec3&, float, float,
                                                      std::uint32_t>)
                        passes = test(at, pack->radius[k], entry.rayLift, pack->gameFlags[k]);
                    else if constexpr (std::is_invocable_v<Test&, const Vec3&, float, float>)
                        passes = test(at, pack->radius[k], entry.rayLift);
                    else
                        passes = test(at, pack->radius[k]);
                    if (passes && WorldCells::Passes(entry.actor, type))
                        found(entry);
                }
            }
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
        region, sphere, type,
        [](const EntityGrid::Pack*, std::size_t) { return ~std::uint64_t{0}; }, keep, begin, use);
}

template <class Screen, class Keep, class Begin, class Use>
void World::SweepSphere(Region* region, const Sphere& sphere, EntityListType type, Screen&& screen,
                        Keep&& keep, Begin&& begin, Use&& use) {
    if (!HoldsRegion(region))
        return;
    if (mSweeping)
        std::abort();  // a sweep inside a sweep would overwrite the one running
    mSweeping = true;
    // A screen taking the sphere (and where the cell's positions lie from the query's space) as
    // well, `screen(packs, count, toQuery, sphere, sure)`, answers for the sphere test too: it
    // passes only entities whose bounding sphere meets the sphere, exactly as SphereMask finds
    // them, and starts `sure` from nothing.
    constexpr bool kScreenMeets = std::is_invocable_v<Screen&, const EntityGrid::Pack*, std::size_t,
                                                      const Vec3&, const Sphere&, std::uint64_t&>;
    // One handed a marker as well, `screen(..., sure, marker)`, may mark some of what it would
    // pass itself (those `keep` would keep, as `sure` are), and leaves them out of what it
    // answers.
    constexpr bool kScreenMarks =
        std::is_invocable_v<Screen&, const EntityGrid::Pack*, std::size_t, const Vec3&,
                            const Sphere&, std::uint64_t&, WorldCells::SweepMarker&>;
    std::size_t kept = 0;
    // By rank, room for every rank there is (nothing enters the world while a sweep runs): the
    // kept ranks too, each kept once at most, so no block asks for room.
    const std::size_t rankCount = mRankSlots.size();
    if (mSweepRanks.size() < rankCount)
        mSweepRanks.resize(rankCount);
    // A byte per rank (see kMarked), in whole words of marks.
    constexpr std::size_t kWordsPerMarks =
        WorldCells::kMarksPerWord / sizeof(decltype(mSweepMarks)::value_type);
    // Then a bit per rank and a bit per word of those, for a few kept ranks (see below).
    const std::size_t wordsOfMarks = rankCount / WorldCells::kMarksPerWord + 1;
    const std::size_t wordsOfNotes = wordsOfMarks / WorldCells::kMarksPerWord + 1;
    const std::size_t markWords = wordsOfMarks * kWordsPerMarks + wordsOfMarks + wordsOfNotes;
    // The read-back (see below) takes the kept list only for fewer kept than `listed`; at least
    // that many span few enough words of marks to read them all (kWordsPerEntry a kept rank).
    constexpr std::size_t kWordsPerEntry = 4;
    constexpr std::size_t kWordsPerNotedEntry = 2;
    static_assert(kWordsPerEntry >= kWordsPerNotedEntry);
    const std::size_t listed = (wordsOfMarks + kWordsPerNotedEntry - 1) / kWordsPerNotedEntry;
    if (mSweepMarks.size() < markWords)
        mSweepMarks.resize(markWords, 0);
    unsigned char* const marks = reinterpret_cast<unsigned char*>(mSweepMarks.data());
    const Vec3 r(sphere.radius, sphere.radius, sphere.radius);
    const bool eight = WorldCells::HasEightLanes();
    // Copied into the cell visit: read by reference, each would take two loads after every
    // call a block makes.
    std::uint32_t* const ranks = mSweepRanks.data();
    const EntityGrid::Entry* const* const at = mRankEntries.data();
    // Made once: a block sets only what changes.
    [[maybe_unused]] WorldCells::SweepMarker marker{at, marks, ranks, 0, nullptr};
    // Debug builds list every kept rank: their checks of the screens read the list.
#ifdef NDEBUG
    marker.listed = listed;
#endif
    // The entries of a block that a screen passes (`wanted`, bits of the block at
    // `blockEntries`), filtered in cell order as one by one, the `sure` ones unasked.
    const auto filter = [&, ranks, marks](const EntityGrid::Entry* const blockEntries,
                                          std::uint64_t wanted, std::uint64_t sure) {
        sure &= wanted;
        // Held here: a mark's byte store could otherwise be the pointers' own.
        std::uint32_t* const blockRanks = ranks;
        unsigned char* const blockMarks = marks;
        // Each kept entry is marked by rank as it is found: its entry is read once, for the
        // rank, and the vouched-for ones not otherwise.
        // (Counted in a local: the marks' stores could otherwise be the count's own. Their
        // span is taken from the kept list at the end, many at a time.)
        std::size_t found = kept;
        const auto mark = [&](const EntityGrid::Entry& entry) {
            const std::uint32_t rank = entry.rank;
#ifndef NDEBUG
            if (at[rank] != &entry)
                std::abort();  // the world lost track of where its entry lies
#endif
            blockMarks[rank] = WorldCells::kMarked;
            blockRanks[found++] = rank;
        };
#ifdef NDEBUG
        // A crowd's blocks are mostly vouched for whole.
        if (wanted == sure)
            for (; wanted != 0; wanted &= wanted - 1)
                mark(blockEntries[static_cast<unsigned>(std::countr_zero(wanted))]);
#endif
        for (; wanted != 0; wanted &= wanted - 1) {
            const auto i = static_cast<unsigned>(std::countr_zero(wanted));
            const EntityGrid::Entry& entry = blockEntries[i];
            if ((sure >> i & 1) == 0) {
                if (!WorldCells::Passes(entry.actor, type) || !keep(entry))
                    continue;
            } else {
#ifndef NDEBUG
                if (!WorldCells::Passes(entry.actor, type) || !keep(entry))
                    std::abort();
#endif
            }
            mark(entry);
        }
        kept = found;
    };
#ifndef NDEBUG
    // What the screen passes over (of `meets`, bits of the block at `blockEntries`), the filter
    // would have refused.
    const auto checkPassedOver = [&](const EntityGrid::Entry* blockEntries, std::uint64_t meets) {
        for (std::uint64_t m = meets; m != 0; m &= m - 1) {
            const EntityGrid::Entry& entry = blockEntries[std::countr_zero(m)];
            if (WorldCells::Passes(entry.actor, type) && keep(entry))
                std::abort();
        }
    };
#endif
    // A screen of a grid's box of cells, `screen(grid, walk, toQuery, sphere, marker)`, screens
    // the blocks from `walk` on as a marking screen does each, leaves `walk` where it stops and
    // answers how many blocks it left to the filter, written to `marker.leftovers` in cell
    // order (what it does not write, it passes over).
    constexpr bool kScreenBoxes =
        std::is_invocable_r_v<std::size_t, Screen&, const EntityGrid&, WorldCells::CellWalk&,
                              const Vec3&, const Sphere&, WorldCells::SweepMarker&>;
    if constexpr (kScreenBoxes) {
        WorldCells::Leftover leftovers[WorldCells::kLeftovers];
        marker.leftovers = leftovers;
        ForEachCellBoxInBox(
            region, sphere.center - r, sphere.center + r,
            [&](const EntityGrid& grid, int x0, int z0, int x1, int z1, const Vec3& toQuery) {
                WorldCells::CellWalk walk{x0, z0, x0, x1, z1, 0};
                while (walk.z <= z1) {
                    [[maybe_unused]] const WorldCells::CellWalk from = walk;
                    marker.found = kept;
                    const std::size_t left = screen(grid, walk, toQuery, sphere, marker);
#ifndef NDEBUG
                    // Each block as a marking screen's answer (those not left: nothing passed).
                    std::size_t l = 0, marks = 0;
                    WorldCells::ForEachWalkBlock(
                        grid, from, walk,
                        [&](const EntityGrid::Pack* packs, const EntityGrid::Entry* entries,
                            std::size_t count) {
                            WorldCells::Leftover block{packs, entries, 0, 0, 0};
                            if (l < left && leftovers[l].entries == entries)
                                block = leftovers[l++];
                            const std::uint64_t meets =
                                WorldCells::SphereMaskWidest(packs, count, toQuery, sphere, eight);
                            const std::uint64_t marked = WorldCells::CheckScreenMarks(
                                marker, kept, entries, count, type, keep, false);
                            if (((block.passes | block.sure) & ~meets) | (marked & ~meets) |
                                (marked & block.passes) | block.unknown |
                                (block.sure & ~block.passes))
                                std::abort();
                            checkPassedOver(entries, meets & ~marked & ~block.passes);
                            marks += static_cast<std::size_t>(std::popcount(marked));
                        });
                    // Every leftover a block's, every mark a block's entry.
                    if (l != left || marks != marker.found - kept)
                        std::abort();
#endif
                    kept = marker.found;
                    for (std::size_t k = 0; k < left; ++k)
                        filter(leftovers[k].entries, leftovers[k].passes, leftovers[k].sure);
                }
            });
    } else {
        ForEachCellInBox(
            region, sphere.center - r, sphere.center + r,
            [&](const EntityGrid& grid, int x, int z, const Vec3& toQuery) {
                // Held here: nothing a sweep calls changes a cell, but the calls and the kept
                // list's writes could otherwise be the vectors' own.
                const EntityGrid::Pack* const packs = grid.Packs(x, z).data();
                const EntityGrid::Entry* const entries = grid.Entries(x, z).data();
                const std::size_t entryCount = grid.Entries(x, z).size();
                // The sphere test over the packed positions and the screen over the packed words
                // first, without a branch per entity; the entries that pass both are then
                // filtered.
                for (std::size_t first = 0; first < entryCount; first += WorldCells::kBlock) {
                    const std::size_t count = std::min(WorldCells::kBlock, entryCount - first);
                    const EntityGrid::Pack* block = packs + first / EntityGrid::Pack::kWidth;
                    const EntityGrid::Entry* const blockEntries = entries + first;
                    // A screen may also vouch for some of what it passes: `keep` would keep
                    // them and does nothing on the way, so only debug builds ask it.
                    // (It is handed the entities the sphere holds there: the others need no
                    // answer.)
                    [[maybe_unused]] std::uint64_t meets = 0;
                    std::uint64_t wanted = 0, sure = 0;
                    if constexpr (kScreenMarks) {
                        marker.found = kept;
                        marker.entries = blockEntries;
                        wanted = screen(block, count, toQuery, sphere, sure, marker);
#ifndef NDEBUG
                        meets = WorldCells::SphereMaskWidest(block, count, toQuery, sphere, eight);
                        const std::uint64_t marked = WorldCells::CheckScreenMarks(
                            marker, kept, blockEntries, count, type, keep);
                        if (((wanted | sure) & ~meets) | (marked & ~meets) | (marked & wanted))
                            std::abort();
                        // Checked below as passed over: what is marked is the filter's to
                        // refuse.
                        meets &= ~marked;
#endif
                        kept = marker.found;
                        if (wanted == 0)
                            continue;
                    } else if constexpr (kScreenMeets) {
                        // The screen tests the sphere itself, with the same float operations.
                        wanted = screen(block, count, toQuery, sphere, sure);
#ifndef NDEBUG
                        meets = WorldCells::SphereMaskWidest(block, count, toQuery, sphere, eight);
                        if ((wanted | sure) & ~meets)
                            std::abort();
#endif
                        if (wanted == 0)
                            continue;
                    } else {
                        meets = WorldCells::SphereMaskWidest(block, count, toQuery, sphere, eight);
                        if (meets == 0)
                            continue;  // nothing to screen or keep (a box's corner cells)
                        wanted = meets;
                        if constexpr (std::is_invocable_v<Screen&, const EntityGrid::Pack*,
                                                          std::size_t, std::uint64_t&>) {
                            sure = meets;
                            wanted &= screen(block, count, sure);
                        } else {
                            wanted &= screen(block, count);
                        }
                    }
#ifndef NDEBUG
                    checkPassedOver(blockEntries, meets & ~wanted);
#endif
                    filter(blockEntries, wanted, sure);
                }
#ifndef NDEBUG
                if (grid.Entries(x, z).data() != entries ||
                    grid.Entries(x, z).size() != entryCount || grid.Packs(x, z).data() != packs)
                    std::abort();
#endif
            });
    }
    // World order without a sort: the kept ranks are read back from the sweep's own marks in
    // order when they span few enough words of them (else sorted), each word cleared as it is
    // read. When all the words are few enough, they are read without finding the span first.
    if (mSweepKept.size() < kept)
        mSweepKept.resize(std::max(kept, 2 * mSweepKept.size()));
    const EntityGrid::Entry** sorted = mSweepKept.data();
    // Whether the kept list is read: only when no longer than what the screens must list.
    [[maybe_unused]] bool listRead = false;
    // Few kept among many words of marks: read from the list, through bits of their own.
    if (kept != 0 && kWordsPerNotedEntry * kept < wordsOfMarks) {
        listRead = true;
        std::uint64_t* const bits = mSweepMarks.data() + wordsOfMarks * kWordsPerMarks;
        const EntityGrid::Entry** const out =
            WorldCells::ReadListedRanksWidest(marks, bits, bits + wordsOfMarks, wordsOfNotes,
                                              mSweepRanks.data(), kept, at, sorted, eight);
        if (out != sorted + kept)
            std::abort();  // a rank listed twice
    } else {
        std::size_t first = 0, last = wordsOfMarks - 1;
        if (last > kWordsPerEntry * kept) {
            listRead = true;
            std::uint32_t lo = ~std::uint32_t{0}, hi = 0;
            WorldCells::RankSpanWidest(mSweepRanks.data(), kept, lo, hi, eight);
            first = lo / WorldCells::kMarksPerWord;
            last = hi / WorldCells::kMarksPerWord;
        }
        if (kept != 0 && last - first <= kWordsPerEntry * kept) {
            const EntityGrid::Entry** const out =
                WorldCells::ReadMarksWidest(marks, at, first, last, sorted, eight);
            if (out != sorted + kept)
                std::abort();  // the marks held a rank besides the kept ones
        } else {
            listRead = kept != 0;
            std::uint32_t* const ranks = mSweepRanks.data();
            for (std::size_t i = 0; i < kept; ++i)
                marks[ranks[i]] = 0;
            std::sort(ranks, ranks + kept);
            for (std::size_t i = 0; i < kept; ++i)
                sorted[i] = at[ranks[i]];
        }
    }
#ifndef NDEBUG
    if (listRead && kept > listed)
        std::abort();
    // Ranks are unique: as many entries as were kept, each of them (taken by index), in rising
    // rank, and the marks left clear.
    for (std::size_t i = 1; i < kept; ++i)
        if (sorted[i - 1]->rank >= sorted[i]->rank)
            std::abort();
    for (const std::uint64_t word : mSweepMarks)
        if (word != 0)
            std::abort();
#endif
    // A `begin(entries, count)` takes the kept entries at once, as a list in world order, in
    // place of `use`; it may do what `use` may.
    if constexpr (std::is_invocable_v<Begin&, const EntityGrid::Entry* const*, std::size_t>) {
        begin(static_cast<const EntityGrid::Entry* const*>(sorted), kept);
    } else {
        begin(kept);
        // `use` cannot sweep (see above), so the lists stay where they are.
        for (std::size_t i = 0; i < kept; ++i)
            use(std::as_const(*sorted[i]));
    }
    mSweeping = false;
}

}  // namespace GAME
