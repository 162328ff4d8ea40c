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

    const char* data() const { return mData ? mData.get() : ""; }
    std::size_t size() const { return mSize; }
    void clear() { mSize = 0; }

    void Append(const void* bytes, std::size_t count) {
        if (mCapacity - mSize < count) [[unlikely]]
            Grow(count);
        if (count)
            std::memcpy(mData.get() + mSize, bytes, count);
        mSize += count;
    }

private:
    void Grow(std::size_t count);

    std::unique_ptr<char[]> mData;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
};

}  // namespace GAME
