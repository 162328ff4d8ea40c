// ApplyBatch. Each value's calms form one chain of dependent subtractions, so one group of lanes
// at a time waits on the latency of every step. A block of groups goes through the steps side
// by side instead, their chains overlapping; each lane still takes its own operations in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

#include "Game/ai/anger/AngerLanes.h"

namespace GAME::AngerLanes {

namespace {

// What every group of a batch reads by step.
template <class Group>
struct BatchSteps {
    const float* amounts;
    const float* calms;
    std::int32_t count;
    Group ceiling;
};

// Where a block's lanes stand. `kPacked`: `step` lists the kept entries of a table filled in
// list order (each created by the step of its own index), rising, and `amounts` theirs beside.
enum class Layout { kSteps, kFilled, kPacked };

// Where a group opening its window finds its amounts.
enum class Opening {
    kLooked,   // by each lane's step
    kInOrder,  // its lanes' steps are lo, lo + 1, ...: side by side from lo
};

// Tables from this many entries take sixteen lanes where the processor has them.
constexpr std::size_t kWideFrom = 256;

// Sixteen lanes' mask, for the wide groups.
using WideMask = std::int32_t __attribute__((vector_size(64)));

// Lanes 0, 1, 2, ... of a group's mask.
template <class Mask>
struct LaneIndex;

template <>
struct LaneIndex<LaneMask> {
    static constexpr LaneMask kLanes = {0, 1, 2, 3, 4, 5, 6, 7};
};

template <>
struct LaneIndex<WideMask> {
    static constexpr WideMask kLanes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
};

// The least and greatest of eight lanes, halving them three times.
[[gnu::always_inline]] inline void LowestAndHighest(const LaneMask& lows, const LaneMask& highs,
                                                    std::int32_t& lo, std::int32_t& hi) {
    LaneMask low = lows, high = highs;
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

[[gnu::always_inline]] inline void LowestAndHighest(const WideMask& lows, const WideMask& highs,
                                                    std::int32_t& lo, std::int32_t& hi) {
    // Halves of sixteen lanes first.
    const LaneMask low0 = __builtin_shufflevector(lows, lows, 0, 1, 2, 3, 4, 5, 6, 7);
    const LaneMask low1 = __builtin_shufflevector(lows, lows, 8, 9, 10, 11, 12, 13, 14, 15);
    const LaneMask high0 = __builtin_shufflevector(highs, highs, 0, 1, 2, 3, 4, 5, 6, 7);
    const LaneMask high1 = __builtin_shufflevector(highs, highs, 8, 9, 10, 11, 12, 13, 14, 15);
    LowestAndHighest(low1 < low0 ? low1 : low0, high1 > high0 ? high1 : high0, lo, hi);
}

// Whether every lane of `a` is that of `b`.
[[gnu::always_inline]] inline bool Same(const LaneMask& a, const LaneMask& b) {
    LaneMask diff = a ^ b;
    diff |= __builtin_shufflevector(diff, diff, 4, 5, 6, 7, 0, 1, 2, 3);
    diff |= __builtin_shufflevector(diff, diff, 2, 3, 0, 1, 6, 7, 4, 5);
    return (diff[0] | diff[1]) == 0;
}

[[gnu::always_inline]] inline bool Same(const WideMask& a, const WideMask& b) {
    const WideMask diff = a ^ b;
    const LaneMask low = __builtin_shufflevector(diff, diff, 0, 1, 2, 3, 4, 5, 6, 7);
    const LaneMask high = __builtin_shufflevector(diff, diff, 8, 9, 10, 11, 12, 13, 14, 15);
    return Same(low | high, LaneMask{});
}

// The least own step of a group's lanes (`none` when no lane has one) and the greatest (-1 when
// none has one).
template <class Mask>
[[gnu::always_inline]] inline void OwnWindow(const Mask& own, std::int32_t none, std::int32_t& lo,
                                             std::int32_t& hi) {
    LowestAndHighest(own >= 0 ? own : Mask{} + none, own, lo, hi);
}

// Step `k` for a group holding own steps: a lane whose step it is takes its provocation, every
// other the calm. (Vectors are passed by address: all of this is inlined into each clone.)
template <class Group, class Mask>
[[gnu::always_inline]] inline void Choose(Group& v, const Mask& own, const Mask& born,
                                          std::int32_t k, const BatchSteps<Group>& steps) {
    const Group base = born ? Group{} : v;
    Group added = base + steps.amounts[k];
    added = added > steps.ceiling ? steps.ceiling : added;
    v = own == k ? added : v - steps.calms[k];
}

// Steps [from, to) as calms alone for groups `First` to `Upto` (not included) of the block.
template <std::size_t First, std::size_t Upto, class Group, std::size_t Count>
[[gnu::always_inline]] inline void CalmGroups(Group (&v)[Count], const BatchSteps<Group>& steps,
                                              std::int32_t from, std::int32_t to) {
    static_assert(First <= Upto && Upto <= Count);
#pragma GCC unroll 8
    for (std::int32_t k = from; k < to; ++k) {
        const float calm = steps.calms[k];
#pragma GCC unroll 16
        for (std::size_t w = First; w < Upto; ++w)
            v[w] -= calm;
    }
}

template <std::size_t Upto, class Group, std::size_t Count>
[[gnu::always_inline]] inline void CalmFirst(Group (&v)[Count], const BatchSteps<Group>& steps,
                                             std::int32_t from, std::int32_t to) {
    CalmGroups<0, Upto>(v, steps, from, to);
}

template <class Group, std::size_t Count>
[[gnu::always_inline]] inline void CalmAll(Group (&v)[Count], const BatchSteps<Group>& steps,
                                           std::int32_t from, std::int32_t to) {
    CalmFirst<Count>(v, steps, from, to);
}

// Lane `Lane` of `a` becomes that of `b` (one blend with the lane fixed).
template <std::size_t Lane, class Group, std::size_t... L>
[[gnu::always_inline]] inline void TakeLane(Group& a, const Group& b, std::index_sequence<L...>) {
    a = __builtin_shufflevector(a, b, static_cast<int>(L == Lane ? L + sizeof...(L) : L)...);
}

// Step `k` for group `Own` when it is the step of lane `Lane` alone: the lane whose step it is
// is known, so no lane compares its step.
template <std::size_t Own, std::size_t Upto, std::size_t Lane, class Group, class Mask,
          std::size_t Count>
[[gnu::always_inline]] inline void ChooseLane(Group (&v)[Count], const Mask& born,
                                              const BatchSteps<Group>& steps, std::int32_t k) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
    const float calm = steps.calms[k];
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Upto; ++w)
        if (w != Own)
            v[w] -= calm;
    const Group base = born ? Group{} : v[Own];
    Group added = base + steps.amounts[k];
    added = added > steps.ceiling ? steps.ceiling : added;
    v[Own] -= calm;
    TakeLane<Lane>(v[Own], added, std::make_index_sequence<kWidth>{});
}

// Steps `from` + Lane... for group `Own` whose lane i is provoked by step `from` + i.
template <std::size_t Own, std::size_t Upto, class Group, class Mask, std::size_t Count,
          std::size_t... Lane>
[[gnu::always_inline]] inline void ChooseLanes(Group (&v)[Count], const Mask& born,
                                               const BatchSteps<Group>& steps, std::int32_t from,
                                               std::index_sequence<Lane...>) {
    (ChooseLane<Own, Upto, Lane>(v, born, steps, from + static_cast<std::int32_t>(Lane)), ...);
}

// Steps [from, to] with a choice per lane in group `Own` only: the others have no own step
// there. Groups from `Upto` on are left alone.
template <std::size_t Own, std::size_t Upto, class Group, class Mask, std::size_t Count>
[[gnu::always_inline]] inline void ChooseIn(Group (&v)[Count], const Mask& own, const Mask& born,
                                            const BatchSteps<Group>& steps, std::int32_t from,
                                            std::int32_t to) {
    static_assert(Own < Upto && Upto <= Count);
    for (std::int32_t k = from; k <= to; ++k) {
        const float calm = steps.calms[k];
#pragma GCC unroll 16
        for (std::size_t w = 0; w < Upto; ++w) {
            if (w == Own)
                Choose(v[w], own, born, k, steps);
            else
                v[w] -= calm;
        }
    }
}

// Group after group of a block whose lanes the steps from `from` name one after another.
template <class Group, class Mask, std::size_t Count, std::size_t... Own>
[[gnu::always_inline]] inline void ChooseInTurn(Group (&v)[Count], const Mask (&born)[Count],
                                                const BatchSteps<Group>& steps, std::int32_t from,
                                                std::index_sequence<Own...>) {
    constexpr auto kWidth = static_cast<std::int32_t>(sizeof(Group) / sizeof(float));
    (ChooseLanes<Own, Count>(v, born[Own], steps, from + kWidth * static_cast<std::int32_t>(Own),
                             std::make_index_sequence<kWidth>{}),
     ...);
}

template <class Group, class Mask, std::size_t Count, std::size_t... Own>
[[gnu::always_inline]] inline void ChooseInGroup(std::size_t group, Group (&v)[Count],
                                                 const Mask (&own)[Count],
                                                 const Mask (&born)[Count],
                                                 const BatchSteps<Group>& steps, std::int32_t from,
                                                 std::int32_t to, std::index_sequence<Own...>) {
    (void)((group == Own &&
            (ChooseIn<Own, Count>(v, own[Own], born[Own], steps, from, to), true)) ||
           ...);
}

// Group `Open`'s window in a block whose lanes its steps all create: the groups after it hold
// nothing yet, so only those before it calm. Each of its lanes takes 0 + its amount, capped,
// from the start and keeps it through calms of +0 until its own step (x - +0 is x, -0
// included). False when the group has no own step (it and all after it lie past the table).
template <std::size_t Open, Opening From, class Group, class Mask, std::size_t Count>
[[gnu::always_inline]] inline bool OpenGroup(Group (&v)[Count], const Mask& own,
                                             const BatchSteps<Group>& steps, std::int32_t& k,
                                             std::int32_t lo, std::int32_t hi) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
    if (lo > hi)
        return false;
    CalmFirst<Open>(v, steps, k, lo + 1);
    static_assert(sizeof(Mask) == sizeof(Group));
    Group added{};  // every lane is written below; -O1 cannot see that
    if (From == Opening::kInOrder || Same(own, LaneIndex<Mask>::kLanes + lo)) {
        // The usual order: one lane after another.
        __builtin_memcpy(&added, steps.amounts + lo, sizeof added);
    } else {
#pragma GCC unroll 16
        for (std::size_t i = 0; i < kWidth; ++i)
            added[i] = steps.amounts[own[i] >= 0 ? own[i] : lo];
    }
    added = Group{} + added;
    v[Open] = added > steps.ceiling ? steps.ceiling : added;
    Mask at = Mask{} + lo;
    for (std::int32_t s = lo + 1; s <= hi; ++s) {
        const float calm = steps.calms[s];
#pragma GCC unroll 16
        for (std::size_t w = 0; w < Open; ++w)
            v[w] -= calm;
        at += 1;
        v[Open] -= own < at ? calm : 0.0f;
    }
    k = hi + 1;
    return true;
}

