#pragma once
// A monster's anger per character id, kept sorted by id in parallel arrays. Beside each id lies
// the world slot where its character last stood (a hint, checked before use), so the table's
// passes read the world's digests instead of looking each character up.
//
// A provocation raises one entry and calms every other, and with hundreds of foes in sight
// those passes over the values are the monster's hottest loop. So provocations are queued and
// carried out together, each value taking the queued changes one after the other while it sits
// in a register: every value sees exactly the operations, in exactly the order, it would have
// seen one provocation at a time. Anything that reads a value or moves entries (other than
// adding one at the end) carries the queue out first.
//
// The three arrays share one block from AngerStorage, so a table that grows takes one block and
// hands the one it outgrew to the next table that needs that size.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "Game/ai/anger/AngerStorage.h"

namespace GAME {

class AngerTable {
public:
    // One queued provocation: `amount` added to `slot` (capped at `cap`), then, when `calms`,
    // `calm` taken from every other of the first `size` entries.
    struct Provocation {
        float amount = 0;
        float cap = 0;
        float calm = 0;
        std::uint32_t slot = 0;
        std::uint32_t size = 0;
        bool calms = false;
    };
    static constexpr std::size_t kQueued = 32;
    // Tables up to this size take each provocation at once.
    static constexpr std::size_t kAtOnce = 128;
    static constexpr std::uint32_t kNoHint = 0xFFFFFFFFu;
    // One provocation of a batch: `amount` for the entry of `id`, whose character stands in
    // world slot `worldSlot`.
    struct Provoked {
        std::uint32_t id = 0;
        std::uint32_t worldSlot = kNoHint;
        float amount = 0;
    };
    // A batch's provocations as columns (the k-th: ids[k], worldSlots[k], amounts[k]): a sweep
    // weighs them in this form and the table reads them eight at a time, so neither interleaves.
    struct ProvokedColumns {
        const std::uint32_t* ids = nullptr;
        const std::uint32_t* worldSlots = nullptr;
        const float* amounts = nullptr;
    };

    // What a provocation of `amount` takes from each other entry of a table of `size`; none
    // (false) while the provoked entry is alone.
    static bool CalmOf(float amount, std::size_t size, float share, float& calm) {
        const bool calms = size >= 2;
        calm = calms ? amount / static_cast<float>(size) * share : 0.0f;
        return calms;
    }

