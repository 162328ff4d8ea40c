// The players of a network game: each machine makes its own player (of its class record or its
// character file), the clients bring theirs to the server, and the server puts them all into the
// game in host order; every machine has each player under the same id with the same skill ids,
// whatever order it made them in, and a brought character as its file holds it. The server
// refuses a join that claims more than a file may hold, and a spawn packet that names no host's
// player or an existing one; a player whose host left is taken out everywhere.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/triggers/TriggerText.h"
#include "Host/HostApp.h"
#include "Host/net/NetPlayers.h"
#include "support/NetTestGame.h"
#include "support/QuestText.h"

namespace GAME::test {
namespace {

// Placed by the sample level: the village's travel stone and the cave's respawn shrine.
const UniqueId kVillageStone(0x5a7e0002, 0, 0, 3);
const UniqueId kWaystone(0x5a7e0001, 0, 0, 1);

struct Made {
    std::uint32_t id = 0;
    bool own = false;
};

class NetPlayersTest : public ::testing::Test {
protected:
    NetPlayersTest() {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            hosts.push_back(gEngine->GetNetworkConnectionManager()->GetLocalHostId());
            InitializeObjects();
            if (index == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
            players.push_back(std::make_unique<NetPlayers>([this, index](Player& player, bool own) {
                made[index].push_back({player.GetObjectId(), own});
            }));
            players.back()->Install();
            ++index;
        }
    }
    ~NetPlayersTest() override {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            players[index++]->Uninstall();
            World::Get().UnloadLevel();
            ShutdownObjects();
        }
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }

    // Each machine makes its own player, in the order of `indices`; then the clients join and
    // the server starts the game.
    void Play(const std::vector<int>& indices, const std::filesystem::path& brought = {}) {
        for (int index : indices)
            ON_MACHINE(*game.Machines()[index]) {
                ASSERT_NE(players[index]->MakeOwn(PlayOptions::kDefaultClass,
                                                  index == 1 ? brought : std::filesystem::path()),
                          nullptr);
            }
        for (int index : {1, 2})
            ON_MACHINE(*game.Machines()[index]) {
                EXPECT_TRUE(players[index]->SendJoin());
            }
        game.Pump();
        ON_MACHINE(game.Server()) {
            ASSERT_TRUE(players[0]->StartGame({hosts[2], hosts[1]}));
        }
        game.Pump();
    }

    // Each player's skill ids on the current machine, by player.
    static std::map<std::uint32_t, std::vector<std::uint32_t>> SkillIds(
        const std::vector<std::uint32_t>& ids) {
        std::map<std::uint32_t, std::vector<std::uint32_t>> skills;
        for (std::uint32_t id : ids)
            if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(id))
                skills[id] = player->GetSkillManager().GetSkillList();
        return skills;
    }

    std::vector<std::uint32_t> Expected() const {
        return {NetPlayerId(0), NetPlayerId(hosts[1]), NetPlayerId(hosts[2])};
    }

    NetTestGame game{2, TestMachine::SampleDataDir()};
    std::vector<int> hosts;
    std::vector<std::unique_ptr<NetPlayers>> players;
    std::map<int, std::vector<Made>> made;
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("netplayers-" + std::to_string(::getpid()) + ".chr");
};

TEST_F(NetPlayersTest, EveryMachineHasThePlayersInHostOrderUnderTheSameIdsWhateverOrderItMadeThem) {
    // The clients make their own players before they hear of the server's.
    Play({2, 1, 0});
    const std::vector<std::uint32_t> expected = Expected();
    EXPECT_EQ(expected[1] >> 28, static_cast<std::uint32_t>(hosts[1]));
    std::vector<std::map<std::uint32_t, std::vector<std::uint32_t>>> skills;
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(players[index]->GetPlayers(), expected) << index;
        ASSERT_EQ(made[index].size(), 3u) << index;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(made[index][i].own, i == index) << index << " " << i;
        ON_MACHINE(*game.Machines()[index]) {
            skills.push_back(SkillIds(expected));
            EXPECT_EQ(gGameEngine->GetPlayerManagerClient()->GetMainPlayer(), expected[index]);
        }
    }
    ASSERT_EQ(skills[0].size(), 3u);
    EXPECT_FALSE(skills[0][expected[0]].empty());
    EXPECT_EQ(skills[1], skills[0]);
    EXPECT_EQ(skills[2], skills[0]);
}

