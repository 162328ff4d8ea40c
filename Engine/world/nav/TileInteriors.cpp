// Which polygons a point well inside is the nearest-polygon answer of, found once per mesh.
//
// Interior::Holds(p) in float errs by less than kTestError on coordinates up to kMaxCoordinate,
// so p lies at least r = kInside - kTestError inside every edge of the (convex) polygon P, and
// the disc of radius r round p lies in P. Every other polygon R near P is kept to one side of a
// line that has P, and so that disc, on its other side, within kTouch. R's corners and detail
// vertices, whose hull holds everything Detour measures on R, are then at least r - 2 * kTouch
// from p: the crossing test finds p outside R and R's distance is not 0. P's is 0 when p lies
// within the climb of its detail surface, so P is the first polygon at 0 in any order.
#include <DetourNavMesh.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Engine/world/nav/TileAccess.h"

namespace GAME::navtiles {

namespace {

constexpr double kMaxCoordinate = 8192.0;
constexpr double kTestError = 0.01;
constexpr double kTouch = 0.001;
static_assert(TileLayout::Interior::kInside - kTestError - 2 * kTouch > 0.03,
              "the disc round a point held must stay clear of the other polygons");
// How far past its grid place a tile may reach: a polygon then meets only the tiles of the
// places round its own.
constexpr double kPlaceSlack = 0.5;

struct Point2 {
    double x = 0, z = 0;
};

// A polygon's corners and, for ground, its detail vertices, over x and z.
void ShapeOf(const dtMeshTile& tile, int p, std::vector<Point2>& out) {
    out.clear();
    const dtPoly& poly = tile.polys[p];
    for (int i = 0; i < poly.vertCount; ++i) {
        const float* v = &tile.verts[poly.verts[i] * 3];
        out.push_back({v[0], v[2]});
    }
    if (poly.getType() != DT_POLYTYPE_GROUND || p >= tile.header->detailMeshCount)
        return;
    const dtPolyDetail& detail = tile.detailMeshes[p];
    for (unsigned j = 0; j < detail.vertCount; ++j) {
        const float* v = &tile.detailVerts[(detail.vertBase + j) * 3];
        out.push_back({v[0], v[2]});
    }
}

// Signed distances from a convex polygon's edges, positive inside.
struct Edges {
    int count = 0;
    double a[DT_VERTS_PER_POLYGON], b[DT_VERTS_PER_POLYGON], c[DT_VERTS_PER_POLYGON];

