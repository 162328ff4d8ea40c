// The market client's purchases and sales: what the player is told before anything is asked,
// the request to the server, and the server's answers. Gold and items move only at the server's
// word (see MarketServer); this side remembers what it bought here so that a sale in the same
// visit shows the price paid.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/InventorySack.h"
#include "Game/items/market/MarketClient.h"
#include "Game/quests/DialogManager.h"

namespace GAME {

namespace {
constexpr int kMarketMessageParty = 1;

Player* MarketMainPlayer() {
    return gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
}

bool IsMarketMainPlayer(std::uint32_t player) {
    return gGameEngine && player != 0 && player == gGameEngine->GetPlayerId();
}
}  // namespace

void MarketClient::Message(const char* tag) const {
    if (gGameEngine)
        gGameEngine->GetDialogManager().AddDialog(kDialogTypeMessage, false, kMarketMessageParty,
                                                  tag, true, 0, true);
}

void MarketClient::Request(std::uint32_t index) {
    GameEngineNetworkInterface* net = mOwner ? mOwner->GetNetworkInterface() : nullptr;
    if (net && gGameEngine)
        net->C2S_MarketPurchaseRequest(mMerchant, mTier, mSeed, index, gGameEngine->GetPlayerId());
}

void MarketClient::SellBack(std::uint32_t itemId) {
    GameEngineNetworkInterface* net = mOwner ? mOwner->GetNetworkInterface() : nullptr;
    if (net && gGameEngine)
        net->C2S_MarketSellBack(mMerchant, mTier, mSeed, kMarketItemIndex | itemId,
                                gGameEngine->GetPlayerId());
}

bool MarketClient::PlayerPurchaseRequest(std::uint32_t itemId) {
    Player* player = MarketMainPlayer();
    std::vector<std::unique_ptr<MarketEntry>>* list = nullptr;
    MarketEntry* entry = Find(itemId, &list);
    if (!entry || entry->status != MarketItemStatus_Available) {
        Message("tagMarketError03");
        return false;
    }
    if (!player || entry->price == 0 || entry->price > player->GetMoney()) {
        Message("tagMarketError01");
        return false;
    }
    Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(itemId);
    if (!item || !player->IsInventorySpaceAvailable(*item)) {
        player->PlayInventoryFullSound();
        Message("tagMarketError02");
        return false;
    }
    // The server charges, makes the item and answers; until then the entry waits.
    if (list == &mRandom) {
        entry->status = MarketItemStatus_PurchaseRequested;
        Request(entry->index);
    } else if (list == &mStatic) {
        Request(kMarketStaticIndex | entry->index);
    } else {
        Request(kMarketItemIndex | entry->soldItemId);
    }
    if (gGameEngine)
        gGameEngine->PlayMarketPurchaseSound();
    return true;
}

bool MarketClient::PlayerSaleRequest(std::uint32_t itemId, bool quiet) {
    const unsigned value = GetSaleValue(itemId, false);
    const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(itemId);
    if (value == 0 || !item || (itemId & ~kMarketIndexValue) != 0) {
        Message("tagMarketError04");
        return false;
    }
    mPendingSales[itemId] = {item->GetReplicaInfo(), value};
    // The server pays, takes the item from every machine and answers (at once in single play).
    SellBack(itemId);
    if (!quiet && gGameEngine)
        gGameEngine->PlayMarketSaleSound();
    return true;
}

std::uint32_t MarketClient::FindBoughtCopy(const Player& player,
                                           const ItemReplicaInfo& record) const {
    const std::vector<std::uint32_t>& carried = player.GetInventory().GetInventoryItems();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (auto it = carried.rbegin(); it != carried.rend(); ++it) {
        const Item* item = objects.GetObject<Item>(*it);
        if (item && item->GetReplicaInfo() == record && !mPurchasedFromStock.count(*it) &&
            !mPurchasedPrices.count(*it))
            return *it;
    }
    return 0;
}

void MarketClient::OnPurchaseConfirmed(std::uint32_t index, Player& player) {
    if (IsStaticStockIndex(index)) {
        for (const auto& entry : mStatic)
            if (entry->index == MarketIndexValue(index))
                if (const std::uint32_t copy = FindBoughtCopy(player, entry->record))
                    mPurchasedPrices[copy] = entry->price;
        return;
    }
    // A sold item bought back: it leaves the sold-back sack.
    const std::uint32_t sold = MarketIndexValue(index);
    auto entry = std::find_if(mSoldBack.begin(), mSoldBack.end(),
                              [sold](const auto& each) { return each->soldItemId == sold; });
    if (entry == mSoldBack.end())
        return;
    mSacks[kSoldBackSack]->RemoveItem((*entry)->itemId);
    if (Item* copy = Singleton<ObjectManager>::Get().GetObject<Item>((*entry)->itemId))
        Singleton<ObjectManager>::Get().DestroyObjectEx(copy, "Game/MarketClient", 1008);
    mSoldBack.erase(entry);
}

void MarketClient::OnSaleConfirmed(std::uint32_t itemId) {
    const auto pending = mPendingSales.find(itemId);
    if (pending == mPendingSales.end())
        return;
    const auto [record, value] = pending->second;
    mPendingSales.erase(pending);
    const auto bought = mPurchasedFromStock.find(itemId);
    if (bought != mPurchasedFromStock.end()) {
        // The server gave the stock item back to everyone.
        mPurchasedFromStock.erase(bought);
        return;
    }
    if (mPurchasedPrices.erase(itemId) != 0)
        return;
    ItemReplicaInfo copyRecord = record;
    copyRecord.objectId = CreateServerObjectId(ServerIdBand::Presentation);
    Item* copy = copyRecord.objectId ? Item::CreateItem(copyRecord) : nullptr;
    if (!copy)
        return;
    InventorySack& sack = *mSacks[kSoldBackSack];
    // A full sack gives up its oldest goods to make room.
    while (!sack.IsSpaceForItem(*copy) && !mSoldBack.empty()) {
        const std::uint32_t first = sack.GetFirstItem();
        auto oldest = std::find_if(mSoldBack.begin(), mSoldBack.end(),
                                   [first](const auto& each) { return each->itemId == first; });
        if (oldest == mSoldBack.end())
            oldest = mSoldBack.begin();
        sack.RemoveItem((*oldest)->itemId);
        if (Item* gone = Singleton<ObjectManager>::Get().GetObject<Item>((*oldest)->itemId))
            Singleton<ObjectManager>::Get().DestroyObjectEx(gone, "Game/MarketClient", __LINE__);
        mSoldBack.erase(oldest);
    }
    if (!sack.AddItem(*copy, true))
        sack.AddItem(*copy, false);
    auto entry = std::make_unique<MarketEntry>();
    entry->itemId = copy->GetObjectId();
    entry->price = value;
    entry->record = copyRecord;
    entry->soldItemId = itemId;
    mSoldBack.push_back(std::move(entry));
}

void MarketClient::OnSaleDenied(std::uint32_t itemId) {
    mPendingSales.erase(itemId);
    Message("tagMarketError04");
}

void MarketClient::S2C_MarketPurchaseConfirmation(unsigned index, std::uint32_t buyer) {
    Player* player = IsMarketMainPlayer(buyer) ? MarketMainPlayer() : nullptr;
    if (!IsRandomStockIndex(index)) {
        // Static goods, a buy-back and a sale concern the buyer's machine alone.
        if (!player)
            return;
        if (IsMarketItemIndex(index) && mPendingSales.count(MarketIndexValue(index)))
            OnSaleConfirmed(MarketIndexValue(index));
        else
            OnPurchaseConfirmed(index, *player);
        return;
    }
    auto entry = std::find_if(mRandom.begin(), mRandom.end(),
                              [index](const auto& each) { return each->index == index; });
    if (entry == mRandom.end())
        return;
    (*entry)->status = MarketItemStatus_Sold;
    if (!player)
        return;
    (*entry)->boughtByMe = true;
    // The server made the copy before it answered; the player carries it now.
    if (const std::uint32_t copy = FindBoughtCopy(*player, (*entry)->record))
        mPurchasedFromStock[copy] = (*entry)->itemId;
}

void MarketClient::S2C_MarketPurchaseDenied(unsigned index, std::uint32_t buyer,
                                            MarketItemStatus status) {
    const bool mine = IsMarketMainPlayer(buyer);
    if (IsRandomStockIndex(index)) {
        for (const auto& entry : mRandom)
            if (entry->index == index)
                entry->status = status;
    } else if (mine && IsMarketItemIndex(index) && mPendingSales.count(MarketIndexValue(index))) {
        OnSaleDenied(MarketIndexValue(index));
        return;
    }
    if (mine)
        Message("tagMarketError03");
}

void MarketClient::S2C_MarketItemStatusUpdate(unsigned index, MarketItemStatus status) {
    for (const auto& entry : mRandom)
        if (entry->index == index)
            entry->status = status;
}

}  // namespace GAME
