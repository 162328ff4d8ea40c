#include "Game/ai/anger/AngerTable.h"

#include <array>

namespace GAME {

namespace {

using Provocation = AngerTable::Provocation;

// Eight lanes; where the processor has no such registers the compiler splits them in two.
using Lanes = float __attribute__((vector_size(32)));
using LaneMask = std::int32_t __attribute__((vector_size(32)));
constexpr std::size_t kLanes = 8;
constexpr std::size_t kChunk = 4;  // groups of lanes taken together where only calms reach

// A group holding a provoked entry or the end of a calm's reach: each lane takes, in order,
// what each provocation would have done to it alone.
// (Vectors are passed by address: these are inlined into each clone of ApplyQueue.)
[[gnu::always_inline]] inline void ApplyToGroup(float* at, std::size_t first,
                                                const Provocation* queue, std::size_t queued) {
    Lanes v;
    __builtin_memcpy(&v, at, sizeof v);
    const auto base = static_cast<std::int32_t>(first);
    const LaneMask index = LaneMask{0, 1, 2, 3, 4, 5, 6, 7} + base;
    const LaneMask none = LaneMask{} != LaneMask{};
    for (std::size_t k = 0; k < queued; ++k) {
        const Provocation& p = queue[k];
        Lanes added = v + p.amount;
        const Lanes cap = Lanes{} + p.cap;
        added = added > cap ? cap : added;
        const LaneMask own = index == static_cast<std::int32_t>(p.slot);
        const LaneMask reach = p.calms ? index < static_cast<std::int32_t>(p.size) : none;
        v = own ? added : (reach ? v - p.calm : v);
    }
    __builtin_memcpy(at, &v, sizeof v);
}

// One value through the queue in order, for the entries after the last whole group.
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

// Wider registers where the processor has them; the same operations either way.
__attribute__((target_clones("avx2", "default"))) void ApplyQueue(float* values, std::size_t count,
                                                                  const Provocation* queue,
                                                                  std::size_t queued) {
    // The groups where something other than a whole calm happens, in rising order.
    std::array<std::size_t, 2 * AngerTable::kQueued> special{};
    std::size_t specials = 0;
    for (std::size_t k = 0; k < queued; ++k) {
        special[specials++] = queue[k].slot / kLanes;
        if (queue[k].calms)
            special[specials++] = queue[k].size / kLanes;
    }
    std::sort(special.begin(), special.begin() + static_cast<std::ptrdiff_t>(specials));
    std::size_t next = 0;
    const std::size_t groups = count / kLanes;
    std::size_t g = 0;
    while (g < groups) {
        while (next < specials && special[next] < g)
            ++next;
        const std::size_t nextSpecial = next < specials ? special[next] : groups;
        float* at = values + g * kLanes;
        if (nextSpecial == g) {
            ApplyToGroup(at, g * kLanes, queue, queued);
            ++g;
            continue;
        }
        // Up to the next special group every calm reaches every lane or none: four chains keep
        // the subtractions flowing.
        const std::size_t first = g * kLanes;
        if (g + kChunk <= nextSpecial) {
            Lanes a, b, c, d;
            __builtin_memcpy(&a, at, sizeof a);
            __builtin_memcpy(&b, at + kLanes, sizeof b);
            __builtin_memcpy(&c, at + 2 * kLanes, sizeof c);
            __builtin_memcpy(&d, at + 3 * kLanes, sizeof d);
            for (std::size_t k = 0; k < queued; ++k) {
                const Provocation& p = queue[k];
                if (!p.calms || p.size <= first)
                    continue;
                a -= p.calm;
                b -= p.calm;
                c -= p.calm;
                d -= p.calm;
            }
            __builtin_memcpy(at, &a, sizeof a);
            __builtin_memcpy(at + kLanes, &b, sizeof b);
            __builtin_memcpy(at + 2 * kLanes, &c, sizeof c);
            __builtin_memcpy(at + 3 * kLanes, &d, sizeof d);
            g += kChunk;
            continue;
        }
        Lanes a;
        __builtin_memcpy(&a, at, sizeof a);
        for (std::size_t k = 0; k < queued; ++k) {
            const Provocation& p = queue[k];
            if (p.calms && p.size > first)
                a -= p.calm;
        }
        __builtin_memcpy(at, &a, sizeof a);
        ++g;
    }
    for (std::size_t i = groups * kLanes; i < count; ++i)
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
    if (it == mIds.end()) {
        mIds.push_back(id);
        mValues.push_back(0.0f);
        mHints.push_back(worldSlot);
        return slot;
    }
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
