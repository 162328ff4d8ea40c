#include "Engine/sys/RecycledBlocks.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "Engine/sys/HugePageSpans.h"
#include "Engine/sys/Sanitizers.h"

namespace GAME {

namespace RecycledBlocksState {
constinit thread_local State tState __attribute__((tls_model("initial-exec"))) = {};
}  // namespace RecycledBlocksState

namespace {

using namespace RecycledBlocksState;

// The leak checker cannot see into the chunks (huge-page spans), nor the checker of bounds
// between their blocks: sanitized builds take every block from the heap.
#if GAME_ADDRESS_SANITIZER
constexpr Mode kDefaultMode = kHeap;
#else
constexpr Mode kDefaultMode = kRecycling;
#endif

// A class that runs dry takes at least this much from the heap at once, and as much again as
// the class already holds up to the most below: a crowd whose live objects grow (more
// characters walking, fighting) takes a chunk once in dozens of blocks at first, then ever more
// rarely, as a vector doubles.
constexpr std::size_t kChunkBytes = 16 * 1024;
constexpr std::size_t kMostChunkBytes = 1024 * 1024;
// Large objects (engine objects, a character's parts) are fewer and each class has its own
// chunks: a class starts with two blocks and grows by an eighth of what it holds, so what waits
// unused stays a small share of the crowd's memory.
constexpr std::size_t kLargeChunkBlocks = 2;
constexpr std::size_t kLargeGrowthShare = 8;

// The bytes of the next chunk of a class that holds `made` bytes.
std::size_t ChunkBytes(std::size_t sizeClass, std::size_t made) {
    if (sizeClass < kSmallClasses)
        return std::clamp(made, kChunkBytes, kMostChunkBytes);
    return std::clamp(made / kLargeGrowthShare, kLargeChunkBlocks * BlockBytes(sizeClass),
                      kMostChunkBytes);
}

// A crowd's objects are read field by field across the crowd. Blocks a multiple of 1 KB apart
// would put the same field of every object in one of a few L1 sets, and those evict each other
// before a frame reaches what it asked for ahead: such blocks lie a line further apart.
constexpr std::size_t kColourStep = 1024;
constexpr std::size_t BlockStride(std::size_t size) {
    return size >= kColourStep && size % kColourStep == 0 ? size + kLargeGranule : size;
}

// The blocks of threads that ended (or stopped recycling), for the next thread that runs dry,
// and every chunk's bounds, so that a thread that does not recycle knows a chunk's block from
// a heap block.
struct Orphans {
    std::mutex mutex;
    FreeBlock* heads[kClasses] = {};
    std::uint32_t kept[kClasses] = {};
    std::vector<std::pair<const char*, const char*>> chunks;  // sorted by start
    std::size_t madeBytes[kClasses] = {};                     // in chunks, by class
};
Orphans& TheOrphans() {
    static Orphans* orphans = new Orphans();  // never destroyed, as its blocks are not
    return *orphans;
}

void Push(FreeBlock*& head, void* block) {
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = head;
    head = freed;
}

// Puts a list in front of another, in its order: the last given goes out first.
void Splice(FreeBlock*& head, std::uint32_t& kept, FreeBlock* list, std::uint32_t count) {
    if (!list)
        return;
    FreeBlock* tail = list;
    while (tail->next)
        tail = tail->next;
    tail->next = head;
    head = list;
    kept += count;
}

// The thread's lists go to the orphans.
void PassOn() {
    Orphans& orphans = TheOrphans();
    std::lock_guard lock(orphans.mutex);
    for (std::size_t c = 0; c < kClasses; ++c) {
        Splice(orphans.heads[c], orphans.kept[c], tState.heads[c], tState.kept[c]);
        tState.heads[c] = nullptr;
        tState.kept[c] = 0;
    }
}

struct ThreadEnd {
    ~ThreadEnd() {
        PassOn();
        tState.mode = kEnded;
    }
};

// The thread's first take or give: its lists will be passed on when it ends.
void Start() {
    static thread_local ThreadEnd end;
    (void)end;
    tState.mode = kDefaultMode;
}

// Fills a class of a recycling thread from the orphans, else from a new chunk.
void Refill(std::size_t sizeClass) {
    Orphans& orphans = TheOrphans();
    std::lock_guard lock(orphans.mutex);
    if (FreeBlock* adopted = orphans.heads[sizeClass]) {
        Splice(tState.heads[sizeClass], tState.kept[sizeClass], adopted, orphans.kept[sizeClass]);
        orphans.heads[sizeClass] = nullptr;
        orphans.kept[sizeClass] = 0;
        return;
    }
    const std::size_t size = BlockBytes(sizeClass);
    const std::size_t stride = BlockStride(size);
    const std::size_t count = ChunkBytes(sizeClass, orphans.madeBytes[sizeClass]) / size;
    orphans.madeBytes[sizeClass] += count * size;
    auto* chunk = static_cast<char*>(HugePageSpans::Carve(count * stride));
    ++tState.heapTakes;
    const std::pair<const char*, const char*> bounds(chunk, chunk + count * stride);
    orphans.chunks.insert(std::upper_bound(orphans.chunks.begin(), orphans.chunks.end(), bounds),
                          bounds);
    for (std::size_t i = count; i-- > 0;)
        Push(tState.heads[sizeClass], chunk + i * stride);
    tState.kept[sizeClass] += static_cast<std::uint32_t>(count);
}

// Whether a block lies in a chunk; the orphans' lock is held.
bool InChunk(const Orphans& orphans, const void* block) {
    const auto* at = static_cast<const char*>(block);
    auto after = std::upper_bound(orphans.chunks.begin(), orphans.chunks.end(), at,
                                  [](const char* p, const auto& chunk) { return p < chunk.first; });
    return after != orphans.chunks.begin() && at < std::prev(after)->second;
}

// A block whose size is a multiple of kLargeGranule is aligned to it wherever it comes from (a
// chunk lays such blocks on such boundaries): a container of 64-byte items may live in one.
void* HeapTake(std::size_t bytes) {
    if (bytes % kLargeGranule == 0)
        return ::operator new (bytes, std::align_val_t{kLargeGranule});
    return ::operator new(bytes);
}

void HeapGive(void* block, std::size_t bytes) noexcept {
    if (bytes % kLargeGranule == 0)
        ::operator delete (block, std::align_val_t{kLargeGranule});
    else
        ::operator delete(block);
}

}  // namespace

void* RecycledBlocks::TakeSlowly(std::size_t size) {
    if (size - 1 >= kLargestKept) {
        ++tState.heapTakes;
        return HeapTake(size);
    }
    if (tState.mode == kUnset)
        Start();
    const std::size_t sizeClass = ClassOf(size);
    if (tState.mode != kRecycling) {
        ++tState.heapTakes;
        // Rounded up to the class, so that the block may serve any size of it later.
        return HeapTake(BlockBytes(sizeClass));
    }
    Refill(sizeClass);
    return Take(size);
}

void RecycledBlocks::GiveSlowly(void* block, std::size_t size) noexcept {
    if (!block)
        return;
    if (size - 1 >= kLargestKept) {
        HeapGive(block, size);
        return;
    }
    if (tState.mode == kUnset)
        Start();
    if (tState.mode == kRecycling) {
        Give(block, size);
        return;
    }
    Orphans& orphans = TheOrphans();
    std::lock_guard lock(orphans.mutex);
    // An ended thread's blocks all go on being used; a thread that does not recycle hands a
    // chunk's block (made on a thread that does) to the orphans, its own to the heap.
    if (tState.mode == kEnded || InChunk(orphans, block)) {
        const std::size_t sizeClass = ClassOf(size);
        Push(orphans.heads[sizeClass], block);
        ++orphans.kept[sizeClass];
        return;
    }
    HeapGive(block, BlockBytes(ClassOf(size)));
}

void RecycledBlocks::ReserveSlowly(std::size_t size, std::size_t count) {
    if (size - 1 >= kLargestKept)
        return;
    if (tState.mode == kUnset)
        Start();
    if (tState.mode != kRecycling)
        return;
    const std::size_t sizeClass = ClassOf(size);
    while (tState.kept[sizeClass] < count)
        Refill(sizeClass);
}

std::size_t RecycledBlocks::KeptCount() {
    std::size_t kept = 0;
    for (const std::uint32_t count : tState.kept)
        kept += count;
    return kept;
}

std::size_t RecycledBlocks::KeptBytes() {
    std::size_t bytes = 0;
    for (std::size_t c = 0; c < kClasses; ++c)
        bytes += tState.kept[c] * BlockBytes(c);
    return bytes;
}

std::uint64_t RecycledBlocks::HeapTakes() {
    return tState.heapTakes;
}

bool RecycledBlocks::SetRecycling(bool recycle) {
    if (tState.mode == kUnset)
        Start();
    const bool previous = tState.mode == kRecycling;
    if (tState.mode == kEnded || recycle == previous)
        return previous;
    if (!recycle)
        PassOn();
    tState.mode = recycle ? kRecycling : kHeap;
    return previous;
}

}  // namespace GAME
