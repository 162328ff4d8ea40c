// The sample merchant's market over the network: every machine builds the same stock from the
// server's seed without moving the shared generator, and every purchase and sale is the
// server's, with gold and goods the same on all machines afterwards.
#include "items/MarketTestSupport.h"

#include "Engine/sys/RandomUniform.h"
#include "Game/items/cursor/CursorHandlerItemMove.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/market/MarketTypes.h"
#include "Game/quests/DialogManager.h"

namespace GAME::test {
namespace {

using Markets = MarketGame;

TEST_F(Markets, EveryMachineBuildsTheSameStockFromTheServersSeed) {
    BuildStock();
    struct Stock {
        std::string record;
        unsigned tier, seed;
        std::vector<std::string> random, statics;
        bool operator==(const Stock&) const = default;
    };
    const std::vector<Stock> stocks = game.OnEach([] {
        Stock stock{
            Market().GetMarketRecordName(), Market().GetTier(), Market().GetStockSeed(), {}, {}};
        for (const auto& entry : Market().GetRandomStock())
            stock.random.push_back(entry->record.baseName + "/" +
                                   std::to_string(entry->record.seed) + "/" +
                                   std::to_string(entry->price));
        for (const auto& entry : Market().GetStaticStock())
            stock.statics.push_back(entry->record.baseName + "/" + std::to_string(entry->price));
        return stock;
    });
    EXPECT_EQ(stocks[0].record, "Records/Markets/MeadowStall.dbr");
    EXPECT_EQ(stocks[0].tier, 1u);
    EXPECT_NE(stocks[0].seed, 0u);
    EXPECT_FALSE(stocks[0].random.empty());
    // The draught costs 25; the stall adds a fifth.
    EXPECT_EQ(stocks[0].statics, (std::vector<std::string>{std::string(kDraught) + "/30"}));
    EXPECT_EQ(stocks[1], stocks[0]);
    EXPECT_EQ(stocks[2], stocks[0]);
    // Nobody's shared generator moved: they all draw alike still.
    const std::vector<int> draws =
        game.OnEach([] { return gGameEngine->GetRandomGen().IGenerate(0, 1 << 30); });
    EXPECT_EQ(draws[1], draws[0]);
    EXPECT_EQ(draws[2], draws[0]);
}

TEST_F(Markets, PurchasesAndSalesAreTheServersAndAgreeEverywhere) {
    BuildStock();
    const std::uint32_t gold = Money(0, 1);
    // Client 1 buys the draught: the server charges 30 and makes it, under its own id.
    ON_MACHINE(game.Host(1)) {
        EXPECT_TRUE(gGameEngine->PlayerPurchaseRequest(kMerchant, StaticItem(kDraught)));
        EXPECT_EQ(Money(1, 1), gold);  // nothing moves before the server's word
    }
    Frames(1);
    EXPECT_EQ(Money(0, 1), gold - 30);
    ExpectAllAgree(1);
    std::uint32_t draught = 0;
    for (const auto& [id, record] : Carried(1, 1))
        if (record == kDraught)
            draught = id;
    ASSERT_NE(draught, 0u);

    // It buys stock item 0 and sells it back in the same visit: the price paid comes back and
    // the stock item is for sale again on every machine.
    unsigned price = 0;
    ON_MACHINE(game.Host(1)) {
        const MarketEntry& first = *Market().GetRandomStock().front();
        price = first.price;
        EXPECT_TRUE(gGameEngine->PlayerPurchaseRequest(kMerchant, first.itemId));
        EXPECT_EQ(first.status, MarketItemStatus_PurchaseRequested);
    }
    Frames(1);
    ExpectAllAgree(1);
    EXPECT_EQ(Money(0, 1), gold - 30 - price);
    const std::vector<int> sold =
        game.OnEach([] { return Market().GetRandomStock().front()->status; });
    EXPECT_EQ(sold, (std::vector<int>{MarketItemStatus_Sold, MarketItemStatus_Sold,
                                      MarketItemStatus_Sold}));
    std::uint32_t copy = 0;
    for (const auto& [id, record] : Carried(1, 1))
        if (id != draught)
            copy = id;
    ON_MACHINE(game.Host(1)) {
        EXPECT_EQ(Market().GetSaleValue(copy, false), price);
        EXPECT_TRUE(gGameEngine->PlayerSaleRequest(kMerchant, copy, false));
    }
    Frames(1);
    ExpectAllAgree(1);
    EXPECT_EQ(Money(0, 1), gold - 30);
    EXPECT_EQ(Carried(0, 1).count(copy), 0u);
    const std::vector<int> back =
        game.OnEach([] { return Market().GetRandomStock().front()->status; });
    EXPECT_EQ(back, (std::vector<int>{MarketItemStatus_Available, MarketItemStatus_Available,
                                      MarketItemStatus_Available}));

    // A sword it found sells for its cost less the stall's 60 %, and waits on its own machine
    // to be bought back at that.
    GiveEverywhere(1, kSword, 0x0A910001);
    unsigned value = 0;
    ON_MACHINE(game.Host(1)) {
        value = Market().GetSaleValue(0x0A910001, false);
        EXPECT_GT(value, 0u);
        EXPECT_TRUE(gGameEngine->PlayerSaleRequest(kMerchant, 0x0A910001, true));
    }
    Frames(1);
    ExpectAllAgree(1);
    EXPECT_EQ(Money(0, 1), gold - 30 + value);
    const std::vector<std::size_t> soldBack =
        game.OnEach([] { return Market().GetSoldBack().size(); });
    EXPECT_EQ(soldBack, (std::vector<std::size_t>{0, 1, 0}));
    ON_MACHINE(game.Host(1)) {
        EXPECT_TRUE(
            gGameEngine->PlayerPurchaseRequest(kMerchant, Market().GetSoldBack().front()->itemId));
    }
    Frames(1);
    ExpectAllAgree(1);
    EXPECT_EQ(Money(0, 1), gold - 30);
    ON_MACHINE(game.Host(1)) {
        EXPECT_TRUE(Market().GetSoldBack().empty());
    }
}

TEST_F(Markets, TwoClientsAskingForOneItemTheFirstGetsItTheSecondIsDenied) {
    BuildStock();
    const std::uint32_t gold = Money(0, 1);
    for (int host : {1, 2})
        ON_MACHINE(game.Host(host)) {
            EXPECT_TRUE(gGameEngine->PlayerPurchaseRequest(
                kMerchant, Market().GetRandomStock().front()->itemId));
        }
    Frames(1);
    ExpectAllAgree(1);
    ExpectAllAgree(2);
    EXPECT_LT(Money(0, 1), gold);
    EXPECT_EQ(Money(0, 2), gold);
    ON_MACHINE(game.Host(2)) {
        EXPECT_EQ(Market().GetRandomStock().front()->status, MarketItemStatus_Sold);
        const auto& dialogs = gGameEngine->GetDialogManager().GetDialogs();
        ASSERT_FALSE(dialogs.empty());
        EXPECT_EQ(dialogs.back().tag, "tagMarketError03");
    }
}

TEST_F(Markets, RequestsAgainstAnOldStockAreDenied) {
    BuildStock();
    const std::uint32_t gold = Money(0, 1);
    ON_MACHINE(game.Server()) {
        gGameEngine->ForceMarketRefresh(kMerchant);
    }
    // The client asks before it heard of the new stock.
    ON_MACHINE(game.Host(1)) {
        EXPECT_TRUE(gGameEngine->PlayerPurchaseRequest(kMerchant, StaticItem(kDraught)));
    }
    Frames(1);
    EXPECT_EQ(Money(0, 1), gold);
    ExpectAllAgree(1);
}

TEST_F(Markets, AnItemSoldFromTheCursorStaysInTheBagUntilTheServerBuysIt) {
    BuildStock();
    static constexpr std::uint32_t kFound = 0x0A910002;
    GiveEverywhere(1, kSword, kFound);
    const std::uint32_t gold = Money(0, 1);
    auto sellFromCursor = [this] {
        ON_MACHINE(game.Host(1)) {
            CursorHandlerItemMove cursor;
            cursor.SetPlayer(Singleton<ObjectManager>::Get().GetObject<Player>(PlayerOf(1)));
            cursor.SetMarketId(kMerchant);
            cursor.SetId(kFound);
            EXPECT_TRUE(cursor.PrimaryMarketActivate());
            EXPECT_EQ(cursor.GetId(), 0u);
        }
        Frames(1);
    };
    auto inBag = [this] {
        bool listed = false;
        ON_MACHINE(game.Host(1)) {
            const Player& player = *Singleton<ObjectManager>::Get().GetObject<Player>(PlayerOf(1));
            listed = FindController<ControllerPlayer>(player)
                         ->GetInventoryCtrl()
                         .GetInventoryInSack(0)
                         .count(kFound) != 0;
        }
        return listed;
    };
    ASSERT_TRUE(inBag());
    // The server has the player far from the stall: it says no, and nothing is lost.
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get()
            .GetObject<Player>(PlayerOf(1))
            ->SetCoords(WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(90, 0, 90))));
    }
    sellFromCursor();
    ExpectAllAgree(1);
    EXPECT_EQ(Money(0, 1), gold);
    EXPECT_EQ(Carried(0, 1).count(kFound), 1u);
    EXPECT_TRUE(inBag());
    // Back at the stall the sale goes through: paid, and gone from every machine and the bag.
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get()
            .GetObject<Player>(PlayerOf(1))
            ->SetCoords(WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(13, 0, 10))));
    }
    sellFromCursor();
    ExpectAllAgree(1);
    EXPECT_GT(Money(0, 1), gold);
    EXPECT_EQ(Carried(0, 1).count(kFound), 0u);
    EXPECT_FALSE(inBag());
}

}  // namespace
}  // namespace GAME::test
