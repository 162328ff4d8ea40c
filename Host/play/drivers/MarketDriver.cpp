#include "Host/play/drivers/MarketDriver.h"

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/market/MarketClient.h"
#include "Game/items/market/NpcMerchant.h"
#include "Game/items/oneshot/OneShot.h"
#include "Host/play/HostSaves.h"
#include "Host/play/PlayEventLog.h"

namespace GAME {

namespace {
// How long the driver waits for the server's answer before it gives the deal up.
constexpr int kAnswerFrames = 120;

MarketClient* MarketOf(std::uint32_t merchant) {
    GameEngineClientServicesModule* client =
        gGameEngine ? gGameEngine->GetClientServices() : nullptr;
    return client ? client->FindMarketClient(merchant) : nullptr;
}

std::string MerchantName(std::uint32_t merchant) {
    const auto* npc = Singleton<ObjectManager>::Get().GetObject<NpcMerchant>(merchant);
    return npc ? HostSaves::NpcName(*npc) : std::string("the merchant");
}
}  // namespace

void MarketDriver::Trade(Player& player) {
    switch (mStep) {
        case Step::Waiting:
            mMerchant = mLog.GetActivatedMarket();
            if (mMerchant != 0 && Buy(player))
                mStep = Step::Buying;
            return;
        case Step::Buying:
            if (!Settled(player))
                return;
            mStep = Sell(player) ? Step::Selling : Step::Done;
            return;
        case Step::Selling:
            if (Settled(player)) {
                mStep = Step::Done;
                gGameEngine->CloseMarket(mMerchant);
            }
            return;
        case Step::Done:
            return;
    }
}

bool MarketDriver::Buy(Player& player) {
    MarketClient* market = MarketOf(mMerchant);
    if (!market || !market->IsStockBuilt())
        return false;
    Market_TypeEnum tab = Market_TypeEnum::Miscellaneous;
    gGameEngine->OpenMarket(mMerchant, tab, Vec2());
    for (const auto& entry : market->GetStaticStock()) {
        const auto* potion =
            Singleton<ObjectManager>::Get().GetObject<OneShot_Potion>(entry->itemId);
        if (!potion || !gGameEngine->GetMarketIsItemAffordable(mMerchant, entry->itemId))
            continue;
        potion->GetGameDescription(mDescription);
        mItem = entry->itemId;
        mMoneyBefore = player.GetMoney();
        mCarriedBefore = player.GetInventory().GetInventoryItems().size();
        mWaitFrames = 0;
        return gGameEngine->PlayerPurchaseRequest(mMerchant, entry->itemId);
    }
    mStep = Step::Done;
    return false;
}

bool MarketDriver::Sell(Player& player) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const MarketClient* market = MarketOf(mMerchant);
    for (std::uint32_t id : player.GetInventory().GetInventoryItems()) {
        const Item* item = objects.GetObject<Item>(id);
        // Loot: not a one-shot, not worn, and something the merchant takes.
        if (!item || !market || dynamic_cast<const OneShot*>(item) ||
            player.GetEquipManager().HasItem(id) || market->GetSaleValue(id, false) == 0)
            continue;
        item->GetGameDescription(mDescription);
        mItem = id;
        mMoneyBefore = player.GetMoney();
        mCarriedBefore = player.GetInventory().GetInventoryItems().size();
        mWaitFrames = 0;
        return gGameEngine->PlayerSaleRequest(mMerchant, id, false);
    }
    return false;
}

bool MarketDriver::Settled(Player& player) {
    const std::uint32_t money = player.GetMoney();
    if (money != mMoneyBefore) {
        const bool bought = money < mMoneyBefore;
        mLog.OnMarketDeal(bought, mDescription, MerchantName(mMerchant),
                          bought ? mMoneyBefore - money : money - mMoneyBefore);
        return true;
    }
    return ++mWaitFrames > kAnswerFrames;
}

}  // namespace GAME