    double Inside(int i, const Point2& p) const { return a[i] * p.x + b[i] * p.z + c[i]; }
};

// False for a polygon that is not convex, or has an edge too short to measure from.
bool EdgesOf(const dtMeshTile& tile, const dtPoly& poly, Edges& out) {
    const int n = poly.vertCount;
    if (poly.getType() != DT_POLYTYPE_GROUND || n < 3)
        return false;
    Point2 v[DT_VERTS_PER_POLYGON];
    for (int i = 0; i < n; ++i)
        v[i] = {tile.verts[poly.verts[i] * 3], tile.verts[poly.verts[i] * 3 + 2]};
    double area = 0;
    for (int i = 0, j = n - 1; i < n; j = i++)
        area += v[j].x * v[i].z - v[i].x * v[j].z;
    if (area == 0)
        return false;
    const double side = area > 0 ? 1.0 : -1.0;
    out.count = n;
    for (int i = 0; i < n; ++i) {
        const Point2& from = v[i];
        const Point2& to = v[(i + 1) % n];
        const double ex = to.x - from.x, ez = to.z - from.z;
        const double length = std::sqrt(ex * ex + ez * ez);
        if (!(length > 1e-3))
            return false;
        out.a[i] = -side * ez / length;
        out.b[i] = side * ex / length;
        out.c[i] = -(out.a[i] * from.x + out.b[i] * from.z);
        for (int k = 0; k < n; ++k)
            if (out.Inside(i, v[k]) < -1e-6)
                return false;
    }
    return true;
}

// Whether some line keeps the two apart: one of P's edges, one of R's, or an axis.
bool Apart(const Edges& p, const std::vector<Point2>& pShape, const Edges* r,
           const std::vector<Point2>& rShape) {
    if (rShape.empty())
        return true;
    for (int i = 0; i < p.count; ++i) {
        bool outside = true;
        for (const Point2& q : rShape)
            outside = outside && p.Inside(i, q) <= kTouch;
        if (outside)
            return true;
    }
    for (int i = 0; r && i < r->count; ++i) {
        bool apart = true;
        for (const Point2& q : rShape)
            apart = apart && r->Inside(i, q) >= -kTouch;
        for (int k = 0; k < p.count; ++k)
            apart = apart && r->Inside(i, pShape[static_cast<std::size_t>(k)]) <= kTouch;
        if (apart)
            return true;
    }
    const auto [rMinX, rMaxX] = std::minmax_element(
        rShape.begin(), rShape.end(), [](const Point2& a, const Point2& b) { return a.x < b.x; });
    const auto [rMinZ, rMaxZ] = std::minmax_element(
        rShape.begin(), rShape.end(), [](const Point2& a, const Point2& b) { return a.z < b.z; });
    double pMinX = pShape[0].x, pMaxX = pShape[0].x, pMinZ = pShape[0].z, pMaxZ = pShape[0].z;
    for (int k = 0; k < p.count; ++k) {
        const Point2& q = pShape[static_cast<std::size_t>(k)];
        pMinX = std::min(pMinX, q.x);
        pMaxX = std::max(pMaxX, q.x);
        pMinZ = std::min(pMinZ, q.z);
        pMaxZ = std::max(pMaxZ, q.z);
    }
    return rMaxX->x <= pMinX + kTouch || rMinX->x >= pMaxX - kTouch || rMaxZ->z <= pMinZ + kTouch ||
           rMinZ->z >= pMaxZ - kTouch;
}

// The polygon's leaf, when every node above it holds its bounds: a box that meets the leaf is
// then walked down to it. -1 when not.
int LeafOf(const dtMeshTile& tile, int p) {
    const int count = tile.header->bvNodeCount;
    int leaf = -1;
    for (int k = 0; k < count && leaf < 0; ++k)
        if (tile.bvTree[k].i == p)
            leaf = k;
    if (leaf < 0)
        return -1;
    const dtBVNode& node = tile.bvTree[leaf];
    for (int k = 0; k < leaf; ++k) {
        const dtBVNode& above = tile.bvTree[k];
        if (above.i >= 0 || k - above.i <= leaf)
            continue;
        for (int axis = 0; axis < 3; ++axis)
            if (above.bmin[axis] > node.bmin[axis] || above.bmax[axis] < node.bmax[axis])
                return -1;
    }
    return leaf;
}

// Every tile has a tree, and stays within its grid place, in the range the float test holds.
bool Covered(const TileLayout& layout, std::vector<Point2>& shape) {
    const dtNavMeshParams& params = layout.Params();
    const double width = params.tileWidth, depth = params.tileHeight;
    if (!(width > 4 * kPlaceSlack) || !(depth > 4 * kPlaceSlack))
        return false;
    for (unsigned t = 0; t < layout.MaxTiles(); ++t) {
        const dtMeshTile& tile = layout.Tiles()[t];
        if (!tile.header || tile.header->polyCount == 0)
            continue;
        if (!tile.bvTree || tile.header->bvNodeCount <= 0)
            return false;
        const double minX = params.orig[0] + tile.header->x * width - kPlaceSlack;
        const double minZ = params.orig[2] + tile.header->y * depth - kPlaceSlack;
        const double maxX = minX + width + 2 * kPlaceSlack;
        const double maxZ = minZ + depth + 2 * kPlaceSlack;
        for (int p = 0; p < tile.header->polyCount; ++p) {
            ShapeOf(tile, p, shape);
            for (const Point2& q : shape)
                if (!(q.x >= minX && q.x <= maxX && q.z >= minZ && q.z <= maxZ &&
                      std::abs(q.x) <= kMaxCoordinate && std::abs(q.z) <= kMaxCoordinate))
                    return false;
        }
    }
    return true;
}

}  // namespace

void TileLayout::KeepInteriors() {
    std::vector<Point2> shape, other;
    if (!Covered(*this, shape))
        return;
    mInteriorStart.reserve(mCellStart.size());
    for (int z = 0; z < mDepth; ++z)
        for (int x = 0; x < mWidth; ++x) {
            mInteriorStart.push_back(static_cast<std::uint32_t>(mInteriors.size()));
            for (const dtMeshTile* tile : TilesAt(mMinX + x, mMinZ + z))
                for (int p = 0; p < tile->header->polyCount; ++p) {
                    Edges edges;
                    if (p >= tile->header->detailMeshCount ||
                        !EdgesOf(*tile, tile->polys[p], edges))
                        continue;
                    const int leaf = LeafOf(*tile, p);
                    if (leaf < 0)
                        continue;
                    ShapeOf(*tile, p, shape);
                    bool alone = true;
                    for (int nz = z - 1; nz <= z + 1 && alone; ++nz)
                        for (int nx = x - 1; nx <= x + 1 && alone; ++nx)
                            for (const dtMeshTile* near : TilesAt(mMinX + nx, mMinZ + nz))
                                for (int r = 0; r < near->header->polyCount && alone; ++r) {
                                    if (near == tile && r == p)
                                        continue;
                                    Edges rEdges;
                                    const bool convex = EdgesOf(*near, near->polys[r], rEdges);
                                    ShapeOf(*near, r, other);
                                    alone = Apart(edges, shape, convex ? &rEdges : nullptr, other);
                                }
                    if (!alone)
                        continue;
                    Interior& kept = mInteriors.emplace_back();
                    kept.tile = tile;
                    kept.poly = static_cast<std::uint32_t>(p);
                    kept.node = static_cast<std::uint32_t>(leaf);
                    kept.edges = edges.count;
                    for (int i = 0; i < edges.count; ++i) {
                        kept.planes[i][0] = static_cast<float>(edges.a[i]);
                        kept.planes[i][1] = static_cast<float>(edges.b[i]);
                        kept.planes[i][2] = static_cast<float>(edges.c[i]);
                    }
                    KeepSurfaces(kept);
                }
        }
    mInteriorStart.push_back(static_cast<std::uint32_t>(mInteriors.size()));
}

void TileLayout::KeepSurfaces(Interior& interior) {
    const dtMeshTile& tile = *interior.tile;
    const dtPoly& poly = tile.polys[interior.poly];
    const dtPolyDetail& detail = tile.detailMeshes[interior.poly];
    interior.firstSurface = static_cast<std::uint32_t>(mSurfaces.size());
    for (int j = 0; j < detail.triCount; ++j) {
        const unsigned char* t = &tile.detailTris[(detail.triBase + j) * 4];
        Surface s{};
        if (Surface::Make(DetailVertex(tile, poly, detail, t[0]),
                          DetailVertex(tile, poly, detail, t[1]),
                          DetailVertex(tile, poly, detail, t[2]), s))
            mSurfaces.push_back(s);
    }
    interior.surfaces = static_cast<std::uint32_t>(mSurfaces.size()) - interior.firstSurface;
}

}  // namespace GAME::navtiles
