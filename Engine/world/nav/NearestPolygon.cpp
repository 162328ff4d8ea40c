#include "Engine/world/nav/TileQueries.h"

#include <DetourCommon.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/world/nav/TileAccess.h"

namespace GAME {

namespace {

using navtiles::DetailVertex;
using navtiles::LinkRefs;
using navtiles::TileLayout;
using navtiles::TileRefs;

// The height of the detail triangle under a point inside the polygon; false when every triangle
// misses it (a point on an inner edge).
bool HeightInside(const dtMeshTile& tile, const dtPoly& poly, const float* pos, float& height) {
    const dtPolyDetail& detail = tile.detailMeshes[&poly - tile.polys];
    for (int j = 0; j < detail.triCount; ++j) {
        const unsigned char* t = &tile.detailTris[(detail.triBase + j) * 4];
        float h = 0;
        if (dtClosestHeightPointTriangle(pos, DetailVertex(tile, poly, detail, t[0]),
                                         DetailVertex(tile, poly, detail, t[1]),
                                         DetailVertex(tile, poly, detail, t[2]), h)) {
            height = h;
            return true;
        }
    }
    return false;
}

// The nearest point to `pos` on the polygon's outline, as its detail triangles' boundary edges
// draw it; false when it has none.
bool ClosestOnOutline(const dtMeshTile& tile, const dtPoly& poly, const float* pos,
                      float* closest) {
    const dtPolyDetail& detail = tile.detailMeshes[&poly - tile.polys];
    constexpr int kAnyBoundary =
        DT_DETAIL_EDGE_BOUNDARY | DT_DETAIL_EDGE_BOUNDARY << 2 | DT_DETAIL_EDGE_BOUNDARY << 4;
    float nearest = FLT_MAX, along = 0;
    const float* a = nullptr;
    const float* b = nullptr;
    for (int i = 0; i < detail.triCount; ++i) {
        const unsigned char* t = &tile.detailTris[(detail.triBase + i) * 4];
        if ((t[3] & kAnyBoundary) == 0)
            continue;
        const float* v[3] = {DetailVertex(tile, poly, detail, t[0]),
                             DetailVertex(tile, poly, detail, t[1]),
                             DetailVertex(tile, poly, detail, t[2])};
        for (int k = 0, j = 2; k < 3; j = k++) {
            if ((dtGetDetailTriEdgeFlags(t[3], j) & DT_DETAIL_EDGE_BOUNDARY) == 0)
                continue;
            float s = 0;
            const float d = dtDistancePtSegSqr2D(pos, v[j], v[k], s);
            if (d < nearest) {
                nearest = d;
                along = s;
                a = v[j];
                b = v[k];
            }
        }
    }
    if (!a)
        return false;
    dtVlerp(closest, a, b, along);
    return true;
}

struct NearestSoFar {
    const float* center;
    float distance = FLT_MAX;
    dtPolyRef ref = 0;
    float point[3] = {0, 0, 0};
    bool over = false;
};

// One candidate: its closest point to the centre and Detour's measure of it (a point over the
// polygon counts as on it within the tile's climb).
void Weigh(const dtNavMeshQuery& query, const dtMeshTile& tile, const dtPoly& poly, dtPolyRef ref,
           NearestSoFar& best) {
    const float* c = best.center;
    float closest[3];
    dtVcopy(closest, c);
    bool over = false;
    bool done = false;
    if (poly.getType() != DT_POLYTYPE_OFFMESH_CONNECTION) {
        over = navtiles::PointInPolygon(tile, poly, c);
        done = over ? HeightInside(tile, poly, c, closest[1])
                    : ClosestOnOutline(tile, poly, c, closest);
    }
    if (!done)
        query.closestPointOnPoly(ref, c, closest, &over);
    float diff[3];
    dtVsub(diff, c, closest);
    float d = 0;
    if (over) {
        d = dtAbs(diff[1]) - tile.header->walkableClimb;
        d = d > 0 ? d * d : 0;
    } else {
        d = dtVlenSqr(diff);
    }
    if (d < best.distance) {
        dtVcopy(best.point, closest);
        best.distance = d;
        best.ref = ref;
        best.over = over;
    }
}

// The box in the tile's bounding-volume units, as Detour rounds it.
[[gnu::always_inline]] inline void QuantizedBox(const dtMeshHeader& header, const float* qmin,
                                                const float* qmax, unsigned short* bmin,
                                                unsigned short* bmax) {
    const float* tmin = header.bmin;
    const float* tmax = header.bmax;
    const float q = header.bvQuantFactor;
    const float minx = dtClamp(qmin[0], tmin[0], tmax[0]) - tmin[0];
    const float miny = dtClamp(qmin[1], tmin[1], tmax[1]) - tmin[1];
    const float minz = dtClamp(qmin[2], tmin[2], tmax[2]) - tmin[2];
    const float maxx = dtClamp(qmax[0], tmin[0], tmax[0]) - tmin[0];
    const float maxy = dtClamp(qmax[1], tmin[1], tmax[1]) - tmin[1];
    const float maxz = dtClamp(qmax[2], tmin[2], tmax[2]) - tmin[2];
    bmin[0] = static_cast<unsigned short>(static_cast<unsigned short>(q * minx) & 0xfffe);
    bmin[1] = static_cast<unsigned short>(static_cast<unsigned short>(q * miny) & 0xfffe);
    bmin[2] = static_cast<unsigned short>(static_cast<unsigned short>(q * minz) & 0xfffe);
    bmax[0] = static_cast<unsigned short>(static_cast<unsigned short>(q * maxx + 1) | 1);
    bmax[1] = static_cast<unsigned short>(static_cast<unsigned short>(q * maxy + 1) | 1);
    bmax[2] = static_cast<unsigned short>(static_cast<unsigned short>(q * maxz + 1) | 1);
}

// Visits the tile's polygons that overlap the box and pass the filter, in the order of its
// bounding-volume tree, until `visit` says stop; false for a tile without a tree.
template <class Visit>
[[gnu::always_inline]] inline bool WalkTile(const TileRefs& refs, const dtMeshTile& tile,
                                            const float* qmin, const float* qmax,
                                            const dtQueryFilter& filter, bool& stopped,
                                            Visit&& visit) {
    const dtMeshHeader& header = *tile.header;
    if (!tile.bvTree)
        return header.polyCount == 0;
    unsigned short bmin[3], bmax[3];
    QuantizedBox(header, qmin, qmax, bmin, bmax);
    const dtPolyRef base = refs.Base(tile);
    const dtBVNode* node = tile.bvTree;
    const dtBVNode* const end = tile.bvTree + header.bvNodeCount;
    while (node < end) {
        const bool overlap = dtOverlapQuantBounds(bmin, bmax, node->bmin, node->bmax);
        const bool leaf = node->i >= 0;
        if (leaf && overlap) {
            const dtPoly& poly = tile.polys[node->i];
            // dtQueryFilter's own test, which the library keeps to itself.
            if ((poly.flags & filter.getIncludeFlags()) != 0 &&
                (poly.flags & filter.getExcludeFlags()) == 0 &&
                visit(tile, poly, base | static_cast<dtPolyRef>(node->i))) {
                stopped = true;
                return true;
            }
        }
        node += overlap || leaf ? 1 : -node->i;
    }
    return true;
}

// The tiles the box covers, in Detour's order; false when one has no tree. With the mesh's
// layout the places past its tiles are passed over: Detour has no tiles there.
template <class Visit>
[[gnu::always_inline]] inline bool WalkTiles(const dtNavMesh& nav, const TileLayout* layout,
                                             const TileRefs& refs, const float* qmin,
                                             const float* qmax, const dtQueryFilter& filter,
                                             Visit&& visit) {
    int minx = 0, miny = 0, maxx = 0, maxy = 0;
    refs.TileAt(qmin, minx, miny);
    refs.TileAt(qmax, maxx, maxy);
    if (layout)
        layout->Clamp(minx, miny, maxx, maxy);
    constexpr int kMaxTiles = TileLayout::kMaxTilesAt;
    const dtMeshTile* tiles[kMaxTiles];
    const auto tilesAt = [&](int x, int y) -> std::span<const dtMeshTile* const> {
        if (!layout)
            return {tiles, static_cast<std::size_t>(nav.getTilesAt(x, y, tiles, kMaxTiles))};
        const std::span<const dtMeshTile* const> kept = layout->TilesAt(x, y);
#ifndef NDEBUG
        const int n = nav.getTilesAt(x, y, tiles, kMaxTiles);
        if (static_cast<std::size_t>(n) != kept.size() ||
            !std::equal(kept.begin(), kept.end(), tiles)) {
            gEngine->Log(0, "TileQueries: the tiles kept at a grid place differ from Detour's");
            std::abort();
        }
#endif
        return kept;
    };
    bool stopped = false;
    for (int y = miny; y <= maxy && !stopped; ++y)
        for (int x = minx; x <= maxx && !stopped; ++x)
            for (const dtMeshTile* tile : tilesAt(x, y)) {
                if (!WalkTile(refs, *tile, qmin, qmax, filter, stopped, visit))
                    return false;
                if (stopped)
                    break;
            }
    return true;
}

std::uint32_t DetourNearest(const dtNavMeshQuery& query, const float* center, const float* extents,
                            const dtQueryFilter& filter, float* nearest, bool& over) {
    dtPolyRef ref = 0;
    over = false;
    if (dtStatusFailed(query.findNearestPoly(center, extents, &filter, &ref, nearest, &over)))
        return 0;
    return ref;
}

// The answer when the centre lies well inside a polygon no other comes near (an interior): that
// polygon, if the walk reaches it and finds the centre within the climb of its surface, as it
// then stops there. False for the walk to decide. The box must not be inverted over x and z, so
// that the walk takes in the centre's grid place.
bool NearestInside(const TileLayout& layout, const TileRefs& refs, const float* center,
                   const float* qmin, const float* qmax, const dtQueryFilter& filter,
                   NearestSoFar& best) {
    int x = 0, z = 0;
    refs.TileAt(center, x, z);
    for (const TileLayout::Interior& interior : layout.InteriorsAt(x, z)) {
        if (!interior.Holds(center))
            continue;
        // No other interior holds the centre: this one answers or the walk does.
        const dtMeshTile& tile = *interior.tile;
        const dtPoly& poly = tile.polys[interior.poly];
        if ((poly.flags & filter.getIncludeFlags()) == 0 ||
            (poly.flags & filter.getExcludeFlags()) != 0)
            return false;
        unsigned short bmin[3], bmax[3];
        QuantizedBox(*tile.header, qmin, qmax, bmin, bmax);
        const dtBVNode& leaf = tile.bvTree[interior.node];
        float height = 0;
        if (!dtOverlapQuantBounds(bmin, bmax, leaf.bmin, leaf.bmax) ||
            !layout.HeightOver(interior, center, height) ||
            dtAbs(center[1] - height) - tile.header->walkableClimb > 0)
            return false;
        best.ref = refs.Base(tile) | static_cast<dtPolyRef>(interior.poly);
        best.distance = 0;
        best.over = true;
        dtVset(best.point, center[0], height, center[2]);
        return true;
    }
    return false;
}

std::uint32_t NearestFromTiles(const dtNavMeshQuery& query, const TileLayout* layout,
                               const float* center, const float* extents,
                               const dtQueryFilter& filter, float* nearest, bool& over,
                               bool& onIt) {
    onIt = false;
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!nav || !dtVisfinite(center) || !dtVisfinite(extents))
        return DetourNearest(query, center, extents, filter, nearest, over);
    float qmin[3], qmax[3];
    dtVsub(qmin, center, extents);
    dtVadd(qmax, center, extents);
    const TileRefs refs = layout ? TileRefs(*layout) : TileRefs(*nav);
    NearestSoFar best{center};
    // Only a strictly nearer candidate replaces the first: none is nearer than 0.
    const auto walk = [&](NearestSoFar& into) {
        return WalkTiles(*nav, layout, refs, qmin, qmax, filter,
                         [&](const dtMeshTile& tile, const dtPoly& poly, dtPolyRef ref) {
                             Weigh(query, tile, poly, ref, into);
                             return into.distance == 0;
                         });
    };
    const bool inside = layout && extents[0] >= 0 && extents[2] >= 0 &&
                        NearestInside(*layout, refs, center, qmin, qmax, filter, best);
#ifndef NDEBUG
    NearestSoFar walked{center};
    if (inside && (!walk(walked) || walked.ref != best.ref || walked.distance != 0 ||
                   !walked.over || std::memcmp(walked.point, best.point, sizeof best.point) != 0)) {
        gEngine->Log(0, "TileQueries: an interior's nearest polygon differs from the walk's");
        std::abort();
    }
#endif
    if (!inside && !walk(best))
        return DetourNearest(query, center, extents, filter, nearest, over);
    if (best.ref && nearest)
        dtVcopy(nearest, best.point);
    over = best.ref && best.over;
    onIt = best.ref && best.distance == 0;
    return best.ref;
}

int CollectFromTiles(const dtNavMeshQuery& query, const TileLayout* layout, const float* center,
                     const float* extents, const dtQueryFilter& filter, std::uint32_t* refsOut,
                     int maxRefs) {
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!nav || !dtVisfinite(center) || !dtVisfinite(extents) || maxRefs < 0)
        return -1;
    float qmin[3], qmax[3];
    dtVsub(qmin, center, extents);
    dtVadd(qmax, center, extents);
    const TileRefs refs = layout ? TileRefs(*layout) : TileRefs(*nav);
    if (maxRefs == 0)
        return 0;
    int n = 0;
    // Detour goes on past a full list but takes nothing more.
    const auto take = [&](const dtMeshTile&, const dtPoly&, dtPolyRef ref) {
        refsOut[n++] = ref;
        return n == maxRefs;
    };
    return WalkTiles(*nav, layout, refs, qmin, qmax, filter, take) ? n : -1;
}

}  // namespace

