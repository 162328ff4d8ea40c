// A screen of a grid's box of cells may stop anywhere and go on from its walk: every block of
// the box must be screened once, in cell order, whatever the box and however many calls the
// room for leftovers takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

#include "Engine/world/WorldSweep.h"

namespace GAME::test {
namespace {

#if defined(__x86_64__)
// Eight lanes at a time meet a sphere as four at a time do: at its very edge, and where no
// compare orders the floats (met: the filter gets to judge those), but never past the count.
TEST(SweepScreens, EightLanesMeetTheSphereAsFour) {
    if (!WorldCells::HasEightLanes())
        GTEST_SKIP() << "no eight lanes";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        const char* name;
        float x, radius;
        bool meets;
    };
    const Row rows[] = {{"inside", 3, 0, true},
                        {"on the edge", 5, 0, true},
                        {"just past it", std::nextafter(5.0f, 6.0f), 0, false},
                        {"reached by its radius", 7, 2, true},
                        {"far", 100, 0, false},
                        {"at no number", nan, 0, true},
                        {"of no radius", 100, nan, true},
                        {"infinitely far", inf, 0, false},
                        {"infinitely far behind", -inf, 0, false},
                        {"behind, inside", -4, 0, true}};
    constexpr std::size_t kRows = sizeof rows / sizeof rows[0];
    EntityGrid::Pack packs[2] = {};
    // Past the count, lanes inside the sphere.
    for (std::size_t i = 0; i < 16; ++i) {
        const Row& row = rows[i % kRows];
        packs[i / 8].x[i % 8] = i < kRows ? row.x : 0.0f;
        packs[i / 8].radius[i % 8] = i < kRows ? row.radius : 0.0f;
    }
    const Sphere sphere{Vec3(), 5.0f};
    std::uint64_t want = 0;
    for (std::size_t i = 0; i < kRows; ++i)
        want |= std::uint64_t{rows[i].meets} << i;
    const std::uint64_t eight = WorldCells::SphereMaskOct(packs, kRows, Vec3(), sphere);
    const std::uint64_t four = WorldCells::SphereMask(packs, kRows, Vec3(), sphere);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(eight >> i & 1, i < kRows ? want >> i & 1 : 0)
            << (i < kRows ? rows[i].name : "past");
    EXPECT_EQ(eight, four);
}
#endif

TEST(SweepScreens, WalksABoxOnceAcrossCalls) {
    struct Case {
        const char* name;
        std::size_t counts[4];  // cell (x, z) holds counts[(x + 2 * z) % 4]
        int x0, x1, z0, z1;
    };
    const Case cases[] = {{"one cell", {70, 0, 0, 0}, 0, 0, 0, 0},
                          {"empty cells", {0, 0, 0, 0}, 0, 4, 0, 3},
                          {"a row", {3, 0, 129, 64}, 0, 4, 1, 1},
                          {"inside the grid", {9, 65, 0, 1}, 1, 3, 1, 2},
                          // More blocks than a call has room for, within one cell.
                          {"a crowded cell", {2200, 1, 0, 0}, 0, 1, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Cells of 8 m, five columns and four rows.
        EntityGrid grid(Vec3(), Vec3(32, 8, 24));
        std::uint32_t slot = 0;
        for (int z = 0; z < 4; ++z)
            for (int x = 0; x < 5; ++x)
                for (std::size_t i = 0; i < c.counts[(x + 2 * z) % 4]; ++i, ++slot) {
                    EntityGrid::Entry e;
                    e.position = Vec3(static_cast<float>(8 * x + 1), 0, static_cast<float>(8 * z));
                    e.slot = slot;
                    grid.Insert(grid.CellIndexOf(e.position), e);
                }
        // Odd slots passed, those of them a multiple of three sure.
        const auto screen = [](const EntityGrid::Pack* packs, const EntityGrid::Entry* entries,
                               std::size_t count, WorldCells::Leftover& leftover) {
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_EQ(packs[i / 8].slot[i % 8], entries[i].slot);
                leftover.passes |= std::uint64_t{entries[i].slot % 2 == 1} << i;
                leftover.sure |= std::uint64_t{entries[i].slot % 6 == 3} << i;
            }
        };
        using Blocks = std::vector<std::tuple<const EntityGrid::Entry*, std::size_t>>;
        using Left =
            std::vector<std::tuple<const EntityGrid::Entry*, std::uint64_t, std::uint64_t>>;
        Blocks blocks, walked;
        Left wanted, left;
        for (int z = c.z0; z <= c.z1; ++z)
            for (int x = c.x0; x <= c.x1; ++x) {
                const EntityGrid::EntryList& entries = grid.Entries(x, z);
                for (std::size_t first = 0; first < entries.size(); first += WorldCells::kBlock) {
                    const std::size_t count = std::min(WorldCells::kBlock, entries.size() - first);
                    blocks.emplace_back(entries.data() + first, count);
                    WorldCells::Leftover leftover{};
                    screen(grid.Packs(x, z).data() + first / 8, entries.data() + first, count,
                           leftover);
                    if (leftover.passes != 0)
                        wanted.emplace_back(entries.data() + first, leftover.passes, leftover.sure);
                }
            }
        WorldCells::Leftover leftovers[WorldCells::kLeftovers];
        WorldCells::SweepMarker marker{nullptr, nullptr, nullptr, 0, nullptr, leftovers};
        std::size_t calls = 0;
        for (WorldCells::CellWalk walk{c.x0, c.z0, c.x0, c.x1, c.z1, 0};
             walk.z <= c.z1 && calls < 100; ++calls) {
            const WorldCells::CellWalk from = walk;
            const std::size_t n = WorldCells::ScreenBoxByBlocks(grid, walk, marker, screen);
            // Only a full list of leftovers ends a call early.
            EXPECT_TRUE(n == WorldCells::kLeftovers || walk.z > c.z1) << calls;
            for (std::size_t l = 0; l < n; ++l)
                left.emplace_back(leftovers[l].entries, leftovers[l].passes, leftovers[l].sure);
            WorldCells::ForEachWalkBlock(
                grid, from, walk,
                [&](const EntityGrid::Pack*, const EntityGrid::Entry* entries, std::size_t count) {
                    walked.emplace_back(entries, count);
                });
        }
        EXPECT_EQ(left, wanted);
        EXPECT_EQ(walked, blocks);
        EXPECT_LT(calls, 100u);
    }
}

}  // namespace
}  // namespace GAME::test
