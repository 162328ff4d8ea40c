#include <gtest/gtest.h>

#include "Engine/sys/GameInfo.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/core/players/Team.h"
#include "PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// A single-player game whose player lists also hold players of other hosts.
class PartyManagerTest : public ::testing::Test {
protected:
    PartyManagerTest() {
        LocalizationManager::Instance().SetText("tagInviteMessage", L"%s invites you");
        LocalizationManager::Instance().SetText("tagMessageDeny", L"%s declined");
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(local);
        for (std::uint32_t id : {ann, bob, cid}) {
            Player* player = MakePlayer(id, Name(id), 5);
            gGameEngine->GetPlayerManagerServer()->HandleNewPlayer(InfoOf(*player));
        }
    }

    static std::wstring Name(std::uint32_t id) {
        return id == PlayerId(1, 1) ? L"Ann" : id == PlayerId(2, 1) ? L"Bob" : L"Cid";
    }
    PartyManager& Parties() { return *gGameEngine->GetPartyManager(); }
    DialogManager& Dialogs() { return gGameEngine->GetDialogManager(); }
    void Answer(int answer) {
        Dialogs().AddResponse(PartyManager::kInviteDialogParty, answer);
        Parties().Update();
    }
    void Join(std::uint32_t player, std::uint32_t party) {
        gGameEngine->AddPlayerToParty(player, static_cast<int>(party));
    }
    std::uint32_t PartyOf(std::uint32_t id) { return Parties().GetParty(id); }
    std::uint32_t ServerPartyOf(std::uint32_t id) {
        for (const auto& record : gGameEngine->GetPlayerManagerServer()->GetPlayerRecords())
            if (record.playerId == id)
                return static_cast<std::uint32_t>(record.partyId);
        return 0xFFFFFFFF;
    }

    TestMachine tm;
    RunningGame game;
    std::uint32_t local = PlayerId(0, 0x20);
    Player* localPlayer = MakePlayer(local, L"Me", 5);
    std::uint32_t ann = PlayerId(1, 1), bob = PlayerId(2, 1), cid = PlayerId(3, 1);
};

TEST_F(PartyManagerTest, DeclineOpensTheNextInvitation) {
    Parties().HandlePartyInvite(local, static_cast<int>(ann));
    Parties().HandlePartyInvite(local, static_cast<int>(bob));
    ASSERT_TRUE(Parties().IsInvitationOpen());
    EXPECT_EQ(Parties().GetNumPendingInvitations(), 1u);
    ASSERT_EQ(Dialogs().GetDialogs().size(), 1u);
    EXPECT_EQ(Dialogs().GetDialogs()[0].text, L"Ann invites you");
    EXPECT_EQ(Dialogs().GetDialogs()[0].party, PartyManager::kInviteDialogParty);

    Parties().Update();  // no answer yet
    EXPECT_TRUE(Parties().IsInvitationOpen());

    Answer(kDecline);
    EXPECT_TRUE(Parties().IsInvitationOpen());
    EXPECT_EQ(Parties().GetCurrentInviter(), bob);
    EXPECT_EQ(Parties().GetNumPendingInvitations(), 0u);
    ASSERT_EQ(Dialogs().GetDialogs().size(), 2u);
    EXPECT_EQ(Dialogs().GetDialogs()[1].text, L"Bob invites you");
    EXPECT_EQ(PartyOf(local), 0u);
    // The inviter is told, by name of the one who declined.
    ASSERT_FALSE(gGameEngine->GetUINotifications().empty());
    EXPECT_EQ(gGameEngine->GetUINotifications().back().texts,
              std::vector<std::wstring>{L"Me declined"});

    Answer(kAccept);
    EXPECT_FALSE(Parties().IsInvitationOpen());
    EXPECT_EQ(PartyOf(local), bob);
    EXPECT_EQ(PartyOf(bob), bob);
    EXPECT_EQ(ServerPartyOf(local), bob);
}

