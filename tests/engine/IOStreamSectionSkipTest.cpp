// Passing over a section nobody reads: the reader lands exactly after it, so a later block of
// the same key is read from its own place.
#include <gtest/gtest.h>

#include "Engine/streams/IOStream.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

IOStream TwoSlotSections() {
    IOStream out;
    std::int32_t first = 1, second = 2, nested = 3;
    out.BeginBlock("slots");
    out.StreamInt("value", first);
    out.BeginBlock("slots");
    out.StreamInt("value", nested);
    out.EndBlock();
    out.EndBlock();
    out.BeginBlock("slots");
    out.StreamInt("value", second);
    out.EndBlock();
    return out;
}

TEST(IOStreamSectionSkip, ASkippedBlockIsPassedWholeAndTheNextOfItsKeyIsRead) {
    TestMachine tm;
    const IOStream out = TwoSlotSections();
    IOStream in(out.GetBytes());
    ASSERT_TRUE(in.SkipNextBlock());
    std::int32_t value = 0;
    ASSERT_TRUE(in.BeginBlock("slots"));
    EXPECT_TRUE(in.StreamInt("value", value));
    EXPECT_TRUE(in.EndBlock());
    EXPECT_EQ(value, 2);
    EXPECT_EQ(in.GetRemainingBytes(), 0u);
    // Nothing left to skip: nothing moves and nothing fails.
    EXPECT_FALSE(in.SkipNextBlock());
    EXPECT_FALSE(in.Failed());

    // Without the skip the reader enters the first block of the key.
    IOStream unskipped(out.GetBytes());
    unskipped.BeginBlock("slots");
    unskipped.StreamInt("value", value);
    EXPECT_EQ(value, 1);
}

TEST(IOStreamSectionSkip, SkippingStopsAtTheEndOfTheCurrentBlockAndRefusesCutBlocks) {
    TestMachine tm;
    std::vector<std::uint8_t> cut = TwoSlotSections().GetBytes();
    cut.resize(cut.size() - 3);  // the last block loses its end
    IOStream in(cut);
    in.SetName("cut.bin");
    ASSERT_TRUE(in.BeginBlock("slots"));
    EXPECT_TRUE(in.SkipNextBlock());   // the nested block
    EXPECT_FALSE(in.SkipNextBlock());  // the next one lies outside the current block
    EXPECT_TRUE(in.EndBlock());
    EXPECT_FALSE(in.Failed());
    // Reading into a block whose end is missing fails rather than passing as complete.
    ASSERT_TRUE(in.BeginBlock("slots"));
    EXPECT_FALSE(in.EndBlock());
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(tm.CountLog("IOStream cut.bin"), 1);
}

}  // namespace
}  // namespace GAME::test
