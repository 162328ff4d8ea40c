#include "Game/items/loot/LootItemTables.h"

#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

RTTI_IMPLEMENT(LootItemTable_FixedWeight, LootBase)
RTTI_IMPLEMENT(LootItemTable_DynWeight, LootBase)

namespace {

// The test override walks the entries in turn, one per call, whatever the weights say.
template <class Entries>
bool NextTestEntry(const Entries& entries, std::uint32_t& cursor, std::string& name) {
    if (entries.empty())
        return false;
    if (cursor >= entries.size())
        cursor = 0;
    name = entries[cursor].itemName;
    cursor = (cursor + 1) % static_cast<std::uint32_t>(entries.size());
    return true;
}

}  // namespace

// LootItemTable_FixedWeight

void LootItemTable_FixedWeight::Load(const LoadTable& record) {
    LootBase::Load(record);
    entries.reserve(entries.size() + kEntryCount);
    std::uint32_t sum = 0;
    ReadLootPairs(record, "lootName", "lootWeight", kEntryCount,
                  [&](std::string name, std::uint32_t weight) {
                      sum += weight;
                      entries.push_back({sum, std::move(name)});
                  });
}

void LootItemTable_FixedWeight::ResetDrawState() {
    LootBase::ResetDrawState();
    testCursor = 0;
}

void LootItemTable_FixedWeight::GetLootName(std::string& name, std::string& prefix,
                                            std::string& suffix, RandomUniform& random, int&) {
    if (entries.empty())
        return;
    const Entry* chosen = CumulativeDraw(entries, random);
    if (!chosen)
        return;
    name = chosen->itemName;
    DrawRandomizerNames(prefix, suffix, random, false);
}

void LootItemTable_FixedWeight::OverrideTest(std::string& name, std::string& prefix,
                                             std::string& suffix, RandomUniform& random) {
    if (NextTestEntry(entries, testCursor, name))
        DrawRandomizerNames(prefix, suffix, random, true);
}

// LootItemTable_DynWeight

LootItemTable_DynWeight::LootItemTable_DynWeight() = default;
LootItemTable_DynWeight::~LootItemTable_DynWeight() = default;

namespace {
// Absent when the text is empty or does not parse (logged with the field's name).
std::unique_ptr<DesignerEquation<float>> LoadLevelEquation(const LoadTable& record,
                                                           const char* field,
                                                           EquationInterface<float>* owner) {
    const std::string text = record.GetString(field);
    if (text.empty())
        return nullptr;
    auto equation = std::make_unique<DesignerEquation_Algebra>();
    if (equation->ParseEquation(text.c_str(), owner, field))
        return equation;
    gEngine->Log(1, "-=- LootItemTable_DynWeight:: Equation  load failure : %s ", field);
    return nullptr;
}
}  // namespace

void LootItemTable_DynWeight::Load(const LoadTable& record) {
    LootBase::Load(record);
    std::vector<std::string> names;
    record.GetStringArray("itemNames", names);
    defaultWeight = static_cast<int>(record.GetFloat("defaultWeight", 0.0f));
    record.GetFloatArray("bellSlope", bellSlope);
    minItemLevelEquation = LoadLevelEquation(record, "minItemLevelEquation", this);
    maxItemLevelEquation = LoadLevelEquation(record, "maxItemLevelEquation", this);
    targetLevelEquation = LoadLevelEquation(record, "targetLevelEquation", this);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::string& name : names) {
        if (name.empty())
            continue;
        objects.LoadTableFile(name);
        const int level = objects.GetLoadTable(name).GetInt(kLevelFieldName, 0);
        if (level < lowestItemLevel)
            lowestItemLevel = level;
        if (level > highestItemLevel)
            highestItemLevel = level;
        entries.push_back({std::move(name), static_cast<std::uint32_t>(level),
                           static_cast<std::uint32_t>(defaultWeight), false});
    }
}

void LootItemTable_DynWeight::ResetDrawState() {
    LootBase::ResetDrawState();
    for (Entry& entry : entries) {
        entry.weight = static_cast<std::uint32_t>(defaultWeight);
        entry.valid = false;
    }
    totalWeight = 0;
    parentLevel = 0;
    averagePlayerLevel = 0;
    gameDifficulty = 0;
    processed = false;
    testCursor = 0;
}

void LootItemTable_DynWeight::SetLevel(std::uint32_t parent, std::uint32_t averagePlayer) {
    parentLevel = parent;
    averagePlayerLevel = averagePlayer;
}