TEST_F(PartyManagerTest, AcceptDropsTheOtherInvitations) {
    Parties().HandlePartyInvite(local, static_cast<int>(ann));
    Parties().HandlePartyInvite(local, static_cast<int>(bob));
    Parties().HandlePartyInvite(local, static_cast<int>(cid));
    EXPECT_EQ(Parties().GetNumPendingInvitations(), 2u);
    Answer(kAccept);
    EXPECT_FALSE(Parties().IsInvitationOpen());
    EXPECT_EQ(Parties().GetNumPendingInvitations(), 0u);
    EXPECT_EQ(PartyOf(local), ann);
    EXPECT_EQ(PartyOf(ann), ann);
    EXPECT_TRUE(Parties().AreInPartyTogether(local, ann));
    EXPECT_EQ(Parties().GetNumPlayersInParty(ann), 2);
    EXPECT_EQ(Dialogs().GetDialogs().size(), 1u);
}

TEST_F(PartyManagerTest, InvitationsForOthersOrPartyMembersAreIgnored) {
    Parties().HandlePartyInvite(bob, static_cast<int>(ann));
    EXPECT_FALSE(Parties().IsInvitationOpen());
    Join(local, cid);
    Join(cid, cid);
    Parties().HandlePartyInvite(local, static_cast<int>(ann));
    EXPECT_FALSE(Parties().IsInvitationOpen());
    EXPECT_EQ(Parties().GetNumPendingInvitations(), 0u);
    EXPECT_TRUE(Dialogs().GetDialogs().empty());
}

TEST_F(PartyManagerTest, KickingFromAPartyOfTwoDissolvesIt) {
    Join(ann, local);
    Join(local, local);
    Parties().AttemptToKickFromLocalParty(ann);
    EXPECT_EQ(PartyOf(ann), 0u);
    EXPECT_EQ(PartyOf(local), 0u);
    EXPECT_EQ(ServerPartyOf(ann), 0u);
}

TEST_F(PartyManagerTest, KickingFromALargerPartyKeepsTheRest) {
    Join(local, local);
    Join(ann, local);
    Join(bob, local);
    Parties().AttemptToKickFromLocalParty(ann);
    EXPECT_EQ(PartyOf(ann), 0u);
    EXPECT_EQ(PartyOf(bob), local);
    EXPECT_EQ(PartyOf(local), local);
}

TEST_F(PartyManagerTest, OnlyTheLeaderKicks) {
    Join(ann, ann);
    Join(local, ann);
    Join(bob, ann);
    Parties().AttemptToKickFromLocalParty(bob);
    EXPECT_EQ(PartyOf(bob), ann);
    EXPECT_EQ(gGameEngine->GetUINotifications().back().texts,
              std::vector<std::wstring>{L"You do not have permission to kick that person."});
    Join(local, local);
    Parties().AttemptToKickFromLocalParty(local);  // not oneself
    EXPECT_EQ(PartyOf(local), local);
}

TEST_F(PartyManagerTest, LeaderLeavingHandsThePartyToTheFirstMember) {
    Join(ann, ann);
    Join(bob, ann);
    Join(cid, ann);
    gGameEngine->GetPlayerManagerServer()->RemovePlayerFromGame(1);
    EXPECT_EQ(PartyOf(bob), bob);
    EXPECT_EQ(PartyOf(cid), bob);
    EXPECT_EQ(ServerPartyOf(cid), bob);
}

TEST_F(PartyManagerTest, LeaderLeavingOneMemberBehindEndsTheParty) {
    Join(ann, ann);
    Join(bob, ann);
    Parties().CleanUpForPlayerLeave(ann);
    EXPECT_EQ(PartyOf(bob), 0u);
}

TEST_F(PartyManagerTest, ReassigningTheLocalPartyHandsItToTheFirstOtherMember) {
    Join(local, local);
    Join(ann, local);
    Join(bob, local);
    Parties().ReassignRemainingParty();
    EXPECT_EQ(PartyOf(ann), ann);
    EXPECT_EQ(PartyOf(bob), ann);
}

