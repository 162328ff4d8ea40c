#pragma once
// The ground of a region: a triangle mesh in the region's space with a surface kind per triangle,
// filed in a grid over x and z so that floor and ray queries touch only nearby triangles.
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "Engine/world/WorldShapes.h"

namespace GAME {

// The box a ground is kept to (its region's bounds, in the region's space).
struct GroundBounds {
    Vec3 min, max;
};

class GroundMesh {
public:
    // No coordinate of a ground lies farther from its region's origin.
    static constexpr float kMaxCoordinate = 100000.0f;
    // The grid entries all triangles together may take (a triangle is filed in every cell its
    // box covers): a few huge triangles must not take gigabytes.
    static constexpr std::size_t kMaxCellEntries = std::size_t{1} << 21;

    void AddTriangle(const Vec3& a, const Vec3& b, const Vec3& c, PhysicsSurface surface);
    // Files the triangles; call after the last AddTriangle. Past kMaxCellEntries it files none
    // and answers the index of the triangle that went past the bound (else the triangle count).
    std::size_t Finish();

    // Reads a Wavefront OBJ file: "v" and "f" lines (polygons are fanned into triangles, negative
    // indices count from the end), "usemtl <kind>" names the surface of the faces that follow
    // (grass, dirt, sand, snow, stone, wood, water; anything else is no kind). Faces wholly
    // outside `bounds` are left out. False with the reason (file and line) when the file cannot
    // be read, a vertex is not finite or lies past kMaxCoordinate, a face names a vertex that
    // does not exist, or the faces cover too many grid cells.
    bool LoadObj(const std::filesystem::path& path, std::string& error,
                 const GroundBounds* bounds = nullptr);

    // The highest upward-facing ground under (x, z) whose height is at most p.y + reach.
    bool FloorBelow(const Vec3& p, float& height, PhysicsSurface* surface,
                    float reach = kFloorReach) const;
    // The ground under or over (x, z) nearest in height to p.y.
    bool NearestFloor(const Vec3& p, float& height) const;
    // The nearest triangle hit within maxDistance whose surface kind is at most surfaceFilter.
    bool Raycast(const Vec3& origin, const Vec3& direction, float maxDistance, int surfaceFilter,
                 WorldIntersection& hit) const;

    const std::vector<Vec3>& GetVertices() const { return mVertices; }
    const std::vector<int>& GetIndices() const { return mIndices; }
    const std::vector<PhysicsSurface>& GetSurfaces() const { return mSurfaces; }
    std::size_t GetTriangleCount() const { return mSurfaces.size(); }
    const Vec3& GetBoundsMin() const { return mMin; }
    const Vec3& GetBoundsMax() const { return mMax; }

    // How far above a point the floor search starts, so a point a little under the ground is
    // lifted back onto it.
    static constexpr float kFloorReach = 0.5f;

private:
    // FloorBelow's search: the highest upward-facing ground under (x, z) at most `top` high
    // (`best` starts below every height).
    bool ScanFloor(const Vec3& p, float top, float& best, PhysicsSurface& bestSurface) const;
    template <class Visit>
    void ForEachTriangleUnder(float x, float z, Visit&& visit) const;
    bool CellOf(float x, float z, int& cx, int& cz) const;
    // The first and last grid cells a triangle's box covers.
    void TriangleCells(std::uint32_t t, int& x0, int& z0, int& x1, int& z1) const;