// What the player carries and wears on the current machine: (record, id, equip location; 0 in
// the bag), by id.
std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> Goods(std::uint32_t id) {
    std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> goods;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Player* player = objects.GetObject<Player>(id);
    if (!player)
        return goods;
    for (std::uint32_t item : player->GetInventory().GetInventoryItems())
        if (const auto* made = objects.GetObject<Item>(item))
            goods.emplace_back(made->GetObjectName(), item, 0u);
    for (const EquipManagerContainer& entry : player->GetEquipManager().GetAttachedItems())
        if (const auto* made = objects.GetObject<Item>(entry.itemId))
            goods.emplace_back(made->GetObjectName(), entry.itemId, entry.location);
    std::sort(goods.begin(), goods.end(),
              [](const auto& a, const auto& b) { return std::get<1>(a) < std::get<1>(b); });
    return goods;
}

TEST_F(NetPlayersTest, ANewPlayerWearsItsClassKitUnderTheSameIdsOnEveryMachine) {
    Play({2, 1, 0});
    for (std::uint32_t id : Expected()) {
        const auto goods = game.OnEach([id] { return Goods(id); });
        // The kit: blade in hand, jerkin, shield; the draught in the bag.
        ASSERT_EQ(goods[0].size(), 4u) << id;
        const std::vector<std::pair<std::string, bool>> kit = {
            {"Records/Items/Weapons/WardenShortSword.dbr", true},
            {"Records/Items/Armor/WardenJerkin.dbr", true},
            {"Records/Items/Weapons/OakShield.dbr", true},
            {"Records/Items/Potions/HealingDraught.dbr", false}};
        for (std::size_t i = 0; i < kit.size(); ++i) {
            EXPECT_TRUE(RecordNamesEqual(std::get<0>(goods[0][i]), kit[i].first)) << id << " " << i;
            EXPECT_EQ(std::get<2>(goods[0][i]) != 0, kit[i].second) << id << " " << i;
        }
        EXPECT_EQ(goods[1], goods[0]) << id;
        EXPECT_EQ(goods[2], goods[0]) << id;
    }
    // The owner's hands know the blade they hold, as after putting it on by hand.
    for (int index = 0; index < 3; ++index)
        ON_MACHINE(*game.Machines()[index]) {
            const std::uint32_t id = Expected()[index];
            auto* controller = FindController<ControllerPlayer>(
                *Singleton<ObjectManager>::Get().GetObject<Player>(id));
            ASSERT_NE(controller, nullptr);
            EXPECT_TRUE(controller->GetEquipmentCtrl().Holds(std::get<1>(Goods(id)[0]))) << index;
        }
    EXPECT_EQ(game.Client(0).CountLog("cannot be made here"), 0);
}