// The groups of such a block one after another as their windows open, then every group to the
// last step.
template <Opening From, class Group, class Mask, std::size_t Count, std::size_t... Open>
[[gnu::always_inline]] inline void OpenInTurn(Group (&v)[Count], const Mask (&own)[Count],
                                              const std::int32_t (&lo)[Count],
                                              const std::int32_t (&hi)[Count],
                                              const BatchSteps<Group>& steps,
                                              std::index_sequence<Open...>) {
    std::int32_t k = lo[0];
    (void)(OpenGroup<Open, From>(v, own[Open], steps, k, lo[Open], hi[Open]) && ...);
    CalmAll(v, steps, k, steps.count);
}

// Steps [from, to) for groups up to `Upto` (not included) whose lane i is step i ahead: each takes
// the calms from k + i at step k, one load for every group.
template <std::size_t Upto, class Group, std::size_t Count>
[[gnu::always_inline]] inline void CalmAhead(Group (&v)[Count], const float* calms,
                                             std::int32_t from, std::int32_t to) {
    static_assert(Upto <= Count);
#pragma GCC unroll 8
    for (std::int32_t k = from; k < to; ++k) {
        Group calm;
        __builtin_memcpy(&calm, calms + k, sizeof calm);
#pragma GCC unroll 16
        for (std::size_t w = 0; w < Upto; ++w)
            v[w] -= calm;
    }
}

