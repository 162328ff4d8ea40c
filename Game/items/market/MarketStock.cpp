#include "Game/items/market/MarketStock.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"

namespace GAME {

namespace {
constexpr int kStaticSeedMin = 1;
constexpr int kStaticSeedMax = 32767;
constexpr std::size_t kStaticKind = MarketStock::kKindCount - 1;

// cost - truncate(cost x percent %), or + for a markup.
long long Adjusted(int cost, float percent, int sign) {
    return static_cast<long long>(cost) +
           sign * static_cast<long long>(static_cast<float>(cost) * percent * 0.01f);
}
}  // namespace

void MarketSettings::Load(const LoadTable& record) {
    healthPotionName = record.GetString("marketHealthPotion");
    manaPotionName = record.GetString("marketManaPotion");
    costAdjustment = record.GetFloat("marketCostAdjustment", 0.0f);
    depreciation = record.GetFloat("marketDepreciation", 0.0f);
    maxPlayerPurchase = record.GetInt("maxPlayerPurchase", 0);
}

unsigned MarketSettings::BuyPrice(Item& item) const {
    const long long price = Adjusted(item.GetItemCost(false), costAdjustment, 1);
    return static_cast<unsigned>(std::clamp<long long>(price, 0, 0x7FFFFFFF));
}

unsigned MarketSettings::SaleValue(Item& item, bool wholeStack) const {
    long long value = Adjusted(item.GetItemCost(wholeStack), depreciation, -1);
    if (maxPlayerPurchase != 0)
        value = std::min<long long>(value, maxPlayerPurchase);
    // A negative value is nothing the merchant pays.
    return static_cast<unsigned>(std::clamp<long long>(value, 0, 0x7FFFFFFF));
}

MarketStock::MarketStock() {
    mKinds = {std::make_unique<MarketWeapon_Axe>(),    std::make_unique<MarketWeapon_Bow>(),
              std::make_unique<MarketWeapon_Mace>(),   std::make_unique<MarketWeapon_Spear>(),
              std::make_unique<MarketWeapon_Staff>(),  std::make_unique<MarketWeapon_Sword>(),
              std::make_unique<MarketArmor_Armband>(), std::make_unique<MarketArmor_BodyArmor>(),
              std::make_unique<MarketArmor_Greaves>(), std::make_unique<MarketArmor_Helm>(),
              std::make_unique<MarketArmor_Shield>(),  std::make_unique<MarketMisc_Ring>(),
              std::make_unique<MarketMisc_Bracelet>(), std::make_unique<MarketMisc_Amulet>(),
              std::make_unique<MarketMisc_Static>()};
    for (auto& kind : mKinds)
        kind->SetMarket(this);
}

MarketStock::~MarketStock() = default;

void MarketStock::Draw(const LoadTable& record, const MarketSettings& settings, unsigned tier,
                       unsigned seed) {
    random.clear();
    statics.clear();
    // The static goods draw from a generator of their own, so the random stock's indexes are
    // the same whatever the static goods are.
    RandomUniform staticRng;
    staticRng.Seed(seed);
    for (const std::string* potion : {&settings.healthPotionName, &settings.manaPotionName})
        if (!potion->empty()) {
            ItemReplicaInfo entry;
            entry.baseName = *potion;
            entry.seed =
                static_cast<std::uint32_t>(staticRng.IGenerate(kStaticSeedMin, kStaticSeedMax));
            statics.push_back(entry);
        }
    mKinds[kStaticKind]->Refresh(record, tier, staticRng);
    RandomUniform rng;
    rng.Seed(seed);
    for (std::size_t i = 0; i < kStaticKind; ++i)
        mKinds[i]->Refresh(record, tier, rng);
}

unsigned MarketPriceOfRecord(const ItemReplicaInfo& record, const MarketSettings& settings) {
    ItemReplicaInfo probe = record;
    // An id of this machine's own: the probe must not move the counter the machines share.
    probe.objectId = CreateServerObjectId(ServerIdBand::Presentation);
    Item* item = probe.objectId ? Item::CreateItem(probe) : nullptr;
    if (!item)
        return 0;
    const unsigned price = settings.BuyPrice(*item);
    Singleton<ObjectManager>::Get().DestroyObjectEx(item, "Game/MarketStock", __LINE__);
    return price;
}

}  // namespace GAME
