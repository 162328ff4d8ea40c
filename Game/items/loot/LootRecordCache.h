#pragma once
// What the loot records say, read once per record and machine: a monster's death draws through
// the same few tables every time, and reading a table's sixty fields again for each draw was
// most of the allocations of a fight. Everything read is forgotten when the record database
// changes (RecordDatabase::GetVersion). What a load logged is logged again at every use, as
// the load itself was made for every use before.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Engine/records/LoadTable.h"
#include "Engine/sys/LogRecorder.h"
#include "Game/items/loot/LootItemTableRandomizer.h"
#include "Game/items/loot/LootLoader.h"

namespace GAME {

class GoldGenerator;
class LootBase;
class LootRandomizerTable;
class LootTable;
struct RecordData;

class LootRecordCache {
public:
    LootRecordCache();
    ~LootRecordCache();
    LootRecordCache(const LootRecordCache&) = delete;
    LootRecordCache& operator=(const LootRecordCache&) = delete;

    // The current machine's.
    static LootRecordCache& Get();

    // Null when the record's class is no randomizer table (or no plain loot table).
    const LootRandomizerTable* FindRandomizerTable(const std::string& recordName);
    const LootTable* FindLootTable(const std::string& recordName);
    // The randomizer fields of an item table's record.
    const LootItemTableRandomizer::Fields& FindItemTableFields(const std::string& recordName);

    // The loaded table of a record, taken out until it is handed back (LootBase::Borrow);
    // `isTable` false when the record makes no loot table. Null with `isTable` true: the
    // record's table is out already (a table that names itself), the caller makes its own.
    std::unique_ptr<LootBase> TakeTable(const std::string& recordName, bool& isTable);
    // Keeps a table taken out for the next draw of its record.
    void GiveBackTable(std::unique_ptr<LootBase> table);
    // The list of an equipment slot of a record, as LootLoader::Load reads it.
    std::shared_ptr<const LootLoader> FindSlotList(const LoadTable& record, unsigned location,
                                                   unsigned count, unsigned index);
    // The record's gold generator, as loaded (no chance, levels or players of an earlier run);
    // null when the record is refused. For one run at a time.
    GoldGenerator* UseGoldGenerator(const std::string& recordName);

private:
    // Forgets everything when a record may have changed.
    void Check();

    // What one record loaded into, and what its load logged.
    template <class Loaded>
    struct Kept {
        Loaded loaded{};
        std::vector<LoggedLine> log;
    };
    // The entry of a record, loaded by `load(loaded)` the first time; its log said again.
    // `readsMissing`: the load reads the record even when it does not exist.
    template <class Loaded, class Load>
    Loaded& Find(std::unordered_map<std::string, Kept<Loaded>>& kept, const std::string& recordName,
                 bool readsMissing, Load&& load);

    struct Table {
        std::unique_ptr<LootBase> table;
        bool isTable = false;
    };
    // A slot of a record, by the record's identity (held, so no other record takes it).
    struct SlotKey {
        std::shared_ptr<const RecordData> record;
        unsigned location = 0;
        unsigned count = 0;
        unsigned index = 0;
        bool operator==(const SlotKey&) const = default;
    };
    struct SlotKeyHash {
        std::size_t operator()(const SlotKey& key) const;
    };
    std::uint64_t mRecordsVersion = 0;
    std::unordered_map<std::string, Kept<std::unique_ptr<LootRandomizerTable>>> mRandomizerTables;
    std::unordered_map<std::string, Kept<std::unique_ptr<LootTable>>> mLootTables;
    std::unordered_map<std::string, Kept<LootItemTableRandomizer::Fields>> mItemTableFields;
    std::unordered_map<std::string, Kept<Table>> mTables;
    std::unordered_map<std::string, Kept<std::unique_ptr<GoldGenerator>>> mGoldGenerators;
    std::unordered_map<SlotKey, std::shared_ptr<const LootLoader>, SlotKeyHash> mSlotLists;
};

}  // namespace GAME
