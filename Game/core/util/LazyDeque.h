#pragma once
// A first-in-first-out queue whose entries keep their place while others join (a std::deque),
// made on first use: an empty std::deque already holds a block of its own, and most characters
// and controllers never queue anything.
#include <cstddef>
#include <deque>
#include <memory>
#include <utility>

namespace GAME {

template <class T>
class LazyDeque {
public:
    bool empty() const { return !mItems || mItems->empty(); }
    std::size_t size() const { return mItems ? mItems->size() : 0; }
    T& front() { return mItems->front(); }
    const T& front() const { return mItems->front(); }
    void push_back(T item) {
        if (!mItems)
            mItems = std::make_unique<std::deque<T>>();
        mItems->push_back(std::move(item));
    }
    void pop_front() { mItems->pop_front(); }
    void clear() {
        if (mItems)
            mItems->clear();
    }
    // The first entry, from the front, that passes the test; null for none.
    template <class Test>
    const T* FindIf(Test&& test) const {
        if (mItems)
            for (const T& item : *mItems)
                if (test(item))
                    return &item;
        return nullptr;
    }
    template <class Visit>
    void ForEach(Visit&& visit) const {
        if (mItems)
            for (const T& item : *mItems)
                visit(item);
    }

private:
    std::unique_ptr<std::deque<T>> mItems;
};

}  // namespace GAME
