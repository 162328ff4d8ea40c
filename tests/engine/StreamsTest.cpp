#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Engine/text/Crc32.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/text/Name.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(BinaryStream, WritesLittleEndianAndReadsBack) {
    TestMachine tm;
    BinaryWriter w;
    w.WriteUInt32(258);
    w.WriteUInt16(0x1234);
    w.WriteBool(true);
    w.WriteFloat(1.0f);
    w.WriteString("ab");
    const std::vector<std::uint8_t> expected = {0x02, 0x01, 0,    0,    0x34, 0x12, 1, 0, 0,   0,
                                                0,    0,    0x80, 0x3F, 2,    0,    0, 0, 'a', 'b'};
    EXPECT_EQ(w.GetBuffer(), expected);
    BinaryReader r(w.GetBuffer());
    std::uint32_t u;
    std::uint16_t h;
    bool b;
    float f;
    std::string s;
    ASSERT_TRUE(r.ReadUInt32(u) && r.ReadUInt16(h) && r.ReadBool(b) && r.ReadFloat(f) &&
                r.ReadString(s));
    EXPECT_EQ(u, 258u);
    EXPECT_EQ(h, 0x1234);
    EXPECT_TRUE(b);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(s, "ab");
    EXPECT_EQ(r.GetRemaining(), 0u);
}

TEST(BinaryStream, AShortReadFailsLeavesTheTargetAndSticks) {
    TestMachine tm;
    const std::uint8_t bytes[] = {0x00, 0x01, 0x00, 0x00, 'x'};  // a length past the end
    BinaryReader r(bytes, sizeof bytes);
    std::string s = "kept";
    EXPECT_FALSE(r.ReadString(s));
    EXPECT_EQ(s, "kept");
    std::uint16_t h = 7;
    EXPECT_FALSE(r.ReadUInt16(h));
    EXPECT_EQ(h, 7);
    EXPECT_TRUE(r.Failed());
    EXPECT_GE(tm.CountLog("past the end"), 1);
}

TEST(BinaryStream, StringsOverOneMebibyteAreRefusedEvenWhenTheBytesAreThere) {
    TestMachine tm;
    constexpr std::size_t kLimit = 1048576;
    for (const std::size_t length : {kLimit, kLimit + 1}) {
        // Written by hand: the writer refuses what the reader would.
        BinaryWriter w;
        w.WriteUInt32(static_cast<std::uint32_t>(length));
        w.WriteBytes(std::string(length, 'z').data(), length);
        BinaryReader r(w.GetBuffer());
        std::string s = "kept";
        const bool accepted = length <= kLimit;
        EXPECT_EQ(r.ReadString(s), accepted) << length;
        EXPECT_EQ(r.Failed(), !accepted);
        EXPECT_EQ(s.size(), accepted ? length : 4u);
    }
    EXPECT_EQ(tm.CountLog("BinaryReader: string of 1048577 bytes at offset 0 is over"), 1);

    BinaryWriter w;
    EXPECT_TRUE(w.WriteString(std::string(kLimit, 'z')));
    EXPECT_FALSE(w.WriteString(std::string(kLimit + 1, 'z')));
    EXPECT_TRUE(w.Failed());
    EXPECT_EQ(w.GetBuffer().size(), 4 + kLimit);
    EXPECT_EQ(tm.CountLog("BinaryWriter: string of 1048577 bytes"), 1);
}

TEST(BinaryStream, FilesAppearOnlyWhenComplete) {
    TestMachine tm;
    const auto dir = std::filesystem::temp_directory_path() / "game_stream_test";
    std::filesystem::create_directories(dir);
    const auto path = dir / "state.bin";
    { std::ofstream(path) << "old"; }
    {
        BinaryWriter w;
        ASSERT_TRUE(w.OpenFile(path));
        w.WriteUInt32(5);
        // destroyed without Commit: the old file stays
    }
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    BinaryWriter w;
    ASSERT_TRUE(w.OpenFile(path));
    w.WriteUInt32(5);
    ASSERT_TRUE(w.Commit());
    EXPECT_EQ(std::filesystem::file_size(path), 4u);
    EXPECT_FALSE(std::filesystem::exists(dir / "state.bin.tmp"));
    BinaryWriter bad;
    EXPECT_FALSE(bad.OpenFile(dir / "missing-folder" / "x.bin"));
    EXPECT_FALSE(bad.WriteUInt32(1));
    std::filesystem::remove_all(dir);
}

void StreamCharacter(IOStream& s, std::int32_t& level, std::string& name, std::wstring& wide,
                     bool& flag, UniqueId& id, float& speed) {
    s.StreamInt("level", level);
    s.BeginBlock("inner");
    s.StreamString("name", name);
    s.StreamWString("wide", wide);
    s.EndBlock();
    s.StreamBool("flag", flag);
    s.StreamUniqueId("id", id);
    s.StreamFloat("speed", speed);
}

