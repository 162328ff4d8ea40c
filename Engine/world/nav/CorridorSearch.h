#pragma once
// Detour's A* over polygons on its own nodes: the queries answered from the tiles
// (TileQueries.h) use it for corridors.
#include <cstdint>
#include <vector>

class dtNavMeshQuery;
class dtQueryFilter;

namespace GAME {

namespace navtiles {
class TileLayout;
}

// dtNavMeshQuery::findPath: the corridor of polygons from the start to the end, or to the polygon
// nearest the end that the search reached. Its nodes are kept between searches.
class CorridorSearch {
public:
    // Detour's status; `count` polygons written to `corridor`. `midpoints`: the mesh's portal
    // middles (NavMesh::GetPortalMidpoints), or null to work them out. `layout`: the mesh's
    // (NavMesh::GetTileLayout), or null.
    std::uint32_t Find(const dtNavMeshQuery& query, std::uint32_t startRef, std::uint32_t endRef,
                       const float* startPos, const float* endPos, const dtQueryFilter& filter,
                       std::uint32_t* corridor, int* count, int maxCount,
                       const float* const* midpoints = nullptr,
                       const navtiles::TileLayout* layout = nullptr);

private:
    struct Node {
        float pos[3];
        float cost;
        float total;
        // The end's last step (its cost from the node), or the heuristic for any other polygon.
        float onward;
        std::uint32_t parent;  // the parent's index + 1; 0 for none
        std::uint32_t heapAt;
        std::uint32_t id;
        std::uint8_t state;
        std::uint8_t flags;
    };
    std::uint32_t Search(const dtNavMeshQuery& query, std::uint32_t startRef, std::uint32_t endRef,
                         const float* startPos, const float* endPos, const dtQueryFilter& filter,
                         std::uint32_t* corridor, int* count, int maxCount,
                         const float* const* midpoints, const navtiles::TileLayout* layout,
                         bool& handled, bool nextDoor);
    void Reset(int maxNodes);
    // The node of a polygon entered from one side; -1 when the nodes ran out.
    int GetNode(std::uint32_t ref, std::uint8_t state);
    void BubbleUp(int at, std::uint32_t node);
    void TrickleDown(int at, std::uint32_t node);
    void Push(std::uint32_t node);
    std::uint32_t Pop();
    std::uint32_t PathTo(std::uint32_t node, std::uint32_t* corridor, int* count,
                         int maxCount) const;

    std::vector<Node> mNodes;  // as many as Detour's query has, made on the first search
    int mNodeCount = 0;
    int mNodeLimit = 0;  // mNodes' size
    // The heap and the slots hold the keys they compare: a probe or a sift reads no node.
    struct HeapEntry {
        float total = 0;
        std::uint32_t node = 0;
    };
    // A slot is taken only by the search whose number it holds: a new search frees them all.
    struct Slot {
        std::uint32_t ref = 0;
        std::uint8_t state = 0;
        std::int32_t node = 0;
        std::uint32_t search = 0;
    };
    std::uint32_t mSearch = 0;
    std::vector<HeapEntry> mHeap;
    int mHeapSize = 0;
    std::vector<Slot> mSlots;  // open addressing over (polygon, side)
};

}  // namespace GAME
