#pragma once
// The drawable loot records: created by name from their record, configured by the caller
// (levels, no broken items, weight modifiers) and asked for base, prefix and suffix names, all
// drawn from the caller's generator.
#include <cstdint>
#include <memory>
#include <string>

#include "Engine/object/Object.h"
#include "Engine/records/LoadTable.h"
#include "Game/items/loot/RandomizerWeightModifiers.h"

namespace GAME {

class LootBase : public Object {
    RTTI_DECLARE(LootBase)
public:
    // The loot table the record names, loaded; null when the record's class is no loot table.
    // Tables live for one draw and are not filed with the object manager: a drop decided on one
    // machine must not take object ids that the others do not take.
    static std::unique_ptr<LootBase> Create(const std::string& recordName);

    // A table for one draw, as Create makes it, but loaded once per record and machine and
    // lent again to the next draw, which configures it afresh; empty when the record's class
    // is no loot table. A table that names itself gets a table of its own for the nested draw.
    class Lent {
    public:
        Lent() = default;
        explicit Lent(std::unique_ptr<LootBase> table) : mTable(std::move(table)) {}
        Lent(Lent&&) = default;
        Lent& operator=(Lent&&) = delete;
        // Back to the machine's loot records.
        ~Lent();
        LootBase* operator->() const { return mTable.get(); }
        LootBase* get() const { return mTable.get(); }
        explicit operator bool() const { return mTable != nullptr; }

    private:
        std::unique_ptr<LootBase> mTable;
    };
    static Lent Borrow(const std::string& recordName);

    void Load(const LoadTable&) override {}
    // The names not drawn are left as they were. `depth` counts down through nested tables.
    virtual void GetLootName(std::string&, std::string&, std::string&, RandomUniform&, int&) {}
    virtual void SetLevel(std::uint32_t, std::uint32_t) {}
    // One entry per call, in turn, with every randomizer forced on (a test pass).
    virtual void OverrideTest(std::string&, std::string&, std::string&, RandomUniform&) {}
    virtual void SetNoBrokenItems(bool flag) { noBrokenItems = flag; }
    virtual void SetRandomizerWeightModifiers(const RandomizerWeightModifiers& modifiers) {
        weightModifiers = modifiers;
    }

    bool GetNoBrokenItems() const { return noBrokenItems; }
    const RandomizerWeightModifiers& GetWeightModifiers() const { return weightModifiers; }

protected:
    // Back to the state Load left: no draw's settings, nothing a draw worked out.
    virtual void ResetDrawState();

    // The randomizer of an item table, read from the table's own record, draws the prefix and
    // suffix of the chosen item (a test pass forces every outcome instead).
    void DrawRandomizerNames(std::string& prefix, std::string& suffix, RandomUniform& random,
                             bool overrideTest) const;

    bool noBrokenItems = false;
    RandomizerWeightModifiers weightModifiers{};
};

// Pairs of a name and a whole weight, read from "<name>N" and "<weight>N" for N = 1..count, as
// every loot list is: a pair is taken when its weight is above 0 and its name not empty; gaps
// are skipped. `take` receives each taken name and weight in record order.
template <class Take>
void ReadLootPairs(const LoadTable& record, const char* nameField, const char* weightField,
                   int count, Take&& take) {
    std::string name(nameField);
    std::string weight(weightField);
    const std::size_t nameStem = name.size();
    const std::size_t weightStem = weight.size();
    for (int i = 1; i <= count; ++i) {
        const std::string index = std::to_string(i);
        name.resize(nameStem);
        weight.resize(weightStem);
        name += index;
        weight += index;
        const int value = record.GetInt(weight.c_str(), 0);
        if (value <= 0)
            continue;
        std::string entry = record.GetString(name.c_str());
        if (!entry.empty())
            take(std::move(entry), static_cast<std::uint32_t>(value));
    }
}

}  // namespace GAME
