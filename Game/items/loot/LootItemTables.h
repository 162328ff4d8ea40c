#pragma once
// The item tables: a fixed list of cumulative weights, and a list whose weights follow a bell
// around a target level that designer formulas give. Each chosen item then draws its prefix and
// suffix through the randomizer fields of the table's own record.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/items/loot/LootBase.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

template <class T>
class DesignerEquation;

class LootItemTable_FixedWeight : public LootBase {
    RTTI_DECLARE(LootItemTable_FixedWeight)
public:
    static constexpr int kEntryCount = 30;

    struct Entry {
        std::uint32_t cumulativeWeight = 0;
        std::string itemName;
    };

    void Load(const LoadTable& record) override;
    void GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                     RandomUniform& random, int& depth) override;
    void OverrideTest(std::string& name, std::string& prefix, std::string& suffix,
                      RandomUniform& random) override;

    const std::vector<Entry>& GetEntries() const { return entries; }

protected:
    void ResetDrawState() override;

private:
    std::vector<Entry> entries;
    std::uint32_t testCursor = 0;
};

class LootItemTable_DynWeight : public LootBase, public EquationInterface<float> {
    RTTI_DECLARE(LootItemTable_DynWeight)
public:
    struct Entry {
        std::string itemName;
        std::uint32_t itemLevel = 0;
        std::uint32_t weight = 0;
        bool valid = false;
    };

    LootItemTable_DynWeight();
    ~LootItemTable_DynWeight() override;

    void Load(const LoadTable& record) override;
    void GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                     RandomUniform& random, int& depth) override;
    void SetLevel(std::uint32_t parent, std::uint32_t averagePlayer) override;
    void OverrideTest(std::string& name, std::string& prefix, std::string& suffix,
                      RandomUniform& random) override;
    bool GetDesignerVariable(const char* name, float& value) override;

    const std::vector<Entry>& GetEntries() const { return entries; }
    std::uint32_t GetTotalWeight() const { return totalWeight; }

protected:
    void ResetDrawState() override;
    // Once per table object, at its first draw.
    void ProcessTableData();
    void SetValidItemLevel(int minLevel, int maxLevel);
    void SetDynamicWeights(int targetLevel);

private:
    // The formula's value rounded half up, within the levels of the listed items.
    int EvaluateLevel(const DesignerEquation<float>* equation) const;

    static constexpr const char* kLevelFieldName = "itemLevel";
    int defaultWeight = 0;
    std::vector<float> bellSlope;
    std::vector<Entry> entries;
    std::uint32_t totalWeight = 0;
    int lowestItemLevel = 16777215;
    int highestItemLevel = 0;
    std::uint32_t parentLevel = 0;
    std::uint32_t averagePlayerLevel = 0;
    int gameDifficulty = 0;
    bool processed = false;
    std::unique_ptr<DesignerEquation<float>> minItemLevelEquation;
    std::unique_ptr<DesignerEquation<float>> maxItemLevelEquation;
    std::unique_ptr<DesignerEquation<float>> targetLevelEquation;
    std::uint32_t testCursor = 0;
};

}  // namespace GAME
