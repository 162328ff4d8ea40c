#pragma once
// Navigation meshes: one Detour mesh per region and pathing size, built with Recast from the
// region's ground, and the cache file that keeps them between runs.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"

class dtNavMesh;
class dtNavMeshQuery;

namespace GAME {

namespace navtiles {
class TileLayout;
}

class GroundMesh;

// The agents paths are made for, by pathing size (records: "Small", "Medium", "Large").
// X(size, name, radius, height)
#define GAME_PATHING_SIZES(X) \
    X(0, Small, 0.4f, 2.0f)   \
    X(1, Medium, 0.8f, 2.5f)  \
    X(2, Large, 1.4f, 4.0f)

inline constexpr int kPathingSizeCount = 3;

struct PathingAgent {
    const char* name;
    float radius;
    float height;
};
const PathingAgent& GetPathingAgent(int pathingSize);

// Cell sizes and limits shared by every build.
struct NavBuildSettings {
    static constexpr float kCellSize = 0.2f;
    static constexpr float kCellHeight = 0.1f;
    static constexpr float kMaxSlopeDegrees = 45.0f;
    static constexpr float kMaxClimb = 0.5f;
    static constexpr int kTileCells = 48;
    static constexpr int kFormatVersion = 2;
    // Tiles of one region and agent (Detour's tile bits); a larger ground gets no mesh.
    static constexpr int kMaxTiles = 1 << 14;
};

// The tiles Recast made for one ground and one agent, as Detour tile data.
struct NavTileData {
    int x = 0, z = 0;
    std::vector<std::uint8_t> bytes;
};
struct NavMeshData {
    Vec3 origin;
    int tilesX = 0, tilesZ = 0;
    std::vector<NavTileData> tiles;
};

// Builds the tiles of a ground for an agent; false (with nothing built) when Recast fails.
bool BuildNavMeshData(const GroundMesh& ground, const PathingAgent& agent, NavMeshData& out,
                      std::string& error);

// A Detour mesh made from tile data, with its query object.
class NavMesh {
public:
    NavMesh();
    ~NavMesh();
    NavMesh(const NavMesh&) = delete;
    NavMesh& operator=(const NavMesh&) = delete;

    bool Init(const NavMeshData& data, std::string& error);
    dtNavMesh* GetMesh() const { return mMesh; }
    dtNavMeshQuery* GetQuery() const { return mQuery; }
    int GetPolygonCount() const { return mPolygons; }
    int GetTileCount() const { return mTiles; }
    // By tile index: per link, the middle of the portal it crosses (x, y, z) and 1, or 0 where
    // the corridor search must ask Detour. The tiles never change once the mesh is made.
    const float* const* GetPortalMidpoints() const { return mMidpointsByTile.data(); }
    // The mesh's tiles as the queries read them, or null (they then ask Detour).
    const navtiles::TileLayout* GetTileLayout() const { return mLayout.get(); }
    // The part of the mesh the polygon's links join it to, whatever the polygons' flags: no
    // search leaves it. -1 for a ref of no polygon of this mesh.
    int GetIsland(std::uint32_t ref) const {
        const std::uint32_t tile = (ref >> mPolyBits) & mTileMask, poly = ref & mPolyMask;
        if (ref == 0 || tile >= mIslandTiles.size() || poly >= mIslandTiles[tile].count)
            return -1;
        return static_cast<int>(mIslands[mIslandTiles[tile].base + poly]);
    }
    // The highest point (detail heights included) of the part's polygons that come within
    // `radius` of `p` over x and z, or below every height when none does; false when it cannot
    // tell (the part has links off the mesh, or too many polygons lie there).
    bool GetIslandTopNear(int island, const Vec3& p, float radius, float& top) const;
    // The highest point of the polygon, detail heights included; false for a ref of none.
    bool GetPolygonTop(std::uint32_t ref, float& top) const;

private:
    void KeepPortalMidpoints();
    void KeepIslands();

    dtNavMesh* mMesh = nullptr;
    dtNavMeshQuery* mQuery = nullptr;
    int mPolygons = 0;
    int mTiles = 0;
    std::vector<float> mMidpoints;
    std::vector<const float*> mMidpointsByTile;
    std::unique_ptr<navtiles::TileLayout> mLayout;
    struct IslandTile {
        std::uint32_t base = 0;  // its first polygon's place in mIslands
        std::uint32_t count = 0;
    };
    std::vector<IslandTile> mIslandTiles;      // by tile index
    std::vector<std::uint32_t> mIslands;       // by polygon
    std::vector<std::uint8_t> mIslandOffMesh;  // by part: whether it holds a link off the mesh
    std::uint32_t mPolyBits = 0, mTileMask = 0, mPolyMask = 0;
};

// The key of the cache: a 64-bit FNV-1a hash over the format, the settings, the agents and each
// region's name, offset and ground triangles.
class NavInputHash {
public:
    void Add(const void* data, std::size_t size);
    void AddGround(const GroundMesh& ground);
    void AddFloat(float value) { Add(&value, sizeof value); }
    void AddString(const std::string& text) { Add(text.data(), text.size() + 1); }
    std::uint64_t Get() const { return mHash; }

private:
    std::uint64_t mHash = 0xcbf29ce484222325ull;
};

// The cache file: "GNAV", version, the key, a checksum of the rest, then per entry its origin,
// tile counts and tiles. Reading checks the key, the checksum, every count against the bytes
// left and every tile's place; a file that is not a regular file is no cache.
bool ReadNavCache(const std::filesystem::path& path, std::uint64_t key,
                  std::vector<NavMeshData>& entries, std::string& error);
// Written under a temporary name and renamed, so a crash never leaves half a cache.
bool WriteNavCache(const std::filesystem::path& path, std::uint64_t key,
                   const std::vector<NavMeshData>& entries);

}  // namespace GAME
