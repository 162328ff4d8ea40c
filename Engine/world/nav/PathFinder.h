#pragma once
// Paths and free places over the navigation meshes of the loaded level: one Detour mesh per
// region and pathing size. Paths stay inside one region.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/world/Region.h"
#include "Engine/world/nav/NavMesh.h"
#include "Engine/world/nav/Path.h"
#include "Engine/world/nav/TileQueries.h"

class dtQueryFilter;

namespace GAME {

class DynamicObstacle;
class GroundMesh;

class PathFinder {
public:
    PathFinder();
    ~PathFinder();
    PathFinder(const PathFinder&) = delete;
    PathFinder& operator=(const PathFinder&) = delete;

    // The path finder of the current machine's world.
    static PathFinder& Get();

    void SetNavMesh(Region* region, int pathingSize, std::unique_ptr<NavMesh> mesh);
    const NavMesh* GetNavMesh(const Region* region, int pathingSize) const;
    // Drops every mesh (obstacles still attached are detached first).
    void Clear();

    std::unique_ptr<Path> FindPath(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                                   const PathGenerationParams& params, int maxCorners);
    // The same search written into `out`'s storage; false (out untouched) when there is none.
    bool FindPath(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                  const PathGenerationParams& params, int maxCorners, Path& out);
    // FindPath up to the straight path: `out` holds the corridor and the corners as the funnel
    // gave them, unmerged and off the ground, until FinishPath makes it FindPath's path. A caller
    // that only asks whether the path would do skips the rest.
    std::unique_ptr<Path> FindUnfinishedPath(int pathingSize, const WorldVec3& from,
                                             const WorldVec3& to,
                                             const PathGenerationParams& params, int maxCorners,
                                             UnfinishedPathEnds& ends);
    // FindUnfinishedPath into the path finder's own path, good until the next unfinished search;
    // null when there is none. A caller that keeps most answers for a moment and drops them
    // (a crowd's reach checks) hands no storage back and forth.
    Path* SearchUnfinished(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                           const PathGenerationParams& params, int maxCorners,
                           UnfinishedPathEnds& ends);
    // Swaps the path SearchUnfinished left into `kept` (a spare when empty): what `kept` held is
    // the storage of the next search.
    void KeepUnfinished(std::unique_ptr<Path>& kept);
    // Merges and grounds an unfinished path's corners, with the parameters it was found with.
    void FinishPath(Path& path, const PathGenerationParams& params);
    // Whether FindPath between the points would read the polygons' flags: it does not when it
    // finds no polygon for an end, or both ends lie in one polygon. Its answer then stays the
    // same whatever obstacles stand meanwhile.
    bool ReadsFlags(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                    const PathGenerationParams& params);
    // Whether a search from the point finds a polygon to start from. Without one every search
    // from there fails, whatever its goal, while GetMeshVersion stays the same.
    bool FindsStart(int pathingSize, const WorldVec3& from, const PathGenerationParams& params);
    // Takes back a path nobody follows any more: the next search reuses its storage.
    void Recycle(std::unique_ptr<Path> path);
    // A copy of the path in recycled storage.
    std::unique_ptr<Path> Copy(const Path& path);
    // True when an agent of the size cannot stand at the point: off its mesh (in a wall, in
    // water, off the ground) or inside an attached obstacle.
    bool TestPointCollide(const WorldVec3& point, int pathingSize = 0);
    // TestPointCollide in its two halves. Whether a point is off the mesh of a size depends on
    // the meshes alone, so a caller may keep the answer while GetMeshVersion stays the same;
    // obstacles come and go every frame.
    bool IsOffMesh(const WorldVec3& point, int pathingSize);
    bool IsInsideObstacle(const WorldVec3& point, int pathingSize) const;
    // Changes whenever a mesh is set or the meshes are dropped.
    std::uint64_t GetMeshVersion() const { return mMeshVersion; }
    // Changes whenever an obstacle other than a passing one comes or goes; 0 while a passing
    // one stands. Searches under one non-zero reading and one mesh version close the same
    // polygons.
    std::uint64_t GetClosedVersion() const { return mPassingAttached > 0 ? 0 : mClosedVersion; }
    // How far an agent gets walking straight from `from` towards `to`: `to` itself (on the mesh)
    // when nothing is in the way, else the point where the walk is stopped; `from` when it is
    // not on the mesh.
    WorldVec3 GetFurthestPoint(int pathingSize, const WorldVec3& from, const WorldVec3& to);
    // One free place per clearance radius around the centre, each reachable in a straight walk
    // from it (out of an obstacle the centre stands in, into none), clear of walls, obstacles and
    // each other by the sum of their radii, and of the places handed out since the last
    // ClearFillData in this frame of game time. With `firstAtCenter` the first place is the centre
    // itself. `out` gets the places found; true when every radius got one.
    bool FillPointSet(const WorldVec3& center, const std::vector<float>& radii,
                      std::vector<WorldVec3>& out, bool firstAtCenter);
    void ClearFillData() { mFillData.clear(); }

    // Obstacles that stand while one search runs (a character stepping round those ahead), made
    // on first use and kept, with the polygons they closed, for every later search. Their
    // polygons are closed when a search first reads the flags (GetNavMesh's flags may lag).
    DynamicObstacle& PassingObstacle(std::size_t index);

    void AttachObstacle(DynamicObstacle* obstacle);
    void DetachObstacle(DynamicObstacle* obstacle);
    std::size_t GetObstacleCount() const { return mObstacles.size(); }