// How the lanes of a block walked ahead (see WalkAhead) lie in its groups.
enum class Spacing {
    kApart,       // a group's lanes may lie apart in steps
    kSideBySide,  // each group's lanes are created one step after another
    kAdjacent,    // and each group's first one step after the last of the group before it
};

// Group `Open` of a block walked ahead takes its amounts once those before it reach its first
// calm. Where its lanes lie apart, lane i starts start[i] - lo steps late; until the last one
// has started, each takes a calm only once it has.
template <std::size_t Open, Spacing Lie, class Group, class Mask, std::size_t Count>
[[gnu::always_inline]] inline void OpenAhead(Group (&v)[Count], const Mask& start, std::int32_t lo,
                                             std::int32_t last, const float* amounts,
                                             const BatchSteps<Group>& steps, std::int32_t& k) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
    if constexpr (Lie == Spacing::kAdjacent && Open > 0) {
        // A known count: no steps left over from the unrolling.
#pragma GCC unroll 16
        for (std::size_t s = 0; s < kWidth; ++s) {
            Group calm;
            __builtin_memcpy(&calm, steps.calms + k + s, sizeof calm);
#pragma GCC unroll 16
            for (std::size_t w = 0; w < Open; ++w)
                v[w] -= calm;
        }
    } else {
        CalmAhead<Open>(v, steps.calms, k, lo + 1);
    }
    Group added;
    __builtin_memcpy(&added, amounts + Open * kWidth, sizeof added);
    added = Group{} + added;
    v[Open] = added > steps.ceiling ? steps.ceiling : added;
    k = lo + 1;
    if constexpr (Lie == Spacing::kApart) {
        Mask at = Mask{} + lo;
        for (; k <= last; ++k) {
            Group calm;
            __builtin_memcpy(&calm, steps.calms + k, sizeof calm);
#pragma GCC unroll 16
            for (std::size_t w = 0; w < Open; ++w)
                v[w] -= calm;
            at += 1;
            v[Open] -= start < at ? calm : Group{};
        }
    }
}

