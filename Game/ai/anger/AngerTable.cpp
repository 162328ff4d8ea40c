#include "Game/ai/anger/AngerTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "Engine/Engine.h"
#include "Game/ai/anger/AngerLanes.h"

namespace GAME {

namespace {

// What the batch scratch holds: by provocation, its amount, its calm (0 where it calms nothing:
// subtracting +0 leaves every value as it was), the table's size then and (when the list does
// not rise) the entry's slot and whether it created it; by entry a rising list creates, its
// slot and provocation; by table slot, the provocation of the entry (-1: none) and whether it
// created it (-1) or not (0).
struct BatchScratch {
    std::vector<float> amounts, calms;
    std::vector<std::uint32_t> slots, sizes;
    std::vector<std::uint8_t> created;
    std::vector<std::int32_t> step, fresh;
    std::vector<std::uint32_t> newSlots, newSteps;
};

// Out of line: inlined, gcc derives the thread's address again at every use (a call each)
// rather than keep it in a register.
[[gnu::noinline]] BatchScratch& Batch() {
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

constexpr std::size_t kNotRising = ~std::size_t{0};
// An empty table filled and provoked at once.
constexpr std::size_t kFilled = kNotRising - 1;

using ProvokedWords = std::uint32_t __attribute__((vector_size(32)));

// PlaceRising's walk over a run of listed ids the table holds side by side, eight at a time
// while the next eight provocations (from `k`) name the next eight entries (from `i`): each
// takes its step, its entry's hint, its amount and the table's size then (`size`: a run creates
// nothing). `step` is by slot, `amounts` and `sizes` by provocation. Returns how many it took.
[[gnu::always_inline]] inline std::size_t PlaceRunEights(
    const std::uint32_t* tableIds, std::uint32_t* tableHints, std::size_t i, std::size_t before,
    const AngerTable::ProvokedColumns& list, std::size_t k, std::size_t count, std::int32_t* step,
    float* amounts, std::uint32_t* sizes, std::uint32_t size) {
    using Mask = AngerLanes::LaneMask;
    constexpr std::size_t kEight = AngerLanes::kLanes;
    const Mask iota{0, 1, 2, 3, 4, 5, 6, 7};
    const ProvokedWords sizeLanes = ProvokedWords{} + size;
    std::size_t n = 0;
    for (; i + n + kEight <= before && k + n + kEight <= count; n += kEight) {
        if (__builtin_memcmp(list.ids + k + n, tableIds + i + n, sizeof(ProvokedWords)) != 0)
            break;
        const Mask index = iota + static_cast<std::int32_t>(k + n);
        __builtin_memcpy(step + i + n, &index, sizeof index);
        __builtin_memcpy(tableHints + i + n, list.worldSlots + k + n, sizeof(ProvokedWords));
        __builtin_memcpy(amounts + k + n, list.amounts + k + n, sizeof(ProvokedWords));
        __builtin_memcpy(sizes + k + n, &sizeLanes, sizeof sizeLanes);
    }
    return n;
}

// Places each provocation of a list in rising id order among the `before` entries of a table,
// before any entry moves: `step` and `fresh` (filled with -1 and 0) take it at its slot once
// the list's new entries are in, the entry it finds takes its hint, and the scratch takes its
// amount, the table's size when it is carried out and, for each entry it creates, that slot
// and the provocation. Returns how many entries the list creates; kNotRising when the ids do
// not rise (some hints may be renewed by then: with the same ones a provocation would give).
ANGER_TARGET_CLONES std::size_t PlaceRising(const std::uint32_t* tableIds,
                                            std::uint32_t* tableHints, std::size_t before,
                                            const AngerTable::ProvokedColumns& list,
                                            std::size_t count, std::int32_t* step,
                                            std::int32_t* fresh, BatchScratch& batch) {
    const std::uint32_t* const listIds = list.ids;
    float* const amounts = Room(batch.amounts, count);
    std::uint32_t* const sizes = Room(batch.sizes, count);
    std::uint32_t* const newSlots = Room(batch.newSlots, count);
    std::uint32_t* const newSteps = Room(batch.newSteps, count);
    std::size_t i = 0, news = 0, k = 0;
    while (k < count) {
        const std::uint32_t id = listIds[k];
        if (k != 0 && id <= listIds[k - 1])
            return kNotRising;
        if (i < before && tableIds[i] < id) {
            // Forward in doubling steps: a big table holds many entries between two listed ids.
            std::size_t lo = i + 1, hi = i + 1;
            for (std::size_t jump = 1; hi < before && tableIds[hi] < id; jump <<= 1) {
                lo = hi + 1;
                hi += jump;
            }
            hi = std::min(hi, before);
            i = static_cast<std::size_t>(std::lower_bound(tableIds + lo, tableIds + hi, id) -
                                         tableIds);
        }
        if (i < before && tableIds[i] == id) {
            // A run of listed ids the table holds side by side (rising, as the table's ids do).
            const auto size = static_cast<std::uint32_t>(before + news);
            // Eights first when the run may be that long (its eighth ids agree).
            if (i + 7 < before && k + 7 < count && tableIds[i + 7] == listIds[k + 7]) {
                const std::size_t n = PlaceRunEights(tableIds, tableHints, i, before, list, k,
                                                     count, step + news, amounts, sizes, size);
                i += n;
                k += n;
            }
            while (k < count && i < before && tableIds[i] == listIds[k]) {
                step[i + news] = static_cast<std::int32_t>(k);
                tableHints[i] = list.worldSlots[k];
                amounts[k] = list.amounts[k];
                sizes[k] = size;
                ++i;
                ++k;
            }
            continue;
        }
        // A run of new ids below the next entry the table holds (or past them all).
        const bool past = i == before;
        const std::uint32_t next = past ? 0 : tableIds[i];
        do {
            const std::size_t slot = i + news;
            step[slot] = static_cast<std::int32_t>(k);
            fresh[slot] = -1;
            newSlots[news] = static_cast<std::uint32_t>(slot);
            newSteps[news] = static_cast<std::uint32_t>(k);
            ++news;
            amounts[k] = list.amounts[k];
            sizes[k] = static_cast<std::uint32_t>(before + news);
            ++k;
        } while (k < count && listIds[k] > listIds[k - 1] && (past || listIds[k] < next));
    }
    return news;
}

// A rising list into an empty table with room for it: entry k is the list's k-th id, created by
// provocation k at size k + 1, so every slot is written once and nothing is searched or moved.
// The values are left to the batch, which writes each before it reads it. Eight provocations at
// a time. False (the table still empty) when the ids do not rise.
ANGER_TARGET_CLONES bool PlaceFromEmpty(std::uint32_t* ids, std::uint32_t* hints,
                                        const AngerTable::ProvokedColumns& list, std::size_t count,
                                        float share, float* amounts, float* calms) {
    using Words = ProvokedWords;
    using Mask = AngerLanes::LaneMask;
    constexpr std::size_t kEight = AngerLanes::kLanes;
    const std::uint32_t* const listIds = list.ids;
    const std::uint32_t* const listSlots = list.worldSlots;
    const float* const listAmounts = list.amounts;
    Mask fell{};
    // The table's size once each lane is in (as floats: whole numbers this small are exact),
    // carried from eight to eight.
    AngerLanes::Lanes size{2, 3, 4, 5, 6, 7, 8, 9};
    ids[0] = listIds[0];
    hints[0] = listSlots[0];
    amounts[0] = listAmounts[0];
    calms[0] = 0.0f;  // alone: calms nothing
    std::size_t k = 1;
    for (; k + kEight <= count; k += kEight, size += 8.0f) {
        // Each id against the one before it, read again one word back.
        Words id, before, slot;
        AngerLanes::Lanes amount;
        __builtin_memcpy(&id, listIds + k, sizeof id);
        __builtin_memcpy(&before, listIds + k - 1, sizeof before);
        __builtin_memcpy(&slot, listSlots + k, sizeof slot);
        __builtin_memcpy(&amount, listAmounts + k, sizeof amount);
        fell |= id <= before;
        __builtin_memcpy(ids + k, &id, sizeof id);
        __builtin_memcpy(hints + k, &slot, sizeof slot);
        __builtin_memcpy(amounts + k, &amount, sizeof amount);
        // The table holds k + 1 entries or more here: every one calms (AngerTable::CalmOf).
        const AngerLanes::Lanes calm = amount / size * share;
        __builtin_memcpy(calms + k, &calm, sizeof calm);
    }
    for (std::size_t lane = 0; lane < kEight; ++lane)
        if (fell[lane] != 0)
            return false;
    for (; k < count; ++k) {
        if (listIds[k] <= listIds[k - 1])
            return false;
        ids[k] = listIds[k];
        hints[k] = listSlots[k];
        amounts[k] = listAmounts[k];
        AngerTable::CalmOf(listAmounts[k], k + 1, share, calms[k]);
    }
    return true;
}

// Moves entries [from, from + count) of the three columns up by `by` (>= 1), the last first,
// four at a time: each four are read before any is written, and lie below every one written
// before, so the ranges may overlap. The lowest four are read first and written last, which
// covers a rest of fewer than four. A memmove per column costs more for the few entries a
// merge moves at once.
void MoveUp(std::uint32_t* ids, float* values, std::uint32_t* hints, std::size_t from,
            std::size_t count, std::size_t by) {
    using Four = std::uint32_t __attribute__((vector_size(16)));
    struct Fours {
        Four ids, values, hints;
    };
    const auto load = [&](std::size_t at) {
        Fours fours;
        __builtin_memcpy(&fours.ids, ids + at, sizeof(Four));
        __builtin_memcpy(&fours.values, values + at, sizeof(Four));
        __builtin_memcpy(&fours.hints, hints + at, sizeof(Four));
        return fours;
    };
    const auto store = [&](std::size_t at, const Fours& fours) {
        __builtin_memcpy(ids + at + by, &fours.ids, sizeof(Four));
        __builtin_memcpy(values + at + by, &fours.values, sizeof(Four));
        __builtin_memcpy(hints + at + by, &fours.hints, sizeof(Four));
    };
    if (count < 4) {
        // Spelled out: a loop here is vectorised behind checks that cost more than it moves.
        const auto one = [&](std::size_t at) {
            ids[at + by] = ids[at];
            values[at + by] = values[at];
            hints[at + by] = hints[at];
        };
        if (count == 3)
            one(from + 2);
        if (count >= 2)
            one(from + 1);
        if (count >= 1)
            one(from);
        return;
    }
    const Fours lowest = load(from);
    for (std::size_t left = count; left > 4; left -= 4) {
        const std::size_t at = from + left - 4;
        store(at, load(at));
    }
    store(from, lowest);
}

// std::lower_bound over ids [lo, hi) without a branch per halving: each is as likely as not,
// so a branch mispredicts half the time.
std::size_t LowerBound(const std::uint32_t* ids, std::size_t lo, std::size_t hi, std::uint32_t id) {
    if (lo == hi)
        return lo;
    const std::uint32_t* base = ids + lo;
    for (std::size_t n = hi - lo; n > 1;) {
        const std::size_t half = n / 2;
        base = base[half] < id ? base + half : base;
        n -= half;
    }
    return static_cast<std::size_t>(base - ids) + (*base < id ? 1 : 0);
}

// The entries of a whole number of the batch's lane groups.
std::size_t BatchWhole(std::size_t size) {
    constexpr std::size_t kGroup = AngerLanes::kBatchLanes;
    return (size + kGroup - 1) / kGroup * kGroup;
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
    std::copy_n(other.mQueue.begin(), other.mQueued, mQueue.begin());
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

void AngerTable::swap(AngerTable& other) noexcept {
    std::swap(mIds, other.mIds);
    std::swap(mValues, other.mValues);
    std::swap(mHints, other.mHints);
    std::swap(mSize, other.mSize);
    std::swap(mCapacity, other.mCapacity);
    std::swap_ranges(mQueue.begin(), mQueue.begin() + std::max(mQueued, other.mQueued),
                     other.mQueue.begin());
    std::swap(mQueued, other.mQueued);
    std::swap(mCursor, other.mCursor);
}

void AngerTable::Regrow(std::size_t count) {
    std::size_t capacity = 0;
    void* const block = AngerStorage::TakeFor(count, kEntryBytes, capacity);
    MoveTo(block, capacity);
}

void AngerTable::Grow() {
    if (mCapacity == 0) {
        Regrow(1);
        return;
    }
    // Twice the room, as a vector would, unless a block another table gave back fits between.
    const std::size_t twice = 2 * mCapacity;
    std::size_t capacity = 0;
    void* block =
        AngerStorage::TakeBetween(AngerStorage::CapacityFor(mSize + 1),
                                  AngerStorage::CapacityFor(twice), kEntryBytes, capacity);
    if (!block)
        block = AngerStorage::TakeFor(twice, kEntryBytes, capacity);
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
    const std::size_t slot = LowerBound(mIds, lo, hi, id);
    const std::uint32_t* const it = mIds + slot;
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
    AngerLanes::ApplyNow(mValues, mSize, slot, amount, cap, calms, calm);
}

void AngerTable::Apply() const {
    AngerLanes::ApplyQueue(mValues, mSize, mQueue.data(), mQueued);
    mQueued = 0;
}

bool AngerTable::ProvokeEach(const ProvokedColumns& list, std::size_t count, float cap, float share,
                             std::vector<std::int32_t>* steps, float dropped) {
    if (count == 0) {
        if (steps)
            steps->assign(mSize, -1);
        return false;
    }
    Flush();
#ifndef NDEBUG
    AngerTable oneByOne = *this;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t slot = oneByOne.FindOrInsert(list.ids[k], list.worldSlots[k]);
        float calm = 0.0f;
        const bool calms = CalmOf(list.amounts[k], oneByOne.size(), share, calm);
        oneByOne.ProvokeNow(slot, list.amounts[k], cap, calms, calm);
    }
#endif
    BatchScratch& batch = Batch();
    // The caller's steps when it wants them, else the scratch's.
    std::vector<std::int32_t>& stepOut = steps ? *steps : batch.step;
    // A sweep's list rises: each entry finds its slot in one pass, and the table's entries move
    // (from the last) only when the list creates some.
    const std::size_t before = mSize;
    const std::size_t whole = BatchWhole(before + count);
    std::size_t news = kNotRising;
    if (before == 0) {
        // A table built from nothing takes its room at once (its capacity alone differs from
        // one insert after another's). Filled in list order, the step of slot k is k: nobody
        // needs them written.
        Reserve(count);
        float* const calms = Room(batch.calms, count + AngerLanes::kBatchLanes);
        if (PlaceFromEmpty(mIds, mHints, list, count, share, Room(batch.amounts, whole), calms)) {
            std::fill_n(calms + count, AngerLanes::kBatchLanes, 0.0f);
            mSize = count;
            AngerLanes::ApplyBatch(mValues, mSize, nullptr, nullptr, batch.amounts.data(),
                                   batch.calms.data(), count, cap, dropped);
            news = kFilled;
        }
    } else {
        stepOut.assign(whole, -1);
        batch.fresh.assign(whole, 0);
        news = PlaceRising(mIds, mHints, before, list, count, stepOut.data(), batch.fresh.data(),
                           batch);
    }
    if (news == kFilled) {
        // Done above.
    } else if (news != kNotRising) {
        if (news != 0) {
            // Room as one insert after another would have taken it (a full block each time it
            // grows; the merge below writes every slot from `before` on).
            while (mCapacity < before + news) {
                std::fill(mIds + mSize, mIds + mCapacity, 0u);
                std::fill(mValues + mSize, mValues + mCapacity, 0.0f);
                std::fill(mHints + mSize, mHints + mCapacity, kNoHint);
                mSize = mCapacity;
                Grow();
            }
            mSize = before + news;
            // Merged from the last: each old entry moves once, up past the new ones below it.
            // Local pointers: the stores would otherwise reload the members.
            const std::uint32_t* const newSlots = batch.newSlots.data();
            const std::uint32_t* const newSteps = batch.newSteps.data();
            std::uint32_t* const ids = mIds;
            float* const values = mValues;
            std::uint32_t* const hints = mHints;
            std::size_t out = mSize, i = before;
            for (std::size_t n = news; n-- > 0;) {
                const std::size_t slot = newSlots[n];
                const std::size_t above = out - 1 - slot;
                if (above != 0) {
                    i -= above;
                    MoveUp(ids, values, hints, i, above, out - above - i);
                }
                out = slot;
                const std::uint32_t k = newSteps[n];
                ids[slot] = list.ids[k];
                values[slot] = 0.0f;
                hints[slot] = list.worldSlots[k];
            }
        }
        AngerLanes::CalmsOf(batch.amounts.data(), batch.sizes.data(), count, share,
                            Room(batch.calms, count));
        AngerLanes::ApplyBatch(mValues, mSize, stepOut.data(), batch.fresh.data(),
                               batch.amounts.data(), batch.calms.data(), count, cap, dropped);
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
            const std::size_t slot = FindOrInsert(list.ids[k], list.worldSlots[k]);
            created[k] = mSize != size;
            moved = moved || (mSize != size && slot + 1 != mSize);
            slots[k] = static_cast<std::uint32_t>(slot);
            amounts[k] = list.amounts[k];
            CalmOf(list.amounts[k], mSize, share, calms[k]);
        }
        if (moved) {
            // Every id is in now: FindOrInsert only finds, from its cursor.
            mCursor = 0;
            for (std::size_t k = 0; k < count; ++k)
                slots[k] =
                    static_cast<std::uint32_t>(FindOrInsert(list.ids[k], list.worldSlots[k]));
        }
        // The placing may have written some steps before it found the ids out of order.
        stepOut.assign(whole, -1);
        batch.fresh.assign(whole, 0);
        std::int32_t* const step = stepOut.data();
        std::int32_t* const fresh = batch.fresh.data();
        bool twice = false;
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint32_t slot = slots[k];
            twice = twice || step[slot] >= 0;
            step[slot] = static_cast<std::int32_t>(k);
            fresh[slot] = created[k] ? -1 : 0;
        }
        if (!twice) {
            AngerLanes::ApplyBatch(mValues, mSize, step, fresh, amounts, calms, count, cap,
                                   dropped);
        } else {
            // An id listed twice: one provocation at a time over the whole table. Entries created
            // later take calms meant for others meanwhile; they start from 0 when created.
            for (std::size_t k = 0; k < count; ++k) {
                if (created[k])
                    mValues[slots[k]] = 0.0f;
                AngerLanes::ApplyNow(mValues, mSize, slots[k], amounts[k], cap, true, calms[k]);
            }
        }
    }
#ifndef NDEBUG
    // Bit for bit, but where the caller drops both.
    const auto same = [&](float value, float walked) {
        return std::memcmp(&value, &walked, sizeof value) == 0 ||
               (value < dropped && walked < dropped);
    };
    if (mSize != oneByOne.mSize || !std::equal(mIds, mIds + mSize, oneByOne.mIds) ||
        !std::equal(mHints, mHints + mSize, oneByOne.mHints) ||
        !std::equal(mValues, mValues + mSize, oneByOne.mValues, same)) {
        gEngine->Log(0, "AngerTable: a batch of provocations differs from one at a time");
        std::abort();
    }
#endif
    // Both ways leave the step of each slot there, run on to whole lane groups.
    if (steps && news != kFilled)
        steps->resize(mSize);
    return news == kFilled;
}

std::size_t AngerTable::Angriest(float floor, std::uint32_t doubled) const {
    Flush();
    return AngerLanes::FirstHighest(mValues, mIds, mSize, floor, doubled);
}

}  // namespace GAME
