// The market client's stock: rebuilt from the server's tier and seed, made into items over
// frames, shown in the sacks, priced and described.
#include "Game/items/market/MarketClient.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/InventorySack.h"

namespace GAME {

namespace {
constexpr float kSackWidth = 256.0f;
constexpr float kSackHeight = 448.0f;
// Sack of each tab: melee weapons, other weapons, armor, the rest; then the sold-back sack.
std::size_t SackOf(Market_TypeEnum type) {
    switch (type) {
        case Market_TypeEnum::Melee:
            return 0;
        case Market_TypeEnum::Weapons:
            return 1;
        case Market_TypeEnum::Armor:
            return 2;
        case Market_TypeEnum::Miscellaneous:
            return 3;
        default:
            return MarketClient::kSoldBackSack;
    }
}

Item* FindMarketItem(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Item>(id) : nullptr;
}

void DestroyMarketItem(std::uint32_t id) {
    if (Item* item = FindMarketItem(id))
        Singleton<ObjectManager>::Get().DestroyObjectEx(item, "Game/MarketClient", 1008);
}
}  // namespace

MarketClient::MarketClient(GameEngineClientServicesModule* owner, std::uint32_t merchant)
    : mOwner(owner), mMerchant(merchant) {
    Vec2 dims(kSackWidth, kSackHeight);
    const GraphicsEngine& graphics = GraphicsEngine::Get();
    if (graphics.IsDownsizing()) {
        dims.x = std::floor(dims.x * static_cast<float>(graphics.GetWidth()) /
                            static_cast<float>(GraphicsEngine::kWidth));
        dims.y = std::floor(dims.y * static_cast<float>(graphics.GetHeight()) /
                            static_cast<float>(GraphicsEngine::kHeight));
    }
    for (auto& sack : mSacks) {
        sack = std::make_unique<InventorySack>();
        sack->SetDims(dims.x, dims.y, InventorySack::SearchVertical);
    }
}

MarketClient::~MarketClient() {
    DestroyEntries(mRandom, nullptr);
    DestroyEntries(mStatic, nullptr);
    DestroyEntries(mSoldBack, nullptr);
}

void MarketClient::LoadMarketFile() {
    // A record that is not there is logged by the object manager; its settings are the defaults.
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!mRecordName.empty())
        objects.LoadTableFile(mRecordName);
    mSettings = MarketSettings();
    mSettings.Load(objects.GetLoadTable(mRecordName));
}

void MarketClient::DestroyEntries(std::vector<std::unique_ptr<MarketEntry>>& entries,
                                  InventorySack* sack) {
    for (const auto& entry : entries) {
        if (sack)
            sack->RemoveItem(entry->itemId);
        else
            for (auto& each : mSacks)
                each->RemoveItem(entry->itemId);
        DestroyMarketItem(entry->itemId);
    }
    entries.clear();
}

void MarketClient::Rebuild() {
    mPurchasedFromStock.clear();
    mPurchasedPrices.clear();
    DestroyEntries(mSoldBack, mSacks[kSoldBackSack].get());
    DestroyEntries(mStatic, nullptr);
    DestroyEntries(mRandom, nullptr);
    mRandomDrawn = 0;
    mStaticDrawn = 0;
}

void MarketClient::S2C_MarketUpdate(const std::string& recordName, unsigned tier, unsigned seed,
                                    const std::vector<unsigned>& unavailable) {
    if (recordName == mRecordName && tier == mTier && seed == mSeed) {
        for (const auto& entry : mRandom)
            if (entry->status == MarketItemStatus_Sold)
                entry->status = MarketItemStatus_Available;
        for (const auto& entry : mRandom)
            if (std::find(unavailable.begin(), unavailable.end(), entry->index) !=
                unavailable.end())
                entry->status = MarketItemStatus_Sold;
        mUnavailable = unavailable;
        return;
    }
    mRecordName = recordName;
    mTier = tier;
    mSeed = seed;
    LoadMarketFile();
    Rebuild();
    mStock.Draw(Singleton<ObjectManager>::Get().GetLoadTable(mRecordName), mSettings, tier, seed);
    mUnavailable = unavailable;
}

void MarketClient::Update(int) {
    if (mUpdateRequestPending) {
        mUpdateRequestPending = false;
        if (GameEngineNetworkInterface* net = mOwner ? mOwner->GetNetworkInterface() : nullptr)
            net->C2S_MarketUpdateRequest(mMerchant);
    }
    CreateQueuedItems();
}

void MarketClient::CreateQueuedItems() {
    // One item of each queue a frame: a restock's cost is spread over frames.
    if (!mStock.random.empty()) {
        ItemReplicaInfo record = mStock.random.front();
        mStock.random.pop_front();
        const unsigned index = mRandomDrawn++;
        // Ids of this machine's own: each machine makes its stock when its answer comes.
        record.objectId = CreateServerObjectId(ServerIdBand::Presentation);
        if (Item* item = record.objectId ? Item::CreateItem(record) : nullptr) {
            InventorySack& sack = *mSacks[SackOf(item->GetItemMarketType())];
            if (!sack.AddItem(*item, true))
                sack.AddItem(*item, false);
            auto entry = std::make_unique<MarketEntry>();
            entry->index = index;
            entry->itemId = item->GetObjectId();
            entry->price = mSettings.BuyPrice(*item);
            entry->record = record;
            auto unavailable = std::find(mUnavailable.begin(), mUnavailable.end(), index);
            if (unavailable != mUnavailable.end()) {
                entry->status = MarketItemStatus_Sold;
                mUnavailable.erase(unavailable);
            }
            mRandom.push_back(std::move(entry));
        }
    }
    if (!mStock.statics.empty()) {
        ItemReplicaInfo record = mStock.statics.front();
        mStock.statics.pop_front();
        const unsigned index = mStaticDrawn++;
        record.objectId = CreateServerObjectId(ServerIdBand::Presentation);
        if (Item* item = record.objectId ? Item::CreateItem(record) : nullptr) {
            InventorySack& sack = *mSacks[SackOf(Market_TypeEnum::Miscellaneous)];
            if (!sack.AddItem(*item, true))
                sack.AddItem(*item, false);
            auto entry = std::make_unique<MarketEntry>();
            entry->index = index;
            entry->itemId = item->GetObjectId();
            entry->price = mSettings.BuyPrice(*item);
            entry->record = record;
            mStatic.push_back(std::move(entry));
        }
    }
}

