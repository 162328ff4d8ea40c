// Personal portals in a networked game: the server chooses every portal's id and tells every
// machine; a hostile client cannot open portals for others, take ids in use, place them nowhere,
// or close another player's portal.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "Engine/world/World.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

using Portals = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // {portal, owner}

class PortalTrust : public ::testing::Test {
protected:
    PortalTrust() : game(2) {
        int host = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            if (host == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            Region* vale = World::Get().AddRegion(
                std::make_unique<Region>("Vale", Vec3(), Vec3(100, 50, 100)));
            for (int other = 0; other <= 2; ++other) {
                Player* player = MakePlayer(IdOf(other), L"P" + std::to_wstring(other), 4);
                player->SetCoords(WorldCoords(vale, Coords::FromOrigin(Vec3(10.0f * other, 0, 5))));
            }
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(IdOf(host++));
        }
    }
    ~PortalTrust() override { game.OnEach(ShutdownObjects); }

    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x400 + host); }
    // The portals each machine knows, the server first.
    std::vector<Portals> KnownEverywhere() {
        return game.OnEach([] {
            Portals known;
            for (const GameEngine::TeleportInfo& info : gGameEngine->GetTeleportInfoList())
                known.emplace_back(info.portal, info.owner);
            return known;
        });
    }
    void OpenOwnPortal(int host) {
        ON_MACHINE(game.Host(host)) {
            gGameEngine->CreateFixedItemTeleport();
        }
        game.Pump();
    }

    NetTestGame game;
};

TEST_F(PortalTrust, TheServerChoosesEveryPortalsIdAndEveryMachineKnowsIt) {
    OpenOwnPortal(2);
    OpenOwnPortal(0);  // the server's own portal is known on the server as well
    const std::vector<Portals> known = KnownEverywhere();
    ASSERT_EQ(known[0].size(), 2u);
    EXPECT_EQ(known[0][0].second, IdOf(2));
    EXPECT_EQ(known[0][1].second, IdOf(0));
    EXPECT_NE(known[0][0].first, 0u);
    EXPECT_NE(known[0][0].first, known[0][1].first);
    for (const Portals& machine : known)
        EXPECT_EQ(machine, known[0]);

    // Closing its own portal reaches every machine through the server.
    ON_MACHINE(game.Client(1)) {
        gGameEngine->DestroyFixedItemTeleport(IdOf(2));
    }
    game.Pump();
    for (const Portals& machine : KnownEverywhere())
        EXPECT_EQ(machine, (Portals{known[0][1]}));
}

TEST_F(PortalTrust, AHostileClientsPortalRequestsAreRefused) {
    OpenOwnPortal(2);
    const std::vector<Portals> before = KnownEverywhere();
    const std::uint32_t honest = before[0][0].first;
    Region* vale = nullptr;
    ON_MACHINE(game.Client(0)) {
        vale = World::Get().GetRegion("Vale");
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Request {
        const char* what;
        std::uint32_t owner, portal;
        WorldCoords where;
    };
    const Request requests[] = {
        {"for another player", IdOf(2), 0, WorldCoords(vale, Coords())},
        {"under the id of a portal", IdOf(1), honest, WorldCoords(vale, Coords())},
        {"under the id of a player", IdOf(1), IdOf(0), WorldCoords(vale, Coords())},
        {"in no region", IdOf(1), 0, WorldCoords()},
        {"at no finite place", IdOf(1), 0, WorldCoords(vale, Coords::FromOrigin(Vec3(nan, 0, 0)))},
    };
    for (const Request& request : requests) {
        ON_MACHINE(game.Client(0)) {
            gGameEngine->GetNetworkInterface()->CreateFixedItemTeleport(
                request.where, request.owner, request.portal, "tagHere", 0);
        }
        game.Pump();
        EXPECT_EQ(KnownEverywhere(), before) << request.what;
    }
    EXPECT_GE(game.Server().CountLog("refused CreateFixedItemTeleport from host 1"), 1);

    // Closing another's portal, by its id or its owner's, is refused as well.
    for (std::uint32_t id : {honest, IdOf(2)}) {
        ON_MACHINE(game.Client(0)) {
            gGameEngine->GetNetworkInterface()->DestroyFixedItemTeleport(id);
        }
        game.Pump();
        EXPECT_EQ(KnownEverywhere(), before) << id;
    }
    EXPECT_GE(game.Server().CountLog("refused DestroyFixedItemTeleport from host 1"), 1);
}

}  // namespace
}  // namespace GAME::test
