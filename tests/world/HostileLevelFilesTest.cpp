// Damaged and hostile level, ground and cache files: each is refused by name (and line) or
// rebuilt; none crashes the host, blocks it or makes it take gigabytes.
#include <gtest/gtest.h>

#include <recastnavigation/DetourNavMesh.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/NavMesh.h"
#include "Engine/world/nav/PathFinder.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class HostileLevelFiles : public ::testing::Test {
protected:
    std::filesystem::path Dir() const { return copy.Root() / "Levels/Sample"; }
    std::filesystem::path Cache() const { return Dir() / "Sample.navcache"; }
    std::string Write(const char* name, const std::string& text) {
        std::ofstream(Dir() / name) << text;
        return (std::filesystem::path("Levels/Sample") / name).string();
    }
    // A level of one region with the ground file, 200 m a side unless told otherwise.
    std::string OneRegion(const char* ground, const char* bounds =
                                                  "[-100, -100, -100], "
                                                  "\"boundsMax\": [100, 100, 100]") {
        return Write("One.level", std::string(R"({"pathingSizes": ["Small"], "regions": [
            {"name": "Field", "boundsMin": )") +
                                      bounds + R"(, "ground": ")" + ground + R"("}]})");
    }

    SampleLevelCopy copy;
    TestMachine tm{copy.Root().string()};
};

TEST_F(HostileLevelFiles, ACacheWhoseBytesDoNotCheckOutIsRebuilt) {
    World& world = World::Get();
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    std::vector<char> good(std::filesystem::file_size(Cache()));
    std::ifstream(Cache(), std::ios::binary)
        .read(good.data(), static_cast<std::streamsize>(good.size()));
    // One byte changed anywhere past the header: never taken, always rebuilt.
    for (std::size_t at = 24; at < good.size(); at += good.size() / 7) {
        std::vector<char> bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        std::ofstream(Cache(), std::ios::binary | std::ios::trunc)
            .write(bad.data(), static_cast<std::streamsize>(bad.size()));
        tm.ClearLog();
        ASSERT_TRUE(world.LoadLevel(kSampleLevel));
        EXPECT_FALSE(world.WereNavMeshesCached()) << "byte " << at;
        EXPECT_EQ(tm.CountLog("checksum does not match"), 1) << "byte " << at;
    }
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_TRUE(world.WereNavMeshesCached());

    // A folder or a pipe in the cache's place: rebuilt without reading it.
    for (const bool pipe : {false, true}) {
        std::filesystem::remove_all(Cache());
        if (pipe)
            ASSERT_EQ(::mkfifo(Cache().c_str(), 0600), 0);
        else
            std::filesystem::create_directory(Cache());
        tm.ClearLog();
        ASSERT_TRUE(world.LoadLevel(kSampleLevel));
        EXPECT_FALSE(world.WereNavMeshesCached());
        EXPECT_EQ(tm.CountLog("not a regular file"), 1);
        EXPECT_NE(world.GetPathFinder().GetNavMesh(world.GetRegion("Meadow"), 1), nullptr);
    }
}

// Whoever writes the cache folder can forge its checksum too: the tiles are still checked
// before Detour takes them, and the cache is rebuilt.
TEST_F(HostileLevelFiles, AForgedCacheWithAFittingChecksumIsStillRebuilt) {
    World& world = World::Get();
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    std::vector<std::uint8_t> forged(std::filesystem::file_size(Cache()));
    std::ifstream(Cache(), std::ios::binary)
        .read(reinterpret_cast<char*>(forged.data()), static_cast<std::streamsize>(forged.size()));
    // The first tile's bytes follow the file header (24), the entry count (4), the entry (24)
    // and the tile's place and size (12): its link count becomes far more than its bytes hold.
    constexpr std::size_t kFirstTile = 64;
    ASSERT_GT(forged.size(), kFirstTile + sizeof(dtMeshHeader));
    dtMeshHeader header;
    std::memcpy(&header, forged.data() + kFirstTile, sizeof header);
    ASSERT_EQ(header.magic, DT_NAVMESH_MAGIC);
    header.maxLinkCount = 100000;
    std::memcpy(forged.data() + kFirstTile, &header, sizeof header);
    NavInputHash sum;
    sum.Add(forged.data() + 24, forged.size() - 24);
    for (std::size_t i = 0; i < 8; ++i)
        forged[16 + i] = static_cast<std::uint8_t>(sum.Get() >> (8 * i));
    std::ofstream(Cache(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(forged.data()),
               static_cast<std::streamsize>(forged.size()));
    tm.ClearLog();
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_FALSE(world.WereNavMeshesCached());
    EXPECT_EQ(tm.CountLog("checksum does not match"), 0);
    EXPECT_EQ(tm.CountLog("its counts need more bytes than it has"), 1);
    EXPECT_NE(world.GetPathFinder().GetNavMesh(world.GetRegion("Meadow"), 1), nullptr);
    ASSERT_TRUE(world.LoadLevel(kSampleLevel));
    EXPECT_TRUE(world.WereNavMeshesCached());
}

TEST_F(HostileLevelFiles, PathsThatAreNotFilesAreNamed) {
    World& world = World::Get();
    std::filesystem::create_directory(Dir() / "Folder.level");
    EXPECT_FALSE(world.LoadLevel("Levels/Sample/Folder.level"));
    EXPECT_EQ(tm.CountLog("Folder.level cannot be opened as a file"), 1);

    std::filesystem::create_directory(Dir() / "Folder.obj");
    ASSERT_TRUE(world.LoadLevel(OneRegion("Folder.obj")));
    EXPECT_EQ(world.GetRegion("Field")->GetGround(), nullptr);
    EXPECT_EQ(tm.CountLog("Folder.obj as a file"), 1);

    // An unknown pathing size nested deeper than any stack is named by its kind.
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    tm.ClearLog();
    ASSERT_TRUE(world.LoadLevel(Write("Deep.level", R"({"pathingSizes": ["Small", )" + deep +
                                                        R"(], "regions": [{"name": "Field",
        "boundsMin": [0, 0, 0], "boundsMax": [1, 1, 1]}]})")));
    EXPECT_EQ(tm.CountLog("holds an unknown size array"), 1);
}

