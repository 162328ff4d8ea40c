#pragma once
// The ring of places around a character from which others attack it (attack slots) or guard it
// (defense slots), so that several characters closing in do not crowd onto one spot.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Engine/world/Region.h"

namespace GAME {

class Character;
class PathFinder;
class World;
struct EntityDigest;

// A client's copy without a brain here, moved only by the actions the server sends: the slots
// it holds follow those actions.
bool FollowsSentSlots(const Character& character);

class SlotManager : public RecycledStorage {
public:
    explicit SlotManager(Character& owner) : mOwner(&owner) {}

    // n free slots; their places are worked out again on the next request.
    void SetNumSlots(unsigned int n);
    // Gives the requester a slot and writes its place to `out`, or the empty point when none
    // is free for it. With `acceptUnchecked` a slot need not be reachable by the requester.
    // Without `hold` it only looks: nothing changes (a decision one machine makes alone must
    // leave the ring as every machine has it).
    void RequestSlot(WorldVec3& out, std::uint32_t requesterId, float radius, bool acceptUnchecked,
                     bool hold = true);
    // The same for a requester the caller holds (it must be the character filed under its id).
    void RequestSlot(WorldVec3& out, Character& requester, float radius, bool acceptUnchecked,
                     bool hold = true);
    // Frees the first slot the id holds.
    void ReleaseSlot(std::uint32_t id);
    // Gives the holder the slot lying at `place` (one another machine handed it), freeing any
    // other it held here and telling a displaced holder it lost its slot; nothing when no slot
    // lies there.
    void HoldSlotAt(const WorldVec3& place, std::uint32_t holderId, float radius);

    std::size_t GetNumSlots() const { return mSlots.size(); }
    std::uint32_t GetOccupant(std::size_t index) const { return mSlots[index].occupant; }
    const WorldVec3& GetSlotPosition(std::size_t index) const { return Position(index); }

private:
    void CalculateSlotPositions(const World& world, float radius);
    // The owner's path position, read from its world digest while the world files it where
    // it last did and holds one there.
    WorldVec3 OwnerPathPosition(const World& world);
    WorldVec3 CalculateSlotPosition(unsigned int index, float radius) const;
    // The slot's place around mLastCenter, worked out at its first use: a request that takes a
    // free slot never looks at the held ones' places.
    const WorldVec3& Position(std::size_t index) const {
        if (!mSlots[index].placed)
            Place(index);
        return mSlots[index].position;
    }
    void Place(std::size_t index) const;
    // A client's copy whose sent actions turned it from the owner: the server's controller
    // released its slot then.
    bool Abandoned(const Character& holder) const;
    // The world digest of the slot's occupant where the world last filed it, while it still
    // does and the game has written it; null otherwise.
    const EntityDigest* HolderDigest(const World& world, std::size_t index,
                                     std::uint32_t occupant) const;
    // Whether the slot's occupant, not the requester, is gone, dead or (on a client) abandoned
    // it. A crowd's holders lie all over memory: their digests lie in one array.
    bool HolderGone(World& world, ObjectManager& objects, std::size_t index, std::uint32_t occupant,
                    bool client);
    // Takes the first listed slot the requester may use (not colliding, reachable unless
    // unchecked); -1 when none.
    int PickSlot(Character& requester, bool acceptUnchecked, PathFinder& paths);
    // PathFinder::TestPointCollide of the slot for an agent of `size`. Whether a place is on
    // the mesh stays true while the slots and the meshes stay put, so it is kept per slot.
    bool SlotCollides(PathFinder& paths, std::size_t index, int size);

    // A request reads every per-slot list: on huge pages they cost no address translation of
    // their own.
    template <class T>
    using SlotList = std::vector<T, RecycledAllocator<T>>;

    // Kept: whether a place is off the mesh is not known yet.
    static constexpr std::int8_t kUnknown = -1;
    // What a request reads of each slot, side by side: a crowd's rings lie all over memory.
    struct Slot {
        // Its place around mLastCenter at mLastRadius while `placed`.
        WorldVec3 position;
        std::uint32_t occupant = 0;
        // Where the world filed the occupant when a request last looked it up (World::kNoSlot
        // for nowhere): the holders seldom change.
        std::uint32_t worldSlot = 0xFFFFFFFFu;
        // kUnknown, or whether the place is off the mesh of mOffMeshSize while the path finder
        // mOffMeshFinder keeps its meshes at mOffMeshVersion.
        std::int8_t offMesh = kUnknown;
        bool placed = true;
        // Whether the request in progress found the slot vacated: the requester's own, or its
        // holder gone.
        bool vacated = false;
    };

    // What every request reads comes first: a crowd's rings lie all over memory.
    Character* mOwner;
    // The owner's id and world slot as OwnerPathPosition last found them.
    std::uint32_t mOwnerId = 0;
    std::uint32_t mOwnerWorldSlot = 0xFFFFFFFFu;
    mutable SlotList<Slot> mSlots;
    WorldVec3 mLastCenter;
    float mLastRadius = 0.0f;
    int mOffMeshSize = -1;
    const PathFinder* mOffMeshFinder = nullptr;
    std::uint64_t mOffMeshVersion = 0;
    // (squared distance to the requester, slot index), kept between requests.
    SlotList<std::pair<float, unsigned int>> mCandidates;
    // Per slot, where the object table had its occupant when a request last looked it up.
    SlotList<ObjectManager::Kept<Character>> mKept;
#ifndef NDEBUG
    // The places worked out when the centre moved, to check each one placed later against.
    std::vector<WorldVec3> mPlacedWhenMoved;
#endif
};

}  // namespace GAME
