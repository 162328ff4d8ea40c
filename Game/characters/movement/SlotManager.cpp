#include "Game/characters/movement/SlotManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/EntityDigest.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/Player.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/movement/SightDigest.h"

namespace GAME {

namespace {

constexpr float kSlotTwoPi = 6.2831855f;
// Candidate lists up to this long are sorted by insertion.
constexpr std::size_t kInsertionSorted = 16;

// World::GetDistanceSquared, bit for bit, kept inline: a request weighs every slot with it.
[[gnu::always_inline]] inline float SlotDistanceSquared(const WorldVec3& a, const WorldVec3& b) {
    if (!a.region || !b.region)
        return kInfinity;
    return (b.GetWorldPosition() - a.GetWorldPosition()).LengthSquared();
}

}  // namespace

bool FollowsSentSlots(const Character& character) {
    // The server's controller took the slots behind the actions; a copy that held others would
    // re-plan its paths around a different ring. A player takes no attack slot, and its defense
    // slots every machine takes alike (its path updates), so it follows nothing.
    return gEngine->IsClient() && !FindController<ControllerAI>(character) &&
           !character.IsA<Player>();
}

bool SlotManager::Abandoned(const Character& holder) const {
    if (!FollowsSentSlots(holder))
        return false;
    std::uint32_t target = 0, skill = 0;
    WorldVec3 position;
    holder.GetCurrentAttackTarget(target, position, skill);
    return target != mOwner->GetObjectId();
}

void SlotManager::SetNumSlots(unsigned int n) {
    // The empty points stand until the next request places the ring.
    mSlots.assign(n, {});
    mKept.assign(n, {});
    mLastRadius = 0.0f;
    mCandidates.reserve(n);
}

void SlotManager::ReleaseSlot(std::uint32_t id) {
    for (Slot& slot : mSlots)
        if (slot.occupant == id) {
            slot.occupant = 0;
            return;
        }
}

void SlotManager::HoldSlotAt(const WorldVec3& place, std::uint32_t holderId, float radius) {
    if (!(radius > 0.0f) || !place.IsValid())
        return;
    CalculateSlotPositions(World::Get(), radius);
    std::size_t at = 0;
    while (at < mSlots.size() && !(Position(at) == place))
        ++at;
    if (at == mSlots.size())
        return;
    for (Slot& slot : mSlots)
        if (slot.occupant == holderId)
            slot.occupant = 0;
    std::uint32_t& occupant = mSlots[at].occupant;
    Character* displaced = occupant != 0 ? FindCharacter(occupant) : nullptr;
    occupant = holderId;
    if (displaced)
        displaced->LostSlot();
}

WorldVec3 SlotManager::CalculateSlotPosition(unsigned int index, float radius) const {
    if (index >= mSlots.size())
        return WorldVec3();
    const float angle = static_cast<float>(index) / static_cast<float>(mSlots.size()) * kSlotTwoPi;
    const Vec3 offset(std::cos(angle) * radius, 0.0f, std::sin(angle) * radius);
    WorldVec3 place = mLastCenter;
    // Without ground under it the slot stays level with the owner; the collision test then
    // turns it down.
    if (!place.TranslateToFloor(offset))
        place.Translate(offset);
    return place;
}

inline WorldVec3 SlotManager::OwnerPathPosition(const World& world) {
    if (world.SlotHolds(mOwnerWorldSlot, mOwnerId)) {
        const EntityDigest& digest = world.GetDigest(mOwnerWorldSlot);
        constexpr std::uint32_t kPathWritten =
            SightDigest::kWritten | SightDigest::kCharacter | SightDigest::kOwnPathPosition;
        if ((digest.gameFlags & kPathWritten) == kPathWritten) {
#ifndef NDEBUG
            if (world.GetEntityAt(mOwnerWorldSlot) != mOwner ||
                !(mOwner->GetMovementManager().GetStoredPathPosition() ==
                  digest.GetGamePosition())) {
                gEngine->Log(0, "SlotManager: the digest of a ring's owner is stale");
                std::abort();
            }
#endif
            return digest.GetGamePosition();
        }
    }
    mOwnerId = mOwner->GetObjectId();
    mOwnerWorldSlot = world.GetSlotOf(mOwner);
    // The movement manager's read is inline; the character's is a call into another file.
    return mOwner->GetMovementManager().GetPathPosition();
}

inline void SlotManager::CalculateSlotPositions(const World& world, float radius) {
    const WorldVec3 center = OwnerPathPosition(world);
    if (radius == mLastRadius && center == mLastCenter)
        return;
    mLastRadius = radius;
    mLastCenter = center;
    for (Slot& slot : mSlots) {
        slot.placed = false;
        slot.offMesh = kUnknown;
    }
#ifndef NDEBUG
    mPlacedWhenMoved.resize(mSlots.size());
    for (unsigned int i = 0; i < mSlots.size(); ++i)
        mPlacedWhenMoved[i] = CalculateSlotPosition(i, radius);
#endif
}

void SlotManager::Place(std::size_t index) const {
    Slot& slot = mSlots[index];
    slot.position = CalculateSlotPosition(static_cast<unsigned int>(index), mLastRadius);
    slot.placed = true;
#ifndef NDEBUG
    if (!(slot.position == mPlacedWhenMoved[index])) {
        gEngine->Log(0, "SlotManager: slot %zu placed late differs", index);
        std::abort();
    }
#endif
}

inline bool SlotManager::SlotCollides(PathFinder& paths, std::size_t index, int size) {
    if (size != mOffMeshSize || &paths != mOffMeshFinder ||
        paths.GetMeshVersion() != mOffMeshVersion) {
        for (Slot& slot : mSlots)
            slot.offMesh = kUnknown;
        mOffMeshSize = size;
        mOffMeshFinder = &paths;
        mOffMeshVersion = paths.GetMeshVersion();
    }
    std::int8_t& offMesh = mSlots[index].offMesh;
    if (offMesh == kUnknown)
        offMesh = paths.IsOffMesh(Position(index), size) ? 1 : 0;
#ifndef NDEBUG
    if ((offMesh != 0) != paths.IsOffMesh(Position(index), size)) {
        gEngine->Log(0, "SlotManager: the kept mesh test of slot %zu is stale", index);
        std::abort();
    }
#endif
    return offMesh != 0 || paths.IsInsideObstacle(Position(index), size);
}

int SlotManager::PickSlot(Character& requester, bool acceptUnchecked, PathFinder& paths) {
    // Nearest first; equal distances go to the lower index. A slot that collides is passed
    // over where it lies in that order, as if never listed: only those up to the one taken are
    // tested.
    // No two pairs are equal (the indices differ), so any sort gives this order; a ring lists
    // a handful, for which sorting by insertion costs the least.
    if (mCandidates.size() > kInsertionSorted) {
        std::sort(mCandidates.begin(), mCandidates.end());
    } else {
        for (std::size_t i = 1; i < mCandidates.size(); ++i) {
            const std::pair<float, unsigned int> candidate = mCandidates[i];
            std::size_t at = i;
            for (; at > 0 && candidate < mCandidates[at - 1]; --at)
                mCandidates[at] = mCandidates[at - 1];
            mCandidates[at] = candidate;
        }
    }
    const int size = requester.GetSize();
    for (const auto& [distance, index] : mCandidates)
        if (!SlotCollides(paths, index, size) &&
            (acceptUnchecked || requester.CanMoveTo(Position(index), 0.5f)))
            return static_cast<int>(index);
    return -1;
}

// Slot::worldSlot starts at nowhere.
static_assert(World::kNoSlot == 0xFFFFFFFFu);

inline const EntityDigest* SlotManager::HolderDigest(const World& world, std::size_t index,
                                                     std::uint32_t occupant) const {
    const std::uint32_t slot = mSlots[index].worldSlot;
    if (!world.SlotHolds(slot, occupant))
        return nullptr;
    const EntityDigest& digest = world.GetDigest(slot);
    constexpr std::uint32_t kCharacterWritten = SightDigest::kWritten | SightDigest::kCharacter;
    return (digest.gameFlags & kCharacterWritten) == kCharacterWritten ? &digest : nullptr;
}

inline bool SlotManager::HolderGone(World& world, ObjectManager& objects, std::size_t index,
                                    std::uint32_t occupant, bool client) {
    // A client weighs what the holder's actions say, which only the character knows.
    if (!client)
        if (const EntityDigest* digest = HolderDigest(world, index, occupant)) {
            const bool gone = !SightDigest::Has(*digest, SightDigest::kAlive);
#ifndef NDEBUG
            const Character* holder = FindCharacter(occupant);
            if (!holder || gone == holder->IsAlive()) {
                gEngine->Log(0, "SlotManager: the digest of the holder of slot %zu is stale",
                             index);
                std::abort();
            }
#endif
            return gone;
        }
    const Character* holder = objects.GetObject(occupant, mKept[index]);
    mSlots[index].worldSlot = holder ? world.GetSlotOf(holder) : World::kNoSlot;
    return !holder || !holder->IsAlive() || (client && Abandoned(*holder));
}

void SlotManager::RequestSlot(WorldVec3& out, std::uint32_t requesterId, float radius,
                              bool acceptUnchecked, bool hold) {
    if (Character* requester = FindCharacter(requesterId))
        RequestSlot(out, *requester, radius, acceptUnchecked, hold);
    else
        out = WorldVec3();
}

void SlotManager::RequestSlot(WorldVec3& out, Character& requester, float radius,
                              bool acceptUnchecked, bool hold) {
    const std::uint32_t requesterId = requester.GetObjectId();
#ifndef NDEBUG
    if (FindCharacter(requesterId) != &requester) {
        gEngine->Log(0, "SlotManager: a requester is not the character filed under its id");
        std::abort();
    }
#endif
    if (!(radius > 0.0f)) {
        out = WorldVec3();
        return;
    }
    World& world = World::Get();
    CalculateSlotPositions(world, radius);
    // Weighing the slots changes no character: each holder is looked up, and whether the
    // requester may take its slot weighed, once per request. A look (a decision one machine
    // makes alone) leaves the slots as every machine has them.
    ObjectManager& objects = Objects();
    const bool client = gEngine->IsClient();
    PathFinder& paths = world.GetPathFinder();
    const WorldVec3 from = requester.GetMovementManager().GetPathPosition();
    // The free slots are listed as they are found: a holding request frees the vacated ones;
    // the holders left stay.
    mCandidates.clear();
    for (unsigned int i = 0; i < mSlots.size(); ++i) {
        Slot& slot = mSlots[i];
        const std::uint32_t occupant = slot.occupant;
        const bool vacated = occupant != 0 && (occupant == requesterId ||
                                               HolderGone(world, objects, i, occupant, client));
        slot.vacated = vacated;
        if (hold && vacated)
            slot.occupant = 0;
        if (slot.occupant == 0 || (!hold && vacated))
            mCandidates.emplace_back(SlotDistanceSquared(Position(i), from), i);
    }
    int taken = PickSlot(requester, acceptUnchecked, paths);
    if (taken >= 0) {
        if (hold)
            mSlots[static_cast<std::size_t>(taken)].occupant = requesterId;
        out = Position(static_cast<std::size_t>(taken));
        return;
    }

    // A holder of the same size that stands further from its slot than the requester gives
    // the slot up.
    mCandidates.clear();
    const float extents = requester.GetExtents();
    const CharacterPathingSize size = requester.GetPathingSize();
    for (unsigned int i = 0; i < mSlots.size(); ++i) {
        // A vacated slot a holding request has freed; one a look saw vacated is no holder's.
        const std::uint32_t occupant = mSlots[i].occupant;
        if (occupant == 0 || mSlots[i].vacated)
            continue;
        // The holder's path position as its digest holds it spares reading the character of a
        // holder nearer its slot; a position not yet taken is taken (as the character reads
        // it) only from a holder of the requester's size.
        const EntityDigest* digest = HolderDigest(world, i, occupant);
        const bool kept = digest && SightDigest::Has(*digest, SightDigest::kOwnPathPosition);
        const WorldVec3& place = Position(i);
        const float mine = SlotDistanceSquared(place, from);
        if (kept && !(mine < SlotDistanceSquared(place, digest->GetGamePosition())))
            continue;
        const Character* holder = objects.GetObject(occupant, mKept[i]);
        if (!holder)
            continue;
        // An equal size has equal extents (the call is in another file).
        if (holder->GetPathingSize() != size && holder->GetExtents() != extents)
            continue;
#ifndef NDEBUG
        if (kept &&
            !(holder->GetMovementManager().GetStoredPathPosition() == digest->GetGamePosition())) {
            gEngine->Log(0, "SlotManager: the digest of the holder of slot %u is stale", i);
            std::abort();
        }
#endif
        if (kept ||
            mine < SlotDistanceSquared(place, holder->GetMovementManager().GetPathPosition()))
            mCandidates.emplace_back(mine, i);
    }
    taken = PickSlot(requester, acceptUnchecked, paths);
    if (taken >= 0) {
        const auto index = static_cast<std::size_t>(taken);
        out = Position(index);
        if (!hold)
            return;
        std::uint32_t& occupant = mSlots[index].occupant;
        Character* displaced = objects.GetObject(occupant, mKept[index]);
        occupant = requesterId;
        if (displaced)
            displaced->LostSlot();
        return;
    }
    out = WorldVec3();
}

}  // namespace GAME
