#include "Host/WorldFrame.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/QueryScratch.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"

namespace GAME {

namespace {

// What a lookup of one of the frame's ids answered, and at which version of the object table:
// while the table keeps that version the answer stands, so each id is looked up once a frame
// unless an update files or takes objects.
struct Found {
    static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
    Entity* entity = nullptr;
    Character* character = nullptr;
    std::uint64_t version = kNever;
};

// The frame's scratch lists, kept by the machine so that a steady frame allocates nothing.
struct WorldFrameScratch {
    std::vector<Entity*> entities;
    std::vector<std::uint32_t> ids;
    std::vector<std::uint32_t> sortBuffer;
    std::vector<Found> found;  // beside ids
    // The world's membership when ids were gathered, if they named every entity in it: while the
    // world keeps it the same ids come back, so they are gathered again only when it changes.
    std::uint64_t membership = Found::kNever;
    // Following the world's changes: each id's first and last change, what to add and drop, and
    // the merged lists.
    std::vector<World::MembershipChange> changes;
    std::vector<std::uint32_t> added;
    std::vector<std::uint32_t> dropped;
    std::vector<std::uint32_t> mergedIds;
    std::vector<Found> mergedFound;
#ifndef NDEBUG
    std::vector<std::uint32_t> sortedAsBefore;  // the comparison sort's answer, to check against
    std::vector<std::uint32_t> gatheredAgain;   // kept ids are checked against
#endif
};

// The lists that hold every entity grow with the world, before the frame that fills them.
void MakeFrameRoom(std::size_t entities) {
    WorldFrameScratch& scratch = Singleton<WorldFrameScratch>::Get();
    ReserveWritten(scratch.entities, entities);
    ReserveWritten(scratch.ids, entities);
    ReserveWritten(scratch.sortBuffer, entities);
    ReserveWritten(scratch.found, entities);
    ReserveWritten(scratch.mergedIds, entities);
    ReserveWritten(scratch.mergedFound, entities);
}
const bool kFrameRoomGrowsWithTheWorld = [] {
    World::AddGrowthHook(&MakeFrameRoom);
    return true;
}();

// A box that holds every region's grid: the world's query then visits every placed entity once.
constexpr float kEverywhere = 1.0e7f;

// Characters ahead of the update are asked for early, as each lies apart in memory: their own
// lines this far ahead, the objects those point to half as far, what those point to next.
constexpr std::size_t kPrefetchAhead = 4;

// Ascending, as std::sort would leave them, a byte at a time from the lowest, over only the bytes
// some id has (a crowd's fit in three): a fraction of a comparison sort's work for a thousand
// ids, and no heap once warm.
void SortIds(std::vector<std::uint32_t>& ids, std::vector<std::uint32_t>& buffer) {
    constexpr unsigned kDigitBits = 8;
    constexpr std::size_t kDigits = 4;
    constexpr std::size_t kRadix = std::size_t{1} << kDigitBits;
    std::array<std::array<std::uint32_t, kRadix>, kDigits> counts{};
    std::uint32_t all = 0;
    for (const std::uint32_t id : ids) {
        all |= id;
        for (std::size_t d = 0; d < kDigits; ++d)
            ++counts[d][(id >> (d * kDigitBits)) & (kRadix - 1)];
    }
    buffer.resize(ids.size());
    for (std::size_t d = 0; d < kDigits && (all >> (d * kDigitBits)) != 0; ++d) {
        std::uint32_t start = 0;
        for (std::uint32_t& count : counts[d])
            start += std::exchange(count, start);
        for (const std::uint32_t id : ids)
            buffer[counts[d][(id >> (d * kDigitBits)) & (kRadix - 1)]++] = id;
        ids.swap(buffer);
    }
}

// Every entity in the world, by id: an update may destroy another entity, and ids never dangle.
void GatherIds(World& world, WorldFrameScratch& scratch, std::vector<std::uint32_t>& ids) {
    ids.clear();
    scratch.entities.clear();
    world.GetEntitiesInBox(scratch.entities, world.GetRegions().front().get(),
                           ABBox{Vec3(-kEverywhere, -kEverywhere, -kEverywhere),
                                 Vec3(kEverywhere, kEverywhere, kEverywhere)});
    for (const Entity* entity : scratch.entities)
        ids.push_back(entity->GetObjectId());
    scratch.entities.clear();
#ifndef NDEBUG
    scratch.sortedAsBefore = ids;
    std::sort(scratch.sortedAsBefore.begin(), scratch.sortedAsBefore.end());
#endif
    SortIds(ids, scratch.sortBuffer);
#ifndef NDEBUG
    if (ids != scratch.sortedAsBefore) {
        gEngine->Log(0, "WorldFrame: the ids of %zu entities sorted wrongly", ids.size());
        std::abort();
    }
#endif
}

// Brings the kept ids (and their lookups) up to the world's entries and departures since they
// were gathered; false when those do not fit the list (then it is gathered afresh).
bool FollowChanges(std::span<const World::MembershipChange> changes, WorldFrameScratch& scratch) {
    if (changes.empty())
        return true;
    // An id may come and go within the span: only its first and last change count.
    scratch.changes.assign(changes.begin(), changes.end());
    std::sort(scratch.changes.begin(), scratch.changes.end(), [](const auto& a, const auto& b) {
        return a.id != b.id ? a.id < b.id : a.membership < b.membership;
    });
    scratch.added.clear();
    scratch.dropped.clear();
    for (std::size_t first = 0, last = 0; first < scratch.changes.size(); first = last) {
        while (last < scratch.changes.size() &&
               scratch.changes[last].id == scratch.changes[first].id)
            ++last;
        const bool held = !scratch.changes[first].entered;
        const bool wanted = scratch.changes[last - 1].entered;
        if (wanted && !held)
            scratch.added.push_back(scratch.changes[first].id);
        else if (held && !wanted)
            scratch.dropped.push_back(scratch.changes[first].id);
    }
    if (scratch.added.empty() && scratch.dropped.empty())
        return true;
    scratch.mergedIds.clear();
    scratch.mergedFound.clear();
    std::size_t add = 0, drop = 0;
    for (std::size_t j = 0; j < scratch.ids.size(); ++j) {
        const std::uint32_t id = scratch.ids[j];
        for (; add < scratch.added.size() && scratch.added[add] <= id; ++add) {
            if (scratch.added[add] == id)
                return false;
            scratch.mergedIds.push_back(scratch.added[add]);
            scratch.mergedFound.emplace_back();
        }
        if (drop < scratch.dropped.size() && scratch.dropped[drop] == id) {
            ++drop;
            continue;
        }
        scratch.mergedIds.push_back(id);
        scratch.mergedFound.push_back(scratch.found[j]);
    }
    for (; add < scratch.added.size(); ++add) {
        scratch.mergedIds.push_back(scratch.added[add]);
        scratch.mergedFound.emplace_back();
    }
    if (drop != scratch.dropped.size())
        return false;
    scratch.ids.swap(scratch.mergedIds);
    scratch.found.swap(scratch.mergedFound);
    return true;
}

// The frame's lookup of ids[j], made again only when the table changed since it was last made.
// `version` is the table's version now.
[[gnu::always_inline]] inline const Found& Look(ObjectManager& objects, WorldFrameScratch& scratch,
                                                std::size_t j, std::uint64_t version) {
    Found& found = scratch.found[j];
    if (found.version == version) {
#ifndef NDEBUG
        const std::uint32_t id = scratch.ids[j];
        if (objects.GetObject<Entity>(id) != found.entity ||
            objects.GetObject<Character>(id) != found.character) {
            gEngine->Log(0, "WorldFrame: the kept lookup of id %u is stale", id);
            std::abort();
        }
#endif
        return found;
    }
    const RTTI_ClassInfo* classInfo = nullptr;
    Object* object = objects.GetObject(scratch.ids[j], classInfo);
    found = Found();
    if (object && (classInfo == &Character::classInfo || classInfo->IsA(Character::classInfo))) {
        found.character = static_cast<Character*>(object);
        found.entity = found.character;
    } else if (object && classInfo->IsA(Entity::classInfo)) {
        found.entity = static_cast<Entity*>(object);
    }
    // An odd version is a change under way: nothing is kept through it.
    found.version = (version & 1u) == 0 ? version : Found::kNever;
    return found;
}

// Read only to ask for memory. Nothing between the caller's reading of `version` and this
// changes the table.
[[gnu::always_inline]] inline void PrefetchAhead(ObjectManager& objects, WorldFrameScratch& scratch,
                                                 std::size_t i, std::uint64_t version,
                                                 bool preAnimation) {
    const std::size_t count = scratch.ids.size();
    if (i + kPrefetchAhead < count)
        if (const Character* ahead = Look(objects, scratch, i + kPrefetchAhead, version).character)
            ahead->PrefetchOwnLines(preAnimation);
    if (i + kPrefetchAhead / 2 < count)
        if (const Character* ahead =
                Look(objects, scratch, i + kPrefetchAhead / 2, version).character)
            ahead->PrefetchFrameData(preAnimation);
    if (preAnimation && i + 1 < count)
        if (const Character* ahead = Look(objects, scratch, i + 1, version).character)
            ahead->PrefetchPointedData(preAnimation);
}

}  // namespace

void UpdateWorldEntities(int step) {
    UpdateWorldEntitiesSelf(step);
    UpdateWorldCharactersPreAnimation(step);
}

void UpdateWorldEntitiesSelf(int step) {
    World& world = World::Get();
    WorldFrameScratch& scratch = Singleton<WorldFrameScratch>::Get();
    if (world.GetRegions().empty()) {
        scratch.ids.clear();
        scratch.found.clear();
        scratch.membership = Found::kNever;
        return;
    }
    const std::uint64_t membership = world.GetMembership();
    bool kept = scratch.membership == membership;
    std::span<const World::MembershipChange> changes;
    if (!kept && scratch.membership != Found::kNever &&
        world.GetMembershipChanges(scratch.membership, changes))
        kept = FollowChanges(changes, scratch);
    if (kept) {
        scratch.membership = membership;
#ifndef NDEBUG
        GatherIds(world, scratch, scratch.gatheredAgain);
        if (scratch.gatheredAgain != scratch.ids) {
            gEngine->Log(0, "WorldFrame: the kept ids of %zu entities are stale",
                         scratch.ids.size());
            std::abort();
        }
#endif
    } else {
        GatherIds(world, scratch, scratch.ids);
        scratch.found.assign(scratch.ids.size(), Found());
        // A box that left someone out could take them in as they move: such a list is not kept.
        scratch.membership =
            scratch.ids.size() == world.GetEntityCount() ? membership : Found::kNever;
    }

    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // An entity placed by the level, or by anyone who left it to the frame, is brought to life
    // before its first update.
    for (std::size_t i = 0; i < scratch.ids.size(); ++i) {
        const std::uint64_t version = objects.Version();
        PrefetchAhead(objects, scratch, i, version, false);
        if (Entity* entity = Look(objects, scratch, i, version).entity;
            entity && entity->IsInWorld()) {
            if (!entity->HasDoneInitialUpdate())
                entity->InitialUpdate();
            entity->UpdateSelf(step);
        }
    }
}

void UpdateWorldCharactersPreAnimation(int step) {
    WorldFrameScratch& scratch = Singleton<WorldFrameScratch>::Get();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::size_t i = 0; i < scratch.ids.size(); ++i) {
        const std::uint64_t version = objects.Version();
        PrefetchAhead(objects, scratch, i, version, true);
        if (Character* character = Look(objects, scratch, i, version).character;
            character && character->IsInWorld())
            character->PreAnimationUpdate(step);
    }
}

}  // namespace GAME
