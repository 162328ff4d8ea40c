#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/UniqueId.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/sys/Thread.h"
#include "Game/core/AssertHandler.h"
#include "Game/core/util/EnumConverter.h"
#include "Game/core/util/SeamLog.h"
#include "Game/core/util/StringUtil.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

// The same operation named at two call sites (two literals of one text).
void ReportFromAnotherSite() {
    ReportSeam("Who", "Operation::Twice");
}

TEST(SeamLogTest, EachOperationIsReportedOncePerMachineWithItsFirstParticulars) {
    test::TestMachine server;
    test::TestMachine client;
    for (test::TestMachine* tm : {&server, &client}) {
        ON_MACHINE(*tm) {
            for (int call = 0; call < 3; ++call) {
                ReportSeam("Who", "Operation::Twice");
                ReportFromAnotherSite();
                ReportSeamWith("Who", "Operation::WithArguments", "item %d", call);
                ReportSeam("Other", "Operation::Twice");
            }
        }
        ASSERT_EQ(tm->Log().size(), 3u);
        EXPECT_EQ(tm->Log()[0].level, 1);
        EXPECT_EQ(tm->Log()[0].text, "Who: Operation::Twice is not available yet");
        EXPECT_EQ(tm->Log()[1].text, "Who: Operation::WithArguments (item 0) is not available yet");
        EXPECT_EQ(tm->Log()[2].text, "Other: Operation::Twice is not available yet");
    }
}

TEST(UniqueIdTest, GeneratedIdsDifferAndTextIsFixedWidth) {
    UniqueId a, b;
    EXPECT_EQ(a, b);
    EXPECT_TRUE(a.IsNull());
    a.Generate();
    b.Generate();
    EXPECT_NE(a, b);
    EXPECT_FALSE(a.IsNull());
    UniqueId c(0x1, 0xABCDEF, 0xFFFFFFFF, 0);
    EXPECT_EQ(c.ToString(), "0000000100abcdefffffffff00000000");
    UniqueId copy = c;
    EXPECT_EQ(copy, c);
    copy.SetWord(3, 1);
    EXPECT_NE(copy, c);
    EXPECT_EQ(copy.GetWord(3), 1u);
}

TEST(PathHelpers, FileNames) {
    EXPECT_EQ(GetFileName("Records\\Items/sword.dbr"), "sword.dbr");
    EXPECT_EQ(GetFileName("Records\\Items/sword.dbr", true), "sword");
    EXPECT_EQ(GetFileName("Records/Items\\sword.dbr"), "sword.dbr");
    EXPECT_EQ(GetFileName("sword"), "sword");
    EXPECT_EQ(GetFileName("sword", true), "sword");
    EXPECT_EQ(GetFileName("a.b/c.d.e", true), "c.d");
    EXPECT_EQ(GetFileName("dir/"), "");
}

TEST(PathHelpers, ComparisonIgnoresCaseAndSlashKind) {
    EXPECT_TRUE(PathEqualsNoCase("a/B", "A\\b"));
    EXPECT_FALSE(PathEqualsNoCase("a/B", "A\\bc"));
    EXPECT_FALSE(PathEqualsNoCase("abc", "ab"));
    EXPECT_FALSE(PathEqualsNoCase(nullptr, "a"));
    EXPECT_FALSE(PathEqualsNoCase("a", nullptr));
    EXPECT_FALSE(PathEqualsNoCase(nullptr, nullptr));
    EXPECT_TRUE(PathEqualsNoCaseStr("Records/Game/X.dbr", "records\\game\\x.DBR"));
    EXPECT_FALSE(PathEqualsNoCaseStr("Records/Game/X.dbr", "Records/Game/Y.dbr"));
    EXPECT_FALSE(PathEqualsNoCaseStr("a", "a/"));
}

TEST(PathHelpers, NormalisingAndSlashes) {
    std::string path = "Records/Game/X.DBR";
    NormalizePath(path);
    EXPECT_EQ(path, "records\\game\\x.dbr");
    EXPECT_EQ(MakeNormalizedPath("A/B\\C"), "a\\b\\c");
    std::string s = "a/b\\c";
    ToBackslashes(s);
    EXPECT_EQ(s, "a\\b\\c");
    ToForwardSlashes(s);
    EXPECT_EQ(s, "a/b/c");
    EXPECT_EQ(RemoveSlashes("/a\\b/c/"), "abc");
    std::string target = "Pre";
    AppendLowerCase(target, "FiX");
    EXPECT_EQ(target, "Prefix");
}

TEST(TextHelpers, LineBreakCodes) {
    std::wstring t = L"a^nb^Nc";
    RemoveLineBreakCodes(t);
    EXPECT_EQ(t, L"abc");
    t = L"a^xb";
    RemoveLineBreakCodes(t);
    EXPECT_EQ(t, L"a^xb");
    t = L"one\ntwo^^n";  // "^^" is a code of its own; the n after it is plain text
    RemoveLineBreakCodes(t);
    EXPECT_EQ(t, L"onetwo^^n");
    t = L"end^";
    RemoveLineBreakCodes(t);
    EXPECT_EQ(t, L"end^");

    std::wstring many;
    for (int i = 0; i < 53; ++i)
        many += L"x^n";
    RemoveLineBreakCodes(many);
    std::wstring expected(50, L'x');
    for (int i = 0; i < 3; ++i)
        expected += L"x^n";
    EXPECT_EQ(many, expected);
}

