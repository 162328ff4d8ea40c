// A hostile client against travel stones: it may ask to travel only for its own player, from a
// travel stone it stands at, to a stone that player has found (from a boat: to its landing), one
// travel at a time. A refused ask starts nothing on any machine; an honest one starts on every
// machine at once.
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/InstanceGroup.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/activities/TeleportActivity.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/quests/QuestRepository.h"
#include "Game/world/fixeditems/FixedItemTeleport.h"
#include "Game/world/strategic/StrategicMovementKinds.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"
#include "support/QuestText.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kHostileMover = PlayerId(1, 0x301);
constexpr std::uint32_t kHonestMover = PlayerId(2, 0x302);
constexpr std::uint32_t kHere = 0x0B000001;
const Vec3 kFound(60, 0, 10);    // a stone both players found
const Vec3 kUnfound(60, 0, 40);  // a stone nobody found
const Vec3 kBoat(0, 0, 30);      // a boat whose route lands at the pier
const Vec3 kPier(60, 0, 70);
const Vec3 kGuide(-40, 0, 0);  // a guide whose way a quest opens to the cave
const Vec3 kCave(-40, 0, 60);

class HostileTraveller : public ::testing::Test {
protected:
    HostileTraveller() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            region = World::Get().AddRegion(std::make_unique<Region>("Vale"));
            PlaceStone(kHere, 1, Vec3());
            PlaceStone(kHere + 1, 2, kFound);
            PlaceStone(kHere + 2, 3, kUnfound);
            PlaceBoatRoute();
            for (std::uint32_t id : {kHostileMover, kHonestMover}) {
                Player* player = MakePlayer(id, L"P", 4);
                World::Get().AddEntity(player, WorldCoords(region, Coords()), true);
                player->AddTeleportUID(UniqueId(2, 0, 0, 1));
            }
        }
        ON_MACHINE(game.Client(0)) {
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kHostileMover);
        }
        ON_MACHINE(game.Client(1)) {
            gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kHonestMover);
        }
    }
    ~HostileTraveller() override { game.OnEach(ShutdownObjects); }

    void PlaceStone(std::uint32_t id, std::uint32_t uid, const Vec3& at) {
        auto* stone =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<StrategicMovementTeleportShrine>(
                "Records/Fixed/TeleportShrine.dbr", id);
        ASSERT_NE(stone, nullptr);
        stone->SetUniqueId(UniqueId(uid, 0, 0, 1));
        World::Get().AddEntity(stone, WorldCoords(region, Coords::FromOrigin(at)), true);
    }
    void PlaceBoatRoute() {
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            "Records/Fixed/Boat.dbr", R"({"Class": "FixedItemTeleport", "staticPortal": true})"));
        InstanceGroup* route = InstanceGroupManager::Get()->AddGroup("Route", "Boat Route");
        std::uint32_t id = kHere + 3;
        for (const Vec3& at : {kBoat, kPier}) {
            auto* end = Singleton<ObjectManager>::Get().CreateObjectFromFile<FixedItemTeleport>(
                "Records/Fixed/Boat.dbr", id);
            ASSERT_NE(end, nullptr);
            const UniqueId uid(id, 0, 0, 2);
            end->SetUniqueId(uid);
            World::Get().AddEntity(end, WorldCoords(region, Coords::FromOrigin(at)), true);
            end->InitialUpdate();
            UniqueIdMap::Get().Add(uid, id++);
            route->AddMember(uid);
        }
    }
    // Where a player stands, on every machine.
    void Put(std::uint32_t id, const Vec3& at) {
        for (TestMachine* tm : game.Machines())
            ON_MACHINE(*tm) {
                World::Get().SetCoords(
                    Singleton<ObjectManager>::Get().GetObject<Player>(id),
                    WorldCoords(World::Get().GetRegion("Vale"), Coords::FromOrigin(at)));
            }
    }
    void Ask(int client, std::uint32_t player, const Vec3& to) {
        ON_MACHINE(game.Client(client)) {
            gGameEngine->GetNetworkInterface()->StartTeleport(player, to.x, to.y, to.z);
        }
        game.Pump();
    }
    // The teleports each machine runs, server first.
    std::vector<std::size_t> Teleports() {
        return game.OnEach([] {
            ActivityManager::Get()->Update(0);
            return ActivityManager::Get()->GetActiveCount();
        });
    }

    NetTestGame game;
    Region* region = nullptr;
};

