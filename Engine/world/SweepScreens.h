#pragma once
// What a sweep hands its screens (Engine/world/WorldSweep.h): where they mark what they keep
// themselves, and a screen of a box of cells and what it leaves to the sweep's filter.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "Engine/world/EntityGrid.h"

namespace GAME::WorldCells {

// A sweep screens and filters a cell's entries this many at a time, as bits of a word.
constexpr std::size_t kBlock = 64;
static_assert(kBlock % EntityGrid::Pack::kWidth == 0);

// A block a screen of a box of cells could not settle alone: of its entries (bit i: entry i of the
// block), those it passes and did not mark, those of them `keep` would keep (`sure`, as a block
// screen's), and those whose team it has not judged (passed or not by whoever judges them).
struct Leftover {
    const EntityGrid::Pack* packs;
    const EntityGrid::Entry* entries;
    std::uint64_t passes, sure, unknown;
};
// Leftovers are filtered after every this many: a crowd's box of cells leaves a few.
constexpr std::size_t kLeftovers = 32;

// Where a sweep marks each rank it keeps (the mark and the list of kept ranks, `found` long so
// far), with the world's entry of each rank and the entries of the block being screened: a screen
// handed it may mark some of what it passes itself.
struct SweepMarker {
    const EntityGrid::Entry* const* at;
    unsigned char* marks;
    std::uint32_t* ranks;
    std::size_t found;
    const EntityGrid::Entry* entries;
    // Where a screen of a box of cells writes the blocks it leaves to the filter (kLeftovers of
    // them).
    Leftover* leftovers = nullptr;
    // Kept ranks past this many need not be listed in `ranks` by a screen of a box of cells: so
    // many are read back from the marks alone.
    std::size_t listed = SIZE_MAX;
};

// Where a screen of a grid's box of cells goes on: block `first` (an entry index) of cell (x, z),
// then along row z to column x1, then each row up to z1 from column x0.
struct CellWalk {
    int x, z, x0, x1, z1;
    std::size_t first;
};

// Hands `visit(packs, entries, count)` each block of the grid from `from` on, up to `to` (a
// point the walk reached since).
template <class Visit>
void ForEachWalkBlock(const EntityGrid& grid, const CellWalk& from, const CellWalk& to,
                      Visit&& visit) {
    int x = from.x;
    std::size_t first = from.first;
    for (int z = from.z; z <= to.z && z <= from.z1; ++z, x = from.x0)
        for (; x <= from.x1 && (z < to.z || x <= to.x); ++x, first = 0) {
            const EntityGrid::EntryList& entries = grid.Entries(x, z);
            const std::size_t end =
                z == to.z && x == to.x ? std::min(to.first, entries.size()) : entries.size();
            for (; first < end; first += kBlock)
                visit(grid.Packs(x, z).data() + first / EntityGrid::Pack::kWidth,
                      entries.data() + first, std::min(kBlock, entries.size() - first));
        }
}

// A screen of a box of cells made of a block screen, `screen(packs, entries, count, leftover)`
// filling the leftover's bits (and marking nothing): each block from `walk` on, as a screen of
// the box answers, `walk` left where it stops (past its last row when the box is done).
template <class Screen>
std::size_t ScreenBoxByBlocks(const EntityGrid& grid, CellWalk& walk, SweepMarker& marker,
                              Screen&& screen) {
    std::size_t left = 0;
    for (; walk.z <= walk.z1; ++walk.z, walk.x = walk.x0)
        for (; walk.x <= walk.x1; ++walk.x, walk.first = 0) {
            const EntityGrid::EntryList& entries = grid.Entries(walk.x, walk.z);
            for (; walk.first < entries.size(); walk.first += kBlock) {
                if (left == kLeftovers)
                    return left;
                Leftover& leftover = marker.leftovers[left];
                leftover = Leftover{
                    grid.Packs(walk.x, walk.z).data() + walk.first / EntityGrid::Pack::kWidth,
                    entries.data() + walk.first, 0, 0, 0};
                screen(leftover.packs, leftover.entries,
                       std::min(kBlock, entries.size() - walk.first), leftover);
                if ((leftover.passes | leftover.unknown) != 0)
                    ++left;
            }
        }
    return left;
}

}  // namespace GAME::WorldCells
