#include "Engine/world/nav/NavMesh.h"

#include <DetourAlloc.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshBuilder.h>
#include <DetourNavMeshQuery.h>
#include <Recast.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "Engine/streams/BinaryStream.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/nav/NavTileCheck.h"
#include "Engine/world/nav/TileAccess.h"

namespace GAME {

namespace {

constexpr PathingAgent kAgents[] = {
#define GAME_PATHING_AGENT(size, name, radius, height) {#name, radius, height},
    GAME_PATHING_SIZES(GAME_PATHING_AGENT)
#undef GAME_PATHING_AGENT
};

constexpr std::uint32_t kMagic = 0x56414E47;  // "GNAV"
constexpr int kMaxQueryNodes = 4096;

// Recast's allocations for one tile, freed however the build ends.
struct TileWork {
    rcHeightfield* solid = nullptr;
    rcCompactHeightfield* compact = nullptr;
    rcContourSet* contours = nullptr;
    rcPolyMesh* polys = nullptr;
    rcPolyMeshDetail* detail = nullptr;
    ~TileWork() {
        rcFreeHeightField(solid);
        rcFreeCompactHeightfield(compact);
        rcFreeContourSet(contours);
        rcFreePolyMesh(polys);
        rcFreePolyMeshDetail(detail);
    }
};

bool BuildTile(rcContext& ctx, const GroundMesh& ground, const std::vector<unsigned char>& areas,
               rcConfig cfg, const PathingAgent& agent, int tx, int tz, NavTileData& out) {
    using S = NavBuildSettings;
    const float tileWidth = S::kTileCells * S::kCellSize;
    cfg.bmin[0] = ground.GetBoundsMin().x + tx * tileWidth - cfg.borderSize * cfg.cs;
    cfg.bmin[2] = ground.GetBoundsMin().z + tz * tileWidth - cfg.borderSize * cfg.cs;
    cfg.bmax[0] = ground.GetBoundsMin().x + (tx + 1) * tileWidth + cfg.borderSize * cfg.cs;
    cfg.bmax[2] = ground.GetBoundsMin().z + (tz + 1) * tileWidth + cfg.borderSize * cfg.cs;

    TileWork w;
    const float* verts = &ground.GetVertices()[0].x;
    const int nverts = static_cast<int>(ground.GetVertices().size());
    const int* tris = ground.GetIndices().data();
    const int ntris = static_cast<int>(ground.GetTriangleCount());
    w.solid = rcAllocHeightfield();
    if (!w.solid || !rcCreateHeightfield(&ctx, *w.solid, cfg.width, cfg.height, cfg.bmin, cfg.bmax,
                                         cfg.cs, cfg.ch))
        return false;
    if (!rcRasterizeTriangles(&ctx, verts, nverts, tris, areas.data(), ntris, *w.solid,
                              cfg.walkableClimb))
        return false;
    rcFilterLowHangingWalkableObstacles(&ctx, cfg.walkableClimb, *w.solid);
    rcFilterLedgeSpans(&ctx, cfg.walkableHeight, cfg.walkableClimb, *w.solid);
    rcFilterWalkableLowHeightSpans(&ctx, cfg.walkableHeight, *w.solid);
    w.compact = rcAllocCompactHeightfield();
    if (!w.compact || !rcBuildCompactHeightfield(&ctx, cfg.walkableHeight, cfg.walkableClimb,
                                                 *w.solid, *w.compact))
        return false;
    if (!rcErodeWalkableArea(&ctx, cfg.walkableRadius, *w.compact) ||
        !rcBuildDistanceField(&ctx, *w.compact) ||
        !rcBuildRegions(&ctx, *w.compact, cfg.borderSize, cfg.minRegionArea, cfg.mergeRegionArea))
        return false;
    w.contours = rcAllocContourSet();
    if (!w.contours ||
        !rcBuildContours(&ctx, *w.compact, cfg.maxSimplificationError, cfg.maxEdgeLen, *w.contours))
        return false;
    if (w.contours->nconts == 0)
        return true;  // nothing walkable in this tile
    w.polys = rcAllocPolyMesh();
    w.detail = rcAllocPolyMeshDetail();
    if (!w.polys || !w.detail ||
        !rcBuildPolyMesh(&ctx, *w.contours, cfg.maxVertsPerPoly, *w.polys) ||
        !rcBuildPolyMeshDetail(&ctx, *w.polys, *w.compact, cfg.detailSampleDist,
                               cfg.detailSampleMaxError, *w.detail))
        return false;
    if (w.polys->npolys == 0)
        return true;
    for (int i = 0; i < w.polys->npolys; ++i) {
        w.polys->areas[i] = 0;
        w.polys->flags[i] = 1;
    }
    dtNavMeshCreateParams params{};
    params.verts = w.polys->verts;
    params.vertCount = w.polys->nverts;
    params.polys = w.polys->polys;
    params.polyAreas = w.polys->areas;
    params.polyFlags = w.polys->flags;
    params.polyCount = w.polys->npolys;
    params.nvp = w.polys->nvp;
    params.detailMeshes = w.detail->meshes;
    params.detailVerts = w.detail->verts;
    params.detailVertsCount = w.detail->nverts;
    params.detailTris = w.detail->tris;
    params.detailTriCount = w.detail->ntris;
    params.walkableHeight = agent.height;
    params.walkableRadius = agent.radius;
    params.walkableClimb = S::kMaxClimb;
    params.tileX = tx;
    params.tileY = tz;
    rcVcopy(params.bmin, w.polys->bmin);
    rcVcopy(params.bmax, w.polys->bmax);
    params.cs = cfg.cs;
    params.ch = cfg.ch;
    params.buildBvTree = true;
    unsigned char* data = nullptr;
    int size = 0;
    if (!dtCreateNavMeshData(&params, &data, &size))
        return false;
    out.x = tx;
    out.z = tz;
    out.bytes.assign(data, data + size);
    dtFree(data);
    return true;
}

std::uint64_t ChecksumOf(const std::uint8_t* bytes, std::size_t size) {
    NavInputHash hash;
    hash.Add(bytes, size);
    return hash.Get();
}

int BitsFor(int count) {
    int bits = 0;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

}  // namespace

const PathingAgent& GetPathingAgent(int pathingSize) {
    return kAgents[pathingSize >= 0 && pathingSize < kPathingSizeCount ? pathingSize : 0];
}

bool BuildNavMeshData(const GroundMesh& ground, const PathingAgent& agent, NavMeshData& out,
                      std::string& error) {
    using S = NavBuildSettings;
    out = NavMeshData();
    if (ground.GetTriangleCount() == 0) {
        error = "no ground triangles";
        return false;
    }
    rcConfig cfg{};
    cfg.cs = S::kCellSize;
    cfg.ch = S::kCellHeight;
    cfg.walkableSlopeAngle = S::kMaxSlopeDegrees;
    cfg.walkableHeight = static_cast<int>(std::ceil(agent.height / cfg.ch));
    cfg.walkableClimb = static_cast<int>(std::floor(S::kMaxClimb / cfg.ch));
    cfg.walkableRadius = static_cast<int>(std::ceil(agent.radius / cfg.cs));
    cfg.maxEdgeLen = static_cast<int>(12.0f / cfg.cs);
    cfg.maxSimplificationError = 1.3f;
    cfg.minRegionArea = 8 * 8;
    cfg.mergeRegionArea = 20 * 20;
    cfg.maxVertsPerPoly = 6;
    cfg.tileSize = S::kTileCells;
    cfg.borderSize = cfg.walkableRadius + 3;
    cfg.width = cfg.tileSize + cfg.borderSize * 2;
    cfg.height = cfg.tileSize + cfg.borderSize * 2;
    cfg.detailSampleDist = 6.0f * cfg.cs;
    cfg.detailSampleMaxError = cfg.ch;
    cfg.bmin[1] = ground.GetBoundsMin().y - 1.0f;
    cfg.bmax[1] = ground.GetBoundsMax().y + agent.height + 1.0f;

    // Walkable by slope; water is never walked.
    const int ntris = static_cast<int>(ground.GetTriangleCount());
    std::vector<unsigned char> areas(static_cast<std::size_t>(ntris), 0);
    rcContext ctx(false);
    rcMarkWalkableTriangles(&ctx, cfg.walkableSlopeAngle, &ground.GetVertices()[0].x,
                            static_cast<int>(ground.GetVertices().size()),
                            ground.GetIndices().data(), ntris, areas.data());
    for (int t = 0; t < ntris; ++t)
        if (ground.GetSurfaces()[static_cast<std::size_t>(t)] == PhysicsSurface::Water)
            areas[static_cast<std::size_t>(t)] = RC_NULL_AREA;

    const float tileWidth = S::kTileCells * S::kCellSize;
    out.origin = ground.GetBoundsMin();
    // Counted in double before anything is built: a wide ground must not loop for hours.
    const double tilesX = std::floor((ground.GetBoundsMax().x - out.origin.x) / tileWidth) + 1.0;
    const double tilesZ = std::floor((ground.GetBoundsMax().z - out.origin.z) / tileWidth) + 1.0;
    if (!(tilesX * tilesZ <= S::kMaxTiles)) {
        error = "the ground needs more than " + std::to_string(S::kMaxTiles) + " tiles";
        out = NavMeshData();
        return false;
    }
    out.tilesX = static_cast<int>(tilesX);
    out.tilesZ = static_cast<int>(tilesZ);
    for (int tz = 0; tz < out.tilesZ; ++tz)
        for (int tx = 0; tx < out.tilesX; ++tx) {
            NavTileData tile;
            if (!BuildTile(ctx, ground, areas, cfg, agent, tx, tz, tile)) {
                error = "Recast failed on tile " + std::to_string(tx) + "," + std::to_string(tz);
                out = NavMeshData();
                return false;
            }
            if (!tile.bytes.empty())
                out.tiles.push_back(std::move(tile));
        }
    return true;
}

NavMesh::NavMesh() = default;

NavMesh::~NavMesh() {
    dtFreeNavMeshQuery(mQuery);
    dtFreeNavMesh(mMesh);
}

bool NavMesh::Init(const NavMeshData& data, std::string& error) {
    if (data.tilesX < 0 || data.tilesZ < 0 ||
        static_cast<long long>(data.tilesX) * data.tilesZ > NavBuildSettings::kMaxTiles) {
        error = "too many navigation tiles";
        return false;
    }
    const int tileBits = BitsFor(Max(data.tilesX * data.tilesZ, 1));
    if (tileBits > 14) {
        error = "too many navigation tiles";
        return false;
    }
    dtNavMeshParams params{};
    params.orig[0] = data.origin.x;
    params.orig[1] = data.origin.y;
    params.orig[2] = data.origin.z;
    params.tileWidth = NavBuildSettings::kTileCells * NavBuildSettings::kCellSize;
    params.tileHeight = params.tileWidth;
    params.maxTiles = 1 << tileBits;
    params.maxPolys = 1 << (22 - tileBits);
    mMesh = dtAllocNavMesh();
    mQuery = dtAllocNavMeshQuery();
    if (!mMesh || !mQuery || dtStatusFailed(mMesh->init(&params))) {
        error = "Detour could not make the mesh";
        return false;
    }
    for (const NavTileData& tile : data.tiles) {
        std::string why;
        if (tile.bytes.size() > static_cast<std::size_t>(INT32_MAX) ||
            !NavTileChecksOut(tile.bytes.data(), tile.bytes.size(), tile.x, tile.z, why)) {
            error = "bad tile " + std::to_string(tile.x) + "," + std::to_string(tile.z) + ": " +
                    (why.empty() ? "too large" : why);
            return false;
        }
        const int size = static_cast<int>(tile.bytes.size());
        auto* copy = static_cast<unsigned char*>(dtAlloc(tile.bytes.size(), DT_ALLOC_PERM));
        if (!copy) {
            error = "out of memory";
            return false;
        }
        std::memcpy(copy, tile.bytes.data(), tile.bytes.size());
        dtTileRef ref = 0;
        if (dtStatusFailed(mMesh->addTile(copy, size, DT_TILE_FREE_DATA, 0, &ref))) {
            dtFree(copy);
            error = "bad tile " + std::to_string(tile.x) + "," + std::to_string(tile.z);
            return false;
        }
        const dtMeshTile* added = mMesh->getTileByRef(ref);
        mPolygons += added && added->header ? added->header->polyCount : 0;
        ++mTiles;
    }
    if (dtStatusFailed(mQuery->init(mMesh, kMaxQueryNodes))) {
        error = "Detour could not make the query";
        return false;
    }
    KeepPortalMidpoints();
    KeepIslands();
    mLayout = navtiles::TileLayout::Make(*mMesh);
    return true;
}

void NavMesh::KeepPortalMidpoints() {
    const dtNavMesh& nav = *mMesh;
    const navtiles::LinkRefs refs(nav);
    std::vector<std::size_t> offsets(static_cast<std::size_t>(nav.getMaxTiles()), SIZE_MAX);
    std::size_t floats = 0;
    for (int t = 0; t < nav.getMaxTiles(); ++t)
        if (const dtMeshTile* tile = nav.getTile(t); tile->header) {
            offsets[static_cast<std::size_t>(t)] = floats;
            floats += static_cast<std::size_t>(tile->header->maxLinkCount) * 4;
        }
    mMidpoints.assign(floats, 0.0f);
    mMidpointsByTile.assign(offsets.size(), nullptr);
    for (int t = 0; t < nav.getMaxTiles(); ++t) {
        const dtMeshTile& tile = *nav.getTile(t);
        if (offsets[static_cast<std::size_t>(t)] == SIZE_MAX)
            continue;
        float* mids = &mMidpoints[offsets[static_cast<std::size_t>(t)]];
        mMidpointsByTile[static_cast<std::size_t>(t)] = mids;
        // A damaged cache can chain links into a loop or past the tile's links: walk at most
        // the tile's link count, and only links inside it.
        const auto linkCount = static_cast<unsigned int>(tile.header->maxLinkCount);
        for (int p = 0; p < tile.header->polyCount; ++p) {
            const dtPoly& poly = tile.polys[p];
            unsigned int walked = 0;
            for (unsigned int i = poly.firstLink; i < linkCount && walked < linkCount;
                 i = tile.links[i].next, ++walked) {
                const dtPolyRef to = tile.links[i].ref;
                if (!to)
                    continue;
                const dtMeshTile* toTile = nullptr;
                const dtPoly* toPoly = nullptr;
                refs.Get(to, toTile, toPoly);
                float left[3], right[3];
                if (navtiles::PortalBetween(tile, poly, to, *toPoly, left, right))
                    navtiles::PortalMidpoint(left, right, &mids[i * 4]);
            }
        }
    }
}

namespace navtiles {

TileLayout::TileLayout(const dtNavMesh& nav)
    : mNav(nav),
      mTiles(nav.getTile(0)),
      mMaxTiles(static_cast<unsigned>(nav.getMaxTiles())),
      mParams(*nav.getParams()),
      mLinks(nav) {}

std::unique_ptr<TileLayout> TileLayout::Make(const dtNavMesh& nav) {
    std::unique_ptr<TileLayout> layout(new TileLayout(nav));
    long long minX = 0, minZ = 0, maxX = -1, maxZ = -1;
    for (unsigned t = 0; t < layout->mMaxTiles; ++t)
        if (const dtMeshTile& tile = layout->mTiles[t]; tile.header) {
            const bool first = maxX < minX;
            minX = first ? tile.header->x : std::min<long long>(minX, tile.header->x);
            maxX = first ? tile.header->x : std::max<long long>(maxX, tile.header->x);
            minZ = first ? tile.header->y : std::min<long long>(minZ, tile.header->y);
            maxZ = first ? tile.header->y : std::max<long long>(maxZ, tile.header->y);
        }
    const long long width = maxX - minX + 1, depth = maxZ - minZ + 1;
    constexpr long long kMaxPlaces = 4ll * NavBuildSettings::kMaxTiles;
    if (width > kMaxPlaces || depth > kMaxPlaces || width * depth > kMaxPlaces)
        return nullptr;
    layout->mMinX = static_cast<int>(minX);
    layout->mMinZ = static_cast<int>(minZ);
    layout->mWidth = static_cast<int>(width);
    layout->mDepth = static_cast<int>(depth);
    layout->mCellStart.reserve(static_cast<std::size_t>(width * depth) + 1);
    const dtMeshTile* at[kMaxTilesAt];
    for (int z = 0; z < layout->mDepth; ++z)
        for (int x = 0; x < layout->mWidth; ++x) {
            layout->mCellStart.push_back(static_cast<std::uint32_t>(layout->mCellTiles.size()));
            const int n = nav.getTilesAt(layout->mMinX + x, layout->mMinZ + z, at, kMaxTilesAt);
            layout->mCellTiles.insert(layout->mCellTiles.end(), at, at + n);
        }
    layout->mCellStart.push_back(static_cast<std::uint32_t>(layout->mCellTiles.size()));
    layout->KeepInteriors();
    return layout;
}

}  // namespace navtiles

void NavInputHash::Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        mHash ^= bytes[i];
        mHash *= 0x100000001b3ull;
    }
}

