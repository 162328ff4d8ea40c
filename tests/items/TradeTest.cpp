// Player-to-player trade between two clients through the server: the handshake, the offers as
// each machine shows them, and the exchange the server makes, the same on every machine.
#include <gtest/gtest.h>

#include "Engine/records/RecordDatabase.h"
#include "Game/items/cursor/CursorHandlerItemMove.h"
#include "items/TradeTestSupport.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kTradedRing = 0x7101, kTradedCollar = 0x7102;

class TradeTest : public ::testing::Test {
protected:
    // The items on this machine made from the record.
    static int CountItemsOf(const char* record) {
        int count = 0;
        for (std::uint32_t id : Singleton<ObjectManager>::Get().GetObjectIds())
            if (const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id))
                count += item->GetObjectName() == record;
        return count;
    }
    // Lays the item in the trade window as the player would: picked from the bag by the cursor.
    static bool Offer(int host, std::uint32_t item) {
        CursorHandlerItemMove cursor;
        cursor.SetPlayer(TradeGame::PlayerOf(host));
        cursor.SetId(item);
        return cursor.PrimaryTradeActivate();
    }
    static bool InBag(int host, std::uint32_t item) {
        const Player& player = *TradeGame::PlayerOf(host);
        const PlayerInventoryCtrl& bag =
            FindController<ControllerPlayer>(player)->GetInventoryCtrl();
        return bag.GetInventoryInSack(0).count(item) != 0;
    }

    TradeGame trade;
};

TEST_F(TradeTest, TheServerExchangesItemsAndGoldAlikeOnEveryMachineWithNothingDuplicated) {
    trade.GiveItem(1, kTradeRing, kTradedRing);
    trade.GiveGold(1, 100);
    trade.GiveGold(2, 40);
    trade.Open();
    for (int host : {1, 2})
        ON_MACHINE(trade.Host(host)) {
            EXPECT_TRUE(TradeGame::Trades().GetIsTradeActive()) << host;
            EXPECT_EQ(TradeGame::Trades().GetTradePartner(), TradeGame::IdOf(3 - host));
        }
    trade.On(1, [] {
        EXPECT_TRUE(Offer(1, kTradedRing));
        TradeGame::Trades().HandleSetGoldAmountOutbound(30);
    });
    trade.On(2, [] { TradeGame::Trades().HandleSetGoldAmountOutbound(5); });
    ON_MACHINE(trade.Host(2)) {
        // The partner's own ring, shown in his half of the window; no copy was made.
        EXPECT_EQ(TradeGame::Trades().GetHisTradeState().sack.GetInventory().count(kTradedRing),
                  1u);
        EXPECT_EQ(TradeGame::Trades().GetHisTradeState().goldAmount, 30u);
        EXPECT_EQ(CountItemsOf(kTradeRing), 1);
    }
    trade.On(1, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });
    trade.On(2, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });

    for (int machine = 0; machine <= 2; ++machine)
        ON_MACHINE(trade.Host(machine)) {
            const Player& first = *TradeGame::PlayerOf(1);
            const Player& second = *TradeGame::PlayerOf(2);
            EXPECT_EQ(first.GetMoney(), 75u) << machine;
            EXPECT_EQ(second.GetMoney(), 65u) << machine;
            EXPECT_FALSE(first.GetInventory().IsItemInInventory(kTradedRing)) << machine;
            EXPECT_EQ(CountItemsOf(kTradeRing), 1) << machine;
            EXPECT_TRUE(second.HasItem(kTradeRing)) << machine;
            if (machine != 0) {
                EXPECT_FALSE(TradeGame::Trades().GetIsTradeActive()) << machine;
            }
        }
    ON_MACHINE(trade.Host(0)) {
        EXPECT_EQ(TradeGame::Trades().GetBook().GetCompletedCount(), 1u);
        EXPECT_FALSE(TradeGame::Trades().GetBook().IsOpen(TradeGame::IdOf(1), TradeGame::IdOf(2)));
    }
}

TEST_F(TradeTest, AnOfferChangedAfterThePartnerAcceptedCompletesOnlyOnceBothAcceptAgain) {
    trade.GiveItem(1, kTradeRing, kTradedRing);
    trade.GiveGold(2, 50);
    trade.Open();
    trade.On(1, [] { EXPECT_TRUE(Offer(1, kTradedRing)); });
    trade.On(1, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });
    // The second changes its gold after the first accepted: both acceptances go.
    trade.On(2, [] { TradeGame::Trades().HandleSetGoldAmountOutbound(20); });
    for (int host : {1, 2})
        ON_MACHINE(trade.Host(host)) {
            EXPECT_FALSE(TradeGame::Trades().GetMyTradeState().finalized) << host;
            EXPECT_FALSE(TradeGame::Trades().GetHisTradeState().finalized) << host;
        }
    trade.On(2, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });
    ON_MACHINE(trade.Host(0)) {
        EXPECT_EQ(TradeGame::Trades().GetBook().GetCompletedCount(), 0u);
        EXPECT_FALSE(TradeGame::Trades().GetBook().HasAccepted(TradeGame::IdOf(1)));
    }
    trade.On(1, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });
    ON_MACHINE(trade.Host(0)) {
        EXPECT_EQ(TradeGame::Trades().GetBook().GetCompletedCount(), 1u);
        EXPECT_EQ(TradeGame::PlayerOf(1)->GetMoney(), 20u);
    }
}