TEST(IOStream, OneRoutineWritesAndReads) {
    TestMachine tm;
    std::int32_t level = -3;
    std::string name = "Hero";
    std::wstring wide = L"H\u00e9ros";
    bool flag = true;
    UniqueId id(1, 2, 3, 4);
    float speed = 1.25f;
    IOStream out;
    StreamCharacter(out, level, name, wide, flag, id, speed);
    IOStream in(out.GetBytes());
    std::int32_t level2 = 0;
    std::string name2;
    std::wstring wide2;
    bool flag2 = false;
    UniqueId id2;
    float speed2 = 0;
    StreamCharacter(in, level2, name2, wide2, flag2, id2, speed2);
    EXPECT_EQ(level2, -3);
    EXPECT_EQ(name2, "Hero");
    EXPECT_EQ(wide2, wide);
    EXPECT_TRUE(flag2);
    EXPECT_EQ(id2, id);
    EXPECT_EQ(speed2, 1.25f);
    EXPECT_FALSE(in.Failed());
}

TEST(IOStream, AbsentKeysKeepValuesAndUnreadOnesAreSkipped) {
    TestMachine tm;
    IOStream out;
    std::int32_t a = 1, b = 2, c = 3;
    out.StreamInt("a", a);
    out.BeginBlock("block");
    out.StreamInt("unread", b);
    out.EndBlock();
    out.StreamInt("c", c);
    IOStream in(out.GetBytes());
    std::int32_t ra = 0, rmissing = 42, rc = 0;
    EXPECT_TRUE(in.StreamInt("a", ra));
    EXPECT_FALSE(in.BeginBlock("otherBlock"));
    EXPECT_FALSE(in.StreamInt("unread", rmissing));  // inside an absent block nothing is found
    in.EndBlock();
    EXPECT_TRUE(in.BeginBlock("block"));
    EXPECT_FALSE(in.StreamInt("missing", rmissing));
    EXPECT_TRUE(in.EndBlock());
    EXPECT_TRUE(in.StreamInt("c", rc));
    EXPECT_EQ(ra, 1);
    EXPECT_EQ(rmissing, 42);
    EXPECT_EQ(rc, 3);
}

TEST(IOStream, TruncatedBytesFailWithoutReadingPastTheEnd) {
    TestMachine tm;
    IOStream out;
    std::string text(100, 'z');
    out.StreamString("text", text);
    std::vector<std::uint8_t> bytes = out.GetBytes();
    bytes.resize(bytes.size() - 10);
    IOStream in(bytes);
    std::string read = "kept";
    EXPECT_FALSE(in.StreamString("text", read));
    EXPECT_EQ(read, "kept");
    EXPECT_TRUE(in.Failed());
}

TEST(Text, NamesAreInternedAndCrcIsTheCommonOne) {
    EXPECT_EQ(Name::Create("Hit"), Name::Create("Hit"));
    EXPECT_NE(Name::Create("Hit"), Name::Create("hit"));
    EXPECT_EQ(Name::Create(""), Name());
    EXPECT_TRUE(Name::Find("NeverMadeBefore123").IsEmpty());
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
}

TEST(Text, TagsFormatWithTypedArguments) {
    TestMachine tm;
    auto& texts = LocalizationManager::Instance();
    ASSERT_EQ(texts.LoadFolder(TestMachine::TestDataDir() + "/Text"), 1);
    EXPECT_EQ(texts.Format("tagHello", "Ann", 12), L"Hello Ann, you have 12 gold");
    EXPECT_EQ(texts.Format("tagPercent", 12.25), L"12.2% more");
    // A mismatched argument is converted, a missing one formats as nothing.
    EXPECT_EQ(texts.Format("tagHello", 3.0, "x"), L"Hello 3, you have  gold");
    EXPECT_EQ(texts.Format("tagHello"), L"Hello , you have  gold");
    EXPECT_EQ(texts.Format("tagUnknown", 1), L"tagUnknown");
}

TEST(Text, StringsTakePrecisionWidthAndArgumentNumbersAsPrintfDoes) {
    TestMachine tm;
    auto& texts = LocalizationManager::Instance();
    struct Case {
        const wchar_t* format;
        const wchar_t* expected;
    };
    // Arguments: "Bow", "Fine", "Keen", "of the Bear".
    const Case cases[] = {
        {L"%s%.0s", L"Bow"},
        {L"%.2s|%6s|%-6s|", L"Bo|  Fine|Keen  |"},
        {L"%3$s %1$s %4$s", L"Keen Bow of the Bear"},
        {L"%4$s %1$s", L"of the Bear Bow"},
        {L"%9$s[%1$s]", L"[Bow]"},  // past the arguments: nothing
        {L"%2$5.2s|", L"   Fi|"},
    };
    for (const Case& c : cases) {
        texts.SetText("tagCase", c.format);
        EXPECT_EQ(texts.Format("tagCase", "Bow", "Fine", "Keen", "of the Bear"), c.expected)
            << LocalizationManager::ToChar(c.format);
    }
}

