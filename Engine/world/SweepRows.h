#pragma once
// What a sweep hands its screens (Engine/world/WorldSweep.h): where they mark what they keep
// themselves, and a screen of a cell row's blocks and what it leaves to the sweep's filter.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "Engine/world/EntityGrid.h"

namespace GAME::WorldCells {

// A sweep screens and filters a cell's entries this many at a time, as bits of a word.
constexpr std::size_t kBlock = 64;
static_assert(kBlock % EntityGrid::Pack::kWidth == 0);

// A block a screen of a row could not settle alone: of its entries (bit i: entry i of the
// block), those it passes and did not mark, those of them `keep` would keep (`sure`, as a block
// screen's), and those whose team it has not judged (passed or not by whoever judges them).
struct Leftover {
    const EntityGrid::Pack* packs;
    const EntityGrid::Entry* entries;
    std::uint64_t passes, sure, unknown;
};
// A row's leftovers are filtered after every this many: a crowd's row leaves a few.
constexpr std::size_t kLeftovers = 32;

// Where a sweep marks each rank it keeps (the entry by rank, the mark and the list of kept ranks,
// `found` long so far), with the entries of the block being screened: a screen handed it may
// mark some of what it passes itself.
struct SweepMarker {
    const EntityGrid::Entry** at;
    unsigned char* marks;
    std::uint32_t* ranks;
    std::size_t found;
    const EntityGrid::Entry* entries;
    // Where a screen of a row writes the blocks it leaves to the filter (kLeftovers of them).
    Leftover* leftovers = nullptr;
};

// Where a screen of a cell row goes on: block `first` (an entry index) of cell `x`, up to cell
// `last` of the row.
struct RowWalk {
    int x, last;
    std::size_t first;
};

// Hands `visit(packs, entries, count)` each block of row `z` of the grid from `from` on, up to
// `to` (a point the walk reached since).
template <class Visit>
void ForEachRowBlock(const EntityGrid& grid, int z, const RowWalk& from, const RowWalk& to,
                     Visit&& visit) {
    std::size_t first = from.first;
    for (int x = from.x; x <= to.x && x <= from.last; ++x, first = 0) {
        const EntityGrid::EntryList& entries = grid.Entries(x, z);
        const std::size_t end = x == to.x ? std::min(to.first, entries.size()) : entries.size();
        for (; first < end; first += kBlock)
            visit(grid.Packs(x, z).data() + first / EntityGrid::Pack::kWidth,
                  entries.data() + first, std::min(kBlock, entries.size() - first));
    }
}

// A screen of a row made of a block screen, `screen(packs, entries, count, leftover)` filling
// the leftover's bits (and marking nothing): each block of the row from `walk` on, as a row
// screen answers, `walk` left where it stops (past its last cell when the row is done).
template <class Screen>
std::size_t ScreenRowByBlocks(const EntityGrid& grid, int z, RowWalk& walk, SweepMarker& marker,
                              Screen&& screen) {
    std::size_t left = 0;
    for (; walk.x <= walk.last; ++walk.x, walk.first = 0) {
        const EntityGrid::EntryList& entries = grid.Entries(walk.x, z);
        for (; walk.first < entries.size(); walk.first += kBlock) {
            if (left == kLeftovers)
                return left;
            Leftover& leftover = marker.leftovers[left];
            leftover =
                Leftover{grid.Packs(walk.x, z).data() + walk.first / EntityGrid::Pack::kWidth,
                         entries.data() + walk.first, 0, 0, 0};
            screen(leftover.packs, leftover.entries, std::min(kBlock, entries.size() - walk.first),
                   leftover);
            if ((leftover.passes | leftover.unknown) != 0)
                ++left;
        }
    }
    return left;
}

}  // namespace GAME::WorldCells
