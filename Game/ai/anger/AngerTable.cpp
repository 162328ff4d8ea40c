#include "Game/ai/anger/AngerTable.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "Engine/Engine.h"

namespace GAME {

namespace {

using Provocation = AngerTable::Provocation;

// Eight lanes; where the processor has no such registers the compiler splits them in two.
using Lanes = float __attribute__((vector_size(32)));
using LaneMask = std::int32_t __attribute__((vector_size(32)));
constexpr std::size_t kLanes = 8;

// Groups holding a provoked entry or the end of a calm's reach, `Count` side by side so their
// chains of operations overlap: each lane takes, in order, what each provocation would have done
// to it alone. (Vectors are passed by address: this is inlined into each clone of ApplyQueue.)
template <std::size_t Count>
[[gnu::always_inline]] inline void ApplyToGroups(float* values, const std::uint32_t* groups,
                                                 const Provocation* queue, std::size_t queued) {
    Lanes v[Count];
    LaneMask index[Count];
    for (std::size_t w = 0; w < Count; ++w) {
        __builtin_memcpy(&v[w], values + groups[w] * kLanes, sizeof v[w]);
        index[w] = LaneMask{0, 1, 2, 3, 4, 5, 6, 7} + static_cast<std::int32_t>(groups[w] * kLanes);
    }
    const LaneMask none = LaneMask{} != LaneMask{};
    for (std::size_t k = 0; k < queued; ++k) {
        const Provocation& p = queue[k];
        const Lanes cap = Lanes{} + p.cap;
        for (std::size_t w = 0; w < Count; ++w) {
            Lanes added = v[w] + p.amount;
            added = added > cap ? cap : added;
            const LaneMask own = index[w] == static_cast<std::int32_t>(p.slot);
            const LaneMask reach = p.calms ? index[w] < static_cast<std::int32_t>(p.size) : none;
            v[w] = own ? added : (reach ? v[w] - p.calm : v[w]);
        }
    }
    for (std::size_t w = 0; w < Count; ++w)
        __builtin_memcpy(values + groups[w] * kLanes, &v[w], sizeof v[w]);
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

// Two groups of lanes in one register where the processor has sixteen lanes (else the compiler
// splits it): each lane still takes its own subtractions, so the bits are the same.
using WideLanes = float __attribute__((vector_size(64)));

// Subtracts calms[0..count) in order from `Width` whole groups of lanes at `at`, side by side
// so the subtractions of one calm flow together; pairs of groups share a wide register.
template <std::size_t Width>
[[gnu::always_inline]] inline void CalmGroups(float* at, const float* calms, std::size_t count) {
    if constexpr (Width % 2 == 0) {
        constexpr std::size_t kWide = Width / 2;
        WideLanes v[kWide];
        for (std::size_t w = 0; w < kWide; ++w)
            __builtin_memcpy(&v[w], at + w * 2 * kLanes, sizeof v[w]);
        for (std::size_t k = 0; k < count; ++k) {
            const float calm = calms[k];
            for (std::size_t w = 0; w < kWide; ++w)
                v[w] -= calm;
        }
        for (std::size_t w = 0; w < kWide; ++w)
            __builtin_memcpy(at + w * 2 * kLanes, &v[w], sizeof v[w]);
    } else {
        Lanes v[Width];
        for (std::size_t w = 0; w < Width; ++w)
            __builtin_memcpy(&v[w], at + w * kLanes, sizeof v[w]);
        for (std::size_t k = 0; k < count; ++k) {
            const float calm = calms[k];
            for (std::size_t w = 0; w < Width; ++w)
                v[w] -= calm;
        }
        for (std::size_t w = 0; w < Width; ++w)
            __builtin_memcpy(at + w * kLanes, &v[w], sizeof v[w]);
    }
}

// Wider registers where the processor has them (sixteen lanes, eight, or four); the same
// operations either way. The clone's resolver runs while the library is relocated, before
// ThreadSanitizer is ready to watch it, so a TSan build keeps the one default version.
#if defined(__SANITIZE_THREAD__)
#define ANGER_TARGET_CLONES
#else
#define ANGER_TARGET_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#endif
ANGER_TARGET_CLONES void ApplyQueue(float* values, std::size_t count, const Provocation* queue,
                                    std::size_t queued) {
    // (Scratch left uninitialised: only what is written is read, and a flush may carry a single
    // provocation.)
    // The calms in queue order with the table size each reached. The table only grows at its
    // end while provocations wait, so the sizes never fall: the calms reaching a group lie at
    // the end of the list.
    std::array<float, AngerTable::kQueued> calms;
    std::array<std::uint32_t, AngerTable::kQueued> reach;
    std::size_t calmCount = 0;
    // The groups of the provoked entries, in queue order; a sweep provokes them mostly in rising
    // order, so they are sorted by insertion.
    std::array<std::uint32_t, AngerTable::kQueued> owners;
    for (std::size_t k = 0; k < queued; ++k) {
        auto group = static_cast<std::uint32_t>(queue[k].slot / kLanes);
        std::size_t at = k;
        for (; at > 0 && owners[at - 1] > group; --at)
            owners[at] = owners[at - 1];
        owners[at] = group;
        if (queue[k].calms) {
            calms[calmCount] = queue[k].calm;
            reach[calmCount++] = queue[k].size;
        }
    }
    for (std::size_t k = 1; k < calmCount; ++k)
        if (reach[k] < reach[k - 1]) {
            // Never so far; the lane-by-lane walk is right whatever the sizes.
            for (std::size_t i = 0; i < count; ++i)
                values[i] = ApplyTo(values[i], i, queue, queued);
            return;
        }
    // The groups where something other than a whole calm happens, in rising order.
    std::array<std::uint32_t, 2 * AngerTable::kQueued> special;
    std::size_t specials = 0;
    const auto add = [&](std::uint32_t group) {
        if (specials == 0 || special[specials - 1] != group)
            special[specials++] = group;
    };
    for (std::size_t o = 0, c = 0; o < queued || c < calmCount;) {
        if (c == calmCount || (o < queued && owners[o] <= reach[c] / kLanes))
            add(owners[o++]);
        else
            add(static_cast<std::uint32_t>(reach[c++] / kLanes));
    }
    const std::size_t groups = count / kLanes;
    // The whole ones among them four at a time (the entries after the last whole group are
    // taken one by one below).
    std::size_t wholeSpecials = specials;
    while (wholeSpecials > 0 && special[wholeSpecials - 1] >= groups)
        --wholeSpecials;
    for (std::size_t s = 0; s < wholeSpecials;) {
        const std::uint32_t* batch = special.data() + s;
        switch (std::min<std::size_t>(4, wholeSpecials - s)) {
            case 4:
                ApplyToGroups<4>(values, batch, queue, queued);
                s += 4;
                break;
            case 3:
                ApplyToGroups<3>(values, batch, queue, queued);
                s += 3;
                break;
            case 2:
                ApplyToGroups<2>(values, batch, queue, queued);
                s += 2;
                break;
            default:
                ApplyToGroups<1>(values, batch, queue, queued);
                s += 1;
                break;
        }
    }
    std::size_t next = 0;
    std::size_t firstCalm = 0;  // the first calm reaching the current group
    std::size_t g = 0;
    while (g < groups) {
        while (next < specials && special[next] < g)
            ++next;
        const std::size_t nextSpecial = next < specials ? special[next] : groups;
        if (nextSpecial == g) {
            ++g;  // done above
            continue;
        }
        float* at = values + g * kLanes;
        // Up to the next special group every calm reaches every lane or none.
        const std::size_t first = g * kLanes;
        while (firstCalm < calmCount && reach[firstCalm] <= first)
            ++firstCalm;
        const float* active = calms.data() + firstCalm;
        const std::size_t activeCount = calmCount - firstCalm;
        const std::size_t run = nextSpecial - g;
        // Sixteen groups hold eight wide registers, enough independent subtractions in flight
        // to keep the processor's vector units busy.
        if (run >= 16) {
            CalmGroups<16>(at, active, activeCount);
            g += 16;
        } else if (run >= 8) {
            CalmGroups<8>(at, active, activeCount);
            g += 8;
        } else if (run >= 4) {
            CalmGroups<4>(at, active, activeCount);
            g += 4;
        } else {
            CalmGroups<1>(at, active, activeCount);
            ++g;
        }
    }
    for (std::size_t i = groups * kLanes; i < count; ++i)
        values[i] = ApplyTo(values[i], i, queue, queued);
}

// One provocation at once over a small table, as the queue would have carried it out (the
// provocation reaches every entry: nothing waits).
ANGER_TARGET_CLONES void ApplyNow(float* values, std::size_t count, std::size_t slot, float amount,
                                  float cap, bool calms, float calm) {
    float value = values[slot];
    if (calms) {
        // Every entry calms in whole groups of lanes; the provoked one is put right after.
        const std::size_t whole = count / kLanes * kLanes;
        for (std::size_t i = 0; i < whole; i += kLanes) {
            Lanes v;
            __builtin_memcpy(&v, values + i, sizeof v);
            v -= calm;
            __builtin_memcpy(values + i, &v, sizeof v);
        }
        if (whole != count && count >= kLanes) {
            // The last lanes again, calming only those past the whole groups.
            const std::size_t last = count - kLanes;
            const LaneMask index =
                LaneMask{0, 1, 2, 3, 4, 5, 6, 7} + static_cast<std::int32_t>(last);
            Lanes v;
            __builtin_memcpy(&v, values + last, sizeof v);
            v = index >= static_cast<std::int32_t>(whole) ? v - calm : v;
            __builtin_memcpy(values + last, &v, sizeof v);
        } else {
            for (std::size_t i = whole; i < count; ++i)
                values[i] -= calm;
        }
    }
    value += amount;
    if (value > cap)
        value = cap;
    values[slot] = value;
}

// A group of lanes as it lies at `at`, at any float's alignment.
[[gnu::always_inline]] inline void LoadLanes(Lanes& out, const float* at) {
    __builtin_memcpy(&out, at, sizeof out);
}

// Takes the calms of steps [from, to), already spread over every lane of a group, from `v`.
[[gnu::always_inline]] inline void CalmRun(Lanes& v, const float* spread, std::int32_t from,
                                           std::int32_t to) {
    Lanes calm;
    std::int32_t k = from;
    for (; k + 8 <= to; k += 8)
        for (std::int32_t j = 0; j < 8; ++j) {
            LoadLanes(calm, spread + static_cast<std::size_t>(k + j) * kLanes);
            v -= calm;
        }
    for (; k < to; ++k) {
        LoadLanes(calm, spread + static_cast<std::size_t>(k) * kLanes);
        v -= calm;
    }
}

// The least step at or above 0 of the lanes of `own` (`none` when no lane has one) and the
// greatest (-1 when none has one), halving the lanes three times.
[[gnu::always_inline]] inline void StepRange(const LaneMask& own, std::int32_t none,
                                             std::int32_t& lo, std::int32_t& hi) {
    LaneMask low = own >= 0 ? own : LaneMask{} + none;
    LaneMask high = own;
    LaneMask other = __builtin_shufflevector(low, low, 4, 5, 6, 7, 0, 1, 2, 3);
    low = other < low ? other : low;
    other = __builtin_shufflevector(high, high, 4, 5, 6, 7, 0, 1, 2, 3);
    high = other > high ? other : high;
    other = __builtin_shufflevector(low, low, 2, 3, 0, 1, 6, 7, 4, 5);
    low = other < low ? other : low;
    other = __builtin_shufflevector(high, high, 2, 3, 0, 1, 6, 7, 4, 5);
    high = other > high ? other : high;
    lo = std::min(low[0], low[1]);
    hi = std::max(high[0], high[1]);
}

// A batch of `steps` provocations over the whole table: `step` and `fresh` by entry (run on to
// whole groups), `amounts` and `calms` by step (see BatchScratch); `spreadLanes` has room for a
// group of lanes per step. Each lane takes every calm in order but at its own step, where it
// takes its provocation instead (from 0 when the step created the entry: what the lane held
// before is not yet the entry's). Only the steps between a group's first and last own step need
// a choice per lane; a sweep provokes its foes in about the order of their ids, so those are
// few, and every other step is one subtraction.
ANGER_TARGET_CLONES void ApplyBatch(float* values, std::size_t count, const std::int32_t* step,
                                    const std::int32_t* fresh, const float* amounts,
                                    const float* calms, std::size_t steps, float cap,
                                    float* spreadLanes) {
    for (std::size_t k = 0; k < steps; ++k) {
        // The calm itself in every lane (0 + calm would turn a calm of -0 into +0).
        const float c = calms[k];
        const Lanes calm{c, c, c, c, c, c, c, c};
        __builtin_memcpy(spreadLanes + k * kLanes, &calm, sizeof calm);
    }
    const float* spread = spreadLanes;
    const Lanes ceiling = Lanes{} + cap;
    const auto last = static_cast<std::int32_t>(steps);
    for (std::size_t first = 0; first < count; first += kLanes) {
        const std::size_t lanes = std::min(kLanes, count - first);
        Lanes v{};
        LaneMask own, born;
        if (lanes == kLanes)
            __builtin_memcpy(&v, values + first, sizeof v);
        else
            __builtin_memcpy(&v, values + first, lanes * sizeof(float));
        __builtin_memcpy(&own, step + first, sizeof own);
        __builtin_memcpy(&born, fresh + first, sizeof born);
        // The first and last own step (lanes past the end have none).
        std::int32_t lo = last, hi = -1;
        StepRange(own, last, lo, hi);
        CalmRun(v, spread, 0, lo);
        for (std::int32_t k = lo; k <= hi; ++k) {
            Lanes calm;
            LoadLanes(calm, spread + static_cast<std::size_t>(k) * kLanes);
            const Lanes base = born ? Lanes{} : v;
            Lanes added = base + amounts[k];
            added = added > ceiling ? ceiling : added;
            v = own == k ? added : v - calm;
        }
        CalmRun(v, spread, std::max(lo, hi + 1), last);
        if (lanes == kLanes)
            __builtin_memcpy(values + first, &v, sizeof v);
        else
            __builtin_memcpy(values + first, &v, lanes * sizeof(float));
    }
}

// The score of an entry: its value, twice that for the entry of `doubled`.
inline float ScoreOf(float value, std::uint32_t id, std::uint32_t doubled) {
    return id == doubled ? value * 2.0f : value;
}

// AngerTable::Angriest: the highest score first, eight lanes at a time (a lane takes a score only
// when it is strictly higher, so no NaN gets in), then the first entry holding it.
ANGER_TARGET_CLONES std::size_t FirstHighest(const float* values, const std::uint32_t* ids,
                                             std::size_t count, float floor,
                                             std::uint32_t doubled) {
    using IdLanes = std::uint32_t __attribute__((vector_size(32)));
    const std::size_t whole = count / kLanes * kLanes;
    Lanes top = Lanes{} + floor;
    for (std::size_t i = 0; i < whole; i += kLanes) {
        Lanes v;
        IdLanes id;
        __builtin_memcpy(&v, values + i, sizeof v);
        __builtin_memcpy(&id, ids + i, sizeof id);
        const Lanes score = id == doubled ? v * 2.0f : v;
        top = score > top ? score : top;
    }
    float highest = floor;
    for (std::size_t k = 0; k < kLanes; ++k)
        highest = top[k] > highest ? top[k] : highest;
    for (std::size_t i = whole; i < count; ++i) {
        const float score = ScoreOf(values[i], ids[i], doubled);
        highest = score > highest ? score : highest;
    }
    if (!(highest > floor))
        return count;
    for (std::size_t i = 0; i < count; ++i)
        if (ScoreOf(values[i], ids[i], doubled) == highest)
            return i;
    return count;
}

// What the batch scratch holds: by provocation, its amount, its calm (0 where it calms nothing:
// subtracting +0 leaves every value as it was), the table's size then, the entry's slot and
// whether it created it; by table slot, the provocation of the entry (-1: none) and whether it
// created it (-1) or not (0).
struct BatchScratch {
    std::vector<float> amounts, calms;
    std::vector<float> spread;  // each calm in every lane of a group
    std::vector<std::uint32_t> slots, sizes;
    std::vector<std::uint8_t> created;
    std::vector<std::int32_t> step, fresh;
    // The table as a rising list leaves it, built beside it.
    std::vector<std::uint32_t> ids, hints;
    std::vector<float> values;
};

BatchScratch& Batch() {
    thread_local BatchScratch scratch;
    return scratch;
}

// Room for `count` in a scratch vector, which only grows.
template <class T>
T* Room(std::vector<T>& scratch, std::size_t count) {
    if (scratch.size() < count)
        scratch.resize(count);
    return scratch.data();
}

// Each provocation's calm (CalmOf) from its amount and the table's size when it is carried
// out, eight at a time: the same division and product in each lane.
ANGER_TARGET_CLONES void CalmsOf(const float* amounts, const std::uint32_t* sizes,
                                 std::size_t count, float share, float* calms) {
    using SizeLanes = std::int32_t __attribute__((vector_size(32)));
    const std::size_t whole = count / kLanes * kLanes;
    for (std::size_t k = 0; k < whole; k += kLanes) {
        Lanes amount;
        SizeLanes size;
        __builtin_memcpy(&amount, amounts + k, sizeof amount);
        __builtin_memcpy(&size, sizes + k, sizeof size);
        const Lanes calm = amount / __builtin_convertvector(size, Lanes) * share;
        const Lanes none{};
        const Lanes out = size >= 2 ? calm : none;
        __builtin_memcpy(calms + k, &out, sizeof out);
    }
    for (std::size_t k = whole; k < count; ++k)
        AngerTable::CalmOf(amounts[k], sizes[k], share, calms[k]);
}

// Merges a list of provocations in rising id order with the `before` entries of a table into
// the scratch: the entries (ids, values, hints), the provocation of each (step, fresh: run on
// to a whole group) and each provocation's amount and calm (the table's size growing as the
// list creates entries). Returns the merged table's size; 0 when the list does not rise.
std::size_t MergeRising(const std::uint32_t* tableIds, const float* tableValues,
                        const std::uint32_t* tableHints, std::size_t before,
                        const AngerTable::Provoked* list, std::size_t count, float share,
                        BatchScratch& batch) {
    const std::size_t most = before + count;
    const std::size_t whole = (most + kLanes - 1) / kLanes * kLanes;
    std::uint32_t* const ids = Room(batch.ids, most);
    float* const values = Room(batch.values, most);
    std::uint32_t* const hints = Room(batch.hints, most);
    std::int32_t* const step = Room(batch.step, whole);
    std::int32_t* const fresh = Room(batch.fresh, whole);
    float* const amounts = Room(batch.amounts, count);
    std::uint32_t* const sizes = Room(batch.sizes, count);
    std::size_t i = 0, out = 0, k = 0;
    auto size = static_cast<std::uint32_t>(before);
    std::uint32_t last = 0;
    const auto skip = [&] {
        ids[out] = tableIds[i];
        values[out] = tableValues[i];
        hints[out] = tableHints[i];
        step[out] = -1;
        fresh[out] = 0;
        ++i;
        ++out;
    };
    while (k < count) {
        if (i < before && tableIds[i] == list[k].id) {
            // A run of listed ids the table holds side by side: the table's ids rise, so the
            // list does too along the run.
            do {
                const AngerTable::Provoked& p = list[k];
                ids[out] = p.id;
                values[out] = tableValues[i];
                hints[out] = p.worldSlot;
                step[out] = static_cast<std::int32_t>(k);
                fresh[out] = 0;
                amounts[k] = p.amount;
                sizes[k] = size;
                ++i;
                ++out;
                ++k;
            } while (k < count && i < before && tableIds[i] == list[k].id);
            last = tableIds[i - 1];
            continue;
        }
        const AngerTable::Provoked& p = list[k];
        if (k != 0 && p.id <= last)
            return 0;
        last = p.id;
        while (i < before && tableIds[i] < p.id)
            skip();
        if (i < before && tableIds[i] == p.id)
            continue;  // the run above takes it
        ids[out] = p.id;
        values[out] = 0.0f;
        hints[out] = p.worldSlot;
        step[out] = static_cast<std::int32_t>(k);
        fresh[out] = -1;
        ++out;
        amounts[k] = p.amount;
        sizes[k] = ++size;
        ++k;
    }
    while (i < before)
        skip();
    std::fill(step + out, step + whole, -1);
    std::fill(fresh + out, fresh + whole, 0);
    CalmsOf(amounts, sizes, count, share, Room(batch.calms, count));
    return out;
}

}  // namespace

AngerTable::AngerTable(const AngerTable& other)
    : mQueue(other.mQueue), mQueued(other.mQueued), mCursor(other.mCursor) {
    if (other.mSize == 0)
        return;
    Regrow(other.mSize);
    mSize = other.mSize;
    std::copy_n(other.mIds, mSize, mIds);
    std::copy_n(other.mValues, mSize, mValues);
    std::copy_n(other.mHints, mSize, mHints);
}

AngerTable::AngerTable(AngerTable&& other) noexcept
    : mIds(std::exchange(other.mIds, nullptr)),
      mValues(std::exchange(other.mValues, nullptr)),
      mHints(std::exchange(other.mHints, nullptr)),
      mSize(std::exchange(other.mSize, 0)),
      mCapacity(std::exchange(other.mCapacity, 0)),
      mQueue(other.mQueue),
      mQueued(std::exchange(other.mQueued, 0)),
      mCursor(other.mCursor) {}

AngerTable& AngerTable::operator=(const AngerTable& other) {
    if (this == &other)
        return *this;
    mSize = 0;
    Reserve(other.mSize);
    mSize = other.mSize;
    std::copy_n(other.mIds, mSize, mIds);
    std::copy_n(other.mValues, mSize, mValues);
    std::copy_n(other.mHints, mSize, mHints);
    mQueue = other.mQueue;
    mQueued = other.mQueued;
    mCursor = other.mCursor;
    return *this;
}

AngerTable& AngerTable::operator=(AngerTable&& other) noexcept {
    if (this == &other)
        return *this;
    AngerStorage::Give(mIds, mCapacity, kEntryBytes);
    mIds = std::exchange(other.mIds, nullptr);
    mValues = std::exchange(other.mValues, nullptr);
    mHints = std::exchange(other.mHints, nullptr);
    mSize = std::exchange(other.mSize, 0);
    mCapacity = std::exchange(other.mCapacity, 0);
    mQueue = other.mQueue;
    mQueued = std::exchange(other.mQueued, 0);
    mCursor = other.mCursor;
    return *this;
}

void AngerTable::Regrow(std::size_t count) {
    const std::size_t capacity = AngerStorage::CapacityFor(count);
    MoveTo(AngerStorage::Take(capacity, kEntryBytes), capacity);
}

void AngerTable::Grow() {
    if (mCapacity == 0) {
        Regrow(1);
        return;
    }
    // Twice the room, as a vector would, unless a block another table gave back fits between.
    std::size_t capacity = 2 * mCapacity;
    void* block = AngerStorage::TakeBetween(AngerStorage::CapacityFor(mSize + 1), capacity,
                                            kEntryBytes, capacity);
    if (!block)
        block = AngerStorage::Take(capacity, kEntryBytes);
    MoveTo(block, capacity);
}

void AngerTable::MoveTo(void* storage, std::size_t capacity) {
    auto* block = static_cast<std::uint32_t*>(storage);
    auto* values = reinterpret_cast<float*>(block + capacity);
    std::uint32_t* hints = block + 2 * capacity;
    std::copy_n(mIds, mSize, block);
    std::copy_n(mValues, mSize, values);
    std::copy_n(mHints, mSize, hints);
    AngerStorage::Give(mIds, mCapacity, kEntryBytes);
    mIds = block;
    mValues = values;
    mHints = hints;
    mCapacity = capacity;
}

bool AngerTable::operator==(const AngerTable& other) const {
    Flush();
    other.Flush();
    return mSize == other.mSize && std::equal(mIds, mIds + mSize, other.mIds) &&
           std::equal(mValues, mValues + mSize, other.mValues);
}

std::size_t AngerTable::FindOrInsertFrom(std::uint32_t id, std::uint32_t worldSlot) {
    // After the cursor missed: the end is tried, then the side of the cursor where the id lies.
    const std::size_t count = mSize;
    std::size_t lo = 0, hi = count;
    if (count != 0 && mIds[count - 1] < id) {
        lo = count;
    } else if (mCursor < count && mIds[mCursor] < id) {
        // Forward in doubling steps: the id is usually a few entries on.
        lo = mCursor + 1;
        hi = lo;
        for (std::size_t step = 1; hi < count && mIds[hi] < id; step <<= 1) {
            lo = hi + 1;
            hi += step;
        }
        hi = std::min(hi, count);
    } else if (mCursor < count) {
        hi = mCursor;
    }
    const std::uint32_t* it = std::lower_bound(mIds + lo, mIds + hi, id);
    const auto slot = static_cast<std::size_t>(it - mIds);
    mCursor = slot + 1;
    if (slot != count && *it == id) {
        mHints[slot] = worldSlot;
        return slot;
    }
    if (count == mCapacity)
        Grow();
    // A new last entry is beyond every queued provocation's reach; any other shifts entries
    // the queue names.
    if (slot != count) {
        Flush();
        std::copy_backward(mIds + slot, mIds + count, mIds + count + 1);
        std::copy_backward(mValues + slot, mValues + count, mValues + count + 1);
        std::copy_backward(mHints + slot, mHints + count, mHints + count + 1);
    }
    mIds[slot] = id;
    mValues[slot] = 0.0f;
    mHints[slot] = worldSlot;
    mSize = count + 1;
    return slot;
}

void AngerTable::ProvokeNow(std::size_t slot, float amount, float cap, bool calms, float calm) {
    Flush();
    ApplyNow(mValues, mSize, slot, amount, cap, calms, calm);
}

void AngerTable::Apply() const {
    ApplyQueue(mValues, mSize, mQueue.data(), mQueued);
    mQueued = 0;
}

void AngerTable::ProvokeEach(const Provoked* list, std::size_t count, float cap, float share,
                             std::vector<std::int32_t>* steps) {
    if (count == 0) {
        if (steps)
            steps->assign(mSize, -1);
        return;
    }
    Flush();
#ifndef NDEBUG
    AngerTable oneByOne = *this;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t slot = oneByOne.FindOrInsert(list[k].id, list[k].worldSlot);
        float calm = 0.0f;
        const bool calms = CalmOf(list[k].amount, oneByOne.size(), share, calm);
        oneByOne.ProvokeNow(slot, list[k].amount, cap, calms, calm);
    }
#endif
    BatchScratch& batch = Batch();
    // A sweep's list rises: the table is merged with it in one pass.
    const std::size_t size = MergeRising(mIds, mValues, mHints, mSize, list, count, share, batch);
    if (size != 0) {
        // Room as one insert after another would have taken it.
        while (mSize < size) {
            if (mSize == mCapacity)
                Grow();
            mIds[mSize] = 0;
            mValues[mSize] = 0.0f;
            mHints[mSize] = kNoHint;
            ++mSize;
        }
        std::copy_n(batch.ids.data(), size, mIds);
        std::copy_n(batch.values.data(), size, mValues);
        std::copy_n(batch.hints.data(), size, mHints);
        ApplyBatch(mValues, mSize, batch.step.data(), batch.fresh.data(), batch.amounts.data(),
                   batch.calms.data(), count, cap, Room(batch.spread, count * kLanes));
    } else {
        batch.amounts.resize(count);
        batch.calms.resize(count);
        batch.slots.resize(count);
        batch.created.resize(count);
        float* const amounts = batch.amounts.data();
        float* const calms = batch.calms.data();
        std::uint32_t* const slots = batch.slots.data();
        std::uint8_t* const created = batch.created.data();
        // Every entry first, so the values are walked once; an entry put in before others moves
        // their slots, which are then looked up again.
        bool moved = false;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t size = mSize;
            const std::size_t slot = FindOrInsert(list[k].id, list[k].worldSlot);
            created[k] = mSize != size;
            moved = moved || (mSize != size && slot + 1 != mSize);
            slots[k] = static_cast<std::uint32_t>(slot);
            amounts[k] = list[k].amount;
            CalmOf(list[k].amount, mSize, share, calms[k]);
        }
        if (moved) {
            // Every id is in now: FindOrInsert only finds, from its cursor.
            mCursor = 0;
            for (std::size_t k = 0; k < count; ++k)
                slots[k] = static_cast<std::uint32_t>(FindOrInsert(list[k].id, list[k].worldSlot));
        }
        const std::size_t whole = (mSize + kLanes - 1) / kLanes * kLanes;
        batch.step.assign(whole, -1);
        batch.fresh.assign(whole, 0);
        std::int32_t* const step = batch.step.data();
        std::int32_t* const fresh = batch.fresh.data();
        bool twice = false;
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint32_t slot = slots[k];
            twice = twice || step[slot] >= 0;
            step[slot] = static_cast<std::int32_t>(k);
            fresh[slot] = created[k] ? -1 : 0;
        }
        if (!twice) {
            batch.spread.resize(count * kLanes);
            ApplyBatch(mValues, mSize, step, fresh, amounts, calms, count, cap,
                       batch.spread.data());
        } else {
            // An id listed twice: one provocation at a time over the whole table. Entries created
            // later take calms meant for others meanwhile; they start from 0 when created.
            for (std::size_t k = 0; k < count; ++k) {
                if (created[k])
                    mValues[slots[k]] = 0.0f;
                ApplyNow(mValues, mSize, slots[k], amounts[k], cap, true, calms[k]);
            }
        }
    }
#ifndef NDEBUG
    if (mSize != oneByOne.mSize || !std::equal(mIds, mIds + mSize, oneByOne.mIds) ||
        !std::equal(mHints, mHints + mSize, oneByOne.mHints) ||
        std::memcmp(mValues, oneByOne.mValues, mSize * sizeof(float)) != 0) {
        gEngine->Log(0, "AngerTable: a batch of provocations differs from one at a time");
        std::abort();
    }
#endif
    // Both ways leave the step of each slot in the scratch, run on to a whole group.
    if (steps)
        steps->assign(batch.step.data(), batch.step.data() + mSize);
}

std::size_t AngerTable::Angriest(float floor, std::uint32_t doubled) const {
    Flush();
    return FirstHighest(mValues, mIds, mSize, floor, doubled);
}

}  // namespace GAME
