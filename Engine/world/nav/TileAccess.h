#pragma once
// Reading Detour's tiles directly, for the queries that answer from them (TileQueries.h): ref
// lookups without the library's checks, polygon corners and the portal between two neighbours.
#include <DetourCommon.h>
#include <DetourNavMesh.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace GAME::navtiles {

class TileLayout;

// static_cast<int>(std::floor(v)) for every v an int holds, without the library call the
// baseline instruction set makes of floor: the truncation is exact, and so is its float.
[[gnu::always_inline]] inline int FloorToInt(float v) {
    const int truncated = static_cast<int>(v);
    return v < static_cast<float>(truncated) ? truncated - 1 : truncated;
}

// Detour's polygon ref lookups, inline: the mesh keeps its tiles in one array.
class TileRefs {
public:
    explicit TileRefs(const dtNavMesh& nav)
        : mNav(nav),
          mTiles(nav.getTile(0)),
          mMaxTiles(static_cast<unsigned>(nav.getMaxTiles())),
          mParams(nav.getParams()) {}
    explicit TileRefs(const TileLayout& layout);
    // getTileAndPolyByRef: false for a ref of no polygon.
    bool Get(dtPolyRef ref, const dtMeshTile*& tile, const dtPoly*& poly) const {
        unsigned int salt = 0, it = 0, ip = 0;
        if (!ref)
            return false;
        mNav.decodePolyId(ref, salt, it, ip);
        if (it >= mMaxTiles)
            return false;
        const dtMeshTile& t = mTiles[it];
        if (t.salt != salt || !t.header || ip >= static_cast<unsigned>(t.header->polyCount))
            return false;
        tile = &t;
        poly = &t.polys[ip];
        return true;
    }
    bool Valid(dtPolyRef ref) const {
        const dtMeshTile* tile = nullptr;
        const dtPoly* poly = nullptr;
        return Get(ref, tile, poly);
    }
    dtPolyRef Base(const dtMeshTile& tile) const {
        return mNav.encodePolyId(tile.salt, static_cast<unsigned>(&tile - mTiles), 0);
    }
    // calcTileLoc
    void TileAt(const float* pos, int& x, int& z) const {
        x = FloorToInt((pos[0] - mParams->orig[0]) / mParams->tileWidth);
        z = FloorToInt((pos[2] - mParams->orig[2]) / mParams->tileHeight);
    }

private:
    const dtNavMesh& mNav;
    const dtMeshTile* mTiles;
    unsigned mMaxTiles;
    const dtNavMeshParams* mParams;
};

// getTileAndPolyByRefUnsafe, for refs the mesh's own links hold, with decodePolyId's field widths
// read once: the corridor search decodes every link it meets.
class LinkRefs {
public:
    explicit LinkRefs(const dtNavMesh& nav) : mTiles(nav.getTile(0)) {
        // Every bit set: the tile and polygon fields come out as their masks.
        unsigned int salt = 0;
        nav.decodePolyId(~dtPolyRef{0}, salt, mTileMask, mPolyMask);
        mPolyBits = static_cast<unsigned>(std::bit_width(mPolyMask));
    }
    void Get(dtPolyRef ref, const dtMeshTile*& tile, const dtPoly*& poly) const {
        tile = &mTiles[(ref >> mPolyBits) & mTileMask];
        poly = &tile->polys[ref & mPolyMask];
    }

private:
    const dtMeshTile* mTiles;
    unsigned int mTileMask = 0, mPolyMask = 0, mPolyBits = 0;
};

// What the tile readers ask of a mesh on every query, read once its tiles are all in (they never
// change after that): Detour hands each out through a call into the library, and finds the
// tiles at a grid place through its hash chains.
class TileLayout {
public:
    // Null when the tiles' grid places span more than is worth a table (a damaged cache).
    static std::unique_ptr<TileLayout> Make(const dtNavMesh& nav);

