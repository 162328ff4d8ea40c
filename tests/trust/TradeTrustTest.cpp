// A hostile first client in a trade with the honest second one: it may offer only what its own
// player carries and has, once, may not speak for another player, and cannot complete an
// exchange on an offer changed after its partner accepted, nor on an item it no longer holds.
#include <gtest/gtest.h>

#include "Game/core/net/commands/ItemCommands.h"
#include "items/TradeTestSupport.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kTraderRing = 0x7201, kPartnersCollar = 0x7202, kTraderCollar = 0x7203;

class HostileTrader : public ::testing::Test {
protected:
    HostileTrader() {
        trade.GiveItem(1, kTradeRing, kTraderRing);
        trade.GiveItem(1, kTradeCollar, kTraderCollar);
        trade.GiveItem(2, kTradeCollar, kPartnersCollar);
        trade.GiveGold(1, 10);
        trade.GiveGold(2, 50);
        trade.Open();
    }
    // The hostile client's raw request, delivered.
    template <class F>
    void Hostile(F f) {
        trade.On(1, [&] { f(TradeGame::Net()); });
    }
    const TradeBook& Book() {
        const TradeBook* book = nullptr;
        ON_MACHINE(trade.Host(0)) {
            book = &TradeGame::Trades().GetBook();
        }
        return *book;
    }
    // What the honest client sees offered.
    std::size_t OfferedItemsSeen() {
        std::size_t count = 0;
        ON_MACHINE(trade.Host(2)) {
            count = TradeGame::Trades().GetHisTradeState().sack.GetInventory().size();
        }
        return count;
    }
    void ExpectNothingMoved() {
        for (int machine = 0; machine <= 2; ++machine)
            ON_MACHINE(trade.Host(machine)) {
                EXPECT_EQ(TradeGame::PlayerOf(1)->GetMoney(), 10u) << machine;
                EXPECT_EQ(TradeGame::PlayerOf(2)->GetMoney(), 50u) << machine;
                EXPECT_TRUE(
                    TradeGame::PlayerOf(2)->GetInventory().IsItemInInventory(kPartnersCollar));
                EXPECT_FALSE(TradeGame::PlayerOf(2)->HasItem(kTradeRing)) << machine;
            }
    }

    TradeGame trade;
};

TEST_F(HostileTrader, OffersOnlyWhatItsOwnPlayerCarriesAndHasOnceAndSpeaksForNoOneElse) {
    const std::uint32_t me = TradeGame::IdOf(1), partner = TradeGame::IdOf(2);
    const std::uint32_t server = TradeGame::IdOf(0);
    auto record = [](std::uint32_t id, const char* base) {
        ItemReplicaInfo info;
        info.objectId = id;
        info.baseName = base;
        return info;
    };
    Hostile([&](GameEngineNetworkInterface& net) {
        net.TradeAddItem(me, partner, Vec2(), record(kTraderRing, kTradeRing));
    });
    ASSERT_EQ(OfferedItemsSeen(), 1u);
    const struct {
        const char* refusal;
        std::function<void(GameEngineNetworkInterface&)> request;
    } cases[] = {
        {"the sender is not the machine's own player",
         [&](auto& net) { net.TradeInitiate(partner, server); }},
        {"the sender is not the machine's own player",
         [&](auto& net) { net.TradeFinalize(partner, me); }},
        {"the sender is not the machine's own player",
         [&](auto& net) { net.TradeSetGoldAmount(partner, me, 50); }},
        {"an item the player does not carry",
         [&](auto& net) {
             net.TradeAddItem(me, partner, Vec2(), record(kPartnersCollar, kTradeCollar));
         }},
        {"an item offered already",
         [&](auto& net) {
             net.TradeAddItem(me, partner, Vec2(), record(kTraderRing, kTradeRing));
         }},
        {"a place outside the trade window",
         [&](auto& net) {
             net.TradeAddItem(me, partner, Vec2(1000.0f, 0.0f),
                              record(kTraderCollar, kTradeCollar));
         }},
        {"more gold than the player has",
         [&](auto& net) { net.TradeSetGoldAmount(me, partner, 1000000); }},
        {"an item not in the offer",
         [&](auto& net) { net.TradeRemoveItem(me, partner, kTraderCollar); }},
        {"no open trade between the two",
         [&](auto& net) { net.TradeSetGoldAmount(me, server, 5); }},
    };
    // (The refusal log keeps three lines per packet kind in a while: at most three per kind.)
    for (const auto& c : cases) {
        const int before = trade.Host(0).CountLog(c.refusal);
        Hostile(c.request);
        EXPECT_EQ(trade.Host(0).CountLog(c.refusal), before + 1) << c.refusal;
    }
    EXPECT_EQ(OfferedItemsSeen(), 1u);
    ON_MACHINE(trade.Host(2)) {
        EXPECT_EQ(TradeGame::Trades().GetHisTradeState().goldAmount, 0u);
    }
    EXPECT_EQ(Book().GetOfferedGold(me), 0u);
    EXPECT_EQ(*Book().GetOfferedItems(me), (std::set<std::uint32_t>{kTraderRing}));
    ON_MACHINE(trade.Host(0)) {
        // The server's own player was asked nothing.
        EXPECT_EQ(TradeGame::Trades().GetPendingInvitation(), 0u);
    }
}

TEST_F(HostileTrader, CannotCompleteOnAnOfferChangedAfterItsPartnerAccepted) {
    const std::uint32_t me = TradeGame::IdOf(1), partner = TradeGame::IdOf(2);
    Hostile([&](GameEngineNetworkInterface& net) { net.TradeSetGoldAmount(me, partner, 10); });
    trade.On(2, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });
    // Less gold, then at once its own acceptance, before the partner could look again.
    Hostile([&](GameEngineNetworkInterface& net) {
        net.TradeSetGoldAmount(me, partner, 1);
        net.TradeFinalize(me, partner);
    });
    EXPECT_EQ(Book().GetCompletedCount(), 0u);
    EXPECT_FALSE(Book().HasAccepted(partner));
    ExpectNothingMoved();
}

TEST_F(HostileTrader, CannotCompleteWithAnOfferedItemItNoLongerHolds) {
    const std::uint32_t me = TradeGame::IdOf(1), partner = TradeGame::IdOf(2);
    Hostile([&](GameEngineNetworkInterface& net) {
        ItemReplicaInfo ring;
        ring.objectId = kTraderRing;
        ring.baseName = kTradeRing;
        net.TradeAddItem(me, partner, Vec2(), ring);
    });
    // The ring is spent elsewhere (here: thrown away) while it lies in the window.
    trade.On(1, [&] {
        TradeGame::PlayerOf(1)->Enqueue(
            std::make_unique<RemoveInventoryItemConfigCmd>(me, kTraderRing));
    });
    trade.On(2, [] { TradeGame::Trades().HandleFinalizeTradeOutbound(); });
    Hostile([&](GameEngineNetworkInterface& net) { net.TradeFinalize(me, partner); });
    EXPECT_EQ(Book().GetCompletedCount(), 0u);
    EXPECT_FALSE(Book().IsOpen(me, partner));
    EXPECT_GE(trade.Host(0).CountLog("cannot complete: an offered item is no longer carried"), 1);
    ExpectNothingMoved();
    ON_MACHINE(trade.Host(2)) {
        EXPECT_FALSE(TradeGame::Trades().GetIsTradeActive());
    }
}

}  // namespace
}  // namespace GAME::test
