#pragma once
// The serialization buffers of packets. Multi-byte values are little-endian.
//
// Engine encodings (each writer paired with its reader):
//   bool                1 byte, 0 or 1 (any other value is malformed)
//   Add16Bit            2 bytes; read back zero-extended (unsigned) or sign-extended (int)
//   narrow string       32-bit byte count, then the bytes (AddFileName writes the same form)
//   raw string          16-bit byte count, then the bytes
//   wide string         32-bit count of 16-bit code units, then the units (UTF-16)
//   region              raw string of the region's name (empty: no region)
//   WorldVec3           region, then x, y, z as 32-bit floats
//   WorldCoords         region, then the x, y and z axes and the origin (12 floats)
//   SmartObjectId       32-bit id; id lists: 32-bit count, then each id
//
// Every read is checked against the body's end: a read that does not fit marks the packet bad,
// leaves its target unchanged, and every later read of the same buffer fails too. Counts are
// bounded by the bytes that remain before anything is allocated.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/SmartObjectId.h"

namespace GAME {

// Values are copied as they sit in memory, which is the wire's byte order only here.
static_assert(std::endian::native == std::endian::little, "the packet codec is little-endian");

class Region;
struct WorldVec3;
struct WorldCoords;

// One item instance as it travels (the fields of an item record).
struct NetItemRecord {
    std::uint32_t objectId = 0;
    std::string baseName;
    std::string prefixName;
    std::string suffixName;
    std::string relicName;
    std::string relicBonusName;
    std::uint32_t seed = 0;
    std::uint32_t relicLevel = 0;  // var1

    bool operator==(const NetItemRecord&) const = default;
};

class NetPacketOutBuffer {
public:
    // Writes into the packet's out buffer (emptied first).
    explicit NetPacketOutBuffer(NetPacket* packet) : mBytes(packet->mOutBuffer) { mBytes.clear(); }
    NetPacketOutBuffer(const NetPacketOutBuffer&) = delete;
    NetPacketOutBuffer& operator=(const NetPacketOutBuffer&) = delete;

    // The byte count written so far; the packet's out buffer holds the bytes.
    unsigned int Done() const { return static_cast<unsigned int>(mBytes.size()); }

    // The primitives are inline: one copy per field into the packet's buffer.
    void Write8(std::uint8_t value) { mBytes.Put(value); }
    void Write16(std::uint16_t value) { mBytes.Put(value); }
    void Write32(std::uint32_t value) { mBytes.Put(value); }
    void Write32(std::int32_t value) { mBytes.Put(value); }
    void Write32(float value) { mBytes.Put(value); }
    void Write8Bytes(const void* data) { WriteBytes(data, 8); }
    void Write12Bytes(const void* data) { WriteBytes(data, 12); }
    void Write16Bytes(const void* data) { WriteBytes(data, 16); }
    void WriteBytes(const void* data, std::size_t size) { mBytes.Append(data, size); }

    void Add(const bool* value) { Write8(*value ? 1 : 0); }
    void Add16Bit(const unsigned int* value) { Write16(static_cast<std::uint16_t>(*value)); }
    void Add16Bit(const int* value) { Write16(static_cast<std::uint16_t>(*value)); }
    void Add(const WorldVec3* value);
    void Add(const WorldCoords* value);
    void Add(const SmartObjectId* value) { Write32(value->GetId()); }
    void Add(const SmartObjectIdNullable* value) { Write32(value->GetId()); }
    void Add(const SmartObjectIdList* value) {
        AddIdList(value->GetIds().data(), value->GetIds().size());
    }
    void Add(const SmartObjectIdListNullable* value) {
        AddIdList(value->GetIds().data(), value->GetIds().size());
    }
    void Add(const std::string& value) {
        Write32(static_cast<std::uint32_t>(value.size()));
        WriteBytes(value.data(), value.size());
    }
    void AddFileName(const std::string& value) { Add(value); }
    void AddRaw(std::string_view value);
    void Add(const std::wstring& value);

    // Composite forms.
    void AddIdList(const std::vector<std::uint32_t>& ids) { AddIdList(ids.data(), ids.size()); }
    void AddIdList(const std::uint32_t* ids, std::size_t count) {
        Write32(static_cast<std::uint32_t>(count));
        WriteBytes(ids, count * sizeof(std::uint32_t));
    }
    void AddWorldVec3List(const std::vector<WorldVec3>& points);
    // Item record, full form: id, five names, 32-bit seed, 32-bit relic level.
    void AddItemRecordFull(const NetItemRecord& item);
    // Item record, packet form (without the base name): id, flags byte, the names, the 16-bit
    // seed and the 32-bit relic level whose flags are set.
    void AddItemRecordPacked(const NetItemRecord& item);

private:
    NetOutBytes& mBytes;
};

class NetPacketInBuffer {
public:
    // Reads the body; the header learns whether the body was well formed and which objects it
    // names. When the buffer goes away, bytes left unread make the body bad (too long).
    NetPacketInBuffer(NetPacketHeader& header, const unsigned char* data, int size)
        : mHeader(header), mPos(data), mEnd(data) {
        mHeader.BeginInbound(size > 0 ? static_cast<std::uint32_t>(size) : 0);
        if (size < 0 || (size > 0 && !data)) [[unlikely]] {
            Fail("no body");
            return;
        }
        mEnd = data + size;
    }
    ~NetPacketInBuffer() {
        mHeader.consumed = mHeader.bodySize - static_cast<std::uint32_t>(Remaining());
        if (!mFailed && Remaining() != 0)
            mHeader.bad = true;  // bytes the kind does not know about
    }
    NetPacketInBuffer(const NetPacketInBuffer&) = delete;
    NetPacketInBuffer& operator=(const NetPacketInBuffer&) = delete;

