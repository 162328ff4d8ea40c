#pragma once
// The bytes a packet writes: a growable buffer that keeps its capacity between writes, so a
// packet sent again writes into memory it already has. The writer (NetPacketOutBuffer) moves a
// cursor of its own through the bytes; while it writes, the buffer's size is the cursor's.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace GAME {

// Where a writer has got to in the bytes.
struct NetOutCursor {
    unsigned char* begin = nullptr;
    unsigned char* at = nullptr;
    unsigned char* limit = nullptr;
};

class NetOutBytes {
public:
    NetOutBytes() = default;
    // A copy starts empty: the bytes belong to the packet that wrote them.
    NetOutBytes(const NetOutBytes&) {}
    NetOutBytes& operator=(const NetOutBytes&) { return *this; }

    const char* data() const { return mData ? reinterpret_cast<const char*>(mData.get()) : ""; }
    std::size_t size() const {
        return mCursor ? static_cast<std::size_t>(mCursor->at - mCursor->begin) : mSize;
    }

    // A writer starts at the beginning (the bytes are emptied); the previous writer, if any, is
    // returned for the writer to hand back in EndWrite.
    NetOutCursor* BeginWrite(NetOutCursor& cursor) {
        cursor.begin = cursor.at = mData.get();
        cursor.limit = mData.get() + mCapacity;
        mSize = 0;
        NetOutCursor* previous = mCursor;
        mCursor = &cursor;
        return previous;
    }
    void EndWrite(const NetOutCursor& cursor, NetOutCursor* previous) {
        mSize = static_cast<std::size_t>(cursor.at - cursor.begin);
        mCursor = previous;
    }
    // Makes room for `count` more bytes after the cursor, keeping those before it.
    void Grow(NetOutCursor& cursor, std::size_t count);

private:
    std::unique_ptr<unsigned char[]> mData;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
    NetOutCursor* mCursor = nullptr;  // the writer's, while one writes
};

// Copies a short run of bytes without a library call: the common texts and id lists of a
// command are a few to a few dozen bytes.
inline void NetCopyShort(unsigned char* to, const void* from, std::size_t count) {
    const auto* src = static_cast<const unsigned char*>(from);
    if (count >= 8 && count <= 16) {
        // Stored as words, not bytes: a byte store may alias anything, the cursor included.
        typedef std::uint64_t Unaligned __attribute__((aligned(1)));
        std::uint64_t head;
        std::uint64_t tail;
        std::memcpy(&head, src, 8);
        std::memcpy(&tail, src + count - 8, 8);
        *reinterpret_cast<Unaligned*>(to) = head;
        *reinterpret_cast<Unaligned*>(to + count - 8) = tail;
    } else if (count) {
        std::memcpy(to, src, count);
    }
}

}  // namespace GAME
