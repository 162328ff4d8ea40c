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

}  // namespace
}  // namespace GAME
