// Talking to a non-player character over the network: the server runs a client's talk only for
// its own player standing at the NPC, and an item the NPC gives is made by the server alone and
// reaches every machine as the same item.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/items/Item.h"
#include "characters/CharacterActionTestSupport.h"
#include "support/NetTestGame.h"
#include "trust/TrustTestSupport.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kNearNpc = 0x0A800001;
constexpr std::uint32_t kFarNpc = 0x0A800002;
constexpr const char* kPebble = "Records/Items/Pebble.dbr";

class NpcTrust : public ::testing::Test {
protected:
    NpcTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            MakeLivingCharacter(kHostile, 10, 10);
            MakeLivingCharacter(kHonest, 20, 10);
            // The level's NPCs, and what a quest set them to give, alike on every machine.
            Place(kNearNpc, 12)->SetDispenseItem(kHostile, kPebble);
            Place(kFarNpc, 150)->SetDispenseItem(kHostile, kPebble);
        }
    }
    ~NpcTrust() override { game.OnEach(ShutdownObjects); }

    static Npc* Place(std::uint32_t id, float x) {
        auto* npc =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>("Records/Npcs/Giver.dbr", id);
        World::Get().AddEntity(
            npc, WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(x, 0, 10))), false);
        npc->InitialUpdate();
        return npc;
    }
    // The hostile client talks for a character, as it pleases.
    void Engage(std::uint32_t character, std::uint32_t npc) {
        EngageNpcPacket packet;
        packet.character = character;
        packet.targetId = npc;
        ON_MACHINE(game.Client(0)) {
            gEngine->GetNetworkConnectionManager()->SendToServer(&packet);
        }
        game.Pump();
    }
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

TEST_F(NpcTrust, OnlyItsOwnPlayerAtTheNpcTalksAndTheServersItemReachesEveryone) {
    const std::map<std::uint32_t, std::string> before = ItemsOn(game.Server());
    struct Case {
        std::uint32_t character;
        std::uint32_t npc;
        const char* log;
    } refused[] = {{kHonest, kNearNpc, "not the sender's character"},
                   {kHostile, kFarNpc, "the NPC is out of reach"},
                   {kHostile, kHostile, "the NPC is out of reach"}};
    for (const Case& c : refused) {
        game.Server().ClearLog();
        Engage(c.character, c.npc);
        EXPECT_EQ(game.Server().CountLog(c.log), 1) << c.log;
        EXPECT_EQ(ItemsOn(game.Server()), before) << c.log;
    }

    Engage(kHostile, kNearNpc);
    const std::map<std::uint32_t, std::string> after = ItemsOn(game.Server());
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(ItemsOn(game.Client(0)), after);
    EXPECT_EQ(ItemsOn(game.Client(1)), after);
    // Talking again mints nothing more.
    ON_MACHINE(game.Client(0)) {
        gEngine->AdvanceGameTime(2000);
    }
    Engage(kHostile, kNearNpc);
    EXPECT_EQ(ItemsOn(game.Server()), after);
}

}  // namespace
}  // namespace GAME::test
