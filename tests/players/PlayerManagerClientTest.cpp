#include <gtest/gtest.h>

#include "Engine/sys/GameInfo.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// A single-player game: the calls between the two managers run locally.
class PlayerManagerClientTest : public ::testing::Test {
protected:
    PlayerManagerClient& Client() { return *gGameEngine->GetPlayerManagerClient(); }
    PlayerManagerServer& Server() { return *gGameEngine->GetPlayerManagerServer(); }
    // Another player as the server admits it (and sends the list to the cache).
    Player* Join(std::uint32_t id, const std::wstring& name, std::uint32_t level) {
        Player* player = MakePlayer(id, name, level);
        Server().HandleNewPlayer(InfoOf(*player));
        return player;
    }

    TestMachine tm;
    RunningGame game;
    std::uint32_t local = PlayerId(0, 0x10);
    Player* localPlayer = MakePlayer(local, L"Local", 3);
};

TEST_F(PlayerManagerClientTest, MainPlayerEntersBothLists) {
    Client().SetMainPlayer(local);
    EXPECT_EQ(Client().GetMainPlayer(), local);
    EXPECT_EQ(gGameEngine->GetPlayerId(), local);
    EXPECT_EQ(Client().GetAllPlayersInGame(), std::vector<std::uint32_t>{local});
    EXPECT_TRUE(Client().IsPlayerInList(local));
    EXPECT_EQ(Server().GetPlayers(), std::vector<std::uint32_t>{local});
    EXPECT_EQ(Singleton<GameInfo>::Get().GetNumPlayers(), 1);

    // Setting it again adds nothing.
    Client().SetMainPlayer(local);
    EXPECT_EQ(Client().GetAllPlayersInGame().size(), 1u);
    EXPECT_EQ(Server().GetNumberOfPlayers(), 1);
}

TEST_F(PlayerManagerClientTest, QueriesAnswerFromTheCacheWithDefaults) {
    Client().SetMainPlayer(local);
    Join(PlayerId(2, 1), L"Ariadne", 12);
    EXPECT_EQ(Client().GetPlayerInfoCache().size(), 2u);
    EXPECT_EQ(Client().GetPlayerName(PlayerId(2, 1)), L"Ariadne");
    EXPECT_EQ(Client().GetPlayerLevel(PlayerId(2, 1)), L"12");
    EXPECT_EQ(Client().GetPlayerClass(PlayerId(2, 1)), "tagCClass02");
    EXPECT_EQ(Client().GetPlayerIdFromHostId(2), PlayerId(2, 1));
    EXPECT_EQ(Client().GetPlayerIdFromHostId(5), 0u);

    EXPECT_EQ(Client().GetPlayerName(0x777), L"ErrorName");
    EXPECT_EQ(Client().GetPlayerLevel(0x777), L"");
    EXPECT_EQ(Client().GetPlayerClass(0x777), "");
    EXPECT_EQ(Client().GetPlayerInfo(0x777).playerId, 0u);
    EXPECT_FALSE(Client().IsPlayerInGame(0x777));
}

TEST_F(PlayerManagerClientTest, FindsPlayersByNameIgnoringCaseAndQuotes) {
    Client().SetMainPlayer(local);
    Join(PlayerId(1, 1), L"Ariadne", 1);
    Join(PlayerId(3, 1), L"ari", 1);
    EXPECT_EQ(Client().GetPlayerWithName(L"ARIADNE"), PlayerId(1, 1));
    EXPECT_EQ(Client().GetPlayerWithName(L"\"aRi\""), PlayerId(3, 1));
    EXPECT_EQ(Client().GetPlayerWithName(L"\"\""), 0u);
    EXPECT_EQ(Client().GetPlayerWithName(L"\"a"), 0u);
    EXPECT_EQ(Client().GetPlayerWithName(L"Nobody"), 0u);
}

TEST_F(PlayerManagerClientTest, LevelSummaryRoundsTheAverageHalfUp) {
    PlayerInfo info;
    info.numPlayers = 9;
    Client().GetPlayerInfo(info);
    EXPECT_EQ(info.numPlayers, 0u);
    EXPECT_EQ(info.averageLevel, 0u);

    Client().SetMainPlayer(local);  // level 3
    Join(PlayerId(1, 1), L"B", 4);
    Join(PlayerId(2, 1), L"C", 8);
    Client().GetPlayerInfo(info);
    EXPECT_EQ(info.numPlayers, 3u);
    EXPECT_EQ(info.minLevel, 3u);
    EXPECT_EQ(info.maxLevel, 8u);
    EXPECT_EQ(info.averageLevel, 5u);  // 15 / 3
    EXPECT_EQ(info.gameDifficulty, 0u);

    Join(PlayerId(4, 1), L"D", 7);  // 22 / 4 = 5.5 rounds up
    Client().GetPlayerInfo(info);
    EXPECT_EQ(info.averageLevel, 6u);
}

