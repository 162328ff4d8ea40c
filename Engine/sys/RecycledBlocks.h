#pragma once
// Storage for objects that are made and dropped all the time (a character's actions, the
// commands sent for them, paths, an attack's payloads and their lists) and for the engine's
// objects (a crowd's characters, controllers and skills): a dropped object's block is kept by
// its size class, on the thread that dropped it, and the next object of that class takes it, so
// a steady frame takes nothing new from the heap. A class that runs dry takes a chunk of blocks
// at once, carved from huge pages (HugePageSpans.h), so objects made one after another lie
// together in few pages. Blocks are never handed back (an object may outlive its thread: a
// static's member); a thread's are passed on when it ends. Sanitizer builds use the heap for
// every object, so a use after free is still caught, unless a thread asks otherwise. Taking and
// giving back a kept block is inline code; the chunks and the hand-overs are not.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <new>
#include <utility>
#include <vector>

namespace GAME {

namespace RecycledBlocksState {

// Classes 16 bytes apart up to kSmallKept, then 64 bytes apart (blocks of those are 64-byte
// aligned: a large object's lines are its own).
inline constexpr std::size_t kGranule = 16;
inline constexpr std::size_t kSmallKept = 512;
inline constexpr std::size_t kLargeGranule = 64;
inline constexpr std::size_t kLargestKept = 4096;
inline constexpr std::size_t kSmallClasses = kSmallKept / kGranule;
inline constexpr std::size_t kClasses = kSmallClasses + (kLargestKept - kSmallKept) / kLargeGranule;

struct FreeBlock {
    FreeBlock* next;
};

enum Mode : std::uint8_t {
    kUnset,      // the thread has not taken or given a block yet
    kRecycling,  // blocks are kept
    kHeap,       // every block comes from and goes to the heap
    kEnded,      // the thread's lists were passed on; blocks given now go there too
};

// Trivial and constant-initialised, so the hot path reaches it without a guard; the
// initial-exec model makes that one offset from the thread pointer. Only a recycling thread
// has blocks in its lists.
struct State {
    FreeBlock* heads[kClasses];
    std::uint32_t kept[kClasses];
    std::uint64_t heapTakes;
    Mode mode;
};

extern constinit thread_local State tState __attribute__((tls_model("initial-exec")));

// The size class of a block of 1 to kLargestKept bytes.
constexpr std::size_t ClassOf(std::size_t size) {
    return size <= kSmallKept ? (size - 1) / kGranule
                              : kSmallClasses + (size - kSmallKept - 1) / kLargeGranule;
}

// The bytes of a block of the class.
constexpr std::size_t BlockBytes(std::size_t sizeClass) {
    return sizeClass < kSmallClasses ? (sizeClass + 1) * kGranule
                                     : kSmallKept + (sizeClass - kSmallClasses + 1) * kLargeGranule;
}

}  // namespace RecycledBlocksState

class RecycledBlocks {
public:
    // The largest object kept; larger ones come from the heap.
    static constexpr std::size_t kLargestKept = RecycledBlocksState::kLargestKept;

    [[gnu::always_inline]] static void* Take(std::size_t size) {
        using namespace RecycledBlocksState;
        // Sizes 1 to kLargestKept: the unsigned wrap sends 0 to the heap.
        if (size - 1 < kLargestKept) {
            const std::size_t c = ClassOf(size);
            if (FreeBlock* block = tState.heads[c]) {
                tState.heads[c] = block->next;
                --tState.kept[c];
                return block;
            }
        }
        return TakeSlowly(size);
    }

    // `size` is the size given to Take.
    [[gnu::always_inline]] static void Give(void* block, std::size_t size) noexcept {
        using namespace RecycledBlocksState;
        if (block && size - 1 < kLargestKept && tState.mode == kRecycling) [[likely]] {
            const std::size_t c = ClassOf(size);
            auto* freed = static_cast<FreeBlock*>(block);
            freed->next = tState.heads[c];
            tState.heads[c] = freed;
            ++tState.kept[c];
            return;
        }
        GiveSlowly(block, size);
    }

