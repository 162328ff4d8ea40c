#include <gtest/gtest.h>

#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

PlayerNetBasicInfo Record(std::uint32_t id, const std::wstring& name, Vec3 where = {}) {
    PlayerNetBasicInfo info;
    info.playerId = id;
    info.playerName = name;
    info.level = 3;
    info.position.local = where;
    return info;
}

// A server module on its own, sending through a recording interface.
class PlayerManagerServerTest : public ::testing::Test {
protected:
    PlayerManagerServerTest() { module.SetNetworkInterfaceSlot(&slot); }
    PlayerManagerServer& Server() { return *module.GetPlayerManagerServer(); }

    TestMachine tm{PlayersDir("Sharing")};
    RecordingInterface net;
    GameEngineNetworkInterface* slot = &net;
    GameEngineServerServicesModule module;
};

TEST_F(PlayerManagerServerTest, BroadcastsFourHeartbeatsThenTheListThenThreeBetweenLists) {
    Server().HandleNewPlayer(Record(PlayerId(0, 1), L"Solo"));
    EXPECT_EQ(net.sent, "U");  // a newcomer gets the list at once
    net.sent.clear();

    std::string perTick;
    for (int frame = 1; frame <= 12 * 9; ++frame) {
        const std::size_t before = net.sent.size();
        Server().Update(100);
        // Exactly 1100 ms is not enough; the twelfth frame of each stretch sends.
        perTick += net.sent.size() > before ? net.sent.back() : '.';
    }
    EXPECT_EQ(net.sent, "HHHHUHHHU");
    EXPECT_EQ(perTick.substr(0, 12), "...........H");
    ASSERT_EQ(net.lastUpdate.size(), 1u);
    EXPECT_EQ(net.lastUpdate[0].playerName, L"Solo");
    ASSERT_EQ(net.lastHeartbeats.size(), 1u);
    EXPECT_EQ(net.lastHeartbeats[0].playerId, PlayerId(0, 1));
}

TEST_F(PlayerManagerServerTest, TimerAccumulatesUnevenFramesAndResetsAfterASend) {
    Server().Update(1100);
    EXPECT_EQ(net.sent, "");
    Server().Update(1);
    EXPECT_EQ(net.sent, "H");
    Server().Update(1101);
    EXPECT_EQ(net.sent, "HH");
    Server().Update(600);
    Server().Update(500);
    EXPECT_EQ(net.sent, "HH");
    Server().Update(1);
    EXPECT_EQ(net.sent, "HHH");
}

TEST_F(PlayerManagerServerTest, AdmitsEachPlayerOnceAndRemovesByIdOrHost) {
    Server().HandleNewPlayer(Record(PlayerId(0, 1), L"Host"));
    Server().HandleNewPlayer(Record(PlayerId(2, 5), L"A"));
    Server().HandleNewPlayer(Record(PlayerId(2, 5), L"A again"));
    Server().HandleNewPlayer(Record(PlayerId(2, 6), L"B"));
    Server().HandleNewPlayer(Record(PlayerId(3, 7), L"C"));
    EXPECT_EQ(Server().GetNumberOfPlayers(), 4);
    EXPECT_EQ(net.sent, "UUUU");

    Server().RemovePlayerFromGame(2);
    EXPECT_EQ(Server().GetPlayers(), (std::vector<std::uint32_t>{PlayerId(0, 1), PlayerId(3, 7)}));
    ASSERT_EQ(Server().GetPlayerRecords().size(), 2u);
    EXPECT_EQ(Server().GetPlayerRecords()[1].playerName, L"C");

    Server().HandleRemovePlayer(PlayerId(0, 1));
    EXPECT_EQ(Server().GetPlayers(), std::vector<std::uint32_t>{PlayerId(3, 7)});
    EXPECT_EQ(Server().GetPlayerRecords()[0].playerName, L"C");
    Server().HandleRemovePlayer(0x1234);  // not listed: nothing
    EXPECT_EQ(Server().GetNumberOfPlayers(), 1);
}

TEST_F(PlayerManagerServerTest, HeartbeatsAndPartyChangesUpdateListedPlayersOnly) {
    Server().HandleNewPlayer(Record(PlayerId(1, 1), L"A", {1, 0, 0}));
    PlayerNetHeartbeatInfo heartbeat;
    heartbeat.playerId = PlayerId(1, 1);
    heartbeat.level = 9;
    heartbeat.position.local = {5, 0, 0};
    Server().HandlePlayerHeartbeatInbound(heartbeat);
    heartbeat.playerId = PlayerId(4, 4);
    Server().HandlePlayerHeartbeatInbound(heartbeat);
    Server().AddPlayerToParty(PlayerId(1, 1), 77);
    Server().AddPlayerToParty(PlayerId(4, 4), 77);

    ASSERT_EQ(Server().GetNumberOfPlayers(), 1);
    const PlayerNetBasicInfo& record = Server().GetPlayerRecords()[0];
    EXPECT_EQ(record.level, 9);
    EXPECT_EQ(record.partyId, 77);
    EXPECT_EQ(record.playerName, L"A");  // a heartbeat leaves the name
    EXPECT_EQ(Server().GetPlayerLocation(PlayerId(1, 1)).local, Vec3(5, 0, 0));
    EXPECT_EQ(Server().GetPlayerLocation(PlayerId(4, 4)).local, Vec3());
}

TEST_F(PlayerManagerServerTest, DesignerVariablesByExactName) {
    float value = -1.0f;
    EXPECT_TRUE(Server().GetDesignerVariable("amountOfGold", value));
    EXPECT_EQ(value, 0.0f);
    value = -1.0f;
    EXPECT_FALSE(Server().GetDesignerVariable("AmountOfGold", value));
    EXPECT_FALSE(Server().GetDesignerVariable("amountOfGold ", value));
    EXPECT_EQ(value, -1.0f);
    EXPECT_TRUE(Server().GetDesignerVariable("evaluatingPartyMemberCount", value));
    EXPECT_TRUE(Server().GetDesignerVariable("amountOfExperience", value));
    EXPECT_EQ(tm.CountLog("Equation Load Failure"), 0);
}

TEST_F(PlayerManagerServerTest, ClearEmptiesTheList) {
    Server().HandleNewPlayer(Record(PlayerId(1, 1), L"A"));
    Server().Clear();
    EXPECT_EQ(Server().GetNumberOfPlayers(), 0);
    EXPECT_TRUE(Server().GetPlayerRecords().empty());
}

TEST(PlayerManagerServerFormulas, FailedFormulasAreLoggedAndDropped) {
    TestMachine tm(PlayersDir("BrokenSharing"));
    PlayerManagerServer server;
    EXPECT_EQ(tm.CountLog("-=- Equation Load Failure: activeExperienceEquation"), 1);
    EXPECT_EQ(tm.CountLog("-=- Equation Load Failure: activeGoldEquation"), 1);
    // An empty text is no formula and no failure.
    EXPECT_EQ(tm.CountLog("passiveExperienceEquation"), 0);
    EXPECT_EQ(tm.CountLog("passiveGoldEquation"), 0);
}

}  // namespace
}  // namespace GAME::test
