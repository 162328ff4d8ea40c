#pragma once
// Storage for pools that are never given back (recycled blocks): carved in order from spans of
// 2 MB-aligned pages that the kernel is asked to back with huge pages. A crowd's objects are
// read every frame from all over a few hundred megabytes; with 4 KB pages nearly every one costs
// an address translation that misses the TLB, with 2 MB pages a few hundred cover them all.
#include <cstddef>

namespace GAME::HugePageSpans {

inline constexpr std::size_t kPageBytes = std::size_t{2} << 20;
// Virtual room mapped at a time; only the pages carved into become memory.
inline constexpr std::size_t kSpanBytes = 16 * kPageBytes;
inline constexpr std::size_t kAlignment = 64;

// `bytes` rounded up to kAlignment, aligned to it; from the heap when no span can be mapped.
// Any thread may call it.
void* Carve(std::size_t bytes);
// Everything carved so far, rounded sizes; what the pools hold, not what the spans map.
std::size_t CarvedBytes();
// Makes the next `bytes` to be carved memory now, so that what is carved from them later faults
// nothing in: a page's first touch costs far more than its use. Past the span in use they lie in
// the span that follows it, mapped now.
void Warm(std::size_t bytes);

}  // namespace GAME::HugePageSpans
