#pragma once
// The storage blocks of anger tables. A table keeps its arrays in one block whose capacity is
// one of a few sizes (four per doubling, so a block is at most a quarter larger than asked);
// a block a table outgrows or drops is kept on the dropping thread by its size and handed to
// the next table that grows into that size (a growing table takes the largest kept block up to
// twice its size before it asks the heap for twice its size), so a crowd whose tables keep
// changing takes little new. New blocks are carved from huge pages and never handed back: a
// thread's kept blocks pass to the next threads when it ends. Address sanitizer builds take them
// from the heap instead, keep at most kKeptBytes per thread (past it blocks go back to the heap)
// and poison kept blocks, so a use after they were given back is still caught.
#include <cstddef>
#include <cstdint>

namespace GAME::AngerStorage {

// The smallest capacity a block has.
constexpr std::size_t kSmallest = 8;
// Bytes of kept blocks per thread, at most, in sanitized builds.
constexpr std::size_t kKeptBytes = std::size_t{4} << 20;

// The capacity of the block that holds `count` entries: the smallest size at or above it.
std::size_t CapacityFor(std::size_t count);
// A block of `capacity` (a CapacityFor result) entries of `entryBytes` each.
void* Take(std::size_t capacity, std::size_t entryBytes);
// The largest kept block of `fewest` to `most` entries (both CapacityFor results), its capacity
// in `capacity`; null when none is kept.
void* TakeBetween(std::size_t fewest, std::size_t most, std::size_t entryBytes,
                  std::size_t& capacity);
void Give(void* block, std::size_t capacity, std::size_t entryBytes) noexcept;
// Bytes kept on the calling thread.
std::size_t KeptBytes();

}  // namespace GAME::AngerStorage