std::wstring Printed(const char* format, double value) {
    std::vector<char> buffer(4096);
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return LocalizationManager::ToWChar(buffer.data());
}

TEST(Text, HugeWidthsAndPrecisionsAreBoundedAndLongResultsKeptWhole) {
    TestMachine tm;
    auto& texts = LocalizationManager::Instance();
    texts.SetText("tagHuge", L"[%.888884888e]");
    texts.SetText("tagWide", L"[%-99999999999d|%099.1f]");
    texts.SetText("tagLong", L"%.32f");

    EXPECT_EQ(texts.Format("tagHuge", 1.5), L"[" + Printed("%.32e", 1.5) + L"]");
    EXPECT_EQ(tm.CountLog("tagHuge"), 1);
    const std::wstring wide = texts.Format("tagWide", 7, 2.0);
    EXPECT_EQ(wide, L"[7" + std::wstring(63, L' ') + L"|" + Printed("%064.1f", 2.0) + L"]");
    EXPECT_EQ(tm.CountLog("tagWide"), 1);

    // Within the bounds: exact, not logged, and not cut at any buffer size.
    const std::wstring longest = texts.Format("tagLong", 1e300);
    EXPECT_EQ(longest.size(), 301u + 33u);
    EXPECT_EQ(longest, Printed("%.32f", 1e300));
    EXPECT_EQ(tm.CountLog("tagLong"), 0);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// A copy of a reader over its own bytes must not read the bytes of the reader it came from.
TEST(BinaryStream, ACopiedReaderOwnsItsBytes) {
    test::TestMachine tm;
    std::optional<BinaryReader> original(std::in_place, std::vector<std::uint8_t>{7, 0, 0, 0, 9});
    std::uint32_t first = 0;
    ASSERT_TRUE(original->ReadUInt32(first));
    BinaryReader copy(*original);
    BinaryReader assigned(nullptr, 0);
    assigned = *original;
    original.reset();
    std::uint8_t last = 0;
    EXPECT_TRUE(copy.ReadBytes(&last, 1));
    EXPECT_EQ(last, 9);
    last = 0;
    EXPECT_TRUE(assigned.ReadBytes(&last, 1));
    EXPECT_EQ(last, 9);
    BinaryReader moved(std::move(copy));
    EXPECT_EQ(moved.GetRemaining(), 0u);
}

TEST(BinaryStream, AnUnreadableFileIsReportedByName) {
    test::TestMachine tm;
    BinaryReader reader = BinaryReader::FromFile("/nonexistent/dir/state.bin");
    EXPECT_TRUE(reader.Failed());
    std::uint32_t value = 3;
    EXPECT_FALSE(reader.ReadUInt32(value));
    EXPECT_EQ(value, 3u);
    EXPECT_EQ(tm.CountLog("/nonexistent/dir/state.bin"), 1);
}

TEST(IOStream, WideTextsKeepCharactersBeyondSixteenBits) {
    test::TestMachine tm;
    std::wstring text = L"a\U0001F600b\u00e9";
    IOStream out;
    out.StreamWString("name", text);
    IOStream in(out.GetBytes());
    std::wstring read;
    ASSERT_TRUE(in.StreamWString("name", read));
    EXPECT_EQ(read, text);
}

TEST(IOStream, AnOverlongKeyIsReportedAndStillReadsBack) {
    test::TestMachine tm;
    const std::string key(70000, 'k');
    std::int32_t value = 17;
    IOStream out;
    out.StreamInt(key.c_str(), value);
    EXPECT_EQ(tm.CountLog("bytes long"), 1);
    IOStream in(out.GetBytes());
    std::int32_t read = 0;
    EXPECT_TRUE(in.StreamInt(key.c_str(), read));
    EXPECT_EQ(read, 17);
}

TEST(IOStream, MalformedBytesAreReportedWithTheKeyLookedFor) {
    test::TestMachine tm;
    IOStream in(std::vector<std::uint8_t>{0x63, 0, 0});  // an entry of no known kind
    std::int32_t value = 5;
    EXPECT_FALSE(in.StreamInt("health", value));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(tm.CountLog("\"health\""), 1);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

TEST(IOStream, AnUnmatchedEndBlockIsIgnoredAndLaterPropertiesStayReadable) {
    test::TestMachine tm;
    IOStream out;
    std::int32_t a = 1, b = 2;
    out.StreamInt("a", a);
    EXPECT_FALSE(out.EndBlock());
    out.StreamInt("b", b);
    IOStream in(out.GetBytes());
    std::int32_t ra = 0, rb = 0;
    EXPECT_TRUE(in.StreamInt("a", ra));
    EXPECT_FALSE(in.EndBlock());
    EXPECT_TRUE(in.StreamInt("b", rb));
    EXPECT_EQ(ra, 1);
    EXPECT_EQ(rb, 2);
    EXPECT_EQ(tm.CountLog("never begun"), 2);
}

}  // namespace
}  // namespace GAME