TEST(TextHelpers, TrimSpacesStepsOverBraces) {
    std::wstring t = L"  {  Sword of Ra  }  ";
    TrimSpacesAndBraces(t);
    EXPECT_EQ(t, L"{Sword of Ra}");
    t = L"   ";
    TrimSpacesAndBraces(t);
    EXPECT_EQ(t, L"");
    t = std::wstring(60, L' ') + L"x";
    TrimSpacesAndBraces(t);
    EXPECT_EQ(t, std::wstring(10, L' ') + L"x");
}

TEST(TextHelpers, ListsAndNumbers) {
    EXPECT_TRUE(StringListsIntersect({"a", "b"}, {"c", "b"}));
    EXPECT_FALSE(StringListsIntersect({"a", "b"}, {"A", "B"}));
    EXPECT_FALSE(StringListsIntersect({}, {"a"}));
    EXPECT_EQ(IntToString(-42), "-42");
    EXPECT_EQ(FloatToString6(1.5f), "1.5");
    EXPECT_EQ(FloatToString6(5.0f), "5.");
    EXPECT_EQ(FloatToString6(0.0f), "0.");
    EXPECT_EQ(FloatToString6(-0.25f), "-0.25");
    EXPECT_EQ(FloatToString6(123456.0f), "123456.");
    EXPECT_EQ(FloatToString6(1234567.0f), "1.23457e+006");
    EXPECT_EQ(FloatToString6(0.0001f), "0.0001");
    EXPECT_EQ(FloatToString6(0.00001f), "1.e-005");
    EXPECT_EQ(FloatToString(3.14159f, 3), "3.14");
}

TEST(EnumConverterTest, NamesAndValues) {
    EXPECT_EQ(GetStringAsEnum<PlayerCharacterClassType>("Warrior"),
              PlayerCharacterClassType::Warrior);
    EXPECT_EQ(GetStringAsEnum<PlayerCharacterClassType>("Sorceress"),
              PlayerCharacterClassType::Sorceress);
    EXPECT_EQ(static_cast<int>(GetStringAsEnum<PlayerCharacterClassType>("warrior")), -1);
    EXPECT_EQ(static_cast<int>(GetStringAsEnum<PlayerCharacterClassType>("Warriors")), -1);
    EXPECT_EQ(GetStringAsEnum<ActorMountType>("Centaur"), ActorMountType::Centaur);
    EXPECT_EQ(static_cast<int>(GetStringAsEnum<ActorMountType>("Horse")), -1);
    EXPECT_EQ(GetStringAsEnum<CharacterPathGenerationStyle>("Sheep"),
              CharacterPathGenerationStyle::Sheep);
    EXPECT_EQ(GetStringAsEnum<CharacterPathGenerationStyle>("Wolf"),
              CharacterPathGenerationStyle::Default);
    EXPECT_EQ(GetStringAsEnum<CharacterPathGenerationStyle>(""),
              CharacterPathGenerationStyle::Default);

    EXPECT_EQ(GetEnumAsString(PlayerCharacterClassType::Archer), "Archer");
    EXPECT_EQ(GetEnumAsString(static_cast<PlayerCharacterClassType>(3)), "None");
    EXPECT_EQ(GetEnumAsString(PlayerCharacterClassType::None), "None");
    EXPECT_EQ(GetEnumAsString(ActorMountType::Centaur), "Centaur");
    EXPECT_EQ(GetEnumAsString(static_cast<ActorMountType>(1)), "None");
    EXPECT_EQ(GetEnumAsString(CharacterPathGenerationStyle::Sheep), "Sheep");
    EXPECT_EQ(GetEnumAsString(static_cast<CharacterPathGenerationStyle>(7)), "None");
}

