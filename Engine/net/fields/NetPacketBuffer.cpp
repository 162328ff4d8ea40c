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

void NetOutBytes::Grow(std::size_t count) {
    // Doubling, from a start that holds a typical command whole.
    std::size_t capacity = mCapacity ? mCapacity : 128;
    while (capacity - mSize < count)
        capacity *= 2;
    auto bytes = std::make_unique_for_overwrite<unsigned char[]>(capacity);
    if (mSize)
        std::memcpy(bytes.get(), mData.get(), mSize);
    mData = std::move(bytes);
    mCapacity = capacity;
}

namespace {

// The raw form holds at most 65535 bytes; longer texts are cut rather than mis-framed.
std::string_view RawText(std::string_view text) {
    return text.substr(0, 0xFFFF);
}

std::string_view RegionName(const Region* region) {
    return region ? RawText(region->GetName()) : std::string_view();
}

// A raw text followed by `count` floats, written in one stretch.
void WriteRawAndFloats(NetOutBytes& bytes, std::string_view text, const float* floats,
                       std::size_t count) {
    const auto size = static_cast<std::uint16_t>(text.size());
    unsigned char* at = bytes.Extend(2 + text.size() + 4 * count);
    std::memcpy(at, &size, 2);
    if (size)
        std::memcpy(at + 2, text.data(), size);
    if (count)
        std::memcpy(at + 2 + size, floats, 4 * count);
}

}  // namespace

void NetPacketOutBuffer::Add(const WorldVec3* value) {
    const float v[3] = {value->local.x, value->local.y, value->local.z};
    WriteRawAndFloats(mBytes, RegionName(value->region), v, 3);
}

void NetPacketOutBuffer::Add(const WorldCoords* value) {
    const Coords& c = value->coords;
    const float v[12] = {c.xAxis.x, c.xAxis.y, c.xAxis.z, c.yAxis.x,  c.yAxis.y,  c.yAxis.z,
                         c.zAxis.x, c.zAxis.y, c.zAxis.z, c.origin.x, c.origin.y, c.origin.z};
    WriteRawAndFloats(mBytes, RegionName(value->region), v, 12);
}

void NetPacketOutBuffer::AddRaw(std::string_view value) {
    WriteRawAndFloats(mBytes, RawText(value), nullptr, 0);
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

void NetPacketInBuffer::Fail(const char*) {
    mFailed = true;
    mHeader.bad = true;
}

bool NetPacketInBuffer::TakeFailed() {
    if (!mFailed)
        Fail("short body");
    return false;
}

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

bool NetPacketInBuffer::RemoveRegion(Region*& region) {
    std::uint16_t size;
    const unsigned char* at = nullptr;
    if (!Read16(size) || !Take(size, at))
        return false;
    const std::string_view name(reinterpret_cast<const char*>(at), size);
    region = name.empty() ? nullptr : Singleton<NetRegionTable>::Get().Find(name);
    return true;
}

bool NetPacketInBuffer::Remove(WorldVec3* value) {
    Region* region = nullptr;
    const unsigned char* at = nullptr;
    if (!RemoveRegion(region) || !Take(12, at))
        return false;
    float v[3];
    std::memcpy(v, at, sizeof v);
    *value = WorldVec3(region, Vec3(v[0], v[1], v[2]));
    return true;
}

bool NetPacketInBuffer::Remove(WorldCoords* value) {
    Region* region = nullptr;
    const unsigned char* at = nullptr;
    if (!RemoveRegion(region) || !Take(48, at))
        return false;
    float v[12];
    std::memcpy(v, at, sizeof v);
    Coords coords;
    coords.xAxis = Vec3(v[0], v[1], v[2]);
    coords.yAxis = Vec3(v[3], v[4], v[5]);
    coords.zAxis = Vec3(v[6], v[7], v[8]);
    coords.origin = Vec3(v[9], v[10], v[11]);
    *value = WorldCoords(region, coords);
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
}

Region* NetRegionTable::Find(std::string_view name) const {
    for (Region* region : mRegions)
        if (region->GetName() == name)
            return region;
    return nullptr;
}

}  // namespace GAME
