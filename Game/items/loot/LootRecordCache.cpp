#include "Game/items/loot/LootRecordCache.h"

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Game/items/loot/LootBase.h"
#include "Game/items/loot/LootRandomizerTable.h"
#include "Game/items/loot/LootTable.h"

namespace GAME {

LootRecordCache::LootRecordCache() = default;
LootRecordCache::~LootRecordCache() = default;

LootRecordCache& LootRecordCache::Get() {
    return Singleton<LootRecordCache>::Get();
}

void LootRecordCache::Check() {
    const std::uint64_t version = Singleton<RecordDatabase>::Get().GetVersion();
    if (version == mRecordsVersion)
        return;
    mRecordsVersion = version;
    mRandomizerTables.clear();
    mLootTables.clear();
    mItemTableFields.clear();
    // A table lent out now is not given back here: GiveBackTable finds no entry for it.
    mTables.clear();
}

const LootRandomizerTable* LootRecordCache::FindRandomizerTable(const std::string& recordName) {
    Check();
    auto found = mRandomizerTables.find(recordName);
    if (found == mRandomizerTables.end()) {
        auto table = std::make_unique<LootRandomizerTable>();
        if (!table->ManualLoad(recordName))
            table.reset();
        found = mRandomizerTables.emplace(recordName, std::move(table)).first;
    }
    return found->second.get();
}

const LootTable* LootRecordCache::FindLootTable(const std::string& recordName) {
    Check();
    auto found = mLootTables.find(recordName);
    if (found == mLootTables.end()) {
        auto table = std::make_unique<LootTable>();
        if (!table->ManualLoad(recordName))
            table.reset();
        found = mLootTables.emplace(recordName, std::move(table)).first;
    }
    return found->second.get();
}

const LootItemTableRandomizer::Fields& LootRecordCache::FindItemTableFields(
    const std::string& recordName) {
    Check();
    auto found = mItemTableFields.find(recordName);
    if (found == mItemTableFields.end()) {
        LootItemTableRandomizer::Fields fields;
        fields.Read(recordName);
        found = mItemTableFields.emplace(recordName, std::move(fields)).first;
    }
    return found->second;
}

std::unique_ptr<LootBase> LootRecordCache::TakeTable(const std::string& recordName, bool& isTable) {
    Check();
    auto found = mTables.find(recordName);
    if (found == mTables.end()) {
        Table entry;
        entry.table = LootBase::Create(recordName);
        entry.isTable = entry.table != nullptr;
        found = mTables.emplace(recordName, std::move(entry)).first;
    }
    isTable = found->second.isTable;
    return std::move(found->second.table);
}

void LootRecordCache::GiveBackTable(std::unique_ptr<LootBase> table) {
    Check();
    // Filed under the name it was made from (Create names the table after its record).
    auto found = mTables.find(table->GetObjectName());
    if (found != mTables.end() && found->second.isTable && !found->second.table)
        found->second.table = std::move(table);
}

}  // namespace GAME
