#include <gtest/gtest.h>

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketFields.h"
#include "Engine/text/Name.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Record {
    std::uint32_t id = 0;
    std::string name;
};

// A kind whose one field list uses every field form.
class FieldProbe : public ObjectInteractionPacket {
public:
    FieldProbe() : ObjectInteractionPacket(251) {}
    unsigned int PrepareOutBuffer() override { return WritePacketFields(*this); }
    void CopyInbound(const unsigned char* data, int size) override {
        ReadPacketFields(*this, data, size);
    }
    std::string GetPacketDescription(bool flag_) override {
        return DescribePacketFields(*this, flag_);
    }

    std::uint32_t word = 0;
    int negative = 0;
    float ratio = 0.0f;
    unsigned int skill = 0;
    std::uint16_t seed = 0;
    std::uint8_t channel = 0;
    int level = 0;
    std::string tag;
    bool flag = false;
    std::string file;
    std::string raw;
    std::wstring wide;
    Name anim;
    SmartObjectId parent{this};
    SmartObjectIdNullable maybe{this};
    std::vector<std::uint32_t> appended;
    std::vector<std::uint32_t> replaced;
    std::vector<Record> records;
    std::size_t recordsToSend = 255;
    std::vector<std::string> names;

    template <class V>
    void VisitFields(V& v) {
        v.Heading("Probe");
        v.Word(word, "Word: ");
        v.Word(negative, {"Negative: ", 1});
        v.Word(ratio, "Ratio: ");
        v.Half(skill, "Skill: ");
        v.Half(seed, "Seed: ");
        v.Byte(channel, "Channel: ");
        v.LowByte(level, "Level: ");
        v.ClassIndex(tag);
        v.Bool(flag, "Flag: ");
        v.String(file);
        v.Raw(raw, "Raw: ");
        v.String(wide, "Wide: ");
        v.Name16(anim);
        v.Object(parent, "Parent: ");
        v.Object(maybe);
        v.Words(appended, {.heading = "Appended:", .item = "Id ", .indent = 1, .numbered = true});
        v.Words(replaced, {.count = "Replaced: ", .item = "Word: ", .replace = true});
        v.List8(records, recordsToSend, [](auto& w, Record& r) {
            w.Word(r.id, "Record: ");
            w.String(r.name);
        });
        v.List32(names, 4, [](auto& w, std::string& name) { w.String(name); });
        v.Describe([](NetPacketDescriber& d) { d.Describe("Hook: ", true, 0); });
    }
};

FieldProbe Filled() {
    FieldProbe p;
    p.word = 258;
    p.negative = -2;
    p.ratio = 1.0f;
    p.skill = 0x12345;
    p.seed = 0xABCD;
    p.channel = 7;
    p.level = 200;
    p.tag = "tagCClass05";
    p.flag = true;
    p.file = "ab";
    p.raw = "r";
    p.wide = L"W";
    p.anim = Name::Create("Walk");
    p.parent = 5;
    p.appended = {9};
    p.records = {{1, "x"}, {2, "y"}, {3, "z"}};
    p.recordsToSend = 2;
    p.names = {"n"};
    return p;
}

Bytes Written(NetPacket& packet) {
    const unsigned int size = packet.PrepareOutBuffer();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return Bytes(bytes, bytes + size);
}

void Read(NetPacket& packet, const Bytes& body) {
    packet.CopyInbound(body.data(), static_cast<int>(body.size()));
}

class NetPacketFieldsTest : public ::testing::Test {
protected:
    TestMachine tm;
};

TEST_F(NetPacketFieldsTest, OneListGivesTheBytesTheReadBackAndTheText) {
    FieldProbe probe = Filled();
    Bytes expected = {
        0x02, 0x01, 0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 0,   0,   0x80, 0x3F,  // 32-bit
        0x45, 0x23, 0xCD, 0xAB,                                                // 16-bit
        7,    200,  5,    1,                                                   // bytes, bool
        2,    0,    0,    0,    'a',  'b',  1,    0,    'r', 1,   0,    0,    0, 'W', 0,  // strings
        'W',  'a',  'l',  'k',  0,    0,    0,    0,    0,   0,   0,    0,    0, 0,   0, 0,  // name
        5,    0,    0,    0,    0,    0,    0,    0,                                         // ids
        1,    0,    0,    0,    9,    0,    0,    0,    0,   0,   0,    0,  // word lists
        2,    1,    0,    0,    0,    1,    0,    0,    0,   'x', 2,    0,    0, 0,   1, 0,
        0,    0,    'y',  // 2 of 3
        1,    0,    0,    0,    1,    0,    0,    0,    'n'};
    EXPECT_EQ(Written(probe), expected);

    FieldProbe back;
    Read(back, expected);
    ASSERT_TRUE(back.IsInboundValid());
    EXPECT_EQ(back.word, 258u);
    EXPECT_EQ(back.negative, -2);
    EXPECT_EQ(back.ratio, 1.0f);
    EXPECT_EQ(back.skill, 0x2345u);  // 16 bits travel
    EXPECT_EQ(back.seed, 0xABCD);
    EXPECT_EQ(back.level, 200);
    EXPECT_EQ(back.tag, "tagCClass05");
    EXPECT_TRUE(back.flag);
    EXPECT_EQ(back.file, "ab");
    EXPECT_EQ(back.wide, L"W");
    EXPECT_EQ(back.anim, Name::Create("Walk"));
    ASSERT_EQ(back.records.size(), 2u);
    EXPECT_EQ(back.records[1].name, "y");
    EXPECT_EQ(back.names, std::vector<std::string>{"n"});
    // The plain id must name an object, the nullable one need not.
    const auto& objects = back.GetHeader().objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_TRUE(objects[0].id == 5 && objects[0].required);
    EXPECT_FALSE(objects[1].required);

    EXPECT_EQ(probe.GetPacketDescription(false),
              "Probe\nWord: 258\n    Negative: -2\nRatio: 1\nSkill: 74565\nSeed: 43981\n"
              "Channel: 7\nLevel: 200\nFlag: true\nRaw: r\nWide: W\nParent: 5\nAppended:\n"
              "    Id 0: 9\nReplaced: 0\nRecord: 1\nRecord: 2\nRecord: 3\nHook: true\n");
}

