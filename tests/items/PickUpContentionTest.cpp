// Picking an item up from the world in a network game: the machine that controls a player
// reaches for it, the server decides who takes it, and every machine ends with the same taker.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "items/TradeTestSupport.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kLyingRing = 0x7201;

class PickUpContention : public ::testing::Test {
protected:
    PickUpContention() {
        for (int machine = 0; machine <= 2; ++machine)
            ON_MACHINE(trade.Host(machine)) {
                Region* meadow = World::Get().AddRegion(
                    std::make_unique<Region>("Meadow", Vec3(0, 0, 0), Vec3(100, 50, 100)));
                for (int host = 0; host <= 2; ++host) {
                    Player* player = TradeGame::PlayerOf(host);
                    World::Get().AddEntity(
                        player, WorldCoords(meadow, Coords::FromOrigin(Vec3(10.0f + host, 0, 10))),
                        true);
                }
                ItemReplicaInfo info;
                info.objectId = kLyingRing;
                info.baseName = kTradeRing;
                info.seed = 7;
                Item* ring = Item::CreateItem(info);
                World::Get().AddEntity(
                    ring, WorldCoords(meadow, Coords::FromOrigin(Vec3(11, 0, 11))), true);
            }
    }

    // The machine's own player reaches for the ring, as its pick-up animation does.
    static void ReachFor(int host) {
        FindController<ControllerCharacter>(*TradeGame::PlayerOf(host))->PickupItem(kLyingRing);
    }
    // Which players carry the ring on this machine.
    static std::vector<int> Takers() {
        std::vector<int> takers;
        for (int host = 0; host <= 2; ++host)
            if (TradeGame::PlayerOf(host)->GetInventory().IsItemInInventory(kLyingRing))
                takers.push_back(host);
        return takers;
    }
    void ExpectTakenBy(int taker) {
        for (int machine = 0; machine <= 2; ++machine)
            ON_MACHINE(trade.Host(machine)) {
                EXPECT_EQ(Takers(), std::vector<int>{taker}) << "machine " << machine;
                EXPECT_FALSE(
                    Singleton<ObjectManager>::Get().GetObject<Item>(kLyingRing)->IsInWorld())
                    << "machine " << machine;
            }
    }

    TradeGame trade;
};

TEST_F(PickUpContention, PlayersReachingForOneItemAtOnceLeaveItWithOneTakerOnEveryMachine) {
    // Both clients reach in the same step: the server takes the first request it hears.
    for (int host : {1, 2})
        ON_MACHINE(trade.Host(host)) {
            ReachFor(host);
            // Only asked: nothing is taken before the server's word.
            EXPECT_TRUE(Takers().empty()) << "host " << host;
        }
    trade.game.Pump();
    std::vector<int> onServer;
    ON_MACHINE(trade.Host(0)) {
        onServer = Takers();
    }
    ASSERT_EQ(onServer.size(), 1u);
    ExpectTakenBy(onServer.front());
    // Whoever reaches later finds nothing there.
    ON_MACHINE(trade.Host(0)) {
        ReachFor(0);
    }
    trade.game.Pump();
    ExpectTakenBy(onServer.front());
}

TEST_F(PickUpContention, TheServersOwnPlayerReachingFirstTakesItAndTheClientsAreToldNo) {
    for (int host : {0, 1, 2})
        ON_MACHINE(trade.Host(host)) {
            ReachFor(host);
        }
    trade.game.Pump();
    ExpectTakenBy(0);
}

TEST_F(PickUpContention, APlayerOfAnotherMachineReachesForNothingHere) {
    // Every machine plays every player's pick-up; only the controlling one takes the item.
    ON_MACHINE(trade.Host(1)) {
        ReachFor(2);
        ReachFor(0);
    }
    trade.game.Pump();
    for (int machine = 0; machine <= 2; ++machine)
        ON_MACHINE(trade.Host(machine)) {
            EXPECT_TRUE(Takers().empty()) << "machine " << machine;
            EXPECT_TRUE(Singleton<ObjectManager>::Get().GetObject<Item>(kLyingRing)->IsInWorld());
        }
    EXPECT_EQ(trade.game.Server().CountLog("not its to command"), 0);
}

}  // namespace
}  // namespace GAME::test
