#pragma once
// What the loot records say, read once per record and machine: a monster's death draws through
// the same few tables every time, and reading a table's sixty fields again for each draw was
// most of the allocations of a fight. Everything read is forgotten when the record database
// changes (RecordDatabase::GetVersion).
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "Game/items/loot/LootItemTableRandomizer.h"

namespace GAME {

class LootBase;
class LootRandomizerTable;
class LootTable;

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

private:
    // Forgets everything when a record may have changed.
    void Check();

    struct Table {
        std::unique_ptr<LootBase> table;
        bool isTable = false;
    };
    std::uint64_t mRecordsVersion = 0;
    std::unordered_map<std::string, std::unique_ptr<LootRandomizerTable>> mRandomizerTables;
    std::unordered_map<std::string, std::unique_ptr<LootTable>> mLootTables;
    std::unordered_map<std::string, LootItemTableRandomizer::Fields> mItemTableFields;
    std::unordered_map<std::string, Table> mTables;
};

}  // namespace GAME
