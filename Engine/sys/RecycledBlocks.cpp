#include "Engine/sys/RecycledBlocks.h"

#include <mutex>
#include <new>
#include <vector>

namespace GAME {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRecycleByDefault = false;
#else
constexpr bool kRecycleByDefault = true;
#endif

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = RecycledBlocks::kLargestKept / kGranule;
// A class that runs dry takes this much from the heap at once: a crowd whose live objects grow
// (more characters walking, fighting) takes a block from the heap once in dozens.
constexpr std::size_t kChunkBytes = 16 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

// The blocks of threads that ended, for the next thread that runs dry. Chunks are never given
// back to the heap: an object in one may outlive its thread (a static's member).
struct Orphans {
    std::mutex mutex;
    FreeBlock* free[kClasses] = {};
    std::vector<void*> chunks;
};
Orphans& TheOrphans() {
    static Orphans* orphans = new Orphans();  // never destroyed, as its blocks are not
    return *orphans;
}

// Set once the thread's lists are gone: blocks dropped later (by other thread-locals' or
// statics' destructors) go to the orphans.
thread_local bool tBlocksGone = false;
thread_local bool tRecycle = kRecycleByDefault;

void Push(FreeBlock*& head, void* block) {
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = head;
    head = freed;
}

struct ThreadBlocks {
    FreeBlock* free[kClasses] = {};
    std::size_t kept = 0;
    ~ThreadBlocks() {
        tBlocksGone = true;
        Orphans& orphans = TheOrphans();
        std::lock_guard lock(orphans.mutex);
        // In front of the orphans, in their order: the last dropped goes out first.
        for (std::size_t c = 0; c < kClasses; ++c) {
            FreeBlock* tail = free[c];
            if (!tail)
                continue;
            while (tail->next)
                tail = tail->next;
            tail->next = orphans.free[c];
            orphans.free[c] = free[c];
            free[c] = nullptr;
        }
    }
    // Fills an empty class from the orphans, else from a new chunk.
    void Refill(std::size_t sizeClass) {
        const std::size_t size = (sizeClass + 1) * kGranule;
        Orphans& orphans = TheOrphans();
        std::lock_guard lock(orphans.mutex);
        if (FreeBlock* adopted = orphans.free[sizeClass]) {
            orphans.free[sizeClass] = nullptr;
            free[sizeClass] = adopted;
            for (; adopted; adopted = adopted->next)
                ++kept;
            return;
        }
        const std::size_t count = kChunkBytes / size;
        auto* chunk = static_cast<char*>(::operator new(count* size));
        orphans.chunks.push_back(chunk);
        for (std::size_t i = count; i-- > 0;)
            Push(free[sizeClass], chunk + i * size);
        kept += count;
    }
};

thread_local ThreadBlocks tBlocks;

std::size_t ClassOf(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kGranule;
}

}  // namespace

void* RecycledBlocks::Take(std::size_t size) {
    const std::size_t sizeClass = ClassOf(size);
    if (sizeClass >= kClasses || tBlocksGone || !tRecycle)
        return ::operator new(size);
    FreeBlock*& head = tBlocks.free[sizeClass];
    if (!head)
        tBlocks.Refill(sizeClass);
    FreeBlock* block = head;
    head = block->next;
    --tBlocks.kept;
    return block;
}

void RecycledBlocks::Give(void* block, std::size_t size) noexcept {
    if (!block)
        return;
    const std::size_t sizeClass = ClassOf(size);
    if (sizeClass >= kClasses || !tRecycle) {
        ::operator delete(block);
        return;
    }
    if (tBlocksGone) {
        Orphans& orphans = TheOrphans();
        std::lock_guard lock(orphans.mutex);
        Push(orphans.free[sizeClass], block);
        return;
    }
    Push(tBlocks.free[sizeClass], block);
    ++tBlocks.kept;
}

std::size_t RecycledBlocks::KeptCount() {
    return tBlocksGone ? 0 : tBlocks.kept;
}

bool RecycledBlocks::SetRecycling(bool recycle) {
    const bool previous = tRecycle;
    tRecycle = recycle;
    return previous;
}

}  // namespace GAME
