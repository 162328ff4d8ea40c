#pragma once
// A first-in-first-out queue in one block used round and round, for queues that take and drop
// entries all the time (a deque takes and frees a block every few dozen entries). The block
// doubles when full; entries move then, so keep no reference to one across a push. Empty, it
// holds no block.
#include <cstddef>
#include <utility>
#include <vector>

namespace GAME {

template <class T>
class RingQueue {
public:
    bool empty() const { return mCount == 0; }
    std::size_t size() const { return mCount; }
    const T& front() const { return mSlots[mHead]; }
    void push_back(T item) {
        if (mCount == mSlots.size())
            Grow();
        mSlots[(mHead + mCount) % mSlots.size()] = std::move(item);
        ++mCount;
    }
    void pop_front() {
        mSlots[mHead] = T();
        mHead = (mHead + 1) % mSlots.size();
        --mCount;
    }
    // Visits the entries from the front.
    template <class Visit>
    void ForEach(Visit&& visit) const {
        for (std::size_t i = 0; i < mCount; ++i)
            visit(mSlots[(mHead + i) % mSlots.size()]);
    }

private:
    void Grow() {
        std::vector<T> slots(mSlots.empty() ? 8 : 2 * mSlots.size());
        for (std::size_t i = 0; i < mCount; ++i)
            slots[i] = std::move(mSlots[(mHead + i) % mSlots.size()]);
        mSlots.swap(slots);
        mHead = 0;
    }

    std::vector<T> mSlots;
    std::size_t mHead = 0;
    std::size_t mCount = 0;
};

}  // namespace GAME