// A block whose group `w` has lane i created by step start[w][i] + i (rising; lo[w] for the
// first, last[w] + its index for the last), its amounts side by side from `amounts` + w *
// width, and no other own step. Lane i keeps its amount until its own step and takes every calm
// after it, so in a group whose lanes are created one step after another it runs i steps ahead
// of lane 0: at step k it takes calm k + i, the whole group from one load, with no window of
// steps where its lanes choose. The last lanes run past the steps into the +0 after them,
// which leave them as they are.
template <Spacing Lie, class Group, class Mask, std::size_t Count, std::size_t... Open>
[[gnu::always_inline]] inline void WalkAhead(Group (&v)[Count], const Mask (&start)[Count],
                                             const std::int32_t (&lo)[Count],
                                             const std::int32_t (&last)[Count],
                                             const float* amounts, const BatchSteps<Group>& steps,
                                             std::index_sequence<Open...>) {
    std::int32_t k = lo[0];
    (OpenAhead<Open, Lie>(v, start[Open], lo[Open], last[Open], amounts, steps, k), ...);
    CalmAhead<Count>(v, steps.calms, k, steps.count);
}

// A block's groups back into the table, group w from to(w, its own place) on (the last only as
// far as `count`, unless `Whole`).
template <bool Whole, class Group, std::size_t Count, class To>
[[gnu::always_inline]] inline void StoreEach(float* values, std::size_t first, std::size_t count,
                                             const Group (&v)[Count], To to) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Count; ++w) {
        const std::size_t at = first + w * kWidth;
        const std::size_t filled = Whole ? kWidth : std::min(kWidth, count - at);
        __builtin_memcpy(values + to(w, at), &v[w], filled * sizeof(float));
    }
}

