#pragma once
// What a market record, a tier and a stock seed give: the merchant's settings and the drawn
// stock, the same on every machine. The market client turns the records into items over
// frames; the server keeps them to know what each index names and what it costs.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "Game/items/market/MarketMiniMart.h"

namespace GAME {

class Item;

struct MarketSettings {
    std::string healthPotionName;
    std::string manaPotionName;
    float costAdjustment = 0.0f;  // percent
    float depreciation = 0.0f;    // percent
    int maxPlayerPurchase = 0;    // 0: no cap

    void Load(const LoadTable& record);
    // cost + truncate(cost x costAdjustment %), cost the item's without its relic.
    unsigned BuyPrice(Item& item) const;
    // What the merchant pays for an item he did not sell: its cost less the depreciation,
    // capped by maxPlayerPurchase.
    unsigned SaleValue(Item& item, bool wholeStack) const;
};

class MarketStock : public MarketUploadQueues {
public:
    // The kinds with stock, in drawing order after the static kind.
    static constexpr std::size_t kKindCount = 15;

    MarketStock();
    ~MarketStock();
    MarketStock(const MarketStock&) = delete;
    MarketStock& operator=(const MarketStock&) = delete;

    // Empties the queues, then queues the potions and every kind's draws. Every draw comes from
    // generators seeded with the stock seed: a machine that rebuilds a stock moves no generator
    // that the machines share.
    void Draw(const LoadTable& record, const MarketSettings& settings, unsigned tier,
              unsigned seed);

private:
    // Axe, Bow, Mace, Spear, Staff, Sword, Armband, BodyArmor, Greaves, Helm, Shield, Ring,
    // Bracelet, Amulet, Static.
    std::array<std::unique_ptr<MarketMiniMart>, kKindCount> mKinds;
};

// The buy price of a stock record, from an item made for the moment and destroyed again; 0 when
// the record makes no item.
unsigned MarketPriceOfRecord(const ItemReplicaInfo& record, const MarketSettings& settings);

}  // namespace GAME