TEST_F(TradeTest, ACancelledTradeGivesTheOfferBackToTheBagAndMovesNothing) {
    trade.GiveItem(1, kTradeRing, kTradedRing);
    trade.Open();
    trade.On(1, [] { EXPECT_TRUE(Offer(1, kTradedRing)); });
    ON_MACHINE(trade.Host(1)) {
        EXPECT_FALSE(InBag(1, kTradedRing));
    }
    // A cancel from a third player is not the partner's: ignored.
    trade.On(0, [] { TradeGame::Net().TradeCancel(TradeGame::IdOf(0), TradeGame::IdOf(1)); });
    ON_MACHINE(trade.Host(1)) {
        EXPECT_TRUE(TradeGame::Trades().GetIsTradeActive());
    }
    trade.On(2, [] { TradeGame::Trades().HandleCancelTradeOutbound(TradeGame::IdOf(1)); });
    ON_MACHINE(trade.Host(1)) {
        EXPECT_FALSE(TradeGame::Trades().GetIsTradeActive());
        EXPECT_TRUE(InBag(1, kTradedRing));
    }
    for (int machine = 0; machine <= 2; ++machine)
        ON_MACHINE(trade.Host(machine)) {
            EXPECT_TRUE(TradeGame::PlayerOf(1)->GetInventory().IsItemInInventory(kTradedRing));
        }
}

TEST(TradeHandshake, BothAskingOrAYesOpensTheWindowOnBothSidesAndANoOpensNone) {
    struct Case {
        const char* name;
        bool secondAsksToo;  // the second asks the first before answering
        int answer;          // the second's answer to the question (-1: none asked)
        bool opens;
    } cases[] = {
        {"both ask each other: no question", true, -1, true},
        {"yes", false, 1, true},
        {"no", false, 0, false},
    };
    for (const Case& c : cases) {
        TradeGame game;
        // Both questions may leave before either arrives.
        for (int host : {1, 2})
            if (host == 1 || c.secondAsksToo)
                ON_MACHINE(game.Host(host)) {
                    TradeGame::Trades().HandleInitiateTradeOutbound(TradeGame::IdOf(3 - host),
                                                                    true);
                }
        game.game.Pump();
        if (!c.secondAsksToo)
            game.On(2, [&] {
                EXPECT_EQ(TradeGame::Trades().GetPendingInvitation(), TradeGame::IdOf(1)) << c.name;
                gGameEngine->GetDialogManager().AddResponse(kDialogPartyTrade, c.answer);
                TradeGame::Trades().Update();
            });
        for (int host : {1, 2})
            ON_MACHINE(game.Host(host)) {
                EXPECT_EQ(TradeGame::Trades().GetIsTradeActive(), c.opens) << c.name << host;
                EXPECT_FALSE(TradeGame::Trades().IsRequesting()) << c.name << host;
            }
        ON_MACHINE(game.Host(0)) {
            EXPECT_EQ(TradeGame::Trades().GetBook().IsOpen(TradeGame::IdOf(1), TradeGame::IdOf(2)),
                      c.opens)
                << c.name;
        }
    }
}

TEST_F(TradeTest, AnOfferWithoutRoomInTheWindowIsRefusedAndLeavesNothingBehind) {
    // A collar as large as the whole window: the second finds no room.
    for (int machine = 0; machine <= 2; ++machine)
        ON_MACHINE(trade.Host(machine)) {
            Singleton<RecordDatabase>::Get().AddRecordText("Items/Test/Huge.tex",
                                                           R"({"width": 384, "height": 160})");
            Singleton<RecordDatabase>::Get().AddRecordText(
                "Records/Test/HugeCollar.dbr",
                R"({"Class": "ArmorJewelry_Amulet", "bitmap": "Items/Test/Huge.tex"})");
        }
    trade.GiveItem(1, "Records/Test/HugeCollar.dbr", kTradedRing);
    trade.GiveItem(1, "Records/Test/HugeCollar.dbr", kTradedCollar);
    trade.Open();
    ON_MACHINE(trade.Host(1)) {
        const std::size_t objects = Singleton<ObjectManager>::Get().GetObjectIds().size();
        EXPECT_TRUE(Offer(1, kTradedRing));
        EXPECT_FALSE(Offer(1, kTradedCollar));
        EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectIds().size(), objects);
        // The refused one is the player's again (given back: put on, as it fits the neck).
        EXPECT_TRUE(TradeGame::PlayerOf(1)->HasItem(kTradedCollar));
        EXPECT_EQ(TradeGame::Trades().GetMyTradeState().sack.GetInventory().count(kTradedCollar),
                  0u);
    }
}

}  // namespace
}  // namespace GAME::test