template <bool Whole, class Group, std::size_t Count>
[[gnu::always_inline]] inline void Store(float* values, std::size_t first, std::size_t count,
                                         const Group (&v)[Count]) {
    StoreEach<Whole>(values, first, count, v, [](std::size_t, std::size_t at) { return at; });
}

// Groups whose lanes lie side by side back from lo[w] on.
template <bool Whole, class Group, std::size_t Count>
[[gnu::always_inline]] inline void StoreAt(float* values, std::size_t first, std::size_t count,
                                           const std::int32_t (&lo)[Count],
                                           const Group (&v)[Count]) {
    StoreEach<Whole>(values, first, count, v,
                     [&lo](std::size_t w, std::size_t) { return static_cast<std::size_t>(lo[w]); });
}

// Packed groups back to their entries.
template <bool Whole, class Group, std::size_t Count>
[[gnu::always_inline]] inline void Scatter(float* values, std::size_t first, std::size_t count,
                                           const std::int32_t* entries, const Group (&v)[Count]) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Count; ++w) {
        const std::size_t at = first + w * kWidth;
        const std::size_t filled = Whole ? kWidth : std::min(kWidth, count - at);
#pragma GCC unroll 16
        for (std::size_t i = 0; i < filled; ++i)
            values[entries[at + i]] = v[w][i];
    }
}

