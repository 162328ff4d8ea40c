#include "Engine/world/nav/CorridorSearch.h"

#include <DetourCommon.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>
#include <DetourNode.h>

#include <algorithm>
#include <cfloat>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/world/nav/TileAccess.h"

namespace GAME {

namespace {

// Detour's heuristic scale: a little under the true distance.
constexpr float kHeuristicScale = 0.999f;

// Fibonacci hashing: the product's top bits depend on every bit of the polygon's tile and index.
std::size_t SlotHash(std::uint32_t ref, std::uint8_t state, std::size_t slots) {
    const std::uint64_t key = (static_cast<std::uint64_t>(state) << 32) | ref;
    return static_cast<std::size_t>(((key * 0x9E3779B97F4A7C15ull) >> 40) & (slots - 1));
}

// A kept portal middle against one worked out again: the answer must not depend on the table.
bool KeptMidpointStale([[maybe_unused]] const float* kept,
                       [[maybe_unused]] const dtMeshTile& fromTile,
                       [[maybe_unused]] const dtPoly& fromPoly, [[maybe_unused]] dtPolyRef to,
                       [[maybe_unused]] const dtPoly& toPoly) {
#ifndef NDEBUG
    float left[3], right[3], again[4] = {0, 0, 0, 0};
    if (!navtiles::PortalBetween(fromTile, fromPoly, to, toPoly, left, right) ||
        (navtiles::PortalMidpoint(left, right, again),
         std::memcmp(again, kept, sizeof again) != 0)) {
        gEngine->Log(0, "TileQueries: a kept portal middle is stale");
        std::abort();
    }
#endif
    return false;
}

// Whether A* from the start would pop the end second: the end borders the start and its total
// is below every other neighbour's. Ties, a neighbour met twice and a link back to the start are
// left to the search: its heap and its nodes decide those.
bool EndNextDoor(const navtiles::LinkRefs& links, const dtMeshTile* tiles, std::uint32_t startRef,
                 std::uint32_t endRef, const float* startPos, const float* endPos,
                 const dtQueryFilter& filter, const float* const* midpoints, int maxNodes) {
    constexpr int kMaxNeighbours = 16;
    std::uint32_t seen[kMaxNeighbours];
    int neighbours = 0;
    const dtMeshTile* startTile = nullptr;
    const dtPoly* startPoly = nullptr;
    links.Get(startRef, startTile, startPoly);
    const float areaCost = filter.getAreaCost(startPoly->getArea());
    const float* const tileMidpoints = midpoints ? midpoints[startTile - tiles] : nullptr;
    const unsigned short include = filter.getIncludeFlags(), exclude = filter.getExcludeFlags();
    float endTotal = FLT_MAX, otherTotal = FLT_MAX;
    // The search's sums, term for term: the start's cost is 0 and its place the start.
    for (unsigned int i = startPoly->firstLink; i != DT_NULL_LINK; i = startTile->links[i].next) {
        const dtPolyRef ref = startTile->links[i].ref;
        if (!ref)
            continue;
        if (ref == startRef)
            return false;
        const dtMeshTile* tile = nullptr;
        const dtPoly* poly = nullptr;
        links.Get(ref, tile, poly);
        if ((poly->flags & include) == 0 || (poly->flags & exclude) != 0)
            continue;
        if (neighbours == kMaxNeighbours ||
            std::find(seen, seen + neighbours, ref) != seen + neighbours)
            return false;
        seen[neighbours++] = ref;
        const float* kept = tileMidpoints ? tileMidpoints + i * 4 : nullptr;
        float mid[4];
        if (!kept || kept[3] == 0 || KeptMidpointStale(kept, *startTile, *startPoly, ref, *poly)) {
            float left[3], right[3];
            if (!navtiles::PortalBetween(*startTile, *startPoly, ref, *poly, left, right))
                return false;
            navtiles::PortalMidpoint(left, right, mid);
            kept = mid;
        }
        const float step = dtVdist(startPos, kept) * areaCost;
        if (ref == endRef) {
            endTotal = 0.0f + step + dtVdist(kept, endPos) * filter.getAreaCost(poly->getArea());
        } else {
            const float total = (0.0f + step) + dtVdist(kept, endPos) * kHeuristicScale;
            if (!(total < FLT_MAX))
                return false;
            otherTotal = std::min(otherTotal, total);
        }
    }
    return neighbours < maxNodes && endTotal < otherTotal;
}

}  // namespace

void CorridorSearch::Reset(int maxNodes) {
    if (mNodes.size() != static_cast<std::size_t>(maxNodes)) {
        mNodes.assign(static_cast<std::size_t>(maxNodes), Node{});
        mHeap.assign(static_cast<std::size_t>(maxNodes), HeapEntry{});
        std::size_t slots = 1;
        while (slots < static_cast<std::size_t>(maxNodes) * 2)
            slots *= 2;
        mSlots.assign(slots, Slot{});
        mSearch = 0;
        mNodeLimit = maxNodes;
    }
    if (++mSearch == 0) {
        for (Slot& slot : mSlots)
            slot.search = 0;
        mSearch = 1;
    }
    mNodeCount = 0;
    mHeapSize = 0;
}

[[gnu::always_inline]] inline int CorridorSearch::GetNode(std::uint32_t ref, std::uint8_t state) {
    const std::size_t mask = mSlots.size() - 1;
    std::size_t slot = SlotHash(ref, state, mSlots.size());
    for (; mSlots[slot].search == mSearch; slot = (slot + 1) & mask)
        if (mSlots[slot].ref == ref && mSlots[slot].state == state)
            return mSlots[slot].node;
    if (mNodeCount >= mNodeLimit)
        return -1;
    const int index = mNodeCount++;
    // What a search reads of a node before it writes it: the start's cost and parent, and the
    // flags (the place and the way on are written while they are 0).
    Node& node = mNodes[static_cast<std::size_t>(index)];
    node.cost = 0;
    node.parent = 0;
    node.id = ref;
    node.state = state;
    node.flags = 0;
    mSlots[slot] = Slot{ref, state, index, mSearch};
    return index;
}

// dtNodeQueue's binary heap, step for step: equal totals leave the nodes in its order.
[[gnu::always_inline]] inline void CorridorSearch::BubbleUp(int at, std::uint32_t node) {
    const float total = mNodes[node].total;
    // A shift, not a signed division: `at` is never negative.
    while (at > 0) {
        const int parent = (at - 1) >> 1;
        const HeapEntry moved = mHeap[static_cast<std::size_t>(parent)];
        if (!(moved.total > total))
            break;
        mHeap[static_cast<std::size_t>(at)] = moved;
        mNodes[moved.node].heapAt = static_cast<std::uint32_t>(at);
        at = parent;
    }
    mHeap[static_cast<std::size_t>(at)] = HeapEntry{total, node};
    mNodes[node].heapAt = static_cast<std::uint32_t>(at);
}

void CorridorSearch::TrickleDown(int at, std::uint32_t node) {
    int child = at * 2 + 1;
    while (child < mHeapSize) {
        if (child + 1 < mHeapSize && mHeap[static_cast<std::size_t>(child)].total >
                                         mHeap[static_cast<std::size_t>(child + 1)].total)
            ++child;
        const HeapEntry moved = mHeap[static_cast<std::size_t>(child)];
        mHeap[static_cast<std::size_t>(at)] = moved;
        mNodes[moved.node].heapAt = static_cast<std::uint32_t>(at);
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
    const std::uint32_t top = mHeap[0].node;
    --mHeapSize;
    TrickleDown(0, mHeap[static_cast<std::size_t>(mHeapSize)].node);
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
                                     const float* const* midpoints,
                                     const navtiles::TileLayout* layout, bool& handled,
                                     bool nextDoor) {
    handled = false;
    const dtNavMesh* nav = query.getAttachedNavMesh();
    if (!count || !nav || !query.getNodePool())
        return 0;
    const navtiles::TileRefs refs = layout ? navtiles::TileRefs(*layout) : navtiles::TileRefs(*nav);
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
    const navtiles::LinkRefs links = layout ? layout->Links() : navtiles::LinkRefs(*nav);
    const dtMeshTile* const tiles = layout ? layout->Tiles() : nav->getTile(0);
    // Most searches a crowd makes step into a neighbouring polygon.
    if (nextDoor && maxCount >= 2 &&
        EndNextDoor(links, tiles, startRef, endRef, startPos, endPos, filter, midpoints,
                    query.getNodePool()->getMaxNodes())) {
        corridor[0] = startRef;
        corridor[1] = endRef;
        *count = 2;
        return DT_SUCCESS;
    }
    Reset(query.getNodePool()->getMaxNodes());
    const std::uint32_t start = static_cast<std::uint32_t>(GetNode(startRef, 0));
    Node& first = mNodes[start];
    dtVcopy(first.pos, startPos);
    first.total = dtVdist(startPos, endPos) * kHeuristicScale;
    first.onward = first.total;
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
        const float* const tileMidpoints = midpoints ? midpoints[bestTile - tiles] : nullptr;
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
                const float* kept = tileMidpoints ? tileMidpoints + i * 4 : nullptr;
                float mid[4];
                if (!kept || kept[3] == 0 ||
                    KeptMidpointStale(kept, *bestTile, *bestPoly, ref, *poly)) {
                    float left[3], right[3];
                    if (!navtiles::PortalBetween(*bestTile, *bestPoly, ref, *poly, left, right)) {
                        handled = false;
                        return 0;
                    }
                    navtiles::PortalMidpoint(left, right, mid);
                    kept = mid;
                }
                dtVcopy(next.pos, kept);
                // The node stays where it is for the rest of the search, so the way on does too.
                next.onward = ref == endRef
                                  ? dtVdist(next.pos, endPos) * filter.getAreaCost(poly->getArea())
                                  : dtVdist(next.pos, endPos) * kHeuristicScale;
            }
            float cost = 0, heuristic = 0;
            const float step = dtVdist(best.pos, next.pos) * areaCost;
            if (ref == endRef) {
                cost = best.cost + step + next.onward;
            } else {
                cost = best.cost + step;
                heuristic = next.onward;
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
                                   int maxCount, const float* const* midpoints,
                                   const navtiles::TileLayout* layout) {
    bool handled = false;
    std::uint32_t status = Search(query, startRef, endRef, startPos, endPos, filter, corridor,
                                  count, maxCount, midpoints, layout, handled, true);
#ifndef NDEBUG
    // The neighbour's corridor against the whole search's.
    if (handled && *count == 2 && startRef != endRef) {
        std::vector<std::uint32_t> whole(static_cast<std::size_t>(maxCount));
        int wholeCount = 0;
        bool wholeHandled = false;
        const std::uint32_t wholeStatus =
            Search(query, startRef, endRef, startPos, endPos, filter, whole.data(), &wholeCount,
                   maxCount, midpoints, layout, wholeHandled, false);
        if (!wholeHandled || wholeStatus != status || wholeCount != 2 ||
            !std::equal(corridor, corridor + 2, whole.data())) {
            gEngine->Log(0, "TileQueries: a neighbour's corridor differs from the search's");
            std::abort();
        }
    }
#endif
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
