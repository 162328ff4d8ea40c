#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "Game/ai/anger/AngerLanes.h"

namespace GAME::AngerLanes {

namespace {

using Provocation = AngerTable::Provocation;

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

}  // namespace

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

// (The provocation reaches every entry: nothing waits.)
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

namespace {

// The score of an entry: its value, twice that for the entry of `doubled`.
inline float ScoreOf(float value, std::uint32_t id, std::uint32_t doubled) {
    return id == doubled ? value * 2.0f : value;
}

}  // namespace

// The highest score first, eight lanes at a time (a lane takes a score only
// when it is strictly higher, so no NaN gets in), then the first entry holding it. A lane keeps
// where it took its score: the first of its entries scoring that, as a lane's score only
// rises. So the first entry holding the highest is the least of those lanes' places, or else
// lies past the whole groups.
ANGER_TARGET_CLONES std::size_t FirstHighest(const float* values, const std::uint32_t* ids,
                                             std::size_t count, float floor,
                                             std::uint32_t doubled) {
    using IdLanes = std::uint32_t __attribute__((vector_size(32)));
    const std::size_t whole = count / kLanes * kLanes;
    Lanes top = Lanes{} + floor;
    LaneMask at{};
    LaneMask index{0, 1, 2, 3, 4, 5, 6, 7};
    for (std::size_t i = 0; i < whole; i += kLanes) {
        Lanes v;
        IdLanes id;
        __builtin_memcpy(&v, values + i, sizeof v);
        __builtin_memcpy(&id, ids + i, sizeof id);
        const Lanes score = id == doubled ? v * 2.0f : v;
        const LaneMask higher = score > top;
        top = higher ? score : top;
        at = higher ? index : at;
        index += static_cast<std::int32_t>(kLanes);
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
    std::size_t first = count;
    for (std::size_t k = 0; k < kLanes; ++k)
        if (top[k] == highest)
            first = std::min(first, static_cast<std::size_t>(at[k]));
    if (first != count)
        return first;
    for (std::size_t i = whole; i < count; ++i)
        if (ScoreOf(values[i], ids[i], doubled) == highest)
            return i;
    return count;
}

// Eight calms at a time: the same division and product in each lane.
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

}  // namespace GAME::AngerLanes