TEST_F(PartyManagerTest, ALeaderJoiningAnotherPartyHandsHisOldPartyOver) {
    Join(local, local);
    Join(ann, local);
    Join(bob, local);
    Join(cid, cid);
    Join(local, cid);
    EXPECT_EQ(PartyOf(local), cid);
    EXPECT_EQ(PartyOf(ann), ann);
    EXPECT_EQ(PartyOf(bob), ann);
    EXPECT_EQ(ServerPartyOf(bob), ann);
    EXPECT_EQ(Parties().GetNumPlayersInParty(cid), 2);

    // A member moving on, or the leader staying, hands nothing over.
    Join(bob, cid);
    EXPECT_EQ(PartyOf(ann), ann);
    Join(local, cid);
    EXPECT_EQ(PartyOf(ann), ann);
}

TEST_F(PartyManagerTest, Queries) {
    EXPECT_FALSE(Parties().AreInPartyTogether(ann, bob));
    EXPECT_TRUE(Parties().AreInPartyTogether(ann, ann));
    EXPECT_EQ(Parties().GetPlayerFaction(ann), ann);
    EXPECT_EQ(Parties().GetNumPlayersInParty(0), 1);
    EXPECT_EQ(Parties().GetNumInPlayersParty(ann), 1);
    Join(ann, bob);
    Join(bob, bob);
    EXPECT_EQ(Parties().GetPlayerFaction(ann), bob);
    EXPECT_EQ(Parties().GetNumInPlayersParty(ann), 2);
    std::vector<std::uint32_t> ids{42};
    Parties().GetPlayersInParty(bob, ids);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{42, ann, bob}));
    Parties().GetPlayersInParty(0, ids);
    EXPECT_TRUE(ids.empty());
    Parties().GetPartyMembers(cid, ids);
    EXPECT_EQ(ids, std::vector<std::uint32_t>{cid});
    EXPECT_FALSE(Parties().AreInPartyTogether(ann, 0x999));
}

// A player's team carries its party faction: members of one party are friends, a player alone
// is its own faction, and players of different parties are foes only with PvP on.
TEST_F(PartyManagerTest, PlayersSideWithTheirPartyFaction) {
    TeamManager& teams = *gGameEngine->GetTeamManager();
    auto* monster = Singleton<ObjectManager>::Get().CreateObject<Character>(0x4000);
    monster->SetTeam(TeamManager::DefaultMonsterTeam());

    EXPECT_EQ(localPlayer->GetTeam(), TeamManager::BuildTeam(Team::Human, local));
    EXPECT_TRUE(teams.IsFriend(local, local));
    EXPECT_FALSE(teams.IsFriend(local, ann));
    EXPECT_TRUE(teams.IsFoe(local, 0x4000u));

    Join(ann, local);
    Join(local, local);
    EXPECT_EQ(localPlayer->GetTeam(), TeamManager::BuildTeam(Team::Human, local));
    EXPECT_TRUE(teams.IsFriend(local, ann));
    EXPECT_TRUE(teams.IsFriend(ann, local));
    EXPECT_FALSE(teams.IsFoe(local, ann));
    EXPECT_FALSE(teams.IsFriend(local, bob));
    EXPECT_FALSE(teams.IsFoe(local, bob));

    Singleton<GameInfo>::Get().SetPvP(true);
    EXPECT_TRUE(teams.IsFoe(local, bob));
    EXPECT_FALSE(teams.IsFoe(local, ann));
    Singleton<GameInfo>::Get().SetPvP(false);

    // Invisible, a player is on nobody's side but its own.
    localPlayer->SetInvisible(true);
    EXPECT_EQ(localPlayer->GetTeam(), TeamManager::InvisibleTeam());
    EXPECT_FALSE(teams.IsFoe(local, 0x4000u));
}

}  // namespace
}  // namespace GAME::test