void NavInputHash::AddGround(const GroundMesh& ground) {
    const std::uint64_t counts[2] = {ground.GetVertices().size(), ground.GetTriangleCount()};
    Add(counts, sizeof counts);
    Add(ground.GetVertices().data(), ground.GetVertices().size() * sizeof(Vec3));
    Add(ground.GetIndices().data(), ground.GetIndices().size() * sizeof(int));
    Add(ground.GetSurfaces().data(), ground.GetSurfaces().size() * sizeof(PhysicsSurface));
}

bool ReadNavCache(const std::filesystem::path& path, std::uint64_t key,
                  std::vector<NavMeshData>& entries, std::string& error) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        error = "no cache";
        return false;
    }
    // A folder or a pipe in its place is no cache (and reading a pipe would wait for ever).
    if (!std::filesystem::is_regular_file(status)) {
        error = "not a regular file";
        return false;
    }
    BinaryReader reader = BinaryReader::FromFile(path);
    std::uint32_t magic = 0, version = 0, keyLow = 0, keyHigh = 0, count = 0;
    if (!reader.ReadUInt32(magic) || magic != kMagic || !reader.ReadUInt32(version) ||
        version != NavBuildSettings::kFormatVersion) {
        error = "not a cache of this version";
        return false;
    }
    if (!reader.ReadUInt32(keyLow) || !reader.ReadUInt32(keyHigh) ||
        ((static_cast<std::uint64_t>(keyHigh) << 32) | keyLow) != key) {
        error = "inputs changed";
        return false;
    }
    // Detour trusts tile bytes: only bytes as this program wrote them reach it.
    std::uint32_t sumLow = 0, sumHigh = 0;
    if (!reader.ReadUInt32(sumLow) || !reader.ReadUInt32(sumHigh) ||
        ((static_cast<std::uint64_t>(sumHigh) << 32) | sumLow) !=
            ChecksumOf(reader.GetData() + reader.GetPosition(), reader.GetRemaining())) {
        error = "checksum does not match";
        return false;
    }
    std::vector<NavMeshData> read;
    if (!reader.ReadUInt32(count) || count > reader.GetRemaining()) {
        error = "truncated";
        return false;
    }
    for (std::uint32_t e = 0; e < count; ++e) {
        NavMeshData data;
        std::uint32_t tiles = 0;
        std::int32_t tx = 0, tz = 0;
        if (!reader.ReadFloat(data.origin.x) || !reader.ReadFloat(data.origin.y) ||
            !reader.ReadFloat(data.origin.z) || !reader.ReadInt(tx) || !reader.ReadInt(tz) ||
            !reader.ReadUInt32(tiles) || tiles > reader.GetRemaining() || tx < 0 || tz < 0) {
            error = "truncated entry";
            return false;
        }
        if (static_cast<long long>(tx) * tz > NavBuildSettings::kMaxTiles) {
            error = "too many tiles";
            return false;
        }
        data.tilesX = tx;
        data.tilesZ = tz;
        for (std::uint32_t t = 0; t < tiles; ++t) {
            NavTileData tile;
            std::uint32_t size = 0;
            if (!reader.ReadInt(tile.x) || !reader.ReadInt(tile.z) || !reader.ReadUInt32(size) ||
                size > reader.GetRemaining()) {
                error = "truncated tile";
                return false;
            }
            if (tile.x < 0 || tile.z < 0 || tile.x >= tx || tile.z >= tz) {
                error = "tile outside its mesh";
                return false;
            }
            tile.bytes.resize(size);
            if (!reader.ReadBytes(tile.bytes.data(), size)) {
                error = "truncated tile";
                return false;
            }
            std::string why;
            if (!NavTileChecksOut(tile.bytes.data(), tile.bytes.size(), tile.x, tile.z, why)) {
                error =
                    "tile " + std::to_string(tile.x) + "," + std::to_string(tile.z) + ": " + why;
                return false;
            }
            data.tiles.push_back(std::move(tile));
        }
        read.push_back(std::move(data));
    }
    if (reader.GetRemaining() != 0) {
        error = "trailing bytes";
        return false;
    }
    entries = std::move(read);
    return true;
}