std::uint32_t FindNearestPolygon(const dtNavMeshQuery& query, const float* center,
                                 const float* extents, const dtQueryFilter& filter, float* nearest,
                                 bool* over, bool* onIt, const navtiles::TileLayout* layout) {
    bool above = false, atZero = false;
    const std::uint32_t ref =
        NearestFromTiles(query, layout, center, extents, filter, nearest, above, atZero);
#ifndef NDEBUG
    float expected[3] = {center[0], center[1], center[2]};
    bool expectedAbove = false;
    const std::uint32_t expectedRef =
        DetourNearest(query, center, extents, filter, expected, expectedAbove);
    if (ref != expectedRef ||
        (ref != 0 && ((nearest && std::memcmp(nearest, expected, sizeof expected) != 0) ||
                      above != expectedAbove))) {
        gEngine->Log(0, "TileQueries: the nearest polygon differs from Detour's");
        std::abort();
    }
#endif
    if (over)
        *over = above;
    if (onIt)
        *onIt = atZero;
    return ref;
}

int CollectPolygons(const dtNavMeshQuery& query, const float* center, const float* extents,
                    const dtQueryFilter& filter, std::uint32_t* refs, int maxRefs,
                    const navtiles::TileLayout* layout) {
    int n = CollectFromTiles(query, layout, center, extents, filter, refs, maxRefs);
    if (n < 0) {
        n = 0;
        if (dtStatusFailed(query.queryPolygons(center, extents, &filter, refs, &n, maxRefs)))
            n = 0;
    }
#ifndef NDEBUG
    std::vector<dtPolyRef> expected(static_cast<std::size_t>(std::max(maxRefs, 1)));
    int m = 0;
    if (dtStatusFailed(query.queryPolygons(center, extents, &filter, expected.data(), &m, maxRefs)))
        m = 0;
    if (m != n || !std::equal(expected.begin(), expected.begin() + m, refs)) {
        gEngine->Log(0, "TileQueries: the polygons in a box differ from Detour's");
        std::abort();
    }
#endif
    return n;
}

void PolygonFlags(const dtNavMesh& nav, std::uint32_t a, std::uint32_t b, unsigned short& flagsA,
                  unsigned short& flagsB, const navtiles::TileLayout* layout) {
    const LinkRefs refs = layout ? layout->Links() : LinkRefs(nav);
    const dtMeshTile* tile = nullptr;
    const dtPoly* poly = nullptr;
    refs.Get(a, tile, poly);
    flagsA = poly->flags;
    refs.Get(b, tile, poly);
    flagsB = poly->flags;
#ifndef NDEBUG
    unsigned short expectedA = 0, expectedB = 0;
    if (dtStatusFailed(nav.getPolyFlags(a, &expectedA)) ||
        dtStatusFailed(nav.getPolyFlags(b, &expectedB)) || expectedA != flagsA ||
        expectedB != flagsB) {
        gEngine->Log(0, "TileQueries: polygon flags differ from Detour's");
        std::abort();
    }
#endif
}

}  // namespace GAME
