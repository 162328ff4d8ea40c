#pragma once
// The entities of one region filed by the grid cell of their position over x and z. A cell holds
// a copy of what the queries test (position, bounding radius, whether an actor, world rank), so
// a query reads the cells it covers and touches an entity only when it reports it, and a copy of
// the game's part of the entity's digest, so a sweep judges a crowd from its cells alone. The
// world keeps the copies true: every move, every change of radius and every commit of the game's
// part reaches it. Beside its entries each cell keeps their positions and radii alone, packed, so
// a sphere test over a crowd reads a quarter of a cache line per entity. Cells are in no
// particular order: queries sort what they gather by the order in which entities entered the
// world. A third packed copy holds each entry's slot and the words of its game part a sweep's
// filter reads first (flags and team), so a crowd's unwanted members are passed over without
// reading their entries.
#include <cstdint>
#include <vector>

#include "Engine/world/EntityDigest.h"
#include "Engine/world/Math.h"

namespace GAME {

class Entity;
class Region;

class EntityGrid {
public:
    struct Entry {
        Vec3 position;  // local to the region
        float radius = 0;
        float rayLift = 0;       // the sphere rays meet sits this far above the position
        std::uint32_t rank = 0;  // in world order, among the entities in the world
        Entity* entity = nullptr;
        std::uint32_t slot = 0;  // in the world's entity table
        std::uint32_t objectId = 0;
        Region* region = nullptr;  // the grid's own
        bool actor = false;
        EntityGamePart game;  // as in the slot's digest
    };

    // An entry's position and radius, as its cell keeps them packed for sphere tests.
    struct Reach {
        Vec3 position;
        float radius = 0;
    };

    // An entry's slot and the game part's flags and words, as its cell keeps them packed for
    // sweep filters.
    struct Tag {
        std::uint32_t slot = 0;
        std::uint32_t gameFlags = 0;
        std::uint32_t gameWords[2] = {};
    };

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
    void SetPosition(int cell, std::uint32_t index, const Vec3& position) {
        Cell& c = mCells[static_cast<std::size_t>(cell)];
        c.entries[index].position = position;
        c.reach[index].position = position;
    }
    void SetRadius(int cell, std::uint32_t index, float radius) {
        Cell& c = mCells[static_cast<std::size_t>(cell)];
        c.entries[index].radius = radius;
        c.reach[index].radius = radius;
        NoteRadius(radius);
    }
    void SetGamePart(int cell, std::uint32_t index, const EntityGamePart& game) {
        Cell& c = mCells[static_cast<std::size_t>(cell)];
        c.entries[index].game = game;
        c.tags[index] = TagOf(c.entries[index]);
    }
    static Tag TagOf(const Entry& entry) {
        return Tag{
            entry.slot, entry.game.gameFlags, {entry.game.gameWords[0], entry.game.gameWords[1]}};
    }
    // The cells touching the box [lo, hi] over x and z, as an inclusive range of columns and rows.
    void CellRange(const Vec3& lo, const Vec3& hi, int& x0, int& z0, int& x1, int& z1) const;
    const std::vector<Entry>& Entries(int x, int z) const { return CellAt(x, z).entries; }
    // The same cell's positions and radii, index for index.
    const std::vector<Reach>& Reaches(int x, int z) const { return CellAt(x, z).reach; }
    // The same cell's slots, flags and words, index for index.
    const std::vector<Tag>& Tags(int x, int z) const { return CellAt(x, z).tags; }
    std::size_t GetCount() const { return mCount; }
    // The largest bounding radius ever filed here: queries widen their box by it.
    float GetMaxRadius() const { return mMaxRadius; }
    void NoteRadius(float radius) { mMaxRadius = Max(mMaxRadius, radius); }

    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

private:
    struct Cell {
        std::vector<Entry> entries;
        std::vector<Reach> reach;
        std::vector<Tag> tags;
    };
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
    std::size_t mRoom = 0;  // the most room any cell took
    float mMaxRadius = 0;
};

}  // namespace GAME
