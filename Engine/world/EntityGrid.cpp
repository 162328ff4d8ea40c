#include "Engine/world/EntityGrid.h"

namespace GAME {

namespace {
constexpr float kCellSize = 8.0f;
constexpr int kMaxCellsPerSide = 128;
// A cell's first room.
constexpr std::size_t kFirstRoom = 8;
}  // namespace

EntityGrid::EntityGrid(const Vec3& boundsMin, const Vec3& boundsMax) : mMin(boundsMin) {
    const float extent = Max(boundsMax.x - boundsMin.x, boundsMax.z - boundsMin.z);
    mCellSize = Max(kCellSize, extent / kMaxCellsPerSide);
    mCellsX = ClampInt(static_cast<int>((boundsMax.x - boundsMin.x) / mCellSize) + 1, 1,
                       kMaxCellsPerSide + 1);
    mCellsZ = ClampInt(static_cast<int>((boundsMax.z - boundsMin.z) / mCellSize) + 1, 1,
                       kMaxCellsPerSide + 1);
    mCells.resize(static_cast<std::size_t>(mCellsX) * mCellsZ);
}

int EntityGrid::CellIndexOf(const Vec3& p) const {
    int x0 = 0, z0 = 0, x1 = 0, z1 = 0;
    CellRange(p, p, x0, z0, x1, z1);
    return z0 * mCellsX + x0;
}

void EntityGrid::CellRange(const Vec3& lo, const Vec3& hi, int& x0, int& z0, int& x1,
                           int& z1) const {
    // Clamped in float first: a far or non-finite coordinate never overflows the conversion.
    auto column = [&](float v, float origin, int count) {
        const float f = (v - origin) / mCellSize;
        if (!(f >= 0))
            return 0;
        return static_cast<int>(Min(f, static_cast<float>(count - 1)));
    };
    x0 = column(lo.x, mMin.x, mCellsX);
    x1 = column(hi.x, mMin.x, mCellsX);
    z0 = column(lo.z, mMin.z, mCellsZ);
    z1 = column(hi.z, mMin.z, mCellsZ);
}

void EntityGrid::PackEntry(Cell& c, std::uint32_t index) {
    const Entry& entry = c.entries[index];
    PackPosition(c, index, entry.position);
    PackOf(c, index).radius[index % Pack::kWidth] = entry.radius;
    PackOf(c, index).slot[index % Pack::kWidth] = entry.slot;
    PackGamePart(c, index, entry.game);
}

void EntityGrid::Widen(Cell& c) {
    // Each cell grows its own room by half, in whole packs: a crowd spread over many cells holds
    // no cell at the room of the most crowded one, nor much past its own. A cell's first entity
    // takes little, so that a sparse region's cells stay small.
    const std::size_t wanted = c.entries.empty() ? kFirstRoom : c.entries.size() * 3 / 2;
    const std::size_t room = (wanted + Pack::kWidth - 1) / Pack::kWidth * Pack::kWidth;
    c.entries.reserve(room);
    c.packs.reserve((room + Pack::kWidth - 1) / Pack::kWidth);
}

std::uint32_t EntityGrid::Insert(int cell, const Entry& entry) {
    Cell& c = mCells[static_cast<std::size_t>(cell)];
    const auto index = static_cast<std::uint32_t>(c.entries.size());
    if (index == c.entries.capacity()) [[unlikely]]
        Widen(c);
    c.entries.push_back(entry);
    if (index % Pack::kWidth == 0)
        c.packs.emplace_back();
    PackEntry(c, index);
    ++mCount;
    return index;
}

std::uint32_t EntityGrid::Erase(int cell, std::uint32_t index) {
    Cell& c = mCells[static_cast<std::size_t>(cell)];
    --mCount;
    const auto last = static_cast<std::uint32_t>(c.entries.size() - 1);
    if (index != last) {
        c.entries[index] = c.entries.back();
        PackEntry(c, index);
    }
    c.entries.pop_back();
    if (last % Pack::kWidth == 0)
        c.packs.pop_back();
    return index != last ? c.entries[index].slot : kNone;
}

}  // namespace GAME
