#include <gtest/gtest.h>

#include "Engine/sys/GameInfo.h"
#include "Game/core/Team.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

Team Make(std::uint32_t major, std::uint32_t minor) {
    return TeamManager::BuildTeam(major, minor);
}

TEST(TeamTest, DefaultTeamIsUnsetAndStandardTeamsAreSet) {
    Team team;
    EXPECT_FALSE(team.IsInitialized());
    EXPECT_EQ(team.GetTeamMajor(), 0u);
    EXPECT_EQ(team.GetTeamMinor(), 0u);

    EXPECT_EQ(TeamManager::DefaultPlayerTeam(), Make(2, 0));
    EXPECT_EQ(TeamManager::DefaultMonsterTeam(), Make(3, 0));
    EXPECT_EQ(TeamManager::InvisibleTeam(), Make(0, 0));
    EXPECT_TRUE(TeamManager::InvisibleTeam().IsInitialized());
}

// Rows and columns: the teams below; cells: foe without PvP.
TEST(TeamTest, FoeMatrixWithoutPvP) {
    TestMachine tm;
    const Team teams[] = {Make(0, 0), Make(1, 0), Make(2, 5), Make(2, 7), Make(2, 0),
                          Make(3, 0), Make(3, 1), Make(3, 2), Make(3, 3)};
    const bool expectedFoe[9][9] = {
        // F     H     P5     P7     P0     M0     M1     Red    Orange
        {false, true, false, false, false, false, false, false, false},  // Friendly
        {true, true, true, true, true, true, true, true, true},          // Hostile
        {false, true, false, false, false, true, true, true, true},      // Human party 5
        {false, true, false, false, false, true, true, true, true},      // Human party 7
        {false, true, false, false, false, true, true, true, true},      // Human faction 0
        {false, true, true, true, true, false, true, false, false},      // Monster plain
        {false, true, true, true, true, true, true, true, true},         // Monster hostile
        {false, true, true, true, true, false, true, false, true},       // Monster red
        {false, true, true, true, true, false, true, true, false},       // Monster orange
    };
    TeamManager manager;
    for (int a = 0; a < 9; ++a)
        for (int b = 0; b < 9; ++b) {
            EXPECT_EQ(manager.IsFoe(teams[a], teams[b]), expectedFoe[a][b]) << a << "," << b;
            EXPECT_EQ(teams[a].IsFoe(teams[b]), expectedFoe[a][b]) << a << "," << b;
        }
}

TEST(TeamTest, HumansAreFriendsOnlyInTheSameParty) {
    TestMachine tm;
    EXPECT_TRUE(Make(2, 5).IsFriend(Make(2, 5)));
    EXPECT_FALSE(Make(2, 5).IsFriend(Make(2, 7)));
    EXPECT_FALSE(Make(2, 0).IsFriend(Make(2, 0)));
    EXPECT_FALSE(Make(2, 5).IsFoe(Make(2, 7)));
    // Other majors: friends exactly when not foes.
    EXPECT_TRUE(Make(3, 2).IsFriend(Make(3, 0)));
    EXPECT_FALSE(Make(3, 2).IsFriend(Make(3, 3)));
    EXPECT_TRUE(Make(0, 0).IsFriend(Make(3, 1)));
    EXPECT_FALSE(Make(0, 0).IsFriend(Make(1, 0)));
    EXPECT_FALSE(Make(2, 5).IsFriend(Make(3, 0)));
}

TEST(TeamTest, PvPMakesDifferentPartiesFoes) {
    TestMachine tm;
    Singleton<GameInfo>::Get().SetPvP(true);
    EXPECT_TRUE(Make(2, 5).IsFoe(Make(2, 7)));
    EXPECT_FALSE(Make(2, 5).IsFoe(Make(2, 5)));
    EXPECT_FALSE(Make(2, 0).IsFoe(Make(2, 7)));
    EXPECT_FALSE(Make(2, 5).IsFriend(Make(2, 7)));
    Singleton<GameInfo>::Get().SetPvP(false);
    EXPECT_FALSE(Make(2, 5).IsFoe(Make(2, 7)));
}

TEST(TeamTest, ConvertsRecordStrings) {
    Team team;
    team.ConvertFromHistoricalTeam("", "");
    EXPECT_FALSE(team.IsInitialized());

    team.ConvertFromHistoricalTeam("TeamMajor_Monster", "TeamMinorMonster_Indigo");
    EXPECT_EQ(team, Make(3, 7));

    Team human;
    human.ConvertFromHistoricalTeam("TeamMajor_Human", "");
    EXPECT_EQ(human, Make(2, 0));

    // Unknown and differently cased texts change nothing.
    Team kept = Make(3, 4);
    kept.ConvertFromHistoricalTeam("teammajor_hostile", "TeamMinorMonster_Purple");
    EXPECT_EQ(kept, Make(3, 4));

    // The hostile minor clears the flag and keeps the numbers.
    Team hostile = Make(3, 4);
    hostile.ConvertFromHistoricalTeam("", "TeamMinorMonster_Hostile");
    EXPECT_FALSE(hostile.IsInitialized());
    EXPECT_EQ(hostile.GetTeamMajor(), 3u);
    EXPECT_EQ(hostile.GetTeamMinor(), 4u);

    Team fromMinor;
    fromMinor.ConvertFromHistoricalTeam("Nonsense", "TeamMinorMonster_Friendly");
    EXPECT_TRUE(fromMinor.IsInitialized());
    EXPECT_EQ(fromMinor.GetTeamMajor(), 0u);
}

}  // namespace
}  // namespace GAME