bool LootItemTable_DynWeight::GetDesignerVariable(const char* name, float& value) {
    value = 0.0f;
    if (std::strcmp(name, "minPlayerLevel") == 0 || std::strcmp(name, "maxPlayerLevel") == 0 ||
        std::strcmp(name, "numberOfPlayers") == 0) {
        value = 1.0f;
        return true;
    }
    if (std::strcmp(name, "gameDifficulty") == 0) {
        value = static_cast<float>(gameDifficulty);
        return true;
    }
    if (std::strcmp(name, "parentLevel") == 0) {
        value = static_cast<float>(parentLevel);
        return true;
    }
    if (std::strcmp(name, "averagePlayerLevel") == 0) {
        value = static_cast<float>(averagePlayerLevel);
        return true;
    }
    return false;
}

int LootItemTable_DynWeight::EvaluateLevel(const DesignerEquation<float>* equation) const {
    const int level = equation ? static_cast<int>((*equation)() + 0.5f) : 0;
    // Without entries the bounds cross; the lowest bound is then kept, as a plain clamp would.
    if (level > highestItemLevel)
        return lowestItemLevel > highestItemLevel ? lowestItemLevel : highestItemLevel;
    return level < lowestItemLevel ? lowestItemLevel : level;
}

void LootItemTable_DynWeight::ProcessTableData() {
    processed = true;
    gameDifficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    const int minLevel = EvaluateLevel(minItemLevelEquation.get());
    const int maxLevel = EvaluateLevel(maxItemLevelEquation.get());
    SetValidItemLevel(minLevel, maxLevel);
    SetDynamicWeights(EvaluateLevel(targetLevelEquation.get()));
}

void LootItemTable_DynWeight::SetValidItemLevel(int minLevel, int maxLevel) {
    const auto low = static_cast<std::uint32_t>(minLevel);
    const auto high = static_cast<std::uint32_t>(maxLevel);
    bool anyValid = false;
    for (Entry& entry : entries) {
        entry.valid = low <= entry.itemLevel && entry.itemLevel <= high;
        anyValid = anyValid || entry.valid;
    }
    if (anyValid || entries.empty())
        return;
    // Nothing in range: the highest item below the range, else the first.
    Entry* best = nullptr;
    for (Entry& entry : entries)
        if (entry.itemLevel > 0 && entry.itemLevel < low &&
            (!best || entry.itemLevel > best->itemLevel))
            best = &entry;
    (best ? *best : entries.front()).valid = true;
}

void LootItemTable_DynWeight::SetDynamicWeights(int targetLevel) {
    if (bellSlope.empty())
        return;
    for (Entry& entry : entries) {
        if (!entry.valid)
            continue;
        const std::int64_t distance =
            std::llabs(static_cast<std::int64_t>(entry.itemLevel) - targetLevel);
        if (distance < static_cast<std::int64_t>(bellSlope.size())) {
            const auto percent = static_cast<std::int64_t>(
                static_cast<int>(bellSlope[static_cast<std::size_t>(distance)]));
            // A negative percentage weighs nothing rather than wrapping around.
            const std::int64_t weight = percent * entry.weight / 100;
            entry.weight = weight < 0 ? 0u : static_cast<std::uint32_t>(weight);
        }
        totalWeight += entry.weight;
    }
}

void LootItemTable_DynWeight::GetLootName(std::string& name, std::string& prefix,
                                          std::string& suffix, RandomUniform& random, int&) {
    if (!processed)
        ProcessTableData();
    // A table whose weights were never set (no "bellSlope") weighs nothing and yields nothing.
    if (entries.empty() || totalWeight == 0)
        return;
    const auto roll = static_cast<std::uint32_t>(random.IGenerate(0, DrawBound(totalWeight - 1)));
    std::uint32_t sum = 0;
    const Entry* chosen = nullptr;
    for (const Entry& entry : entries) {
        if (!entry.valid)
            continue;
        sum += entry.weight;
        if (roll < sum) {
            chosen = &entry;
            break;
        }
    }
    if (!chosen)
        return;
    name = chosen->itemName;
    DrawRandomizerNames(prefix, suffix, random, false);
}

void LootItemTable_DynWeight::OverrideTest(std::string& name, std::string& prefix,
                                           std::string& suffix, RandomUniform& random) {
    if (NextTestEntry(entries, testCursor, name))
        DrawRandomizerNames(prefix, suffix, random, true);
}

}  // namespace GAME
