#include "Game/items/market/MarketServer.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/market/NpcMerchant.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

namespace {
constexpr int kStockSeedMin = 1;
constexpr int kStockSeedMax = 32767;
}  // namespace

MarketServer::MarketServer(GameEngineServerServicesModule* owner, std::uint32_t merchant)
    : mOwner(owner), mMerchant(merchant) {
    // Its own sequence, the same for this merchant in every game.
    mRandom.Seed(merchant);
}

MarketServer::~MarketServer() = default;

GameEngineNetworkInterface* MarketServer::Network() const {
    return gGameEngine ? gGameEngine->GetNetworkInterface() : nullptr;
}

void MarketServer::AttachToMerchant() {
    mAttached = Singleton<ObjectManager>::Get().GetObject<NpcMerchant>(mMerchant) != nullptr;
    if (!mAttached) {
        gEngine->Log(1, "MarketServer: merchant %u not found", mMerchant);
        return;
    }
    Load();
}

void MarketServer::Load() {
    const auto* merchant = Singleton<ObjectManager>::Get().GetObject<NpcMerchant>(mMerchant);
    if (!merchant)
        return;
    mRecordName = merchant->GetMarketName();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!objects.LoadTableFile(mRecordName))
        gEngine->Log(1, "MarketServer: no market record \"%s\" for merchant %u",
                     mRecordName.c_str(), mMerchant);
    const LoadTable record = objects.GetLoadTable(mRecordName);
    mSettings = MarketSettings();
    mSettings.Load(record);
    mRefreshTimeMin =
        static_cast<int>(static_cast<double>(record.GetFloat("marketRefreshTimeMin")) * 60000.0);
    mRefreshTimeMax =
        static_cast<int>(static_cast<double>(record.GetFloat("marketRefreshTimeMax")) * 60000.0);
    record.GetUIntArray("marketPlayerLevel", mTierThresholds);
    mPlayerLevelEquation.reset();
    const std::string equationFile = record.GetString("marketPlayerLevelEquationFile");
    if (!equationFile.empty()) {
        objects.LoadTableFile(equationFile);
        const std::string text =
            objects.GetLoadTable(equationFile).GetString("playerLevelEquation");
        mPlayerLevelEquation = std::make_unique<DesignerEquation_Algebra>();
        if (!mPlayerLevelEquation->ParseEquation(text.c_str(), this, equationFile.c_str())) {
            gEngine->Log(1, "-=- Market Equation load failure : playerLevelEquation");
            mPlayerLevelEquation.reset();
        }
    }
    mRefreshTimer = mRandom.IGenerate(mRefreshTimeMin, mRefreshTimeMax);
}

bool MarketServer::GetDesignerVariable(const char* name, float& value) {
    const std::string_view variable(name ? name : "");
    if (variable == "averagePlayerLevel")
        value = static_cast<float>(mPlayerInfo.averageLevel);
    else if (variable == "minPlayerLevel")
        value = static_cast<float>(mPlayerInfo.minLevel);
    else if (variable == "maxPlayerLevel")
        value = static_cast<float>(mPlayerInfo.maxLevel);
    else if (variable == "numberOfPlayers")
        value = static_cast<float>(mPlayerInfo.numPlayers);
    else if (variable == "gameDifficulty")
        value = mGameDifficulty;
    else
        return false;
    return true;
}

void MarketServer::Update(int elapsedMs) {
    ForgetVisitsAway();
    const auto* merchant = Singleton<ObjectManager>::Get().GetObject<NpcMerchant>(mMerchant);
    if (merchant && merchant->IsChatting()) {
        mRefreshTimer = mRandom.IGenerate(mRefreshTimeMin, mRefreshTimeMax);
        if (!mRefreshPending)
            return;
    }
    mRefreshTimer -= elapsedMs;
    if (mRefreshTimer > 0 && !mRefreshPending)
        return;
    mRefreshTimer = mRandom.IGenerate(mRefreshTimeMin, mRefreshTimeMax);
    mPlayerInfo.Clear();
    if (gGameEngine)
        gGameEngine->GetPlayerInfo(mPlayerInfo);
    mGameDifficulty = static_cast<float>(mPlayerInfo.gameDifficulty);
    const unsigned level = mPlayerLevelEquation ? static_cast<unsigned>((*mPlayerLevelEquation)())
                                                : mPlayerInfo.maxLevel;
    mTier = 1;
    for (unsigned threshold : mTierThresholds) {
        if (threshold >= level)
            break;
        ++mTier;
    }
    Restock();
    mRefreshPending = false;
}

