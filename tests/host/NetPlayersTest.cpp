// The players of a network game: the server makes its own and its clients' in host order and
// sends each one's spawn packet; every client makes them in the same order under the same ids,
// so the skills they bring have the same ids everywhere, and takes the one of its host as its
// own. A spawn packet that names no host's player, or a player that exists, is refused.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Host/HostApp.h"
#include "Host/net/NetPlayers.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

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
            players.push_back(std::make_unique<NetPlayers>(
                PlayOptions::kDefaultClass, [this, index](Player& player, bool own) {
                    made[index].push_back({player.GetObjectId(), own});
                }));
            if (index > 0)
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

    NetTestGame game{2, TestMachine::SampleDataDir()};
    std::vector<int> hosts;
    std::vector<std::unique_ptr<NetPlayers>> players;
    std::map<int, std::vector<Made>> made;
};

TEST_F(NetPlayersTest, EveryMachineMakesThePlayersInHostOrderUnderTheSameIds) {
    ON_MACHINE(game.Server()) {
        for (int host : {0, hosts[1], hosts[2]})
            ASSERT_NE(players[0]->SpawnAndSend(host), nullptr);
    }
    game.Pump();
    const std::vector<std::uint32_t> expected{NetPlayerId(0), NetPlayerId(hosts[1]),
                                              NetPlayerId(hosts[2])};
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

TEST_F(NetPlayersTest, ASpawnOfNoHostsPlayerOrOfAnExistingOneIsRefused) {
    ON_MACHINE(game.Server()) {
        ASSERT_NE(players[0]->SpawnAndSend(0), nullptr);
        for (std::uint32_t id : {NetPlayerId(0), 0x12345u, NetPlayerId(hosts[1]) + 1}) {
            SpawnPlayerPacket packet;
            packet.player = id;
            gEngine->GetNetworkConnectionManager()->SendToAllClients(&packet);
        }
    }
    game.Pump();
    ON_MACHINE(game.Client(0)) {
        EXPECT_EQ(players[1]->GetPlayers(), std::vector<std::uint32_t>{NetPlayerId(0)});
        EXPECT_EQ(players[1]->GetRefused(), 3);
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(0x12345u), nullptr);
    }
    EXPECT_EQ(game.Client(0).CountLog("exists already"), 1);
    EXPECT_EQ(game.Client(0).CountLog("is no host's player id"), 2);
}

}  // namespace
}  // namespace GAME::test
