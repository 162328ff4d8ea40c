// Traffic nodes link to the node their record names: one placed earlier at its first update, one
// placed later when that one starts; a node named like another in a different folder is not it.
#include <gtest/gtest.h>

#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/ai/npc/NpcTrafficNode.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class TrafficNodes : public ::testing::Test {
protected:
    TrafficNodes() {
        InitializeObjects();
        region = World::Get().AddRegion(std::make_unique<Region>("Lane"));
        auto& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(records.AddRecordText(
            "Routes/Mill/Start.dbr",
            R"({"Class": "NpcTrafficNode", "nextTrafficNode": "routes\\mill\\Gate.dbr"})"));
        EXPECT_TRUE(records.AddRecordText(
            "Routes/Mill/Gate.dbr",
            R"({"Class": "NpcTrafficNode", "canBeFinalDestination": false})"));
        // The same file name in another folder.
        EXPECT_TRUE(
            records.AddRecordText("Routes/Well/Gate.dbr", R"({"Class": "NpcTrafficNode"})"));
    }
    ~TrafficNodes() override { ShutdownObjects(); }

    NpcTrafficNode* Place(const char* record, float x, bool start = true) {
        auto* node = Singleton<ObjectManager>::Get().CreateObjectFromFile<NpcTrafficNode>(record);
        World::Get().AddEntity(node, WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, 0))), false);
        if (start)
            node->InitialUpdate();
        return node;
    }

    TestMachine tm;
    Region* region = nullptr;
};

TEST_F(TrafficNodes, ANodeFindsItsNextWhetherItStartsBeforeOrAfterIt) {
    for (bool nextFirst : {true, false}) {
        SCOPED_TRACE(nextFirst ? "next placed first" : "next placed later");
        NpcTrafficNode* other = Place("Routes/Well/Gate.dbr", 1.0f);
        NpcTrafficNode* next = nextFirst ? Place("Routes/Mill/Gate.dbr", 5.0f, false) : nullptr;
        NpcTrafficNode* start = Place("Routes/Mill/Start.dbr", 2.0f);
        Vec3 direction;
        if (nextFirst) {  // found among the entities standing in the world
            EXPECT_EQ(start->GetNextNodeId(), next->GetObjectId());
        } else {
            EXPECT_EQ(start->GetNextNodeId(), 0u);
            EXPECT_FALSE(start->GetDirectionToNextNode(direction));
            next = Place("Routes/Mill/Gate.dbr", 5.0f, false);
        }
        next->InitialUpdate();
        EXPECT_EQ(start->GetNextNodeId(), next->GetObjectId());
        EXPECT_NE(start->GetNextNodeId(), other->GetObjectId());
        ASSERT_TRUE(start->GetDirectionToNextNode(direction));
        EXPECT_EQ(direction, Vec3(3.0f, 0.0f, 0.0f));
        EXPECT_TRUE(start->CanBeFinalDestination());
        EXPECT_FALSE(next->CanBeFinalDestination());
        for (NpcTrafficNode* node : {other, next, start})
            Singleton<ObjectManager>::Get().DestroyObject(node);
    }
}

}  // namespace
}  // namespace GAME::test
