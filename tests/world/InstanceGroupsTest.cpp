// The level's instance groups and the unique ids of placed entities: what the groups hold and
// nest, how entities are found by unique id, and what a bad group or id in the file does.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kPostA = "000000aa000000000000000000000001";
constexpr const char* kPostB = "000000AA000000000000000000000002";  // either case

class InstanceGroups : public ::testing::Test {
protected:
    // A one-region level with two signposts (ids A and B) and the given "groups" text.
    std::string WriteLevel(const std::string& groups, const std::string& extraEntity = "") {
        const std::string text = std::string(R"({"pathingSizes": ["Small"], "regions": [
            {"name": "Field", "boundsMin": [-50, -10, -50], "boundsMax": [50, 10, 50]}],
          "entities": [
            {"record": "Levels/Sample/Records/Signpost.dbr", "region": "Field",
             "position": [1, 0, 2], "onFloor": false, "uniqueId": ")") +
                                 kPostA + R"("},
            {"record": "Levels/Sample/Records/Signpost.dbr", "region": "Field",
             "position": [3, 0, 4], "onFloor": false, "uniqueId": ")" +
                                 kPostB + "\"}" + extraEntity + R"(],
          "groups": )" + groups + "}";
        std::ofstream(copy.Root() / "Levels/Sample/Groups.level") << text;
        return "Levels/Sample/Groups.level";
    }
    static UniqueId Id(const char* text) {
        UniqueId id;
        EXPECT_TRUE(id.FromString(text));
        return id;
    }

    SampleLevelCopy copy;
    TestMachine tm{copy.Root().string()};
};

TEST_F(InstanceGroups, GroupsNestAndEntitiesAreFoundByUniqueId) {
    World& world = World::Get();
    ASSERT_TRUE(world.LoadLevel(WriteLevel(std::string(R"([
        {"name": "Route", "type": "Patrollers", "members": [")") +
                                           kPostA + R"("],
         "children": [{"name": "Stops", "type": "Patrol Points",
                       "members": [")" + kPostA +
                                           R"(", ")" + kPostB + R"("]}]},
        {"name": "Lonely", "type": "Unique Proxies", "members": []}])")));
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    ASSERT_EQ(groups.GetNumGroups(), 3u);
    std::vector<std::string> names;
    groups.GetGroupsThatContain(Id(kPostA), names);
    EXPECT_EQ(names, (std::vector<std::string>{"Route", "Stops"}));
    names.clear();
    groups.GetGroupsThatContain(UniqueId(), names);
    EXPECT_TRUE(names.empty());
    const InstanceGroup* route = groups.GetGroup("Route");
    ASSERT_NE(route, nullptr);
    EXPECT_EQ(route->GetType(), "Patrollers");
    ASSERT_EQ(route->GetNumChildren(), 1u);
    std::vector<UniqueId> stops;
    route->GetChild(0)->FillIdList(stops);
    EXPECT_EQ(stops, (std::vector<UniqueId>{Id(kPostA), Id(kPostB)}));
    EXPECT_EQ(groups.GetGroup("Nowhere"), nullptr);

    const Entity* b = UniqueIdMap::Get().GetEntity(Id(kPostB));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetUniqueId(), Id(kPostB));
    WorldVec3 at;
    ASSERT_TRUE(world.GetInstanceWorldPosition(Id(kPostB), at));
    EXPECT_FLOAT_EQ(at.local.x, 3.0f);
    EXPECT_FLOAT_EQ(at.local.z, 4.0f);
    EXPECT_FALSE(world.GetInstanceWorldPosition(UniqueId(9, 9, 9, 9), at));

    // Unloading forgets the groups and the ids with the entities.
    world.UnloadLevel();
    EXPECT_EQ(groups.GetNumGroups(), 0u);
    EXPECT_EQ(UniqueIdMap::Get().GetEntity(Id(kPostA)), nullptr);
}

TEST_F(InstanceGroups, BadGroupsAndIdsAreNamedAndSkipped) {
    struct Case {
        const char* groups;
        const char* extraEntity;
        const char* logged;
        std::size_t groupsLeft;
    };
    const std::string twin = std::string(R"(, {"record": "Levels/Sample/Records/Signpost.dbr",
        "region": "Field", "position": [5, 0, 5], "uniqueId": ")") +
                             kPostA + "\"}";
    const Case cases[] = {
        {R"([{"type": "Patrollers"}, {"name": "Kept"}])", "", "a group without a \"name\"", 1},
        {R"([{"name": "Twice"}, {"name": "Twice"}])", "", "group \"Twice\" is named twice", 1},
        {R"([{"name": "Odd", "members": ["12"]}])", "", "a member is not a unique id", 1},
        {"[]",
         R"(, {"record": "Levels/Sample/Records/Signpost.dbr", "region": "Field",
               "position": [5, 0, 5], "uniqueId": "not hex"})",
         "is not 32 hexadecimal digits", 0},
        {"[]", twin.c_str(), "is taken; the entity has none", 0},
    };
    for (const Case& c : cases) {
        tm.ClearLog();
        ASSERT_TRUE(World::Get().LoadLevel(WriteLevel(c.groups, c.extraEntity))) << c.logged;
        EXPECT_EQ(tm.CountLog(c.logged), 1) << c.logged;
        EXPECT_EQ(InstanceGroupManager::Get()->GetNumGroups(), c.groupsLeft) << c.logged;
        // The entities load all the same; the first holder of an id keeps it.
        EXPECT_GE(World::Get().GetPlacedEntityIds().size(), 2u) << c.logged;
        EXPECT_EQ(UniqueIdMap::Get().GetEntity(Id(kPostA))->GetObjectId(),
                  World::Get().GetPlacedEntityIds()[0])
            << c.logged;
    }
}

}  // namespace
}  // namespace GAME::test
