#include "Game/items/loot/LootRandomizerTable.h"

#include <limits>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"

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
    // The draw's bound is an int: a total beyond it draws over the largest int.
    const int total = totalWeight > static_cast<std::uint32_t>(std::numeric_limits<int>::max())
                          ? std::numeric_limits<int>::max()
                          : static_cast<int>(totalWeight);
    const auto roll = static_cast<std::uint32_t>(random.IGenerate(0, total));
    std::uint32_t sum = 0;
    for (const Entry& entry : entries) {
        sum += entry.weight;
        if (roll <= sum) {
            out = entry.randomizerName;
            return;
        }
    }
    out.clear();
}

}  // namespace GAME
