#include "Game/items/loot/LootTable.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/items/loot/LootBase.h"
#include "Game/items/loot/LootRandomizerTable.h"
#include "Game/items/loot/LootRecordCache.h"

namespace GAME {

RTTI_IMPLEMENT(LootTable, Object)

namespace {
void ReadList(const LoadTable& record, const char* nameField, const char* weightField,
              std::vector<LootTable::Entry>& list, std::uint32_t& total) {
    ReadLootPairs(record, nameField, weightField, LootTable::kEntryCount,
                  [&](std::string name, std::uint32_t weight) {
                      list.push_back({std::move(name), weight});
                      total += weight;
                  });
}
}  // namespace

void LootTable::Load(const LoadTable& record) {
    Object::Load(record);
    ReadList(record, "lootName", "lootWeight", entries, totalWeight);
    prefixChance = record.GetFloat("prefixRandomizerChance", 0.0f);
    ReadList(record, "prefixRandomizerName", "prefixRandomizerWeight", prefixEntries,
             prefixTotalWeight);
    suffixChance = record.GetFloat("suffixRandomizerChance", 0.0f);
    ReadList(record, "suffixRandomizerName", "suffixRandomizerWeight", suffixEntries,
             suffixTotalWeight);
    bothPrefixSuffix = static_cast<std::uint32_t>(record.GetInt("bothPrefixSuffix", 0));
    noPrefixNoSuffix = static_cast<std::uint32_t>(record.GetInt("noPrefixNoSuffix", 0));
    prefixOnly = static_cast<std::uint32_t>(record.GetInt("prefixOnly", 0));
    suffixOnly = static_cast<std::uint32_t>(record.GetInt("suffixOnly", 0));
}

bool LootTable::ManualLoad(const std::string& recordName) {
    if (recordName.empty())
        return false;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(recordName);
    const LoadTable record = objects.GetLoadTable(recordName);
    if (record.GetString("Class") != "LootTable")
        return false;
    Load(record);
    return true;
}

void LootTable::GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                            RandomUniform& random) const {
    const Entry* chosen = PlainDraw(entries, totalWeight, random);
    if (!chosen)
        return;
    name = chosen->name;
    GetRandomizerName(prefixEntries, prefixChance, static_cast<float>(prefixTotalWeight), prefix,
                      random);
    GetRandomizerName(suffixEntries, suffixChance, static_cast<float>(suffixTotalWeight), suffix,
                      random);
    const std::uint32_t total = bothPrefixSuffix + noPrefixNoSuffix + prefixOnly + suffixOnly;
    const auto roll = static_cast<std::uint32_t>(random.IGenerate(0, DrawBound(total)));
    if (roll <= bothPrefixSuffix)
        return;
    if (roll <= bothPrefixSuffix + prefixOnly) {
        suffix.clear();
    } else if (roll <= bothPrefixSuffix + prefixOnly + suffixOnly) {
        prefix.clear();
    } else {
        prefix.clear();
        suffix.clear();
    }
}

void LootTable::GetRandomizerName(const std::vector<Entry>& list, float chance, float total,
                                  std::string& out, RandomUniform& random) const {
    // Strictly below the chance: a chance of 0 never draws.
    if (!(random.FGenerate(0.0f, 100.0f) < chance))
        return;
    const Entry* chosen = PlainDraw(list, static_cast<std::uint32_t>(total), random);
    if (!chosen)
        return;
    out = chosen->name;
    ValidateSelectRandomizerRecursive(out, 5, random);
}

void LootTable::ValidateSelectRandomizerRecursive(std::string& name, int depth,
                                                  RandomUniform& random) const {
    for (;;) {
        if (name.empty())
            return;
        const LootRandomizerTable* table = LootRecordCache::Get().FindRandomizerTable(name);
        if (!table)
            return;
        table->GetRandomizerName(name, random);
        if (depth < 1) {
            gEngine->Log(1, "Recursion too deep on LootTable (%s)", name.c_str());
            return;
        }
        --depth;
    }
}

}  // namespace GAME
