#pragma once
// The market kinds: each draws the stock of one category from the loot table its market record
// names for the tier, and hands the drawn records to the stock it belongs to.
#include <list>
#include <string>
#include <vector>

#include "Game/items/ItemClassification.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

class LoadTable;
class LootBase;
class RandomUniform;

// Where drawn records wait to become the market's items, in draw order.
struct MarketUploadQueues {
    std::list<ItemReplicaInfo> random;
    std::list<ItemReplicaInfo> statics;
};

class MarketMiniMart {
public:
    MarketMiniMart() = default;
    virtual ~MarketMiniMart() = default;
    MarketMiniMart(const MarketMiniMart&) = delete;
    MarketMiniMart& operator=(const MarketMiniMart&) = delete;

    void SetMarket(MarketUploadQueues* market) { mMarket = market; }

    virtual void Refresh(const LoadTable& marketRecord, unsigned tier, RandomUniform& rng);
    virtual void LoadItem(LootBase* table, RandomUniform& rng);
    virtual bool IsUnique(const std::string& base, const std::string& prefix,
                          const std::string& suffix) const;
    virtual void UploadItems();
    virtual int GetNumItemsMin(const LoadTable& record) const = 0;
    virtual int GetNumItemsMax(const LoadTable& record) const = 0;
    virtual std::string GetTableName(const LoadTable& record, unsigned tier) const = 0;
    virtual Market_TypeEnum GetMarketType() const = 0;

    const std::vector<ItemReplicaInfo>& GetDrawn() const { return mItems; }

protected:
    // Every drawn record, in order, into the random-stock or the static queue; then none.
    void Upload(bool toStatic);

    MarketUploadQueues* mMarket = nullptr;
    std::vector<ItemReplicaInfo> mItems;
};

// Kind, market type, count fields, table field stem (empty: no stock).
// clang-format off
#define GAME_MARKET_KINDS(X)                                                                   \
    X(MarketWeapon_Axe, 6, "marketNumAxeMin", "marketNumAxeMax", "marketAxeTable")            \
    X(MarketWeapon_Bow, 7, "marketNumBowMin", "marketNumBowMax", "marketBowTable")            \
    X(MarketWeapon_Mace, 8, "marketNumMaceMin", "marketNumMaceMax", "marketMaceTable")        \
    X(MarketWeapon_Spear, 9, "marketNumSpearMin", "marketNumSpearMax", "marketSpearTable")    \
    X(MarketWeapon_Staff, 10, "marketNumStaffMin", "marketNumStaffMax", "marketStaffTable")   \
    X(MarketWeapon_Sword, 11, "marketNumSwordMin", "marketNumSwordMax", "marketSwordTable")   \
    X(MarketWeapon_Used1, 12, "", "", "")                                                     \
    X(MarketWeapon_Used2, 13, "", "", "")                                                     \
    X(MarketArmor_Armband, 14, "marketNumArmbandMin", "marketNumArmbandMax",                  \
      "marketArmbandTable")                                                                   \
    X(MarketArmor_BodyArmor, 15, "marketNumBodyArmorMin", "marketNumBodyArmorMax",            \
      "marketBodyArmorTable")                                                                 \
    X(MarketArmor_Greaves, 16, "marketNumGreavesMin", "marketNumGreavesMax",                  \
      "marketGreavesTable")                                                                   \
    X(MarketArmor_Helm, 17, "marketNumHelmMin", "marketNumHelmMax", "marketHelmTable")        \
    X(MarketArmor_Shield, 18, "marketNumShieldMin", "marketNumShieldMax",                     \
      "marketShieldTable")                                                                    \
    X(MarketArmor_Used, 19, "", "", "")                                                       \
    X(MarketMisc_Ring, 20, "marketNumRingMin", "marketNumRingMax", "marketRingTable")         \
    X(MarketMisc_Bracelet, 21, "marketNumBraceletMin", "marketNumBraceletMax",                \
      "marketBraceletTable")                                                                  \
    X(MarketMisc_Amulet, 22, "marketNumAmuletMin", "marketNumAmuletMax", "marketAmuletTable") \
    X(MarketMisc_Used, 23, "", "", "")                                                        \
    X(MarketMisc_Static, 23, "marketNumStaticMin", "marketNumStaticMax", "marketStaticTable")
// clang-format on

#define GAME_MARKET_KIND_DECLARE(Kind, type, minField, maxField, tableField)             \
    class Kind : public MarketMiniMart {                                                 \
    public:                                                                              \
        int GetNumItemsMin(const LoadTable& record) const override;                      \
        int GetNumItemsMax(const LoadTable& record) const override;                      \
        std::string GetTableName(const LoadTable& record, unsigned tier) const override; \
        Market_TypeEnum GetMarketType() const override {                                 \
            return static_cast<Market_TypeEnum>(type);                                   \
        }                                                                                \
        void UploadItems() override;                                                     \
    };
GAME_MARKET_KINDS(GAME_MARKET_KIND_DECLARE)
#undef GAME_MARKET_KIND_DECLARE

}  // namespace GAME