TEST_F(PlayerManagerClientTest, HeartbeatsOverwriteOthersButNeverTheLocalPlayer) {
    Client().SetMainPlayer(local);
    Join(PlayerId(1, 1), L"Other", 4);
    PlayerNetHeartbeatInfo mine, theirs, stranger;
    mine.playerId = local;
    mine.level = 50;
    theirs.playerId = PlayerId(1, 1);
    theirs.level = 40;
    theirs.position.local = {7, 0, 7};
    stranger.playerId = PlayerId(9, 9);
    Client().HandlePlayerHeartbeatInbound({mine, theirs, stranger});
    EXPECT_EQ(Client().GetPlayerInfo(local).level, 3);
    EXPECT_EQ(Client().GetPlayerInfo(PlayerId(1, 1)).level, 40);
    EXPECT_EQ(Client().GetPlayerInfo(PlayerId(1, 1)).playerName, L"Other");
    EXPECT_EQ(Client().GetPlayerLocation(PlayerId(1, 1)).local, Vec3(7, 0, 7));
    EXPECT_FALSE(Client().IsPlayerInList(PlayerId(9, 9)));
}

TEST_F(PlayerManagerClientTest, OwnHeartbeatGoesToTheServerAfterMoreThan900Ms) {
    Client().SetMainPlayer(local);
    test::SetCharLevel(*localPlayer, 9);
    Client().Update(900);
    EXPECT_EQ(Server().GetPlayerRecords()[0].level, 3);
    // The local record in the cache follows the player every frame.
    EXPECT_EQ(Client().GetPlayerInfo(local).level, 9);
    Client().Update(1);
    EXPECT_EQ(Server().GetPlayerRecords()[0].level, 9);
}

TEST_F(PlayerManagerClientTest, LeavingHostTakesItsPlayersFromTheCache) {
    Client().SetMainPlayer(local);
    Join(PlayerId(2, 1), L"A", 1);
    Join(PlayerId(2, 2), L"B", 1);
    Join(PlayerId(3, 1), L"C", 1);
    Client().RemovePlayerFromGame(2);
    EXPECT_EQ(Client().GetAllPlayersInGame(), (std::vector<std::uint32_t>{local, PlayerId(3, 1)}));
    ASSERT_EQ(Client().GetPlayerInfoCache().size(), 2u);
    EXPECT_EQ(Client().GetPlayerInfoCache()[1].playerName, L"C");
}

TEST_F(PlayerManagerClientTest, ServerNamesOnlyTheLastPlayerOfALeavingHost) {
    LocalizationManager::Instance().SetText("tagMessageGameLeave", L"%s left the game");
    Client().SetMainPlayer(local);
    Join(PlayerId(2, 1), L"First", 1);
    Join(PlayerId(2, 2), L"Second", 1);
    const std::size_t before = gGameEngine->GetUINotifications().size();
    Server().RemovePlayerFromGame(2);
    EXPECT_EQ(Server().GetPlayers(), std::vector<std::uint32_t>{local});
    const auto& notes = gGameEngine->GetUINotifications();
    ASSERT_GT(notes.size(), before);
    EXPECT_EQ(notes.back().texts, std::vector<std::wstring>{L"Second left the game"});
}

TEST_F(PlayerManagerClientTest, BanningANameDropsEveryHostThatUsesIt) {
    Client().SetMainPlayer(local);
    Join(PlayerId(2, 1), L"Twin", 1);
    Join(PlayerId(3, 1), L"Twin", 1);
    Join(PlayerId(4, 1), L"twin", 1);
    Client().BanPlayer(std::wstring(L"Twin"));
    EXPECT_EQ(tm.CountLog("Banning Host 2 (Twin)"), 1);
    EXPECT_EQ(tm.CountLog("Banning Host 3 (Twin)"), 1);
    EXPECT_EQ(tm.CountLog("Banning Host 4"), 0);
    Client().BanPlayer(std::string("twin"));
    EXPECT_EQ(tm.CountLog("Banning Host 4 (twin)"), 1);
}

TEST_F(PlayerManagerClientTest, DumpListsEveryCachedPlayer) {
    Client().SetMainPlayer(local);
    Join(PlayerId(1, 1), L"Daphne", 6);
    gGameEngine->GetPlayerManagerClient()->DumpPlayersToConsole();
    EXPECT_EQ(tm.CountLog("Player List:"), 1);
    EXPECT_EQ(tm.CountLog("Name:    Daphne"), 1);
    EXPECT_EQ(tm.CountLog("Level:   6"), 1);
    EXPECT_EQ(tm.CountLog("==================================="), 2);
}

TEST_F(PlayerManagerClientTest, ClearForgetsTheMainPlayer) {
    Client().SetMainPlayer(local);
    Client().Clear();
    EXPECT_EQ(Client().GetMainPlayer(), 0u);
    EXPECT_TRUE(Client().GetAllPlayersInGame().empty());
    EXPECT_TRUE(Client().GetPlayerInfoCache().empty());
}

}  // namespace
}  // namespace GAME::test
