#pragma once
// Draws the prefix and suffix (or a broken randomizer) of an item chosen by an item table, from
// the randomizer fields of that table's own record (read once per record and kept). Built
// afresh for every draw, so modifiers and the no-broken flag never accumulate.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Game/items/loot/RandomizerWeightModifiers.h"

namespace GAME {

class LootItemTableRandomizer {
public:
    static constexpr int kEntryCount = 15;

    struct Entry {
        std::uint32_t cumulativeWeight = 0;
        std::string randomizerTableName;
    };
    // What the record says.
    struct Fields {
        std::vector<Entry> prefixTables;
        std::vector<Entry> suffixTables;
        std::vector<Entry> brokenTables;
        float prefixChance = 0.0f;
        float suffixChance = 0.0f;
        float brokenChance = 0.0f;
        std::array<std::uint32_t, 5> outcomes{};

        void Read(const std::string& recordName);
    };

    LootItemTableRandomizer();
    virtual ~LootItemTableRandomizer() = default;
    virtual void LoadFromDatabase(const std::string& recordName);
    virtual void GetRandomizerNames(std::string& prefix, std::string& suffix,
                                    RandomUniform& random) const;
    // Every list drawn from whatever its roll: chances 100, both and broken outcomes 100.
    virtual void OverrideWeightsAndChance();
    // The broken share goes to the plain outcome.
    virtual void SetNoBrokenItems();
    virtual void SetWeightModifiers(const RandomizerWeightModifiers& modifiers);

    // In the order of RandomizerWeightModifiers.
    const std::array<std::uint32_t, 5>& GetOutcomeWeights() const { return outcomes; }
    float GetPrefixChance() const { return prefixChance; }

protected:
    void GetPrefixTable(std::string& out, RandomUniform& random) const;
    void GetSuffixTable(std::string& out, RandomUniform& random) const;
    void GetBrokenTable(std::string& out, RandomUniform& random) const;

private:
    static void DrawTable(const std::vector<Entry>& tables, float chance, std::string& out,
                          RandomUniform& random);

    const Fields* fields;  // the record's, kept by the machine's LootRecordCache
    float prefixChance = 0.0f;
    float suffixChance = 0.0f;
    float brokenChance = 0.0f;
    std::array<std::uint32_t, 5> outcomes{};
};

}  // namespace GAME
