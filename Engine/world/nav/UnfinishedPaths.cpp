// Paths left unfinished (PathFinder::FindUnfinishedPath): the search up to the straight path.
#include <cstdlib>
#include <utility>

#include "Engine/Engine.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/nav/PathFinder.h"

namespace GAME {

std::unique_ptr<Path> PathFinder::FindUnfinishedPath(int pathingSize, const WorldVec3& from,
                                                     const WorldVec3& to,
                                                     const PathGenerationParams& params,
                                                     int maxCorners, UnfinishedPathEnds& ends) {
    std::unique_ptr<Path> path;
    if (SearchUnfinished(pathingSize, from, to, params, maxCorners, ends))
        KeepUnfinished(path);
    return path;
}

void PathFinder::KeepUnfinished(std::unique_ptr<Path>& kept) {
    if (!kept)
        kept = TakeSpare();
    std::swap(*kept, mUnfinished);
}

Path* PathFinder::SearchUnfinished(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                                   const PathGenerationParams& params, int maxCorners,
                                   UnfinishedPathEnds& ends) {
    int polygons = 0;
    const int corners = Straight(pathingSize, from, to, params, maxCorners, polygons, ends.within);
#ifndef NDEBUG
    if (corners == 0 && ends.within >= 0)
        CheckBelowReach(pathingSize, from, to, params, maxCorners, ends.within);
#endif
    if (corners == 0)
        return nullptr;
    // Merging keeps the first corner and the last exactly, and grounding moves only heights:
    // ends this far apart over x or z leave some leg long enough that its length is not 0.
    const float* first = mStraight.data();
    const float* back = first + (corners - 1) * 3;
    ends.moves = Abs(back[0] - first[0]) > 1e-3f || Abs(back[2] - first[2]) > 1e-3f;
    Vec3 last(back[0], back[1], back[2]);
    float height = 0;
    if (const GroundMesh* ground = from.region->GetGround();
        ground && ground->FloorBelow(last, height, nullptr))
        last.y = height;
    ends.end = WorldVec3(from.region, last);
    mUnfinished.AssignUnfinished(from.region, mStraight.data(), static_cast<std::size_t>(corners),
                                 mPolys.data(), static_cast<std::size_t>(polygons));
    return &mUnfinished;
}

#ifndef NDEBUG
void PathFinder::CheckBelowReach(int pathingSize, const WorldVec3& from, const WorldVec3& to,
                                 const PathGenerationParams& params, int maxCorners, float within) {
    int polygons = 0;
    const int corners = Straight(pathingSize, from, to, params, maxCorners, polygons);
    if (corners == 0)
        return;
    const float* back = mStraight.data() + (corners - 1) * 3;
    Vec3 last(back[0], back[1], back[2]);
    float height = 0;
    if (const GroundMesh* ground = from.region->GetGround();
        ground && ground->FloorBelow(last, height, nullptr))
        last.y = height;
    MergeAndGround(*from.region, corners, params);
    const float reach = within * within;
    if (!(WorldVec3(from.region, last).VectorTo(to).LengthSquared() > reach) ||
        !(WorldVec3(from.region, mCorners.back()).VectorTo(to).LengthSquared() > reach)) {
        gEngine->Log(0, "PathFinder: a search skipped as out of reach ends within reach");
        std::abort();
    }
}
#endif
}  // namespace GAME