// A cache's checksum can be forged: each tile is checked before Detour trusts its counts.
TEST_F(HostileLevelFiles, ATileWhoseCountsOrIndicesLieIsRefusedBeforeDetour) {
    std::ofstream(Dir() / "Flat.obj") << "v -8 0 -8\nv -8 0 8\nv 8 0 8\nv 8 0 -8\nf 1 2 3 4\n";
    GroundMesh ground;
    std::string error;
    ASSERT_TRUE(ground.LoadObj(Dir() / "Flat.obj", error)) << error;
    NavMeshData built;
    ASSERT_TRUE(BuildNavMeshData(ground, GetPathingAgent(0), built, error)) << error;
    ASSERT_FALSE(built.tiles.empty());
    {
        NavMesh mesh;
        EXPECT_TRUE(mesh.Init(built, error)) << error;
    }
    const auto header = [](NavMeshData& data) {
        return reinterpret_cast<dtMeshHeader*>(data.tiles[0].bytes.data());
    };
    const auto firstPoly = [&](NavMeshData& data) {
        const std::size_t polys =
            sizeof(dtMeshHeader) + sizeof(float) * 3 * std::size_t(header(data)->vertCount);
        return reinterpret_cast<dtPoly*>(data.tiles[0].bytes.data() + ((polys + 3) & ~3u));
    };
    const struct {
        const char* damage;
        std::function<void(NavMeshData&)> apply;
    } cases[] = {
        {"more links than bytes", [&](NavMeshData& d) { header(d)->maxLinkCount = 100000; }},
        {"no room for links", [&](NavMeshData& d) { header(d)->maxLinkCount = 0; }},
        {"negative polygons", [&](NavMeshData& d) { header(d)->polyCount = -1; }},
        {"another format", [&](NavMeshData& d) { header(d)->version = 99; }},
        {"elsewhere", [&](NavMeshData& d) { header(d)->x += 1; }},
        {"cut short", [](NavMeshData& d) { d.tiles[0].bytes.resize(d.tiles[0].bytes.size() / 2); }},
        {"corner past the vertices", [&](NavMeshData& d) { firstPoly(d)->verts[0] = 60000; }},
        {"seven corners", [&](NavMeshData& d) { firstPoly(d)->vertCount = 7; }},
    };
    for (const auto& c : cases) {
        NavMeshData damaged = built;
        c.apply(damaged);
        NavMesh mesh;
        error.clear();
        EXPECT_FALSE(mesh.Init(damaged, error)) << c.damage;
        EXPECT_NE(error.find("bad tile"), std::string::npos) << c.damage << ": " << error;
    }
}

TEST_F(HostileLevelFiles, GroundsPastTheLimitsAreRefusedByFileAndLine) {
    World& world = World::Get();
    const struct {
        const char* obj;
        const char* log;
    } refused[] = {
        {"v 0 0 0\nv 1e7 0 0\nv 0 0 1\nf 1 2 3\n", "Huge.obj:2: vertex farther than 100000"},
        {"v -3e38 0 0\nv 3e38 0 0\nv 0 0 3e38\nf 1 2 3\n", "Huge.obj:1: vertex farther"},
        {"v 0 inf 0\n", "Huge.obj:1: bad vertex"},
    };
    for (const auto& c : refused) {
        Write("Huge.obj", c.obj);
        tm.ClearLog();
        ASSERT_TRUE(world.LoadLevel(OneRegion("Huge.obj")));
        EXPECT_EQ(world.GetRegion("Field")->GetGround(), nullptr) << c.log;
        EXPECT_EQ(tm.CountLog(c.log), 1) << c.log;
    }

    // Many triangles over the whole region: the grid they would take is refused at the face
    // that goes past it.
    std::string crowd = "v -99000 0 -99000\nv 99000 0 -99000\nv 0 0 99000\n";
    for (int i = 0; i < 2000; ++i)
        crowd += "f 1 2 3\n";
    Write("Huge.obj", crowd);
    tm.ClearLog();
    ASSERT_TRUE(world.LoadLevel(OneRegion("Huge.obj",
                                          "[-99000, -10, -99000], \"boundsMax\": "
                                          "[99000, 10, 99000]")));
    EXPECT_EQ(world.GetRegion("Field")->GetGround(), nullptr);
    EXPECT_EQ(tm.CountLog("Huge.obj:35: the faces cover more than"), 1);

    // One such triangle is kept, but a region that wide gets no navigation mesh; faces wholly
    // outside the region's bounds are left out.
    Write("Huge.obj",
          "v -99000 0 -99000\nv 99000 0 -99000\nv 0 0 99000\nf 1 2 3\n"
          "v 0 50 0\nv 1 50 0\nv 0 50 1\nf 4 5 6\n");
    tm.ClearLog();
    ASSERT_TRUE(world.LoadLevel(OneRegion("Huge.obj",
                                          "[-99000, -10, -99000], \"boundsMax\": "
                                          "[99000, 10, 99000]")));
    ASSERT_NE(world.GetRegion("Field")->GetGround(), nullptr);
    EXPECT_EQ(world.GetRegion("Field")->GetGround()->GetTriangleCount(), 1u);
    EXPECT_EQ(tm.CountLog("needs more than 16384 tiles"), 1);
}

}  // namespace
}  // namespace GAME::test
