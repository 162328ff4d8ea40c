#pragma once
// The program's allocator, counted, so a benchmark can show that a path allocates nothing.
// Replaces the global operators: include it from one source file of a benchmark program only.
#include <atomic>
#include <cstdlib>
#include <new>

#include "AllocationStacks.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

// Kept out of line: inlined into callers, the pairing of new and free confuses the compiler's
// mismatch check.
__attribute__((noinline)) void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (gAllocationStacks.recording)
        RecordAllocationStack();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* block) noexcept {
    std::free(block);
}
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