void MarketServer::Restock() {
    mStatuses.clear();
    // What was bought or sold against the old stock is gone with it.
    mLedgers.clear();
    const unsigned previous = mStockSeed;
    do {
        mStockSeed = static_cast<unsigned>(mRandom.IGenerate(kStockSeedMin, kStockSeedMax));
    } while (mStockSeed == previous);
    Broadcast();
}

void MarketServer::Broadcast() {
    std::vector<unsigned> unavailable;
    for (std::size_t i = 0; i < mStatuses.size(); ++i)
        if (mStatuses[i] != MarketItemStatus_Available)
            unavailable.push_back(static_cast<unsigned>(i));
    if (GameEngineNetworkInterface* net = Network())
        net->S2C_MarketUpdate(mMerchant, mRecordName, mTier, mStockSeed, unavailable);
}

void MarketServer::C2S_MarketUpdateRequest() {
    if (!mRefreshPending)
        Broadcast();
}

void MarketServer::DrawBook() {
    if (mBookSeed == mStockSeed && mBookTier == mTier)
        return;
    mBookSeed = mStockSeed;
    mBookTier = mTier;
    mStock.Draw(Singleton<ObjectManager>::Get().GetLoadTable(mRecordName), mSettings, mTier,
                mStockSeed);
    mBookRandom.assign(mStock.random.begin(), mStock.random.end());
    mBookStatic.assign(mStock.statics.begin(), mStock.statics.end());
    mStock.random.clear();
    mStock.statics.clear();
}

Player* MarketServer::PlayerAtMerchant(std::uint32_t player) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const auto* merchant = objects.GetObject<NpcMerchant>(mMerchant);
    Player* character = player ? objects.GetObject<Player>(player) : nullptr;
    if (!merchant || !character || !NpcWithinTalkReach(*character, *merchant))
        return nullptr;
    return character;
}

void MarketServer::ForgetVisitsAway() {
    // A visit ends when the player walks away: what he bought is an ordinary item after that.
    for (auto it = mLedgers.begin(); it != mLedgers.end();) {
        Ledger& ledger = it->second;
        if (!PlayerAtMerchant(it->first)) {
            ledger.fromStock.clear();
            ledger.staticPrices.clear();
        }
        it = ledger.soldBack.empty() && ledger.fromStock.empty() && ledger.staticPrices.empty()
                 ? mLedgers.erase(it)
                 : std::next(it);
    }
}

void MarketServer::Deny(unsigned index, std::uint32_t buyer, MarketItemStatus status) {
    if (GameEngineNetworkInterface* net = Network())
        net->S2C_MarketPurchaseDenied(mMerchant, index, buyer, status);
}

void MarketServer::GiveGold(std::uint32_t player, int amount) const {
    GameEngineNetworkInterface* net = Network();
    GameEngineInboundInterface* local =
        gGameEngine ? gGameEngine->GetInboundNetworkInterface() : nullptr;
    if (!local)
        return;
    // The clients hear it from the server; here it is the server's own word.
    if (net && net != local)
        net->GiveGoldToPlayer(player, amount);
    const int source = local->GetSourceHost();
    local->SetSourceHost(-1);
    local->GiveGoldToPlayer(player, amount);
    local->SetSourceHost(source);
}

bool MarketServer::Sell(Player& buyer, const ItemReplicaInfo& record, unsigned price,
                        std::uint32_t& copyId) {
    if (price == 0 || price > buyer.GetMoney() || price > 0x7FFFFFFFu || !gGameEngine)
        return false;
    copyId = CreateServerObjectId(ServerIdBand::Drops);
    if (copyId == 0)
        return false;
    GiveGold(buyer.GetObjectId(), -static_cast<int>(price));
    ItemReplicaInfo copy = record;
    copy.objectId = copyId;
    gGameEngine->CreateItemForCharacter(buyer.GetObjectId(), buyer.GetCoords(), copy, nullptr);
    return true;
}

