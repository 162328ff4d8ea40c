#pragma once
// A server and two clients at the sample merchant's stall: the same merchant and players on
// every machine, each client controlling its own player, every player with gold. The market's
// frames run the client and server services of each machine, then deliver the packets.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/market/MarketClient.h"
#include "Game/items/market/MarketServer.h"
#include "Game/items/market/NpcMerchant.h"
#include "characters/CharacterActionTestSupport.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {

class MarketGame : public ::testing::Test {
protected:
    static constexpr std::uint32_t kMerchant = 0x0A900001;
    static constexpr const char* kDraught = "Records/Items/Potions/HealingDraught.dbr";
    static constexpr const char* kSword = "Records/Items/Weapons/WardenSword.dbr";
    static constexpr std::uint32_t kGold = 1000;

    MarketGame() : game(2, TestMachine::SampleDataDir()) {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            if (index == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            ObjectManager& objects = Singleton<ObjectManager>::Get();
            auto* merchant = objects.CreateObjectFromFile<NpcMerchant>(
                "Records/Characters/Npcs/Merchant.dbr", kMerchant);
            World::Get().AddEntity(
                merchant, WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(10, 0, 10))),
                false);
            merchant->InitialUpdate();
            for (int host = 0; host <= 2; ++host) {
                auto* player = objects.CreateObjectFromFile<Player>(
                    "Records/Characters/Players/Warden.dbr", PlayerOf(host));
                player->SetCoords(
                    WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(12.0f + host, 0, 10))));
                player->AddMoney(kGold);
                if (host == index) {
                    player->SetIsControllingCharacter(true);
                    if (auto* controller = FindController<ControllerPlayer>(*player))
                        controller->Update(1);
                    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(PlayerOf(host));
                }
            }
            ++index;
        }
        Frames(4);
    }
    ~MarketGame() override { game.OnEach(ShutdownObjects); }

    static std::uint32_t PlayerOf(int host) { return PlayerId(host, 0x70 + host); }

    // The market's frames on every machine.
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            for (TestMachine* tm : game.Machines()) {
                MachineScope scope(tm->machine());
                gGameEngine->GetClientServices()->Update(33);
                gGameEngine->GetServerServices()->Update(33);
            }
            game.Pump();
        }
    }
    static MarketClient& Market() {
        return *gGameEngine->GetClientServices()->FindMarketClient(kMerchant);
    }
    // Builds the whole stock on every machine.
    void BuildStock() {
        for (int i = 0; i < 32; ++i)
            Frames(1);
    }
    std::uint32_t Money(int machine, int player) {
        std::uint32_t money = 0;
        ON_MACHINE(game.Host(machine)) {
            money = Singleton<ObjectManager>::Get().GetObject<Player>(PlayerOf(player))->GetMoney();
        }
        return money;
    }
    // What a player carries on a machine: item id -> record.
    std::map<std::uint32_t, std::string> Carried(int machine, int player) {
        std::map<std::uint32_t, std::string> items;
        ON_MACHINE(game.Host(machine)) {
            ObjectManager& objects = Singleton<ObjectManager>::Get();
            for (std::uint32_t id :
                 objects.GetObject<Player>(PlayerOf(player))->GetInventory().GetInventoryItems())
                if (const Item* item = objects.GetObject<Item>(id))
                    items[id] = item->GetObjectName();
        }
        return items;
    }
    // Every machine agrees on a player's gold and goods.
    void ExpectAllAgree(int player) {
        for (int machine = 1; machine <= 2; ++machine) {
            EXPECT_EQ(Money(machine, player), Money(0, player)) << "machine " << machine;
            EXPECT_EQ(Carried(machine, player), Carried(0, player)) << "machine " << machine;
        }
    }
    // The item of the market's stock (on the machine) shown for a record, or 0.
    static std::uint32_t StaticItem(const char* record) {
        for (const auto& entry : Market().GetStaticStock())
            if (entry->record.baseName == record)
                return entry->itemId;
        return 0;
    }
    // A plain item given to the player on every machine, under one id (as a pick-up gives it).
    void GiveEverywhere(int player, const char* record, std::uint32_t id) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            ItemReplicaInfo info;
            info.baseName = record;
            info.objectId = id;
            info.seed = 7;
            Item* item = Item::CreateItem(info);
            ASSERT_NE(item, nullptr);
            Singleton<ObjectManager>::Get()
                .GetObject<Player>(PlayerOf(player))
                ->GiveItemToCharacter(*item);
        }
    }

    NetTestGame game;
};

}  // namespace GAME::test
