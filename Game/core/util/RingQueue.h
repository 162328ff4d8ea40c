#pragma once
// A first-in-first-out queue in one block used round and round, for queues that take and drop
// entries all the time (a deque takes and frees a block every few dozen entries). The block
// doubles when full; entries move then, so keep no reference to one across a push. Empty, it
// holds no block. The first kInline entries' room may sit inside the queue itself, for queues
// that usually hold one or two entries: those never reach the heap.
#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace GAME {

template <class T, std::size_t kInline = 0>
class RingQueue {
public:
    bool empty() const { return mCount == 0; }
    std::size_t size() const { return mCount; }
    T& front() { return Slots()[mHead]; }
    const T& front() const { return Slots()[mHead]; }
    void push_back(T item) {
        if (mCount == Capacity())
            Grow();
        Slots()[(mHead + mCount) % Capacity()] = std::move(item);
        ++mCount;
    }
    void pop_front() {
        Slots()[mHead] = T();
        mHead = (mHead + 1) % Capacity();
        --mCount;
    }
    void clear() {
        while (!empty())
            pop_front();
    }
    // Visits the entries from the front.
    template <class Visit>
    void ForEach(Visit&& visit) const {
        for (std::size_t i = 0; i < mCount; ++i)
            visit(Slots()[(mHead + i) % Capacity()]);
    }

private:
    std::size_t Capacity() const { return mSlots.empty() ? kInline : mSlots.size(); }
    T* Slots() { return mSlots.empty() ? mInline.data() : mSlots.data(); }
    const T* Slots() const { return mSlots.empty() ? mInline.data() : mSlots.data(); }
    void Grow() {
        std::vector<T> slots(Capacity() == 0 ? 8 : 2 * Capacity());
        for (std::size_t i = 0; i < mCount; ++i)
            slots[i] = std::move(Slots()[(mHead + i) % Capacity()]);
        mSlots.swap(slots);
        mHead = 0;
    }

    [[no_unique_address]] std::array<T, kInline> mInline{};
    std::vector<T> mSlots;
    std::size_t mHead = 0;
    std::size_t mCount = 0;
};

}  // namespace GAME