TEST_F(NetPlayersTest, ABroughtCharacterReachesEveryMachineAsItsFileHoldsIt) {
    ON_MACHINE(game.Client(0)) {
        auto* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            PlayOptions::kDefaultClass);
        hero->SetPlayerName(L"Kassandra");
        hero->IncrementCharLevel();
        hero->IncrementCharLevel();
        hero->SetIsControllingCharacter(true);
        auto* controller = FindController<ControllerPlayer>(*hero);
        ASSERT_NE(controller, nullptr);
        Item* ring = controller->CreateItemInInventory("Records/Items/Armor/SilverRing.dbr");
        ASSERT_NE(ring, nullptr);
        ASSERT_TRUE(controller->GiveItemToPlayer(ring->GetObjectId()));
        // Stones found in other games: the village's, and one of a level not played here.
        hero->AddTeleportUID(kVillageStone);
        hero->AddTeleportUID(UniqueId(7, 7, 7, 7));
        ASSERT_TRUE(hero->SaveCharacterFile(file));
        Singleton<ObjectManager>::Get().DestroyObjectEx(hero, __FILE__, __LINE__);
    }
    Play({0, 1, 2}, file);
    const std::uint32_t id = NetPlayerId(hosts[1]);
    const auto seen = game.OnEach([id] {
        Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(id);
        return player ? std::make_tuple(player->GetPlayerName(), player->GetCharLevel(),
                                        player->GetExperiencePoints())
                      : std::make_tuple(std::wstring(), 0u, 0u);
    });
    for (const auto& machine : seen)
        EXPECT_EQ(machine, std::make_tuple(std::wstring(L"Kassandra"), 3u, 200u));
    // The stones it found that this level places: known on every machine, so its travel to
    // them is the server's to accept (its own machine keeps its file's list whole).
    const auto stones = game.OnEach([id] {
        Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(id);
        return player ? player->GetTeleportUIDs() : std::vector<UniqueId>();
    });
    EXPECT_EQ(stones[0], std::vector<UniqueId>{kVillageStone});
    EXPECT_EQ(stones[2], stones[0]);
    EXPECT_EQ(stones[1], (std::vector<UniqueId>{kVillageStone, UniqueId(7, 7, 7, 7)}));
    // What it wears comes along: the same ring, rolled from the same seed, on every machine.
    const auto worn = game.OnEach([id] {
        std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> items;
        if (Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(id))
            for (const EquipManagerContainer& entry : player->GetEquipManager().GetAttachedItems())
                if (const auto* item =
                        Singleton<ObjectManager>::Get().GetObject<Item>(entry.itemId))
                    items.emplace_back(item->GetReplicaInfo().baseName, item->GetReplicaInfo().seed,
                                       entry.location);
        return items;
    });
    ASSERT_EQ(worn[0].size(), 1u);
    EXPECT_EQ(std::get<0>(worn[0][0]), "Records/Items/Armor/SilverRing.dbr");
    EXPECT_EQ(worn[1], worn[0]);
    EXPECT_EQ(worn[2], worn[0]);
    const auto skills = game.OnEach([this] { return SkillIds(Expected()); });
    EXPECT_EQ(skills[1], skills[0]);
    EXPECT_EQ(skills[2], skills[0]);
    // Its unspent skill points, which no replication carries: every machine works them out
    // from the levels, so the server pays the owner's spends from the same purse.
    const auto points = game.OnEach([id] {
        Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(id);
        return player ? player->GetSkillPoints() : 0u;
    });
    EXPECT_GT(points[1], 0u);
    EXPECT_EQ(points[0], points[1]);
    EXPECT_EQ(points[2], points[1]);
}

// A brought character's unspent attribute points from quests, which no replication tells, count
// on every machine up to what the server's quests give.
TEST_F(NetPlayersTest, ABroughtCharactersQuestPointsCountUpToWhatTheQuestsGive) {
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ASSERT_NE(QuestRepository::Get()->LoadQuest(
                          "Quests/Q.quest",
                          OneActionQuest(R"({"name": "Action_GiveAttributePoints"},)"
                                         R"( {"attributeAmount[0]": 2}, {"region": 0})")),
                      nullptr);
        }
    ON_MACHINE(game.Client(0)) {
        auto* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            PlayOptions::kDefaultClass);
        hero->SetPlayerName(L"Kassandra");
        hero->IncrementCharLevel();  // three points
        hero->GetExperienceLevelControl().AddModifierPoints(5);
        ASSERT_TRUE(hero->SaveCharacterFile(file));
        Singleton<ObjectManager>::Get().DestroyObjectEx(hero, __FILE__, __LINE__);
    }
    Play({0, 1, 2}, file);
    const std::uint32_t id = NetPlayerId(hosts[1]);
    const auto unspent = game.OnEach([id] {
        Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(id);
        return player ? player->GetModifierPoints() : 0u;
    });
    // Its own machine keeps its file's eight; the others take three and the quest's two.
    EXPECT_EQ(unspent, (std::vector<std::uint32_t>{5, 8, 5}));
}

