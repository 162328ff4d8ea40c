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
#include "Engine/world/Region.h"

namespace GAME {

// Values are copied as they sit in memory, which is the wire's byte order only here.
static_assert(std::endian::native == std::endian::little, "the packet codec is little-endian");

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

// Where received positions find their region: the regions of this machine by name.
class NetRegionTable {
public:
    void Add(Region* region);
    void Remove(Region* region);
    Region* Find(std::string_view name);
    // The current machine's region of that name, else null.
    static Region* Lookup(std::string_view name);

private:
    std::vector<Region*> mRegions;
    // The last region found: bodies in a row mostly name the same one. Reset when it goes.
    Region* mLast = nullptr;
};

class NetPacketOutBuffer {
public:
    // Writes into the packet's out buffer (emptied first). While the writer lives, the packet's
    // out buffer holds what it has written so far.
    explicit NetPacketOutBuffer(NetPacket* packet)
        : mBytes(packet->mOutBuffer), mPrevious(mBytes.BeginWrite(mCursor)) {}
    ~NetPacketOutBuffer() { mBytes.EndWrite(mCursor, mPrevious); }
    NetPacketOutBuffer(const NetPacketOutBuffer&) = delete;
    NetPacketOutBuffer& operator=(const NetPacketOutBuffer&) = delete;

    // The byte count written so far.
    unsigned int Done() const { return static_cast<unsigned int>(Size()); }

    // The primitives are inline, one typed store per field through the writer's cursor: the
    // cursor stays in registers across the stores.
    void Write8(std::uint8_t value) { Put(value); }
    void Write16(std::uint16_t value) { Put(value); }
    void Write32(std::uint32_t value) { Put(value); }
    void Write32(std::int32_t value) { Put(value); }
    void Write32(float value) { Put(value); }
    void Write8Bytes(const void* data) { WriteBytes(data, 8); }
    void Write12Bytes(const void* data) { WriteBytes(data, 12); }
    void Write16Bytes(const void* data) { WriteBytes(data, 16); }
    void WriteBytes(const void* data, std::size_t size) { NetCopyShort(Extend(size), data, size); }

    void Add(const bool* value) { Write8(*value ? 1 : 0); }
    void Add16Bit(const unsigned int* value) { Write16(static_cast<std::uint16_t>(*value)); }
    void Add16Bit(const int* value) { Write16(static_cast<std::uint16_t>(*value)); }
    void Add(const WorldVec3* value) {
        const Vec3& p = value->local;
        const float v[3] = {p.x, p.y, p.z};
        AddRawAndFloats(RegionName(value->region), v, 3);
    }
    void Add(const WorldCoords* value) {
        const Coords& c = value->coords;
        const float v[12] = {c.xAxis.x, c.xAxis.y, c.xAxis.z, c.yAxis.x,  c.yAxis.y,  c.yAxis.z,
                             c.zAxis.x, c.zAxis.y, c.zAxis.z, c.origin.x, c.origin.y, c.origin.z};
        AddRawAndFloats(RegionName(value->region), v, 12);
    }
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
    void AddRaw(std::string_view value) { AddRawAndFloats(RawText(value), nullptr, 0); }
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
    // The raw form holds at most 65535 bytes; longer texts are cut rather than mis-framed.
    static std::string_view RawText(std::string_view text) { return text.substr(0, 0xFFFF); }
    static std::string_view RegionName(const Region* region) {
        return region ? RawText(region->GetName()) : std::string_view();
    }

    std::size_t Size() const { return static_cast<std::size_t>(mCursor.at - mCursor.begin); }
    // Room for `count` more bytes, counted as written.
    unsigned char* Extend(std::size_t count) {
        if (static_cast<std::size_t>(mCursor.limit - mCursor.at) < count) [[unlikely]]
            mBytes.Grow(mCursor, count);
        unsigned char* at = mCursor.at;
        mCursor.at += count;
        return at;
    }
    // Stored as its own type rather than through a byte copy: a byte store may alias anything,
    // the cursor and the packet's members included, which would have them reloaded after it.
    template <class T>
    void Put(T value) {
        typedef T Unaligned __attribute__((aligned(1)));
        *reinterpret_cast<Unaligned*>(Extend(sizeof(T))) = value;
    }
    // A raw text followed by `count` floats, written in one stretch.
    void AddRawAndFloats(std::string_view text, const float* floats, std::size_t count) {
        const auto size = static_cast<std::uint16_t>(text.size());
        unsigned char* at = Extend(2 + std::size_t{size} + 4 * count);
        std::memcpy(at, &size, 2);
        NetCopyShort(at + 2, text.data(), size);
        if (count)
            std::memcpy(at + 2 + size, floats, 4 * count);
    }
    NetOutBytes& mBytes;
    NetOutCursor mCursor;
    NetOutCursor* mPrevious;
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
    // Marks the body malformed (for checks of a kind's own, such as a flag out of range). Inline,
    // as every reader is: a buffer whose address reaches no call keeps its position in registers.
    void Fail(const char* /*what*/) {
        mFailed = true;
        mHeader.bad = true;
    }

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
    bool Remove(WorldVec3* value) {
        Region* region = nullptr;
        float v[3];
        if (!RemoveRegionAndFloats(region, v, 3))
            return false;
        *value = WorldVec3(region, Vec3(v[0], v[1], v[2]));
        return true;
    }
    bool Remove(WorldCoords* value) {
        Region* region = nullptr;
        float v[12];
        if (!RemoveRegionAndFloats(region, v, 12))
            return false;
        value->region = region;
        value->coords.xAxis = Vec3(v[0], v[1], v[2]);
        value->coords.yAxis = Vec3(v[3], v[4], v[5]);
        value->coords.zAxis = Vec3(v[6], v[7], v[8]);
        value->coords.origin = Vec3(v[9], v[10], v[11]);
        return true;
    }
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
    bool TakeFailed() {
        Fail("short body");
        return false;
    }
    bool TakeText(std::size_t size, std::string* value);
    // A region's name, then `count` floats.
    bool RemoveRegionAndFloats(Region*& region, float* floats, std::size_t count) {
        std::uint16_t size;
        const unsigned char* name = nullptr;
        const unsigned char* at = nullptr;
        if (!Read16(size) || !Take(size, name))
            return false;
        region =
            size ? NetRegionTable::Lookup({reinterpret_cast<const char*>(name), size}) : nullptr;
        if (!Take(4 * count, at))
            return false;
        std::memcpy(floats, at, 4 * count);
        return true;
    }
    bool RemoveId(SmartObjectId& value, bool required) {
        std::uint32_t id;
        if (!Read32(id))
            return false;
        value.SetId(id);
        mHeader.objects.push_back({id, required});
        return true;
    }
    // Read straight into the holder's list and the header's references: once the count fits the
    // body, every id reads.
    bool RemoveIds(NetIdList& ids, bool required) {
        std::uint32_t count;
        if (!RemoveCount(count, 4))
            return false;
        std::uint32_t* to = ids.resize_for_overwrite(count);
        const unsigned char* at = mPos;
        mPos += std::size_t{count} * 4;
        NetObjectReference* ref = mHeader.objects.append_for_overwrite(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t id;
            std::memcpy(&id, at + 4 * i, 4);
            to[i] = id;
            ref[i] = {id, required};
        }
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

}  // namespace GAME