// `Count` groups from lane `first` through every step (the last group may run past `count`,
// unless `Whole`). Filled, the batch filled an empty table in list order (lane i by step i),
// which needs no steps read: lanes past the table are never stored.
template <class Group, class Mask, std::size_t Count, bool Whole, Layout Lay>
[[gnu::always_inline]] inline void BatchBlock(float* values, std::size_t first, std::size_t count,
                                              const std::int32_t* step, const std::int32_t* fresh,
                                              const BatchSteps<Group>& steps) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
    static_assert(sizeof(Mask) == sizeof(Group));
    // Every lane of a block made only of lanes its steps create is written before it is read,
    // so the old values are loaded only once that is ruled out.
    Group v[Count] = {};
    Mask own[Count], born[Count];
    std::int32_t lo[Count], hi[Count];
    if constexpr (Lay == Layout::kPacked) {
        // The list rises, so a run of it spans only as many entries as it lists when they lie side
        // by side: the groups mostly follow one another. A partial block's lanes past the list
        // run on through the +0 after the calms and are not stored.
        const std::size_t listed = Whole ? Count * kWidth : count - first;
        const std::int32_t base = step[first];
        if (step[first + listed - 1] - base == static_cast<std::int32_t>(listed - 1)) {
#pragma GCC unroll 16
            for (std::size_t w = 0; w < Count; ++w)
                lo[w] = base + static_cast<std::int32_t>(w * kWidth);
            WalkAhead<Spacing::kAdjacent>(v, own, lo, lo, steps.amounts + first, steps,
                                          std::make_index_sequence<Count>{});
            StoreAt<Whole>(values, first, count, lo, v);
            return;
        }
        bool dense = true;
#pragma GCC unroll 16
        for (std::size_t w = 0; w < Count; ++w) {
            const std::size_t at = first + w * kWidth;
            const std::size_t filled = Whole ? kWidth : std::min(kWidth, count - at);
            __builtin_memcpy(&own[w], step + at, sizeof own[w]);
            own[w] -= LaneIndex<Mask>::kLanes;
            lo[w] = step[at];
            hi[w] = step[at + filled - 1] - static_cast<std::int32_t>(filled - 1);
            dense = dense && hi[w] == lo[w];
        }
        WalkAhead<Spacing::kApart>(v, own, lo, hi, steps.amounts + first, steps,
                                   std::make_index_sequence<Count>{});
        if (dense)
            StoreAt<Whole>(values, first, count, lo, v);
        else
            Scatter<Whole>(values, first, count, step, v);
        return;
    } else if constexpr (Lay == Layout::kFilled) {
#pragma GCC unroll 16
        for (std::size_t w = 0; w < Count; ++w)
            lo[w] = static_cast<std::int32_t>(first + w * kWidth);
        constexpr Spacing kLie = Whole ? Spacing::kAdjacent : Spacing::kSideBySide;
        WalkAhead<kLie>(v, own, lo, lo, steps.amounts + first, steps,
                        std::make_index_sequence<Count>{});
        Store<Whole>(values, first, count, v);
        return;
    }
    // Lanes each created by its own step (past the table count as such: nothing reads them).
    Mask created = Mask{} - 1;
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Count; ++w) {
        const std::size_t at = first + w * kWidth;
        const std::size_t filled = Whole ? kWidth : std::min(kWidth, count - at);
        __builtin_memcpy(&own[w], step + at, sizeof own[w]);
        __builtin_memcpy(&born[w], fresh + at, sizeof born[w]);
        created &= born[w] | (LaneIndex<Mask>::kLanes >= static_cast<std::int32_t>(filled));
    }
    // The list names lane i of the block by step base + i: the groups' windows are known
    // without reducing each. In a partial block only the last group's lanes in the table count.
    const std::size_t lastFilled =
        Whole ? kWidth : std::min(kWidth, count - (first + (Count - 1) * kWidth));
    const std::int32_t base = own[0][0];
    Mask off{};
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Count; ++w) {
        lo[w] = base + static_cast<std::int32_t>(w * kWidth);
        hi[w] = lo[w] + static_cast<std::int32_t>(kWidth - 1);
        Mask diff = own[w] ^ (LaneIndex<Mask>::kLanes + lo[w]);
        if (!Whole && w == Count - 1) {
            hi[w] = lo[w] + static_cast<std::int32_t>(lastFilled - 1);
            diff &= LaneIndex<Mask>::kLanes < static_cast<std::int32_t>(lastFilled);
        }
        off |= diff;
    }
    const bool listed = base >= 0 && Same(off, Mask{});
    // Every lane created too: a table the list fills from empty.
    if (Whole && listed && Same(created, Mask{} - 1)) {
        OpenInTurn<Opening::kInOrder>(v, own, lo, hi, steps, std::make_index_sequence<Count>{});
        Store<Whole>(values, first, count, v);
        return;
    }
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Count; ++w) {
        const std::size_t at = first + w * kWidth;
        const std::size_t filled = Whole ? kWidth : std::min(kWidth, count - at);
        __builtin_memcpy(&v[w], values + at, filled * sizeof(float));
    }
    if (listed) {
        // Some lane held a value before: every step from the first counts.
        CalmAll(v, steps, 0, lo[0]);
        if constexpr (Whole) {
            ChooseInTurn(v, born, steps, lo[0], std::make_index_sequence<Count>{});
        } else {
            // The last group's lanes past the table have no step: it compares.
            ChooseInTurn(v, born, steps, lo[0], std::make_index_sequence<Count - 1>{});
            ChooseIn<Count - 1, Count>(v, own[Count - 1], born[Count - 1], steps, lo[Count - 1],
                                       hi[Count - 1]);
        }
        CalmAll(v, steps, hi[Count - 1] + 1, steps.count);
        Store<Whole>(values, first, count, v);
        return;
    }
