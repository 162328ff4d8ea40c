#include "Game/ai/anger/AngerStorage.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <mutex>
#include <new>

#include "Engine/sys/HugePageSpans.h"
#include "Engine/sys/Sanitizers.h"

#if GAME_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#define ANGER_POISON(block, bytes) ASAN_POISON_MEMORY_REGION(block, bytes)
#define ANGER_UNPOISON(block, bytes) ASAN_UNPOISON_MEMORY_REGION(block, bytes)
#else
#define ANGER_POISON(block, bytes) ((void)(block), (void)(bytes))
#define ANGER_UNPOISON(block, bytes) ((void)(block), (void)(bytes))
#endif

namespace GAME::AngerStorage {

namespace {

// A crowd's tables fill in its first frames, often tens of megabytes at once: from huge pages,
// that is a few faults rather than one per 4 KB, and a first touch costs far more than its use.
// Such blocks are never handed back; they stay kept for the next table, whatever their total.
// Sanitized builds take each block from the heap, so its bounds and leaks are still checked.
#if GAME_ADDRESS_SANITIZER
constexpr bool kCarved = false;
#else
constexpr bool kCarved = true;
#endif

// Four sizes per doubling from kSmallest up to 2^32 entries; larger blocks are never kept.
constexpr std::size_t kClasses = 4 * (32 - 3);

// The size at or below `capacity` (any capacity of kSmallest or more).
std::size_t ClassOf(std::size_t capacity) {
    const auto top = static_cast<std::size_t>(std::bit_width(capacity)) - 1;
    return (top - 3) * 4 + ((capacity >> (top - 2)) & 3);
}

// Kept blocks, linked through their first bytes (the next block, then the block's own size). Plain
// data, so it outlives every object of the thread; `gone` is set once the thread's blocks were
// freed at its end.
struct Kept {
    void* heads[kClasses];
    std::size_t bytes;
    bool gone;
};
thread_local Kept tKept{};

std::size_t CapacityOfClass(std::size_t sizeClass) {
    return (4 + sizeClass % 4) << (sizeClass / 4 + 1);
}

struct Link {
    void* next;
    std::size_t bytes;
};

Link LinkOf(void* block) {
    Link link{};
    __builtin_memcpy(&link, block, sizeof link);
    return link;
}

void Push(void*& head, void* block, std::size_t bytes) {
    const Link link{head, bytes};
    __builtin_memcpy(block, &link, sizeof link);
    head = block;
}

// Carved blocks of threads that ended, one at a time to the next thread that runs dry.
struct Orphans {
    std::mutex mutex;
    void* heads[kClasses] = {};
    std::atomic<bool> any{false};
};
Orphans& TheOrphans() {
    static Orphans* orphans = new Orphans();  // never destroyed, as its blocks are not
    return *orphans;
}

[[maybe_unused]] void* Adopt(std::size_t sizeClass) {
    Orphans& orphans = TheOrphans();
    if (!orphans.any.load(std::memory_order_relaxed))
        return nullptr;
    std::lock_guard lock(orphans.mutex);
    void* const block = orphans.heads[sizeClass];
    if (block)
        orphans.heads[sizeClass] = LinkOf(block).next;
    return block;
}

// Frees (or, when carved, passes on) the thread's kept blocks when it ends.
struct Reaper {
    ~Reaper() {
        if constexpr (kCarved) {
            Orphans& orphans = TheOrphans();
            std::lock_guard lock(orphans.mutex);
            for (std::size_t c = 0; c < kClasses; ++c)
                while (void* const block = tKept.heads[c]) {
                    const Link link = LinkOf(block);
                    tKept.heads[c] = link.next;
                    Push(orphans.heads[c], block, link.bytes);
                    orphans.any.store(true, std::memory_order_relaxed);
                }
        } else {
            for (void*& head : tKept.heads)
                while (head) {
                    ANGER_UNPOISON(head, sizeof(Link));
                    const Link link = LinkOf(head);
                    ANGER_UNPOISON(head, link.bytes);
                    ::operator delete(head);
                    head = link.next;
                }
        }
        tKept.bytes = 0;
        tKept.gone = true;
    }
};
thread_local Reaper tReaper;

}  // namespace

std::size_t CapacityFor(std::size_t count) {
    if (count <= kSmallest)
        return kSmallest;
    const auto top = static_cast<std::size_t>(std::bit_width(count - 1)) - 1;
    const std::size_t step = std::size_t{1} << (top - 2);
    return (count + step - 1) / step * step;
}

namespace {

// A kept block of the size `sizeClass`, of `bytes`: the thread's own, else an ended thread's.
void* TakeKept(std::size_t sizeClass, std::size_t bytes) {
    if (sizeClass >= kClasses)
        return nullptr;
    if (void* const block = tKept.heads[sizeClass]) {
        ANGER_UNPOISON(block, bytes);
        tKept.heads[sizeClass] = LinkOf(block).next;
        tKept.bytes -= bytes;
        return block;
    }
    if constexpr (kCarved)
        return Adopt(sizeClass);
    return nullptr;
}

void* TakeNew(std::size_t bytes) {
    if constexpr (kCarved)
        return HugePageSpans::Carve(bytes);
    return ::operator new(bytes);
}

}  // namespace

void* Take(std::size_t capacity, std::size_t entryBytes) {
    const std::size_t bytes = capacity * entryBytes;
    if (void* const block = TakeKept(ClassOf(capacity), bytes))
        return block;
    return TakeNew(bytes);
}

void* TakeFor(std::size_t count, std::size_t entryBytes, std::size_t& capacity) {
    capacity = CapacityFor(count);
    if (void* const block = TakeKept(ClassOf(capacity), capacity * entryBytes))
        return block;
    capacity = NewCapacityFor(count);
    return TakeNew(capacity * entryBytes);
}

std::size_t NewCapacityFor(std::size_t count) {
    if (count > kExactFrom)
        return (count + kExactStep - 1) / kExactStep * kExactStep;
    return CapacityFor(count);
}

std::size_t NewBlockBytes(std::size_t count, std::size_t entryBytes) {
    constexpr std::size_t kAlignment = HugePageSpans::kAlignment;
    return (NewCapacityFor(count) * entryBytes + kAlignment - 1) / kAlignment * kAlignment;
}

void* TakeBetween(std::size_t fewest, std::size_t most, std::size_t entryBytes,
                  std::size_t& capacity) {
    const std::size_t low = ClassOf(fewest);
    for (std::size_t sizeClass = std::min(ClassOf(most) + 1, kClasses); sizeClass-- > low;)
        if (tKept.heads[sizeClass]) {
            capacity = CapacityOfClass(sizeClass);
            return Take(capacity, entryBytes);
        }
    return nullptr;
}

void Give(void* block, std::size_t capacity, std::size_t entryBytes) noexcept {
    if (!block)
        return;
    const std::size_t sizeClass = ClassOf(capacity);
    // What it serves as when taken again.
    const std::size_t bytes =
        (sizeClass < kClasses ? CapacityOfClass(sizeClass) : capacity) * entryBytes;
    if constexpr (kCarved) {
        // Carved too, and then simply not reused.
        if (sizeClass >= kClasses || bytes < sizeof(Link))
            return;
        if (tKept.gone) {
            Orphans& orphans = TheOrphans();
            std::lock_guard lock(orphans.mutex);
            Push(orphans.heads[sizeClass], block, bytes);
            orphans.any.store(true, std::memory_order_relaxed);
            return;
        }
    } else if (tKept.gone || sizeClass >= kClasses || bytes < sizeof(Link) ||
               tKept.bytes + bytes > kKeptBytes) {
        ::operator delete(block);
        return;
    }
    // Registers the thread's reaper the first time a block is kept.
    static_cast<void>(&tReaper);
    Push(tKept.heads[sizeClass], block, bytes);
    ANGER_POISON(block, bytes);
    tKept.bytes += bytes;
}

std::size_t KeptBytes() {
    return tKept.bytes;
}

}  // namespace GAME::AngerStorage