    // Gives back the blocks of many items, all of one size, with one update of the lists;
    // `block(item)` gives an item's block, never null.
    template <class Items, class Block>
    static void GiveAll(Items& items, std::size_t size, Block block) noexcept {
        using namespace RecycledBlocksState;
        if (size - 1 >= kLargestKept || tState.mode != kRecycling) {
            for (auto& item : items)
                Give(block(item), size);
            return;
        }
        const std::size_t c = ClassOf(size);
        FreeBlock* head = tState.heads[c];
#pragma GCC unroll 4
        for (auto& item : items) {
            auto* freed = static_cast<FreeBlock*>(block(item));
            freed->next = head;
            head = freed;
        }
        tState.heads[c] = head;
        tState.kept[c] += static_cast<std::uint32_t>(std::size(items));
    }

    // Makes the list of `size` hold at least `count` blocks, so that as many takes that follow
    // take no new storage. Nothing on a thread that does not recycle.
    [[gnu::always_inline]] static void Reserve(std::size_t size, std::size_t count) {
        using namespace RecycledBlocksState;
        if (tState.mode != kRecycling || size - 1 >= kLargestKept ||
            tState.kept[ClassOf(size)] < count) [[unlikely]]
            ReserveSlowly(size, count);
    }

    // Blocks kept for reuse on the calling thread.
    static std::size_t KeptCount();
    // Their bytes: storage that is held but holds nothing.
    static std::size_t KeptBytes();
    // Heap allocations the calling thread's takes made (a chunk counts once): flat once a
    // steady load recycles.
    static std::uint64_t HeapTakes();
    // Whether the calling thread recycles; returns the previous setting. A thread that stops
    // passes its lists on; objects made under either setting may be dropped under the other.
    static bool SetRecycling(bool recycle);

private:
    template <std::size_t Size>
    friend class RecycledBlockRun;
    static void* TakeSlowly(std::size_t size);
    static void GiveSlowly(void* block, std::size_t size) noexcept;
    static void ReserveSlowly(std::size_t size, std::size_t count);
};

// Recycles (or not) on the calling thread for the scope's span, whatever the build's default.
class RecyclingScope {
public:
    explicit RecyclingScope(bool recycle) : mPrevious(RecycledBlocks::SetRecycling(recycle)) {}
    ~RecyclingScope() { RecycledBlocks::SetRecycling(mPrevious); }
    RecyclingScope(const RecyclingScope&) = delete;
    RecyclingScope& operator=(const RecyclingScope&) = delete;

private:
    bool mPrevious;
};

// Takes blocks of one size one after another with the list held here, not in the thread's
// state: what a batch of rolls uses. Settle hands the list back, told how many blocks were
// taken since the last Resume (the caller counts them anyway), and Resume picks it up again
// with room reserved for the takes up to the next Settle; nothing else may use the size's list
// from a Resume to the next Settle.
template <std::size_t Size>
class RecycledBlockRun {
public:
    explicit RecycledBlockRun(std::size_t takes) { Resume(takes); }
    RecycledBlockRun(const RecycledBlockRun&) = delete;
    RecycledBlockRun& operator=(const RecycledBlockRun&) = delete;

    // Inline, so that the list's head stays in a register.
    [[gnu::always_inline]] void* Take() {
        if (RecycledBlocksState::FreeBlock* block = mHead) [[likely]] {
            mHead = block->next;
            return block;
        }
        return TakeWhenDry();
    }
    void Settle(std::size_t taken) noexcept {
        RecycledBlocksState::tState.heads[kClass] = mHead;
        RecycledBlocksState::tState.kept[kClass] = static_cast<std::uint32_t>(mInHand - taken);
        mInHand -= taken;
    }
    void Resume(std::size_t takes) {
        RecycledBlocks::Reserve(Size, takes);
        mHead = RecycledBlocksState::tState.heads[kClass];
        mInHand = RecycledBlocksState::tState.kept[kClass];
    }

private:
    static_assert(Size > 0 && Size <= RecycledBlocks::kLargestKept);
    static constexpr std::size_t kClass = RecycledBlocksState::ClassOf(Size);