TEST(BinaryWriterTest, FormatsInMemory) {
    test::TestMachine tm;
    BinaryWriter w;
    EXPECT_TRUE(w.WriteString(""));
    EXPECT_EQ(w.GetBuffer(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(w.WriteUInt16(0x1234));
    EXPECT_TRUE(w.WriteBool(true));
    EXPECT_TRUE(w.WriteString("ab"));
    EXPECT_EQ(w.GetBuffer(), (std::vector<std::uint8_t>{0, 0, 0, 0, 0x34, 0x12, 1, 0, 0, 0, 2, 0, 0,
                                                        0, 'a', 'b'}));
}

TEST(BinaryWriterTest, FailedAllocationIsReportedAndSticks) {
    test::TestMachine tm;
    BinaryWriter w;
    ASSERT_TRUE(w.WriteUInt32(7));
    EXPECT_FALSE(w.Reserve(std::numeric_limits<std::size_t>::max() / 2));
    EXPECT_EQ(tm.CountLog("Memory allocation of"), 1);
    EXPECT_TRUE(w.Failed());
    // Later writes are refused, not silently dropped.
    EXPECT_FALSE(w.WriteUInt32(8));
    EXPECT_FALSE(w.WriteString("x"));
    EXPECT_EQ(w.GetPosition(), 4u);
}

TEST(BinaryWriterTest, FileAppearsOnlyWhenCommitted) {
    test::TestMachine tm;
    const auto dir = std::filesystem::temp_directory_path() / "game_core_writer_test";
    std::filesystem::create_directories(dir);
    const auto path = dir / "state.bin";
    std::filesystem::remove(path);
    {
        BinaryWriter w;
        ASSERT_TRUE(w.OpenFile(path));
        w.WriteUInt32(1);
        EXPECT_FALSE(std::filesystem::exists(path));
    }  // dropped without a commit
    EXPECT_FALSE(std::filesystem::exists(path));
    {
        BinaryWriter w;
        ASSERT_TRUE(w.OpenFile(path));
        w.WriteString("saved");
        EXPECT_TRUE(w.Commit());
    }
    BinaryReader r = BinaryReader::FromFile(path);
    std::string text;
    EXPECT_TRUE(r.ReadString(text));
    EXPECT_EQ(text, "saved");
    std::filesystem::remove_all(dir);
}

class CountingThread : public Thread {
public:
    std::atomic<int> runs{0};
    std::atomic<Machine*> machine{nullptr};

protected:
    void Run() override {
        SetName("CountingThreadWithALongName");
        machine = &Machine::Current();
        gEngine->Log(0, "worker ran");
        ++runs;
    }
};

TEST(ThreadTest, RunsOnTheStartingMachineAndWaits) {
    test::TestMachine tm;
    CountingThread t;
    EXPECT_FALSE(t.Wait());  // nothing started
    t.SetPriority(0);
    EXPECT_EQ(t.GetPriority(), Thread::kPriorityLowest);
    t.SetPriority(2);
    EXPECT_EQ(t.GetPriority(), Thread::kPriorityAboveNormal);
    t.SetPriority(7);
    EXPECT_EQ(t.GetPriority(), Thread::kPriorityNormal);
    t.Start();
    EXPECT_TRUE(t.Wait());
    EXPECT_EQ(t.runs, 1);
    EXPECT_EQ(t.machine.load(), &tm.machine());
    EXPECT_EQ(tm.CountLog("worker ran"), 1);
    EXPECT_FALSE(t.Wait());  // already waited for
    t.Start();
    EXPECT_TRUE(t.Wait());
    EXPECT_EQ(t.runs, 2);
}

// A worker that holds until released; the first one started lingers after the release.
class GatedThread : public Thread {
public:
    static inline std::atomic<int> started{0};
    static inline std::atomic<int> finished{0};
    static inline std::atomic<bool> release{false};
    static void Reset() {
        started = 0;
        finished = 0;
        release = false;
    }
    static void AwaitStarted(int count) {
        while (started.load() < count)
            std::this_thread::yield();
    }

protected:
    void Run() override {
        const int order = started++;
        while (!release.load())
            std::this_thread::yield();
        if (order == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ++finished;
    }
};

TEST(ThreadTest, NoWorkerOutlivesItsObject) {
    test::TestMachine tm;
    {
        // Started twice: Wait covers the first worker as well as the second.
        GatedThread::Reset();
        GatedThread t;
        t.Start();
        GatedThread::AwaitStarted(1);
        t.Start();
        GatedThread::AwaitStarted(2);
        GatedThread::release = true;
        EXPECT_TRUE(t.Wait());
        EXPECT_EQ(GatedThread::finished.load(), 2);
        EXPECT_FALSE(t.Wait());
    }
    EXPECT_EQ(tm.CountLog("still runs"), 0);
    {
        // Destroyed without Wait: the destructor waits and says so.
        GatedThread::Reset();
        auto t = std::make_unique<GatedThread>();
        t->Start();
        GatedThread::AwaitStarted(1);
        GatedThread::release = true;
        t.reset();
        EXPECT_EQ(GatedThread::finished.load(), 1);
    }
    EXPECT_EQ(tm.CountLog("Thread destroyed while its worker still runs"), 1);
}

void RecordAssert(const char*) {}

TEST(AssertHandlerTest, HooksAreKeptPerMachine) {
    test::TestMachine a;
    InitializeAssertHandler(&RecordAssert, true, false);
    SetAssertHandlerLogPath("logs/assert.txt");
    EXPECT_EQ(GetAssertHandlerSettings().handler, &RecordAssert);
    EXPECT_TRUE(GetAssertHandlerSettings().firstFlag);
    EXPECT_FALSE(GetAssertHandlerSettings().secondFlag);
    EXPECT_EQ(GetAssertHandlerSettings().logPath, "logs/assert.txt");
    test::TestMachine b;
    EXPECT_EQ(GetAssertHandlerSettings().handler, nullptr);
    SetAssertHandlerLogPath(nullptr);
    EXPECT_EQ(GetAssertHandlerSettings().logPath, "");
}

}  // namespace
}  // namespace GAME
