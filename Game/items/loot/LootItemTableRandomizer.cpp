#include "Game/items/loot/LootItemTableRandomizer.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/items/loot/LootRandomizerTable.h"
#include "Game/items/loot/LootRecordCache.h"

namespace GAME {

namespace {
// Read by no record: a randomizer that loaded nothing draws from empty lists.
const LootItemTableRandomizer::Fields kNoFields;

constexpr const char* kOutcomeFields[] = {"noPrefixNoSuffix", "bothPrefixSuffix", "prefixOnly",
                                          "suffixOnly", "brokenOnly"};

// Appends a taken pair with its running cumulative weight.
void Append(std::vector<LootItemTableRandomizer::Entry>& list, std::string name,
            std::uint32_t weight) {
    const std::uint32_t sum = (list.empty() ? 0 : list.back().cumulativeWeight) + weight;
    list.push_back({sum, std::move(name)});
}

void ReadPair(const LoadTable& record, const char* stem, int index,
              std::vector<LootItemTableRandomizer::Entry>& list) {
    const std::string number = std::to_string(index);
    const int weight = record.GetInt((std::string(stem) + "RandomizerWeight" + number).c_str(), 0);
    if (weight <= 0)
        return;
    std::string name = record.GetString((std::string(stem) + "RandomizerName" + number).c_str());
    if (!name.empty())
        Append(list, std::move(name), static_cast<std::uint32_t>(weight));
}
}  // namespace

LootItemTableRandomizer::LootItemTableRandomizer() : fields(&kNoFields) {}

void LootItemTableRandomizer::Fields::Read(const std::string& recordName) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(recordName);
    const LoadTable record = objects.GetLoadTable(recordName);
    prefixChance = record.GetFloat("prefixRandomizerChance", 0.0f);
    suffixChance = record.GetFloat("suffixRandomizerChance", 0.0f);
    brokenChance = record.GetFloat("brokenRandomizerChance", 0.0f);
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const int weight = record.GetInt(kOutcomeFields[i], 0);
        outcomes[i] = static_cast<std::uint32_t>(weight);
    }
    // Interleaved by index, each list with its own running sum.
    for (int i = 1; i <= kEntryCount; ++i) {
        ReadPair(record, "prefix", i, prefixTables);
        ReadPair(record, "suffix", i, suffixTables);
        ReadPair(record, "broken", i, brokenTables);
    }
}

void LootItemTableRandomizer::LoadFromDatabase(const std::string& recordName) {
    fields = &LootRecordCache::Get().FindItemTableFields(recordName);
    prefixChance = fields->prefixChance;
    suffixChance = fields->suffixChance;
    brokenChance = fields->brokenChance;
    outcomes = fields->outcomes;
}

void LootItemTableRandomizer::SetWeightModifiers(const RandomizerWeightModifiers& modifiers) {
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        outcomes[i] = ModifyWeight(outcomes[i], modifiers[i]);
}

void LootItemTableRandomizer::SetNoBrokenItems() {
    outcomes[kNoPrefixNoSuffix] += outcomes[kBrokenOnly];
    outcomes[kBrokenOnly] = 0;
}

void LootItemTableRandomizer::OverrideWeightsAndChance() {
    prefixChance = suffixChance = brokenChance = 100.0f;
    outcomes = {};
    outcomes[kBothPrefixSuffix] = 100;
    outcomes[kBrokenOnly] = 100;
}

void LootItemTableRandomizer::GetRandomizerNames(std::string& prefix, std::string& suffix,
                                                 RandomUniform& random) const {
    const std::uint32_t both = outcomes[kBothPrefixSuffix];
    const std::uint32_t prefixOnly = outcomes[kPrefixOnly];
    const std::uint32_t suffixOnly = outcomes[kSuffixOnly];
    const std::uint32_t broken = outcomes[kBrokenOnly];
    const std::uint32_t total =
        both + outcomes[kNoPrefixNoSuffix] + prefixOnly + suffixOnly + broken;
    const auto roll = static_cast<std::uint32_t>(random.IGenerate(0, DrawBound(total)));
    if (roll <= both) {
        GetPrefixTable(prefix, random);
        GetSuffixTable(suffix, random);
    } else if (roll <= both + prefixOnly) {
        GetPrefixTable(prefix, random);
    } else if (roll <= both + prefixOnly + suffixOnly) {
        GetSuffixTable(suffix, random);
    } else if (roll <= both + prefixOnly + suffixOnly + broken) {
        GetBrokenTable(prefix, random);
    }
}

void LootItemTableRandomizer::GetPrefixTable(std::string& out, RandomUniform& random) const {
    DrawTable(fields->prefixTables, prefixChance, out, random);
}
void LootItemTableRandomizer::GetSuffixTable(std::string& out, RandomUniform& random) const {
    DrawTable(fields->suffixTables, suffixChance, out, random);
}
void LootItemTableRandomizer::GetBrokenTable(std::string& out, RandomUniform& random) const {
    DrawTable(fields->brokenTables, brokenChance, out, random);
}

void LootItemTableRandomizer::DrawTable(const std::vector<Entry>& tables, float chance,
                                        std::string& out, RandomUniform& random) {
    if (tables.empty())
        return;
    // A roll equal to the chance passes.
    if (random.FGenerate(0.0f, 100.0f) > chance)
        return;
    const Entry* chosen = CumulativeDraw(tables, random);
    if (!chosen)
        return;
    // Whatever the record is: a name that is not a randomizer table draws from an empty one and
    // yields the empty name.
    if (const LootRandomizerTable* table =
            LootRecordCache::Get().FindRandomizerTable(chosen->randomizerTableName))
        table->GetRandomizerName(out, random);
    else
        LootRandomizerTable().GetRandomizerName(out, random);
}

}  // namespace GAME