    std::vector<Vec3> mVertices;
    std::vector<int> mIndices;
    std::vector<PhysicsSurface> mSurfaces;
    Vec3 mMin{kInfinity, kInfinity, kInfinity};
    Vec3 mMax{-kInfinity, -kInfinity, -kInfinity};
    float mCellSize = 4.0f;
    int mCellsX = 0, mCellsZ = 0;
    std::vector<std::uint32_t> mCellStart;  // mCellsX * mCellsZ + 1 offsets into mCellTriangles
    std::vector<std::uint32_t> mCellTriangles;
    // What a floor query computes of a triangle before it looks at the point, by triangle:
    // characters ask for the floor under them all the time.
    struct FloorBox {
        // Widened x/z box outside which the triangle cannot hold the point (+-infinity when
        // its shape makes that bound unsafe).
        float minX, maxX, minZ, maxZ;
    };
    struct FloorTriangle {
        // The edge terms and determinant of the barycentric weights, and the corner heights.
        float bz_cz, cx_bx, cz_az, ax_cx, det;
        float cx, cz, ay, by, cy;
        bool faces_up;
    };
    static void MakeFloorTriangle(const Vec3& a, const Vec3& b, const Vec3& c, FloorBox& box,
                                  FloorTriangle& f);
    // Each cell split mFloorSplit x mFloorSplit: a part lists, in the cell's order, the cell's
    // triangles whose widened box reaches it (a little beyond it, for rounding), so a floor
    // query tests a few boxes instead of all the cell's. The finest split (halving from
    // kFineFloorSplit) with at most kMaxFloorParts parts: a crowd asks for floors all over a
    // wide ground in no order, and tables past the cache cost each query two misses, far more
    // than a few more boxes tested.
    static constexpr int kFineFloorSplit = 8;
    static constexpr std::size_t kMaxFloorParts = std::size_t{1} << 15;
    int mFloorSplit = kFineFloorSplit;
    bool FloorPartOf(float x, float z, std::size_t& part) const;
    std::vector<FloorBox> mFloorBoxes;
    std::vector<FloorTriangle> mFloors;
    std::vector<std::uint32_t> mFloorPartStart;  // cells * mFloorSplit^2 + 1 offsets
    std::vector<std::uint32_t> mFloorPartTriangles;
    // A ray's terms of each triangle (its first corner and the two edges from it, as the ray
    // test works them out), by triangle: one read instead of an index and three corners.
    struct RayTriangle {
        Vec3 a, e1, e2;
        int surface;
    };
    std::vector<RayTriangle> mRayTriangles;
    // Per cell, the highest corner of its triangles (+infinity past any doubt): a ray that
    // passes over a cell above all of them meets none there.
    std::vector<float> mCellTop;
    // FloorBelow's last answers, by the bits of x and z: a place's floor is asked for again and
    // again (a slot's, then a path's end over it). Emptied by Finish. Four to a cache line, none
    // across two: a wide crowd's probes miss the cache, each line a miss. The lowest bits of x
    // pick the slot along with the hash, so the entry keeps the surface in their place.
    struct FloorMemo {
        std::uint32_t xAndSurface = 0;  // x's bits but the lowest kFloorMemoXBits: the surface
        std::uint32_t z = 0;
        // The query's p.y + reach; NaN while empty (no top is at most it).
        float top = std::numeric_limits<float>::quiet_NaN();
        float height = 0;  // NaN: no floor at most `top` high
    };
    static constexpr std::uint32_t kFloorMemoXBits = 3;
    // The slot of (x, z) in a memo of `size` (a power of two, at least 2^kFloorMemoXBits).
    static std::size_t FloorMemoSlot(std::uint32_t x, std::uint32_t z, std::size_t size);
    // At least kFloorMemo, and more for a wide ground (see Finish); a power of two.
    static constexpr std::size_t kFloorMemo = 8192;
    mutable std::vector<FloorMemo> mFloorMemo;
};

// The length of a memo of places a crowd asks for over `area` square metres of ground (the
// ground's floors, the meshes' nearest polygons): at least `least` (a power of two), and more
// for a wider ground, where a crowd of the same density asks for as many more places.
std::size_t PlaceMemoSize(float area, std::size_t least);

// The surface kind an OBJ material names (case-insensitive); None for an unknown name.
PhysicsSurface SurfaceFromName(const std::string& name);

}  // namespace GAME