bool WriteNavCache(const std::filesystem::path& path, std::uint64_t key,
                   const std::vector<NavMeshData>& entries) {
    BinaryWriter writer;
    writer.WriteUInt32(static_cast<std::uint32_t>(entries.size()));
    for (const NavMeshData& data : entries) {
        writer.WriteFloat(data.origin.x);
        writer.WriteFloat(data.origin.y);
        writer.WriteFloat(data.origin.z);
        writer.WriteInt(data.tilesX);
        writer.WriteInt(data.tilesZ);
        writer.WriteUInt32(static_cast<std::uint32_t>(data.tiles.size()));
        for (const NavTileData& tile : data.tiles) {
            writer.WriteInt(tile.x);
            writer.WriteInt(tile.z);
            writer.WriteUInt32(static_cast<std::uint32_t>(tile.bytes.size()));
            writer.WriteBytes(tile.bytes.data(), tile.bytes.size());
        }
    }
    if (writer.Failed())
        return false;
    const std::vector<std::uint8_t>& body = writer.GetBuffer();
    const std::uint64_t sum = ChecksumOf(body.data(), body.size());
    BinaryWriter file;
    file.WriteUInt32(kMagic);
    file.WriteUInt32(NavBuildSettings::kFormatVersion);
    file.WriteUInt32(static_cast<std::uint32_t>(key));
    file.WriteUInt32(static_cast<std::uint32_t>(key >> 32));
    file.WriteUInt32(static_cast<std::uint32_t>(sum));
    file.WriteUInt32(static_cast<std::uint32_t>(sum >> 32));
    file.WriteBytes(body.data(), body.size());
    if (file.Failed())
        return false;
    return WriteFileAtomically(path, file.GetBuffer().data(), file.GetBuffer().size());
}

}  // namespace GAME
