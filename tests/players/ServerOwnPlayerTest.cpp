// A server is a player of its own game: what its own player asks of the server (heartbeats,
// bonuses, market requests) runs on the server itself, and what the server answers its clients
// reaches its own player as well.
#include <gtest/gtest.h>

#include <string>

#include "Engine/net/transport/LoopbackTransport.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/items/market/MarketClient.h"
#include "Game/quests/DialogManager.h"
#include "PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kMerchant = 0x00000021;

// A server and two clients over the loopback, with a sharing record that hands the earner the
// whole gold of a bonus and everybody else near the event half of it.
class ServerOwnPlayerTest : public ::testing::Test {
protected:
    ServerOwnPlayerTest() {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
        }
    }
    ~ServerOwnPlayerTest() override { game.OnEach(ShutdownObjects); }

    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x100 + host); }

    void Join(int host, std::uint32_t level, float x) {
        JoinPlayer(game, host, IdOf(host), level, {x, 0, 0});
    }
    void JoinAll() {
        Join(0, 5, 0.0f);
        Join(1, 7, 110.0f);
        Join(2, 9, 300.0f);
    }
    // The host's own player goes up to a level and walks to x.
    void Move(int host, std::uint32_t level, float x) {
        ON_MACHINE(game.Host(host)) {
            Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(host));
            test::SetCharLevel(*player, level);
            WorldCoords coords;
            coords.coords.origin = Vec3(x, 0, 0);
            player->SetCoords(coords);
        }
    }
    void RunSeconds(int seconds) {
        game.RunFrames(seconds * 10, 100, [](TestMachine&, int) { gGameEngine->Update(100); });
    }

    // A bonus that the host's own player earned at x, sent to the server.
    // A client's bonus counts only from a pickup the server knows, with the server's values.
    void Earn(int host, float x, std::uint32_t gold) {
        const std::uint32_t source = 0x4000 + ++earned;
        if (host != 0)
            ON_MACHINE(game.Server()) {
                ASSERT_NE(Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(
                              "Records/Pickups/Gold" + std::to_string(gold) + ".dbr", source),
                          nullptr);
            }
        ON_MACHINE(game.Host(host)) {
            Bonus bonus;
            bonus.gold = gold;
            bonus.sourceId = source;
            gGameEngine->HandleBonusToServerOutbound(bonus, WorldVec3(nullptr, Vec3(x, 0, 0)),
                                                     IdOf(host));
        }
        game.Pump();
    }
    std::uint32_t MoneyOf(int host) {
        std::uint32_t money = 0;
        ON_MACHINE(game.Host(host)) {
            money = Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(host))->GetMoney();
        }
        return money;
    }
    bool Logged(TestMachine& tm, const std::string& text) {
        for (const LogLine& line : tm.Log())
            if (line.text.find(text) != std::string::npos)
                return true;
        return false;
    }

    NetTestGame game{2, TestMachine::TestDataDir() + "/Records/Players/NearbyGold"};
    std::uint32_t earned = 0;
};

TEST_F(ServerOwnPlayerTest, TheServersOwnHeartbeatReachesItsListAndEveryClient) {
    JoinAll();
    Move(0, 20, 100.0f);
    RunSeconds(7);

    ON_MACHINE(game.Server()) {
        const PlayerNetBasicInfo& own =
            gGameEngine->GetPlayerManagerServer()->GetPlayerRecords().front();
        EXPECT_EQ(own.playerId, IdOf(0));
        EXPECT_EQ(own.level, 20);
        EXPECT_EQ(own.position.local.x, 100.0f);
    }
    for (int client = 0; client < 2; ++client)
        ON_MACHINE(game.Client(client)) {
            const PlayerNetBasicInfo seen =
                gGameEngine->GetPlayerManagerClient()->GetPlayerInfo(IdOf(0));
            EXPECT_EQ(seen.level, 20) << "client " << client;
            EXPECT_EQ(seen.position.local.x, 100.0f) << "client " << client;
        }
}

TEST_F(ServerOwnPlayerTest, BonusesAreSharedOnTheServerFromWhereItsPlayerReallyIs) {
    JoinAll();
    Move(0, 20, 100.0f);
    RunSeconds(2);

    // The server's own player earns: it takes the whole bonus, client 1 (10 away) half of it,
    // client 2 (200 away) nothing.
    Earn(0, 100.0f, 50);
    EXPECT_EQ(MoneyOf(0), 50u);
    EXPECT_EQ(MoneyOf(1), 25u);
    EXPECT_EQ(MoneyOf(2), 0u);

    // Client 1 earns next to where the server's player stands now, far from where it joined.
    Earn(1, 105.0f, 30);
    EXPECT_EQ(MoneyOf(0), 65u);
    EXPECT_EQ(MoneyOf(1), 55u);
    EXPECT_EQ(MoneyOf(2), 0u);
}

TEST_F(ServerOwnPlayerTest, MarketRequestsOfTheServersPlayerRunOnTheServerAndAnswersReachIt) {
    JoinAll();
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            Singleton<ObjectManager>::Get().CreateObject("Entity", kMerchant);
            gGameEngine->CreateMarketClient(kMerchant);
            tm->ClearLog();
        }

    ON_MACHINE(game.Server()) {
        GameEngineNetworkInterface& net = *gGameEngine->GetNetworkInterface();
        net.C2S_MarketUpdateRequest(kMerchant);
        net.C2S_MarketPurchaseRequest(kMerchant, 1, 2, 3, IdOf(0));
        auto* services =
            static_cast<GameEngineServerServicesModule*>(gGameEngine->GetServerServices());
        EXPECT_EQ(services->GetMarketCount(), 1u);
    }
    // The requests ran on the server (the market has no stock yet: the purchase is denied) and
    // only its answer went out, one to each client.
    EXPECT_EQ(game.Network().PendingTotal(), 2u);
    game.Pump();
    ON_MACHINE(game.Server()) {
        const auto& dialogs = gGameEngine->GetDialogManager().GetDialogs();
        ASSERT_FALSE(dialogs.empty());
        EXPECT_EQ(dialogs.back().tag, "tagMarketError03");
    }

    // The server market's answer is for every machine's market client, the server's included.
    ON_MACHINE(game.Server()) {
        gGameEngine->GetNetworkInterface()->S2C_MarketUpdate(kMerchant, "Records/Markets/None.dbr",
                                                             1, 9, {});
    }
    game.Pump();
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            EXPECT_EQ(gGameEngine->GetClientServices()->FindMarketClient(kMerchant)->GetStockSeed(),
                      9u);
        }
}

}  // namespace
}  // namespace GAME::test
