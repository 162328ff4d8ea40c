#pragma once
// Recycled storage for combat payloads and the accumulators' payload lists: an attack makes and
// drops a few dozen small objects, and once the first attacks have filled the caches the next
// ones take their blocks back without touching the heap. The cache is per thread (blocks freed
// on another thread join that thread's cache); a thread's cached blocks are freed when it ends.
// Taking and returning a cached block is inline code; the heap and the clean-up are not.
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace GAME {

namespace CombatPayloadPoolCache {

inline constexpr std::size_t kLargestBlock = 256;
inline constexpr std::size_t kGranule = 16;
inline constexpr std::size_t kClasses = kLargestBlock / kGranule;
// Enough for a busy frame's attacks in flight; beyond it blocks go back to the heap.
inline constexpr std::uint32_t kMaxCachedPerClass = 4096;

struct FreeBlock {
    FreeBlock* next;
};

// Trivial and constant-initialised, so that the hot path reaches it without a guard; the
// initial-exec model makes that a single offset from the thread pointer. A class caches blocks
// only while it has room: none until the thread's first release arms the clean-up at its end,
// none again once that clean-up ran. While armed and not yet cleaned up, a class caches
// kMaxCachedPerClass - room blocks.
struct State {
    FreeBlock* heads[kClasses];
    std::uint32_t room[kClasses];
    std::uint64_t heapAllocations;
    bool armed;
    bool cleanedUp;
};

extern constinit thread_local State tState __attribute__((tls_model("initial-exec")));

// The size class of a block of 1 to kLargestBlock bytes.
constexpr std::size_t ClassOf(std::size_t size) {
    return (size - 1) / kGranule;
}

}  // namespace CombatPayloadPoolCache

class CombatPayloadPool {
public:
    // Larger blocks go straight to the heap.
    static constexpr std::size_t kLargestBlock = CombatPayloadPoolCache::kLargestBlock;

    [[gnu::always_inline]] static void* Allocate(std::size_t size) {
        using namespace CombatPayloadPoolCache;
        // Sizes 1 to kLargestBlock: the unsigned wrap sends 0 to the heap.
        if (size - 1 < kLargestBlock) {
            const std::size_t c = ClassOf(size);
            if (FreeBlock* block = tState.heads[c]) {
                tState.heads[c] = block->next;
                ++tState.room[c];
                return block;
            }
        }
        return AllocateFromHeap(size);
    }

    // `size` is the size given to Allocate.
    static void Release(void* block, std::size_t size) noexcept {
        using namespace CombatPayloadPoolCache;
        if (block && size - 1 < kLargestBlock) {
            const std::size_t c = ClassOf(size);
            if (tState.room[c] != 0) [[likely]] {
                auto* free = static_cast<FreeBlock*>(block);
                free->next = tState.heads[c];
                tState.heads[c] = free;
                --tState.room[c];
                return;
            }
        }
        ReleaseSlowly(block, size);
    }

    // Hands back the blocks of many items, all of one size, with one update of the cache;
    // `take(item)` gives an item's block, never null. One at a time when the cache lacks room
    // for them all.
    template <class Items, class Take>
    static void ReleaseAll(Items& items, std::size_t size, Take take) noexcept {
        using namespace CombatPayloadPoolCache;
        if (size - 1 >= kLargestBlock || tState.room[ClassOf(size)] < std::size(items)) {
            for (auto& item : items)
                Release(take(item), size);
            return;
        }
        const std::size_t c = ClassOf(size);
        FreeBlock* head = tState.heads[c];
#pragma GCC unroll 4
        for (auto& item : items) {
            auto* free = static_cast<FreeBlock*>(take(item));
            free->next = head;
            head = free;
        }
        tState.heads[c] = head;
        tState.room[c] -= static_cast<std::uint32_t>(std::size(items));
    }

    // Makes the cache of `size` hold at least `count` blocks (fetching the missing ones from
    // the heap), so that as many takes that follow cannot fail. Beyond the cache's room, or
    // for a thread whose cache was already cleaned up, the blocks go into its list all the same.
    [[gnu::always_inline]] static void Reserve(std::size_t size, std::size_t count) {
        using namespace CombatPayloadPoolCache;
        if (!tState.armed || tState.cleanedUp ||
            kMaxCachedPerClass - tState.room[ClassOf(size)] < count) [[unlikely]]
            ReserveSlowly(size, count);
    }

    // Blocks this thread took from the heap for the pool's sizes: flat once attacks recycle.
    static std::uint64_t GetHeapAllocations();

private:
    static void ReserveSlowly(std::size_t size, std::size_t count);
    static void* AllocateFromHeap(std::size_t size);
    // Arms the thread's cache on its first release, else hands the block back to the heap.
    static void ReleaseSlowly(void* block, std::size_t size) noexcept;
};

// Takes blocks of one pool size one after another with the cache's list held here, not in the
// thread's state: what a batch of rolls uses. Settle hands the cache its state back, told how
// many blocks were taken since the last Resume (the caller counts them anyway), and Resume picks
// it up again, with room reserved for the takes up to the next Settle, so that none of them
// allocates; nothing else may use the size's cache from a Resume to the next Settle. Should the
// cache run dry all the same, blocks come from the heap and the cache is left empty.
template <std::size_t Size>
class CombatPayloadBlockRun {
public:
    explicit CombatPayloadBlockRun(std::size_t takes) { Resume(takes); }
    CombatPayloadBlockRun(const CombatPayloadBlockRun&) = delete;
    CombatPayloadBlockRun& operator=(const CombatPayloadBlockRun&) = delete;

    // Inline, so that the list's head stays in a register.
    [[gnu::always_inline]] void* Take() {
        if (CombatPayloadPoolCache::FreeBlock* block = mHead) [[likely]] {
            mHead = block->next;
            return block;
        }
        ++mFromHeap;
        return TakeFromHeap();
    }
    void Settle(std::size_t taken) noexcept {
        CombatPayloadPoolCache::tState.heads[kClass] = mHead;
        CombatPayloadPoolCache::tState.room[kClass] +=
            static_cast<std::uint32_t>(taken - mFromHeap);
        mFromHeap = 0;
    }
    void Resume(std::size_t takes) {
        CombatPayloadPool::Reserve(Size, takes);
        mHead = CombatPayloadPoolCache::tState.heads[kClass];
    }

private:
    static constexpr std::size_t kClass = CombatPayloadPoolCache::ClassOf(Size);

    // Static, so that the run's fields never leave registers for it.
    [[gnu::noinline]] static void* TakeFromHeap() {
        CombatPayloadPoolCache::tState.heads[kClass] = nullptr;
        return CombatPayloadPool::Allocate(Size);
    }

    CombatPayloadPoolCache::FreeBlock* mHead = nullptr;
    std::size_t mFromHeap = 0;
};

// A standard allocator drawing from the pool, for the payload lists.
template <class T>
struct CombatPoolAllocator {
    using value_type = T;

    CombatPoolAllocator() = default;
    template <class U>
    CombatPoolAllocator(const CombatPoolAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        return static_cast<T*>(CombatPayloadPool::Allocate(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        CombatPayloadPool::Release(block, count * sizeof(T));
    }
    template <class U>
    bool operator==(const CombatPoolAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace GAME
