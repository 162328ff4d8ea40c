#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "Engine/net/NetFaultLog.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/quests/DialogManager.h"
#include "PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kNoRecord = 0xFFFFFFFF;

// A networked game in which every machine has its own player (host ids in the top four bits of
// the player ids) and parties are made through the invitation dialogs, as players make them.
class PartiesOverLoopback : public ::testing::Test {
protected:
    explicit PartiesOverLoopback(int clients) : game(clients) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            LocalizationManager& texts = LocalizationManager::Instance();
            texts.SetText("tagInviteSend", L"You invited %s");
            texts.SetText("tagMessageDeny", L"%s declined");
            texts.SetText("tagMessageJoin", L"%s joined");
            texts.SetText("tagMessageLeave", L"%s left");
            InitializeObjects();
            game.TakeRole(*tm);
        }
        for (int host = 0; host <= clients; ++host)
            Join(host);
    }
    ~PartiesOverLoopback() override { game.OnEach(ShutdownObjects); }

    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x200 + host); }

    void Join(int host) { JoinPlayer(game, host, IdOf(host), 4); }

    void Invite(int inviter, int invitee) {
        ON_MACHINE(game.Host(inviter)) {
            gGameEngine->InvitePlayerToParty(IdOf(invitee), static_cast<int>(IdOf(inviter)));
        }
        game.Pump();
    }
    void Answer(int host, int answer) {
        ON_MACHINE(game.Host(host)) {
            gGameEngine->GetDialogManager().AddResponse(PartyManager::kInviteDialogParty, answer);
            gGameEngine->GetPartyManager()->Update();
        }
        game.Pump();
    }
    void Kick(int leader, int member) {
        ON_MACHINE(game.Host(leader)) {
            gGameEngine->GetPartyManager()->AttemptToKickFromLocalParty(IdOf(member));
        }
        game.Pump();
    }
    // Heartbeats both ways and two full lists: a party must survive them unchanged.
    void RunFrames() {
        game.RunFrames(12 * 10 + 1, 100, [](TestMachine&, int) { gGameEngine->Update(100); });
    }

    PartyManager& PartiesOn(int host) {
        PartyManager* parties = nullptr;
        ON_MACHINE(game.Host(host)) {
            parties = gGameEngine->GetPartyManager();
        }
        return *parties;
    }
    std::uint32_t PartyOn(int host, int player) {
        std::uint32_t party = 0;
        ON_MACHINE(game.Host(host)) {
            party = gGameEngine->GetPartyManager()->GetParty(IdOf(player));
        }
        return party;
    }
    std::uint32_t ServerRecordParty(int player) {
        std::uint32_t party = kNoRecord;
        ON_MACHINE(game.Server()) {
            gGameEngine->GetPlayerManagerServer()->GetPlayerParty(IdOf(player), party);
        }
        return party;
    }
    // Every machine's cache and the server's list give each player the expected party.
    void ExpectPartiesEverywhere(const std::vector<std::uint32_t>& parties) {
        for (int machine = 0; machine <= game.ClientCount(); ++machine)
            for (int player = 0; player < static_cast<int>(parties.size()); ++player)
                EXPECT_EQ(PartyOn(machine, player), parties[static_cast<std::size_t>(player)])
                    << "player " << player << " on machine " << machine;
        for (int player = 0; player < static_cast<int>(parties.size()); ++player)
            EXPECT_EQ(ServerRecordParty(player), parties[static_cast<std::size_t>(player)])
                << "player " << player << " in the server's list";
    }
    int Refusals() { return game.Server().CountLog("refused"); }
    // The texts of the notifications shown on a machine since the last ForgetShown.
    std::vector<std::wstring> ShownOn(int host) {
        std::vector<std::wstring> shown;
        ON_MACHINE(game.Host(host)) {
            const auto& notifications = gGameEngine->GetUINotifications();
            for (std::size_t i = seen[host]; i < notifications.size(); ++i)
                shown.insert(shown.end(), notifications[i].texts.begin(),
                             notifications[i].texts.end());
        }
        return shown;
    }
    void ForgetShown() {
        for (int host = 0; host <= game.ClientCount(); ++host)
            ON_MACHINE(game.Host(host)) {
                seen[host] = gGameEngine->GetUINotifications().size();
            }
    }

    NetTestGame game;
    std::map<int, std::size_t> seen;
};

class PartiesOnThreeMachines : public PartiesOverLoopback {
protected:
    PartiesOnThreeMachines() : PartiesOverLoopback(2) {}
};

class PartiesOnTwoMachines : public PartiesOverLoopback {
protected:
    PartiesOnTwoMachines() : PartiesOverLoopback(1) {}
};

