#include "Engine/world/nav/TileQueries.h"

#include <DetourCommon.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/world/nav/TileAccess.h"

namespace GAME {

namespace {

using navtiles::PolygonVerts;
using navtiles::PortalBetween;
using navtiles::TileRefs;

int DetourStraight(const dtNavMeshQuery& query, const float* start, const float* end,
                   const std::uint32_t* corridor, int count, float* corners, int maxCorners) {
    int n = 0;
    if (dtStatusFailed(query.findStraightPath(start, end, corridor, count, corners, nullptr,
                                              nullptr, &n, maxCorners)))
        return 0;
    return n;
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
int StraightFromTiles(const dtNavMeshQuery& query, const navtiles::TileLayout* layout,
                      const float* start, const float* end, const std::uint32_t* corridor,
                      int count, float* corners, int maxCorners, bool startInside, bool endInside) {
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!nav || !start || !end || !dtVisfinite(start) || !dtVisfinite(end) || !corridor ||
        count <= 0 || !corridor[0] || maxCorners <= 0)
        return -1;
    float from[3], to[3];
    const TileRefs refs = layout ? TileRefs(*layout) : TileRefs(*nav);
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

int FindStraightCorners(const dtNavMeshQuery& query, const float* start, const float* end,
                        const std::uint32_t* corridor, int count, float* corners, int maxCorners,
                        bool startInside, bool endInside, const navtiles::TileLayout* layout) {
    int n = StraightFromTiles(query, layout, start, end, corridor, count, corners, maxCorners,
                              startInside, endInside);
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

}  // namespace GAME