    const dtNavMesh& Nav() const { return mNav; }
    const dtMeshTile* Tiles() const { return mTiles; }
    unsigned MaxTiles() const { return mMaxTiles; }
    const dtNavMeshParams& Params() const { return mParams; }
    const LinkRefs& Links() const { return mLinks; }
    // getTilesAt(x, z) with room for kMaxTilesAt: the tiles at the place, in Detour's order.
    std::span<const dtMeshTile* const> TilesAt(int x, int z) const {
        if (x < mMinX || z < mMinZ || x - mMinX >= mWidth || z - mMinZ >= mDepth)
            return {};
        const auto cell = static_cast<std::size_t>(z - mMinZ) * static_cast<std::size_t>(mWidth) +
                          static_cast<std::size_t>(x - mMinX);
        return {mCellTiles.data() + mCellStart[cell], mCellStart[cell + 1] - mCellStart[cell]};
    }
    // Narrows a range of grid places to the ones that can hold tiles (empty when none can).
    void Clamp(int& minX, int& minZ, int& maxX, int& maxZ) const {
        minX = std::max(minX, mMinX);
        minZ = std::max(minZ, mMinZ);
        maxX = std::min(maxX, mMinX + mWidth - 1);
        maxZ = std::min(maxZ, mMinZ + mDepth - 1);
    }

    // A ground polygon that no other polygon of the mesh overlaps over x and z, by a margin. A
    // point kInside within all its edges is then over it alone and clear of every other
    // polygon, so the nearest-polygon query needs no other candidate (TileInteriors.cpp).
    struct Interior {
        static constexpr float kInside = 0.05f;
        const dtMeshTile* tile = nullptr;
        std::uint32_t poly = 0;
        std::uint32_t node = 0;  // its leaf in the tile's bounding-volume tree
        int edges = 0;
        // Per edge a, b, c: a * x + b * z + c is how far inside the edge a point lies.
        float planes[DT_VERTS_PER_POLYGON][3] = {};

        // Its triangles in mSurfaces.
        std::uint32_t firstSurface = 0;
        std::uint32_t surfaces = 0;

        bool Holds(const float* pos) const {
            for (int i = 0; i < edges; ++i)
                if (!(planes[i][0] * pos[0] + planes[i][1] * pos[2] + planes[i][2] >= kInside))
                    return false;
            return true;
        }
    };
    // A detail triangle as dtClosestHeightPointTriangle works it out before it looks at the
    // point: a = the first corner, v0 = c - a, v1 = b - a, and the denominator with its sign
    // taken out (`sign` puts it back on u and v exactly).
    struct Surface {
        // The library's epsilon: a triangle with a smaller denominator holds no point.
        static constexpr float kFlat = 1e-6f;
        float a[3];
        float v0[3];
        float v1[3];
        float denom;
        float sign;

        // False for a triangle that holds no point.
        static bool Make(const float* a, const float* b, const float* c, Surface& out) {
            dtVcopy(out.a, a);
            dtVsub(out.v0, c, a);
            dtVsub(out.v1, b, a);
            const float denom = out.v0[0] * out.v1[2] - out.v0[2] * out.v1[0];
            out.denom = denom < 0 ? -denom : denom;
            out.sign = denom < 0 ? -1.0f : 1.0f;
            return std::fabs(denom) >= kFlat;
        }
        // dtClosestHeightPointTriangle with the same arithmetic in the same order.
        bool HeightAt(const float* pos, float& height) const {
            const float x = pos[0] - a[0], z = pos[2] - a[2];
            const float u = sign * (v1[2] * x - v1[0] * z);
            const float v = sign * (v0[0] * z - v0[2] * x);
            if (!(u >= 0.0f && v >= 0.0f && u + v <= denom))
                return false;
            height = a[1] + (v0[1] * u + v1[1] * v) / denom;
            return true;
        }
    };
    // The height of an interior's detail surface under the point, as the first of its detail
    // triangles that takes the point gives it; false when none does.
    bool HeightOver(const Interior& interior, const float* pos, float& height) const {
        const Surface* s = mSurfaces.data() + interior.firstSurface;
        for (const Surface* const end = s + interior.surfaces; s != end; ++s)
            if (s->HeightAt(pos, height))
                return true;
        return false;
    }
    // The interiors of the tiles at a grid place; none when the mesh is one the proof does not
    // cover (see TileInteriors.cpp).
    std::span<const Interior> InteriorsAt(int x, int z) const {
        if (mInteriorStart.empty() || x < mMinX || z < mMinZ || x - mMinX >= mWidth ||
            z - mMinZ >= mDepth)
            return {};
        const auto cell = static_cast<std::size_t>(z - mMinZ) * static_cast<std::size_t>(mWidth) +
                          static_cast<std::size_t>(x - mMinX);
        return {mInteriors.data() + mInteriorStart[cell],
                mInteriorStart[cell + 1] - mInteriorStart[cell]};
    }

