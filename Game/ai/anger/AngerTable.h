#pragma once
// A monster's anger per character id, kept sorted by id in parallel arrays: a provocation
// calms every other entry, and with hundreds of foes in sight that pass over the values is the
// monster's hottest loop, so the values lie contiguous where it can stream through them. Beside
// each id lies the world slot where its character last stood (a hint, checked before use), so
// the table's passes read the world's digests instead of looking each character up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace GAME {

class AngerTable {
public:
    std::size_t size() const { return mIds.size(); }
    bool empty() const { return mIds.empty(); }
    std::size_t count(std::uint32_t id) const { return contains(id) ? 1 : 0; }
    bool contains(std::uint32_t id) const {
        const auto it = std::lower_bound(mIds.begin(), mIds.end(), id);
        return it != mIds.end() && *it == id;
    }
    // The slot of `id`, or size() when absent.
    std::size_t Find(std::uint32_t id) const {
        const auto it = std::lower_bound(mIds.begin(), mIds.end(), id);
        return it != mIds.end() && *it == id ? static_cast<std::size_t>(it - mIds.begin()) : size();
    }
    // The slot of `id`, inserted at 0 anger when absent; either way its world slot hint becomes
    // `worldSlot`.
    std::size_t FindOrInsert(std::uint32_t id, std::uint32_t worldSlot = kNoHint) {
        // Sweeps meet enemies mostly in rising id order: the end is tried first.
        const auto it = !mIds.empty() && mIds.back() < id
                            ? mIds.end()
                            : std::lower_bound(mIds.begin(), mIds.end(), id);
        const auto slot = static_cast<std::size_t>(it - mIds.begin());
        if (it == mIds.end() || *it != id) {
            mIds.insert(it, id);
            mValues.insert(mValues.begin() + static_cast<std::ptrdiff_t>(slot), 0.0f);
            mHints.insert(mHints.begin() + static_cast<std::ptrdiff_t>(slot), worldSlot);
        } else {
            mHints[slot] = worldSlot;
        }
        return slot;
    }
    // Moves slot `from` to slot `to` (to <= from), for compacting in one pass.
    void MoveSlot(std::size_t from, std::size_t to) {
        mIds[to] = mIds[from];
        mValues[to] = mValues[from];
        mHints[to] = mHints[from];
    }
    // Keeps the first `count` slots.
    void Truncate(std::size_t count) {
        mIds.resize(count);
        mValues.resize(count);
        mHints.resize(count);
    }
    void clear() {
        mIds.clear();
        mValues.clear();
        mHints.clear();
    }

    std::uint32_t IdAt(std::size_t slot) const { return mIds[slot]; }
    float& ValueAt(std::size_t slot) { return mValues[slot]; }
    float ValueAt(std::size_t slot) const { return mValues[slot]; }
    float* Values() { return mValues.data(); }
    std::uint32_t HintAt(std::size_t slot) const { return mHints[slot]; }
    void SetHint(std::size_t slot, std::uint32_t worldSlot) { mHints[slot] = worldSlot; }

    // The anger alone: hints are where to look, not what the table holds.
    bool operator==(const AngerTable& other) const {
        return mIds == other.mIds && mValues == other.mValues;
    }

    static constexpr std::uint32_t kNoHint = 0xFFFFFFFFu;

private:
    std::vector<std::uint32_t> mIds;
    std::vector<float> mValues;
    std::vector<std::uint32_t> mHints;
};

}  // namespace GAME
