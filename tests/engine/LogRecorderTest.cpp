#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/sys/LogRecorder.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

// A line logged inside two recorders reaches each recorder up to the first that keeps it to
// itself, and the log only when every recorder passes it on; replayed, it is logged again.
TEST(LogRecorder, KeepsLinesUpToTheFirstQuietRecorderAndReplaysThem) {
    const struct {
        bool outerPasses;
        bool innerPasses;
        std::size_t outerKept;
        int logged;
    } cases[] = {
        {true, true, 1, 1},
        {true, false, 0, 0},
        {false, true, 1, 0},
        {false, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.outerPasses << c.innerPasses);
        TestMachine tm("");
        std::vector<LoggedLine> outerLines, innerLines;
        {
            LogRecorder outer(c.outerPasses);
            {
                LogRecorder inner(c.innerPasses);
                gEngine->LogChannel(1, "chan", "field %s is bad", "x");
                innerLines = inner.Take();
            }
            gEngine->Log(0, "after the inner one");
            outerLines = outer.Take();
        }
        ASSERT_EQ(innerLines.size(), 1u);
        EXPECT_EQ(innerLines[0].level, 1);
        EXPECT_TRUE(innerLines[0].hasChannel);
        EXPECT_EQ(innerLines[0].channel, "chan");
        EXPECT_EQ(innerLines[0].text, "field x is bad");
        EXPECT_EQ(outerLines.size(), c.outerKept + 1);
        EXPECT_EQ(tm.CountLog("field x is bad"), c.logged);
        EXPECT_EQ(tm.CountLog("after the inner one"), c.outerPasses ? 1 : 0);

        tm.ClearLog();
        LogRecorder::Replay(innerLines);
        ASSERT_EQ(tm.Log().size(), 1u);
        EXPECT_EQ(tm.Log()[0].level, 1);
        EXPECT_EQ(tm.Log()[0].channel, "chan");
        EXPECT_EQ(tm.Log()[0].text, "field x is bad");
    }
}

// A sink that takes nothing spares the line only while no recorder wants it, and the promise
// goes with that sink: the next one set, or the stderr default, gets every line again.
TEST(LogRecorder, SinkTakingNothingStillFeedsRecordersAndEndsWithItsSink) {
    const struct {
        bool recording;
        bool nextTakesNothing;
        bool nextIsDefault;
        int nextGets;
        bool stderrGets;
    } cases[] = {
        {true, false, false, 1, false},
        {false, false, false, 1, false},
        {false, true, true, 0, true},
        {true, false, true, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recording << c.nextTakesNothing << c.nextIsDefault);
        TestMachine tm("");
        int taken = 0;
        gEngine->SetLogSink([&taken](int, const char*, const std::string&) { ++taken; }, true);
        if (c.recording) {
            LogRecorder recorder(true);
            gEngine->LogChannel(1, "chan", "field %s is bad", "x");
            const std::vector<LoggedLine> lines = recorder.Take();
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].text, "field x is bad");
        } else {
            gEngine->Log(0, "nobody reads %d", 1);
        }
        EXPECT_LE(taken, 1);

        int nextGot = 0;
        Engine::LogSink next;
        if (!c.nextIsDefault)
            next = [&nextGot](int, const char*, const std::string&) { ++nextGot; };
        const Engine::LogSink previous = gEngine->SetLogSink(next, c.nextTakesNothing);
        EXPECT_TRUE(static_cast<bool>(previous));
        testing::internal::CaptureStderr();
        gEngine->Log(0, "heard %d", 2);
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(nextGot, c.nextGets);
        EXPECT_EQ(printed.find("heard 2") != std::string::npos, c.stderrGets);
    }
}

}  // namespace
}  // namespace GAME
