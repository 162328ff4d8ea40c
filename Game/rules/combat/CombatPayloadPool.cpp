#include "Game/rules/combat/CombatPayloadPool.h"

#include <new>

namespace GAME {

namespace CombatPayloadPoolCache {
constinit thread_local State tState __attribute__((tls_model("initial-exec"))) = {};
}  // namespace CombatPayloadPoolCache

namespace {

using namespace CombatPayloadPoolCache;

struct ThreadReleaser {
    ~ThreadReleaser() {
        for (std::size_t c = 0; c < kClasses; ++c) {
            while (FreeBlock* block = tState.heads[c]) {
                tState.heads[c] = block->next;
                ::operator delete(block);
            }
            tState.room[c] = 0;
        }
        tState.cleanedUp = true;
    }
};

// Gives the classes their room on the thread's first release.
void Arm() {
    tState.armed = true;
    static thread_local ThreadReleaser releaser;
    (void)releaser;
    for (auto& room : tState.room)
        room = kMaxCachedPerClass;
}

}  // namespace

void* CombatPayloadPool::AllocateFromHeap(std::size_t size) {
    if (size == 0 || size > kLargestBlock)
        return ::operator new(size);
    ++tState.heapAllocations;
    // Rounded up to the class, so that any size of the class can reuse the block.
    return ::operator new((ClassOf(size) + 1) * kGranule);
}

void CombatPayloadPool::ReleaseSlowly(void* block, std::size_t size) noexcept {
    if (!block)
        return;
    if (size == 0 || size > kLargestBlock) {
        ::operator delete(block);
        return;
    }
    if (!tState.armed) {
        Arm();
        if (tState.room[ClassOf(size)] != 0) {
            Release(block, size);
            return;
        }
    }
    ::operator delete(block);
}

void CombatPayloadPool::ReserveSlowly(std::size_t size, std::size_t count) {
    if (size == 0 || size > kLargestBlock)
        return;
    if (!tState.armed)
        Arm();
    const std::size_t c = ClassOf(size);
    std::size_t cached = 0;
    if (tState.cleanedUp) {
        for (const FreeBlock* block = tState.heads[c]; block && cached < count; block = block->next)
            ++cached;
    } else {
        cached = kMaxCachedPerClass - tState.room[c];
    }
    for (; cached < count; ++cached) {
        auto* block = static_cast<FreeBlock*>(AllocateFromHeap(size));
        block->next = tState.heads[c];
        tState.heads[c] = block;
        // Past the room (or after the clean-up) the block is cached uncounted: a release then
        // finds no room and hands a block back to the heap.
        if (tState.room[c] != 0)
            --tState.room[c];
    }
}

std::uint64_t CombatPayloadPool::GetHeapAllocations() {
    return tState.heapAllocations;
}

}  // namespace GAME
