// The parts of a mesh that links join, and how high they reach.
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cstdint>
#include <numeric>
#include <vector>

#include "Engine/world/nav/NavMesh.h"

namespace GAME {

namespace {

std::uint32_t IslandRoot(std::vector<std::uint32_t>& parent, std::uint32_t at) {
    while (parent[at] != at) {
        parent[at] = parent[parent[at]];
        at = parent[at];
    }
    return at;
}

// The highest vertex of the polygon, its detail vertices included: every point a query puts on
// it lies between its vertices' heights.
float PolygonTop(const dtMeshTile& tile, const dtPoly& poly) {
    float top = -FLT_MAX;
    for (int v = 0; v < poly.vertCount; ++v)
        top = std::max(top, tile.verts[poly.verts[v] * 3 + 1]);
    const auto index = static_cast<int>(&poly - tile.polys);
    if (poly.getType() == DT_POLYTYPE_GROUND && index < tile.header->detailMeshCount) {
        const dtPolyDetail& detail = tile.detailMeshes[index];
        for (unsigned v = 0; v < detail.vertCount; ++v)
            top = std::max(top, tile.detailVerts[(detail.vertBase + v) * 3 + 1]);
    }
    return top;
}

}  // namespace

void NavMesh::KeepIslands() {
    const dtNavMesh& nav = *mMesh;
    // Detour's ref layout: salt, tile, polygon, from the top bit down.
    mPolyBits = static_cast<std::uint32_t>(std::countr_zero(nav.encodePolyId(0, 1, 0)));
    const auto saltShift = static_cast<std::uint32_t>(std::countr_zero(nav.encodePolyId(1, 0, 0)));
    mPolyMask = (1u << mPolyBits) - 1;
    mTileMask = (1u << (saltShift - mPolyBits)) - 1;
    mIslandTiles.assign(static_cast<std::size_t>(nav.getMaxTiles()), IslandTile{});
    std::uint32_t polygons = 0;
    for (int t = 0; t < nav.getMaxTiles(); ++t)
        if (const dtMeshTile* tile = nav.getTile(t); tile->header) {
            const auto count = static_cast<std::uint32_t>(tile->header->polyCount);
            mIslandTiles[static_cast<std::size_t>(t)] = {polygons, count};
            polygons += count;
        }
    std::vector<std::uint32_t> parent(polygons);
    std::iota(parent.begin(), parent.end(), 0u);
    for (int t = 0; t < nav.getMaxTiles(); ++t) {
        const dtMeshTile& tile = *nav.getTile(t);
        if (!tile.header)
            continue;
        const std::uint32_t base = mIslandTiles[static_cast<std::size_t>(t)].base;
        // As KeepPortalMidpoints: at most the tile's link count, only links inside it.
        const auto linkCount = static_cast<unsigned int>(tile.header->maxLinkCount);
        for (int p = 0; p < tile.header->polyCount; ++p) {
            unsigned int walked = 0;
            for (unsigned int i = tile.polys[p].firstLink; i < linkCount && walked < linkCount;
                 i = tile.links[i].next, ++walked) {
                const std::uint32_t ref = tile.links[i].ref;
                const std::uint32_t to = (ref >> mPolyBits) & mTileMask, ip = ref & mPolyMask;
                if (!ref || to >= mIslandTiles.size() || ip >= mIslandTiles[to].count)
                    continue;
                const std::uint32_t a = IslandRoot(parent, base + static_cast<std::uint32_t>(p));
                const std::uint32_t b = IslandRoot(parent, mIslandTiles[to].base + ip);
                parent[std::max(a, b)] = std::min(a, b);
            }
        }
    }
    mIslands.assign(polygons, 0);
    mIslandOffMesh.clear();
    std::vector<std::uint32_t> islandOfRoot(polygons, UINT32_MAX);
    for (int t = 0; t < nav.getMaxTiles(); ++t) {
        const dtMeshTile& tile = *nav.getTile(t);
        if (!tile.header)
            continue;
        const std::uint32_t base = mIslandTiles[static_cast<std::size_t>(t)].base;
        for (int p = 0; p < tile.header->polyCount; ++p) {
            const std::uint32_t at = base + static_cast<std::uint32_t>(p);
            std::uint32_t& island = islandOfRoot[IslandRoot(parent, at)];
            if (island == UINT32_MAX) {
                island = static_cast<std::uint32_t>(mIslandOffMesh.size());
                mIslandOffMesh.push_back(0);
            }
            mIslands[at] = island;
            if (tile.polys[p].getType() != DT_POLYTYPE_GROUND)
                mIslandOffMesh[island] = 1;
        }
    }
}

bool NavMesh::GetPolygonTop(std::uint32_t ref, float& top) const {
    const dtMeshTile* tile = nullptr;
    const dtPoly* poly = nullptr;
    if (!mMesh || dtStatusFailed(mMesh->getTileAndPolyByRef(ref, &tile, &poly)))
        return false;
    top = PolygonTop(*tile, *poly);
    return true;
}

bool NavMesh::GetIslandTopNear(int island, const Vec3& p, float radius, float& top) const {
    // The polygon search passes over links off the mesh.
    if (island < 0 || static_cast<std::size_t>(island) >= mIslandOffMesh.size() ||
        mIslandOffMesh[static_cast<std::size_t>(island)] != 0)
        return false;
    constexpr int kMaxNear = 256;
    dtQueryFilter every;
    every.setIncludeFlags(0xffff);
    every.setExcludeFlags(0);
    const float center[3] = {p.x, p.y, p.z};
    const float half[3] = {radius, 1e4f, radius};
    dtPolyRef near[kMaxNear];
    int count = 0;
    const dtStatus status = mQuery->queryPolygons(center, half, &every, near, &count, kMaxNear);
    if (dtStatusFailed(status) || (status & DT_BUFFER_TOO_SMALL) != 0 || count >= kMaxNear)
        return false;
    top = -FLT_MAX;
    for (int i = 0; i < count; ++i) {
        if (GetIsland(near[i]) != island)
            continue;
        const dtMeshTile* tile = nullptr;
        const dtPoly* poly = nullptr;
        mMesh->getTileAndPolyByRefUnsafe(near[i], &tile, &poly);
        top = std::max(top, PolygonTop(*tile, *poly));
    }
    return true;
}

}  // namespace GAME