    AngerTable() = default;
    AngerTable(const AngerTable& other);
    AngerTable(AngerTable&& other) noexcept;
    AngerTable& operator=(const AngerTable& other);
    AngerTable& operator=(AngerTable&& other) noexcept;
    // Trades blocks, entries and queues with `other`; only the queued provocations are copied.
    void swap(AngerTable& other) noexcept;
    ~AngerTable() { AngerStorage::Give(mIds, mCapacity, kEntryBytes); }

    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    std::size_t count(std::uint32_t id) const { return contains(id) ? 1 : 0; }
    bool contains(std::uint32_t id) const { return Find(id) != mSize; }
    // The slot of `id`, or size() when absent.
    std::size_t Find(std::uint32_t id) const {
        const std::uint32_t* it = std::lower_bound(mIds, mIds + mSize, id);
        return it != mIds + mSize && *it == id ? static_cast<std::size_t>(it - mIds) : mSize;
    }
    // The slot of `id`, inserted at 0 anger when absent; either way its world slot hint becomes
    // `worldSlot`.
    std::size_t FindOrInsert(std::uint32_t id, std::uint32_t worldSlot = kNoHint) {
        // Sweeps meet enemies mostly in rising id order: the entry after the last one asked for
        // is tried first.
        if (mCursor < mSize && mIds[mCursor] == id) {
            mHints[mCursor] = worldSlot;
            return mCursor++;
        }
        return FindOrInsertFrom(id, worldSlot);
    }
    // Room for `count` entries without growing again.
    void Reserve(std::size_t count) {
        if (count > mCapacity)
            Regrow(count);
    }
    // The entries room is kept for.
    std::size_t capacity() const { return mCapacity; }
    // Queues a provocation of the entry at `slot` (see Provocation).
    void Provoke(std::size_t slot, float amount, float cap, bool calms, float calm) {
        // A small table is cheaper to walk at once than to queue for.
        if (mSize <= kAtOnce) {
            ProvokeNow(slot, amount, cap, calms, calm);
            return;
        }
        mQueue[mQueued++] = Provocation{
            amount, cap, calm, static_cast<std::uint32_t>(slot), static_cast<std::uint32_t>(mSize),
            calms};
        if (mQueued == kQueued)
            Apply();
    }
    // Provokes each listed id in turn, as FindOrInsert and then Provoke (capped at `cap`, the
    // calm CalmOf `share`) one after another would: every value takes the same operations in
    // the same order. Each value is walked once for the whole list, not once per provocation.
    // True when the table holds the list's entries alone, in list order (the step of slot k is
    // k): a rising list into an empty table. Otherwise `steps`, when given, is left holding for
    // each slot the index in the list of a provocation of that slot's entry, -1 for an entry the
    // list does not name. An entry below `dropped`, which the caller drops unread, may be left at
    // any value below it.
    bool ProvokeEach(const ProvokedColumns& list, std::size_t count, float cap, float share,
                     std::vector<std::int32_t>* steps = nullptr,
                     float dropped = -std::numeric_limits<float>::infinity());
    // Moves slot `from` to slot `to` (to <= from), for compacting in one pass.
    void MoveSlot(std::size_t from, std::size_t to) {
        Flush();
        mIds[to] = mIds[from];
        mValues[to] = mValues[from];
        mHints[to] = mHints[from];
    }
    // One pass over every entry in order: `keep(id, value, hint)` may change the value and the
    // hint and says whether the entry stays; survivors slide down over the others.
    template <class Keep>
    void Compact(Keep&& keep) {
        Flush();
        // Local copies: `keep` writes through references, so members would be reloaded per entry.
        std::uint32_t* const ids = mIds;
        float* const values = mValues;
        std::uint32_t* const hints = mHints;
        std::size_t kept = 0;
        const std::size_t count = mSize;
        for (std::size_t slot = 0; slot < count; ++slot) {
            if (!keep(ids[slot], values[slot], hints[slot]))
                continue;
            if (kept != slot) {
                ids[kept] = ids[slot];
                values[kept] = values[slot];
                hints[kept] = hints[slot];
            }
            ++kept;
        }
        mSize = kept;
    }
    // Compact over the arrays themselves, for passes that move many entries at once:
    // `pass(ids, values, hints, size)` returns how many stay, moved to the front in order.
    template <class Pass>
    void CompactArrays(Pass&& pass) {
        Flush();
        mSize = pass(mIds, mValues, mHints, mSize);
    }
    // Keeps the first `count` slots.
    void Truncate(std::size_t count) {
        Flush();
        mSize = std::min(mSize, count);
    }
    void clear() {
        mQueued = 0;
        mSize = 0;
    }

    std::uint32_t IdAt(std::size_t slot) const { return mIds[slot]; }
    float& ValueAt(std::size_t slot) {
        Flush();
        return mValues[slot];
    }
    float ValueAt(std::size_t slot) const {
        Flush();
        return mValues[slot];
    }
    std::uint32_t HintAt(std::size_t slot) const { return mHints[slot]; }
    void SetHint(std::size_t slot, std::uint32_t worldSlot) { mHints[slot] = worldSlot; }

    // The slot of the first entry whose score (its value; twice that for the entry of
    // `doubled`) is the highest above `floor`, or size() when none is above it.
    std::size_t Angriest(float floor, std::uint32_t doubled) const;

    // The anger alone: hints are where to look, not what the table holds.
    bool operator==(const AngerTable& other) const;

    // Carries out the queued provocations.
    void Flush() const {
        if (mQueued != 0)
            Apply();
    }

private:
    static constexpr std::size_t kEntryBytes =
        sizeof(std::uint32_t) + sizeof(float) + sizeof(std::uint32_t);

    std::size_t FindOrInsertFrom(std::uint32_t id, std::uint32_t worldSlot);
    void ProvokeNow(std::size_t slot, float amount, float cap, bool calms, float calm);
    void Apply() const;
    // Moves the entries into a block with room for at least `count`.
    void Regrow(std::size_t count);
    // Room for one more entry.
    void Grow();
    // Moves the entries into `block`, of `capacity` entries, and gives the old block back.
    void MoveTo(void* block, std::size_t capacity);

    // One block: the ids, then the values, then the hints, each `mCapacity` long.
    std::uint32_t* mIds = nullptr;
    float* mValues = nullptr;
    std::uint32_t* mHints = nullptr;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
    mutable std::array<Provocation, kQueued> mQueue{};
    mutable std::size_t mQueued = 0;
    // The slot after the one FindOrInsert last returned (any value is safe: only a hint).
    std::size_t mCursor = 0;
};

}  // namespace GAME
