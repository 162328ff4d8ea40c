// Carried items and the grid bags: places found in both search orders, footprints of at least
// one cell, edges that touch without overlapping, drops pulled inside, the unplaced that find no
// room (they stay in the bag), and the inventory's list with its name search past gone items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/InventorySack.h"
#include "ItemTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class InventoryTest : public ::testing::Test {
protected:
    TestMachine machine{TestMachine::SampleDataDir()};
    ObjectManager& objects = Singleton<ObjectManager>::Get();

    // A ring whose picture is width x height pixels.
    Item& MakeItem(int width, int height) {
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        const std::string texture = "Test/Bitmap" + size + ".tex";
        const std::string record = "Records/Test/Ring" + size + ".dbr";
        records.AddRecordText(texture, "{\"width\": " + std::to_string(width) +
                                           ", \"height\": " + std::to_string(height) + "}");
        records.AddRecordText(record,
                              R"({"Class": "ArmorJewelry_Ring", "bitmap": ")" + texture + "\"}");
        Item* item = Item::CreateItem(Record(record));
        EXPECT_NE(item, nullptr);
        return *item;
    }
    static Vec2 Corner(const InventorySack& sack, std::uint32_t id) {
        const Rect& rect = sack.GetInventory().at(id);
        return {rect.left, rect.top};
    }
};

TEST_F(InventoryTest, TwoTallItemsSitSideBySideInEitherSearchOrder) {
    for (bool columnFirst : {false, true}) {
        InventorySack sack;
        sack.SetDims(12 * 32, 5 * 32, columnFirst);
        Item& first = MakeItem(64, 96);
        Item& second = MakeItem(64, 96);
        ASSERT_TRUE(sack.AddItem(first, true));
        ASSERT_TRUE(sack.AddItem(second, true));
        EXPECT_EQ(Corner(sack, first.GetObjectId()), Vec2(0, 0)) << columnFirst;
        EXPECT_EQ(Corner(sack, second.GetObjectId()), Vec2(64, 0)) << columnFirst;
    }
}

TEST_F(InventoryTest, FootprintsAndPointsFollowTheCellRules) {
    InventorySack sack;
    sack.SetDims(4 * 32, 2 * 32, false);
    Item& small = MakeItem(20, 20);
    const Vec2 at = sack.AddItemAndReturnPoint(small);
    EXPECT_EQ(at, Vec2(0, 0));
    const Rect& rect = sack.GetInventory().at(small.GetObjectId());
    EXPECT_EQ(rect.width, 32.0f);  // one whole cell
    EXPECT_EQ(rect.height, 32.0f);
    struct Case {
        Vec2 point;
        bool onItem;
    };
    const Case cases[] = {
        {{0, 0}, true}, {{31.9f, 31.9f}, true}, {{32, 10}, false}, {{10, 32}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(sack.GetItemUnderPoint(c.point), c.onItem ? small.GetObjectId() : 0u)
            << c.point.x << "," << c.point.y;
    EXPECT_FALSE(sack.IsConflict(Rect{32, 0, 32, 32}));  // shares an edge only
    EXPECT_TRUE(sack.IsConflict(Rect{31, 0, 32, 32}));
    Item& wide = MakeItem(4 * 32 + 1, 32);
    EXPECT_FALSE(sack.IsSpaceForItem(wide));
    EXPECT_EQ(sack.AddItemAndReturnPoint(wide), Vec2(-1, -1));
}

TEST_F(InventoryTest, ADropHalfOutsideIsPulledInAndSnappedToACell) {
    InventorySack sack;
    sack.SetDims(12 * 32, 5 * 32, false);
    Rect dropped{12 * 32 - 40, 50, 64, 64};
    sack.AlignRect(dropped);
    EXPECT_EQ(dropped.left, 10 * 32.0f);
    EXPECT_EQ(dropped.top, 32.0f);
    Rect negative{-5, -5, 32, 32};
    sack.AlignRect(negative);
    EXPECT_EQ(negative.left, 0.0f);
    EXPECT_EQ(negative.top, 0.0f);
}

TEST_F(InventoryTest, UnplacedItemsWithoutRoomStayInTheSack) {
    InventorySack sack;
    sack.SetDims(3 * 32, 32, false);
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < 4; ++i) {
        Item& item = MakeItem(32, 32);
        ASSERT_TRUE(sack.AddItem(item, false));
        ids.push_back(item.GetObjectId());
    }
    EXPECT_FALSE(sack.ArrangeUnpositionedItems());
    ASSERT_EQ(sack.GetInventory().size(), 4u);
    EXPECT_EQ(Corner(sack, ids[0]), Vec2(0, 0));
    EXPECT_EQ(Corner(sack, ids[1]), Vec2(32, 0));
    EXPECT_EQ(Corner(sack, ids[2]), Vec2(64, 0));
    // No place left: at the top-left corner over the first, visible and movable.
    EXPECT_EQ(Corner(sack, ids[3]), Vec2(0, 0));
    EXPECT_EQ(sack.GetInventory().at(ids[3]).width, 32.0f);
}

TEST_F(InventoryTest, TheListKeepsEachIdOnceAndItsNameSearchSkipsGoneItems) {
    Inventory inventory;
    Item& gone = MakeItem(32, 32);
    Item& kept = MakeItem(32, 64);
    const std::uint32_t goneId = gone.GetObjectId();
    inventory.AddItemToInventory(goneId, false);
    inventory.AddItemToInventory(kept.GetObjectId(), false);
    inventory.AddItemToInventory(kept.GetObjectId(), false);
    inventory.AddItemToInventory(0, false);
    EXPECT_EQ(inventory.GetInventoryItems().size(), 2u);
    objects.DestroyObjectEx(&gone, __FILE__, __LINE__);
    EXPECT_TRUE(inventory.IsItemInInventory("records/test/RING32X64.dbr"));
    EXPECT_FALSE(inventory.IsItemInInventory("Records/Test/Ring32x32.dbr"));

    inventory.RemoveItemFromInventory(0);
    EXPECT_EQ(inventory.GetInventoryItems().size(), 2u);
    EXPECT_EQ(inventory.PopInventoryItem(), goneId);
    inventory.RemoveItemFromInventory(kept.GetObjectId());
    EXPECT_EQ(inventory.PopInventoryItem(), 0u);
}

}  // namespace
}  // namespace GAME::test
