#pragma once
// A short list held in place, moved to the heap only when it outgrows its inline room. Reading a
// command's handful of ids or object references then allocates nothing.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace GAME {

template <class T, std::size_t N>
class NetSmallList {
public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    NetSmallList() = default;
    NetSmallList(const std::vector<T>& values) { assign(values.begin(), values.end()); }
    NetSmallList(const NetSmallList& other) { assign(other.begin(), other.end()); }
    NetSmallList& operator=(const NetSmallList& other) {
        if (this != &other)
            assign(other.begin(), other.end());
        return *this;
    }
    NetSmallList& operator=(const std::vector<T>& values) {
        assign(values.begin(), values.end());
        return *this;
    }

    void push_back(const T& value) {
        if (!mOnHeap && mSize < N) {
            mInline[mSize++] = value;
            return;
        }
        MoveToHeap();
        mHeap.push_back(value);
        ++mSize;
    }
    // New elements are value-initialised.
    void resize(std::size_t count) {
        if (!mOnHeap && count <= N) {
            std::fill(mInline + std::min(mSize, count), mInline + count, T{});
            mSize = count;
            return;
        }
        MoveToHeap();
        mHeap.resize(count);
        mSize = count;
    }
    template <class It>
    void assign(It first, It last) {
        clear();
        for (; first != last; ++first)
            push_back(*first);
    }
    void assign(std::size_t count, const T& value) {
        clear();
        resize(count);
        std::fill(begin(), end(), value);
    }
    void clear() {
        mHeap.clear();
        mOnHeap = false;
        mSize = 0;
    }

    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    T* data() { return mOnHeap ? mHeap.data() : mInline; }
    const T* data() const { return mOnHeap ? mHeap.data() : mInline; }
    T* begin() { return data(); }
    T* end() { return data() + mSize; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + mSize; }
    T& operator[](std::size_t i) { return data()[i]; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    T& front() { return data()[0]; }
    const T& front() const { return data()[0]; }
    T& back() { return data()[mSize - 1]; }
    const T& back() const { return data()[mSize - 1]; }

    // Handlers and commands keep their lists as vectors.
    operator std::vector<T>() const { return std::vector<T>(begin(), end()); }

    friend bool operator==(const NetSmallList& a, const NetSmallList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const NetSmallList& a, const std::vector<T>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    void MoveToHeap() {
        if (mOnHeap)
            return;
        mHeap.assign(mInline, mInline + mSize);
        mOnHeap = true;
    }

    T mInline[N];  // only the first mSize are read
    std::vector<T> mHeap;
    std::size_t mSize = 0;
    bool mOnHeap = false;
};

}  // namespace GAME
