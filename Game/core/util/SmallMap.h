#pragma once
// A map kept sorted in place for a few entries, as a character's tallies by kind are: the first N
// keys take no block of their own (a std::map makes one per key), so a character tallying a new
// kind in the middle of a fight takes nothing from the heap. Past N the entries move to one
// vector. Entries are visited in key order, as a std::map's are.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace GAME {

template <class Key, class Value, std::size_t N, class Less = std::less<Key>>
class SmallMap {
public:
    using Entry = std::pair<Key, Value>;

    SmallMap() = default;
    SmallMap(const SmallMap& other) { *this = other; }
    SmallMap& operator=(const SmallMap& other) {
        if (this != &other) {
            mInline = other.mInline;
            mCount = other.mCount;
            mSpill = other.mSpill ? std::make_unique<std::vector<Entry>>(*other.mSpill) : nullptr;
        }
        return *this;
    }

    // The key's value, made (value-initialised) when it is new.
    Value& operator[](const Key& key) {
        Entry* first = begin();
        Entry* last = end();
        Entry* at = std::lower_bound(first, last, key, KeyLess());
        if (at != last && !Less()(key, at->first))
            return at->second;
        const std::size_t index = static_cast<std::size_t>(at - first);
        if (!mSpill && mCount < N) {
            std::move_backward(at, last, last + 1);
            *at = Entry(key, Value());
            ++mCount;
            return at->second;
        }
        if (!mSpill)
            mSpill = std::make_unique<std::vector<Entry>>(mInline.begin(), mInline.end());
        mSpill->insert(mSpill->begin() + static_cast<std::ptrdiff_t>(index), Entry(key, Value()));
        return (*mSpill)[index].second;
    }
    // The key's value, or null.
    const Value* Find(const Key& key) const {
        const Entry* at = std::lower_bound(begin(), end(), key, KeyLess());
        return at != end() && !Less()(key, at->first) ? &at->second : nullptr;
    }

    std::size_t size() const { return mSpill ? mSpill->size() : mCount; }
    bool empty() const { return size() == 0; }
    Entry* begin() { return mSpill ? mSpill->data() : mInline.data(); }
    Entry* end() { return begin() + size(); }
    const Entry* begin() const { return mSpill ? mSpill->data() : mInline.data(); }
    const Entry* end() const { return begin() + size(); }

private:
    struct KeyLess {
        bool operator()(const Entry& entry, const Key& key) const {
            return Less()(entry.first, key);
        }
    };

    std::array<Entry, N> mInline{};
    std::uint32_t mCount = 0;  // entries in mInline while nothing spilled
    std::unique_ptr<std::vector<Entry>> mSpill;
};

}  // namespace GAME
