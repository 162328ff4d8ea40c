#include "Engine/net/fields/NetPacketBuffer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetFieldReader.h"
#include "Engine/net/fields/NetFieldWriter.h"
#include "Engine/net/fields/NetItemRecordFields.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/Region.h"

namespace GAME {

namespace {

constexpr std::uint8_t kItemPrefix = 0x02;
constexpr std::uint8_t kItemSuffix = 0x04;
constexpr std::uint8_t kItemRelic = 0x08;
constexpr std::uint8_t kItemRelicBonus = 0x10;
constexpr std::uint8_t kItemSeed = 0x20;
constexpr std::uint8_t kItemRelicLevel = 0x40;
constexpr std::uint8_t kItemKnownFlags = 0x7E;

// Smallest encodings, for bounding counts by the bytes that remain.
constexpr std::size_t kMinRegionSize = 2;
constexpr std::size_t kMinWorldVec3Size = kMinRegionSize + 12;

// Compares two texts without a library call for the common names of 8 to 16 bytes.
bool NetSameText(std::string_view a, std::string_view b) {
    const std::size_t count = a.size();
    if (count != b.size())
        return false;
    if (count >= 8 && count <= 16) {
        std::uint64_t a0, a1, b0, b1;
        std::memcpy(&a0, a.data(), 8);
        std::memcpy(&a1, a.data() + count - 8, 8);
        std::memcpy(&b0, b.data(), 8);
        std::memcpy(&b1, b.data() + count - 8, 8);
        return ((a0 ^ b0) | (a1 ^ b1)) == 0;
    }
    return a == b;
}

void AppendUtf16(std::vector<std::uint16_t>& units, wchar_t c) {
    const std::uint32_t code = static_cast<std::uint32_t>(c);
    if (code > 0xFFFF && code <= 0x10FFFF) {
        const std::uint32_t v = code - 0x10000;
        units.push_back(static_cast<std::uint16_t>(0xD800 + (v >> 10)));
        units.push_back(static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
    } else {
        units.push_back(static_cast<std::uint16_t>(code > 0x10FFFF ? 0xFFFD : code));
    }
}

}  // namespace

// ---- out-buffer ----

void NetOutBytes::Grow(NetOutCursor& cursor, std::size_t count) {
    const auto used = static_cast<std::size_t>(cursor.at - cursor.begin);
    // Doubling, from a start that holds a typical command whole.
    std::size_t capacity = mCapacity ? mCapacity : 128;
    while (capacity - used < count)
        capacity *= 2;
    auto bytes = std::make_unique_for_overwrite<unsigned char[]>(capacity);
    if (used)
        std::memcpy(bytes.get(), mData.get(), used);
    mData = std::move(bytes);
    mCapacity = capacity;
    cursor.begin = mData.get();
    cursor.at = cursor.begin + used;
    cursor.limit = cursor.begin + capacity;
}

void NetPacketOutBuffer::Add(const std::wstring& value) {
    std::vector<std::uint16_t> units;
    units.reserve(value.size());
    for (wchar_t c : value)
        AppendUtf16(units, c);
    Write32(static_cast<std::uint32_t>(units.size()));
    for (std::uint16_t unit : units)
        Write16(unit);
}

void NetPacketOutBuffer::AddWorldVec3List(const std::vector<WorldVec3>& points) {
    Write32(static_cast<std::uint32_t>(points.size()));
    for (const WorldVec3& point : points)
        Add(&point);
}

void NetPacketOutBuffer::AddItemRecordFull(const NetItemRecord& item) {
    NetFieldWriter writer(*this);
    VisitItemRecordFull(writer, item);
}

void NetPacketOutBuffer::AddItemRecordPacked(const NetItemRecord& item) {
    Write32(item.objectId);
    std::uint8_t flags = 0;
    if (!item.prefixName.empty())
        flags |= kItemPrefix;
    if (!item.suffixName.empty())
        flags |= kItemSuffix;
    if (!item.relicName.empty())
        flags |= kItemRelic;
    if (!item.relicBonusName.empty())
        flags |= kItemRelicBonus;
    if (item.seed != 0)
        flags |= kItemSeed;
    if (item.relicLevel != 0)
        flags |= kItemRelicLevel;
    Write8(flags);
    if (flags & kItemPrefix)
        AddFileName(item.prefixName);
    if (flags & kItemSuffix)
        AddFileName(item.suffixName);
    if (flags & kItemRelic)
        AddFileName(item.relicName);
    if (flags & kItemRelicBonus)
        AddFileName(item.relicBonusName);
    if (flags & kItemSeed) {
        const unsigned int seed = item.seed;
        Add16Bit(&seed);
    }
    if (flags & kItemRelicLevel)
        Write32(item.relicLevel);
}

// ---- in-buffer ----

bool NetPacketInBuffer::Remove(bool* value) {
    std::uint8_t byte;
    if (!Read8(byte))
        return false;
    if (byte > 1) {
        Fail("bool out of range");
        return false;
    }
    *value = byte != 0;
    return true;
}

bool NetPacketInBuffer::TakeText(std::size_t size, std::string* value) {
    const unsigned char* at = nullptr;
    if (!Take(size, at))
        return false;
    value->assign(reinterpret_cast<const char*>(at), size);
    return true;
}

bool NetPacketInBuffer::Remove(std::string* value) {
    std::uint32_t size;
    return RemoveCount(size, 1) && TakeText(size, value);
}

bool NetPacketInBuffer::RemoveRaw(std::string* value) {
    std::uint16_t size;
    return Read16(size) && TakeText(size, value);
}

bool NetPacketInBuffer::Remove(std::wstring* value) {
    std::uint32_t count;
    if (!RemoveCount(count, 2))
        return false;
    std::wstring text;
    text.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t unit;
        if (!Read16(unit))
            return false;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count && Remaining() >= 2) {
            const std::uint16_t next = static_cast<std::uint16_t>(mPos[0] | (mPos[1] << 8));
            if (next >= 0xDC00 && next < 0xE000) {
                mPos += 2;
                ++i;
                text.push_back(
                    static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00)));
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    *value = std::move(text);
    return true;
}

// The count is checked against the bytes left, so once it passes every id reads: the list is
// appended to in place, whole or not at all.
bool NetPacketInBuffer::RemoveIdList(std::vector<std::uint32_t>* ids) {
    std::uint32_t count;
    if (!RemoveCount(count, 4))
        return false;
    const std::size_t old = ids->size();
    ids->resize(old + count);
    ReadBytes(ids->data() + old, std::size_t{count} * 4);
    return true;
}

bool NetPacketInBuffer::RemoveWorldVec3List(std::vector<WorldVec3>* points) {
    std::uint32_t count;
    if (!RemoveCount(count, kMinWorldVec3Size))
        return false;
    std::vector<WorldVec3> read(count);
    for (WorldVec3& point : read)
        if (!Remove(&point))
            return false;
    points->insert(points->end(), read.begin(), read.end());
    return true;
}

bool NetPacketInBuffer::RemoveItemRecordFull(NetItemRecord* item) {
    NetItemRecord read;
    NetFieldReader reader(*this);
    VisitItemRecordFull(reader, read);
    if (mFailed)
        return false;
    *item = std::move(read);
    return true;
}

bool NetPacketInBuffer::RemoveItemRecordPacked(NetItemRecord* item) {
    NetItemRecord read;
    read.baseName = item->baseName;
    std::uint8_t flags;
    if (!Read32(read.objectId) || !Read8(flags))
        return false;
    if (flags & ~kItemKnownFlags) {
        Fail("item flags");
        return false;
    }
    if ((flags & kItemPrefix) && !Remove(&read.prefixName))
        return false;
    if ((flags & kItemSuffix) && !Remove(&read.suffixName))
        return false;
    if ((flags & kItemRelic) && !Remove(&read.relicName))
        return false;
    if ((flags & kItemRelicBonus) && !Remove(&read.relicBonusName))
        return false;
    if (flags & kItemSeed) {
        unsigned int seed;
        if (!Remove16Bit(&seed))
            return false;
        read.seed = seed;
    }
    if ((flags & kItemRelicLevel) && !Read32(read.relicLevel))
        return false;
    *item = std::move(read);
    return true;
}

// ---- class tags ----

std::uint8_t ClassTagToIndex(const std::string& tag) {
    static constexpr char kPrefix[] = "tagCClass";
    constexpr std::size_t kPrefixSize = sizeof kPrefix - 1;
    if (tag.compare(0, kPrefixSize, kPrefix) != 0)
        return 255;
    // atoi-like: leading blanks, a sign, then the digits up to the first other character.
    std::size_t i = kPrefixSize;
    while (i < tag.size() && (tag[i] == ' ' || (tag[i] >= '\t' && tag[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < tag.size() && (tag[i] == '+' || tag[i] == '-'))
        negative = tag[i++] == '-';
    long value = 0;
    for (; i < tag.size() && tag[i] >= '0' && tag[i] <= '9'; ++i) {
        value = value * 10 + (tag[i] - '0');
        if (value > 1000)
            return 255;
    }
    if (negative)
        value = -value;
    return value >= 1 && value <= 99 ? static_cast<std::uint8_t>(value) : 255;
}

std::string ClassIndexToTag(std::uint8_t index) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%02i", "tagCClass", static_cast<int>(index));
    return text;
}

// ---- regions ----

void NetRegionTable::Add(Region* region) {
    if (region && std::find(mRegions.begin(), mRegions.end(), region) == mRegions.end())
        mRegions.push_back(region);
}

void NetRegionTable::Remove(Region* region) {
    std::erase(mRegions, region);
    if (mLast == region)
        mLast = nullptr;
}

Region* NetRegionTable::Find(std::string_view name) {
    if (mLast && NetSameText(mLast->GetName(), name))
        return mLast;
    for (Region* region : mRegions)
        if (NetSameText(region->GetName(), name))
            return mLast = region;
    return nullptr;
}

Region* NetRegionTable::Lookup(std::string_view name) {
    // A machine that never registered a region has no table, and no region to find.
    NetRegionTable* table = Machine::Current().Find<NetRegionTable>();
    if (!table)
        return nullptr;
    if (Region* last = table->mLast; last && NetSameText(last->GetName(), name))
        return last;
    return table->Find(name);
}

}  // namespace GAME
