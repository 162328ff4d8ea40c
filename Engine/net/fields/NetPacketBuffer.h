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
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"

namespace GAME {

class Region;
struct WorldVec3;
struct WorldCoords;
class SmartObjectId;
class SmartObjectIdNullable;
class SmartObjectIdList;
class SmartObjectIdListNullable;

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
    explicit NetPacketOutBuffer(NetPacket* packet);
    ~NetPacketOutBuffer();
    NetPacketOutBuffer(const NetPacketOutBuffer&) = delete;
    NetPacketOutBuffer& operator=(const NetPacketOutBuffer&) = delete;

    // The byte count written so far; the packet's out buffer holds the bytes.
    unsigned int Done();

    void Write8(std::uint8_t value);
    void Write16(std::uint16_t value);
    void Write32(std::uint32_t value);
    void Write32(std::int32_t value) { Write32(static_cast<std::uint32_t>(value)); }
    void Write32(float value);
    void Write8Bytes(const void* data) { WriteBytes(data, 8); }
    void Write12Bytes(const void* data) { WriteBytes(data, 12); }
    void Write16Bytes(const void* data) { WriteBytes(data, 16); }
    void WriteBytes(const void* data, std::size_t size);

    void Add(const bool* value);
    void Add16Bit(const unsigned int* value);
    void Add16Bit(const int* value);
    void Add(const WorldVec3* value);
    void Add(const WorldCoords* value);
    void Add(const SmartObjectId* value);
    void Add(const SmartObjectIdNullable* value);
    void Add(const SmartObjectIdList* value);
    void Add(const SmartObjectIdListNullable* value);
    void Add(const std::string& value);
    void AddFileName(const std::string& value);
    void AddRaw(const std::string& value);
    void Add(const std::wstring& value);

    // Composite forms.
    void AddIdList(const std::vector<std::uint32_t>& ids);
    void AddWorldVec3List(const std::vector<WorldVec3>& points);
    // Item record, full form: id, five names, 32-bit seed, 32-bit relic level.
    void AddItemRecordFull(const NetItemRecord& item);
    // Item record, packet form (without the base name): id, flags byte, the names, the 16-bit
    // seed and the 32-bit relic level whose flags are set.
    void AddItemRecordPacked(const NetItemRecord& item);

private:
    std::vector<char>& mBytes;
};

class NetPacketInBuffer {
public:
    // Reads the body; the header learns whether the body was well formed and which objects it
    // names. When the buffer goes away, bytes left unread make the body bad (too long).
    NetPacketInBuffer(NetPacketHeader& header, const unsigned char* data, int size);
    ~NetPacketInBuffer();
    NetPacketInBuffer(const NetPacketInBuffer&) = delete;
    NetPacketInBuffer& operator=(const NetPacketInBuffer&) = delete;

    bool Failed() const { return mFailed; }
    std::size_t Remaining() const { return static_cast<std::size_t>(mEnd - mPos); }
    // Marks the body malformed (for checks of a kind's own, such as a flag out of range).
    void Fail(const char* what);

    bool Read8(std::uint8_t& value);
    bool Read16(std::uint16_t& value);
    bool Read32(std::uint32_t& value);
    bool Read32(std::int32_t& value);
    bool Read32(float& value);
    bool Read8Bytes(void* data) { return ReadBytes(data, 8); }
    bool Read12Bytes(void* data) { return ReadBytes(data, 12); }
    bool Read16Bytes(void* data) { return ReadBytes(data, 16); }
    bool ReadBytes(void* data, std::size_t size);

    bool Remove(bool* value);
    bool Remove16Bit(unsigned int* value);
    bool Remove16Bit(int* value);
    bool Remove(WorldVec3* value);
    bool Remove(WorldCoords* value);
    bool Remove(SmartObjectId* value);
    bool Remove(SmartObjectIdNullable* value);
    bool Remove(SmartObjectIdList* value);
    bool Remove(SmartObjectIdListNullable* value);
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
    bool RemoveCount(std::uint32_t& count, std::size_t elementSize);

private:
    bool Take(std::size_t size, const unsigned char*& at);
    bool TakeText(std::size_t size, std::string* value);
    bool RemoveRegion(Region*& region);
    bool RemoveId(SmartObjectId& value, bool required);
    bool RemoveIds(std::vector<std::uint32_t>& ids, bool required);

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
    Region* Find(const std::string& name) const;

private:
    std::vector<Region*> mRegions;
};

}  // namespace GAME
