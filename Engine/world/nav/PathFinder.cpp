#include "Engine/world/nav/PathFinder.h"

#include <DetourCommon.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Engine/world/nav/TileQueries.h"

namespace GAME {

static_assert(sizeof(dtPolyRef) == sizeof(std::uint32_t), "Detour built with 32-bit poly refs");

namespace {

constexpr int kMaxCorridor = 512;
// The most polygons an obstacle closes in one mesh.
constexpr int kMaxClosed = 64;
constexpr std::size_t kPassingFirstMade = 64;
constexpr int kMaxCornersCap = 256;
constexpr float kTwoPi = 6.2831855f;
constexpr int kFillRings = 24;
constexpr float kFillRingStep = 0.5f;
// Within this of the mesh (over x and z) a point counts as standing on it.
constexpr float kOnMesh = 0.05f;

// The box in which a search looks for the polygons under its two ends.
void SearchExtents(int pathingSize, const PathGenerationParams& params, float (&extents)[3]) {
    const float horizontal =
        GetPathingAgent(pathingSize).radius + Max(params.searchHorizontal, 0.0f);
    extents[0] = horizontal;
    extents[1] = NavBuildSettings::kMaxClimb + Max(params.searchVertical, 0.0f);
    extents[2] = horizontal;
}

float HorizontalDistanceSquared(const Vec3& a, const Vec3& b) {
    const float dx = a.x - b.x, dz = a.z - b.z;
    return dx * dx + dz * dz;
}

// Where a memo (a power of two long, `mask` its length less one) keeps the answer for these
// exact bits of one mesh or ground.
template <std::size_t N>
std::size_t MemoIndex(const void* owner, const std::array<std::uint32_t, N>& key,
                      std::size_t mask) {
    std::uint64_t hash = reinterpret_cast<std::uintptr_t>(owner);
    for (const std::uint32_t word : key)
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    return (hash >> 40) & mask;
}

// A memo's key test, word by word: the library's compare is a call per lookup.
template <std::size_t N>
bool SameKey(const std::array<std::uint32_t, N>& a, const std::array<std::uint32_t, N>& b) {
    std::uint32_t differ = 0;
    for (std::size_t i = 0; i < N; ++i)
        differ |= a[i] ^ b[i];
    return differ == 0;
}

// The funnel over a corridor of one polygon, both ends over it: the start, then the end unless
// Detour takes it for the start. Crowds mostly search within the polygon they stand in.
int OnePolygonCorners(const Vec3& start, const Vec3& end, float* corners) {
    dtVcopy(corners, &start.x);
    if (dtVequal(&start.x, &end.x))
        return 1;
    dtVcopy(corners + 3, &end.x);
    return 2;
}

// The element equal to `value`, looked for from the back, where the passing obstacles, attached
// last and detached first, and the polygons they closed sit. The elements are unique.
template <class T>
typename std::vector<T>::iterator FindFromBack(std::vector<T>& items, const T& value) {
    for (auto it = items.end(); it != items.begin();)
        if (*--it == value)
            return it;
    return items.end();
}

}  // namespace

PathFinder::PathFinder()
    : mFilter(std::make_unique<dtQueryFilter>()), mAnyFilter(std::make_unique<dtQueryFilter>()) {
    mFilter->setIncludeFlags(kFlagWalk);
    mFilter->setExcludeFlags(kFlagClosed);
    mAnyFilter->setIncludeFlags(kFlagWalk);
    mAnyFilter->setExcludeFlags(0);
    mPolys.resize(kMaxCorridor);
    mStraight.resize(kMaxCornersCap * 3);
    mCorners.reserve(kMaxCornersCap);
}

PathFinder::~PathFinder() {
    Clear();
}

PathFinder& PathFinder::Get() {
    return World::Get().GetPathFinder();
}

void PathFinder::SetNavMesh(Region* region, int pathingSize, std::unique_ptr<NavMesh> mesh) {
    if (!region || pathingSize < 0 || pathingSize >= kPathingSizeCount)
        return;
    auto it = std::find_if(mMeshes.begin(), mMeshes.end(),
                           [&](const RegionMeshes& m) { return m.region == region; });
    if (it == mMeshes.end()) {
        mMeshes.emplace_back();
        it = mMeshes.end() - 1;
        it->region = region;
    }
    it->sizes[static_cast<std::size_t>(pathingSize)] = std::move(mesh);
    ++mMeshVersion;
    // Made with the level rather than in its first frame, as wide as the meshed ground: a
    // crowd of the same density over a wider ground asks for as many more places.
    float area = 0;
    for (const RegionMeshes& m : mMeshes) {
        const Vec3 size = m.region->GetBoundsMax() - m.region->GetBoundsMin();
        area += Max(size.x, 0.0f) * Max(size.z, 0.0f);
    }
    mNearestMemo.assign(PlaceMemoSize(area, kNearestMemo), NearestMemo{});
    mNearestMask = mNearestMemo.size() - 1;
}

NavMesh* PathFinder::Mesh(const Region* region, int pathingSize) const {
    if (!region || pathingSize < 0 || pathingSize >= kPathingSizeCount)
        return nullptr;
    for (const RegionMeshes& m : mMeshes)
        if (m.region == region)
            return m.sizes[static_cast<std::size_t>(pathingSize)].get();
    return nullptr;
}

const NavMesh* PathFinder::GetNavMesh(const Region* region, int pathingSize) const {
    return Mesh(region, pathingSize);
}

void PathFinder::Clear() {
    while (!mObstacles.empty())
        DetachObstacle(mObstacles.back());
    mMeshes.clear();
    mFillData.clear();
    ++mMeshVersion;
    mNearestMemo.clear();
    mNearestMask = kNearestMemo - 1;
}

std::uint32_t PathFinder::Nearest(const NavMesh& mesh, const Vec3& p, const float* extents,
                                  const dtQueryFilter& filter, Vec3& onMesh, bool* over) const {
    const auto query = [&](Vec3& found, bool& above, bool& onIt) -> std::uint32_t {
        float nearest[3] = {p.x, p.y, p.z};
        const float center[3] = {p.x, p.y, p.z};
        const std::uint32_t ref = FindNearestPolygon(*mesh.GetQuery(), center, extents, filter,
                                                     nearest, &above, &onIt, mesh.GetTileLayout());
        if (ref != 0)
            found = Vec3(nearest[0], nearest[1], nearest[2]);
        return ref;
    };
    bool above = false, onIt = false;
    if (&filter != mAnyFilter.get()) {
        const std::uint32_t ref = query(onMesh, above, onIt);
        if (over)
            *over = above;
        return ref;
    }
    const std::array<std::uint32_t, 3> point{std::bit_cast<std::uint32_t>(p.x),
                                             std::bit_cast<std::uint32_t>(p.y),
                                             std::bit_cast<std::uint32_t>(p.z)};
    const std::array<std::uint32_t, 3> box{std::bit_cast<std::uint32_t>(extents[0]),
                                           std::bit_cast<std::uint32_t>(extents[1]),
                                           std::bit_cast<std::uint32_t>(extents[2])};
    if (mNearestMemo.empty())
        mNearestMemo.resize(kNearestMemo);
    NearestMemo& memo = mNearestMemo[MemoIndex(&mesh, point, mNearestMask)];
    const bool samePoint = memo.mesh == &mesh && SameKey(memo.point, point);
    // A polygon at distance 0 holds the point within its bounds, so it is the first one any
    // box of the same height and at least as wide meets: a slot's place is tested on the mesh
    // in a narrow box, then searched to in a wider one.
    const float keptX = std::bit_cast<float>(memo.box[0]),
                keptZ = std::bit_cast<float>(memo.box[2]);
    const bool kept = samePoint && (SameKey(memo.box, box) ||
                                    (memo.onIt && memo.box[1] == box[1] && keptX > 0 && keptZ > 0 &&
                                     extents[0] >= keptX && extents[2] >= keptZ));
    if (kept) {
#ifndef NDEBUG
        Vec3 again;
        bool againAbove = false, againOnIt = false;
        const std::uint32_t ref = query(again, againAbove, againOnIt);
        if (ref != memo.ref || (ref != 0 && (std::memcmp(&again, &memo.onMesh, sizeof again) != 0 ||
                                             againAbove != memo.over))) {
            gEngine->Log(0, "PathFinder: a kept nearest polygon is stale");
            std::abort();
        }
#endif
        if (memo.ref != 0)
            onMesh = memo.onMesh;
        if (over)
            *over = memo.ref != 0 && memo.over;
        return memo.ref;
    }
    const std::uint32_t ref = query(onMesh, above, onIt);
    if (over)
        *over = ref != 0 && above;
    // Misses are kept too: a character standing off the mesh asks from the same place for
    // every slot it weighs.
    memo.mesh = &mesh;
    memo.point = point;
    memo.box = box;
    memo.ref = ref;
    memo.onMesh = onMesh;
    memo.over = ref != 0 && above;
    memo.onIt = ref != 0 && onIt;
    return ref;
}

std::unique_ptr<Path> PathFinder::FindPath(int pathingSize, const WorldVec3& from,
                                           const WorldVec3& to, const PathGenerationParams& params,
                                           int maxCorners) {
    std::unique_ptr<Path> path = TakeSpare();
    if (FindPath(pathingSize, from, to, params, maxCorners, *path))
        return path;
    Recycle(std::move(path));
    return nullptr;
}

std::unique_ptr<Path> PathFinder::TakeSpare() {
    if (mSparePaths.empty())
        return std::make_unique<Path>();
    std::unique_ptr<Path> path = std::move(mSparePaths.back());
    mSparePaths.pop_back();
    return path;
}

std::unique_ptr<Path> PathFinder::Copy(const Path& path) {
    std::unique_ptr<Path> copy = TakeSpare();
    *copy = path;
    return copy;
}

void PathFinder::Recycle(std::unique_ptr<Path> path) {
    if (path && mSparePaths.size() < kSparePaths) {
        if (mSparePaths.capacity() == 0)
            mSparePaths.reserve(kSparePaths);
        mSparePaths.push_back(std::move(path));
    }
}

bool PathFinder::FindPath(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                          const PathGenerationParams& params, int maxCorners, Path& out) {
    int polygons = 0;
    const int corners = Straight(pathingSize, from, to, params, maxCorners, polygons);
    if (corners == 0)
        return false;
    MergeAndGround(*from.region, corners, params);
    out.Assign(from.region, mCorners, mPolys.data(), static_cast<std::size_t>(polygons));
    return true;
}

void PathFinder::FinishPath(Path& path, const PathGenerationParams& params) {
    const Path::Corners& raw = path.GetCorners();
    const int count = static_cast<int>(std::min<std::size_t>(raw.size(), kMaxCornersCap));
    for (int i = 0; i < count; ++i) {
        mStraight[i * 3] = raw[i].x;
        mStraight[i * 3 + 1] = raw[i].y;
        mStraight[i * 3 + 2] = raw[i].z;
    }
    MergeAndGround(*path.GetRegion(), count, params);
    path.AssignCorners(mCorners);
}

bool PathFinder::SearchEnds::Within() const {
    return startRef == goalRef && dtVisfinite(&start.x) && dtVisfinite(&goal.x);
}

bool PathFinder::FindEnds(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                          const PathGenerationParams& params, SearchEnds& ends) {
    Region* region = from.region;
    if (!region || to.region != region)
        return false;
    ends.mesh = Mesh(region, pathingSize);
    if (!ends.mesh)
        return false;
    float extents[3];
    SearchExtents(pathingSize, params, extents);
    ends.startRef =
        Nearest(*ends.mesh, from.local, extents, *mAnyFilter, ends.start, &ends.startOver);
    // A character off the mesh asks from the same place for every goal it weighs.
    if (!ends.startRef)
        return false;
    ends.goalRef = Nearest(*ends.mesh, to.local + params.goalOffset, extents, *mAnyFilter,
                           ends.goal, &ends.goalOver);
    return ends.goalRef != 0;
}

bool PathFinder::ReadsFlags(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                            const PathGenerationParams& params) {
    SearchEnds ends;
    return FindEnds(pathingSize, from, to, params, ends) && !ends.Within();
}

bool PathFinder::EndsBelowReach(const SearchEnds& ends, const WorldVec3& to, float within) const {
    const int island = ends.mesh->GetIsland(ends.startRef);
    const int goalIsland = ends.mesh->GetIsland(ends.goalRef);
    if (island < 0 || goalIsland < 0 || island == goalIsland)
        return false;
    // Every corner lies on a polygon of the start's part, and grounding lifts it at most the
    // floor reach; those further than `within` over x and z are out of reach whatever their
    // height. A centimetre covers the rounding. The start's polygon, reopened for the search
    // whatever its flags, may escape the polygon query's filter: it counts wherever it lies.
    float top = 0;
    const float radius = within + 0.01f;
    if (!ends.mesh->GetIslandTopNear(island, to.local, radius, top))
        return false;
    float startTop = 0;
    if (!ends.mesh->GetPolygonTop(ends.startRef, startTop))
        return false;
    return to.local.y - (Max(top, startTop) + GroundMesh::kFloorReach) > radius;
}

int PathFinder::Straight(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                         const PathGenerationParams& params, int maxCorners, int& polygons,
                         float endWithin) {
    SearchEnds ends;
    if (!FindEnds(pathingSize, from, to, params, ends))
        return 0;
    // A goal up on a part of the mesh the start's never meets (a rock's top) would cost a
    // search of all the start's part.
    if (endWithin >= 0 && !ends.Within() && EndsBelowReach(ends, to, endWithin)) {
        // As the search would have, first.
        ClosePending();
        return 0;
    }
    NavMesh* mesh = ends.mesh;
    const dtPolyRef startRef = ends.startRef, goalRef = ends.goalRef;
    const Vec3& start = ends.start;
    const Vec3& goal = ends.goal;
    const bool startOver = ends.startOver, goalOver = ends.goalOver;

    mFilter->setAreaCost(0, Max(params.areaCost, 0.001f));
    // Crowds mostly walk within the polygon they stand in: that search reads no flags and
    // expands nothing, its corridor is the polygon.
    const bool within = ends.Within();
    int count = 1;
    dtStatus status = DT_SUCCESS;
    if (within)
        mPolys[0] = startRef;
    else
        status = Corridor(*mesh, startRef, goalRef, start, goal, count);
#ifndef NDEBUG
    if (within) {
        int again = 0;
        if (Corridor(*mesh, startRef, goalRef, start, goal, again) != status || again != 1 ||
            mPolys[0] != startRef) {
            gEngine->Log(0, "PathFinder: a corridor within one polygon differs from the search's");
            std::abort();
        }
    }
#endif
    if (dtStatusFailed(status) || count == 0)
        return 0;

    // A partial corridor ends at the reachable point nearest to the goal.
    Vec3 end = goal;
    bool endOver = goalOver;
    if (mPolys[static_cast<std::size_t>(count - 1)] != goalRef) {
        mesh->GetQuery()->closestPointOnPoly(mPolys[static_cast<std::size_t>(count - 1)], &goal.x,
                                             &end.x, nullptr);
        endOver = false;
    }
    const int cap = ClampInt(maxCorners, 2, kMaxCornersCap);
    // Non-finite ends go to Detour, as FindStraightCorners sends them.
    const bool onePolygon =
        count == 1 && startOver && endOver && dtVisfinite(&start.x) && dtVisfinite(&end.x);
    const int corners =
        onePolygon
            ? OnePolygonCorners(start, end, mStraight.data())
            : FindStraightCorners(*mesh->GetQuery(), &start.x, &end.x, mPolys.data(), count,
                                  mStraight.data(), cap, startOver, endOver, mesh->GetTileLayout());
#ifndef NDEBUG
    if (onePolygon) {
        std::array<float, 6> funnel{};
        const int n = FindStraightCorners(*mesh->GetQuery(), &start.x, &end.x, mPolys.data(), 1,
                                          funnel.data(), 2, true, true, mesh->GetTileLayout());
        if (n != corners || std::memcmp(funnel.data(), mStraight.data(),
                                        static_cast<std::size_t>(n) * 3 * sizeof(float)) != 0) {
            gEngine->Log(0, "PathFinder: a one-polygon straight path differs from the funnel's");
            std::abort();
        }
    }
#endif
    polygons = count;
    return corners;
}

std::uint32_t PathFinder::Corridor(NavMesh& mesh, std::uint32_t startRef, std::uint32_t goalRef,
                                   const Vec3& start, const Vec3& goal, int& count) {
    ClosePending();
    // The polygons a walk starts and ends in stay open whatever obstacle covers them.
    dtNavMesh* nav = mesh.GetMesh();
    unsigned short startFlags = 0, goalFlags = 0;
    PolygonFlags(*nav, startRef, goalRef, startFlags, goalFlags, mesh.GetTileLayout());
    // Most ends lie under no obstacle and are left alone.
    const bool reopenStart = startFlags != kFlagWalk, reopenGoal = goalFlags != kFlagWalk;
    if (reopenStart)
        nav->setPolyFlags(startRef, kFlagWalk);
    if (reopenGoal)
        nav->setPolyFlags(goalRef, kFlagWalk);
    const dtStatus status = mCorridor.Find(*mesh.GetQuery(), startRef, goalRef, &start.x, &goal.x,
                                           *mFilter, mPolys.data(), &count, kMaxCorridor,
                                           mesh.GetPortalMidpoints(), mesh.GetTileLayout());
    if (reopenGoal)
        nav->setPolyFlags(goalRef, goalFlags);
    if (reopenStart)
        nav->setPolyFlags(startRef, startFlags);
    return status;
}

void PathFinder::MergeAndGround(const Region& region, int corners,
                                const PathGenerationParams& params) {
    std::vector<Vec3>& points = mCorners;
    points.clear();
    const float merge = Max(params.cornerMergeDistance, 0.0f);
    for (int i = 0; i < corners; ++i) {
        const Vec3 p(mStraight[i * 3], mStraight[i * 3 + 1], mStraight[i * 3 + 2]);
        if (!points.empty() && i + 1 < corners && (p - points.back()).Length() < merge)
            continue;
        if (!points.empty() && i + 1 == corners && points.size() > 1 &&
            (p - points.back()).Length() < merge)
            points.back() = p;  // the end is kept exactly
        else
            points.push_back(p);
    }
    // Corners sit on the ground itself rather than on the mesh's approximation of it.
    if (const GroundMesh* ground = region.GetGround())
        for (Vec3& p : points) {
            float height = 0;
            if (ground->FloorBelow(p, height, nullptr))
                p.y = height;
        }
    if (points.size() == 1)
        points.push_back(points.front());
}

bool PathFinder::FindsStart(int pathingSize, const WorldVec3& from,
                            const PathGenerationParams& params) {
    const NavMesh* mesh = Mesh(from.region, pathingSize);
    if (!mesh)
        return false;
    float extents[3];
    SearchExtents(pathingSize, params, extents);
    Vec3 start;
    return Nearest(*mesh, from.local, extents, *mAnyFilter, start) != 0;
}

bool PathFinder::InsideObstacle(const Region* region, const Vec3& p, float clearance) const {
    for (const DynamicObstacle* o : mObstacles)
        if (o->GetRegion() == region && o->Overlaps(p, clearance))
            return true;
    return false;
}

bool PathFinder::TestPointCollide(const WorldVec3& point, int pathingSize) {
    return IsOffMesh(point, pathingSize) || IsInsideObstacle(point, pathingSize);
}

bool PathFinder::IsOffMesh(const WorldVec3& point, int pathingSize) {
    NavMesh* mesh = Mesh(point.region, pathingSize);
    if (!mesh)
        return true;
    // Closed polygons count (the any filter): obstacles are the other half's business.
    const float extents[3] = {kOnMesh, NavBuildSettings::kMaxClimb + 0.5f, kOnMesh};
    Vec3 onMesh;
    return !Nearest(*mesh, point.local, extents, *mAnyFilter, onMesh) ||
           HorizontalDistanceSquared(onMesh, point.local) > 1e-6f;
}

bool PathFinder::IsInsideObstacle(const WorldVec3& point, int pathingSize) const {
    return InsideObstacle(point.region, point.local, GetPathingAgent(pathingSize).radius);
}

WorldVec3 PathFinder::GetFurthestPoint(int pathingSize, const WorldVec3& from,
                                       const WorldVec3& to) {
    NavMesh* mesh = Mesh(from.region, pathingSize);
    if (!mesh || to.region != from.region)
        return from;
    const PathingAgent& agent = GetPathingAgent(pathingSize);
    const float extents[3] = {agent.radius, NavBuildSettings::kMaxClimb + 0.5f, agent.radius};
    ClosePending();
    Vec3 start;
    const dtPolyRef startRef = Nearest(*mesh, from.local, extents, *mFilter, start);
    if (!startRef)
        return from;
    float t = 0;
    float normal[3] = {0, 0, 0};
    int visited = 0;
    if (dtStatusFailed(mesh->GetQuery()->raycast(startRef, &start.x, &to.local.x, mFilter.get(), &t,
                                                 normal, mPolys.data(), &visited, kMaxCorridor)) ||
        visited == 0)
        return from;
    Vec3 end = t == FLT_MAX ? to.local : start + (to.local - start) * t;
    float height = end.y;
    if (dtStatusSucceed(mesh->GetQuery()->getPolyHeight(
            mPolys[static_cast<std::size_t>(visited - 1)], &end.x, &height)))
        end.y = height;
    WorldVec3 result(from.region, end);
    result.PutOnFloor();
    return result;
}

bool PathFinder::PlaceIsFree(const NavMesh& mesh, Region* region, std::uint32_t centerRef,
                             const Vec3& center, const Vec3& candidate, float radius,
                             Vec3& placed) {
    const float extents[3] = {kOnMesh, NavBuildSettings::kMaxClimb + 1.0f, kOnMesh};
    Vec3 onMesh;
    // Obstacles are kept out by their exact shapes below, not by the polygons they close.
    const dtPolyRef ref = Nearest(mesh, candidate, extents, *mAnyFilter, onMesh);
    if (!ref || HorizontalDistanceSquared(onMesh, candidate) > kOnMesh * kOnMesh)
        return false;
    // The mesh already keeps the small agent's radius off the walls.
    const float wallClearance = radius - GetPathingAgent(0).radius;
    if (wallClearance > 0) {
        float hitDist = 0;
        float hitPos[3], hitNormal[3];
        if (dtStatusFailed(mesh.GetQuery()->findDistanceToWall(
                ref, &onMesh.x, wallClearance, mAnyFilter.get(), &hitDist, hitPos, hitNormal)) ||
            hitDist < wallClearance)
            return false;
    }
    if (InsideObstacle(region, onMesh, radius))
        return false;
    for (const FillPoint& p : mFillData)
        if (p.region == region &&
            HorizontalDistanceSquared(p.at, onMesh) < (p.radius + radius) * (p.radius + radius))
            return false;
    // Reachable in a straight walk from the centre, round no obstacle.
    float t = 0;
    float normal[3];
    int visited = 0;
    if (dtStatusFailed(mesh.GetQuery()->raycast(centerRef, &center.x, &onMesh.x, mAnyFilter.get(),
                                                &t, normal, mPolys.data(), &visited,
                                                kMaxCorridor)) ||
        t != FLT_MAX)
        return false;
    // The walk may leave an obstacle the centre stands in (a crowd around the wanted place) but
    // may not enter another.
    const float length = Sqrt(HorizontalDistanceSquared(center, onMesh));
    const int samples = static_cast<int>(length / 0.25f) + 1;
    for (int i = 1; i <= samples; ++i) {
        const Vec3 step = Lerp(center, onMesh, static_cast<float>(i) / samples);
        for (const DynamicObstacle* o : mObstacles)
            if (o->GetRegion() == region && o->Overlaps(step, 0.0f) && !o->Overlaps(center, 0.0f))
                return false;
    }
    placed = onMesh;
    return true;
}

bool PathFinder::FillPointSet(const WorldVec3& center, const std::vector<float>& radii,
                              std::vector<WorldVec3>& out, bool firstAtCenter) {
    out.clear();
    // Fill data lives for one frame of game time unless cleared sooner.
    if (gEngine->GetGameTime() != mFillTime) {
        mFillData.clear();
        mFillTime = gEngine->GetGameTime();
    }
    NavMesh* mesh = Mesh(center.region, 0);
    if (!mesh || radii.empty())
        return false;
    const float extents[3] = {GetPathingAgent(0).radius, NavBuildSettings::kMaxClimb + 1.0f,
                              GetPathingAgent(0).radius};
    Vec3 c;
    const dtPolyRef centerRef = Nearest(*mesh, center.local, extents, *mAnyFilter, c);
    if (!centerRef)
        return false;
    std::size_t i = 0;
    if (firstAtCenter) {
        const float r = Max(radii[0], 0.0f);
        if (InsideObstacle(center.region, c, 0.0f))
            return false;
        for (const FillPoint& p : mFillData)
            if (p.region == center.region &&
                HorizontalDistanceSquared(p.at, c) < (p.radius + r) * (p.radius + r))
                return false;
        mFillData.push_back({center.region, c, r});
        out.emplace_back(center.region, c);
        i = 1;
    }
    for (; i < radii.size(); ++i) {
        const float r = Max(radii[i], 0.0f);
        bool found = false;
        for (int ring = 1; ring <= kFillRings && !found; ++ring) {
            const float ringRadius = ring * kFillRingStep;
            const int steps = MaxInt(6, static_cast<int>(kTwoPi * ringRadius / kFillRingStep));
            for (int s = 0; s < steps && !found; ++s) {
                const float a = kTwoPi * static_cast<float>(s) / static_cast<float>(steps);
                const Vec3 candidate = c + Vec3(Cos(a) * ringRadius, 0, Sin(a) * ringRadius);
                Vec3 placed;
                if (PlaceIsFree(*mesh, center.region, centerRef, c, candidate, r, placed)) {
                    mFillData.push_back({center.region, placed, r});
                    out.emplace_back(center.region, placed);
                    found = true;
                }
            }
        }
        if (!found)
            return false;
    }
    for (WorldVec3& p : out)
        p.PutOnFloor();
    return true;
}

DynamicObstacle& PathFinder::PassingObstacle(std::size_t index) {
    if (index < mPassing.size())
        return *mPassing[index];
    // A crowd's local searches pass dozens; made in bulk, so a denser meeting later in a fight
    // seldom grows the pool inside a steady frame.
    const std::size_t wanted = std::max({index + 1, 2 * mPassing.size(), kPassingFirstMade});
    mPassing.reserve(wanted);
    mObstacles.reserve(mObstacles.size() + wanted);
    while (mPassing.size() < wanted) {
        mPassing.push_back(std::make_unique<DynamicObstacle>());
        mPassing.back()->mPassing = true;
        // Room for the most it can close, once: it is attached again search after search.
        mPassing.back()->mClosed.reserve(std::size_t{kMaxClosed} * kPathingSizeCount);
    }
    return *mPassing[index];
}

void PathFinder::CountClosing(const DynamicObstacle& obstacle, bool attached) {
    if (!obstacle.mPassing)
        ++mClosedVersion;
    else if (attached)
        ++mPassingAttached;
    else
        --mPassingAttached;
}

void PathFinder::AttachObstacle(DynamicObstacle* obstacle) {
    if (!obstacle || obstacle->mAttached)
        return;
    obstacle->mAttached = true;
    mObstacles.push_back(obstacle);
    CountClosing(*obstacle, true);
    if (obstacle->mPassing) {
        obstacle->mPending = true;
        ++mPending;
        return;
    }
    Close(*obstacle);
}

void PathFinder::ClosePending() {
    if (mPending == 0)
        return;
    for (DynamicObstacle* obstacle : mObstacles)
        if (obstacle->mPending) {
            obstacle->mPending = false;
            Close(*obstacle);
        }
    mPending = 0;
}

void PathFinder::Close(DynamicObstacle& obstacle) {
    const ABBox& b = obstacle.GetBounds();
    const Vec3 center = (b.min + b.max) * 0.5f;
    const Vec3 half = (b.max - b.min) * 0.5f;
    const float extents[3] = {half.x, half.y + NavBuildSettings::kMaxClimb + 1.0f, half.z};
    dtPolyRef refs[kMaxClosed];
    for (int size = 0; size < kPathingSizeCount; ++size) {
        NavMesh* mesh = obstacle.mClosesSize < 0 || obstacle.mClosesSize == size
                            ? Mesh(obstacle.GetRegion(), size)
                            : nullptr;
        if (!mesh)
            continue;
        const int count = CollectPolygons(*mesh->GetQuery(), &center.x, extents, *mAnyFilter, refs,
                                          kMaxClosed, mesh->GetTileLayout());
        for (int i = 0; i < count; ++i) {
            const std::pair<NavMesh*, std::uint32_t> key(mesh, refs[i]);
            auto it = std::find(mClosedRefs.begin(), mClosedRefs.end(), key);
            if (it == mClosedRefs.end()) {
                mClosedRefs.push_back(key);
                mClosedCount.push_back(1);
                mesh->GetMesh()->setPolyFlags(refs[i], kFlagWalk | kFlagClosed);
            } else {
                ++mClosedCount[static_cast<std::size_t>(it - mClosedRefs.begin())];
            }
            obstacle.mClosed.push_back(key);
        }
    }
}

void PathFinder::DetachObstacle(DynamicObstacle* obstacle) {
    auto it = FindFromBack(mObstacles, obstacle);
    if (it == mObstacles.end())
        return;
    mObstacles.erase(it);
    obstacle->mAttached = false;
    CountClosing(*obstacle, false);
    if (obstacle->mPending) {
        obstacle->mPending = false;
        --mPending;
    }
    // Last closed, first opened: a passing obstacle's polygons come off the back.
    for (auto key = obstacle->mClosed.rbegin(); key != obstacle->mClosed.rend(); ++key) {
        auto found = FindFromBack(mClosedRefs, *key);
        if (found == mClosedRefs.end())
            continue;
        const std::size_t index = static_cast<std::size_t>(found - mClosedRefs.begin());
        if (--mClosedCount[index] == 0) {
            key->first->GetMesh()->setPolyFlags(key->second, kFlagWalk);
            mClosedRefs.erase(found);
            mClosedCount.erase(mClosedCount.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
    obstacle->mClosed.clear();
}

}  // namespace GAME
