#pragma once
// A machine's view of one merchant's market: the stock the server's tier and seed give, built
// here item by item over frames, shown in five sacks, priced, and asked for. The server decides
// every purchase and sale (see MarketServer); this side checks what a player would be told,
// sends the request and shows the answer.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/items/GameTextLine.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/market/MarketStock.h"
#include "Game/items/market/MarketTypes.h"

namespace GAME {

class GameEngineClientServicesModule;
class InventorySack;
class Player;

// One item the market shows; the market owns the item.
struct MarketEntry {
    unsigned index = 0;
    std::uint32_t itemId = 0;
    MarketItemStatus status = MarketItemStatus_Available;
    unsigned price = 0;
    bool boughtByMe = false;
    ItemReplicaInfo record;
    // A sold-back entry: the id the player's item had, which names it to the server.
    std::uint32_t soldItemId = 0;
};

class MarketClient {
public:
    static constexpr std::size_t kSackCount = 5;
    static constexpr std::size_t kSoldBackSack = 4;

    MarketClient(GameEngineClientServicesModule* owner, std::uint32_t merchant);
    virtual ~MarketClient();
    MarketClient(const MarketClient&) = delete;
    MarketClient& operator=(const MarketClient&) = delete;

    void Open(Market_TypeEnum& tab, const Vec2& position);
    void Close();
    InventorySack* GetInventorySack(Market_TypeEnum type);
    MarketItemStatus GetItemStatus(std::uint32_t itemId) const;
    bool IsItemAffordable(std::uint32_t itemId) const;
    bool PlayerPurchaseRequest(std::uint32_t itemId);
    bool PlayerSaleRequest(std::uint32_t itemId, bool quiet);
    void CreateUIPlayerBuyText(std::uint32_t itemId, std::vector<GameTextLine>& lines);
    void CreateUIPlayerSellText(std::uint32_t itemId, std::vector<GameTextLine>& lines);
    void Update(int elapsedMs);

    void S2C_MarketUpdate(const std::string& recordName, unsigned tier, unsigned seed,
                          const std::vector<unsigned>& unavailable);
    void S2C_MarketPurchaseConfirmation(unsigned index, std::uint32_t buyer);
    void S2C_MarketPurchaseDenied(unsigned index, std::uint32_t buyer, MarketItemStatus status);
    void S2C_MarketItemStatusUpdate(unsigned index, MarketItemStatus status);

    // What the merchant pays for the item now (0: he does not take it).
    unsigned GetSaleValue(std::uint32_t itemId, bool wholeStack) const;
    // The entry showing the item, or null.
    const MarketEntry* FindEntry(std::uint32_t itemId) const;

    std::uint32_t GetMerchantId() const { return mMerchant; }
    GameEngineClientServicesModule* GetOwner() const { return mOwner; }
    const std::string& GetMarketRecordName() const { return mRecordName; }
    unsigned GetTier() const { return mTier; }
    unsigned GetStockSeed() const { return mSeed; }
    const std::vector<std::unique_ptr<MarketEntry>>& GetRandomStock() const { return mRandom; }
    const std::vector<std::unique_ptr<MarketEntry>>& GetStaticStock() const { return mStatic; }
    const std::vector<std::unique_ptr<MarketEntry>>& GetSoldBack() const { return mSoldBack; }
    // Whether every drawn record has become an item.
    bool IsStockBuilt() const {
        return mStock.random.empty() && mStock.statics.empty() && mSeed != 0;
    }
    const MarketSettings& GetSettings() const { return mSettings; }

private:
    void LoadMarketFile();
    void Rebuild();
    void DestroyEntries(std::vector<std::unique_ptr<MarketEntry>>& entries, InventorySack* sack);
    void CreateQueuedItems();
    // The list and entry of an item shown here.
    MarketEntry* Find(std::uint32_t itemId, std::vector<std::unique_ptr<MarketEntry>>** list);
    void Message(const char* tag) const;
    void Request(std::uint32_t index);
    void SellBack(std::uint32_t itemId);
    // The newest item the player carries that `record` describes and no purchase map names.
    std::uint32_t FindBoughtCopy(const Player& player, const ItemReplicaInfo& record) const;
    void OnSaleConfirmed(std::uint32_t itemId);
    void OnSaleDenied(std::uint32_t itemId);
    void OnPurchaseConfirmed(std::uint32_t index, Player& player);

    GameEngineClientServicesModule* mOwner;
    std::uint32_t mMerchant;
    std::string mRecordName;
    unsigned mTier = 0;
    unsigned mSeed = 0;
    std::vector<std::unique_ptr<MarketEntry>> mRandom;
    std::vector<std::unique_ptr<MarketEntry>> mStatic;
    std::vector<std::unique_ptr<MarketEntry>> mSoldBack;
    std::map<std::uint32_t, std::uint32_t> mPurchasedFromStock;  // copy -> stock item
    std::map<std::uint32_t, unsigned> mPurchasedPrices;          // static copy -> price paid
    // The stock's drawing, and the queues of records waiting to become items.
    MarketStock mStock;
    MarketSettings mSettings;
    bool mUpdateRequestPending = true;
    std::unique_ptr<InventorySack> mSacks[kSackCount];
    std::vector<unsigned> mUnavailable;
    Vec2 mOpenPosition;
    // Sales asked of the server and not yet answered: item -> (its record, the value shown).
    std::map<std::uint32_t, std::pair<ItemReplicaInfo, unsigned>> mPendingSales;
    // Records drawn so far of each stock: the index of the next entry (a record that makes no
    // item still takes its index, as it does on the server).
    unsigned mRandomDrawn = 0;
    unsigned mStaticDrawn = 0;
};

}  // namespace GAME
