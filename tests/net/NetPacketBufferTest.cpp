#include <gtest/gtest.h>

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/Region.h"
#include "ProbePacket.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class NetPacketBufferTest : public ::testing::Test {
protected:
    TestMachine tm;
};

TEST_F(NetPacketBufferTest, PrimitivesAreLittleEndianAndByteExact) {
    EXPECT_EQ(Encode([](auto& out) { out.Write32(258u); }), (Bytes{0x02, 0x01, 0x00, 0x00}));
    EXPECT_EQ(Encode([](auto& out) { out.Write32(1.0f); }), (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(Encode([](auto& out) { out.Write32(std::int32_t{-2}); }),
              (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Encode([](auto& out) { out.Write16(0xABCD); }), (Bytes{0xCD, 0xAB}));
    EXPECT_EQ(Encode([](auto& out) { out.Write8(0x7F); }), (Bytes{0x7F}));
    const std::uint8_t image[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(Encode([&](auto& out) { out.Write8Bytes(image); }), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Encode([](auto& out) {
                  const bool t = true, f = false;
                  out.Add(&t);
                  out.Add(&f);
              }),
              (Bytes{1, 0}));
    EXPECT_EQ(Encode([](auto& out) {
                  const unsigned int big = 0x12345;
                  out.Add16Bit(&big);
              }),
              (Bytes{0x45, 0x23}));
}

TEST_F(NetPacketBufferTest, StringsCarryTheirLengthFirst) {
    EXPECT_EQ(Encode([](auto& out) { out.Add(std::string("ab")); }), (Bytes{2, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(Encode([](auto& out) { out.AddFileName("ab"); }), (Bytes{2, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(Encode([](auto& out) { out.AddRaw("ab"); }), (Bytes{2, 0, 'a', 'b'}));
    // Wide strings travel as 16-bit code units; characters beyond 16 bits as surrogate pairs.
    EXPECT_EQ(Encode([](auto& out) { out.Add(std::wstring(L"A\u00e9")); }),
              (Bytes{2, 0, 0, 0, 'A', 0, 0xE9, 0}));
    EXPECT_EQ(Encode([](auto& out) { out.Add(std::wstring(1, wchar_t(0x1F600))); }),
              (Bytes{2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}));
}

TEST_F(NetPacketBufferTest, PrimitivesReadBackWhatTheyWrote) {
    const std::wstring wide = std::wstring(L"Zo\u00eb ") + wchar_t(0x1F600);
    const Bytes body = Encode([&](auto& out) {
        const bool flag = true;
        const int negative = -3;
        const unsigned int skill = 65535;
        out.Write32(0xDEADBEEFu);
        out.Write32(-1.5f);
        out.Add(&flag);
        out.Add16Bit(&negative);
        out.Add16Bit(&skill);
        out.AddFileName("Records/Items/Sword.dbr");
        out.AddRaw("tagCClass05");
        out.Add(wide);
    });
    std::uint32_t word = 0;
    float number = 0;
    bool flag = false;
    int negative = 0;
    unsigned int skill = 0;
    std::string file, raw;
    std::wstring text;
    EXPECT_TRUE(Decode(body, [&](NetPacketInBuffer& in) {
        in.Read32(word);
        in.Read32(number);
        in.Remove(&flag);
        in.Remove16Bit(&negative);
        in.Remove16Bit(&skill);
        in.Remove(&file);
        in.RemoveRaw(&raw);
        in.Remove(&text);
    }));
    EXPECT_EQ(word, 0xDEADBEEFu);
    EXPECT_EQ(number, -1.5f);
    EXPECT_TRUE(flag);
    EXPECT_EQ(negative, -3);
    EXPECT_EQ(skill, 65535u);
    EXPECT_EQ(file, "Records/Items/Sword.dbr");
    EXPECT_EQ(raw, "tagCClass05");
    EXPECT_EQ(text, wide);
}

TEST_F(NetPacketBufferTest, PositionsAndPlacementsFindTheirRegionByName) {
    Region cave("Cave", {100, 0, 0});
    Singleton<NetRegionTable>::Get().Add(&cave);
    const WorldVec3 point(&cave, {1.5f, -2, 3});
    Coords coords;
    coords.xAxis = {0, 0, -1};
    coords.zAxis = {1, 0, 0};
    coords.origin = {7, 8, 9};
    const WorldCoords placement(&cave, coords);
    const WorldVec3 nowhere(nullptr, {4, 5, 6});
    const Bytes body = Encode([&](auto& out) {
        out.Add(&point);
        out.Add(&placement);
        out.Add(&nowhere);
    });
    EXPECT_EQ(body.size(), (2 + 4 + 12) + (2 + 4 + 48) + (2 + 12));
    WorldVec3 p, n;
    WorldCoords c;
    EXPECT_TRUE(Decode(body, [&](NetPacketInBuffer& in) {
        in.Remove(&p);
        in.Remove(&c);
        in.Remove(&n);
    }));
    EXPECT_EQ(p, point);
    EXPECT_EQ(c, placement);
    EXPECT_EQ(n, nowhere);

    // A region this machine does not have leaves the position without one.
    Singleton<NetRegionTable>::Get().Remove(&cave);
    EXPECT_TRUE(Decode(body, [&](NetPacketInBuffer& in) {
        in.Remove(&p);
        in.Remove(&c);
        in.Remove(&n);
    }));
    EXPECT_EQ(p.region, nullptr);
    EXPECT_EQ(p.local, point.local);
}

TEST_F(NetPacketBufferTest, IdListsAppendAndAnEmptyListIsFourZeroBytes) {
    EXPECT_EQ(Encode([](auto& out) { out.AddIdList({}); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Encode([](auto& out) {
                  out.AddIdList({7, 258});
              }),
              (Bytes{2, 0, 0, 0, 7, 0, 0, 0, 2, 1, 0, 0}));

    std::vector<std::uint32_t> ids{99};
    EXPECT_TRUE(Decode({0, 0, 0, 0}, [&](NetPacketInBuffer& in) { in.RemoveIdList(&ids); }));
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{99}));
    EXPECT_TRUE(Decode(Encode([](auto& out) {
                           out.AddIdList({7, 8});
                       }),
                       [&](NetPacketInBuffer& in) { in.RemoveIdList(&ids); }));
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{99, 7, 8}));
}

TEST_F(NetPacketBufferTest, PositionListsRoundTrip) {
    const std::vector<WorldVec3> points{WorldVec3(nullptr, {1, 2, 3}),
                                        WorldVec3(nullptr, {-4, 5.5f, 0})};
    std::vector<WorldVec3> read{WorldVec3(nullptr, {9, 9, 9})};
    EXPECT_TRUE(Decode(Encode([&](auto& out) { out.AddWorldVec3List(points); }),
                       [&](NetPacketInBuffer& in) { in.RemoveWorldVec3List(&read); }));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[1], points[0]);
    EXPECT_EQ(read[2], points[1]);
}

TEST_F(NetPacketBufferTest, ObjectIdHoldersRoundTripAndRecordWhatTheyName) {
    ProbePacket sent;
    SmartObjectId actor(&sent);
    SmartObjectIdNullable instigator(&sent);
    SmartObjectIdList targets(&sent);
    SmartObjectIdListNullable extra(&sent);
    actor = 42;
    instigator = 0;
    targets = std::vector<std::uint32_t>{5, 6};
    sent.write = [&](NetPacketOutBuffer& out) {
        out.Add(&actor);
        out.Add(&instigator);
        out.Add(&targets);
        out.Add(&extra);
    };
    sent.PrepareOutBuffer();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(sent.GetOutBuffer());
    const Bytes body(bytes, bytes + sent.GetOutBufferSize());
    EXPECT_EQ(body,
              (Bytes{42, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0}));

    ProbePacket received;
    SmartObjectId a(&received);
    SmartObjectIdNullable i(&received);
    SmartObjectIdList t(&received);
    SmartObjectIdListNullable e(&received);
    received.read = [&](NetPacketInBuffer& in) {
        in.Remove(&a);
        in.Remove(&i);
        in.Remove(&t);
        in.Remove(&e);
    };
    received.CopyInbound(body.data(), static_cast<int>(body.size()));
    ASSERT_TRUE(received.IsInboundValid());
    EXPECT_EQ(a.GetId(), 42u);
    EXPECT_EQ(i.GetId(), 0u);
    EXPECT_EQ(t.GetIds(), (std::vector<std::uint32_t>{5, 6}));
    EXPECT_TRUE(e.GetIds().empty());
    // Only the single id must name a live object for the packet to run.
    EXPECT_FALSE(received.CheckObjects(0));
    Singleton<ObjectManager>::Get().CreateObject<Actor>(42);
    EXPECT_TRUE(received.CheckObjects(0));
}

TEST_F(NetPacketBufferTest, ItemRecordFullFormWritesEveryField) {
    NetItemRecord item;
    item.objectId = 9;
    item.baseName = "b";
    item.seed = 0x1234;
    item.relicLevel = 2;
    const Bytes body = Encode([&](auto& out) { out.AddItemRecordFull(item); });
    EXPECT_EQ(body, (Bytes{9, 0, 0, 0, 1, 0, 0, 0, 'b',  0,    0, 0, 0, 0, 0, 0, 0,
                           0, 0, 0, 0, 0, 0, 0, 0, 0x34, 0x12, 0, 0, 2, 0, 0, 0}));
    NetItemRecord read;
    EXPECT_TRUE(Decode(body, [&](NetPacketInBuffer& in) { in.RemoveItemRecordFull(&read); }));
    EXPECT_EQ(read, item);
}

TEST_F(NetPacketBufferTest, ItemRecordPacketFormSendsOnlyWhatIsSet) {
    NetItemRecord bare;
    bare.objectId = 3;
    bare.baseName = "base";
    EXPECT_EQ(Encode([&](auto& out) { out.AddItemRecordPacked(bare); }), (Bytes{3, 0, 0, 0, 0}));
    NetItemRecord read;
    read.baseName = "base";
    read.prefixName = "stale";
    read.seed = 5;
    EXPECT_TRUE(
        Decode({3, 0, 0, 0, 0}, [&](NetPacketInBuffer& in) { in.RemoveItemRecordPacked(&read); }));
    EXPECT_EQ(read, bare);

    NetItemRecord full{11, "base", "pre", "suf", "relic", "bonus", 0xBEEF, 4};
    const Bytes body = Encode([&](auto& out) { out.AddItemRecordPacked(full); });
    EXPECT_EQ(body[4], 0x7E);
    NetItemRecord back;
    back.baseName = "base";
    EXPECT_TRUE(Decode(body, [&](NetPacketInBuffer& in) { in.RemoveItemRecordPacked(&back); }));
    EXPECT_EQ(back, full);

    NetItemRecord some{12, "base", "", "suf", "", "", 0, 7};
    const Bytes partial = Encode([&](auto& out) { out.AddItemRecordPacked(some); });
    EXPECT_EQ(partial[4], 0x04 | 0x40);
    NetItemRecord partialBack;
    partialBack.baseName = "base";
    EXPECT_TRUE(
        Decode(partial, [&](NetPacketInBuffer& in) { in.RemoveItemRecordPacked(&partialBack); }));
    EXPECT_EQ(partialBack, some);
}

TEST_F(NetPacketBufferTest, ClassTagsTravelAsOneByteWhenTheyCan) {
    EXPECT_EQ(ClassTagToIndex("tagCClass07"), 7);
    EXPECT_EQ(ClassIndexToTag(7), "tagCClass07");
    EXPECT_EQ(ClassTagToIndex("tagCClass7"), 7);
    EXPECT_EQ(ClassTagToIndex("tagCClass99"), 99);
    EXPECT_EQ(ClassTagToIndex("tagCClass 5"), 5);
    EXPECT_EQ(ClassTagToIndex("tagCClass+5x"), 5);
    EXPECT_EQ(ClassTagToIndex("tagCClass00"), 255);
    EXPECT_EQ(ClassTagToIndex("tagCClass100"), 255);
    EXPECT_EQ(ClassTagToIndex("tagCClass-3"), 255);
    EXPECT_EQ(ClassTagToIndex("xtagCClass05"), 255);
    EXPECT_EQ(ClassTagToIndex(""), 255);
    EXPECT_EQ(ClassTagToIndex("tagCClass99999999999999999999"), 255);
}

TEST_F(NetPacketBufferTest, ShortBodiesFailAndLeaveTheTargetAlone) {
    std::uint32_t word = 77;
    EXPECT_FALSE(Decode({1, 2, 3}, [&](NetPacketInBuffer& in) { EXPECT_FALSE(in.Read32(word)); }));
    EXPECT_EQ(word, 77u);

    // After a failure every later read fails too, even one that would fit.
    std::uint8_t byte = 5;
    EXPECT_FALSE(Decode({1, 2, 3}, [&](NetPacketInBuffer& in) {
        in.Read32(word);
        EXPECT_FALSE(in.Read8(byte));
    }));
    EXPECT_EQ(byte, 5);

    std::string text = "keep";
    EXPECT_FALSE(Decode({5, 0, 0, 0, 'a', 'b'}, [&](NetPacketInBuffer& in) { in.Remove(&text); }));
    EXPECT_EQ(text, "keep");
    EXPECT_FALSE(Decode({5, 0, 'a'}, [&](NetPacketInBuffer& in) { in.RemoveRaw(&text); }));
    EXPECT_EQ(text, "keep");
}

TEST_F(NetPacketBufferTest, CountsAreBoundedByTheBytesThatRemain) {
    std::vector<std::uint32_t> ids{1};
    // A count of four billion with four bytes behind it: refused before anything is allocated.
    EXPECT_FALSE(Decode({0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0},
                        [&](NetPacketInBuffer& in) { in.RemoveIdList(&ids); }));
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1}));
    std::vector<WorldVec3> points;
    EXPECT_FALSE(Decode({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                        [&](NetPacketInBuffer& in) { in.RemoveWorldVec3List(&points); }));
    EXPECT_TRUE(points.empty());
    std::wstring wide = L"keep";
    EXPECT_FALSE(
        Decode({3, 0, 0, 0, 'a', 0, 'b', 0}, [&](NetPacketInBuffer& in) { in.Remove(&wide); }));
    EXPECT_EQ(wide, L"keep");
}

TEST_F(NetPacketBufferTest, MalformedValuesAndLeftoverBytesMakeTheBodyBad) {
    bool flag = false;
    EXPECT_FALSE(Decode({2}, [&](NetPacketInBuffer& in) { in.Remove(&flag); }));
    EXPECT_FALSE(flag);
    std::uint8_t byte = 0;
    EXPECT_FALSE(Decode({1, 2}, [&](NetPacketInBuffer& in) { in.Read8(byte); }));
    EXPECT_TRUE(Decode({1}, [&](NetPacketInBuffer& in) { in.Read8(byte); }));
    NetItemRecord item;
    EXPECT_FALSE(Decode({1, 0, 0, 0, 0x81},
                        [&](NetPacketInBuffer& in) { in.RemoveItemRecordPacked(&item); }));
    EXPECT_EQ(item.objectId, 0u);
    // A reader that never looks at a non-empty body has not read it.
    EXPECT_FALSE(Decode({1}, [](NetPacketInBuffer&) {}));
    EXPECT_TRUE(Decode({}, [](NetPacketInBuffer&) {}));
    ProbePacket packet;
    packet.CopyInbound(nullptr, -4);
    EXPECT_FALSE(packet.IsInboundValid());
}

TEST_F(NetPacketBufferTest, CopiedPacketsAreIndependent) {
    auto original = std::make_unique<ProbePacket>();
    original->SetPacketClass(2);
    original->write = [](NetPacketOutBuffer& out) { out.Write32(1u); };
    original->PrepareOutBuffer();
    ProbePacket copy(*original);
    EXPECT_EQ(copy.GetType(), original->GetType());
    EXPECT_EQ(copy.GetPacketClass(), 2);
    EXPECT_EQ(copy.GetOutBufferSize(), 0u);  // a copy has written nothing yet
    original.reset();
    EXPECT_EQ(copy.PrepareOutBuffer(), 4u);
}

}  // namespace
}  // namespace GAME::test
