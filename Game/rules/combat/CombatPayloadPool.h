#pragma once
// Recycled storage for combat payloads and the accumulators' payload lists: an attack makes and
// drops a few dozen small objects, and once the first attacks have filled the caches the next
// ones take their blocks back without touching the heap. The cache is per thread (blocks freed
// on another thread join that thread's cache); a thread's cached blocks are freed when it ends.
#include <cstddef>
#include <cstdint>

namespace GAME {

class CombatPayloadPool {
public:
    // Larger blocks go straight to the heap.
    static constexpr std::size_t kLargestBlock = 256;

    static void* Allocate(std::size_t size);
    // `size` is the size given to Allocate.
    static void Release(void* block, std::size_t size) noexcept;

    // Blocks this thread took from the heap for the pool's sizes: flat once attacks recycle.
    static std::uint64_t GetHeapAllocations();
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
