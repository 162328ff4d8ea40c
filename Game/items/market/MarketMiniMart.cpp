#include "Game/items/market/MarketMiniMart.h"

#include <cstdio>
#include <string_view>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/items/loot/LootBase.h"

namespace GAME {

namespace {
constexpr int kMarketLoadTries = 5;
constexpr int kMarketItemSeedMin = 1;
constexpr int kMarketItemSeedMax = 32767;

constexpr bool IsStaticKind(std::string_view kind) {
    return kind == "MarketMisc_Static";
}

int ReadCount(const LoadTable& record, const char* field) {
    return *field ? record.GetInt(field, 0) : 0;
}

std::string TableName(const LoadTable& record, const char* stem, unsigned tier) {
    if (!*stem)
        return {};
    char field[64];
    std::snprintf(field, sizeof field, "%s%u", stem, tier);
    return record.GetString(field);
}
}  // namespace

void MarketMiniMart::Refresh(const LoadTable& marketRecord, unsigned tier, RandomUniform& rng) {
    const int count = rng.IGenerate(GetNumItemsMin(marketRecord), GetNumItemsMax(marketRecord));
    const std::string name = GetTableName(marketRecord, tier);
    if (!name.empty()) {
        if (std::unique_ptr<LootBase> table = LootBase::Create(name)) {
            table->SetNoBrokenItems(true);
            table->SetLevel(tier, tier);
            for (int i = 0; i < count; ++i)
                LoadItem(table.get(), rng);
        }
    }
    UploadItems();
}

void MarketMiniMart::LoadItem(LootBase* table, RandomUniform& rng) {
    ItemReplicaInfo record;
    int depth = kMarketLoadTries;
    // The names run on from one try into the next, as the table leaves them.
    for (int i = 0; i < kMarketLoadTries; ++i) {
        table->GetLootName(record.baseName, record.prefixName, record.suffixName, rng, depth);
        if (!IsUnique(record.baseName, record.prefixName, record.suffixName))
            continue;
        if (!record.baseName.empty()) {
            record.seed =
                static_cast<std::uint32_t>(rng.IGenerate(kMarketItemSeedMin, kMarketItemSeedMax));
            mItems.push_back(record);
        }
        return;
    }
}

bool MarketMiniMart::IsUnique(const std::string& base, const std::string& prefix,
                              const std::string& suffix) const {
    for (const ItemReplicaInfo& item : mItems)
        if (item.baseName == base && item.prefixName == prefix && item.suffixName == suffix)
            return false;
    return true;
}

void MarketMiniMart::UploadItems() {
    Upload(false);
}

void MarketMiniMart::Upload(bool toStatic) {
    if (mMarket) {
        std::list<ItemReplicaInfo>& queue = toStatic ? mMarket->statics : mMarket->random;
        queue.insert(queue.end(), mItems.begin(), mItems.end());
    }
    mItems.clear();
}

#define GAME_MARKET_KIND_DEFINE(Kind, type, minField, maxField, tableField)        \
    int Kind::GetNumItemsMin(const LoadTable& record) const {                      \
        return ReadCount(record, minField);                                        \
    }                                                                              \
    int Kind::GetNumItemsMax(const LoadTable& record) const {                      \
        return ReadCount(record, maxField);                                        \
    }                                                                              \
    std::string Kind::GetTableName(const LoadTable& record, unsigned tier) const { \
        return TableName(record, tableField, tier);                                \
    }                                                                              \
    void Kind::UploadItems() {                                                     \
        Upload(IsStaticKind(#Kind));                                               \
    }
GAME_MARKET_KINDS(GAME_MARKET_KIND_DEFINE)
#undef GAME_MARKET_KIND_DEFINE

}  // namespace GAME
