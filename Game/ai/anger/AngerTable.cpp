#include "Game/ai/anger/AngerTable.h"

namespace GAME {

namespace {

using Provocation = AngerTable::Provocation;

// Eight lanes; where the processor has no such registers the compiler splits them in two.
using Lanes = float __attribute__((vector_size(32)));
constexpr std::size_t kLanes = 8;
constexpr std::size_t kBlock = 4 * kLanes;

// One value through the queue in order, as each provocation would have treated it.
float ApplyTo(float value, std::size_t index, const Provocation* queue, std::size_t queued) {
    for (std::size_t k = 0; k < queued; ++k) {
        const Provocation& p = queue[k];
        if (index == p.slot) {
            value += p.amount;
            if (value > p.cap)
                value = p.cap;
        } else if (p.calms && index < p.size) {
            value -= p.calm;
        }
    }
    return value;
}

// Whether the block [from, from + kBlock) only takes calms from the queue: no provocation's own
// entry lies in it and every calm reaches all of it.
bool OnlyCalmed(std::size_t from, const Provocation* queue, std::size_t queued) {
    for (std::size_t k = 0; k < queued; ++k) {
        const Provocation& p = queue[k];
        if (p.slot >= from && p.slot < from + kBlock)
            return false;
        if (p.calms && p.size < from + kBlock && p.size > from)
            return false;
    }
    return true;
}

// Wider registers where the processor has them; the same subtractions either way.
__attribute__((target_clones("avx2", "default"))) void ApplyQueue(float* values, std::size_t count,
                                                                  const Provocation* queue,
                                                                  std::size_t queued) {
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        if (!OnlyCalmed(i, queue, queued)) {
            for (std::size_t j = i; j < i + kBlock; ++j)
                values[j] = ApplyTo(values[j], j, queue, queued);
            continue;
        }
        // Four independent chains keep the subtractions flowing.
        Lanes a, b, c, d;
        __builtin_memcpy(&a, values + i, sizeof a);
        __builtin_memcpy(&b, values + i + kLanes, sizeof b);
        __builtin_memcpy(&c, values + i + 2 * kLanes, sizeof c);
        __builtin_memcpy(&d, values + i + 3 * kLanes, sizeof d);
        for (std::size_t k = 0; k < queued; ++k) {
            const Provocation& p = queue[k];
            if (!p.calms || p.size <= i)
                continue;
            a -= p.calm;
            b -= p.calm;
            c -= p.calm;
            d -= p.calm;
        }
        __builtin_memcpy(values + i, &a, sizeof a);
        __builtin_memcpy(values + i + kLanes, &b, sizeof b);
        __builtin_memcpy(values + i + 2 * kLanes, &c, sizeof c);
        __builtin_memcpy(values + i + 3 * kLanes, &d, sizeof d);
    }
    for (; i < count; ++i)
        values[i] = ApplyTo(values[i], i, queue, queued);
}

}  // namespace

std::size_t AngerTable::FindOrInsert(std::uint32_t id, std::uint32_t worldSlot) {
    // Sweeps meet enemies mostly in rising id order: the end is tried first.
    const auto it = !mIds.empty() && mIds.back() < id
                        ? mIds.end()
                        : std::lower_bound(mIds.begin(), mIds.end(), id);
    const auto slot = static_cast<std::size_t>(it - mIds.begin());
    if (it != mIds.end() && *it == id) {
        mHints[slot] = worldSlot;
        return slot;
    }
    // A new last entry is beyond every queued provocation's reach; any other shifts entries
    // the queue names.
    if (it != mIds.end())
        Flush();
    mIds.insert(mIds.begin() + static_cast<std::ptrdiff_t>(slot), id);
    mValues.insert(mValues.begin() + static_cast<std::ptrdiff_t>(slot), 0.0f);
    mHints.insert(mHints.begin() + static_cast<std::ptrdiff_t>(slot), worldSlot);
    return slot;
}

void AngerTable::Provoke(std::size_t slot, float amount, float cap, bool calms, float calm) {
    if (mQueue.capacity() < kQueued)
        mQueue.reserve(kQueued);
    mQueue.push_back(Provocation{amount, cap, calm, static_cast<std::uint32_t>(slot),
                                 static_cast<std::uint32_t>(mIds.size()), calms});
    if (mQueue.size() == kQueued)
        Apply();
}

void AngerTable::Apply() const {
    ApplyQueue(mValues.data(), mValues.size(), mQueue.data(), mQueue.size());
    mQueue.clear();
}

}  // namespace GAME
