// The world's part of the entity digests: the id and position follow every move, the slot is
// emptied when its entity leaves, and the slot query and the sweep report what the entity query
// reports; the grid's copy of the game's part follows commits and moves.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/world/World.h"
#include "Engine/world/WorldSweep.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

WorldCoords At(Region* region, float x, float z) {
    return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
}

// The game's part the sweep hands over for `e` (flags ~0 when the sweep did not see it); the
// packed words the screen reads must say the same.
std::uint32_t SweptFlags(World& world, Region* region, Entity* e) {
    std::uint32_t flags = ~0u, tagged = ~0u;
    const std::uint32_t slot = world.GetSlotOf(e);
    world.SweepSphere(
        region, Sphere{e->GetCoords().coords.origin, 1.0f}, EntityListType::All,
        [&](const EntityGrid::Pack* packs, std::size_t count) {
            constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
            std::uint64_t bits = 0;
            for (std::size_t i = 0; i < count; ++i)
                if (packs[i / kWidth].slot[i % kWidth] == slot) {
                    tagged = packs[i / kWidth].gameFlags[i % kWidth];
                    bits |= std::uint64_t{1} << i;
                }
            return bits;
        },
        [&](const EntityGrid::Entry& entry) { return entry.entity == e; }, [](std::size_t) {},
        [&](const EntityGrid::Entry& entry) {
            EXPECT_EQ(entry.objectId, e->GetObjectId());
            flags = entry.game.gameFlags;
        });
    EXPECT_EQ(tagged, flags);
    return flags;
}

TEST(EntityDigest, FollowsMovesAndEmptiesWithTheSlot) {
    TestMachine tm;
    World& world = World::Get();
    Region* a = world.AddRegion(std::make_unique<Region>("A", Vec3(), Vec3(100, 50, 100)));
    Region* b = world.AddRegion(std::make_unique<Region>("B", Vec3(100, 0, 0), Vec3(100, 50, 100)));
    Entity* e = MakeEntity();
    EXPECT_EQ(world.FindDigest(e), nullptr);
    ASSERT_TRUE(world.AddEntity(e, At(a, 10, 10), false));
    const std::uint32_t slot = world.GetSlotOf(e);
    EXPECT_EQ(world.GetDigest(slot).objectId, e->GetObjectId());
    EXPECT_EQ(world.GetDigest(slot).gameFlags, 0u);
    // Within a cell, across cells, across regions, and carried by a parent.
    // The game's part committed before each move rides along with the grid's copy.
    std::uint32_t flags = 10;
    for (const WorldCoords& to : {At(a, 11, 10), At(a, 60, 70), At(b, 5, 5)}) {
        world.GetDigest(slot).gameFlags = ++flags;
        world.CommitGamePart(slot);
        world.SetCoords(e, to);
        EXPECT_EQ(world.GetDigest(slot).GetPosition(), e->GetPosition());
        EXPECT_EQ(SweptFlags(world, to.region, e), flags);
    }
    Entity* parent = MakeEntity();
    world.AddEntity(parent, At(a, 30, 30), false);
    parent->Attach(e, Coords::FromOrigin(Vec3(1, 0, 0)), "hand");
    EXPECT_EQ(world.FindDigest(e)->GetPosition(), e->GetPosition());

    // Leaving empties the slot: its id is gone, and the game's part with it.
    world.GetDigest(slot).gameFlags = 1;
    world.RemoveEntity(e);
    EXPECT_FALSE(world.SlotHolds(slot, e->GetObjectId()));
    EXPECT_EQ(world.GetDigest(slot).gameFlags, 0u);
    EXPECT_FALSE(world.SlotHolds(slot, 0));
    // Destroyed while standing in the world: the same.
    const std::uint32_t parentSlot = world.GetSlotOf(parent);
    const std::uint32_t parentId = parent->GetObjectId();
    Singleton<ObjectManager>::Get().DestroyObject(parent);
    EXPECT_FALSE(world.SlotHolds(parentSlot, parentId));
}

