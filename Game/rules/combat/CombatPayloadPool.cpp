#include "Game/rules/combat/CombatPayloadPool.h"

#include <new>

namespace GAME {

namespace CombatPayloadPoolCache {
constinit thread_local State tState __attribute__((tls_model("initial-exec"))) = {};
}  // namespace CombatPayloadPoolCache

namespace {

using namespace CombatPayloadPoolCache;

// Enough for a busy frame's attacks in flight; beyond it blocks go back to the heap.
constexpr std::uint32_t kMaxCachedPerClass = 4096;

struct ThreadReleaser {
    ~ThreadReleaser() {
        for (std::size_t c = 0; c < kClasses; ++c) {
            while (FreeBlock* block = tState.heads[c]) {
                tState.heads[c] = block->next;
                ::operator delete(block);
            }
            tState.room[c] = 0;
        }
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

std::uint64_t CombatPayloadPool::GetHeapAllocations() {
    return tState.heapAllocations;
}

}  // namespace GAME
