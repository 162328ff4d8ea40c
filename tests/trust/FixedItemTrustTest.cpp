// Chests over the network: the server decides. A client's state change is no more than a use
// request of its own player standing at the chest, a locked chest stays shut, a client cannot
// name the targets of a chest's skill, and the loot the server drops reaches every machine as
// the same items under the same ids.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/world/fixeditems/FixedItemContainer.h"
#include "Game/world/strategic/StrategicMovementKinds.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

// Placed ids far from those the object manager hands out (the chests' own parts take those).
constexpr std::uint32_t kChest = 0x0A000001;
constexpr std::uint32_t kLocked = 0x0A000002;
constexpr std::uint32_t kTrap = 0x0A000003;
constexpr std::uint32_t kFarChest = 0x0A000004;
constexpr std::uint32_t kDoor = 0x0A000005;
constexpr std::uint32_t kFarDoor = 0x0A000006;
constexpr std::uint32_t kRespawnShrine = 0x0A000007;

class FixedItemTrust : public ::testing::Test {
protected:
    FixedItemTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            // Every machine places the level's chests under the same ids.
            Place("Records/Fixed/Chest.dbr", kChest, Vec3());
            Place("Records/Fixed/LockedChest.dbr", kLocked, Vec3());
            Place("Records/Fixed/TrapChest.dbr", kTrap, Vec3());
            Place("Records/Fixed/Chest.dbr", kFarChest, Vec3(50.0f, 0.0f, 0.0f));
            Place("Records/Fixed/Door.dbr", kDoor, Vec3(0.0f, 0.0f, -3.0f));
            Place("Records/Fixed/Door.dbr", kFarDoor, Vec3(0.0f, 0.0f, 60.0f));
            Place("Records/Fixed/RespawnShrine.dbr", kRespawnShrine, Vec3());
        }
        for (int host = 0; host <= 2; ++host)
            Join(host);
    }
    ~FixedItemTrust() override { game.OnEach(ShutdownObjects); }

    static void Place(const char* record, std::uint32_t id, const Vec3& where) {
        auto* chest = Singleton<ObjectManager>::Get().CreateObjectFromFile<Actor>(record, id);
        ASSERT_NE(chest, nullptr);
        World& world = World::Get();
        Region* region = world.GetRegion("Vale");
        if (!region)
            region = world.AddRegion(std::make_unique<Region>("Vale"));
        world.AddEntity(chest, WorldCoords(region, Coords::FromOrigin(where)), true);
        chest->InitialUpdate();
    }
    static std::uint32_t IdOf(int host) { return PlayerId(host, 0x300 + host); }
    void Join(int host) { JoinPlayer(game, host, IdOf(host), 4, {}, true); }
    // The hostile client (host 1) sends the packet as it is.
    void SendFromHostile(NetPacket& packet) {
        ON_MACHINE(game.Client(0)) {
            gEngine->GetNetworkConnectionManager()->SendToServer(&packet);
        }
        game.Pump();
    }
    void HostileStateChange(std::uint32_t chest, std::uint32_t state) {
        FixedItemStateChangeConfigCmdPacket packet;
        packet.parent = chest;
        packet.state = state;
        packet.instigator = IdOf(1);
        packet.doSound = true;
        SendFromHostile(packet);
    }
    // The state of a chest on every machine, server first.
    std::vector<FixedItem_State> StatesOf(std::uint32_t id) {
        std::vector<FixedItem_State> states;
        for (TestMachine* tm : game.Machines())
            ON_MACHINE(*tm) {
                states.push_back(
                    Singleton<ObjectManager>::Get().GetObject<FixedItem>(id)->GetCurrentState());
            }
        return states;
    }
    // The items of a machine by id.
    std::map<std::uint32_t, std::string> ItemsOn(TestMachine& tm) {
        std::map<std::uint32_t, std::string> items;
        ON_MACHINE(tm) {
            ObjectManager& objects = Singleton<ObjectManager>::Get();
            for (const std::uint32_t id : objects.GetObjectIds())
                if (const Item* item = objects.GetObject<Item>(id))
                    items[id] = item->GetObjectName();
        }
        return items;
    }

    NetTestGame game;
};

using States = std::vector<FixedItem_State>;
constexpr FixedItem_State kClosed = FixedItemState_ContainerClosed;
constexpr FixedItem_State kOpen = FixedItemState_ContainerOpen;

