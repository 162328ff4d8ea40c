#pragma once
// The storage blocks of anger tables. A table keeps its arrays in one block. Blocks are kept by
// a few sizes (four per doubling, so a block is at most a quarter larger than asked; a new large
// block is only as large as asked, and kept as the size below it): a block a table outgrows or
// drops is kept on the dropping thread by its size and handed to the next table that grows into
// that size (a growing table takes the largest kept block up to twice its size before it asks
// the heap for twice its size), so a crowd whose tables keep changing takes little new. New
// blocks are carved from huge pages and never handed back: a thread's kept blocks pass to the
// next threads when it ends. Address sanitizer builds take them from the heap instead, keep at
// most kKeptBytes per thread (past it blocks go back to the heap) and poison kept blocks, so a
// use after they were given back is still caught.
#include <cstddef>
#include <cstdint>

namespace GAME::AngerStorage {

// The smallest capacity a block has.
constexpr std::size_t kSmallest = 8;
// Past this many entries a new block is sized to its count, in steps of kExactStep entries
// (whole 64-byte lines per array of 4-byte entries).
constexpr std::size_t kExactFrom = 64;
constexpr std::size_t kExactStep = 16;
// A table's entry: its id, anger and world slot hint.
constexpr std::size_t kTableEntryBytes = 12;
// Bytes of kept blocks per thread, at most, in sanitized builds.
constexpr std::size_t kKeptBytes = std::size_t{4} << 20;

// The capacity of the block that holds `count` entries: the smallest size at or above it.
std::size_t CapacityFor(std::size_t count);
// A block of `capacity` (a CapacityFor result) entries of `entryBytes` each.
void* Take(std::size_t capacity, std::size_t entryBytes);
// A block of at least `count` entries, its capacity in `capacity`: a kept one of
// CapacityFor(count) when there is one; else a new one, past kExactFrom entries only as large
// as `count` rounded up to kExactStep (a table sized once for what it keeps need not carry a
// size's slack: tens of megabytes in a crowd's first frames).
void* TakeFor(std::size_t count, std::size_t entryBytes, std::size_t& capacity);
// The capacity of the new block TakeFor(count) takes when no block of its size is kept.
std::size_t NewCapacityFor(std::size_t count);
// Bytes that new block carves (as HugePageSpans rounds them): a crowd about to fill its tables
// can have them written ahead.
std::size_t NewBlockBytes(std::size_t count, std::size_t entryBytes);
// The largest kept block of `fewest` to `most` entries (both CapacityFor results), its capacity
// in `capacity`; null when none is kept.
void* TakeBetween(std::size_t fewest, std::size_t most, std::size_t entryBytes,
                  std::size_t& capacity);
// Any capacity Take, TakeBetween or TakeFor gave; a block of a count is kept as the size at or
// below it.
void Give(void* block, std::size_t capacity, std::size_t entryBytes) noexcept;
// Bytes kept on the calling thread.
std::size_t KeptBytes();

}  // namespace GAME::AngerStorage
