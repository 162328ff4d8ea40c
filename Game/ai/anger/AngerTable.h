#pragma once
// A monster's anger per character id, kept sorted by id in two parallel arrays: a provocation
// calms every other entry, and with hundreds of foes in sight that pass over the values is the
// monster's hottest loop, so the values lie contiguous where it can stream through them.
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
    // The slot of `id`, inserted at 0 anger when absent.
    std::size_t FindOrInsert(std::uint32_t id) {
        const auto it = std::lower_bound(mIds.begin(), mIds.end(), id);
        const auto slot = static_cast<std::size_t>(it - mIds.begin());
        if (it == mIds.end() || *it != id) {
            mIds.insert(it, id);
            mValues.insert(mValues.begin() + static_cast<std::ptrdiff_t>(slot), 0.0f);
        }
        return slot;
    }
    // Moves slot `from` to slot `to` (to <= from), for compacting in one pass.
    void MoveSlot(std::size_t from, std::size_t to) {
        mIds[to] = mIds[from];
        mValues[to] = mValues[from];
    }
    // Keeps the first `count` slots.
    void Truncate(std::size_t count) {
        mIds.resize(count);
        mValues.resize(count);
    }
    void clear() {
        mIds.clear();
        mValues.clear();
    }

    std::uint32_t IdAt(std::size_t slot) const { return mIds[slot]; }
    float& ValueAt(std::size_t slot) { return mValues[slot]; }
    float ValueAt(std::size_t slot) const { return mValues[slot]; }
    float* Values() { return mValues.data(); }

    bool operator==(const AngerTable&) const = default;

private:
    std::vector<std::uint32_t> mIds;
    std::vector<float> mValues;
};

}  // namespace GAME