TEST_F(PartiesOnThreeMachines, AnInvitationBetweenClientsReachesOnlyTheInvitee) {
    Invite(1, 2);
    EXPECT_TRUE(PartiesOn(2).IsInvitationOpen());
    EXPECT_EQ(PartiesOn(2).GetCurrentInviter(), IdOf(1));
    EXPECT_FALSE(PartiesOn(0).IsInvitationOpen());
    EXPECT_FALSE(PartiesOn(1).IsInvitationOpen());
    ExpectPartiesEverywhere({0, 0, 0});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnThreeMachines, AcceptingPutsBothInTheInvitersPartyOnEveryMachine) {
    Invite(1, 2);
    Answer(2, kAccept);
    EXPECT_FALSE(PartiesOn(2).IsInvitationOpen());
    ExpectPartiesEverywhere({0, IdOf(1), IdOf(1)});
    RunFrames();
    ExpectPartiesEverywhere({0, IdOf(1), IdOf(1)});
    ON_MACHINE(game.Server()) {
        EXPECT_TRUE(gGameEngine->GetPartyManager()->AreInPartyTogether(IdOf(1), IdOf(2)));
        EXPECT_EQ(gGameEngine->GetPartyManager()->GetNumPlayersInParty(IdOf(1)), 2);
    }
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnThreeMachines, DecliningOpensTheNextInvitationAndAcceptingThatOneJoinsIt) {
    Invite(1, 2);
    Invite(0, 2);
    EXPECT_EQ(PartiesOn(2).GetCurrentInviter(), IdOf(1));
    EXPECT_EQ(PartiesOn(2).GetNumPendingInvitations(), 1u);

    Answer(2, kDecline);
    EXPECT_TRUE(PartiesOn(2).IsInvitationOpen());
    EXPECT_EQ(PartiesOn(2).GetCurrentInviter(), IdOf(0));
    EXPECT_EQ(PartiesOn(2).GetNumPendingInvitations(), 0u);
    ExpectPartiesEverywhere({0, 0, 0});

    Answer(2, kAccept);
    ExpectPartiesEverywhere({IdOf(0), 0, IdOf(0)});
    RunFrames();
    ExpectPartiesEverywhere({IdOf(0), 0, IdOf(0)});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnThreeMachines, AcceptingOneInvitationDropsTheOthersOnBothSides) {
    Invite(1, 2);
    Invite(0, 2);
    Answer(2, kAccept);
    EXPECT_EQ(PartiesOn(2).GetNumPendingInvitations(), 0u);
    EXPECT_FALSE(PartiesOn(2).IsInvitationOpen());
    ExpectPartiesEverywhere({0, IdOf(1), IdOf(1)});
    // The invitation that was dropped cannot be taken up behind the dialog's back.
    ON_MACHINE(game.Client(1)) {
        gGameEngine->AddPlayerToParty(IdOf(2), static_cast<int>(IdOf(0)));
    }
    game.Pump();
    EXPECT_EQ(game.Server().CountLog("refused AddPlayerToParty from host 2"), 1);
    EXPECT_EQ(ServerRecordParty(2), IdOf(1));
    EXPECT_EQ(PartyOn(1, 2), IdOf(1));
}

TEST_F(PartiesOnThreeMachines, KickingFromAPartyOfTwoDissolvesItEverywhere) {
    Invite(1, 2);
    Answer(2, kAccept);
    ExpectPartiesEverywhere({0, IdOf(1), IdOf(1)});

    Kick(1, 2);
    ExpectPartiesEverywhere({0, 0, 0});
    RunFrames();
    ExpectPartiesEverywhere({0, 0, 0});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnThreeMachines, KickingFromALargerPartyKeepsTheRest) {
    Invite(1, 2);
    Answer(2, kAccept);
    Invite(1, 0);
    Answer(0, kAccept);
    ExpectPartiesEverywhere({IdOf(1), IdOf(1), IdOf(1)});

    Kick(1, 2);
    ExpectPartiesEverywhere({IdOf(1), IdOf(1), 0});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnThreeMachines, AMemberWhoLeavesIsOutOfThePartyEverywhere) {
    Invite(1, 2);
    Answer(2, kAccept);
    Invite(1, 0);
    Answer(0, kAccept);
    ON_MACHINE(game.Client(1)) {
        gGameEngine->AddPlayerToParty(IdOf(2), 0);
        // This machine takes its own change at once, before the server has seen it.
        gGameEngine->GetInboundNetworkInterface()->AddPlayerToParty(IdOf(2), 0);
    }
    game.Pump();
    ExpectPartiesEverywhere({IdOf(1), IdOf(1), 0});
    RunFrames();
    ExpectPartiesEverywhere({IdOf(1), IdOf(1), 0});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnThreeMachines, WhenTheLeaderLeavesTheFirstMemberLeadsEverywhere) {
    Invite(1, 2);
    Answer(2, kAccept);
    Invite(1, 0);
    Answer(0, kAccept);
    ExpectPartiesEverywhere({IdOf(1), IdOf(1), IdOf(1)});

    // The leader's host drops out of the game.
    ON_MACHINE(game.Server()) {
        gGameEngine->RemovePlayerFromGame(1);
    }
    game.Pump();
    for (int machine : {0, 2}) {
        EXPECT_EQ(PartyOn(machine, 0), IdOf(0)) << "machine " << machine;
        EXPECT_EQ(PartyOn(machine, 2), IdOf(0)) << "machine " << machine;
    }
    EXPECT_EQ(ServerRecordParty(0), IdOf(0));
    EXPECT_EQ(ServerRecordParty(2), IdOf(0));
    RunFrames();
    EXPECT_EQ(PartyOn(2, 2), IdOf(0));
    EXPECT_EQ(PartyOn(2, 0), IdOf(0));
    EXPECT_EQ(ServerRecordParty(2), IdOf(0));
}

