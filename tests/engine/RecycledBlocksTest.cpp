// Recycled storage: a dropped object's block goes to the next object of its size class on the
// same thread; a class that runs dry takes a chunk; an ended thread's blocks go to the next
// thread; objects past the largest class, and threads that recycle nothing, use the heap (a
// chunk's block they drop goes to the threads that recycle).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/sys/RecycledBlocks.h"

namespace GAME {
namespace {

struct Base : RecycledStorage {
    virtual ~Base() = default;
};
template <std::size_t N>
struct Sized : Base {
    Sized() { std::memset(bytes, static_cast<int>(N & 0xff), sizeof bytes); }
    unsigned char bytes[N];
};

template <std::size_t A, std::size_t B>
bool SecondTakesFirstsBlock() {
    std::unique_ptr<Base> first = std::make_unique<Sized<A>>();
    const void* where = first.get();
    first.reset();  // through the base: the block goes back with the object's own size
    std::unique_ptr<Base> second = std::make_unique<Sized<B>>();
    return second.get() == where;
}

TEST(RecycledBlocks, ADroppedBlockGoesToTheNextObjectOfItsClass) {
    const RecyclingScope on(true);
    const struct {
        const char* label;
        bool reused;
        bool (*run)();
    } cases[] = {
        {"same size", true, &SecondTakesFirstsBlock<40, 40>},
        {"same class of 16 bytes", true, &SecondTakesFirstsBlock<40, 32>},
        {"next class", false, &SecondTakesFirstsBlock<40, 64>},
        {"same class of 64 bytes", true, &SecondTakesFirstsBlock<1000, 1010>},
        {"next class of 64 bytes", false, &SecondTakesFirstsBlock<1000, 1030>},
        {"largest class", true, &SecondTakesFirstsBlock<4000, 4020>},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.run(), c.reused) << c.label;
}

// Every size has a class whose blocks hold it and waste less than the class step; the classes
// past kSmallKept are 64 bytes apart and their blocks stay 64-byte aligned.
TEST(RecycledBlocks, EverySizeFitsTheSmallestClassThatHoldsIt) {
    using namespace RecycledBlocksState;
    for (std::size_t size = 1; size <= kLargestKept; ++size) {
        const std::size_t c = ClassOf(size);
        const std::size_t step = size <= kSmallKept ? kGranule : kLargeGranule;
        ASSERT_LT(c, kClasses) << size;
        EXPECT_GE(BlockBytes(c), size) << size;
        EXPECT_LT(BlockBytes(c) - size, step) << size;
        if (c > 0) {
            EXPECT_LT(BlockBytes(c - 1), size) << size;
        }
    }
    EXPECT_EQ(ClassOf(kLargestKept), kClasses - 1);

    const RecyclingScope on(true);
    const struct {
        std::size_t size;
        std::size_t alignment;
    } cases[] = {{24, 16}, {kSmallKept, 16}, {kSmallKept + 1, 64}, {3848, 64}, {kLargestKept, 64}};
    for (const auto& c : cases) {
        std::vector<void*> taken;
        for (int i = 0; i < 40; ++i)  // past the first chunk of the largest class
            taken.push_back(RecycledBlocks::Take(c.size));
        for (void* block : taken)
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % c.alignment, 0u) << c.size;
        std::sort(taken.begin(), taken.end());
        for (std::size_t i = 1; i < taken.size(); ++i)  // no two blocks overlap
            EXPECT_GE(static_cast<char*>(taken[i]) - static_cast<char*>(taken[i - 1]),
                      static_cast<std::ptrdiff_t>(c.size));
        for (void* block : taken)
            RecycledBlocks::Give(block, c.size);
    }
}

// A crowd reads one field of each object in turn: neighbouring blocks of a class whose size is a
// multiple of 1 KB must not start in the same L1 set, or those reads evict each other.
TEST(RecycledBlocks, NeighbouringBlocksStartInDifferentCacheSets) {
    const RecyclingScope on(true);
    constexpr std::uintptr_t kLine = 64;
    constexpr std::uintptr_t kSets = 64;
    for (const std::size_t size :
         {std::size_t{1024}, std::size_t{2048}, std::size_t{3072}, std::size_t{4096}}) {
        std::vector<void*> taken;
        for (int i = 0; i < 40; ++i)
            taken.push_back(RecycledBlocks::Take(size));
        std::sort(taken.begin(), taken.end());
        int neighbours = 0;
        for (std::size_t i = 1; i < taken.size(); ++i) {
            const auto before = reinterpret_cast<std::uintptr_t>(taken[i - 1]);
            const auto after = reinterpret_cast<std::uintptr_t>(taken[i]);
            if (after - before >= 2 * size)
                continue;  // not one chunk's neighbours
            ++neighbours;
            EXPECT_NE(before / kLine % kSets, after / kLine % kSets) << size;
        }
        EXPECT_GT(neighbours, 0) << size;
        for (void* block : taken)
            RecycledBlocks::Give(block, size);
    }
}

// Engine objects and what a character reads every frame are made in recycled blocks.
template <class T>
bool NextObjectTakesTheBlock() {
    auto first = std::make_unique<T>();
    const void* where = first.get();
    first.reset();
    return std::make_unique<T>().get() == where;
}
struct BigObject : Object {
    unsigned char bytes[3000] = {};
};

TEST(RecycledBlocks, EngineObjectsAreMadeInRecycledBlocks) {
    const RecyclingScope on(true);
    const struct {
        const char* label;
        bool (*run)();
    } cases[] = {
        {"an object", &NextObjectTakesTheBlock<Object>},
        {"a large object", &NextObjectTakesTheBlock<BigObject>},
        {"made by its class record",
         [] {
             auto make = [] {
                 return std::unique_ptr<Object>(
                     static_cast<Object*>(Object::classInfo.CreateByName("Object")));
             };
             std::unique_ptr<Object> first = make();
             const void* where = first.get();
             first.reset();
             return where && make().get() == where;
         }},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.run()) << c.label;
}

// A vector of 64-byte aligned items (the world grid's packs) stays aligned however long it grows
// and whether its thread recycles or not: in a chunk, from the heap, past the largest class.
TEST(RecycledAllocator, KeepsSixtyFourByteItemsAligned) {
    struct alignas(64) Lanes {
        float values[16];
    };
    for (const bool recycle : {true, false}) {
        const RecyclingScope setting(recycle);
        std::vector<Lanes, RecycledAllocator<Lanes>> lanes;
        for (std::size_t count = 1; count <= 2 * RecycledBlocks::kLargestKept / sizeof(Lanes);
             ++count) {
            lanes.emplace_back();
            lanes.shrink_to_fit();  // a block of exactly `count` items each time
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(lanes.data()) % 64, 0u)
                << count << (recycle ? " recycled" : " from the heap");
        }
    }
}

