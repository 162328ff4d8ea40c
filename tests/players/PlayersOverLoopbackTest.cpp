#include <gtest/gtest.h>

#include <algorithm>

#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

// A server and two clients, each machine with its own game root and its own player, host ids in
// the top four bits of the player ids.
class PlayersOverLoopbackTest : public ::testing::Test {
protected:
    PlayersOverLoopbackTest() {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            if (index == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            ++index;
        }
    }
    ~PlayersOverLoopbackTest() override { game.OnEach(ShutdownObjects); }

    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x100 + host); }

    // The machine's own player arrives: it becomes the main player, and a client announces it.
    void Join(int host, std::uint32_t level) {
        JoinPlayer(game, host, IdOf(host), level, {static_cast<float>(host), 0, 0});
    }

    void RunFrames(int frames) {
        game.RunFrames(frames, 100, [](TestMachine&, int) { gGameEngine->Update(100); });
    }

    std::vector<std::uint32_t> ServerList() {
        std::vector<std::uint32_t> ids;
        ON_MACHINE(game.Server()) {
            ids = gGameEngine->GetPlayerManagerServer()->GetPlayers();
        }
        return ids;
    }
    std::vector<std::uint32_t> CacheOf(TestMachine& tm) {
        std::vector<std::uint32_t> ids;
        ON_MACHINE(tm) {
            for (const auto& record : gGameEngine->GetPlayerManagerClient()->GetPlayerInfoCache())
                ids.push_back(record.playerId);
        }
        return ids;
    }
    PlayerNetBasicInfo CachedOn(TestMachine& tm, std::uint32_t id) {
        PlayerNetBasicInfo info;
        ON_MACHINE(tm) {
            info = gGameEngine->GetPlayerManagerClient()->GetPlayerInfo(id);
        }
        return info;
    }

    NetTestGame game{2};
};

TEST_F(PlayersOverLoopbackTest, JoiningClientsAppearInEveryList) {
    Join(0, 5);
    Join(1, 7);
    const std::vector<std::uint32_t> two{IdOf(0), IdOf(1)};
    EXPECT_EQ(ServerList(), two);
    EXPECT_EQ(CacheOf(game.Client(0)), two);
    EXPECT_EQ(CacheOf(game.Client(1)), two);  // not joined yet, but told

    Join(2, 9);
    const std::vector<std::uint32_t> three{IdOf(0), IdOf(1), IdOf(2)};
    EXPECT_EQ(ServerList(), three);
    EXPECT_EQ(CacheOf(game.Client(0)), three);
    EXPECT_EQ(CacheOf(game.Client(1)), three);
    EXPECT_EQ(CachedOn(game.Client(0), IdOf(2)).playerName, L"Player2");
    EXPECT_EQ(CachedOn(game.Client(1), IdOf(1)).level, 7);
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(gGameEngine->GetPlayerManagerClient()->GetPlayerIdFromHostId(2), IdOf(2));
        EXPECT_EQ(gGameEngine->GetPlayerId(), IdOf(1));
        EXPECT_EQ(gGameEngine->GetPlayerManagerServer(), nullptr);
    }
}

TEST_F(PlayersOverLoopbackTest, HeartbeatsCarryEachPlayersStateToTheOthers) {
    Join(0, 5);
    Join(1, 7);
    Join(2, 9);
    ON_MACHINE(game.Client(0)) {
        Player* mine = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
        test::SetCharLevel(*mine, 8);
        test::SetLife(*mine, 42.0f, 100.0f);
        // A buff on the player is what its heartbeat reports as active.
        mine->GetSkillManager().CreateRemoveSkillBuff(0, "Records/Skills/Ward.dbr", 1, "", 0, "", 0,
                                                      0, mine->GetObjectId());
    }
    // A client reports after more than 900 ms; the server passes it on after more than 1100.
    RunFrames(25);
    const PlayerNetBasicInfo seen = CachedOn(game.Client(1), IdOf(1));
    EXPECT_EQ(seen.level, 8);
    EXPECT_EQ(seen.life, 42.0f);
    EXPECT_EQ(seen.statusSkills, std::vector<std::string>{"records\\skills\\ward.dbr"});
    EXPECT_EQ(seen.playerName, L"Player1");
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(gGameEngine->GetPlayerManagerServer()->GetPlayerRecords()[1].level, 8);
    }
    // The server's own cache follows its broadcasts.
    EXPECT_EQ(CachedOn(game.Server(), IdOf(1)).level, 8);
    EXPECT_EQ(CacheOf(game.Server()), (std::vector<std::uint32_t>{IdOf(0), IdOf(1), IdOf(2)}));
}