TEST_F(HostileTraveller, TravelsOnlyItsOwnPlayerFromAStoneItStandsAtToAStoneItFound) {
    struct Case {
        const char* what;
        std::uint32_t player;
        Vec3 standsAt;
        Vec3 to;
        const char* log;
    };
    const Case cases[] = {
        {"another's player", kHonestMover, Vec3(), kFound, "refused StartTeleport from host 1"},
        {"far from any stone", kHostileMover, Vec3(30, 0, 30), kFound,
         "stands at no travel stone or portal"},
        {"to a stone not found", kHostileMover, Vec3(), kUnfound, "no place the stone or portal"},
        {"to no stone at all", kHostileMover, Vec3(), Vec3(5, 0, 90),
         "no place the stone or portal"},
        {"from a boat, not to its landing", kHostileMover, kBoat, kFound,
         "no place the stone or portal"},
    };
    for (const Case& c : cases) {
        Put(kHostileMover, c.standsAt);
        // A fresh window of the fault log: each refusal shows.
        ON_MACHINE(game.Server()) {
            gEngine->AdvanceGameTime(NetFaultLog::kWindowMs);
        }
        game.Server().ClearLog();
        Ask(0, c.player, c.to);
        EXPECT_EQ(Teleports(), (std::vector<std::size_t>{0, 0, 0})) << c.what;
        EXPECT_EQ(game.Server().CountLog(c.log), 1) << c.what;
    }
}

TEST_F(HostileTraveller, AClientAtABoatSailsToItsLanding) {
    Put(kHonestMover, kBoat);
    Ask(1, kHonestMover, kPier);
    EXPECT_EQ(Teleports(), (std::vector<std::size_t>{1, 1, 1}));
}

TEST_F(HostileTraveller, AnHonestAskStartsEverywhereOnceAndASecondAskIsRefused) {
    Ask(1, kHonestMover, kFound);
    Ask(1, kHonestMover, kFound);
    EXPECT_EQ(Teleports(), (std::vector<std::size_t>{1, 1, 1}));
    EXPECT_EQ(game.Server().CountLog("refused StartTeleport from host 2"), 1);
    // Under way, a third ask is refused for that too.
    game.RunFrames(3, 100, [](TestMachine&, int) { gGameEngine->Update(100); });
    Ask(1, kHonestMover, kFound);
    EXPECT_EQ(Teleports(), (std::vector<std::size_t>{1, 1, 1}));
}

// A guide's way is a quest's to open: the server goes by its own quests' guide actions (it cannot
// see the client's), so a client by the guide goes that way and no other, and only by him.
TEST_F(HostileTraveller, AClientByAGuideGoesOnlyTheWayTheServersQuestsOpenForHim) {
    const std::string quest = OneActionQuest(
        R"({"name": "Action_BoatDialog"}, {"npc": "Records/Npcs/Giver.dbr"}, {"onOff": true},)"
        R"( {"x": -40}, {"y": 0}, {"z": 60}, {"tag": "tagWay"})");
    ON_MACHINE(game.Server()) {
        ASSERT_NE(QuestRepository::Get()->LoadQuest("Quests/Q.quest", quest), nullptr);
    }
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            auto* guide = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>(
                "Records/Npcs/Giver.dbr", kHere + 10);
            ASSERT_NE(guide, nullptr);
            World::Get().AddEntity(
                guide, WorldCoords(World::Get().GetRegion("Vale"), Coords::FromOrigin(kGuide)),
                false);
        }
    struct Case {
        const char* what;
        Vec3 standsAt;
        Vec3 to;
        std::vector<std::size_t> teleports;
    };
    const Case cases[] = {
        {"by the guide, elsewhere", kGuide + Vec3(5, 0, 0), kUnfound, {0, 0, 0}},
        {"out of the guide's reach", kGuide + Vec3(0, 0, 12), kCave, {0, 0, 0}},
        {"by the guide, his way", kGuide + Vec3(5, 0, 0), kCave, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        Put(kHonestMover, c.standsAt);
        Ask(1, kHonestMover, c.to);
        EXPECT_EQ(Teleports(), c.teleports) << c.what;
    }
}

}  // namespace
}  // namespace GAME::test