    // Polygon flags: walkable, and closed by an obstacle.
    static constexpr unsigned short kFlagWalk = 1;
    static constexpr unsigned short kFlagClosed = 2;

private:
    struct RegionMeshes {
        Region* region = nullptr;
        std::array<std::unique_ptr<NavMesh>, kPathingSizeCount> sizes;
    };
    struct FillPoint {
        Region* region;
        Vec3 at;
        float radius;
    };
    NavMesh* Mesh(const Region* region, int pathingSize) const;
    // The polygon under the point and the nearest point on it; 0 when none within the extents.
    // `over`: whether the point lies over the polygon (the nearest point has its x and z).
    std::uint32_t Nearest(const NavMesh& mesh, const Vec3& p, const float* extents,
                          const dtQueryFilter& filter, Vec3& onMesh, bool* over = nullptr) const;
    // A recycled path's storage, else a new path.
    std::unique_ptr<Path> TakeSpare();
    // The polygons a search starts and ends in and the points on them, as Straight looks them
    // up; false when it finds none (nor a path).
    struct SearchEnds {
        NavMesh* mesh = nullptr;
        std::uint32_t startRef = 0, goalRef = 0;
        Vec3 start, goal;
        bool startOver = false, goalOver = false;
        // Both in one polygon: the corridor is that polygon, found without reading flags.
        bool Within() const;
    };
    bool FindEnds(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                  const PathGenerationParams& params, SearchEnds& ends);
    // FindPath's search: the straight path's corners in mStraight and the corridor in mPolys;
    // 0 corners when there is no path.
    int Straight(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                 const PathGenerationParams& params, int maxCorners, int& polygons,
                 float endWithin = -1.0f);
    // Whether every path between the ends would end further than `within` from `to`: the goal's
    // polygon lies on another part of the mesh than the start's, all of which lies lower than
    // `to` by more, its points grounded.
    bool EndsBelowReach(const SearchEnds& ends, const WorldVec3& to, float within) const;
#ifndef NDEBUG
    // Aborts unless the search skipped for `within` finds no path, or one that ends further.
    void CheckBelowReach(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                         const PathGenerationParams& params, int maxCorners, float within);
#endif
    // Straight's corridor into mPolys, the ends' polygons opened for the search; Detour's status.
    std::uint32_t Corridor(NavMesh& mesh, std::uint32_t startRef, std::uint32_t goalRef,
                           const Vec3& start, const Vec3& goal, int& count);
    // The first `count` corners of mStraight, merged and on the ground, into mCorners.
    void MergeAndGround(const Region& region, int count, const PathGenerationParams& params);
    bool InsideObstacle(const Region* region, const Vec3& p, float clearance) const;
    // Closes the polygons of the passing obstacles attached since: a search reading the
    // flags calls it first. Most local searches stay within one polygon and read none.
    void ClosePending();
    void Close(DynamicObstacle& obstacle);
    // Bumps the closed version, or counts the passing obstacles standing.
    void CountClosing(const DynamicObstacle& obstacle, bool attached);
    bool PlaceIsFree(const NavMesh& mesh, Region* region, std::uint32_t centerRef,
                     const Vec3& center, const Vec3& candidate, float radius, Vec3& placed);

    std::vector<RegionMeshes> mMeshes;
    std::vector<DynamicObstacle*> mObstacles;
    std::vector<std::uint32_t> mClosedCount;  // per closed polygon, parallel to mClosedRefs
    std::vector<std::pair<NavMesh*, std::uint32_t>> mClosedRefs;
    std::vector<FillPoint> mFillData;
    std::uint64_t mFillTime = 0;
    std::uint64_t mMeshVersion = 0;
    std::uint64_t mClosedVersion = 1;
    std::size_t mPassingAttached = 0;
    std::size_t mPending = 0;                // attached obstacles whose polygons are not closed yet
    std::unique_ptr<dtQueryFilter> mFilter;  // walkable and open
    std::unique_ptr<dtQueryFilter> mAnyFilter;  // walkable, open or closed
    // Nearest polygons under the any filter, which only the meshes decide: crowds ask for the
    // same places (their attack slots, their own standing place) over and over. Emptied
    // whenever a mesh is set or dropped. One to a cache line: a wide crowd's probes miss the
    // cache, and one across two lines costs both.
    struct alignas(64) NearestMemo {
        const NavMesh* mesh = nullptr;
        std::array<std::uint32_t, 3> point{};  // the point's bits
        std::array<std::uint32_t, 3> box{};    // the extents' bits
        std::uint32_t ref = 0;
        Vec3 onMesh;
        bool over = false;
        bool onIt = false;  // the polygon is at distance 0 (FindNearestPolygon's `onIt`)
    };
    // At least kNearestMemo, and more for wide regions (see SetNavMesh); a power of two.
    static constexpr std::size_t kNearestMemo = 8192;
    mutable std::vector<NearestMemo> mNearestMemo;
    std::size_t mNearestMask = kNearestMemo - 1;  // the memo's length less one
    CorridorSearch mCorridor;
    Path mUnfinished;                   // SearchUnfinished's path
    std::vector<std::uint32_t> mPolys;  // scratch corridor
    std::vector<float> mStraight;       // scratch corners
    std::vector<Vec3> mCorners;         // scratch merged corners
    // Paths handed back, kept for their storage (a steady frame then allocates none). A crowd
    // drops and takes hundreds in one frame, in bursts.
    static constexpr std::size_t kSparePaths = 1024;
    std::vector<std::unique_ptr<Path>> mSparePaths;
    std::vector<std::unique_ptr<DynamicObstacle>> mPassing;
};

}  // namespace GAME
