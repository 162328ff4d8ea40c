#pragma once
// The entities of one region filed by the grid cell of their position over x and z. A cell holds
// a copy of what the queries test (position, bounding radius, whether an actor, world rank), so
// a query reads the cells it covers and touches an entity only when it reports it, and a copy of
// the game's part of the entity's digest, so a sweep judges a crowd from its cells alone. The
// world keeps the copies true: every move, every change of radius and every commit of the game's
// part reaches it. Beside its entries each cell keeps their positions and radii alone, packed
// eight to a block in columns, so a sphere test over a crowd reads a few bytes per entity. Cells
// are in no particular order: queries sort what they gather by the order in which entities entered
// the world. The packed copy holds each entry's slot and the words of its game part a sweep's
// filter reads first (flags and team) too, so a crowd's unwanted members are passed over
// without reading their entries.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Engine/world/EntityDigest.h"
#include "Engine/world/Math.h"

namespace GAME {

class Entity;
class Region;

class EntityGrid {
public:
    // Two lines: the first holds what a sweep marks, keeps and weighs a foe by (all but the
    // second of the game's words), so a crowd's kept entries cost a line each; the second what
    // box queries and a kept entity's callers read.
    struct alignas(64) Entry {
        Vec3 position;           // local to the region
        std::uint32_t rank = 0;  // in world order, among the entities in the world
        std::uint32_t slot = 0;  // in the world's entity table
        std::uint32_t objectId = 0;
        Region* region = nullptr;  // the grid's own
        EntityGamePart game;       // as in the slot's digest
        float radius = 0;
        float rayLift = 0;  // the sphere rays meet sits this far above the position
        Entity* entity = nullptr;
        bool actor = false;
    };
    static_assert(offsetof(Entry, game) + offsetof(EntityGamePart, gameWords) +
                          sizeof(std::uint32_t) <=
                      64,
                  "what a sweep weighs by shares the entry's first line");

    // Eight entries' positions, radii, slots and the game part's flags and words, as their cell
    // keeps them side by side (entry i in lane i % kWidth of pack i / kWidth): sphere tests and
    // sweep screens read a crowd as columns, a quarter of a cache line per entity each.
    struct alignas(64) Pack {
        static constexpr std::size_t kWidth = 8;
        float x[kWidth];
        float y[kWidth];
        float z[kWidth];
        float radius[kWidth];
        std::uint32_t slot[kWidth];
        std::uint32_t gameFlags[kWidth];
        std::uint32_t gameWords[2][kWidth];
    };

    using EntryList = std::vector<Entry, RecycledAllocator<Entry>>;
    using PackList = std::vector<Pack, RecycledAllocator<Pack>>;

    // Covers the region's local box; positions outside it file into the border cells.
    EntityGrid(const Vec3& boundsMin, const Vec3& boundsMax);

    int CellIndexOf(const Vec3& p) const;
    // Adds the entry to the cell and returns its index inside the cell.
    std::uint32_t Insert(int cell, const Entry& entry);
    // Removes the entry at `index` of the cell; returns the slot of the entry that moved into
    // its place (or kNone when the entry was the last).
    std::uint32_t Erase(int cell, std::uint32_t index);
    // Position, radius and the game part change through SetPosition, SetRadius and SetGamePart,
    // which keep every copy.
    Entry& At(int cell, std::uint32_t index) {
        return mCells[static_cast<std::size_t>(cell)].entries[index];
    }
    const EntryList& CellEntries(int cell) const {
        return mCells[static_cast<std::size_t>(cell)].entries;
    }
    void SetPosition(int cell, std::uint32_t index, const Vec3& position) {
        Cell& c = mCells[static_cast<std::size_t>(cell)];
        c.entries[index].position = position;
        PackPosition(c, index, position);
    }
    void SetRadius(int cell, std::uint32_t index, float radius) {
        Cell& c = mCells[static_cast<std::size_t>(cell)];
        c.entries[index].radius = radius;
        PackOf(c, index).radius[index % Pack::kWidth] = radius;
        NoteRadius(radius);
    }
    void SetGamePart(int cell, std::uint32_t index, const EntityGamePart& game) {
        Cell& c = mCells[static_cast<std::size_t>(cell)];
        c.entries[index].game = game;
        PackGamePart(c, index, game);
    }
    // The cells touching the box [lo, hi] over x and z, as an inclusive range of columns and rows.
    void CellRange(const Vec3& lo, const Vec3& hi, int& x0, int& z0, int& x1, int& z1) const;
    const EntryList& Entries(int x, int z) const { return CellAt(x, z).entries; }
    // The same cell's packed copies, eight entries to a pack.
    const PackList& Packs(int x, int z) const { return CellAt(x, z).packs; }
    std::size_t GetCount() const { return mCount; }
    // The largest bounding radius ever filed here: queries widen their box by it.
    float GetMaxRadius() const { return mMaxRadius; }
    void NoteRadius(float radius) { mMaxRadius = Max(mMaxRadius, radius); }

    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

private:
    // In recycled blocks: the grid's cells lie together, apart from the crowd they list.
    struct Cell {
        EntryList entries;
        PackList packs;
    };

public:
    // Cell (x, z) of RowFrom and those after it along row z, a step each: a walk along a row
    // takes no address computation per cell.
    class RowCursor {
    public:
        const EntryList& Entries() const { return mCell->entries; }
        const PackList& Packs() const { return mCell->packs; }
        void Next() { ++mCell; }

    private:
        friend class EntityGrid;
        explicit RowCursor(const Cell* cell) : mCell(cell) {}
        const Cell* mCell;
    };
    // (x, z) may lie just past the grid's last cell: a walk resumes past its last column.
    RowCursor RowFrom(int x, int z) const {
        return RowCursor(mCells.data() + (static_cast<std::size_t>(z) * mCellsX + x));
    }

private:
    static Pack& PackOf(Cell& c, std::uint32_t index) { return c.packs[index / Pack::kWidth]; }
    static void PackPosition(Cell& c, std::uint32_t index, const Vec3& position) {
        Pack& pack = PackOf(c, index);
        const std::size_t lane = index % Pack::kWidth;
        pack.x[lane] = position.x;
        pack.y[lane] = position.y;
        pack.z[lane] = position.z;
    }
    static void PackGamePart(Cell& c, std::uint32_t index, const EntityGamePart& game) {
        Pack& pack = PackOf(c, index);
        const std::size_t lane = index % Pack::kWidth;
        pack.gameFlags[lane] = game.gameFlags;
        pack.gameWords[0][lane] = game.gameWords[0];
        pack.gameWords[1][lane] = game.gameWords[1];
    }
    // Copies the cell's entry `index` into its pack.
    static void PackEntry(Cell& c, std::uint32_t index);
    const Cell& CellAt(int x, int z) const {
        return mCells[static_cast<std::size_t>(z) * mCellsX + x];
    }
    // A full cell takes room for more: its three copies grow together.
    void Widen(Cell& c);

    Vec3 mMin;
    float mCellSize = 8.0f;
    int mCellsX = 1, mCellsZ = 1;
    std::vector<Cell> mCells;
    std::size_t mCount = 0;
    float mMaxRadius = 0;
};

}  // namespace GAME