TEST_F(PartiesOnThreeMachines, AClientStillCannotPushOthersAroundOrJoinUninvited) {
    // Joining without an invitation: refused, and the other machines never hear of it.
    ON_MACHINE(game.Client(1)) {
        gGameEngine->GetNetworkInterface()->AddPlayerToParty(IdOf(2), static_cast<int>(IdOf(1)));
        // Making someone lead a party that none of this machine's players joined.
        gGameEngine->GetNetworkInterface()->AddPlayerToParty(IdOf(1), static_cast<int>(IdOf(1)));
        // Moving another player into one's own party.
        gGameEngine->GetNetworkInterface()->AddPlayerToParty(IdOf(1), static_cast<int>(IdOf(2)));
        // Inviting in another player's name.
        gGameEngine->GetNetworkInterface()->InvitePlayerToParty(IdOf(0), static_cast<int>(IdOf(1)));
    }
    game.Pump();
    EXPECT_EQ(game.Server().CountLog("refused AddPlayerToParty from host 2"), 3);
    EXPECT_EQ(game.Server().CountLog("refused InvitePlayerToParty from host 2"), 1);
    EXPECT_FALSE(PartiesOn(0).IsInvitationOpen());
    ExpectPartiesEverywhere({0, 0, 0});

    // A member who does not lead the party cannot kick.
    Invite(1, 2);
    Answer(2, kAccept);
    Invite(1, 0);
    Answer(0, kAccept);
    ON_MACHINE(game.Client(1)) {
        gGameEngine->GetNetworkInterface()->AddPlayerToParty(IdOf(0), 0);
    }
    std::uint64_t countedBefore = 0;
    ON_MACHINE(game.Server()) {
        countedBefore = NetFaultLog::Get().GetSuppressed();
    }
    game.Pump();
    // The fourth refusal of the kind within the window is counted rather than logged.
    EXPECT_EQ(game.Server().CountLog("refused AddPlayerToParty from host 2"), 3);
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(NetFaultLog::Get().GetSuppressed(), countedBefore + 1);
    }
    ExpectPartiesEverywhere({IdOf(1), IdOf(1), IdOf(1)});
}

TEST_F(PartiesOnThreeMachines, AHeartbeatCannotChangeItsPlayersPartyOnTheServer) {
    ON_MACHINE(game.Client(1)) {
        PlayerNetHeartbeatInfo heartbeat;
        Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(2))->GetPlayerNetHeartbeatInfo(
            heartbeat);
        heartbeat.partyId = static_cast<int>(IdOf(1));
        heartbeat.level = 9;
        gGameEngine->GetNetworkInterface()->CtoS_SinglePlayerHeartbeat(heartbeat);
    }
    game.Pump();
    EXPECT_EQ(ServerRecordParty(2), 0u);
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->GetPlayerManagerServer()->GetPlayerRecords()[2].level, 9);
    }
}

