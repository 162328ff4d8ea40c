#include "Game/ai/anger/AngerStorage.h"

#include <algorithm>
#include <bit>
#include <new>

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

// Four sizes per doubling from kSmallest up to 2^32 entries; larger blocks are never kept.
constexpr std::size_t kClasses = 4 * (32 - 3);

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

// Frees the thread's kept blocks when it ends.
struct Reaper {
    ~Reaper() {
        for (void*& head : tKept.heads)
            while (head) {
                ANGER_UNPOISON(head, sizeof(Link));
                const Link link = LinkOf(head);
                ANGER_UNPOISON(head, link.bytes);
                ::operator delete(head);
                head = link.next;
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

void* Take(std::size_t capacity, std::size_t entryBytes) {
    const std::size_t bytes = capacity * entryBytes;
    const std::size_t sizeClass = ClassOf(capacity);
    if (sizeClass < kClasses && tKept.heads[sizeClass]) {
        void* block = tKept.heads[sizeClass];
        ANGER_UNPOISON(block, bytes);
        tKept.heads[sizeClass] = LinkOf(block).next;
        tKept.bytes -= bytes;
        return block;
    }
    return ::operator new(bytes);
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
    const std::size_t bytes = capacity * entryBytes;
    const std::size_t sizeClass = ClassOf(capacity);
    if (tKept.gone || sizeClass >= kClasses || bytes < sizeof(Link) ||
        tKept.bytes + bytes > kKeptBytes) {
        ::operator delete(block);
        return;
    }
    // Registers the thread's reaper the first time a block is kept.
    static_cast<void>(&tReaper);
    const Link link{tKept.heads[sizeClass], bytes};
    __builtin_memcpy(block, &link, sizeof link);
    ANGER_POISON(block, bytes);
    tKept.heads[sizeClass] = block;
    tKept.bytes += bytes;
}

std::size_t KeptBytes() {
    return tKept.bytes;
}

}  // namespace GAME::AngerStorage
