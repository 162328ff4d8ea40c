#pragma once
// Turns the loot fields of a character, monster or container record into one drawn item: a
// weighted list of loot record names, one drawn, and resolved through the loot tables into the
// base, prefix and suffix names of an item record. Built on the stack for one drop; the lists of
// a record's equipment slots are read once per record and kept (LootRecordCache).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/items/loot/RandomizerWeightModifiers.h"

namespace GAME {

class LoadTable;

class LootLoader {
public:
    virtual ~LootLoader() = default;
    // The equipment slot whose loot fields are read.
    enum Location : std::uint32_t {
        Head,
        Neck,
        Torso,
        LowerBody,
        Forearm,
        LeftHand,
        RightHand,
        Finger1,
        Finger2,
        Misc1,
        Misc2,
        Misc3,
        LocationCount
    };
    static constexpr unsigned kItemsPerLocation = 6;

    struct Entry {
        std::string lootName;
        std::uint32_t weight = 0;
    };

    // Six pairs at most ("lootHeadItem1" with "chanceToEquipHeadItem1", ...); a larger count
    // loads nothing and keeps what was loaded. `index` picks the element of each name list
    // (callers pass the game difficulty).
    virtual void Load(const LoadTable& record, Location location, unsigned count, unsigned index);
    // The same with the field names "<prefix>N", for any count.
    virtual void Load(const LoadTable& record, const char* nameFieldPrefix,
                      const char* weightFieldPrefix, unsigned count, unsigned index);
    // An empty name when nothing was drawn; an item record stands as drawn.
    virtual void GetLootName(std::string& name, std::string& prefix, std::string& suffix,
                             RandomUniform& random) const;
    virtual void SetRandomizerWeightModifiers(const RandomizerWeightModifiers& modifiers) {
        weightModifiers = modifiers;
    }
    void SetLevel(std::uint32_t parent, std::uint32_t averagePlayer) {
        parentLevel = parent;
        averagePlayerLevel = averagePlayer;
    }
    void SetNoBrokenItems() { noBrokenItems = true; }

    const std::vector<Entry>& GetEntries() const { return slot ? slot->entries : entries; }
    std::uint32_t GetTotalWeight() const { return totalWeight; }

protected:
    virtual void ValidateSelectLootRecursive(std::string& name, std::string& prefix,
                                             std::string& suffix, int depth,
                                             RandomUniform& random) const;

private:
    friend class LootRecordCache;
    void Append(const LoadTable& record, const char* nameField, const char* weightField,
                unsigned index);
    // Reads a slot's list into this loader's own entries.
    void Read(const LoadTable& record, Location location, unsigned count, unsigned index);

    std::uint32_t totalWeight = 0;
    std::vector<Entry> entries;
    // A slot's list as the machine keeps it (held: it outlives a change of the records).
    std::shared_ptr<const LootLoader> slot;
    std::uint32_t parentLevel = 0;
    std::uint32_t averagePlayerLevel = 0;
    bool noBrokenItems = false;
    RandomizerWeightModifiers weightModifiers{};
};

}  // namespace GAME