TEST_F(FixedItemTrust, AClientsStateChangeIsOnlyAUseAndTheLockedChestStaysShut) {
    struct Case {
        std::uint32_t chest;
        States after;
        const char* log;
    };
    // In order: the locked chest refuses the use; one out of reach is refused; an unlocked one
    // at hand opens on every machine, as the server decided.
    for (const Case& c : {Case{kLocked, {kClosed, kClosed, kClosed}, "taken as a use"},
                          Case{kFarChest, {kClosed, kClosed, kClosed}, "decide: refused"},
                          Case{kChest, {kOpen, kOpen, kOpen}, "taken as a use"}}) {
        game.Server().ClearLog();
        HostileStateChange(c.chest, kOpen);
        EXPECT_EQ(StatesOf(c.chest), c.after) << c.chest;
        EXPECT_EQ(game.Server().CountLog(c.log), 1) << c.chest;
    }
    // A client cannot close what the server opened either.
    HostileStateChange(kChest, kClosed);
    EXPECT_EQ(StatesOf(kChest), (States{kOpen, kOpen, kOpen}));
}

TEST_F(FixedItemTrust, AClientOpensADoorOnlyAsAUseAtItAndEveryMachineSeesTheSame) {
    constexpr FixedItem_State kDoorClosed = FixedItemState_DoorClosed;
    constexpr FixedItem_State kDoorOpen = FixedItemState_DoorOpen;
    HostileStateChange(kFarDoor, kDoorOpen);
    EXPECT_EQ(StatesOf(kFarDoor), (States{kDoorClosed, kDoorClosed, kDoorClosed}));
    // Held open for good is the quests' choice, not a client's: at hand it is only a use.
    HostileStateChange(kDoor, FixedItemState_DoorOpenNoAutoClose);
    EXPECT_EQ(StatesOf(kDoor), (States{kDoorOpen, kDoorOpen, kDoorOpen}));
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            EXPECT_FALSE(Singleton<ObjectManager>::Get()
                             .GetObject<FixedItem>(kDoor)
                             ->GetPathObstacleCount());
        }
}

TEST_F(FixedItemTrust, AClientCannotHealWithARespawnShrine) {
    ON_MACHINE(game.Server()) {
        test::SetLife(*Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1)), 10.0f, 100.0f);
    }
    StrategicMovementTargetConfigCmdPacket packet;
    packet.parent = kRespawnShrine;
    packet.targets = std::vector<unsigned int>{IdOf(1)};
    SendFromHostile(packet);
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(1))->GetCurrentLife(),
                  10.0f);
    }
    EXPECT_EQ(game.Server().CountLog("refused StrategicMovementTargetConfigCmdPacket from host 1"),
              1);
}

TEST_F(FixedItemTrust, TheServersLootReachesEveryMachineAsTheSameItems) {
    const std::map<std::uint32_t, std::string> before = ItemsOn(game.Client(1));
    HostileStateChange(kChest, kOpen);
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().GetObject<FixedItem>(kChest)->AnimationCallback(
            0, Name::Create("lootGen"));
    }
    // The same event on a client decides nothing there.
    ON_MACHINE(game.Client(1)) {
        Singleton<ObjectManager>::Get().GetObject<FixedItem>(kChest)->AnimationCallback(
            0, Name::Create("lootGen"));
    }
    game.Pump();
    const std::map<std::uint32_t, std::string> onServer = ItemsOn(game.Server());
    // Gold and the party item at least (the rings come in twos, or not at all).
    EXPECT_GE(onServer.size(), before.size() + 2);
    EXPECT_EQ(ItemsOn(game.Client(0)), onServer);
    EXPECT_EQ(ItemsOn(game.Client(1)), onServer);
}

TEST_F(FixedItemTrust, AClientCannotNameTheTargetsOfAChestsSkill) {
    // A trapped chest's skill releases a monster under each id it is given: from a client, ids
    // of its choosing would make monsters on the server.
    FixedItemSkillTargetConfigCmdPacket packet;
    packet.parent = kTrap;
    packet.primaryTarget = IdOf(2);
    packet.targets = std::vector<unsigned int>{0x7777};
    SendFromHostile(packet);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(0x7777), nullptr);
        }
    EXPECT_EQ(game.Server().CountLog("refused FixedItemSkillTargetConfigCmdPacket from host 1"), 1);
}

}  // namespace
}  // namespace GAME::test
