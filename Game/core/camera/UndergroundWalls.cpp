#include "Game/core/camera/UndergroundWalls.h"

#include <cmath>
#include <limits>

#include "Game/core/camera/TransparencyGrid.h"

namespace GAME {

namespace {
constexpr float kWallHalfThickness = 1.5f;
constexpr float kWallHeadroom = 5.0f;

// a / b, or not-a-number (a start that walks nothing) for a line of sight parallel to the run.
float Ratio(float a, float b) {
    return b != 0.0f ? a / b : std::numeric_limits<float>::quiet_NaN();
}

// One run of set lattice points: `fixed` is the lattice index across the run, `row` the y index,
// `start` where the line of sight meets the run (lattice units).
struct Run {
    bool alongZ;
    int fixed;
    int row;
    float start;
};

bool Walk(const TransparencyGrid& grid, const Run& run, int& low, int& high) {
    const IntVec3 cells = grid.GetCellCount();
    const int fixedEnd = 2 * (run.alongZ ? cells.x : cells.z);
    const int runEnd = 2 * (run.alongZ ? cells.z : cells.x);
    if (run.fixed < 0 || run.fixed > fixedEnd || run.row < 0 || run.row > cells.y)
        return false;
    // A line of sight parallel to the run never meets it.
    if (!std::isfinite(run.start) || run.start < 0.0f || run.start > static_cast<float>(runEnd))
        return false;
    const auto isSet = [&](int index) {
        return run.alongZ ? grid.GetLatticeValue(run.fixed, run.row, index)
                          : grid.GetLatticeValue(index, run.row, run.fixed);
    };
    low = static_cast<int>(std::floor(run.start));
    high = static_cast<int>(std::ceil(run.start));
    while (isSet(low) && low > 0)
        --low;
    while (isSet(high) && high < runEnd)
        ++high;
    return true;
}

std::array<Plane, 6> Box(const Vec3& low, const Vec3& high) {
    return {Plane::Through(Vec3(1, 0, 0), low), Plane::Through(Vec3(-1, 0, 0), high),
            Plane::Through(Vec3(0, 1, 0), low), Plane::Through(Vec3(0, -1, 0), high),
            Plane::Through(Vec3(0, 0, 1), low), Plane::Through(Vec3(0, 0, -1), high)};
}
}  // namespace

void MakeWallsTransparent(TransparencyGrid& grid, const Vec3& position, const Vec3& view,
                          const Vec3& direction) {
    const Vec3 spacing = grid.GetCellSpacing();
    const IntVec3 cells = grid.GetCellCount();
    if (!(spacing.x > 0.0f && spacing.y > 0.0f && spacing.z > 0.0f))
        return;
    const Vec3 c(position.x / spacing.x, position.y / spacing.y, position.z / spacing.z);
    // A target outside the grid has no cell to look from.
    if (!(c.x >= 0.0f && c.x <= static_cast<float>(cells.x) && c.y >= 0.0f &&
          c.y <= static_cast<float>(cells.y) && c.z >= 0.0f && c.z <= static_cast<float>(cells.z)))
        return;
    const float cellX = std::floor(c.x);
    const float cellZ = std::floor(c.z);
    const int lx = 2 * static_cast<int>(cellX) + 1;
    const int ly = static_cast<int>(std::floor(c.y));
    const int lz = 2 * static_cast<int>(cellZ) + 1;
    const float y = static_cast<float>(ly) * spacing.y;

    // The run along z, in the column beside the target on the side the camera looks from.
    Run alongZ{true, 0, ly, 0.0f};
    if (view.x >= 0.0f) {
        alongZ.fixed = lx - 1;
        alongZ.start = 2.0f * (c.z + Ratio((c.x - cellX) * direction.z, direction.x));
    } else {
        alongZ.fixed = lx + 1;
        alongZ.start = 2.0f * (c.z + Ratio((std::ceil(c.x) - c.x) * direction.z, direction.x));
    }
    int low = 0;
    int high = 0;
    if (Walk(grid, alongZ, low, high)) {
        const float x = static_cast<float>(alongZ.fixed) * 0.5f * spacing.x;
        grid.UpdateTransparency(
            Box(Vec3(x - kWallHalfThickness, y, static_cast<float>(low) * 0.5f * spacing.z),
                Vec3(x + kWallHalfThickness, y + kWallHeadroom,
                     static_cast<float>(high) * 0.5f * spacing.z)));
    }

    // The run along x mirrors it with the axes exchanged: the row beside the target on the side
    // the camera looks from, started where the line of sight meets that row's cell boundary.
    Run alongX{false, 0, ly, 0.0f};
    if (view.z < 0.0f) {
        alongX.fixed = lz + 1;
        alongX.start = 2.0f * (c.x + Ratio((std::ceil(c.z) - c.z) * direction.x, direction.z));
    } else {
        alongX.fixed = lz - 1;
        alongX.start = 2.0f * (c.x + Ratio((c.z - cellZ) * direction.x, direction.z));
    }
    if (Walk(grid, alongX, low, high)) {
        const float z = static_cast<float>(alongX.fixed) * 0.5f * spacing.z;
        grid.UpdateTransparency(
            Box(Vec3(static_cast<float>(low) * 0.5f * spacing.x, y, z - kWallHalfThickness),
                Vec3(static_cast<float>(high) * 0.5f * spacing.x, y + kWallHeadroom,
                     z + kWallHalfThickness)));
    }
}

}  // namespace GAME