TEST_F(PlayersOverLoopbackTest, LeavingHostDisappearsFromEveryListAtTheNextFullList) {
    Join(0, 5);
    Join(1, 7);
    Join(2, 9);
    ON_MACHINE(game.Server()) {
        gGameEngine->GetPlayerManagerServer()->RemovePlayerFromGame(2);
    }
    EXPECT_EQ(ServerList(), (std::vector<std::uint32_t>{IdOf(0), IdOf(1)}));
    // The server sends the full list every fifth broadcast.
    RunFrames(12 * 5 + 1);
    EXPECT_EQ(CacheOf(game.Client(0)), (std::vector<std::uint32_t>{IdOf(0), IdOf(1)}));
}

TEST_F(PlayersOverLoopbackTest, PartiesStayConsistentThroughALeadersLeave) {
    Join(0, 5);
    Join(1, 7);
    Join(2, 9);
    // Every machine learns that client 1's player leads a party of all three.
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            for (int host : {1, 0, 2})
                gGameEngine->GetInboundNetworkInterface()->AddPlayerToParty(
                    IdOf(host), static_cast<int>(IdOf(1)));
        }
    game.Pump();
    RunFrames(12 * 5 + 1);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            PartyManager* parties = gGameEngine->GetPartyManager();
            EXPECT_EQ(parties->GetParty(IdOf(0)), IdOf(1));
            EXPECT_EQ(parties->GetParty(IdOf(2)), IdOf(1));
            EXPECT_EQ(parties->GetNumPlayersInParty(IdOf(1)), 3);
        }

    // The leader's host goes: the first remaining member (in list order) leads.
    ON_MACHINE(game.Server()) {
        gGameEngine->GetPlayerManagerServer()->RemovePlayerFromGame(1);
        gGameEngine->GetPlayerManagerClient()->RemovePlayerFromGame(1);
    }
    game.Pump();
    RunFrames(12 * 5 + 1);
    for (TestMachine* tm : {&game.Server(), &game.Client(1)})
        ON_MACHINE(*tm) {
            PartyManager* parties = gGameEngine->GetPartyManager();
            EXPECT_EQ(parties->GetParty(IdOf(0)), IdOf(0));
            EXPECT_EQ(parties->GetParty(IdOf(2)), IdOf(0));
            EXPECT_FALSE(gGameEngine->GetPlayerManagerClient()->IsPlayerInList(IdOf(1)));
        }
}

TEST_F(PlayersOverLoopbackTest, BonusSharedOnTheServerReachesThePlayersOnTheirMachines) {
    Join(0, 5);
    Join(1, 7);
    constexpr std::uint32_t kMonster = 0x3000;
    ON_MACHINE(game.Server()) {
        gGameEngine->RegisterDamage(kMonster, IdOf(1), 100.0f);
        Bonus bonus;
        bonus.experience = 400;
        bonus.sourceId = kMonster;
        gGameEngine->GetPlayerManagerServer()->HandleBonus(bonus, WorldVec3(), IdOf(1));
    }
    game.Pump();
    ON_MACHINE(game.Client(0)) {
        Player* mine = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1));
        // Without a sharing record every formula is absent: the earner keeps the amount.
        EXPECT_EQ(mine->GetExperiencePoints(), 400u);
    }
}

}  // namespace
}  // namespace GAME::test
