#pragma once
// A weighted list of randomizer records (prefixes, suffixes, relic bonuses), loaded by hand
// from a record whose "Class" says so, and drawn from with a plain weighted draw.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class RandomUniform;

class LootRandomizerTable : public Object {
    RTTI_DECLARE(LootRandomizerTable)
public:
    static constexpr int kEntryCount = 60;

    struct Entry {
        std::string randomizerName;
        std::uint32_t weight = 0;
    };

    void Load(const LoadTable& record) override;
    // Loads the record only when its "Class" is "LootRandomizerTable".
    virtual bool ManualLoad(const std::string& recordName);
    // r = IGenerate(0, total); the first entry whose running weight sum reaches r. The empty
    // name when none does.
    virtual void GetRandomizerName(std::string& out, RandomUniform& random) const;

    std::uint32_t GetTotalWeight() const { return totalWeight; }
    const std::vector<Entry>& GetEntries() const { return entries; }

private:
    std::uint32_t totalWeight = 0;
    std::vector<Entry> entries;
};

}  // namespace GAME
