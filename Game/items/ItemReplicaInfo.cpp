#include "Game/items/ItemReplicaInfo.h"

#include "Engine/Engine.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Game/core/util/StringUtil.h"

namespace GAME {

namespace {
// The packet form's flags: one bit per optional field; 0x01 and 0x80 are never set.
// clang-format off
#define GAME_ITEM_RECORD_NAMES(X) \
    X(prefixName, 0x02) X(suffixName, 0x04) X(relicName, 0x08) X(relicBonusName, 0x10)
// clang-format on
constexpr std::uint8_t kSeedFlag = 0x20;
constexpr std::uint8_t kVar1Flag = 0x40;
constexpr std::uint8_t kKnownFlags = 0x7E;
constexpr std::uint32_t kSeedMask = 0xFFFF;

bool ReadPacketString(NetPacketInBuffer& in, std::string& text) {
    std::uint32_t length;
    if (!in.Read32(length))
        return false;
    if (length > kMaxItemRecordString || length > in.Remaining()) {
        in.Fail("item record name length");
        return false;
    }
    std::string read(length, '\0');
    if (length != 0 && !in.ReadBytes(read.data(), length))
        return false;
    text = std::move(read);
    return true;
}
}  // namespace

bool ReadLengthPrefixedString(BinaryReader& reader, std::string& text) {
    std::uint32_t length;
    if (!reader.ReadUInt32(length))
        return false;
    if (length > kMaxItemRecordString || length > reader.GetRemaining()) {
        gEngine->Log(1, "ItemReplicaInfo: refused a string of %u bytes (%zu bytes left)", length,
                     reader.GetRemaining());
        return false;
    }
    std::string read(length, '\0');
    if (length != 0 && !reader.ReadBytes(read.data(), length))
        return false;
    text = std::move(read);
    return true;
}

bool ItemReplicaInfo::operator==(const ItemReplicaInfo& other) const {
    return PathEqualsNoCaseStr(baseName, other.baseName) &&
           PathEqualsNoCaseStr(prefixName, other.prefixName) &&
           PathEqualsNoCaseStr(suffixName, other.suffixName) &&
           PathEqualsNoCaseStr(relicName, other.relicName) &&
           PathEqualsNoCaseStr(relicBonusName, other.relicBonusName) && seed == other.seed &&
           relicLevel == other.relicLevel;
}

void ItemReplicaInfo::StreamProperties(IOStream& stream) {
    stream.BeginBlock("itemReplicaInfo");
    stream.StreamString("baseName", baseName);
    stream.StreamString("prefixName", prefixName);
    stream.StreamString("suffixName", suffixName);
    stream.StreamString("relicName", relicName);
    stream.StreamString("relicBonus", relicBonusName);
    stream.StreamUInt("seed", seed);
    stream.StreamUInt("var1", relicLevel);
    stream.EndBlock();
    if (stream.IsReading())
        seed &= kSeedMask;
}

void ItemReplicaInfo::StreamPropertiesWithAttached(IOStream& stream, bool& attached) {
    StreamProperties(stream);
    stream.StreamBool("itemAttached", attached);
}

void ItemReplicaInfo::SaveState(BinaryWriter& writer) const {
    writer.WriteUInt32(objectId);
    writer.WriteString(prefixName);
    writer.WriteString(suffixName);
    writer.WriteString(relicName);
    writer.WriteString(relicBonusName);
    writer.WriteUInt32(seed);
    writer.WriteUInt32(relicLevel);
}

bool ItemReplicaInfo::RestoreState(BinaryReader& reader) {
    ItemReplicaInfo read = *this;
    if (!reader.ReadUInt32(read.objectId) || !ReadLengthPrefixedString(reader, read.prefixName) ||
        !ReadLengthPrefixedString(reader, read.suffixName) ||
        !ReadLengthPrefixedString(reader, read.relicName) ||
        !ReadLengthPrefixedString(reader, read.relicBonusName) || !reader.ReadUInt32(read.seed) ||
        !reader.ReadUInt32(read.relicLevel)) {
        gEngine->Log(1, "ItemReplicaInfo: item record of \"%s\" could not be read",
                     baseName.c_str());
        return false;
    }
    read.seed &= kSeedMask;
    *this = std::move(read);
    return true;
}

void ItemReplicaInfo::WriteToPacket(NetPacketOutBuffer& out) const {
    out.Write32(objectId);
    std::uint8_t flags = 0;
#define GAME_ITEM_FLAG(Field, Bit) \
    if (!Field.empty())            \
        flags |= Bit;
    GAME_ITEM_RECORD_NAMES(GAME_ITEM_FLAG)
#undef GAME_ITEM_FLAG
    if (seed != 0)
        flags |= kSeedFlag;
    if (relicLevel != 0)
        flags |= kVar1Flag;
    out.Write8(flags);
#define GAME_ITEM_WRITE(Field, Bit) \
    if (flags & Bit)                \
        out.AddFileName(Field);
    GAME_ITEM_RECORD_NAMES(GAME_ITEM_WRITE)
#undef GAME_ITEM_WRITE
    if (flags & kSeedFlag) {
        const unsigned int seed16 = seed & kSeedMask;
        out.Add16Bit(&seed16);
    }
    if (flags & kVar1Flag)
        out.Write32(relicLevel);
}

bool ItemReplicaInfo::ReadFromPacket(NetPacketInBuffer& in) {
    ItemReplicaInfo read;
    read.baseName = baseName;
    std::uint8_t flags;
    if (!in.Read32(read.objectId) || !in.Read8(flags))
        return false;
    if (flags & ~kKnownFlags) {
        in.Fail("item record flags");
        return false;
    }
#define GAME_ITEM_READ(Field, Bit)                          \
    if ((flags & Bit) && !ReadPacketString(in, read.Field)) \
        return false;
    GAME_ITEM_RECORD_NAMES(GAME_ITEM_READ)
#undef GAME_ITEM_READ
    if (flags & kSeedFlag) {
        unsigned int seed16;
        if (!in.Remove16Bit(&seed16))
            return false;
        read.seed = seed16;
    }
    if ((flags & kVar1Flag) && !in.Read32(read.relicLevel))
        return false;
    *this = std::move(read);
    return true;
}

}  // namespace GAME
