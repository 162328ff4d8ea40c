// Received positions find their region by name on the receiving machine, which remembers the
// last region it found: that memory must never outlive the region, nor confuse two names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/world/Region.h"
#include "Engine/world/World.h"
#include "ProbePacket.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// A private copy of the sample level, so loading it may write its navigation cache.
class LookupLevelCopy {
public:
    LookupLevelCopy() {
        namespace fs = std::filesystem;
        mRoot = fs::temp_directory_path() / ("net_region_test_" + std::to_string(::getpid()));
        fs::remove_all(mRoot);
        fs::create_directories(mRoot / "Levels");
        fs::copy(fs::path(TestMachine::SampleDataDir()) / "Levels/Sample", mRoot / "Levels/Sample",
                 fs::copy_options::recursive);
        fs::remove(mRoot / "Levels/Sample/Sample.navcache");
    }
    ~LookupLevelCopy() {
        std::error_code ec;
        std::filesystem::remove_all(mRoot, ec);
    }
    std::string Root() const { return mRoot.string(); }

private:
    std::filesystem::path mRoot;
};

struct ReadPlaces {
    WorldCoords placement;
    WorldVec3 point;
    bool valid = false;
};

ReadPlaces ReadBoth(const std::vector<std::uint8_t>& body) {
    ReadPlaces read;
    read.valid = Decode(body, [&](NetPacketInBuffer& in) {
        in.Remove(&read.placement);
        in.Remove(&read.point);
    });
    return read;
}

TEST(NetRegionLookup, FollowsTheLevelThroughAnUnloadAndAReload) {
    LookupLevelCopy copy;
    TestMachine tm{copy.Root()};
    World& world = World::Get();
    ASSERT_TRUE(world.LoadLevel("Levels/Sample/Sample.level"));
    Region* meadow = world.GetRegion("Meadow");
    Region* cave = world.GetRegion("Cave");
    ASSERT_TRUE(meadow && cave);
    Coords coords;
    coords.origin = {3, 4, 5};
    const std::vector<std::uint8_t> body = Encode([&](NetPacketOutBuffer& out) {
        const WorldCoords placement(meadow, coords);
        const WorldVec3 point(cave, {1, 2, 3});
        out.Add(&placement);
        out.Add(&point);
    });

    // Twice, so that the second read goes through the remembered region.
    for (int pass = 0; pass < 2; ++pass) {
        const ReadPlaces read = ReadBoth(body);
        ASSERT_TRUE(read.valid);
        EXPECT_EQ(read.placement.region, meadow);
        EXPECT_EQ(read.point.region, cave);
    }

    world.UnloadLevel();
    ReadPlaces read = ReadBoth(body);
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.placement.region, nullptr);
    EXPECT_EQ(read.point.region, nullptr);
    EXPECT_EQ(read.placement.coords, coords);

    ASSERT_TRUE(world.LoadLevel("Levels/Sample/Sample.level"));
    read = ReadBoth(body);
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.placement.region, world.GetRegion("Meadow"));
    EXPECT_EQ(read.point.region, world.GetRegion("Cave"));
    EXPECT_NE(read.point.region, nullptr);
}

// Names of the lengths the comparison treats apart (short, 8 to 16 bytes, longer) that differ
// only in their first or last byte each find their own region.
TEST(NetRegionLookup, NamesThatDifferInOneByteFindTheirOwnRegion) {
    TestMachine tm;
    const std::vector<std::string> names = {
        "Cave",           "CavE",           "Region01",          "Region02",         "xegion01",
        "NorthernMeadow", "NorthernMeadoW", "SouthernSwampland", "SouthernSwamplanD"};
    std::vector<std::unique_ptr<Region>> regions;
    for (const std::string& name : names) {
        regions.push_back(std::make_unique<Region>(name));
        Singleton<NetRegionTable>::Get().Add(regions.back().get());
    }
    std::vector<WorldVec3> sent;
    for (const auto& region : regions)
        sent.emplace_back(region.get(), Vec3(1, 2, 3));
    const std::vector<std::uint8_t> body = Encode([&](NetPacketOutBuffer& out) {
        for (const WorldVec3& point : sent) {
            out.Add(&point);
            out.Add(&point);  // the same name again reads through the remembered region
        }
    });
    std::vector<WorldVec3> read(2 * sent.size());
    ASSERT_TRUE(Decode(body, [&](NetPacketInBuffer& in) {
        for (WorldVec3& point : read)
            in.Remove(&point);
    }));
    for (std::size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i].region, regions[i / 2].get()) << names[i / 2];

    // A region that goes is not found again, even right after it was the one remembered.
    Singleton<NetRegionTable>::Get().Remove(regions.back().get());
    std::vector<WorldVec3> again(2 * sent.size());
    ASSERT_TRUE(Decode(body, [&](NetPacketInBuffer& in) {
        for (WorldVec3& point : again)
            in.Remove(&point);
    }));
    EXPECT_EQ(again.back().region, nullptr);
    EXPECT_EQ(again.front().region, regions.front().get());
    for (const auto& region : regions)
        Singleton<NetRegionTable>::Get().Remove(region.get());
}

}  // namespace
}  // namespace GAME::test
