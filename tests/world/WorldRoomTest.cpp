// Room made as the world grows: the growth hooks hear of it, and lists grown by it keep what
// they held and still answer every query in full.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/QueryScratch.h"
#include "Engine/world/World.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

std::vector<std::size_t> gRoomsHeard;

void HearRoom(std::size_t entities) {
    gRoomsHeard.push_back(entities);
}

TEST(WorldRoom, GrowthHooksHearRoomForEveryEntityAndQueriesStayWhole) {
    static const bool registered = [] {
        World::AddGrowthHook(&HearRoom);
        return true;
    }();
    ASSERT_TRUE(registered);
    const std::size_t counts[] = {1, 2, 3, 9, 70};
    for (const std::size_t count : counts) {
        SCOPED_TRACE(count);
        gRoomsHeard.clear();
        TestMachine tm;
        World& world = World::Get();
        Region* region = world.AddRegion(std::make_unique<Region>("R", Vec3(), Vec3(64, 20, 64)));
        std::vector<Entity*> placed;
        for (std::size_t i = 0; i < count; ++i) {
            Entity* probe = Singleton<ObjectManager>::Get().CreateObject<Entity>();
            const float x = static_cast<float>(i % 8) * 7.0f + 1.0f;
            ASSERT_TRUE(world.AddEntity(
                probe, WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, x))), true));
            placed.push_back(probe);
            ASSERT_FALSE(gRoomsHeard.empty());
            EXPECT_GT(gRoomsHeard.back(), i) << "room for every entity placed";
        }
        // Heard only when the room grew by half: a few times, each more than the last.
        for (std::size_t k = 1; k < gRoomsHeard.size(); ++k)
            EXPECT_GE(2 * gRoomsHeard[k], 3 * gRoomsHeard[k - 1]);
        std::vector<Entity*> all;
        world.GetEntitiesInBox(all, region, ABBox{Vec3(-1, -1, -1), Vec3(65, 21, 65)});
        EXPECT_EQ(all, placed) << "every entity, in the order placed";
    }
}

TEST(WorldRoom, ReserveWrittenKeepsTheItemsHeld) {
    struct Case {
        std::vector<int> held;
        std::size_t room;
    };
    const Case cases[] = {{{}, 0}, {{}, 100}, {{4, 5, 6}, 2}, {{4, 5, 6}, 1000}};
    for (const Case& c : cases) {
        std::vector<int> list = c.held;
        ReserveWritten(list, c.room);
        EXPECT_EQ(list, c.held);
        EXPECT_GE(list.capacity(), c.room);
    }
}

}  // namespace
}  // namespace GAME::test
