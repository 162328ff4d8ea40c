#pragma once
// A short list held in place, moved to the heap only when it outgrows its inline room. Reading a
// command's handful of ids or object references then allocates nothing, and a packet made per
// received body neither clears nor frees anything for its lists.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace GAME {

template <class T, std::size_t N>
class NetSmallList {
    // Elements are copied as bytes and the inline room is left unconstructed.
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    NetSmallList() {}
    NetSmallList(const std::vector<T>& values) { assign(values.data(), values.size()); }
    NetSmallList(const NetSmallList& other) { assign(other.data(), other.size()); }
    NetSmallList& operator=(const NetSmallList& other) {
        if (this != &other)
            assign(other.data(), other.size());
        return *this;
    }
    NetSmallList& operator=(const std::vector<T>& values) {
        assign(values.data(), values.size());
        return *this;
    }

    void push_back(const T& value) {
        const T copy = value;  // as in assign
        if (mSize == mCapacity) [[unlikely]]
            Grow(mSize + 1);
        mData[mSize++] = copy;
    }
    // New elements are value-initialised.
    void resize(std::size_t count) {
        const std::size_t old = mSize;
        T* at = resize_for_overwrite(count);
        std::fill(at + std::min(old, count), at + count, T{});
    }
    // Sets the size and returns the elements for the caller to write: the ones past the old size
    // hold no particular value until then.
    T* resize_for_overwrite(std::size_t count) {
        if (count > mCapacity) [[unlikely]]
            Grow(count);
        mSize = static_cast<std::uint32_t>(count);
        return mData;
    }
    // Room for `count` more elements at the end, counted in the size; the caller writes them.
    T* append_for_overwrite(std::size_t count) {
        const std::size_t old = mSize;
        return resize_for_overwrite(old + count) + old;
    }
    void assign(const T* values, std::size_t count) {
        T* at = resize_for_overwrite(count);
        if (count)
            std::memcpy(static_cast<void*>(at), values, count * sizeof(T));
    }
    template <class It>
    void assign(It first, It last) {
        clear();
        for (; first != last; ++first)
            push_back(*first);
    }
    void assign(std::size_t count, const T& value) {
        const T copy = value;  // the value may be one of the elements, moved by a growth
        T* at = resize_for_overwrite(count);
        std::fill(at, at + count, copy);
    }
    // Keeps heap room taken earlier: the list is refilled in place.
    void clear() { mSize = 0; }

    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    T* data() { return mData; }
    const T* data() const { return mData; }
    T* begin() { return mData; }
    T* end() { return mData + mSize; }
    const T* begin() const { return mData; }
    const T* end() const { return mData + mSize; }
    T& operator[](std::size_t i) { return mData[i]; }
    const T& operator[](std::size_t i) const { return mData[i]; }
    T& front() { return mData[0]; }
    const T& front() const { return mData[0]; }
    T& back() { return mData[mSize - 1]; }
    const T& back() const { return mData[mSize - 1]; }

    // Handlers and commands keep their lists as vectors.
    operator std::vector<T>() const { return std::vector<T>(begin(), end()); }

    friend bool operator==(const NetSmallList& a, const NetSmallList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const NetSmallList& a, const std::vector<T>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    // Doubles the room until it holds `count`, keeping the elements.
    void Grow(std::size_t count) {
        std::size_t capacity = std::max<std::size_t>(mCapacity * 2, count);
        auto heap = std::make_unique_for_overwrite<T[]>(capacity);
        if (mSize)
            std::memcpy(static_cast<void*>(heap.get()), mData, mSize * sizeof(T));
        mHeap = std::move(heap);
        mData = mHeap.get();
        mCapacity = static_cast<std::uint32_t>(capacity);
    }

    T* mData = mInline;
    std::uint32_t mSize = 0;
    std::uint32_t mCapacity = N;
    std::unique_ptr<T[]> mHeap;
    union {
        T mInline[N];  // only the first mSize are read while the list is in place
    };
};

}  // namespace GAME