void MarketServer::C2S_MarketPurchaseRequest(unsigned tier, unsigned seed, unsigned index,
                                             std::uint32_t buyer) {
    // A request against another stock than the current one (or before the first) is denied.
    if (tier != mTier || seed != mStockSeed || mStockSeed == 0) {
        Deny(index, buyer, MarketItemStatus_Unknown);
        return;
    }
    DrawBook();
    Player* player = PlayerAtMerchant(buyer);
    std::uint32_t copy = 0;
    if (IsRandomStockIndex(index)) {
        if (index >= mBookRandom.size()) {
            Deny(index, buyer, MarketItemStatus_Unknown);
            return;
        }
        if (mStatuses.size() <= index)
            mStatuses.resize(index + 1, MarketItemStatus_Available);
        const unsigned price = MarketPriceOfRecord(mBookRandom[index], mSettings);
        if (mStatuses[index] != MarketItemStatus_Available || !player ||
            !Sell(*player, mBookRandom[index], price, copy)) {
            Deny(index, buyer, mStatuses[index]);
            return;
        }
        mStatuses[index] = MarketItemStatus_Sold;
        mLedgers[buyer].fromStock[copy] = {index, price};
    } else if (IsStaticStockIndex(index)) {
        const std::uint32_t entry = MarketIndexValue(index);
        const unsigned price =
            entry < mBookStatic.size() ? MarketPriceOfRecord(mBookStatic[entry], mSettings) : 0;
        if (!player || price == 0 || !Sell(*player, mBookStatic[entry], price, copy)) {
            Deny(index, buyer, MarketItemStatus_Unknown);
            return;
        }
        mLedgers[buyer].staticPrices[copy] = price;
    } else {
        // Buying back what he sold here, at what he was paid.
        auto ledger = mLedgers.find(buyer);
        std::vector<SoldBack>* sold = ledger != mLedgers.end() ? &ledger->second.soldBack : nullptr;
        auto goods = sold ? std::find_if(sold->begin(), sold->end(),
                                         [index](const SoldBack& each) {
                                             return each.itemId == MarketIndexValue(index);
                                         })
                          : std::vector<SoldBack>::iterator();
        if (!IsMarketItemIndex(index) || !sold || goods == sold->end() || !player ||
            !Sell(*player, goods->record, goods->price, copy)) {
            Deny(index, buyer, MarketItemStatus_Unknown);
            return;
        }
        sold->erase(goods);
    }
    if (GameEngineNetworkInterface* net = Network())
        net->S2C_MarketPurchaseConfirmation(mMerchant, index, buyer);
}

void MarketServer::C2S_MarketSellBack(unsigned tier, unsigned seed, unsigned index,
                                      std::uint32_t seller) {
    // A sale names the item itself: a stock index alone would free the stock item without
    // the copy coming back.
    if (!IsMarketItemIndex(index))
        return;
    const std::uint32_t itemId = MarketIndexValue(index);
    Player* player = PlayerAtMerchant(seller);
    Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(itemId);
    if (tier != mTier || seed != mStockSeed || mStockSeed == 0 || !player || !item ||
        !player->HasItem(itemId)) {
        Deny(index, seller, MarketItemStatus_Unknown);
        return;
    }
    DrawBook();
    Ledger& ledger = mLedgers[seller];
    unsigned value = 0;
    const auto bought = ledger.fromStock.find(itemId);
    const bool stockCopy = bought != ledger.fromStock.end() &&
                           bought->second.first < mBookRandom.size() &&
                           item->GetReplicaInfo() == mBookRandom[bought->second.first];
    const auto paid = ledger.staticPrices.find(itemId);
    if (stockCopy)
        value = bought->second.second;
    else if (paid != ledger.staticPrices.end())
        value = paid->second;
    else
        value = mSettings.SaleValue(*item, false);
    if (value == 0 || value > 0x7FFFFFFFu) {
        Deny(index, seller, MarketItemStatus_Unknown);
        return;
    }
    GameEngineNetworkInterface* net = Network();
    if (stockCopy) {
        // The stock item is for sale again, for everyone.
        const unsigned stockIndex = bought->second.first;
        if (stockIndex < mStatuses.size())
            mStatuses[stockIndex] = MarketItemStatus_Available;
        ledger.fromStock.erase(bought);
        if (net)
            net->S2C_MarketItemStatusUpdate(mMerchant, stockIndex, MarketItemStatus_Available);
    } else if (paid != ledger.staticPrices.end()) {
        ledger.staticPrices.erase(paid);
    } else {
        ledger.soldBack.push_back({itemId, item->GetReplicaInfo(), value});
        if (ledger.soldBack.size() > kMaxSoldBack)
            ledger.soldBack.erase(ledger.soldBack.begin());
    }
    GiveGold(seller, static_cast<int>(value));
    // The item leaves the seller on every machine.
    player->Enqueue(std::make_unique<RemoveInventoryItemConfigCmd>(seller, itemId));
    if (net)
        net->S2C_MarketPurchaseConfirmation(mMerchant, index, seller);
}

}  // namespace GAME
