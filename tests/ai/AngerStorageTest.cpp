// The anger tables' storage: block sizes stay within a quarter of what is asked, and a block a
// table outgrows or drops is what the next table growing into that size takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "Engine/sys/HugePageSpans.h"
#include "Engine/sys/Sanitizers.h"
#include "Game/ai/anger/AngerStorage.h"
#include "Game/ai/anger/AngerTable.h"

namespace GAME::test {
namespace {

TEST(AngerStorage, CapacitiesStayWithinAQuarterAndDoubleIntoEachOther) {
    for (std::size_t count = 0; count <= 5000; ++count) {
        const std::size_t capacity = AngerStorage::CapacityFor(count);
        ASSERT_GE(capacity, count);
        ASSERT_GE(capacity, AngerStorage::kSmallest);
        if (count > AngerStorage::kSmallest) {
            ASSERT_LE(capacity * 4, count * 5) << count;
        }
        // A capacity is its own size, and a table doubling from it lands on a size too.
        ASSERT_EQ(AngerStorage::CapacityFor(capacity), capacity) << count;
        ASSERT_EQ(AngerStorage::CapacityFor(2 * capacity), 2 * capacity) << count;
    }
}

// Each case runs on a thread of its own, whose kept blocks are only its own.
void OnFreshThread(const std::function<void()>& body) {
    std::thread thread(body);
    thread.join();
}

TEST(AngerStorage, BlocksGoToTheNextTakerOfTheirSize) {
    constexpr std::size_t kEntry = 12;
    // Each case gives blocks of these capacities, then takes them: the same addresses come
    // back, last given first.
    const std::vector<std::vector<std::size_t>> cases = {{8}, {8, 8}, {10, 20, 10}, {112, 8, 112}};
    for (const auto& sizes : cases)
        OnFreshThread([&] {
            std::vector<void*> blocks;
            for (const std::size_t capacity : sizes)
                blocks.push_back(AngerStorage::Take(capacity, kEntry));
            std::size_t given = 0;
            for (std::size_t i = 0; i < sizes.size(); ++i) {
                AngerStorage::Give(blocks[i], sizes[i], kEntry);
                given += sizes[i] * kEntry;
            }
            EXPECT_EQ(AngerStorage::KeptBytes(), given);
            for (std::size_t i = sizes.size(); i-- > 0;) {
                void* again = AngerStorage::Take(sizes[i], kEntry);
                EXPECT_EQ(again, blocks[i]) << "capacity " << sizes[i];
                blocks[i] = again;
            }
            EXPECT_EQ(AngerStorage::KeptBytes(), 0u);
            for (std::size_t i = 0; i < sizes.size(); ++i)
                AngerStorage::Give(blocks[i], sizes[i], kEntry);
        });
}

TEST(AngerStorage, AnEndedThreadsBlocksGoToTheNextThreadThatRunsDry) {
    if (GAME_ADDRESS_SANITIZER)
        GTEST_SKIP() << "sanitized builds hand blocks back to the heap";
    constexpr std::size_t kEntry = 12;
    constexpr std::size_t kCapacity = 1536;  // a size no other case here uses
    void* kept = nullptr;
    OnFreshThread([&] {
        kept = AngerStorage::Take(kCapacity, kEntry);
        std::fill_n(static_cast<char*>(kept), kCapacity * kEntry, 'x');
        AngerStorage::Give(kept, kCapacity, kEntry);
    });
    OnFreshThread([&] {
        void* taken = AngerStorage::Take(kCapacity, kEntry);
        EXPECT_EQ(taken, kept);
        EXPECT_EQ(AngerStorage::KeptBytes(), 0u);
        std::fill_n(static_cast<char*>(taken), kCapacity * kEntry, 'y');
        AngerStorage::Give(taken, kCapacity, kEntry);
    });
}

TEST(AngerStorage, AGrowingTableTakesTheLargestKeptBlockUpToTwiceItsSize) {
    struct Case {
        std::size_t fewest, most;
        std::size_t expected;  // 0: none
    };
    // Kept: 20 and 28 entries.
    const Case cases[] = {{10, 32, 28}, {10, 24, 20}, {20, 20, 20}, {10, 16, 0}, {32, 64, 0}};
    for (const Case& c : cases)
        OnFreshThread([&] {
            constexpr std::size_t kEntry = 12;
            void* twenty = AngerStorage::Take(20, kEntry);
            void* twentyEight = AngerStorage::Take(28, kEntry);
            AngerStorage::Give(twenty, 20, kEntry);
            AngerStorage::Give(twentyEight, 28, kEntry);
            std::size_t capacity = 0;
            void* taken = AngerStorage::TakeBetween(c.fewest, c.most, kEntry, capacity);
            EXPECT_EQ(taken == nullptr, c.expected == 0) << c.fewest << ".." << c.most;
            if (taken) {
                EXPECT_EQ(capacity, c.expected);
                EXPECT_EQ(taken, c.expected == 20 ? twenty : twentyEight);
                AngerStorage::Give(taken, capacity, kEntry);
            }
        });
}

TEST(AngerStorage, TablesHandTheBlocksTheyOutgrowToTheNext) {
    OnFreshThread([] {
        const auto fill = [](AngerTable& table, std::uint32_t count) {
            for (std::uint32_t id = 1; id <= count; ++id)
                table.FindOrInsert(id * 3);
        };
        AngerTable first;
        fill(first, 9);  // past eight: twice the room, the first block kept
        EXPECT_EQ(first.capacity(), 16u);
        EXPECT_EQ(AngerStorage::KeptBytes(), 8u * 12u);
        {
            AngerTable second;
            fill(second, 8);  // takes it
            EXPECT_EQ(AngerStorage::KeptBytes(), 0u);
            AngerTable third;
            third.Reserve(20);
            EXPECT_EQ(third.capacity(), 20u);
        }
        // Past sixteen the table takes the twenty the third left rather than asking for 32.
        fill(first, 17);
        EXPECT_EQ(first.capacity(), 20u);
        EXPECT_EQ(AngerStorage::KeptBytes(), (8u + 16u) * 12u);
        for (std::uint32_t id = 1; id <= 17; ++id)
            ASSERT_EQ(first.IdAt(id - 1), id * 3);
        // A new large block is as large as asked, in whole steps; dropped, it serves as the
        // size below it (768 entries), which the next table of that size takes.
        const std::size_t keptBefore = AngerStorage::KeptBytes();
        {
            AngerTable large;
            large.Reserve(850);
            EXPECT_EQ(large.capacity(), 864u);
        }
        EXPECT_EQ(AngerStorage::KeptBytes(), keptBefore + 768u * 12u);
        AngerTable next;
        next.Reserve(700);
        EXPECT_EQ(next.capacity(), 768u);
        EXPECT_EQ(AngerStorage::KeptBytes(), keptBefore);
    });
}

// What a crowd's tables are warmed for ahead is what their first blocks carve: a table reserving
// from empty takes exactly the capacity and (carved) the bytes the estimate names.
TEST(AngerStorage, ANewTablesBlockCarvesWhatItsEstimateSays) {
    struct Case {
        std::size_t count;
        std::size_t capacity;
        std::size_t bytes;  // in whole 64-byte lines
    };
    const Case cases[] = {{12, 12, 192},      {40, 40, 512},    {65, 80, 960},
                          {130, 144, 1728},   {608, 608, 7296}, {1000, 1008, 12096},
                          {4001, 4016, 48192}};
    for (const Case& c : cases)
        OnFreshThread([&] {
            EXPECT_EQ(AngerStorage::NewCapacityFor(c.count), c.capacity) << c.count;
            EXPECT_EQ(AngerStorage::NewBlockBytes(c.count, AngerStorage::kTableEntryBytes), c.bytes)
                << c.count;
            const std::size_t carvedBefore = HugePageSpans::CarvedBytes();
            AngerTable table;
            table.Reserve(c.count);
            EXPECT_EQ(table.capacity(), c.capacity) << c.count;
            if (!GAME_ADDRESS_SANITIZER) {
                EXPECT_EQ(HugePageSpans::CarvedBytes() - carvedBefore, c.bytes) << c.count;
            }
        });
}

}  // namespace
}  // namespace GAME::test