    // Every block in hand was taken: the list starts again from what a refill gives (nothing
    // on a thread that does not recycle: the heap's block then counts as in hand and taken).
    [[gnu::noinline]] void* TakeWhenDry() {
        using namespace RecycledBlocksState;
        tState.heads[kClass] = nullptr;
        tState.kept[kClass] = 0;
        RecycledBlocks::ReserveSlowly(Size, 1);
        if (!tState.heads[kClass]) {
            ++mInHand;
            return RecycledBlocks::TakeSlowly(Size);
        }
        mHead = tState.heads[kClass];
        mInHand += tState.kept[kClass];
        return Take();
    }

    RecycledBlocksState::FreeBlock* mHead = nullptr;
    std::size_t mInHand = 0;  // blocks in the list at Resume, and refilled since
};

// Derive from it to keep a class family's storage recycled. Objects dropped through a base
// pointer need a virtual destructor, so that the size given back is the object's own.
class RecycledStorage {
public:
    static void* operator new(std::size_t size) { return RecycledBlocks::Take(size); }
    // How the class records make objects: null when the system has no room left.
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
        try {
            return RecycledBlocks::Take(size);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    static void operator delete(void* block, std::size_t size) noexcept {
        RecycledBlocks::Give(block, size);
    }
    // Blocks are 16-byte aligned (64 past kSmallKept): a class that needs more uses the heap.
    static void* operator new(std::size_t size, std::align_val_t align) {
        return ::operator new(size, align);
    }
    // Unsized: not every compiler declares the sized aligned form by default.
    static void operator delete(void* block, std::size_t, std::align_val_t align) noexcept {
        ::operator delete(block, align);
    }
};

// A container allocator over the same blocks: a recycled object's vectors (a path's corners),
// the world grid's cells. Items of 64-byte alignment need a size that is a multiple of it.
template <class T>
class RecycledAllocator {
public:
    using value_type = T;
    RecycledAllocator() = default;
    template <class U>
    RecycledAllocator(const RecycledAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) {
        static_assert(alignof(T) <= RecycledBlocksState::kGranule ||
                      (alignof(T) <= RecycledBlocksState::kLargeGranule &&
                       sizeof(T) % RecycledBlocksState::kLargeGranule == 0));
        return static_cast<T*>(RecycledBlocks::Take(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        RecycledBlocks::Give(block, count * sizeof(T));
    }
    friend bool operator==(const RecycledAllocator&, const RecycledAllocator&) { return true; }
};

// Storage of vectors that such objects own (a command's list of targets): a dropped object's
// vector hands its storage to the next object's, per thread. At most kKept are kept.
template <class T>
class RecycledVectors {
public:
    static constexpr std::size_t kKept = 256;
    // An empty vector, with the storage of one given back when there is one.
    static std::vector<T> Take() {
        if (Gone() || Kept().spares.empty())
            return {};
        std::vector<std::vector<T>>& spares = Kept().spares;
        std::vector<T> taken = std::move(spares.back());
        spares.pop_back();
        return taken;
    }
    // Keeps at least `vectors` spares (up to kKept) with room for `room` items each, made now
    // rather than by the first objects that need them.
    static void Reserve(std::size_t vectors, std::size_t room) {
        if (Gone())
            return;
        std::vector<std::vector<T>>& spares = Kept().spares;
        if (spares.capacity() == 0)
            spares.reserve(kKept);
        for (std::vector<T>& spare : spares)
            if (spare.capacity() < room)
                spare.reserve(room);
        while (spares.size() < std::min(vectors, kKept)) {
            spares.emplace_back();
            spares.back().reserve(room);
        }
    }
    // Takes the vector's storage; the vector is left empty.
    static void Give(std::vector<T>& given) noexcept {
        if (given.capacity() == 0 || Gone())
            return;
        std::vector<std::vector<T>>& spares = Kept().spares;
        if (spares.size() == kKept)
            return;
        given.clear();
        if (spares.capacity() == 0)
            spares.reserve(kKept);
        spares.push_back(std::move(given));
    }

private:
    struct Store {
        std::vector<std::vector<T>> spares;
        ~Store() { Gone() = true; }
    };
    // Set once the thread's store is gone: objects dropped later (by other thread-locals' or
    // statics' destructors) keep their storage to themselves.
    static bool& Gone() {
        thread_local bool gone = false;
        return gone;
    }
    static Store& Kept() {
        thread_local Store store;
        return store;
    }
};

}  // namespace GAME
