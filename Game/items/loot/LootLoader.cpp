#include "Game/items/loot/LootLoader.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Game/items/loot/LootBase.h"
#include "Game/items/loot/LootRecordCache.h"
#include "Game/items/loot/LootTable.h"

namespace GAME {

namespace {
constexpr int kRecursionDepth = 5;

constexpr const char* kLocationWords[LootLoader::LocationCount] = {
    "Head",      "Neck",    "Torso",   "LowerBody", "Forearm", "LeftHand",
    "RightHand", "Finger1", "Finger2", "Misc1",     "Misc2",   "Misc3"};

// The two fixed tables of 12 x 6 field names: "lootHeadItem1", "chanceToEquipHeadItem1", ...
struct LocationFieldNames {
    std::array<std::array<std::string, LootLoader::kItemsPerLocation>, LootLoader::LocationCount>
        names;
    std::array<std::array<std::string, LootLoader::kItemsPerLocation>, LootLoader::LocationCount>
        weights;

    LocationFieldNames() {
        for (std::size_t slot = 0; slot < names.size(); ++slot)
            for (std::size_t i = 0; i < LootLoader::kItemsPerLocation; ++i) {
                const std::string number = std::to_string(i + 1);
                names[slot][i] = std::string("loot") + kLocationWords[slot] + "Item" + number;
                weights[slot][i] =
                    std::string("chanceToEquip") + kLocationWords[slot] + "Item" + number;
            }
    }
};

const LocationFieldNames& FieldNames() {
    static const LocationFieldNames fields;
    return fields;
}
}  // namespace

void LootLoader::Append(const LoadTable& record, const char* nameField, const char* weightField,
                        unsigned index) {
    const int weight = record.GetInt(weightField, 0);
    if (weight <= 0)
        return;
    std::string name = record.GetArrayString(nameField, index);
    if (name.empty())
        return;
    entries.push_back({std::move(name), static_cast<std::uint32_t>(weight)});
    totalWeight += static_cast<std::uint32_t>(weight);
}

void LootLoader::Load(const LoadTable& record, Location location, unsigned count, unsigned index) {
    if (count >= 7 || location >= LocationCount)
        return;
    slot = LootRecordCache::Get().FindSlotList(record, location, count, index);
    totalWeight = slot->totalWeight;
}

void LootLoader::Read(const LoadTable& record, Location location, unsigned count, unsigned index) {
    slot.reset();
    entries.clear();
    totalWeight = 0;
    entries.reserve(count);
    const LocationFieldNames& fields = FieldNames();
    for (unsigned i = 0; i < count; ++i)
        Append(record, fields.names[location][i].c_str(), fields.weights[location][i].c_str(),
               index);
}

void LootLoader::Load(const LoadTable& record, const char* nameFieldPrefix,
                      const char* weightFieldPrefix, unsigned count, unsigned index) {
    slot.reset();
    entries.clear();
    totalWeight = 0;
    entries.reserve(count);
    for (unsigned i = 1; i <= count; ++i) {
        const std::string number = std::to_string(i);
        Append(record, (std::string(nameFieldPrefix) + number).c_str(),
               (std::string(weightFieldPrefix) + number).c_str(), index);
    }
}

void LootLoader::GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                             RandomUniform& random) const {
    if (const Entry* chosen = PlainDraw(GetEntries(), totalWeight, random))
        name = chosen->lootName;
    if (name.empty())
        return;
    const LootBase::Lent table = LootBase::Borrow(name);
    if (!table) {
        ValidateSelectLootRecursive(name, prefix, suffix, kRecursionDepth, random);
        return;
    }
    table->SetNoBrokenItems(noBrokenItems);
    table->SetRandomizerWeightModifiers(weightModifiers);
    table->SetLevel(parentLevel, averagePlayerLevel);
    int depth = kRecursionDepth;
    table->GetLootName(name, prefix, suffix, random, depth);
}

void LootLoader::ValidateSelectLootRecursive(std::string& name, std::string& prefix,
                                             std::string& suffix, int depth,
                                             RandomUniform& random) const {
    for (;;) {
        if (name.empty())
            return;
        const LootTable* table = LootRecordCache::Get().FindLootTable(name);
        if (!table)
            return;
        table->GetLootName(name, prefix, suffix, random);
        if (depth <= 0) {
            gEngine->Log(1, "Recursion too deep on LootLoader prefix (%s) or suffix (%s)",
                         prefix.c_str(), suffix.c_str());
            return;
        }
        --depth;
    }
}

}  // namespace GAME
