#pragma once
// The anger table's passes over its values, many lanes at a time. Every lane takes exactly the
// float operations, in exactly the order, that a walk of one value at a time would give it: no
// fused or reordered arithmetic, so the bits match whatever the register width.
#include <cstddef>
#include <cstdint>
#include <limits>

#include "Game/ai/anger/AngerTable.h"

namespace GAME::AngerLanes {

// Eight lanes; where the processor has no such registers the compiler splits them in two.
using Lanes = float __attribute__((vector_size(32)));
using LaneMask = std::int32_t __attribute__((vector_size(32)));
constexpr std::size_t kLanes = 8;
// Sixteen lanes: one register where the processor has them, else split likewise.
using WideLanes = float __attribute__((vector_size(64)));

// Wider registers where the processor has them (sixteen lanes, eight, or four); the same
// operations either way. The clone's resolver runs while the library is relocated, before
// ThreadSanitizer is ready to watch it, so a TSan build keeps the one default version.
#if defined(__SANITIZE_THREAD__)
#define ANGER_TARGET_CLONES
#else
#define ANGER_TARGET_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#endif

// Carries out `queued` provocations over the first `count` values.
void ApplyQueue(float* values, std::size_t count, const AngerTable::Provocation* queue,
                std::size_t queued);
// One provocation at once over a small table, as the queue would have carried it out.
void ApplyNow(float* values, std::size_t count, std::size_t slot, float amount, float cap,
              bool calms, float calm);
// AngerTable::Angriest over the values and ids.
std::size_t FirstHighest(const float* values, const std::uint32_t* ids, std::size_t count,
                         float floor, std::uint32_t doubled);
// Each provocation's calm (AngerTable::CalmOf) from its amount and the table's size then.
void CalmsOf(const float* amounts, const std::uint32_t* sizes, std::size_t count, float share,
             float* calms);

// ApplyBatch reads `step` and `fresh` in whole groups of this many lanes (its widest).
constexpr std::size_t kBatchLanes = 2 * kLanes;
// A large table a batch filled from empty, with `dropped` above -infinity and no calm below 0 or
// NaN: the entries certain to end below `dropped` are written just below it; the others are
// listed, rising, with their amounts, for the walk (ApplyBatch's packed layout), the list run on
// to a whole kBatchLanes. The list lives in the thread's room until its next call.
struct PackedEntries {
    const std::int32_t* kept;
    const float* amounts;
    std::size_t count;
};
PackedEntries PackFilled(float* values, std::size_t count, const float* amounts, const float* calms,
                         float cap, float dropped);

// A batch of `steps` provocations over the whole table. By entry: `step`, the provocation of
// the entry (-1: none), and `fresh`, -1 where that provocation created it (else 0), both run
// on to a whole kBatchLanes; by step: `amounts` and `calms`. Each value takes every calm in
// order but at its own step, where it takes its provocation instead (from 0 when the step
// created the entry: what the lane held before is not yet the entry's), capped at `cap`.
// With no `step` and `fresh`, the batch filled an empty table in list order (entry k created
// by step k, `steps` == `count`): no value is read, `amounts` runs on to a whole kBatchLanes
// and `calms` has kBatchLanes of +0 after its last. The caller drops every value below `dropped`
// unread: where no calm is below 0, such a value past its own step may be left at any value below
// it.
void ApplyBatch(float* values, std::size_t count, const std::int32_t* step,
                const std::int32_t* fresh, const float* amounts, const float* calms,
                std::size_t steps, float cap,
                float dropped = -std::numeric_limits<float>::infinity());

}  // namespace GAME::AngerLanes
