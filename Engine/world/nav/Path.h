#pragma once
// A path through one region: the corners of the straight path Detour found, walked from the
// front. The polygon corridor it was made from is kept beside it.
#include <cstdint>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Engine/world/Region.h"

namespace GAME {

// The knobs callers hand to FindPath (see "Paths" in docs/ARCHITECTURE.md for what each does).
struct PathGenerationParams {
    float cornerMergeDistance = 0.1f;  // corners closer than this to the previous one are dropped
    float searchHorizontal = 0.4f;     // horizontal half-extent of the polygon search box
    float searchVertical = 0.5f;       // vertical half-extent added to the agent's climb
    float areaCost = 1.0f;             // cost of walking the ground area
    Vec3 goalOffset;                   // moves the goal before it is looked up
};

// What a path left unfinished (PathFinder::FindUnfinishedPath) tells before it is finished.
struct UnfinishedPathEnds {
    WorldVec3 end;       // the finished path's end corner
    bool moves = false;  // its length is surely not 0 (else only finishing tells)
    // Set by the caller, when no path ending further than this from the goal will do: a search
    // known to find only such (its end on a part of the mesh far below the goal) is skipped,
    // and there is no path.
    float within = -1.0f;
};

// Crowds take and drop paths all the time: a path and its corners live in recycled storage.
class Path : public RecycledStorage {
public:
    using Corners = std::vector<Vec3, RecycledAllocator<Vec3>>;
    using Polygons = std::vector<std::uint32_t, RecycledAllocator<std::uint32_t>>;

    // An empty path: one corner at the origin, no region.
    Path();
    Path(Region* region, const std::vector<Vec3>& corners,
         const std::vector<std::uint32_t>& polygons);
    // Becomes a fresh path over the corners and polygons, in the storage it already holds.
    void Assign(Region* region, const std::vector<Vec3>& corners, const std::uint32_t* polygons,
                std::size_t polygonCount);

    // An unfinished path (PathFinder::FindUnfinishedPath): `count` corners as x, y, z triples,
    // not measured (length 0) until AssignCorners gives the finished ones.
    void AssignUnfinished(Region* region, const float* corners, std::size_t count,
                          const std::uint32_t* polygons, std::size_t polygonCount);
    // New corners over the same polygons, walked from the first.
    void AssignCorners(const std::vector<Vec3>& corners);

    Region* GetRegion() const { return mRegion; }
    // The remaining length, from the current position through the corners left.
    float GetLength() const { return mLength; }
    WorldVec3 GetStart() const { return WorldVec3(mRegion, mCorners.front()); }
    WorldVec3 GetEnd() const { return WorldVec3(mRegion, mCorners.back()); }
    WorldVec3 GetPosition() const { return WorldVec3(mRegion, mPosition); }
    const Corners& GetCorners() const { return mCorners; }
    const Polygons& GetPolygons() const { return mPolygons; }
    // The point `distance` along the remaining path (clamped to its ends).
    WorldVec3 GetPointAtDistance(float distance) const;

    // Walks `step` along the path: `position` becomes the new point and `heading` the unit
    // direction of the last leg walked. True while path is left; false once the end is reached.
    bool Advance(float step, WorldVec3& position, Vec3& heading);

    // Nothing is drawn; kept for the callers that ask.
    void DebugRender() const {}

private:
    // Walks from the first corner again.
    void Restart();

    Region* mRegion;
    Corners mCorners;
    Polygons mPolygons;
    std::size_t mNext = 1;  // the corner walked towards
    Vec3 mPosition;
    float mLength = 0;
};

}  // namespace GAME
