#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "Engine/streams/IOStream.h"
#include "Game/characters/stats/PlayStats.h"
#include "Game/core/GameEvents.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

constexpr PlayStatsDamageType kFire{PlayStatsDamageType::Attack, CombatAttributeType::Fire};
constexpr PlayStatsDamageType kRetaliation{PlayStatsDamageType::Retaliation,
                                           CombatAttributeType::Physical};

TEST(PlayStats, PlayTimeKeepsTheRemainderAndRecentDamageAgesOut) {
    TestMachine tm;
    PlayStats stats;
    stats.Update(400);
    stats.Update(400);
    EXPECT_EQ(stats.GetPlayTimeInSeconds(), 0u);
    stats.Update(400);
    EXPECT_EQ(stats.GetPlayTimeInSeconds(), 1u);
    stats.Update(800);
    EXPECT_EQ(stats.GetPlayTimeInSeconds(), 2u);

    stats.TallyDamageInflicted(10.0f, kFire);  // at 2 s
    stats.Update(1000);
    stats.TallyDamageInflicted(20.0f, kFire);  // at 3 s
    stats.Update(5000);                        // now 8 s: the first is 6 s old, the second 5
    EXPECT_TRUE(HasLine(stats.GetRealTimeStrings(), "    Damage per second: 4.00"));

    // Retaliation never counts as the greatest hit.
    stats.TallyDamageInflicted(500.0f, kRetaliation);
    EXPECT_FLOAT_EQ(stats.GetGreatestDamageInflicted(), 20.0f);
}

TEST(PlayStats, WholeSecondsRoundDownAsTheDoubleFormulaDoes) {
    // Around every sign change and second boundary, and at the ends of the range.
    const int cases[] = {0,     1,         999,     1000,    1001,        1999,       2000,
                         -1,    -999,      -1000,   -1001,   -1999,       -2000,      59999,
                         60000, 123456789, INT_MAX, INT_MIN, INT_MIN + 1, 2147483000, -2147483000};
    for (const int ms : cases) {
        const int expected = static_cast<int>(std::floor(static_cast<double>(ms) * 0.001));
        EXPECT_EQ(PlayStats::WholeSeconds(ms), expected) << ms;
    }
}

TEST(PlayStats, NegativeFramesTakeBackCountedSeconds) {
    TestMachine tm;
    struct Step {
        int ms;
        std::uint32_t seconds;
    };
    // A frame that takes the running total below zero takes a whole second back and leaves
    // the rest as the remainder.
    const Step steps[] = {{1500, 1}, {-200, 1}, {-400, 0}, {100, 1}, {999, 1}, {1, 2}};
    PlayStats stats;
    for (const Step& step : steps) {
        stats.Update(step.ms);
        EXPECT_EQ(stats.GetPlayTimeInSeconds(), step.seconds) << step.ms;
    }
}

TEST(PlayStats, RecentDamageIsPrunedWithoutReports) {
    TestMachine tm;
    PlayStats stats;
    for (int second = 0; second < 600; ++second) {
        stats.TallyDamageInflicted(1.0f, kFire);
        stats.Update(1000);
    }
    EXPECT_LE(stats.GetRecentDamageCount(), PlayStats::kRecentDamageWindow + 1);
}

TEST(PlayStats, ReportLinesAndScore) {
    TestMachine tm;
    PlayStats stats;
    stats.Update(125000);
    stats.IncrementKills(40, 6);
    stats.IncrementKills(20, 2);
    stats.IncrementDeaths();
    stats.LoseExperience(100);
    stats.TallyDamageReceived(12.5f, kFire);
    stats.TallyDamageReduction(3.0f, PlayStatsDamageReductionType::Blocked);
    stats.GainLife(7.0f, PlayStatsLifeType::Potion);
    stats.SkillUsed("Records/Skills/Zap.dbr");
    stats.SkillUsed("Records/Skills/Zap.dbr");
    stats.SetShieldBlockChance(12.0f);

    const auto& realTime = stats.GetRealTimeStrings();
    ASSERT_GE(realTime.size(), 3u);
    EXPECT_EQ(realTime[0], "Play Statistics:");
    EXPECT_EQ(realTime[1], "    Play Time:           2 min 5 sec");
    EXPECT_TRUE(HasLine(realTime, "    Number of kills:     2"));
    EXPECT_TRUE(HasLine(realTime, "        Records/Skills/Zap.dbr : 2"));
    EXPECT_TRUE(HasLine(realTime, "    Life healed: 7.00"));
    EXPECT_EQ(realTime.back(), "    Shield block chance    : 12.00");

    const auto& log = stats.GetLogStrings();
    EXPECT_TRUE(HasLine(log, "    Average hits per kill: 4.00"));
    EXPECT_TRUE(HasLine(log, "         Total Lost   -100"));
    EXPECT_TRUE(HasLine(log, "         CombatAttributeType::CombatAttributeType_Fire 12.50"));
    EXPECT_TRUE(HasLine(log, "         Blocked 3.00"));
    EXPECT_TRUE(HasLine(log, "         Potion 7.00"));
    EXPECT_EQ(log.back(), "   Player misses:  0");

    EXPECT_EQ(stats.GetScore(), 0);
    Singleton<EventManager>::Get().Send(nullptr, GameEventName("PreRun"));
    SendGameEvent(GameEvent_PreRun{}, "PreRun");
    // (kills * 100) from Records/Game/PlayerScore.dbr.
    EXPECT_EQ(stats.GetScore(), 200);

    PlayStats fresh;
    EXPECT_TRUE(HasLine(fresh.GetLogStrings(), "    Average hits per kill: 0.00"));
    EXPECT_EQ(GetPlayStatsDamageTypeName({9, CombatAttributeType::Fire}), "Unknown::Unknown");
    EXPECT_EQ(GetPlayStatsDamageTypeName(kRetaliation), "Retaliation::Unknown");
}

TEST(PlayStats, SaveSectionKeepsTheDifficultyEntriesInOrder) {
    TestMachine tm;
    PlayStats stats;
    stats.Update(61000);
    stats.IncrementKills(5, 1);
    stats.TallyDamageInflicted(42.0f, kFire);
    stats.SetGreatestMonsterKilledName(L"Boar");
    stats.SetGreatestMonsterKilledLevel(7);
    IOStream out;
    stats.StreamProperties(out);

    PlayStats loaded;
    IOStream in(out.GetBytes());
    loaded.StreamProperties(in);
    EXPECT_EQ(loaded.GetPlayTimeInSeconds(), 61u);
    EXPECT_EQ(loaded.GetKills(), 1u);
    EXPECT_FLOAT_EQ(loaded.GetGreatestDamageInflicted(), 42.0f);
    EXPECT_EQ(loaded.GetGreatestMonsterKilledName(), L"Boar");
    EXPECT_EQ(loaded.GetGreatestMonsterKilledLevel(), 7u);
    float value = 0.0f;
    EXPECT_TRUE(loaded.GetDesignerVariable("playTimeInMinutes", value));
    EXPECT_FLOAT_EQ(value, 1.0f);
    EXPECT_FALSE(loaded.GetDesignerVariable("PlayTimeInMinutes", value));
}

}  // namespace
}  // namespace GAME::test
