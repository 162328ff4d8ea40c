#pragma once
// A weighted list of further loot tables: draws one, creates it, hands it this table's
// configuration and lets it draw. Nested tables share one depth counter.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/items/loot/LootBase.h"

namespace GAME {

class LootMasterTable : public LootBase {
    RTTI_DECLARE(LootMasterTable)
public:
    static constexpr int kEntryCount = 30;

    struct Entry {
        std::uint32_t cumulativeWeight = 0;
        std::string lootRecordName;
    };

    void Load(const LoadTable& record) override;
    void GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                     RandomUniform& random, int& depth) override;
    void SetLevel(std::uint32_t parent, std::uint32_t averagePlayer) override;

protected:
    void ResetDrawState() override;

private:
    std::vector<Entry> entries;
    std::uint32_t parentLevel = 0;
    std::uint32_t averagePlayerLevel = 0;
};

}  // namespace GAME
