// A hostile client at the sample merchant: it asks the server directly, as it pleases. The
// server sells only what the stock it drew holds, to a player of the sender standing at the
// stall with the gold, and buys only what that player carries; nothing else moves anywhere.
#include "items/MarketTestSupport.h"

#include "Engine/net/NetFaultLog.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/items/market/MarketTypes.h"

namespace GAME::test {
namespace {

class MarketTrust : public MarketGame {
protected:
    MarketTrust() {
        BuildStock();
        ON_MACHINE(game.Host(1)) {
            tier = Market().GetTier();
            seed = Market().GetStockSeed();
        }
        GiveEverywhere(2, kSword, kHonestSword);
        GiveEverywhere(1, kSword, kOwnSword);
    }
    // Runs `f` on the hostile client (host 1) with its network interface, then delivers.
    template <class F>
    void Hostile(F f) {
        ON_MACHINE(game.Host(1)) {
            f(*gGameEngine->GetNetworkInterface());
        }
        Frames(1);
    }
    struct World {
        std::uint32_t gold1, gold2;
        std::map<std::uint32_t, std::string> carried1, carried2;
        bool operator==(const World&) const = default;
    };
    World Snapshot() {
        ExpectAllAgree(1);
        ExpectAllAgree(2);
        return {Money(0, 1), Money(0, 2), Carried(0, 1), Carried(0, 2)};
    }

    static constexpr std::uint32_t kHonestSword = 0x0A910002;
    static constexpr std::uint32_t kOwnSword = 0x0A910003;
    unsigned tier = 0;
    unsigned seed = 0;
};

TEST_F(MarketTrust, NothingMovesForWhatTheStockOrThePlayerDoesNotHold) {
    const std::uint32_t me = PlayerOf(1);
    std::uint32_t stockItem = 0;
    ON_MACHINE(game.Host(1)) {
        stockItem = Market().GetRandomStock().front()->itemId;
    }
    struct Case {
        const char* what;
        bool sale;
        unsigned tier, seed, index;
        std::uint32_t player;
    } cases[] = {
        {"beyond the stock", false, tier, seed, kMarketMaxEntries - 1, me},
        {"beyond the stock's static goods", false, tier, seed, kMarketStaticIndex | 7, me},
        {"a buy-back of nothing sold", false, tier, seed, kMarketItemIndex | kOwnSword, me},
        {"an old stock", false, tier, seed + 1, kMarketStaticIndex, me},
        {"an old tier", false, tier + 1, seed, 0, me},
        {"for another player", false, tier, seed, kMarketStaticIndex, PlayerOf(2)},
        {"another player's sword", true, tier, seed, kMarketItemIndex | kHonestSword, me},
        {"the merchant's own goods", true, tier, seed, kMarketItemIndex | stockItem, me},
        {"nothing at all", true, tier, seed, kMarketItemIndex | 0x0A91FFFF, me},
        {"a bare stock index", true, tier, seed, 0, me},
        {"for another player", true, tier, seed, kMarketItemIndex | kHonestSword, PlayerOf(2)},
    };
    const World before = Snapshot();
    for (const Case& c : cases) {
        Hostile([&](GameEngineNetworkInterface& net) {
            if (c.sale)
                net.C2S_MarketSellBack(kMerchant, c.tier, c.seed, c.index, c.player);
            else
                net.C2S_MarketPurchaseRequest(kMerchant, c.tier, c.seed, c.index, c.player);
        });
        EXPECT_EQ(Snapshot(), before) << (c.sale ? "selling " : "buying ") << c.what;
    }
    EXPECT_EQ(game.Server().CountLog("refused C2S_MarketPurchaseRequest from host 1"), 1);
    EXPECT_GE(game.Server().CountLog("refused C2S_MarketSellBack from host 1"), 1);
}

TEST_F(MarketTrust, NoGoldNoGoodsAndNoTradeAwayFromTheStall) {
    const std::uint32_t me = PlayerOf(1);
    auto buyDraught = [&](GameEngineNetworkInterface& net) {
        net.C2S_MarketPurchaseRequest(kMerchant, tier, seed, kMarketStaticIndex, me);
    };
    // Without gold: the purse is emptied on every machine alike first.
    for (TestMachine* tm : game.Machines()) {
        MachineScope scope(tm->machine());
        Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(me);
        player->SubtractMoney(player->GetMoney());
    }
    World before = Snapshot();
    Hostile(buyDraught);
    EXPECT_EQ(Snapshot(), before);

    // Out of reach: far from the stall it neither buys nor sells.
    for (TestMachine* tm : game.Machines()) {
        MachineScope scope(tm->machine());
        Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(me);
        player->AddMoney(kGold);
        player->SetCoords(WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(90, 0, 90))));
    }
    before = Snapshot();
    Hostile(buyDraught);
    Hostile([&](GameEngineNetworkInterface& net) {
        net.C2S_MarketSellBack(kMerchant, tier, seed, kMarketItemIndex | kOwnSword, me);
    });
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MarketTrust, AnItemSellsOnceAndAStockItemOnce) {
    const std::uint32_t me = PlayerOf(1);
    const World before = Snapshot();
    for (int i = 0; i < 2; ++i)
        Hostile([&](GameEngineNetworkInterface& net) {
            net.C2S_MarketSellBack(kMerchant, tier, seed, kMarketItemIndex | kOwnSword, me);
            net.C2S_MarketPurchaseRequest(kMerchant, tier, seed, 0, me);
        });
    const World after = Snapshot();
    EXPECT_EQ(after.carried1.count(kOwnSword), 0u);
    // One sword's value in, one stock item's price out, one item more: the stock item.
    EXPECT_EQ(after.carried1.size(), before.carried1.size());
    unsigned value = 0, price = 0;
    ON_MACHINE(game.Host(1)) {
        price = Market().GetRandomStock().front()->price;
    }
    ON_MACHINE(game.Server()) {
        ItemReplicaInfo sword;
        sword.baseName = kSword;
        sword.seed = 7;
        MarketSettings settings;
        settings.Load(
            Singleton<ObjectManager>::Get().GetLoadTable("Records/Markets/MeadowStall.dbr"));
        sword.objectId = 0x0A91EEEE;
        Item* probe = Item::CreateItem(sword);
        ASSERT_NE(probe, nullptr);
        value = settings.SaleValue(*probe, false);
    }
    EXPECT_EQ(after.gold1, before.gold1 + value - price);
}

}  // namespace
}  // namespace GAME::test
