#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "ProbePacket.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The body already prepared in the packet's out buffer.
Bytes PreparedBody(NetPacket& packet) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return Bytes(bytes, bytes + packet.GetOutBufferSize());
}

// More ids than the header holds in place: every reference is kept, in body order, and the
// required one still decides whether the packet runs. A later, shorter body starts afresh.
TEST(NetCodecStorage, ManyObjectReferencesAreKeptInOrderAndForgottenOnTheNextRead) {
    TestMachine tm;
    ProbePacket sent;
    SmartObjectId actor(&sent);
    SmartObjectIdList targets(&sent);
    actor = 7;
    std::vector<std::uint32_t> many;
    for (std::uint32_t id = 100; id < 140; ++id)
        many.push_back(id);
    targets = many;
    sent.write = [&](NetPacketOutBuffer& out) {
        out.Add(&actor);
        out.Add(&targets);
    };
    sent.PrepareOutBuffer();
    const Bytes longBody = PreparedBody(sent);

    ProbePacket received;
    SmartObjectId a(&received);
    SmartObjectIdList t(&received);
    received.read = [&](NetPacketInBuffer& in) {
        in.Remove(&a);
        in.Remove(&t);
    };
    received.CopyInbound(longBody.data(), static_cast<int>(longBody.size()));
    ASSERT_TRUE(received.IsInboundValid());
    EXPECT_EQ(t.GetIds(), many);
    const auto& refs = received.GetHeader().objects;
    ASSERT_EQ(refs.size(), 41u);
    EXPECT_EQ(refs[0].id, 7u);
    EXPECT_TRUE(refs[0].required);
    for (std::size_t i = 1; i < refs.size(); ++i) {
        EXPECT_EQ(refs[i].id, many[i - 1]);
        EXPECT_FALSE(refs[i].required);
    }
    EXPECT_FALSE(received.CheckObjects(0));
    Singleton<ObjectManager>::Get().CreateObject<Actor>(7);
    EXPECT_TRUE(received.CheckObjects(0));

    targets = std::vector<std::uint32_t>{1, 2};
    actor = 8;
    sent.PrepareOutBuffer();
    const Bytes shortBody = PreparedBody(sent);
    received.CopyInbound(shortBody.data(), static_cast<int>(shortBody.size()));
    ASSERT_TRUE(received.IsInboundValid());
    EXPECT_EQ(t.GetIds(), (std::vector<std::uint32_t>{1, 2}));
    ASSERT_EQ(received.GetHeader().objects.size(), 3u);
    EXPECT_EQ(received.GetHeader().objects[0].id, 8u);
    EXPECT_FALSE(received.CheckObjects(0));  // 8 names nothing
}

// A list whose count runs past the body leaves the holder's ids as they were.
TEST(NetCodecStorage, AnIdListThatDoesNotFitLeavesItsTargetAlone) {
    TestMachine tm;
    const Bytes body{3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
    ProbePacket received;
    SmartObjectIdList t(&received);
    t = std::vector<std::uint32_t>{9, 9};
    std::vector<std::uint32_t> words{5};
    received.read = [&](NetPacketInBuffer& in) { in.Remove(&t); };
    received.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_FALSE(received.IsInboundValid());
    EXPECT_EQ(t.GetIds(), (std::vector<std::uint32_t>{9, 9}));
    EXPECT_TRUE(received.GetHeader().objects.empty());
    EXPECT_FALSE(Decode(body, [&](NetPacketInBuffer& in) { in.RemoveIdList(&words); }));
    EXPECT_EQ(words, (std::vector<std::uint32_t>{5}));
}

// The out buffer grows past its first size without losing bytes, writes each body afresh and
// is not shared with a copy of the packet.
TEST(NetCodecStorage, TheOutBufferGrowsKeepsOnlyTheLatestBodyAndIsNotCopied) {
    TestMachine tm;
    std::string text(1000, 'x');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);
    ProbePacket packet;
    packet.write = [&](NetPacketOutBuffer& out) {
        out.Write8(0xAB);
        out.Add(text);
        out.Write32(0xDEADBEEFu);
    };
    ASSERT_EQ(packet.PrepareOutBuffer(), 1u + 4 + 1000 + 4);
    const Bytes body = PreparedBody(packet);
    EXPECT_EQ(body[0], 0xAB);
    EXPECT_EQ(Bytes(body.begin() + 1, body.begin() + 5), (Bytes{0xE8, 0x03, 0, 0}));
    EXPECT_EQ(std::string(body.begin() + 5, body.begin() + 1005), text);
    EXPECT_EQ(Bytes(body.end() - 4, body.end()), (Bytes{0xEF, 0xBE, 0xAD, 0xDE}));

    ProbePacket copy(packet);
    EXPECT_EQ(copy.GetOutBufferSize(), 0u);

    text = "hi";
    ASSERT_EQ(packet.PrepareOutBuffer(), 1u + 4 + 2 + 4);
    EXPECT_EQ(PreparedBody(packet), (Bytes{0xAB, 2, 0, 0, 0, 'h', 'i', 0xEF, 0xBE, 0xAD, 0xDE}));
}

// Fields of every size, texts and id lists of every short length, across several growths of the
// out buffer: the body is the bytes written one by one, little-endian, and writing it again
// into the grown buffer gives the same body.
TEST(NetCodecStorage, MixedFieldsAcrossGrowthsAreTheBytesInOrder) {
    TestMachine tm;
    Bytes expected;
    auto put = [&expected](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            expected.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    auto text = [](std::uint32_t i, std::uint32_t length) {
        std::string t;
        for (std::uint32_t k = 0; k < length; ++k)
            t.push_back(static_cast<char>('a' + (i + k) % 26));
        return t;
    };
    for (std::uint32_t i = 0; i < 120; ++i) {
        put(i, 1);
        put(i * 771u, 2);
        put(0x3F800000u + i, 4);  // the float's bits
        const std::string raw = text(i, i % 21);
        put(raw.size(), 2);
        expected.insert(expected.end(), raw.begin(), raw.end());
        put(i % 7, 4);
        for (std::uint32_t k = 0; k < i % 7; ++k)
            put(1000 * i + k, 4);
        const std::string name = text(i + 5, i % 19);
        put(name.size(), 4);
        expected.insert(expected.end(), name.begin(), name.end());
    }
    ProbePacket packet;
    packet.write = [&](NetPacketOutBuffer& out) {
        for (std::uint32_t i = 0; i < 120; ++i) {
            out.Write8(static_cast<std::uint8_t>(i));
            out.Write16(static_cast<std::uint16_t>(i * 771u));
            float value;
            const std::uint32_t bits = 0x3F800000u + i;
            std::memcpy(&value, &bits, 4);
            out.Write32(value);
            out.AddRaw(text(i, i % 21));
            std::vector<std::uint32_t> ids;
            for (std::uint32_t k = 0; k < i % 7; ++k)
                ids.push_back(1000 * i + k);
            out.AddIdList(ids);
            out.AddFileName(text(i + 5, i % 19));
        }
    };
    ASSERT_EQ(packet.PrepareOutBuffer(), expected.size());
    EXPECT_EQ(PreparedBody(packet), expected);
    ASSERT_EQ(packet.PrepareOutBuffer(), expected.size());
    EXPECT_EQ(PreparedBody(packet), expected);
}

}  // namespace
}  // namespace GAME::test