TEST_F(NetPlayersTest, AJoinBeyondWhatAFileHoldsIsRefusedWithItsFieldAndTheClientDropped) {
    ON_MACHINE(game.Server()) {
        ASSERT_NE(players[0]->MakeOwn(PlayOptions::kDefaultClass, {}), nullptr);
    }
    ON_MACHINE(game.Client(0)) {
        Player* own = players[1]->MakeOwn(PlayOptions::kDefaultClass, {});
        ASSERT_NE(own, nullptr);
        own->GetExperienceLevelControl().SetLevel(300);
        EXPECT_TRUE(players[1]->SendJoin());
    }
    ON_MACHINE(game.Client(1)) {
        // A join in another host's name.
        SpawnPlayerPacket join;
        join.player = NetPlayerId(hosts[1]);
        join.record = PlayOptions::kDefaultClass;
        join.replication = {1, 2, 3};
        gEngine->GetNetworkConnectionManager()->SendToServer(&join);
    }
    game.Pump();
    // A fresh player claiming a respawn shrine as a found travel stone.
    ON_MACHINE(game.Client(1)) {
        Player* own = players[2]->MakeOwn(PlayOptions::kDefaultClass, {});
        ASSERT_NE(own, nullptr);
        own->AddTeleportUID(kVillageStone);
        own->AddTeleportUID(kWaystone);
        EXPECT_TRUE(players[2]->SendJoin());
    }
    game.Pump();
    // The refused hear why before they are dropped.
    ON_MACHINE(game.Server()) {
        players[0]->DropRefused();
    }
    game.Pump();
    ON_MACHINE(game.Server()) {
        EXPECT_FALSE(players[0]->HasJoined(hosts[1]));
        EXPECT_FALSE(players[0]->HasJoined(hosts[2]));
        EXPECT_EQ(players[0]->GetRefused(), 3);
        EXPECT_TRUE(gEngine->GetNetworkConnectionManager()->GetClientHosts().empty());
    }
    EXPECT_EQ(game.Server().CountLog("is refused: level: 300 is outside the record's 1..5"), 1);
    EXPECT_EQ(game.Server().CountLog("is refused: player id: names another host's player"), 1);
    EXPECT_EQ(game.Server().CountLog("is refused: found stones: " + kWaystone.ToString() +
                                     " is no travel stone"),
              1);
    ON_MACHINE(game.Client(0)) {
        ASSERT_FALSE(gGameEngine->GetUINotifications().empty());
        EXPECT_EQ(gGameEngine->GetUINotifications().front().texts.front().rfind(
                      L"your player is refused: level: 300", 0),
                  0u);
    }
}

TEST_F(NetPlayersTest, ASpawnOfNoHostsPlayerOrOfAnExistingOneIsRefused) {
    Play({0, 1, 2});
    ON_MACHINE(game.Server()) {
        for (std::uint32_t id : {NetPlayerId(0), 0x12345u, NetPlayerId(hosts[1]) + 1}) {
            SpawnPlayerPacket packet;
            packet.player = id;
            packet.record = PlayOptions::kDefaultClass;
            gEngine->GetNetworkConnectionManager()->SendToAllClients(&packet);
        }
    }
    game.Pump();
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(players[1]->GetPlayers(), Expected());
        EXPECT_EQ(players[1]->GetRefused(), 3);
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(0x12345u), nullptr);
    }
    EXPECT_EQ(game.Client(0).CountLog("exists already"), 1);
    EXPECT_EQ(game.Client(0).CountLog("is no host's player id"), 2);
}

TEST_F(NetPlayersTest, APlayerWhoseHostLeftIsTakenOutOnEveryMachine) {
    Play({0, 1, 2});
    const std::uint32_t gone = NetPlayerId(hosts[2]);
    std::vector<std::uint32_t> goneSkills;
    ON_MACHINE(game.Server()) {
        goneSkills = Singleton<ObjectManager>::Get()
                         .GetObject<Player>(gone)
                         ->GetSkillManager()
                         .GetSkillList();
        players[0]->RemoveHost(hosts[2]);
    }
    game.Pump();
    // A client cannot take another's player out.
    ON_MACHINE(game.Client(0)) {
        NackEntityPacket forged;
        forged.entityIds.push_back(NetPlayerId(0));
        gEngine->GetNetworkConnectionManager()->SendToServer(&forged);
    }
    game.Pump();
    for (int index = 0; index < 2; ++index) {
        EXPECT_EQ(players[index]->GetPlayers(),
                  (std::vector<std::uint32_t>{NetPlayerId(0), NetPlayerId(hosts[1])}))
            << index;
        ON_MACHINE(*game.Machines()[index]) {
            EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(gone), nullptr);
            for (std::uint32_t skill : goneSkills)
                EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(skill), nullptr);
        }
    }
}

}  // namespace
}  // namespace GAME::test