TEST_F(NetPacketFieldsTest, ListsAppendReplaceOrStartEmptyAsDeclared) {
    FieldProbe source = Filled();
    const Bytes body = Written(source);
    FieldProbe target;
    target.appended = {1};
    target.replaced = {8, 8};
    target.records = {{99, "old"}};
    target.names = {"old"};
    Read(target, body);
    ASSERT_TRUE(target.IsInboundValid());
    EXPECT_EQ(target.appended, (std::vector<std::uint32_t>{1, 9}));
    EXPECT_TRUE(target.replaced.empty());
    ASSERT_EQ(target.records.size(), 2u);
    EXPECT_EQ(target.records[0].id, 1u);
    EXPECT_EQ(target.names, std::vector<std::string>{"n"});
}

TEST_F(NetPacketFieldsTest, ABrokenBodyKeepsWhatItDidNotReachAndOnlyWholeRecords) {
    FieldProbe source = Filled();
    source.recordsToSend = 3;
    const Bytes body = Written(source);

    // Cut inside the length of the first string: every field from there on keeps its value.
    FieldProbe cut;
    cut.file = "keep";
    cut.parent = 77;
    cut.appended = {4};
    Read(cut, Bytes(body.begin(), body.begin() + 22));
    EXPECT_FALSE(cut.IsInboundValid());
    EXPECT_EQ(cut.word, 258u);
    EXPECT_TRUE(cut.flag);
    EXPECT_EQ(cut.file, "keep");
    EXPECT_EQ(cut.parent.GetId(), 77u);
    EXPECT_EQ(cut.appended, std::vector<std::uint32_t>{4});

    // Cut inside the third record: the two whole ones stay.
    const std::size_t namesSize = 4 + 5;
    FieldProbe partial;
    Read(partial, Bytes(body.begin(), body.end() - static_cast<std::ptrdiff_t>(namesSize + 1)));
    EXPECT_FALSE(partial.IsInboundValid());
    ASSERT_EQ(partial.records.size(), 2u);
    EXPECT_EQ(partial.records[1].name, "y");

    // A count that promises more names than the bytes left could hold is refused before
    // anything is read or allocated.
    Bytes lying = body;
    lying[lying.size() - namesSize] = 0xFF;
    lying[lying.size() - namesSize + 3] = 0x7F;
    FieldProbe liar;
    liar.names = {"old"};
    Read(liar, lying);
    EXPECT_FALSE(liar.IsInboundValid());
    EXPECT_TRUE(liar.names.empty());
}

TEST_F(NetPacketFieldsTest, FixedNamesAreCutOrPaddedToSixteenBytes) {
    FieldProbe probe;
    probe.anim = Name::Create("ABCDEFGHIJKLMNOPQRST");
    const Bytes body = Written(probe);
    constexpr std::size_t kNameAt = 4 * 3 + 2 * 2 + 4 + 4 + 2 + 4;
    EXPECT_EQ(std::string(body.begin() + kNameAt, body.begin() + kNameAt + 16), "ABCDEFGHIJKLMNOP");
    // A reader makes no name of a text it does not know: the body is bad and nothing is kept.
    FieldProbe stranger;
    Read(stranger, body);
    EXPECT_FALSE(stranger.IsInboundValid());
    EXPECT_TRUE(Name::Find("ABCDEFGHIJKLMNOP").IsEmpty());
    static_cast<void>(Name::Create("ABCDEFGHIJKLMNOP"));
    FieldProbe back;
    Read(back, body);
    EXPECT_TRUE(back.IsInboundValid());
    EXPECT_EQ(back.anim.str(), "ABCDEFGHIJKLMNOP");
}

}  // namespace
}  // namespace GAME::test
