#pragma once
// A server and two clients over loopback, each with the three players of the game (Wardens of
// the sample data); each client plays its own. Items are made on every machine under one id, as
// the game's item creation does, and carried in a player's bag.
#include <cstdint>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/market/TradeManager.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {

inline constexpr const char* kTradeRing = "Records/Items/Armor/SilverRing.dbr";
inline constexpr const char* kTradeCollar = "Records/Items/Armor/FangCollar.dbr";

class TradeGame {
public:
    TradeGame() : game(2, TestMachine::SampleDataDir()) {
        for (int machine = 0; machine <= 2; ++machine)
            ON_MACHINE(game.Host(machine)) {
                InitializeObjects();
                if (machine == 0)
                    gGameEngine->SetAsNetworkServer();
                else
                    gGameEngine->SetAsNetworkClient();
                for (int host = 0; host <= 2; ++host) {
                    auto* player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
                        "Records/Characters/Players/Warden.dbr", IdOf(host));
                    player->SetPlayerName(L"Trader" + std::to_wstring(host));
                    // An empty purse: the gold a test gives is all there is.
                    player->SubtractMoney(player->GetMoney());
                    if (host == machine) {
                        player->SetIsControllingCharacter(true);
                        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(IdOf(host));
                    }
                }
            }
    }
    ~TradeGame() { game.OnEach(ShutdownObjects); }

    static constexpr std::uint32_t IdOf(int host) { return PlayerId(host, 0x300 + host); }
    TestMachine& Host(int host) { return game.Host(host); }

    static Player* PlayerOf(int host) {
        return Singleton<ObjectManager>::Get().GetObject<Player>(IdOf(host));
    }
    static TradeManager& Trades() { return *gGameEngine->GetTradeManager(); }
    static GameEngineNetworkInterface& Net() { return *gGameEngine->GetNetworkInterface(); }

    // An item under `id` on every machine, carried by the host's player (in its bag there).
    void GiveItem(int host, const char* record, std::uint32_t id) {
        for (int machine = 0; machine <= 2; ++machine)
            ON_MACHINE(game.Host(machine)) {
                ItemReplicaInfo info;
                info.objectId = id;
                info.baseName = record;
                info.seed = 7;
                Item* item = Item::CreateItem(info);
                PlayerOf(host)->GetInventory().AddItemToInventory(item->GetObjectId(), false);
                if (machine == host)
                    FindController<ControllerPlayer>(*PlayerOf(host))
                        ->GetInventoryCtrl()
                        .AddItem(id, true);
            }
    }
    void GiveGold(int host, std::uint32_t amount) {
        for (int machine = 0; machine <= 2; ++machine)
            ON_MACHINE(game.Host(machine)) {
                PlayerOf(host)->AddMoney(amount);
            }
    }
    // Opens a trade: the first client asks, the second says yes.
    void Open() {
        ON_MACHINE(game.Host(1)) {
            Trades().HandleInitiateTradeOutbound(IdOf(2), true);
        }
        game.Pump();
        ON_MACHINE(game.Host(2)) {
            gGameEngine->GetDialogManager().AddResponse(kDialogPartyTrade, 1);
            Trades().Update();
        }
        game.Pump();
    }
    // Runs `f` on the host's machine, then delivers.
    template <class F>
    void On(int host, F f) {
        ON_MACHINE(game.Host(host)) {
            f();
        }
        game.Pump();
    }

    NetTestGame game;
};

}  // namespace GAME::test
