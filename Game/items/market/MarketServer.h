#pragma once
// The server's side of one merchant's market: the tier, the stock seed and the status of each
// random stock index, restocked on a timer. It decides every purchase and sale: it knows the
// stock the seed gives (MarketStock), so it checks what a request names, its price and the
// player's gold, moves the gold, makes or takes the item, and answers with the market packets.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/sys/RandomUniform.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/items/market/MarketStock.h"
#include "Game/items/market/MarketTypes.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

class DesignerEquation_Algebra;
class GameEngineNetworkInterface;
class GameEngineServerServicesModule;
class NpcMerchant;
class Player;

class MarketServer : public EquationInterface<float> {
public:
    static constexpr std::uint32_t kMaxEntries = kMarketMaxEntries;
    // The goods one player sold here that he may buy back, newest last.
    static constexpr std::size_t kMaxSoldBack = 64;

    MarketServer(GameEngineServerServicesModule* owner, std::uint32_t merchant);
    ~MarketServer() override;
    MarketServer(const MarketServer&) = delete;
    MarketServer& operator=(const MarketServer&) = delete;

    // Finds the merchant (an NpcMerchant) and loads its market record.
    void AttachToMerchant();
    void Load();
    void Update(int elapsedMs);
    void RequestRefresh() { mRefreshPending = true; }

    void C2S_MarketUpdateRequest();
    void C2S_MarketPurchaseRequest(unsigned tier, unsigned seed, unsigned index,
                                   std::uint32_t buyer);
    void C2S_MarketSellBack(unsigned tier, unsigned seed, unsigned index, std::uint32_t seller);

    bool GetDesignerVariable(const char* name, float& value) override;

    bool IsRefreshPending() const { return mRefreshPending; }
    bool IsAttached() const { return mAttached; }
    std::uint32_t GetMerchantId() const { return mMerchant; }
    GameEngineServerServicesModule* GetOwner() const { return mOwner; }
    unsigned GetTier() const { return mTier; }
    unsigned GetStockSeed() const { return mStockSeed; }
    int GetRefreshTimer() const { return mRefreshTimer; }
    const std::vector<MarketItemStatus>& GetStatuses() const { return mStatuses; }
    const std::string& GetMarketRecordName() const { return mRecordName; }

private:
    struct SoldBack {
        std::uint32_t itemId = 0;  // the id the item had
        ItemReplicaInfo record;
        unsigned price = 0;
    };
    // What one player did here: copies bought in this visit (the stock index or the static
    // price) and the goods he sold.
    struct Ledger {
        std::map<std::uint32_t, std::pair<unsigned, unsigned>> fromStock;  // copy -> index, price
        std::map<std::uint32_t, unsigned> staticPrices;                    // copy -> price
        std::vector<SoldBack> soldBack;
    };

    GameEngineNetworkInterface* Network() const;
    void Broadcast();
    void Restock();
    // The records the current seed gives, drawn once per seed.
    void DrawBook();
    // The merchant, and the player when he stands at it; null otherwise.
    Player* PlayerAtMerchant(std::uint32_t player) const;
    void Deny(unsigned index, std::uint32_t buyer, MarketItemStatus status);
    // Charges the price and gives the player the item, made under an id of the server's band.
    // False (nothing done) without the gold.
    bool Sell(Player& buyer, const ItemReplicaInfo& record, unsigned price, std::uint32_t& copyId);
    void GiveGold(std::uint32_t player, int amount) const;
    void ForgetVisitsAway();

    GameEngineServerServicesModule* mOwner;
    std::uint32_t mMerchant;
    std::string mRecordName;
    std::vector<unsigned> mTierThresholds;
    int mRefreshTimeMin = 10;
    int mRefreshTimeMax = 10;
    int mRefreshTimer = 0;
    unsigned mTier = 0;
    unsigned mStockSeed = 0;
    std::unique_ptr<DesignerEquation_Algebra> mPlayerLevelEquation;
    PlayerInfo mPlayerInfo;
    float mGameDifficulty = 0.0f;
    bool mRefreshPending = true;
    bool mAttached = false;
    std::vector<MarketItemStatus> mStatuses;
    // The server's own generator: the root generator runs in step on every machine, and only
    // the server restocks.
    RandomUniform mRandom;
    MarketSettings mSettings;
    MarketStock mStock;
    std::vector<ItemReplicaInfo> mBookRandom;
    std::vector<ItemReplicaInfo> mBookStatic;
    unsigned mBookSeed = 0;
    unsigned mBookTier = 0;
    std::map<std::uint32_t, Ledger> mLedgers;
};

}  // namespace GAME