    bool Failed() const { return mFailed; }
    std::size_t Remaining() const { return static_cast<std::size_t>(mEnd - mPos); }
    // Marks the body malformed (for checks of a kind's own, such as a flag out of range).
    void Fail(const char* what);

    bool Read8(std::uint8_t& value) { return ReadValue(value); }
    bool Read16(std::uint16_t& value) { return ReadValue(value); }
    bool Read32(std::uint32_t& value) { return ReadValue(value); }
    bool Read32(std::int32_t& value) { return ReadValue(value); }
    bool Read32(float& value) { return ReadValue(value); }
    bool Read8Bytes(void* data) { return ReadBytes(data, 8); }
    bool Read12Bytes(void* data) { return ReadBytes(data, 12); }
    bool Read16Bytes(void* data) { return ReadBytes(data, 16); }
    bool ReadBytes(void* data, std::size_t size) {
        const unsigned char* at = nullptr;
        if (!Take(size, at))
            return false;
        if (size)
            std::memcpy(data, at, size);
        return true;
    }

    bool Remove(bool* value);
    bool Remove16Bit(unsigned int* value) {
        std::uint16_t half;
        if (!Read16(half))
            return false;
        *value = half;
        return true;
    }
    bool Remove16Bit(int* value) {
        std::uint16_t half;
        if (!Read16(half))
            return false;
        *value = static_cast<std::int16_t>(half);
        return true;
    }
    bool Remove(WorldVec3* value);
    bool Remove(WorldCoords* value);
    bool Remove(SmartObjectId* value) { return RemoveId(*value, true); }
    bool Remove(SmartObjectIdNullable* value) { return RemoveId(*value, false); }
    // A list's objects may have gone on this machine (a target that died meanwhile); the packet
    // still runs and its command decides what a missing one means.
    bool Remove(SmartObjectIdList* value) { return RemoveIds(value->GetIds(), false); }
    bool Remove(SmartObjectIdListNullable* value) { return RemoveIds(value->GetIds(), false); }
    bool Remove(std::string* value);
    bool RemoveRaw(std::string* value);
    bool Remove(std::wstring* value);

    // Composite forms; lists are appended to the target.
    bool RemoveIdList(std::vector<std::uint32_t>* ids);
    bool RemoveWorldVec3List(std::vector<WorldVec3>* points);
    bool RemoveItemRecordFull(NetItemRecord* item);
    // Leaves the base name as it is.
    bool RemoveItemRecordPacked(NetItemRecord* item);
    // A 32-bit count of elements of at least `elementSize` bytes each that fit in the rest of the
    // body; false (and the body bad) when they cannot.
    bool RemoveCount(std::uint32_t& count, std::size_t elementSize) {
        std::uint32_t value;
        if (!Read32(value))
            return false;
        if (elementSize == 0)
            elementSize = 1;
        if (value > Remaining() / elementSize) [[unlikely]] {
            Fail("count beyond body");
            return false;
        }
        count = value;
        return true;
    }

private:
    // Copied into a local first, so the target gets a store of its own type: a byte copy
    // straight into it may alias anything, and the buffer's position would be reloaded.
    template <class T>
    bool ReadValue(T& value) {
        const unsigned char* at = nullptr;
        if (!Take(sizeof(T), at))
            return false;
        T read;
        std::memcpy(&read, at, sizeof(T));
        value = read;
        return true;
    }
    bool Take(std::size_t size, const unsigned char*& at) {
        if (mFailed || size > Remaining()) [[unlikely]]
            return TakeFailed();
        at = mPos;
        mPos += size;
        return true;
    }
    bool TakeFailed();
    bool TakeText(std::size_t size, std::string* value);
    bool RemoveRegion(Region*& region);
    bool RemoveId(SmartObjectId& value, bool required) {
        std::uint32_t id;
        if (!Read32(id))
            return false;
        value.SetId(id);
        mHeader.objects.push_back({id, required});
        return true;
    }
    // Read straight into the holder's list: once the count fits the body, every id reads.
    bool RemoveIds(NetIdList& ids, bool required) {
        std::uint32_t count;
        if (!RemoveCount(count, 4))
            return false;
        ids.resize(count);
        ReadBytes(ids.data(), std::size_t{count} * 4);
        for (std::uint32_t id : ids)
            mHeader.objects.push_back({id, required});
        return true;
    }

    NetPacketHeader& mHeader;
    const unsigned char* mPos;
    const unsigned char* mEnd;
    bool mFailed = false;
};

// Class tags ("tagCClass" and a number from 1 to 99) travel as one byte; 255 means "send the tag".
std::uint8_t ClassTagToIndex(const std::string& tag);
std::string ClassIndexToTag(std::uint8_t index);

// Where received positions find their region: the regions of this machine by name.
class NetRegionTable {
public:
    void Add(Region* region);
    void Remove(Region* region);
    Region* Find(std::string_view name) const;

private:
    std::vector<Region*> mRegions;
};

}  // namespace GAME
