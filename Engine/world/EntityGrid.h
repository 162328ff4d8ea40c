#pragma once
// The entities of one region filed by the grid cell of their position over x and z. A cell holds
// slots of the world's entity table in no particular order: queries sort what they gather by
// the order in which entities entered the world.
#include <cstdint>
#include <vector>

#include "Engine/world/Math.h"

namespace GAME {

class EntityGrid {
public:
    // Covers the region's local box; positions outside it file into the border cells.
    EntityGrid(const Vec3& boundsMin, const Vec3& boundsMax);

    int CellIndexOf(const Vec3& p) const;
    // Adds the slot to the cell and returns its index inside the cell.
    std::uint32_t Insert(int cell, std::uint32_t slot);
    // Removes the entry at `index` of the cell; returns the slot that moved into its place (or
    // kNone when the entry was the last).
    std::uint32_t Erase(int cell, std::uint32_t index);
    // The cells touching the box [lo, hi] over x and z, as an inclusive range of columns and rows.
    void CellRange(const Vec3& lo, const Vec3& hi, int& x0, int& z0, int& x1, int& z1) const;
    const std::vector<std::uint32_t>& Cell(int x, int z) const {
        return mCells[static_cast<std::size_t>(z) * mCellsX + x];
    }
    std::size_t GetCount() const { return mCount; }
    // The largest bounding radius ever filed here: queries widen their box by it.
    float GetMaxRadius() const { return mMaxRadius; }
    void NoteRadius(float radius) { mMaxRadius = Max(mMaxRadius, radius); }

    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

private:
    Vec3 mMin;
    float mCellSize = 8.0f;
    int mCellsX = 1, mCellsZ = 1;
    std::vector<std::vector<std::uint32_t>> mCells;
    std::size_t mCount = 0;
    float mMaxRadius = 0;
};

}  // namespace GAME