TEST_F(PartiesOnTwoMachines, TheServersPlayerJoinsAClientsPartyAndIsKickedAgain) {
    Invite(1, 0);
    EXPECT_TRUE(PartiesOn(0).IsInvitationOpen());
    EXPECT_EQ(PartiesOn(0).GetCurrentInviter(), IdOf(1));
    Answer(0, kAccept);
    ExpectPartiesEverywhere({IdOf(1), IdOf(1)});
    RunFrames();
    ExpectPartiesEverywhere({IdOf(1), IdOf(1)});

    Kick(1, 0);
    ExpectPartiesEverywhere({0, 0});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnTwoMachines, AClientJoinsTheServersPartyAndTheServerKicksIt) {
    Invite(0, 1);
    EXPECT_TRUE(PartiesOn(1).IsInvitationOpen());
    Answer(1, kAccept);
    ExpectPartiesEverywhere({IdOf(0), IdOf(0)});
    RunFrames();
    ExpectPartiesEverywhere({IdOf(0), IdOf(0)});

    Kick(0, 1);
    ExpectPartiesEverywhere({0, 0});
    RunFrames();
    ExpectPartiesEverywhere({0, 0});
    EXPECT_EQ(Refusals(), 0);
}

TEST_F(PartiesOnTwoMachines, ADeclinedInvitationChangesNothingAndTheNextOneOpens) {
    Invite(0, 1);
    Answer(1, kDecline);
    EXPECT_FALSE(PartiesOn(1).IsInvitationOpen());
    ExpectPartiesEverywhere({0, 0});
    // A later invitation opens a new dialog.
    Invite(0, 1);
    EXPECT_TRUE(PartiesOn(1).IsInvitationOpen());
    Answer(1, kAccept);
    ExpectPartiesEverywhere({IdOf(0), IdOf(0)});
}

TEST_F(PartiesOnThreeMachines, PartyMessagesAreShownOnTheirReceiversMachinesOnly) {
    ForgetShown();
    Invite(1, 2);
    EXPECT_EQ(ShownOn(1), std::vector<std::wstring>{L"You invited Player2"});
    EXPECT_TRUE(ShownOn(0).empty());
    EXPECT_TRUE(ShownOn(2).empty());

    Answer(2, kDecline);
    EXPECT_EQ(ShownOn(1), (std::vector<std::wstring>{L"You invited Player2", L"Player2 declined"}));
    EXPECT_TRUE(ShownOn(0).empty());
    EXPECT_TRUE(ShownOn(2).empty());

    ForgetShown();
    Invite(1, 2);
    Answer(2, kAccept);
    Invite(1, 0);
    Answer(0, kAccept);
    // The party hears of each invitation and each newcomer; the newcomer himself is not told.
    EXPECT_EQ(ShownOn(1), (std::vector<std::wstring>{L"You invited Player2", L"Player2 joined",
                                                     L"You invited Player0", L"Player0 joined"}));
    EXPECT_EQ(ShownOn(2), (std::vector<std::wstring>{L"You invited Player0", L"Player0 joined"}));
    EXPECT_TRUE(ShownOn(0).empty());

    ForgetShown();
    Kick(1, 2);
    EXPECT_EQ(ShownOn(1), std::vector<std::wstring>{L"Player2 left"});
    EXPECT_EQ(ShownOn(0), std::vector<std::wstring>{L"Player2 left"});
    EXPECT_TRUE(ShownOn(2).empty());
}

TEST_F(PartiesOnThreeMachines, TheServersPartyMessagesReachTheirReceiversOnly) {
    ForgetShown();
    Invite(0, 2);
    EXPECT_EQ(ShownOn(0), std::vector<std::wstring>{L"You invited Player2"});
    EXPECT_TRUE(ShownOn(1).empty());
    EXPECT_TRUE(ShownOn(2).empty());
    Answer(2, kAccept);
    Invite(0, 1);
    Answer(1, kAccept);
    ExpectPartiesEverywhere({IdOf(0), IdOf(0), IdOf(0)});

    ForgetShown();
    Kick(0, 1);
    EXPECT_EQ(ShownOn(0), std::vector<std::wstring>{L"Player1 left"});
    EXPECT_EQ(ShownOn(2), std::vector<std::wstring>{L"Player1 left"});
    EXPECT_TRUE(ShownOn(1).empty());
    ExpectPartiesEverywhere({IdOf(0), 0, IdOf(0)});
}

TEST_F(PartiesOnThreeMachines, AServerMessageWithoutReceiverReachesEveryClient) {
    ForgetShown();
    ON_MACHINE(game.Server()) {
        gGameEngine->GetNetworkInterface()->DisplayWMessageRemote(0, true, L"welcome");
    }
    game.Pump();
    EXPECT_EQ(ShownOn(1), std::vector<std::wstring>{L"welcome"});
    EXPECT_EQ(ShownOn(2), std::vector<std::wstring>{L"welcome"});
    EXPECT_TRUE(ShownOn(0).empty());
}

}  // namespace
}  // namespace GAME::test
