#pragma once
// The bytes a packet writes: a growable buffer that keeps its capacity between writes, so a
// packet sent again writes into memory it already has, one copy per field.
#include <cstddef>
#include <cstring>
#include <memory>

namespace GAME {

class NetOutBytes {
public:
    NetOutBytes() = default;
    // A copy starts empty: the bytes belong to the packet that wrote them.
    NetOutBytes(const NetOutBytes&) {}
    NetOutBytes& operator=(const NetOutBytes&) { return *this; }

    const char* data() const { return mData ? reinterpret_cast<const char*>(mData.get()) : ""; }
    std::size_t size() const { return mSize; }
    void clear() { mSize = 0; }

    // One value of a fixed-size type. Stored as that type rather than through a byte copy: a
    // byte store may alias anything, which would make the compiler reload the buffer's own
    // position after every field. (The storage is an unsigned char array, which may hold
    // objects of any type.)
    template <class T>
    void Put(T value) {
        typedef T Unaligned __attribute__((aligned(1)));
        if (mCapacity - mSize < sizeof(T)) [[unlikely]]
            Grow(sizeof(T));
        *reinterpret_cast<Unaligned*>(mData.get() + mSize) = value;
        mSize += sizeof(T);
    }

    void Append(const void* bytes, std::size_t count) {
        if (mCapacity - mSize < count) [[unlikely]]
            Grow(count);
        if (count)
            std::memcpy(mData.get() + mSize, bytes, count);
        mSize += count;
    }

    // Room for `count` more bytes, counted as written: for a composite value written with a
    // local pointer (writes through the buffer's own pointer make the compiler reload it).
    unsigned char* Extend(std::size_t count) {
        if (mCapacity - mSize < count) [[unlikely]]
            Grow(count);
        unsigned char* at = mData.get() + mSize;
        mSize += count;
        return at;
    }

private:
    void Grow(std::size_t count);

    std::unique_ptr<unsigned char[]> mData;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
};

}  // namespace GAME
