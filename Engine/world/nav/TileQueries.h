#pragma once
// Two of Detour's queries answered straight from its tiles, without its general machinery (ref
// checks, batches, boundary clamps of points already inside): the same candidates in the same
// order and the same arithmetic, so the same answers to the bit. What they do not expect (points
// not finite, off-mesh connections) goes to Detour itself.
#include <cstdint>

#include "Engine/world/nav/CorridorSearch.h"

class dtNavMesh;
class dtNavMeshQuery;
class dtQueryFilter;

namespace GAME {

namespace navtiles {
class TileLayout;
}

// dtNavMeshQuery::findNearestPoly: the polygon nearest to the centre within the extents and the
// nearest point on it (written only when there is one); 0 when none. `over`: whether the centre
// lies over that polygon (the nearest point then has its x and z). `onIt`: whether the polygon
// is at Detour's distance 0 from the centre: the first such is the answer, and any polygon at 0
// holds the centre within its bounds, so a box of the same height at least as wide around the
// same centre gives the same answer. `layout`: the mesh's (NavMesh::GetTileLayout), or null.
std::uint32_t FindNearestPolygon(const dtNavMeshQuery& query, const float* center,
                                 const float* extents, const dtQueryFilter& filter, float* nearest,
                                 bool* over = nullptr, bool* onIt = nullptr,
                                 const navtiles::TileLayout* layout = nullptr);

// dtNavMeshQuery::queryPolygons: the first `maxRefs` polygons within the extents of the centre
// that pass the filter, in Detour's order.
int CollectPolygons(const dtNavMeshQuery& query, const float* center, const float* extents,
                    const dtQueryFilter& filter, std::uint32_t* refs, int maxRefs,
                    const navtiles::TileLayout* layout = nullptr);

// dtNavMesh::getPolyFlags of two polygons, whose refs a query of this mesh found.
void PolygonFlags(const dtNavMesh& nav, std::uint32_t a, std::uint32_t b, unsigned short& flagsA,
                  unsigned short& flagsB, const navtiles::TileLayout* layout = nullptr);

// dtNavMeshQuery::findStraightPath without options: the corners of the corridor's path from
// start to end, at most `maxCorners`; 0 when it fails. `startInside`/`endInside` say that an end
// is known to lie over its polygon (FindNearestPolygon's `over` for it).
int FindStraightCorners(const dtNavMeshQuery& query, const float* start, const float* end,
                        const std::uint32_t* corridor, int count, float* corners, int maxCorners,
                        bool startInside = false, bool endInside = false,
                        const navtiles::TileLayout* layout = nullptr);

}  // namespace GAME
