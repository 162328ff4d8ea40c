// The three serial forms of the item instance record.
#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Game/items/ItemReplicaInfo.h"
#include "net/ProbePacket.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

void PutU32(std::vector<std::uint8_t>& bytes, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PutName(std::vector<std::uint8_t>& bytes, const std::string& name) {
    PutU32(bytes, static_cast<std::uint32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
}

std::vector<std::uint8_t> PacketBytes(const ItemReplicaInfo& record) {
    return Encode([&](NetPacketOutBuffer& out) { record.WriteToPacket(out); });
}

class ItemReplicaInfoTest : public ::testing::Test {
protected:
    TestMachine machine;
};

TEST_F(ItemReplicaInfoTest, PacketFormOfABareRecordIsTheIdAndAZeroFlagsByte) {
    ItemReplicaInfo bare;
    bare.objectId = 0x01020304;
    bare.baseName = "Records/Items/Sword.dbr";
    EXPECT_EQ(PacketBytes(bare), (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01, 0x00}));

    ItemReplicaInfo read;
    read.baseName = "kept";
    read.prefixName = "stale";
    read.seed = 9;
    ASSERT_TRUE(Decode(PacketBytes(bare), [&](NetPacketInBuffer& in) { read.ReadFromPacket(in); }));
    EXPECT_EQ(read.objectId, 0x01020304u);
    EXPECT_EQ(read.baseName, "kept");  // travels beside the record
    EXPECT_EQ(read.prefixName, "");
    EXPECT_EQ(read.seed, 0u);
    EXPECT_EQ(read.relicLevel, 0u);
}

TEST_F(ItemReplicaInfoTest, PacketFormMatchesHandBuiltBytesForEveryFlagCombination) {
    const std::string names[] = {"p/Prefix.dbr", "s\\Suffix.dbr", "Relic.dbr", "Bonus.dbr"};
    for (unsigned mask = 0; mask < 64; ++mask) {
        ItemReplicaInfo record;
        record.objectId = 77 + mask;
        record.baseName = "base";
        std::string* fields[] = {&record.prefixName, &record.suffixName, &record.relicName,
                                 &record.relicBonusName};
        for (int i = 0; i < 4; ++i)
            if (mask & (1u << i))
                *fields[i] = names[i];
        if (mask & 16)
            record.seed = 0xBEEF;
        if (mask & 32)
            record.relicLevel = 0x00A0B0C0;

        std::vector<std::uint8_t> expected;
        PutU32(expected, 77 + mask);
        expected.push_back(static_cast<std::uint8_t>(mask << 1));
        for (int i = 0; i < 4; ++i)
            if (mask & (1u << i))
                PutName(expected, names[i]);
        if (mask & 16) {
            expected.push_back(0xEF);
            expected.push_back(0xBE);
        }
        if (mask & 32)
            PutU32(expected, 0x00A0B0C0);
        const std::vector<std::uint8_t> body = PacketBytes(record);
        ASSERT_EQ(body, expected) << "mask " << mask;

        ItemReplicaInfo read;
        read.baseName = "base";
        ASSERT_TRUE(
            Decode(body, [&](NetPacketInBuffer& in) { EXPECT_TRUE(read.ReadFromPacket(in)); }))
            << "mask " << mask;
        EXPECT_EQ(read, record) << "mask " << mask;
        EXPECT_EQ(read.objectId, record.objectId);
    }
}

TEST_F(ItemReplicaInfoTest, PacketReaderRefusesUnknownFlagsOverlongNamesAndShortBodies) {
    ItemReplicaInfo read;
    read.prefixName = "unchanged";
    for (std::uint8_t flags : {0x01, 0x80}) {
        std::vector<std::uint8_t> body{1, 0, 0, 0, flags};
        EXPECT_FALSE(
            Decode(body, [&](NetPacketInBuffer& in) { EXPECT_FALSE(read.ReadFromPacket(in)); }));
    }
    // A prefix longer than 1 MiB is refused even when the bytes are there.
    std::vector<std::uint8_t> huge{1, 0, 0, 0, 0x02};
    PutName(huge, std::string(0x100001, 'x'));
    EXPECT_FALSE(
        Decode(huge, [&](NetPacketInBuffer& in) { EXPECT_FALSE(read.ReadFromPacket(in)); }));
    // A seed flag without the seed.
    EXPECT_FALSE(Decode({1, 0, 0, 0, 0x20, 0x01},
                        [&](NetPacketInBuffer& in) { EXPECT_FALSE(read.ReadFromPacket(in)); }));
    EXPECT_EQ(read.prefixName, "unchanged");
}

TEST_F(ItemReplicaInfoTest, BinaryFormIsIdFourNamesSeedAndLevel) {
    ItemReplicaInfo record;
    record.objectId = 5;
    record.baseName = "not written";
    record.suffixName = "Suf";
    record.relicName = "R";
    record.seed = 300;
    record.relicLevel = 2;
    BinaryWriter writer;
    record.SaveState(writer);
    std::vector<std::uint8_t> expected;
    PutU32(expected, 5);
    PutName(expected, "");
    PutName(expected, "Suf");
    PutName(expected, "R");
    PutName(expected, "");
    PutU32(expected, 300);
    PutU32(expected, 2);
    EXPECT_EQ(writer.GetBuffer(), expected);

    ItemReplicaInfo read;
    read.baseName = "Base";
    BinaryReader reader(writer.GetBuffer());
    ASSERT_TRUE(read.RestoreState(reader));
    EXPECT_EQ(read.suffixName, "Suf");
    EXPECT_EQ(read.relicName, "R");
    EXPECT_EQ(read.seed, 300u);
    EXPECT_EQ(read.relicLevel, 2u);
    EXPECT_EQ(read.baseName, "Base");
}

TEST_F(ItemReplicaInfoTest, RefusedBinaryStringFailsTheWholeReadAndLeavesTheRecord) {
    ItemReplicaInfo before;
    before.prefixName = "old prefix";
    before.seed = 11;
    // A suffix of one byte over the limit: its bytes follow, but must never be read as fields.
    std::vector<std::uint8_t> bytes;
    PutU32(bytes, 1);
    PutName(bytes, "new prefix");
    PutU32(bytes, 0x100001);
    bytes.resize(bytes.size() + 0x100001, 'z');
    ItemReplicaInfo read = before;
    BinaryReader reader(bytes);
    EXPECT_FALSE(read.RestoreState(reader));
    EXPECT_EQ(read, before);
    EXPECT_EQ(read.objectId, 0u);

    // Exactly at the limit is still a string.
    std::string text;
    std::vector<std::uint8_t> atLimit;
    PutName(atLimit, std::string(0x100000, 'a'));
    BinaryReader limitReader(atLimit);
    EXPECT_TRUE(ReadLengthPrefixedString(limitReader, text));
    EXPECT_EQ(text.size(), 0x100000u);
}

TEST_F(ItemReplicaInfoTest, NamedPropertiesRoundTripAndCarryTheAttachedFlagOutsideTheBlock) {
    ItemReplicaInfo record;
    record.objectId = 42;
    record.baseName = "Records/A.dbr";
    record.prefixName = "P";
    record.relicBonusName = "B";
    record.seed = 65535;
    record.relicLevel = 3;
    IOStream out;
    bool attached = true;
    record.StreamPropertiesWithAttached(out, attached);

    IOStream in(out.GetBytes());
    ItemReplicaInfo read;
    bool readAttached = false;
    read.StreamPropertiesWithAttached(in, readAttached);
    EXPECT_EQ(read, record);
    EXPECT_EQ(read.objectId, 0u);  // a loaded record gets a new id
    EXPECT_TRUE(readAttached);
}

TEST_F(ItemReplicaInfoTest, EqualityIgnoresIdCaseAndSlashDirection) {
    ItemReplicaInfo a = {};
    a.objectId = 1;
    a.baseName = "Records/Items/Sword.dbr";
    a.seed = 4;
    ItemReplicaInfo b = a;
    b.objectId = 2;
    b.baseName = "records\\ITEMS\\sword.DBR";
    EXPECT_EQ(a, b);
    b.relicLevel = 1;
    EXPECT_FALSE(a == b);
    b = a;
    b.prefixName = "x";
    EXPECT_FALSE(a == b);
}

}  // namespace
}  // namespace GAME::test
