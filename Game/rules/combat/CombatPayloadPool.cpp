#include "Game/rules/combat/CombatPayloadPool.h"

#include <new>

namespace GAME {

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = CombatPayloadPool::kLargestBlock / kGranule;
// Enough for a busy frame's attacks in flight; beyond it blocks go back to the heap.
constexpr std::uint32_t kMaxCachedPerClass = 4096;

struct FreeBlock {
    FreeBlock* next;
};

// Trivial and constant-initialised, so that the hot path reaches it without a guard; the
// initial-exec model makes that a single offset from the thread pointer. A class caches blocks
// only while it has room: none until the thread's first release arms the clean-up at its end,
// none again once that clean-up ran.
struct PoolState {
    FreeBlock* heads[kClasses];
    std::uint32_t room[kClasses];
    std::uint64_t heapAllocations;
    bool armed;
};

constinit thread_local PoolState tPool __attribute__((tls_model("initial-exec"))) = {};

struct ThreadReleaser {
    ~ThreadReleaser() {
        for (std::size_t c = 0; c < kClasses; ++c) {
            while (FreeBlock* block = tPool.heads[c]) {
                tPool.heads[c] = block->next;
                ::operator delete(block);
            }
            tPool.room[c] = 0;
        }
    }
};

// Gives the classes their room on the thread's first release.
void Arm() {
    tPool.armed = true;
    static thread_local ThreadReleaser releaser;
    (void)releaser;
    for (auto& room : tPool.room)
        room = kMaxCachedPerClass;
}

std::size_t ClassOf(std::size_t size) {
    return (size - 1) / kGranule;
}

}  // namespace

void* CombatPayloadPool::Allocate(std::size_t size) {
    if (size == 0 || size > kLargestBlock)
        return ::operator new(size);
    const std::size_t c = ClassOf(size);
    if (FreeBlock* block = tPool.heads[c]) {
        tPool.heads[c] = block->next;
        ++tPool.room[c];
        return block;
    }
    ++tPool.heapAllocations;
    // Rounded up to the class, so that any size of the class can reuse the block.
    return ::operator new((c + 1) * kGranule);
}

void CombatPayloadPool::Release(void* block, std::size_t size) noexcept {
    if (!block)
        return;
    if (size == 0 || size > kLargestBlock) {
        ::operator delete(block);
        return;
    }
    const std::size_t c = ClassOf(size);
    if (tPool.room[c] == 0) [[unlikely]] {
        if (!tPool.armed)
            Arm();
        if (tPool.room[c] == 0) {
            ::operator delete(block);
            return;
        }
    }
    auto* free = static_cast<FreeBlock*>(block);
    free->next = tPool.heads[c];
    tPool.heads[c] = free;
    --tPool.room[c];
}

std::uint64_t CombatPayloadPool::GetHeapAllocations() {
    return tPool.heapAllocations;
}

}  // namespace GAME
