#include "Game/items/loot/LootRandomizerTable.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/items/loot/RandomizerWeightModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(LootRandomizerTable, Object)

void LootRandomizerTable::Load(const LoadTable& record) {
    Object::Load(record);
    entries.reserve(entries.size() + kEntryCount);
    for (int i = 1; i <= kEntryCount; ++i) {
        const std::string index = std::to_string(i);
        const int weight = record.GetInt(("randomizerWeight" + index).c_str(), 0);
        std::string name = record.GetString(("randomizerName" + index).c_str());
        if (weight <= 0 || name.empty())
            continue;
        entries.push_back({std::move(name), static_cast<std::uint32_t>(weight)});
        totalWeight += static_cast<std::uint32_t>(weight);
    }
}

bool LootRandomizerTable::ManualLoad(const std::string& recordName) {
    if (recordName.empty())
        return false;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(recordName);
    const LoadTable record = objects.GetLoadTable(recordName);
    if (record.GetString("Class") != "LootRandomizerTable")
        return false;
    Load(record);
    return true;
}

void LootRandomizerTable::GetRandomizerName(std::string& out, RandomUniform& random) const {
    const Entry* chosen = PlainDraw(entries, totalWeight, random);
    if (chosen)
        out = chosen->randomizerName;
    else
        out.clear();
}

}  // namespace GAME
