#include "Engine/world/nav/NavTileCheck.h"

#include <DetourNavMesh.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace GAME {

namespace {

// Detour lays a tile out as its header, then each array, every part rounded up to 4 bytes.
constexpr std::size_t Align4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

// No tile Recast makes here comes near these (a tile is 64 cells square).
constexpr int kMaxCount = 1 << 20;

bool Fail(std::string& why, const char* what) {
    why = what;
    return false;
}

template <typename T>
std::vector<T> ReadArray(const unsigned char* at, int count) {
    std::vector<T> items(static_cast<std::size_t>(count));
    if (count > 0)
        std::memcpy(items.data(), at, sizeof(T) * items.size());
    return items;
}

}  // namespace

bool NavTileChecksOut(const unsigned char* data, std::size_t size, int expectX, int expectZ,
                      std::string& why) {
    if (!data || size < sizeof(dtMeshHeader))
        return Fail(why, "shorter than its header");
    dtMeshHeader header;
    std::memcpy(&header, data, sizeof header);
    if (header.magic != DT_NAVMESH_MAGIC || header.version != DT_NAVMESH_VERSION)
        return Fail(why, "not a tile of this format");
    if (header.x != expectX || header.y != expectZ || header.layer != 0)
        return Fail(why, "placed elsewhere than its entry says");
    const int counts[] = {header.polyCount,       header.vertCount,       header.maxLinkCount,
                          header.detailMeshCount, header.detailVertCount, header.detailTriCount,
                          header.bvNodeCount,     header.offMeshConCount};
    for (int count : counts)
        if (count < 0 || count > kMaxCount)
            return Fail(why, "a count out of range");
    if (header.offMeshBase < 0 || header.offMeshBase > header.polyCount ||
        header.offMeshConCount > header.polyCount - header.offMeshBase ||
        header.detailMeshCount > header.polyCount ||
        (header.polyCount > 0 && header.detailMeshCount < header.offMeshBase))
        return Fail(why, "counts that do not agree");
    // Detour chains a tile's free links starting at the last one, and hands out the first
    // whatever their count: with none it writes over the arrays around them.
    if (header.maxLinkCount < 1)
        return Fail(why, "no room for its links");
    for (float v : {header.bmin[0], header.bmin[1], header.bmin[2], header.bmax[0], header.bmax[1],
                    header.bmax[2], header.bvQuantFactor})
        if (!std::isfinite(v))
            return Fail(why, "bounds not finite");

    const std::size_t parts[] = {
        Align4(sizeof(dtMeshHeader)),
        Align4(sizeof(float) * 3 * static_cast<std::size_t>(header.vertCount)),
        Align4(sizeof(dtPoly) * static_cast<std::size_t>(header.polyCount)),
        Align4(sizeof(dtLink) * static_cast<std::size_t>(header.maxLinkCount)),
        Align4(sizeof(dtPolyDetail) * static_cast<std::size_t>(header.detailMeshCount)),
        Align4(sizeof(float) * 3 * static_cast<std::size_t>(header.detailVertCount)),
        Align4(4 * static_cast<std::size_t>(header.detailTriCount)),
        Align4(sizeof(dtBVNode) * static_cast<std::size_t>(header.bvNodeCount)),
        Align4(sizeof(dtOffMeshConnection) * static_cast<std::size_t>(header.offMeshConCount))};
    std::size_t offsets[std::size(parts)];
    std::size_t total = 0;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        offsets[i] = total;
        total += parts[i];
    }
    if (total > size)
        return Fail(why, "its counts need more bytes than it has");

    const auto polys = ReadArray<dtPoly>(data + offsets[2], header.polyCount);
    for (const dtPoly& poly : polys) {
        if (poly.vertCount > DT_VERTS_PER_POLYGON)
            return Fail(why, "a polygon with too many corners");
        for (int j = 0; j < poly.vertCount; ++j)
            if (poly.verts[j] >= header.vertCount)
                return Fail(why, "a polygon corner past the vertices");
        for (int j = 0; j < poly.vertCount; ++j) {
            const unsigned short nei = poly.neis[j];
            if (nei != 0 && !(nei & DT_EXT_LINK) && nei > header.polyCount)
                return Fail(why, "a polygon neighbour past the polygons");
        }
    }
    const auto details = ReadArray<dtPolyDetail>(data + offsets[4], header.detailMeshCount);
    for (std::size_t i = 0; i < details.size(); ++i) {
        const dtPolyDetail& detail = details[i];
        const int corners = polys[i].vertCount;
        if (std::uint64_t{detail.vertBase} + detail.vertCount >
                static_cast<std::uint64_t>(header.detailVertCount) ||
            std::uint64_t{detail.triBase} + detail.triCount >
                static_cast<std::uint64_t>(header.detailTriCount))
            return Fail(why, "a detail mesh past the detail arrays");
        const unsigned char* tris = data + offsets[6] + 4 * std::size_t{detail.triBase};
        for (int t = 0; t < detail.triCount; ++t)
            for (int k = 0; k < 3; ++k)
                if (tris[4 * t + k] >= corners + detail.vertCount)
                    return Fail(why, "a detail triangle past its vertices");
    }
    for (const dtBVNode& node : ReadArray<dtBVNode>(data + offsets[7], header.bvNodeCount))
        if (node.i >= header.polyCount || node.i < -header.bvNodeCount)
            return Fail(why, "a bounding node past the polygons");
    for (const dtOffMeshConnection& link :
         ReadArray<dtOffMeshConnection>(data + offsets[8], header.offMeshConCount))
        if (link.poly >= header.polyCount)
            return Fail(why, "an off-mesh link past the polygons");
    return true;
}

}  // namespace GAME