TEST(RecycledBlocks, ACrowdMadeAgainTakesNoNewBlocks) {
    const RecyclingScope on(true);
    std::vector<std::unique_ptr<Base>> crowd;
    auto fill = [&crowd] {
        for (int i = 0; i < 300; ++i)  // past one chunk of the class
            crowd.push_back(std::make_unique<Sized<72>>());
    };
    fill();
    std::vector<const void*> first;
    for (const auto& object : crowd)
        first.push_back(object.get());
    const std::size_t keptWhileHeld = RecycledBlocks::KeptCount();
    crowd.clear();
    EXPECT_EQ(RecycledBlocks::KeptCount(), keptWhileHeld + 300);
    fill();
    EXPECT_EQ(RecycledBlocks::KeptCount(), keptWhileHeld);
    std::vector<const void*> second;
    for (const auto& object : crowd)
        second.push_back(object.get());
    std::sort(first.begin(), first.end());
    std::sort(second.begin(), second.end());
    EXPECT_EQ(first, second);
    for (const auto& object : crowd)  // every object whole: no block handed out twice
        EXPECT_EQ(static_cast<const Sized<72>&>(*object).bytes[71], 72);
}

// A class that keeps running dry takes ever larger chunks: a crowd that grows takes a number of
// chunks that grows with the logarithm of its size, not with its size.
TEST(RecycledBlocks, AGrowingCrowdTakesFewerChunksThanItsSizeWouldSay) {
    const RecyclingScope on(true);
    const struct {
        const char* label;
        std::size_t blockBytes;
        std::size_t count;
    } cases[] = {
        {"small blocks, a big crowd", 48, 20000},
        {"large blocks", 496, 4000},
    };
    for (const auto& c : cases) {
        const std::uint64_t before = RecycledBlocks::HeapTakes();
        std::vector<void*> taken;
        for (std::size_t i = 0; i < c.count; ++i)
            taken.push_back(RecycledBlocks::Take(c.blockBytes));
        const std::uint64_t chunks = RecycledBlocks::HeapTakes() - before;
        // At least 16 KB each and as much as the class held: doubling from one chunk.
        const std::uint64_t fixedChunks = c.count * c.blockBytes / (16 * 1024);
        std::uint64_t doublings = 1;
        while ((std::uint64_t{1} << doublings) < fixedChunks)
            ++doublings;
        EXPECT_LE(chunks, doublings + 2) << c.label;
        EXPECT_LT(chunks, fixedChunks) << c.label;
        for (void* block : taken)
            RecycledBlocks::Give(block, c.blockBytes);
    }
}

