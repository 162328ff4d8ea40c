#pragma once
// A plain loot list with its own prefix and suffix lists, loaded by hand from a record whose
// "Class" says so. The loot loader falls back to it when a name is no loot table class.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class RandomUniform;

class LootTable : public Object {
    RTTI_DECLARE(LootTable)
public:
    static constexpr int kEntryCount = 30;

    struct Entry {
        std::string name;
        std::uint32_t weight = 0;
    };

    void Load(const LoadTable& record) override;
    // Loads the record only when its "Class" is "LootTable".
    virtual bool ManualLoad(const std::string& recordName);
    // Names not drawn are left as they were; the outcome draw may clear prefix or suffix.
    virtual void GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                             RandomUniform& random) const;

protected:
    virtual void GetRandomizerName(const std::vector<Entry>& list, float chance, float total,
                                   std::string& out, RandomUniform& random) const;
    // Follows a chain of randomizer tables to a randomizer record, through at most six tables.
    void ValidateSelectRandomizerRecursive(std::string& name, int depth,
                                           RandomUniform& random) const;

private:
    std::uint32_t totalWeight = 0;
    std::vector<Entry> entries;
    float prefixChance = 0.0f;
    std::uint32_t prefixTotalWeight = 0;
    std::vector<Entry> prefixEntries;
    float suffixChance = 0.0f;
    std::uint32_t suffixTotalWeight = 0;
    std::vector<Entry> suffixEntries;
    std::uint32_t bothPrefixSuffix = 0;
    std::uint32_t noPrefixNoSuffix = 0;
    std::uint32_t prefixOnly = 0;
    std::uint32_t suffixOnly = 0;
};

}  // namespace GAME
