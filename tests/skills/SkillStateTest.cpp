#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Game/skills/manager/SkillState.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

std::vector<std::uint32_t> Words(const BinaryWriter& writer) {
    const auto& bytes = writer.GetBuffer();
    std::vector<std::uint32_t> words;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
        words.push_back(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 |
                        static_cast<std::uint32_t>(bytes[i + 3]) << 24);
    return words;
}

TEST(SkillStateForms, BinaryFormIsLittleEndianWordsWithBoolsAsZeroOrOne) {
    TestMachine tm;
    BinaryWriter writer;
    SkillState{7, true}.SaveState(writer);
    SkillActiveState{2, false, true}.SaveState(writer);
    SkillActiveState{-3, true, false}.SaveState(writer);
    ASSERT_EQ(writer.GetBuffer().size(), 8u + 12u + 12u);
    EXPECT_EQ(Words(writer), (std::vector<std::uint32_t>{7, 1, 2, 0, 1, 0xFFFFFFFDu, 1, 0}));

    BinaryReader reader(writer.GetBuffer());
    SkillState state;
    SkillActiveState first;
    SkillActiveState second;
    ASSERT_TRUE(state.RestoreState(reader));
    ASSERT_TRUE(first.RestoreState(reader));
    ASSERT_TRUE(second.RestoreState(reader));
    EXPECT_EQ(state, SkillState(7, true));
    EXPECT_EQ(first, SkillActiveState(2, false, true));
    EXPECT_EQ(second, SkillActiveState(-3, true, false));
    EXPECT_EQ(reader.GetRemaining(), 0u);
}

TEST(SkillStateForms, ShortReadLeavesTheStateAsItWasAndAnyNonZeroWordIsTrue) {
    TestMachine tm;
    const std::uint8_t bytes[] = {9, 0, 0, 0, 0, 2, 0, 0, 5, 0};
    BinaryReader reader(bytes, sizeof bytes);
    SkillState state{4, false};
    ASSERT_TRUE(state.RestoreState(reader));
    EXPECT_EQ(state, SkillState(9, true));
    SkillActiveState active{1, true, true};
    EXPECT_FALSE(active.RestoreState(reader));
    EXPECT_EQ(active, SkillActiveState(1, true, true));
}

TEST(SkillStateForms, StreamFormRoundTripsUnderItsKeys) {
    TestMachine tm;
    IOStream out;
    SkillState level{12, true};
    SkillActiveState active{-1, true, true};
    level.StreamProperties(out);
    active.StreamProperties(out);

    IOStream in(out.GetBytes());
    SkillState levelBack;
    SkillActiveState activeBack;
    levelBack.StreamProperties(in);
    activeBack.StreamProperties(in);
    EXPECT_EQ(levelBack, level);
    EXPECT_EQ(activeBack, active);

    // Keys are looked up by name: another record's keys leave the state alone.
    IOStream other;
    std::uint32_t unrelated = 5;
    other.StreamUInt("skillPoints", unrelated);
    IOStream otherIn(other.GetBytes());
    SkillState untouched{3, true};
    untouched.StreamProperties(otherIn);
    EXPECT_EQ(untouched, SkillState(3, true));
    std::uint32_t rawLevel = 0;
    IOStream raw(out.GetBytes());
    raw.StreamUInt("skillLevel", rawLevel);
    EXPECT_EQ(rawLevel, 12u);
}

TEST(SkillStateForms, PacketImageZeroesItsPaddingAndIgnoresItOnReading) {
    const SkillStateImage level = SkillState{0x01020304, true}.ToImage();
    EXPECT_EQ(level, (SkillStateImage{4, 3, 2, 1, 1, 0, 0, 0}));
    const SkillStateImage active = SkillActiveState{258, true, true}.ToImage();
    EXPECT_EQ(active, (SkillStateImage{2, 1, 0, 0, 1, 1, 0, 0}));

    EXPECT_EQ(SkillState::FromImage({7, 0, 0, 0, 0, 0xAA, 0xBB, 0xCC}), SkillState(7, false));
    EXPECT_EQ(SkillActiveState::FromImage({0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0xEE, 0xEE}),
              SkillActiveState(-1, true, false));
}

}  // namespace
}  // namespace GAME::test