#pragma GCC unroll 16
    for (std::size_t w = 0; w < Count; ++w)
        OwnWindow(own[w], steps.count, lo[w], hi[w]);
    // A sweep lists its foes in about the order of their ids, so the groups' windows of own
    // steps follow one another: each is a choice for its group alone while the others calm.
    bool apart = true;
    std::int32_t low = steps.count, high = -1;
    for (std::size_t w = 0; w < Count; ++w) {
        if (lo[w] > hi[w])
            continue;
        apart = apart && lo[w] > high;
        low = std::min(low, lo[w]);
        high = std::max(high, hi[w]);
    }
    // A lane its step creates ignores the calms before that step, so a block made only of such
    // lanes (a table the list fills from empty) starts at the first of its steps.
    std::int32_t least = 0, most = 0;
    LowestAndHighest(created, created, least, most);
    const std::int32_t start = most == -1 ? low : 0;
    if (apart && most == -1) {
        OpenInTurn<Opening::kLooked>(v, own, lo, hi, steps, std::make_index_sequence<Count>{});
    } else if (apart) {
        std::int32_t k = start;
        for (std::size_t w = 0; w < Count; ++w) {
            if (lo[w] > hi[w])
                continue;
            CalmAll(v, steps, k, lo[w]);
            ChooseInGroup(w, v, own, born, steps, lo[w], hi[w], std::make_index_sequence<Count>{});
            k = hi[w] + 1;
        }
        CalmAll(v, steps, k, steps.count);
    } else {
        // Windows that overlap: a choice for every group over all of them (a group with no own
        // step there takes the calm either way).
        CalmAll(v, steps, start, low);
        for (std::int32_t k = low; k <= high; ++k)
#pragma GCC unroll 16
            for (std::size_t w = 0; w < Count; ++w)
                Choose(v[w], own[w], born[w], k, steps);
        CalmAll(v, steps, std::max(low, high + 1), steps.count);
    }
    Store<Whole>(values, first, count, v);
}

// The groups from `group` on in one block of `Rest` (fewer than a whole block).
template <class Group, class Mask, Layout Lay, std::size_t... Rest>
[[gnu::always_inline]] inline void BatchRest(float* values, std::size_t count, std::size_t group,
                                             std::size_t rest, const std::int32_t* step,
                                             const std::int32_t* fresh,
                                             const BatchSteps<Group>& steps,
                                             std::index_sequence<Rest...>) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
    (void)((rest == Rest + 1 && (BatchBlock<Group, Mask, Rest + 1, false, Lay>(
                                     values, group * kWidth, count, step, fresh, steps),
                                 true)) ||
           ...);
}

// Every group, `Count` at a time, then the ones left in one block: a small table's groups all
// overlap.
template <class Group, class Mask, std::size_t Count, Layout Lay>
[[gnu::always_inline]] inline void BatchBlocks(float* values, std::size_t count,
                                               const std::int32_t* step, const std::int32_t* fresh,
                                               const BatchSteps<Group>& steps) {
    constexpr std::size_t kWidth = sizeof(Group) / sizeof(float);
    static_assert(kBatchLanes % kWidth == 0);
    const std::size_t groups = (count + kWidth - 1) / kWidth;
    std::size_t group = 0;
    // Every block but perhaps the last holds only lanes of the table.
    for (; (group + Count) * kWidth <= count; group += Count)
        BatchBlock<Group, Mask, Count, true, Lay>(values, group * kWidth, count, step, fresh,
                                                  steps);
    if (group + Count <= groups) {
        BatchBlock<Group, Mask, Count, false, Lay>(values, group * kWidth, count, step, fresh,
                                                   steps);
        group += Count;
    }
    BatchRest<Group, Mask, Lay>(values, count, group, groups - group, step, fresh, steps,
                                std::make_index_sequence<Count - 1>{});
}

// `Count` groups side by side: eight chains keep a processor's two vector adders busy through
// their latency. A filled table's blocks take more: while a group's window is open its own chain
// waits on every step, and the more groups before it calm meanwhile, the less that costs.
template <class Group, class Mask, std::size_t Count, Layout Lay>
[[gnu::always_inline]] inline void BatchIn(float* values, std::size_t count,
                                           const std::int32_t* step, const std::int32_t* fresh,
                                           const float* amounts, const float* calms,
                                           std::size_t steps, float cap) {
    const BatchSteps<Group> lists{amounts, calms, static_cast<std::int32_t>(steps), Group{} + cap};
    BatchBlocks<Group, Mask, Count, Lay>(values, count, step, fresh, lists);
}

// Each layout is a function of its own: inlined into one, the largest's register pressure
// spilled into the others' loops.
ANGER_TARGET_CLONES void BatchBySteps(float* values, std::size_t count, const std::int32_t* step,
                                      const std::int32_t* fresh, const float* amounts,
                                      const float* calms, std::size_t steps, float cap) {
    BatchIn<Lanes, LaneMask, 8, Layout::kSteps>(values, count, step, fresh, amounts, calms, steps,
                                                cap);
}

