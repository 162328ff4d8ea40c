#include "Game/items/loot/LootMasterTable.h"

#include "Engine/Engine.h"

namespace GAME {

RTTI_IMPLEMENT(LootMasterTable, LootBase)

void LootMasterTable::Load(const LoadTable& record) {
    LootBase::Load(record);
    entries.reserve(entries.size() + kEntryCount);
    std::uint32_t sum = 0;
    ReadLootPairs(record, "lootName", "lootWeight", kEntryCount,
                  [&](std::string name, std::uint32_t weight) {
                      sum += weight;
                      entries.push_back({sum, std::move(name)});
                  });
}

void LootMasterTable::ResetDrawState() {
    LootBase::ResetDrawState();
    parentLevel = 0;
    averagePlayerLevel = 0;
}

void LootMasterTable::SetLevel(std::uint32_t parent, std::uint32_t averagePlayer) {
    parentLevel = parent;
    averagePlayerLevel = averagePlayer;
}

void LootMasterTable::GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                                  RandomUniform& random, int& depth) {
    if (entries.empty() || depth <= 0)
        return;
    --depth;
    const Entry* chosen = CumulativeDraw(entries, random);
    if (!chosen)
        return;
    const Lent table = Borrow(chosen->lootRecordName);
    if (!table) {
        gEngine->Log(1, "LootMasterTable: Unable to create LootBase (%s)",
                     chosen->lootRecordName.c_str());
        return;
    }
    table->SetLevel(parentLevel, averagePlayerLevel);
    table->SetNoBrokenItems(noBrokenItems);
    table->SetRandomizerWeightModifiers(weightModifiers);
    table->GetLootName(name, prefix, suffix, random, depth);
}

}  // namespace GAME
