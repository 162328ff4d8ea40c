#include "Engine/world/nav/TileQueries.h"

#include <DetourCommon.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>
#include <DetourNode.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Engine/Engine.h"

namespace GAME {

namespace {

// Detour's polygon ref lookups, inline: the mesh keeps its tiles in one array.
class TileRefs {
public:
    explicit TileRefs(const dtNavMesh& nav)
        : mNav(nav), mTiles(nav.getTile(0)), mMaxTiles(static_cast<unsigned>(nav.getMaxTiles())) {}
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
        const dtNavMeshParams& params = *mNav.getParams();
        x = static_cast<int>(std::floor((pos[0] - params.orig[0]) / params.tileWidth));
        z = static_cast<int>(std::floor((pos[2] - params.orig[2]) / params.tileHeight));
    }

private:
    const dtNavMesh& mNav;
    const dtMeshTile* mTiles;
    unsigned mMaxTiles;
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

const float* DetailVertex(const dtMeshTile& tile, const dtPoly& poly, const dtPolyDetail& detail,
                          unsigned char index) {
    return index < poly.vertCount
               ? &tile.verts[poly.verts[index] * 3]
               : &tile.detailVerts[(detail.vertBase + (index - poly.vertCount)) * 3];
}

int PolygonVerts(const dtMeshTile& tile, const dtPoly& poly, float* verts) {
    for (int i = 0; i < poly.vertCount; ++i)
        dtVcopy(&verts[i * 3], &tile.verts[poly.verts[i] * 3]);
    return poly.vertCount;
}

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
    float verts[DT_VERTS_PER_POLYGON * 3];
    const int n = PolygonVerts(tile, poly, verts);
    bool done = false;
    if (poly.getType() != DT_POLYTYPE_OFFMESH_CONNECTION) {
        over = dtPointInPolygon(c, verts, n);
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
    const float* tmin = header.bmin;
    const float* tmax = header.bmax;
    const float q = header.bvQuantFactor;
    const float minx = dtClamp(qmin[0], tmin[0], tmax[0]) - tmin[0];
    const float miny = dtClamp(qmin[1], tmin[1], tmax[1]) - tmin[1];
    const float minz = dtClamp(qmin[2], tmin[2], tmax[2]) - tmin[2];
    const float maxx = dtClamp(qmax[0], tmin[0], tmax[0]) - tmin[0];
    const float maxy = dtClamp(qmax[1], tmin[1], tmax[1]) - tmin[1];
    const float maxz = dtClamp(qmax[2], tmin[2], tmax[2]) - tmin[2];
    unsigned short bmin[3], bmax[3];
    bmin[0] = static_cast<unsigned short>(static_cast<unsigned short>(q * minx) & 0xfffe);
    bmin[1] = static_cast<unsigned short>(static_cast<unsigned short>(q * miny) & 0xfffe);
    bmin[2] = static_cast<unsigned short>(static_cast<unsigned short>(q * minz) & 0xfffe);
    bmax[0] = static_cast<unsigned short>(static_cast<unsigned short>(q * maxx + 1) | 1);
    bmax[1] = static_cast<unsigned short>(static_cast<unsigned short>(q * maxy + 1) | 1);
    bmax[2] = static_cast<unsigned short>(static_cast<unsigned short>(q * maxz + 1) | 1);
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

// The tiles the box covers, in Detour's order; false when one has no tree.
template <class Visit>
[[gnu::always_inline]] inline bool WalkTiles(const dtNavMesh& nav, const TileRefs& refs,
                                             const float* qmin, const float* qmax,
                                             const dtQueryFilter& filter, Visit&& visit) {
    int minx = 0, miny = 0, maxx = 0, maxy = 0;
    refs.TileAt(qmin, minx, miny);
    refs.TileAt(qmax, maxx, maxy);
    constexpr int kMaxTiles = 32;
    const dtMeshTile* tiles[kMaxTiles];
    bool stopped = false;
    for (int y = miny; y <= maxy && !stopped; ++y)
        for (int x = minx; x <= maxx && !stopped; ++x) {
            const int n = nav.getTilesAt(x, y, tiles, kMaxTiles);
            for (int j = 0; j < n && !stopped; ++j)
                if (!WalkTile(refs, *tiles[j], qmin, qmax, filter, stopped, visit))
                    return false;
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

int DetourStraight(const dtNavMeshQuery& query, const float* start, const float* end,
                   const std::uint32_t* corridor, int count, float* corners, int maxCorners) {
    int n = 0;
    if (dtStatusFailed(query.findStraightPath(start, end, corridor, count, corners, nullptr,
                                              nullptr, &n, maxCorners)))
        return 0;
    return n;
}

std::uint32_t NearestFromTiles(const dtNavMeshQuery& query, const float* center,
                               const float* extents, const dtQueryFilter& filter, float* nearest,
                               bool& over, bool& onIt) {
    onIt = false;
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!nav || !dtVisfinite(center) || !dtVisfinite(extents))
        return DetourNearest(query, center, extents, filter, nearest, over);
    float qmin[3], qmax[3];
    dtVsub(qmin, center, extents);
    dtVadd(qmax, center, extents);
    const TileRefs refs(*nav);
    NearestSoFar best{center};
    // Only a strictly nearer candidate replaces the first: none is nearer than 0.
    const auto weigh = [&](const dtMeshTile& tile, const dtPoly& poly, dtPolyRef ref) {
        Weigh(query, tile, poly, ref, best);
        return best.distance == 0;
    };
    if (!WalkTiles(*nav, refs, qmin, qmax, filter, weigh))
        return DetourNearest(query, center, extents, filter, nearest, over);
    if (best.ref && nearest)
        dtVcopy(nearest, best.point);
    over = best.ref && best.over;
    onIt = best.ref && best.distance == 0;
    return best.ref;
}

int CollectFromTiles(const dtNavMeshQuery& query, const float* center, const float* extents,
                     const dtQueryFilter& filter, std::uint32_t* refsOut, int maxRefs) {
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!nav || !dtVisfinite(center) || !dtVisfinite(extents) || maxRefs < 0)
        return -1;
    float qmin[3], qmax[3];
    dtVsub(qmin, center, extents);
    dtVadd(qmax, center, extents);
    const TileRefs refs(*nav);
    if (maxRefs == 0)
        return 0;
    int n = 0;
    // Detour goes on past a full list but takes nothing more.
    const auto take = [&](const dtMeshTile&, const dtPoly&, dtPolyRef ref) {
        refsOut[n++] = ref;
        return n == maxRefs;
    };
    return WalkTiles(*nav, refs, qmin, qmax, filter, take) ? n : -1;
}

// dtNavMeshQuery::closestPointOnPolyBoundary, which returns a point inside the polygon as it is.
bool OnOutlineOrInside(const dtNavMeshQuery& query, const TileRefs& refs, dtPolyRef ref,
                       const float* pos, float* out) {
    const dtMeshTile* tile = nullptr;
    const dtPoly* poly = nullptr;
    if (!refs.Get(ref, tile, poly))
        return false;
    float verts[DT_VERTS_PER_POLYGON * 3];
    if (dtPointInPolygon(pos, verts, PolygonVerts(*tile, *poly, verts))) {
        dtVcopy(out, pos);
        return true;
    }
    return dtStatusSucceed(query.closestPointOnPolyBoundary(ref, pos, out));
}

// The shared edge of two neighbours, narrowed to the part that lies in both at a tile border.
bool PortalBetween(const dtMeshTile& fromTile, const dtPoly& fromPoly, dtPolyRef to,
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

bool Portal(const TileRefs& refs, dtPolyRef from, dtPolyRef to, float* left, float* right) {
    const dtMeshTile* fromTile = nullptr;
    const dtPoly* fromPoly = nullptr;
    const dtMeshTile* toTile = nullptr;
    const dtPoly* toPoly = nullptr;
    return refs.Get(from, fromTile, fromPoly) && refs.Get(to, toTile, toPoly) &&
           PortalBetween(*fromTile, *fromPoly, to, *toPoly, left, right);
}

// The funnel over the corridor's portals. -1 where Detour's own answer is needed (an edge it
// handles apart or reports as a partial path).
int StraightFromTiles(const dtNavMeshQuery& query, const float* start, const float* end,
                      const std::uint32_t* corridor, int count, float* corners, int maxCorners,
                      bool startInside, bool endInside) {
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!nav || !start || !end || !dtVisfinite(start) || !dtVisfinite(end) || !corridor ||
        count <= 0 || !corridor[0] || maxCorners <= 0)
        return -1;
    float from[3], to[3];
    const TileRefs refs(*nav);
    // A point over its polygon is its own nearest point on it.
    if (startInside)
        dtVcopy(from, start);
    else if (!OnOutlineOrInside(query, refs, corridor[0], start, from))
        return -1;
    if (endInside)
        dtVcopy(to, end);
    else if (!OnOutlineOrInside(query, refs, corridor[count - 1], end, to))
        return -1;
    int n = 0;
    // False when the corners are complete: no room left, or the end reached.
    const auto append = [&](const float* p, bool isEnd) {
        if (n > 0 && dtVequal(&corners[(n - 1) * 3], p))
            return true;
        dtVcopy(&corners[n * 3], p);
        ++n;
        return n < maxCorners && !isEnd;
    };
    if (!append(from, false))
        return n;
    if (count > 1) {
        float apex[3], portalLeft[3], portalRight[3];
        dtVcopy(apex, from);
        dtVcopy(portalLeft, apex);
        dtVcopy(portalRight, apex);
        int apexIndex = 0, leftIndex = 0, rightIndex = 0;
        dtPolyRef leftRef = corridor[0], rightRef = corridor[0];
        for (int i = 0; i < count; ++i) {
            float left[3], right[3];
            if (i + 1 < count) {
                if (!Portal(refs, corridor[i], corridor[i + 1], left, right))
                    return -1;
                // Starting right at the first portal: go through it.
                float t = 0;
                if (i == 0 && dtDistancePtSegSqr2D(apex, left, right, t) < dtSqr(0.001f))
                    continue;
            } else {
                dtVcopy(left, to);
                dtVcopy(right, to);
            }
            if (dtTriArea2D(apex, portalRight, right) <= 0.0f) {
                if (dtVequal(apex, portalRight) || dtTriArea2D(apex, portalLeft, right) > 0.0f) {
                    dtVcopy(portalRight, right);
                    rightRef = i + 1 < count ? corridor[i + 1] : 0;
                    rightIndex = i;
                } else {
                    dtVcopy(apex, portalLeft);
                    apexIndex = leftIndex;
                    if (!append(apex, leftRef == 0))
                        return n;
                    dtVcopy(portalLeft, apex);
                    dtVcopy(portalRight, apex);
                    leftIndex = rightIndex = apexIndex;
                    i = apexIndex;
                    continue;
                }
            }
            if (dtTriArea2D(apex, portalLeft, left) >= 0.0f) {
                if (dtVequal(apex, portalLeft) || dtTriArea2D(apex, portalRight, left) < 0.0f) {
                    dtVcopy(portalLeft, left);
                    leftRef = i + 1 < count ? corridor[i + 1] : 0;
                    leftIndex = i;
                } else {
                    dtVcopy(apex, portalRight);
                    apexIndex = rightIndex;
                    if (!append(apex, rightRef == 0))
                        return n;
                    dtVcopy(portalLeft, apex);
                    dtVcopy(portalRight, apex);
                    leftIndex = rightIndex = apexIndex;
                    i = apexIndex;
                    continue;
                }
            }
        }
    }
    append(to, true);
    return n;
}

}  // namespace

std::uint32_t FindNearestPolygon(const dtNavMeshQuery& query, const float* center,
                                 const float* extents, const dtQueryFilter& filter, float* nearest,
                                 bool* over, bool* onIt) {
    bool above = false, atZero = false;
    const std::uint32_t ref =
        NearestFromTiles(query, center, extents, filter, nearest, above, atZero);
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
                    const dtQueryFilter& filter, std::uint32_t* refs, int maxRefs) {
    int n = CollectFromTiles(query, center, extents, filter, refs, maxRefs);
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
                  unsigned short& flagsB) {
    const LinkRefs refs(nav);
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

int FindStraightCorners(const dtNavMeshQuery& query, const float* start, const float* end,
                        const std::uint32_t* corridor, int count, float* corners, int maxCorners,
                        bool startInside, bool endInside) {
    int n = StraightFromTiles(query, start, end, corridor, count, corners, maxCorners, startInside,
                              endInside);
    if (n < 0)
        n = DetourStraight(query, start, end, corridor, count, corners, maxCorners);
#ifndef NDEBUG
    if (maxCorners > 0) {
        std::vector<float> expected(static_cast<std::size_t>(maxCorners) * 3);
        const int m =
            DetourStraight(query, start, end, corridor, count, expected.data(), maxCorners);
        if (m != n || std::memcmp(corners, expected.data(),
                                  static_cast<std::size_t>(n) * 3 * sizeof(float)) != 0) {
            gEngine->Log(0, "TileQueries: the straight path differs from Detour's");
            std::abort();
        }
    }
#endif
    return n;
}

namespace {

// Detour's heuristic scale: a little under the true distance.
constexpr float kHeuristicScale = 0.999f;

// Fibonacci hashing: the product's top bits depend on every bit of the polygon's tile and index.
std::size_t SlotHash(std::uint32_t ref, std::uint8_t state, std::size_t slots) {
    const std::uint64_t key = (static_cast<std::uint64_t>(state) << 32) | ref;
    return static_cast<std::size_t>(((key * 0x9E3779B97F4A7C15ull) >> 40) & (slots - 1));
}

}  // namespace

void CorridorSearch::Reset(int maxNodes) {
    if (mNodes.size() != static_cast<std::size_t>(maxNodes)) {
        mNodes.assign(static_cast<std::size_t>(maxNodes), Node{});
        mHeap.assign(static_cast<std::size_t>(maxNodes), 0);
        std::size_t slots = 1;
        while (slots < static_cast<std::size_t>(maxNodes) * 2)
            slots *= 2;
        mSlots.assign(slots, -1);
        mNodeCount = 0;
    }
    for (int i = 0; i < mNodeCount; ++i)
        mSlots[mNodes[static_cast<std::size_t>(i)].slot] = -1;
    mNodeCount = 0;
    mHeapSize = 0;
}

[[gnu::always_inline]] inline int CorridorSearch::GetNode(std::uint32_t ref, std::uint8_t state) {
    const std::size_t mask = mSlots.size() - 1;
    std::size_t slot = SlotHash(ref, state, mSlots.size());
    for (; mSlots[slot] >= 0; slot = (slot + 1) & mask) {
        const Node& node = mNodes[static_cast<std::size_t>(mSlots[slot])];
        if (node.id == ref && node.state == state)
            return mSlots[slot];
    }
    if (mNodeCount >= static_cast<int>(mNodes.size()))
        return -1;
    const int index = mNodeCount++;
    Node& node = mNodes[static_cast<std::size_t>(index)];
    node = Node{};
    node.id = ref;
    node.state = state;
    node.slot = static_cast<std::uint32_t>(slot);
    mSlots[slot] = index;
    return index;
}

// dtNodeQueue's binary heap, step for step: equal totals leave the nodes in its order.
[[gnu::always_inline]] inline void CorridorSearch::BubbleUp(int at, std::uint32_t node) {
    const float total = mNodes[node].total;
    int parent = (at - 1) / 2;
    while (at > 0 && mNodes[mHeap[static_cast<std::size_t>(parent)]].total > total) {
        const std::uint32_t moved = mHeap[static_cast<std::size_t>(parent)];
        mHeap[static_cast<std::size_t>(at)] = moved;
        mNodes[moved].heapAt = static_cast<std::uint32_t>(at);
        at = parent;
        parent = (at - 1) / 2;
    }
    mHeap[static_cast<std::size_t>(at)] = node;
    mNodes[node].heapAt = static_cast<std::uint32_t>(at);
}

void CorridorSearch::TrickleDown(int at, std::uint32_t node) {
    int child = at * 2 + 1;
    while (child < mHeapSize) {
        if (child + 1 < mHeapSize && mNodes[mHeap[static_cast<std::size_t>(child)]].total >
                                         mNodes[mHeap[static_cast<std::size_t>(child + 1)]].total)
            ++child;
        const std::uint32_t moved = mHeap[static_cast<std::size_t>(child)];
        mHeap[static_cast<std::size_t>(at)] = moved;
        mNodes[moved].heapAt = static_cast<std::uint32_t>(at);
        at = child;
        child = at * 2 + 1;
    }
    BubbleUp(at, node);
}

[[gnu::always_inline]] inline void CorridorSearch::Push(std::uint32_t node) {
    ++mHeapSize;
    BubbleUp(mHeapSize - 1, node);
}

std::uint32_t CorridorSearch::Pop() {
    const std::uint32_t top = mHeap[0];
    --mHeapSize;
    TrickleDown(0, mHeap[static_cast<std::size_t>(mHeapSize)]);
    return top;
}

std::uint32_t CorridorSearch::PathTo(std::uint32_t node, std::uint32_t* corridor, int* count,
                                     int maxCount) const {
    int length = 0;
    for (std::uint32_t n = node + 1; n != 0; n = mNodes[n - 1].parent)
        ++length;
    std::uint32_t at = node + 1;
    int written = length;
    for (; written > maxCount; --written)
        at = mNodes[at - 1].parent;
    for (int i = written - 1; i >= 0; --i) {
        corridor[i] = mNodes[at - 1].id;
        at = mNodes[at - 1].parent;
    }
    *count = length < maxCount ? length : maxCount;
    return length > maxCount ? DT_SUCCESS | DT_BUFFER_TOO_SMALL : DT_SUCCESS;
}

std::uint32_t CorridorSearch::Search(const dtNavMeshQuery& query, std::uint32_t startRef,
                                     std::uint32_t endRef, const float* startPos,
                                     const float* endPos, const dtQueryFilter& filter,
                                     std::uint32_t* corridor, int* count, int maxCount,
                                     bool& handled) {
    handled = false;
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!count || !nav || !query.getNodePool())
        return 0;
    const TileRefs refs(*nav);
    if (!refs.Valid(startRef) || !refs.Valid(endRef) || !startPos || !dtVisfinite(startPos) ||
        !endPos || !dtVisfinite(endPos) || !corridor || maxCount <= 0)
        return 0;
    handled = true;
    *count = 0;
    if (startRef == endRef) {
        corridor[0] = startRef;
        *count = 1;
        return DT_SUCCESS;
    }
    Reset(query.getNodePool()->getMaxNodes());
    const LinkRefs links(*nav);
    const std::uint32_t start = static_cast<std::uint32_t>(GetNode(startRef, 0));
    Node& first = mNodes[start];
    dtVcopy(first.pos, startPos);
    first.total = dtVdist(startPos, endPos) * kHeuristicScale;
    first.flags = DT_NODE_OPEN;
    Push(start);
    std::uint32_t lastBest = start;
    float lastBestCost = first.total;
    bool outOfNodes = false;
    const unsigned short include = filter.getIncludeFlags(), exclude = filter.getExcludeFlags();
    while (mHeapSize > 0) {
        const std::uint32_t bestIndex = Pop();
        Node& best = mNodes[bestIndex];
        best.flags = static_cast<std::uint8_t>((best.flags & ~DT_NODE_OPEN) | DT_NODE_CLOSED);
        if (best.id == endRef) {
            lastBest = bestIndex;
            break;
        }
        const dtPolyRef bestRef = best.id;
        const dtMeshTile* bestTile = nullptr;
        const dtPoly* bestPoly = nullptr;
        links.Get(bestRef, bestTile, bestPoly);
        const dtPolyRef parentRef = best.parent ? mNodes[best.parent - 1].id : 0;
        const float areaCost = filter.getAreaCost(bestPoly->getArea());
        for (unsigned int i = bestPoly->firstLink; i != DT_NULL_LINK; i = bestTile->links[i].next) {
            const dtLink& link = bestTile->links[i];
            const dtPolyRef ref = link.ref;
            if (!ref || ref == parentRef)
                continue;
            const dtMeshTile* tile = nullptr;
            const dtPoly* poly = nullptr;
            links.Get(ref, tile, poly);
            if ((poly->flags & include) == 0 || (poly->flags & exclude) != 0)
                continue;
            const std::uint8_t side =
                link.side != 0xff ? static_cast<std::uint8_t>(link.side >> 1) : 0;
            const int index = GetNode(ref, side);
            if (index < 0) {
                outOfNodes = true;
                continue;
            }
            Node& next = mNodes[static_cast<std::size_t>(index)];
            if (next.flags == 0) {
                float left[3], right[3];
                if (!PortalBetween(*bestTile, *bestPoly, ref, *poly, left, right)) {
                    handled = false;
                    return 0;
                }
                next.pos[0] = (left[0] + right[0]) * 0.5f;
                next.pos[1] = (left[1] + right[1]) * 0.5f;
                next.pos[2] = (left[2] + right[2]) * 0.5f;
            }
            float cost = 0, heuristic = 0;
            const float step = dtVdist(best.pos, next.pos) * areaCost;
            if (ref == endRef) {
                const float last = dtVdist(next.pos, endPos) * filter.getAreaCost(poly->getArea());
                cost = best.cost + step + last;
            } else {
                cost = best.cost + step;
                heuristic = dtVdist(next.pos, endPos) * kHeuristicScale;
            }
            const float total = cost + heuristic;
            if ((next.flags & (DT_NODE_OPEN | DT_NODE_CLOSED)) != 0 && total >= next.total)
                continue;
            next.parent = bestIndex + 1;
            next.flags = static_cast<std::uint8_t>(next.flags & ~DT_NODE_CLOSED);
            next.cost = cost;
            next.total = total;
            if (next.flags & DT_NODE_OPEN) {
                BubbleUp(static_cast<int>(next.heapAt), static_cast<std::uint32_t>(index));
            } else {
                next.flags |= DT_NODE_OPEN;
                Push(static_cast<std::uint32_t>(index));
            }
            if (heuristic < lastBestCost) {
                lastBestCost = heuristic;
                lastBest = static_cast<std::uint32_t>(index);
            }
        }
    }
    std::uint32_t status = PathTo(lastBest, corridor, count, maxCount);
    if (mNodes[lastBest].id != endRef)
        status |= DT_PARTIAL_RESULT;
    if (outOfNodes)
        status |= DT_OUT_OF_NODES;
    return status;
}

std::uint32_t CorridorSearch::Find(const dtNavMeshQuery& query, std::uint32_t startRef,
                                   std::uint32_t endRef, const float* startPos, const float* endPos,
                                   const dtQueryFilter& filter, std::uint32_t* corridor, int* count,
                                   int maxCount) {
    bool handled = false;
    std::uint32_t status = Search(query, startRef, endRef, startPos, endPos, filter, corridor,
                                  count, maxCount, handled);
    if (!handled)
        status =
            query.findPath(startRef, endRef, startPos, endPos, &filter, corridor, count, maxCount);
#ifndef NDEBUG
    if (count && corridor && maxCount > 0) {
        std::vector<dtPolyRef> expected(static_cast<std::size_t>(maxCount));
        int expectedCount = 0;
        const dtStatus expectedStatus = query.findPath(startRef, endRef, startPos, endPos, &filter,
                                                       expected.data(), &expectedCount, maxCount);
        if (expectedStatus != status || expectedCount != *count ||
            !std::equal(expected.begin(), expected.begin() + expectedCount, corridor)) {
            gEngine->Log(0, "TileQueries: the corridor differs from Detour's");
            std::abort();
        }
    }
#endif
    return status;
}

}  // namespace GAME