    static constexpr int kMaxTilesAt = 32;

private:
    explicit TileLayout(const dtNavMesh& nav);
    void KeepInteriors();
    void KeepSurfaces(Interior& interior);

    const dtNavMesh& mNav;
    const dtMeshTile* mTiles;
    unsigned mMaxTiles;
    dtNavMeshParams mParams;
    LinkRefs mLinks;
    int mMinX = 0, mMinZ = 0, mWidth = 0, mDepth = 0;
    // Per grid place (row by row), where its tiles start in mCellTiles; one more at the end.
    std::vector<std::uint32_t> mCellStart;
    std::vector<const dtMeshTile*> mCellTiles;
    // The same per grid place, into mInteriors; empty when none are kept.
    std::vector<std::uint32_t> mInteriorStart;
    std::vector<Interior> mInteriors;
    std::vector<Surface> mSurfaces;
};

inline TileRefs::TileRefs(const TileLayout& layout)
    : mNav(layout.Nav()),
      mTiles(layout.Tiles()),
      mMaxTiles(layout.MaxTiles()),
      mParams(&layout.Params()) {}

inline const float* DetailVertex(const dtMeshTile& tile, const dtPoly& poly,
                                 const dtPolyDetail& detail, unsigned char index) {
    return index < poly.vertCount
               ? &tile.verts[poly.verts[index] * 3]
               : &tile.detailVerts[(detail.vertBase + (index - poly.vertCount)) * 3];
}

// dtPointInPolygon over the polygon's own corners in the tile, without copying them out: the
// same crossing test with the same arithmetic.
inline bool PointInPolygon(const dtMeshTile& tile, const dtPoly& poly, const float* pt) {
    bool inside = false;
    const int n = poly.vertCount;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const float* vi = &tile.verts[poly.verts[i] * 3];
        const float* vj = &tile.verts[poly.verts[j] * 3];
        if (((vi[2] > pt[2]) != (vj[2] > pt[2])) &&
            (pt[0] < (vj[0] - vi[0]) * (pt[2] - vi[2]) / (vj[2] - vi[2]) + vi[0]))
            inside = !inside;
    }
    return inside;
}

inline int PolygonVerts(const dtMeshTile& tile, const dtPoly& poly, float* verts) {
    for (int i = 0; i < poly.vertCount; ++i)
        dtVcopy(&verts[i * 3], &tile.verts[poly.verts[i] * 3]);
    return poly.vertCount;
}

// The shared edge of two neighbours, narrowed to the part that lies in both at a tile border.
inline bool PortalBetween(const dtMeshTile& fromTile, const dtPoly& fromPoly, dtPolyRef to,
                          const dtPoly& toPoly, float* left, float* right) {
    if (fromPoly.getType() == DT_POLYTYPE_OFFMESH_CONNECTION ||
        toPoly.getType() == DT_POLYTYPE_OFFMESH_CONNECTION)
        return false;
    const dtLink* link = nullptr;
    for (unsigned int i = fromPoly.firstLink; i != DT_NULL_LINK; i = fromTile.links[i].next)
        if (fromTile.links[i].ref == to) {
            link = &fromTile.links[i];
            break;
        }
    if (!link)
        return false;
    const float* v0 = &fromTile.verts[fromPoly.verts[link->edge] * 3];
    const float* v1 =
        &fromTile
             .verts[fromPoly.verts[(link->edge + 1) % static_cast<int>(fromPoly.vertCount)] * 3];
    dtVcopy(left, v0);
    dtVcopy(right, v1);
    if (link->side != 0xff && (link->bmin != 0 || link->bmax != 255)) {
        const float s = 1.0f / 255.0f;
        dtVlerp(left, v0, v1, link->bmin * s);
        dtVlerp(right, v0, v1, link->bmax * s);
    }
    return true;
}

// Where the corridor search puts a polygon's node: the middle of the portal it is entered by.
// `out` gets a fourth value, 1, that marks it as made.
inline void PortalMidpoint(const float* left, const float* right, float* out) {
    out[0] = (left[0] + right[0]) * 0.5f;
    out[1] = (left[1] + right[1]) * 0.5f;
    out[2] = (left[2] + right[2]) * 0.5f;
    out[3] = 1.0f;
}

}  // namespace GAME::navtiles