InventorySack* MarketClient::GetInventorySack(Market_TypeEnum type) {
    return mSacks[SackOf(type)].get();
}

void MarketClient::Open(Market_TypeEnum& tab, const Vec2& position) {
    mOpenPosition = position;
    if (!GetInventorySack(tab)->GetInventory().empty())
        return;
    tab = Market_TypeEnum::Miscellaneous;
    std::size_t best = GetInventorySack(tab)->GetInventory().size();
    for (Market_TypeEnum candidate :
         {Market_TypeEnum::Melee, Market_TypeEnum::Weapons, Market_TypeEnum::Armor}) {
        const std::size_t count = GetInventorySack(candidate)->GetInventory().size();
        // The melee tab takes any stock at all; the others only more than the best so far.
        if (candidate == Market_TypeEnum::Melee ? count > 0 : count > best) {
            tab = candidate;
            best = count;
        }
    }
}

void MarketClient::Close() {
    for (const auto& entry : mRandom)
        entry->boughtByMe = false;
    mPurchasedPrices.clear();
}

MarketEntry* MarketClient::Find(std::uint32_t itemId,
                                std::vector<std::unique_ptr<MarketEntry>>** list) {
    for (auto* entries : {&mRandom, &mStatic, &mSoldBack})
        for (const auto& entry : *entries)
            if (entry->itemId == itemId && itemId != 0) {
                if (list)
                    *list = entries;
                return entry.get();
            }
    return nullptr;
}

const MarketEntry* MarketClient::FindEntry(std::uint32_t itemId) const {
    return const_cast<MarketClient*>(this)->Find(itemId, nullptr);
}

MarketItemStatus MarketClient::GetItemStatus(std::uint32_t itemId) const {
    const MarketEntry* entry = FindEntry(itemId);
    return entry ? entry->status : MarketItemStatus_Unknown;
}

bool MarketClient::IsItemAffordable(std::uint32_t itemId) const {
    const MarketEntry* entry = FindEntry(itemId);
    const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    return entry && player && entry->status == MarketItemStatus_Available && entry->price != 0 &&
           entry->price <= player->GetMoney();
}

unsigned MarketClient::GetSaleValue(std::uint32_t itemId, bool wholeStack) const {
    if (auto bought = mPurchasedFromStock.find(itemId); bought != mPurchasedFromStock.end()) {
        const MarketEntry* entry = FindEntry(bought->second);
        const Item* copy = FindMarketItem(itemId);
        if (entry && copy && entry->boughtByMe && copy->GetReplicaInfo() == entry->record)
            return entry->price;
    }
    if (auto paid = mPurchasedPrices.find(itemId); paid != mPurchasedPrices.end())
        return paid->second;
    Item* item = FindMarketItem(itemId);
    return item ? mSettings.SaleValue(*item, wholeStack) : 0;
}

void MarketClient::CreateUIPlayerBuyText(std::uint32_t itemId, std::vector<GameTextLine>& lines) {
    const LocalizationManager& texts = LocalizationManager::Instance();
    std::vector<std::unique_ptr<MarketEntry>>* list = nullptr;
    const MarketEntry* entry = Find(itemId, &list);
    if (!entry || entry->status != MarketItemStatus_Available) {
        lines.emplace_back(GameTextClass_ItemBanner, texts.Format("Sold"));
        return;
    }
    const bool affordable = IsItemAffordable(itemId);
    const char* tag = list == &mSoldBack
                          ? (affordable ? "MarketCostPreviousTransaction"
                                        : "MarketCostPreviousTransactionTooExpensive")
                          : (affordable ? "MarketCostAffordable" : "MarketCostTooExpensive");
    lines.emplace_back(GameTextClass_ItemBanner, texts.Format(tag, entry->price));
}

void MarketClient::CreateUIPlayerSellText(std::uint32_t itemId, std::vector<GameTextLine>& lines) {
    const LocalizationManager& texts = LocalizationManager::Instance();
    const unsigned value = GetSaleValue(itemId, true);
    const auto bought = mPurchasedFromStock.find(itemId);
    const MarketEntry* entry =
        bought != mPurchasedFromStock.end() ? FindEntry(bought->second) : nullptr;
    if (entry && entry->boughtByMe)
        lines.emplace_back(GameTextClass_ItemBanner,
                           texts.Format("MarketValuePreviousTransaction", value));
    else if (value != 0)
        lines.emplace_back(GameTextClass_ItemBanner, texts.Format("MarketValue", value));
    else
        lines.emplace_back(GameTextClass_ItemBanner, texts.Format("CanNotBeSoldHere"));
}

}  // namespace GAME
