// The world's membership value and the list of entries and departures a kept list follows.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

struct Change {
    int probe;
    bool entered;
};

struct MembershipCase {
    const char* what;
    std::vector<Change> changes;  // made in order; then every placed probe moves
};

TEST(WorldMembership, ChangesSinceAValueAreTheEntriesAndDeparturesAfterIt) {
    const MembershipCase cases[] = {
        {"one entry", {{0, true}}},
        {"entries and a departure", {{0, true}, {1, true}, {0, false}}},
        {"left and came back", {{0, true}, {0, false}, {0, true}}},
    };
    for (const MembershipCase& c : cases) {
        SCOPED_TRACE(c.what);
        TestMachine tm;
        World& world = World::Get();
        Region* region = world.AddRegion(std::make_unique<Region>("M", Vec3(), Vec3(50, 50, 50)));
        std::vector<Entity*> probes;
        for (int i = 0; i < 2; ++i)
            probes.push_back(Singleton<ObjectManager>::Get().CreateObject<Entity>());
        const auto at = [&](float x) {
            return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, x)));
        };
        const std::uint64_t start = world.GetMembership();
        std::vector<std::uint64_t> after;
        for (const Change& change : c.changes) {
            if (change.entered)
                ASSERT_TRUE(world.AddEntity(probes[change.probe], at(1.0f), true));
            else
                ASSERT_TRUE(world.RemoveEntity(probes[change.probe]));
            after.push_back(world.GetMembership());
        }
        const std::uint64_t last = world.GetMembership();
        for (Entity* probe : probes)
            if (probe->IsInWorld())
                world.SetCoords(probe, at(30.0f));
        EXPECT_EQ(world.GetMembership(), last) << "moves change nothing";
        // From the start and from each change's value, the changes after it, in order.
        for (std::size_t from = 0; from <= c.changes.size(); ++from) {
            std::span<const World::MembershipChange> got;
            ASSERT_TRUE(world.GetMembershipChanges(from == 0 ? start : after[from - 1], got));
            ASSERT_EQ(got.size(), c.changes.size() - from);
            for (std::size_t k = 0; k < got.size(); ++k) {
                const Change& want = c.changes[from + k];
                EXPECT_EQ(got[k].id, probes[want.probe]->GetObjectId());
                EXPECT_EQ(got[k].entered, want.entered);
                EXPECT_EQ(got[k].membership, after[from + k]);
            }
        }
        std::span<const World::MembershipChange> none;
        EXPECT_FALSE(world.GetMembershipChanges(start - 1, none)) << "a value from before";
        // A new region restarts the list: nothing before it can be followed.
        world.AddRegion(std::make_unique<Region>("N", Vec3(100, 0, 0), Vec3(50, 50, 50)));
        EXPECT_NE(world.GetMembership(), last);
        std::span<const World::MembershipChange> got;
        EXPECT_FALSE(world.GetMembershipChanges(start, got));
    }
}

TEST(WorldMembership, OnlyTheLatestChangesAreKept) {
    TestMachine tm;
    World& world = World::Get();
    Region* region = world.AddRegion(std::make_unique<Region>("M", Vec3(), Vec3(50, 50, 50)));
    Entity* probe = Singleton<ObjectManager>::Get().CreateObject<Entity>();
    const WorldCoords at(region, Coords::FromOrigin(Vec3(1, 0, 1)));
    const std::uint64_t start = world.GetMembership();
    std::vector<std::uint64_t> values;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(i % 2 == 0 ? world.AddEntity(probe, at, true) : world.RemoveEntity(probe));
        values.push_back(world.GetMembership());
    }
    std::span<const World::MembershipChange> got;
    EXPECT_FALSE(world.GetMembershipChanges(start, got)) << "the oldest were let go";
    ASSERT_TRUE(world.GetMembershipChanges(values[values.size() - 11], got));
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got.back().membership, world.GetMembership());
    EXPECT_EQ(got.back().entered, probe->IsInWorld());
}

}  // namespace
}  // namespace GAME::test
