#include "Game/items/loot/LootRecordCache.h"

#include <functional>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Game/items/loot/GoldGenerator.h"
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
    mGoldGenerators.clear();
    mSlotLists.clear();
}

std::size_t LootRecordCache::SlotKeyHash::operator()(const SlotKey& key) const {
    std::size_t hash = std::hash<const void*>{}(key.record.get());
    for (const unsigned part : {key.location, key.count, key.index})
        hash = hash * 1099511628211ull ^ part;
    return hash;
}

std::shared_ptr<const LootLoader> LootRecordCache::FindSlotList(const LoadTable& record,
                                                                unsigned location, unsigned count,
                                                                unsigned index) {
    Check();
    SlotKey key{record.GetData(), location, count, index};
    auto found = mSlotLists.find(key);
    if (found == mSlotLists.end()) {
        auto read = std::make_shared<LootLoader>();
        read->Read(record, static_cast<LootLoader::Location>(location), count, index);
        found = mSlotLists.emplace(std::move(key), std::move(read)).first;
    }
    return found->second;
}

namespace {

// A table that loads itself, kept as none when its load fails.
template <class T>
auto LoadManually(const std::string& recordName) {
    return [&recordName](std::unique_ptr<T>& table) {
        table = std::make_unique<T>();
        if (!table->ManualLoad(recordName))
            table.reset();
    };
}

}  // namespace

template <class Loaded, class Load>
Loaded& LootRecordCache::Find(std::unordered_map<std::string, Kept<Loaded>>& kept,
                              const std::string& recordName, bool readsMissing, Load&& load) {
    Check();
    auto found = kept.find(recordName);
    if (found == kept.end()) {
        // The record database says once per name what it has to say about a record: asked as
        // the load asks, before the recording, so that it is not said again at every use.
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        if (!recordName.empty() && (objects.LoadTableFile(recordName) || readsMissing))
            objects.GetLoadTable(recordName);
        Kept<Loaded> entry;
        {
            LogRecorder recorder(false);
            load(entry.loaded);
            entry.log = recorder.Take();
        }
        found = kept.emplace(recordName, std::move(entry)).first;
    }
    LogRecorder::Replay(found->second.log);
    return found->second.loaded;
}

const LootRandomizerTable* LootRecordCache::FindRandomizerTable(const std::string& recordName) {
    return Find(mRandomizerTables, recordName, true, LoadManually<LootRandomizerTable>(recordName))
        .get();
}

const LootTable* LootRecordCache::FindLootTable(const std::string& recordName) {
    return Find(mLootTables, recordName, true, LoadManually<LootTable>(recordName)).get();
}

const LootItemTableRandomizer::Fields& LootRecordCache::FindItemTableFields(
    const std::string& recordName) {
    return Find(mItemTableFields, recordName, true,
                [&](LootItemTableRandomizer::Fields& fields) { fields.Read(recordName); });
}

std::unique_ptr<LootBase> LootRecordCache::TakeTable(const std::string& recordName, bool& isTable) {
    Table& entry = Find(mTables, recordName, false, [&](Table& made) {
        made.table = LootBase::Create(recordName);
        made.isTable = made.table != nullptr;
    });
    isTable = entry.isTable;
    return std::move(entry.table);
}

void LootRecordCache::GiveBackTable(std::unique_ptr<LootBase> table) {
    Check();
    // Filed under the name it was made from (Create names the table after its record).
    auto found = mTables.find(table->GetObjectName());
    if (found != mTables.end() && found->second.loaded.isTable && !found->second.loaded.table)
        found->second.loaded.table = std::move(table);
}

GoldGenerator* LootRecordCache::UseGoldGenerator(const std::string& recordName) {
    GoldGenerator* generator =
        Find(mGoldGenerators, recordName, true, [&](std::unique_ptr<GoldGenerator>& made) {
            made = std::make_unique<GoldGenerator>();
            if (!made->LoadFromDatabase(recordName))
                made.reset();
        }).get();
    if (generator)
        generator->ResetRun();
    return generator;
}

}  // namespace GAME
