#include <gtest/gtest.h>

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameInfo.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
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

namespace GAME {
namespace {

// A packet that carries one team, to see its wire form.
class TeamPacket : public NetPacket {
public:
    TeamPacket() : NetPacket(250) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        team.AddToPacket(out);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        team.RemoveFromPacket(in);
    }
    Team team;
};

std::vector<std::uint8_t> Wire(const Team& team) {
    TeamPacket packet;
    packet.team = team;
    const unsigned int size = packet.PrepareOutBuffer();
    const auto* data = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return std::vector<std::uint8_t>(data, data + size);
}

Team Back(const std::vector<std::uint8_t>& bytes) {
    TeamPacket packet;
    packet.CopyInbound(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_TRUE(packet.IsInboundValid());
    return packet.team;
}

TEST(TeamWireTest, SmallMinorsTravelInOneByte) {
    test::TestMachine tm;
    EXPECT_EQ(Wire(Make(3, 255)), (std::vector<std::uint8_t>{0x0F, 0xFF}));
    EXPECT_EQ(Wire(Make(2, 300)), (std::vector<std::uint8_t>{0x06, 0x2C, 0x01, 0x00, 0x00}));
    EXPECT_EQ(Wire(Team()), (std::vector<std::uint8_t>{0x08, 0x00}));
    EXPECT_EQ(Back(Wire(Make(2, 300))), Make(2, 300));
    EXPECT_EQ(Back(Wire(Make(3, 7))), Make(3, 7));
    EXPECT_EQ(Back(Wire(Team())), Team());
    // A party faction is a player id: four bytes.
    EXPECT_EQ(Back(Wire(Make(2, 0x10000005))), Make(2, 0x10000005));
}

TEST(TeamWireTest, MajorAboveThreeDoesNotSurvive) {
    test::TestMachine tm;
    const Team back = Back(Wire(Make(6, 1)));
    EXPECT_EQ(back.GetTeamMajor(), 2u);
    EXPECT_EQ(back.GetTeamMinor(), 1u);
}

TEST(TeamWireTest, ShortBodyLeavesTheTeamAlone) {
    test::TestMachine tm;
    TeamPacket packet;
    packet.team = Make(3, 5);
    const std::uint8_t bytes[] = {0x06};
    packet.CopyInbound(bytes, 1);
    EXPECT_FALSE(packet.IsInboundValid());
    EXPECT_EQ(packet.team, Make(3, 5));
}

TEST(TeamManagerTest, CharactersAndIds) {
    test::TestMachine tm;
    auto& objects = Singleton<ObjectManager>::Get();
    auto* monster = objects.CreateObject<Character>(10);
    auto* other = objects.CreateObject<Character>(11);
    auto* hostile = objects.CreateObject<Character>(12);
    objects.CreateObject<Actor>(13);
    monster->SetTeam(Make(3, 2));
    other->SetTeam(Make(3, 3));
    hostile->SetTeam(Make(1, 0));

    TeamManager teams;
    EXPECT_TRUE(teams.IsFoe(10u, 11u));
    EXPECT_FALSE(teams.IsFriend(10u, 11u));
    EXPECT_FALSE(teams.IsFoe(10u, 10u));
    EXPECT_TRUE(teams.IsFriend(10u, 10u));
    EXPECT_FALSE(teams.IsFoe(10u, 13u));  // not a character
    EXPECT_FALSE(teams.IsFriend(13u, 13u));
    EXPECT_FALSE(teams.IsFoe(10u, 999u));  // gone

    // An invisible character answers with the invisible team: nobody's foe but a hostile's.
    monster->SetInvisible(true);
    EXPECT_FALSE(teams.IsFoe(10u, 11u));
    EXPECT_TRUE(teams.IsFriend(10u, 11u));
    EXPECT_TRUE(teams.IsFoe(10u, 12u));
    EXPECT_TRUE(teams.IsFoe(monster, hostile));
}

}  // namespace
}  // namespace GAME