ANGER_TARGET_CLONES void BatchFilled(float* values, std::size_t count, const float* amounts,
                                     const float* calms, std::size_t steps, float cap) {
    BatchIn<Lanes, LaneMask, 8, Layout::kFilled>(values, count, nullptr, nullptr, amounts, calms,
                                                 steps, cap);
}

ANGER_TARGET_CLONES void BatchPacked(float* values, const PackedEntries& packed, const float* calms,
                                     std::size_t steps, float cap) {
    BatchIn<Lanes, LaneMask, 8, Layout::kPacked>(values, packed.count, packed.kept, nullptr,
                                                 packed.amounts, calms, steps, cap);
}

// Sixteen lanes at once: for a table this large its calms after the groups' windows are most of
// the work, which the wider registers halve. Thirty-two registers hold sixteen groups.
[[gnu::target("avx512f")]] void BatchWideBySteps(float* values, std::size_t count,
                                                 const std::int32_t* step,
                                                 const std::int32_t* fresh, const float* amounts,
                                                 const float* calms, std::size_t steps, float cap) {
    BatchIn<WideLanes, WideMask, 8, Layout::kSteps>(values, count, step, fresh, amounts, calms,
                                                    steps, cap);
}

[[gnu::target("avx512f")]] void BatchWideFilled(float* values, std::size_t count,
                                                const float* amounts, const float* calms,
                                                std::size_t steps, float cap) {
    BatchIn<WideLanes, WideMask, 16, Layout::kFilled>(values, count, nullptr, nullptr, amounts,
                                                      calms, steps, cap);
}

[[gnu::target("avx512f")]] void BatchWidePacked(float* values, const PackedEntries& packed,
                                                const float* calms, std::size_t steps, float cap) {
    BatchIn<WideLanes, WideMask, 16, Layout::kPacked>(values, packed.count, packed.kept, nullptr,
                                                      packed.amounts, calms, steps, cap);
}

// Whether no calm is below 0 or NaN: then none raises a value.
[[gnu::always_inline]] inline bool CalmsOnlyLower(const float* calms, std::size_t steps) {
    LaneMask lowers = LaneMask{} - 1;
    std::size_t k = 0;
#pragma GCC unroll 4
    for (; k + kLanes <= steps; k += kLanes) {
        Lanes calm;
        __builtin_memcpy(&calm, calms + k, sizeof calm);
        lowers &= calm >= Lanes{};
    }
    bool raised = !Same(lowers, LaneMask{} - 1);
    for (; k < steps; ++k)
        raised = raised || !(calms[k] >= 0.0f);
    return !raised;
}

bool HasWideLanes() {
#if defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
    static const bool wide = __builtin_cpu_supports("avx512f");
    return wide;
#else
    return false;
#endif
}

}  // namespace

ANGER_TARGET_CLONES void ApplyBatch(float* values, std::size_t count, const std::int32_t* step,
                                    const std::int32_t* fresh, const float* amounts,
                                    const float* calms, std::size_t steps, float cap,
                                    float dropped) {
    // Sixteen-lane registers slow the clock for the rest of the frame more than they gain where
    // tables are small, so only large ones take them.
    const bool wide = count >= kWideFrom && HasWideLanes();
    // In a large filled table the earliest entries take hundreds of calms, and many end below
    // the line: those are left out of the walk.
    if (!step && count >= kWideFrom && dropped > -std::numeric_limits<float>::infinity() &&
        CalmsOnlyLower(calms, steps)) {
        const PackedEntries packed = PackFilled(values, count, amounts, calms, cap, dropped);
        if (wide)
            return BatchWidePacked(values, packed, calms, steps, cap);
        return BatchPacked(values, packed, calms, steps, cap);
    }
    if (!step) {
        if (wide)
            return BatchWideFilled(values, count, amounts, calms, steps, cap);
        return BatchFilled(values, count, amounts, calms, steps, cap);
    }
    if (wide)
        return BatchWideBySteps(values, count, step, fresh, amounts, calms, steps, cap);
    BatchBySteps(values, count, step, fresh, amounts, calms, steps, cap);
}

}  // namespace GAME::AngerLanes
