// The in-place id list of packets: it behaves as a vector across the move to the heap and back.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetSmallList.h"

namespace GAME {
namespace {

using Small = NetSmallList<std::uint32_t, 4>;

std::vector<std::uint32_t> Counting(std::uint32_t from, std::uint32_t count) {
    std::vector<std::uint32_t> values;
    for (std::uint32_t i = 0; i < count; ++i)
        values.push_back(from + i);
    return values;
}

TEST(NetSmallList, KeepsOrderAcrossTheMoveToTheHeapAndStartsAfreshWhenCleared) {
    Small list;
    for (std::uint32_t v : Counting(10, 9))
        list.push_back(v);
    EXPECT_TRUE(list == Counting(10, 9));
    EXPECT_EQ(list.front(), 10u);
    EXPECT_EQ(list.back(), 18u);

    // A copy owns its elements: changing one leaves the other.
    Small copy = list;
    copy[0] = 99;
    EXPECT_EQ(list[0], 10u);
    EXPECT_FALSE(copy == list);

    list.clear();
    EXPECT_TRUE(list.empty());
    list.push_back(5);
    EXPECT_TRUE(list == std::vector<std::uint32_t>{5});
    const std::vector<std::uint32_t> asVector = copy;
    EXPECT_EQ(asVector.size(), 9u);
    EXPECT_EQ(asVector[0], 99u);
}

TEST(NetSmallList, ResizeZeroesNewElementsInPlaceAndOnTheHeap) {
    Small list;
    list.assign(3, 7u);
    list.resize(1);
    list.resize(4);  // the inline room held 7s past the first
    EXPECT_TRUE(list == (std::vector<std::uint32_t>{7, 0, 0, 0}));
    list.resize(6);
    EXPECT_TRUE(list == (std::vector<std::uint32_t>{7, 0, 0, 0, 0, 0}));
    list.assign(2, 1u);  // back in place
    EXPECT_TRUE(list == (std::vector<std::uint32_t>{1, 1}));
}

// An element of the list itself may be appended or repeated while the list grows (the old room
// is freed by then).
TEST(NetSmallList, ItsOwnElementsCanBeAppendedAndRepeatedAcrossAGrowth) {
    Small list;
    for (std::uint32_t v : Counting(1, 8))
        list.push_back(v);  // on the heap, full
    list.push_back(list[0]);
    list.push_back(list[8]);
    EXPECT_TRUE(list == (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 1, 1}));
    list.assign(40, list[1]);
    EXPECT_TRUE(list == std::vector<std::uint32_t>(40, 2));
}

TEST(NetSmallList, AnIdListTakesAndGivesVectors) {
    SmartObjectIdList ids;
    ids = Counting(100, 12);
    EXPECT_EQ(ids.Size(), 12u);
    EXPECT_TRUE(ids.GetIds() == Counting(100, 12));
    ids = std::vector<std::uint32_t>{1, 2};
    SmartObjectIdList other = ids;
    EXPECT_TRUE(other == ids);
    EXPECT_TRUE(other.GetIds() == (std::vector<std::uint32_t>{1, 2}));
}

}  // namespace
}  // namespace GAME
