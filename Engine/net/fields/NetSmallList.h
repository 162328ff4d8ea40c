#pragma once
// A short list held in place, moved to the heap only when it outgrows its inline room.
#include <cstddef>
#include <vector>

namespace GAME {

template <class T, std::size_t N>
class NetSmallList {
public:
    void push_back(const T& value) {
        if (!mOnHeap && mSize < N) {
            mInline[mSize++] = value;
            return;
        }
        if (!mOnHeap) {
            mHeap.assign(mInline, mInline + mSize);
            mOnHeap = true;
        }
        mHeap.push_back(value);
        ++mSize;
    }
    void clear() {
        mHeap.clear();
        mOnHeap = false;
        mSize = 0;
    }
    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    const T* begin() const { return mOnHeap ? mHeap.data() : mInline; }
    const T* end() const { return begin() + mSize; }
    const T& operator[](std::size_t i) const { return begin()[i]; }

private:
    T mInline[N] = {};
    std::vector<T> mHeap;
    std::size_t mSize = 0;
    bool mOnHeap = false;
};

}  // namespace GAME