TEST(RecycledBlocks, AnEndedThreadsBlocksGoToTheNextThread) {
    const RecyclingScope on(true);
    // A class no other test of this program uses (they run in one process), so only the ended
    // thread's blocks are waiting in it.
    using Lone = Sized<2400>;
    constexpr auto classOf = [](std::size_t size) { return RecycledBlocksState::ClassOf(size); };
    static_assert(classOf(sizeof(Lone)) != classOf(496) && classOf(sizeof(Lone)) != classOf(1030) &&
                  classOf(sizeof(Lone)) != classOf(3848));
    std::vector<std::uintptr_t> freed;
    std::thread([&freed] {
        const RecyclingScope alsoOn(true);
        std::vector<std::unique_ptr<Base>> made;
        for (int i = 0; i < 3; ++i)
            made.push_back(std::make_unique<Lone>());
        for (const auto& object : made)
            freed.push_back(reinterpret_cast<std::uintptr_t>(object.get()));
    }).join();
    auto adopted = std::make_unique<Lone>();
    EXPECT_NE(
        std::find(freed.begin(), freed.end(), reinterpret_cast<std::uintptr_t>(adopted.get())),
        freed.end());
}

TEST(RecycledBlocks, LargeObjectsAndThreadsThatRecycleNothingUseTheHeap) {
    const struct {
        const char* label;
        bool recycle;
        void (*run)();
    } cases[] = {
        {"past the largest class", true,
         [] { std::make_unique<Sized<RecycledBlocks::kLargestKept>>().reset(); }},
        {"recycling off", false, [] { std::make_unique<Sized<24>>().reset(); }},
        // Made from a chunk, dropped on a thread that recycles nothing: handed to the threads
        // that do, never to the heap, which did not make it.
        {"a chunk's block dropped with recycling off", false,
         [] {
             std::unique_ptr<Base> made;
             {
                 const RecyclingScope on(true);
                 made = std::make_unique<Sized<200>>();
             }
             made.reset();
         }},
    };
    for (const auto& c : cases) {
        const RecyclingScope setting(c.recycle);
        const std::size_t kept = RecycledBlocks::KeptCount();
        c.run();
        EXPECT_EQ(RecycledBlocks::KeptCount(), kept) << c.label;
    }
}

TEST(RecycledVectors, AGivenVectorsStorageGoesToTheNextTaken) {
    std::vector<std::uint32_t> given{1, 2, 3};
    const std::uint32_t* storage = given.data();
    RecycledVectors<std::uint32_t>::Give(given);
    EXPECT_TRUE(given.empty());
    std::vector<std::uint32_t> taken = RecycledVectors<std::uint32_t>::Take();
    EXPECT_TRUE(taken.empty());
    EXPECT_EQ(taken.data(), storage);
    std::vector<std::uint32_t> none;
    RecycledVectors<std::uint32_t>::Give(none);  // nothing to keep
    EXPECT_EQ(RecycledVectors<std::uint32_t>::Take().capacity(), 0u);
}

}  // namespace
}  // namespace GAME