TEST(EntityDigest, TheSlotQueryReportsWhatTheEntityQueryReports) {
    TestMachine tm;
    World& world = World::Get();
    Region* a = world.AddRegion(std::make_unique<Region>("A", Vec3(), Vec3(100, 50, 100)));
    std::uint32_t seed = 5;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * 99.0f;
    };
    std::vector<Entity*> placed;
    for (int i = 0; i < 500; ++i) {
        placed.push_back(MakeEntity());
        world.AddEntity(placed.back(), At(a, next(), next()), false);
    }
    for (std::size_t i = 3; i < placed.size(); i += 17)
        world.RemoveEntity(placed[i]);
    for (std::size_t i = 3; i < placed.size(); i += 34)
        world.AddEntity(placed[i], At(a, next(), next()), false);
    // A crowd in one cell (more than one block of the sweep's packed test), some moved inside
    // their cell and some grown: the sweep tests the packed copies, which must follow.
    for (int i = 0; i < 150; ++i) {
        placed.push_back(MakeEntity());
        world.AddEntity(placed.back(), At(a, 80.5f + next() / 33.0f, 80.5f + next() / 33.0f),
                        false);
    }
    for (std::size_t i = 0; i < placed.size(); i += 7)
        if (placed[i]->IsInWorld())
            world.SetCoords(placed[i], At(a, placed[i]->GetCoords().coords.origin.x + 0.1f,
                                          placed[i]->GetCoords().coords.origin.z));
    for (std::size_t i = 1; i < placed.size(); i += 11)
        placed[i]->SetBoundingRadius(4.0f);
    for (const Sphere& sphere :
         {Sphere{Vec3(50, 0, 50), 30}, Sphere{Vec3(10, 0, 90), 5}, Sphere{Vec3(50, 0, 50), 200},
          Sphere{Vec3(82, 0, 82), 1.5f}, Sphere{Vec3(86.5f, 0, 82), 1}}) {
        std::vector<Entity*> entities;
        std::vector<std::uint32_t> slots;
        world.GetEntitiesInSphere(entities, a, sphere);
        world.GetSlotsInSphere(slots, a, sphere);
        ASSERT_EQ(slots.size(), entities.size());
        for (std::size_t i = 0; i < slots.size(); ++i)
            EXPECT_EQ(world.GetEntityAt(slots[i]), entities[i]);
        // A sweep keeping every other id sees the same entities, filtered, in the same order.
        std::vector<Entity*> kept;
        std::size_t announced = 0;
        world.SweepSphere(
            a, sphere, EntityListType::All,
            [](const EntityGrid::Entry& entry) { return entry.objectId % 2 == 0; },
            [&](std::size_t count) { announced = count; },
            [&](const EntityGrid::Entry& entry) { kept.push_back(entry.entity); });
        // Screened first by slot from the packed words (which follow removals and moves), then
        // filtered by id: the same as the filter alone asking both.
        std::vector<Entity*> screened;
        world.SweepSphere(
            a, sphere, EntityListType::All,
            [](const EntityGrid::Pack* packs, std::size_t count) {
                constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
                std::uint64_t bits = 0;
                for (std::size_t i = 0; i < count; ++i)
                    bits |= static_cast<std::uint64_t>(packs[i / kWidth].slot[i % kWidth] % 3 != 0)
                            << i;
                return bits;
            },
            [](const EntityGrid::Entry& entry) {
                return entry.objectId % 2 == 0 && entry.slot % 3 != 0;
            },
            [](std::size_t) {},
            [&](const EntityGrid::Entry& entry) { screened.push_back(entry.entity); });
        std::erase_if(entities, [](Entity* e) { return e->GetObjectId() % 2 != 0; });
        EXPECT_EQ(kept, entities);
        EXPECT_EQ(announced, kept.size());
        std::erase_if(entities, [&](Entity* e) { return world.GetSlotOf(e) % 3 == 0; });
        EXPECT_EQ(screened, entities);
        // The same screen testing the sphere itself, and a `begin` taking the kept entries as
        // one list in place of `use`: the same entities in the same order.
        std::vector<Entity*> listed;
        world.SweepSphere(
            a, sphere, EntityListType::All,
            [](const EntityGrid::Pack* packs, std::size_t count, const Vec3& toQuery,
               const Sphere& inView, std::uint64_t& sure) {
                constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
                std::uint64_t bits = 0;
                for (std::size_t i = 0; i < count; ++i)
                    bits |= static_cast<std::uint64_t>(packs[i / kWidth].slot[i % kWidth] % 3 != 0)
                            << i;
                sure = 0;
                return bits & WorldCells::SphereMask(packs, count, toQuery, inView);
            },
            [](const EntityGrid::Entry& entry) {
                return entry.objectId % 2 == 0 && entry.slot % 3 != 0;
            },
            [&](const EntityGrid::Entry* const* entries, std::size_t count) {
                for (std::size_t i = 0; i < count; ++i)
                    listed.push_back(entries[i]->entity);
            },
            [](const EntityGrid::Entry&) { ADD_FAILURE() << "a list-taking begin replaces use"; });
        EXPECT_EQ(listed, entities);
        // A screen vouching for the even slots, whose `keep` is asked only of the others and
        // runs a query of its own meanwhile (the query's rank marks must not mix with the
        // sweep's): the same entities in the same order.
        std::vector<Entity*> vouched, nested, expected;
        std::size_t asked = 0;
        world.GetEntitiesInSphere(expected, a, sphere);
        std::erase_if(expected, [&](Entity* e) {
            return world.GetSlotOf(e) % 2 != 0 && e->GetObjectId() % 3 != 0;
        });
        world.SweepSphere(
            a, sphere, EntityListType::All,
            [](const EntityGrid::Pack* packs, std::size_t count, const Vec3& toQuery,
               const Sphere& inView, std::uint64_t& sure) {
                constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
                const std::uint64_t meets = WorldCells::SphereMask(packs, count, toQuery, inView);
                sure = 0;
                for (std::size_t i = 0; i < count; ++i)
                    sure |= static_cast<std::uint64_t>(packs[i / kWidth].slot[i % kWidth] % 2 == 0)
                            << i;
                sure &= meets;
                return meets;
            },
            [&](const EntityGrid::Entry& entry) {
                ++asked;
                nested.clear();
                world.GetEntitiesInSphere(nested, a, Sphere{entry.position, 3});
                EXPECT_FALSE(nested.empty());
                return entry.slot % 2 == 0 || entry.objectId % 3 == 0;
            },
            [&](const EntityGrid::Entry* const* entries, std::size_t count) {
                for (std::size_t i = 0; i < count; ++i)
                    vouched.push_back(entries[i]->entity);
            },
            [](const EntityGrid::Entry&) {});
        EXPECT_EQ(vouched, expected);
#ifdef NDEBUG
        // Release builds ask only the entities not vouched for.
        std::size_t unvouched = 0;
        std::vector<Entity*> all;
        world.GetEntitiesInSphere(all, a, sphere);
        for (Entity* e : all)
            unvouched += world.GetSlotOf(e) % 2 != 0 ? 1 : 0;
        EXPECT_EQ(asked, unvouched);
#endif
        // The same screen marking the even slots itself, leaving them out of what it answers:
        // the same entities in the same order, none of them lost or listed twice.
        std::vector<Entity*> marked;
        std::size_t askedOfMarking = 0;
        world.SweepSphere(
            a, sphere, EntityListType::All,
            [](const EntityGrid::Pack* packs, std::size_t count, const Vec3& toQuery,
               const Sphere& inView, std::uint64_t& sure, WorldCells::SweepMarker& marker) {
                const EntityGrid::Entry* const entries = marker.entries;
                constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
                const std::uint64_t meets = WorldCells::SphereMask(packs, count, toQuery, inView);
                std::uint64_t even = 0;
                for (std::size_t i = 0; i < count; ++i)
                    even |= static_cast<std::uint64_t>(packs[i / kWidth].slot[i % kWidth] % 2 == 0)
                            << i;
                even &= meets;
                for (std::size_t i = 0; i < count; ++i) {
                    if ((even >> i & 1) == 0)
                        continue;
                    marker.marks[entries[i].rank] = WorldCells::kMarked;
                    marker.ranks[marker.found++] = entries[i].rank;
                }
                sure = 0;
                return meets & ~even;
            },
            [&](const EntityGrid::Entry& entry) {
                ++askedOfMarking;
                return entry.slot % 2 == 0 || entry.objectId % 3 == 0;
            },
            [&](const EntityGrid::Entry* const* entries, std::size_t count) {
                for (std::size_t i = 0; i < count; ++i)
                    marked.push_back(entries[i]->entity);
            },
            [](const EntityGrid::Entry&) {});
        EXPECT_EQ(marked, expected);
#ifdef NDEBUG
        EXPECT_EQ(askedOfMarking, unvouched);
#endif
    }
    // Two kept far apart in world order, whose ranks span many words of the rank bit set per
    // entity: still handed over in world order.
    std::vector<Entity*> ends;
    world.SweepSphere(
        a, Sphere{Vec3(50, 0, 50), 200}, EntityListType::All,
        [&](const EntityGrid::Entry& entry) {
            return entry.entity == placed.back() || entry.entity == placed.front();
        },
        [&](const EntityGrid::Entry& entry) { ends.push_back(entry.entity); });
    EXPECT_EQ(ends, (std::vector<Entity*>{placed.front(), placed.back()}));
}

}  // namespace
}  // namespace GAME::test
