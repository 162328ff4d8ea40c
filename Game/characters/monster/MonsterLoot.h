#pragma once
// What every machine needs to rebuild a monster's generated equipment: the loot seed and level
// and the object ids reserved for the items it wears, by attached-item index.
#include <array>
#include <cstdint>

namespace GAME {

struct LootStruct {
    static constexpr std::size_t kAttachedItems = 9;

    std::uint16_t lootSeed = 0;
    std::uint16_t lootLevel = 0;
    std::array<std::uint32_t, kAttachedItems> attachedItemIds{};

    // id[k] == id[0] + k for every k: the ids travel as the first one alone.
    bool AreIdsConsecutive() const {
        for (std::size_t k = 1; k < kAttachedItems; ++k)
            if (attachedItemIds[k] != attachedItemIds[0] + static_cast<std::uint32_t>(k))
                return false;
        return true;
    }
    bool operator==(const LootStruct&) const = default;
};

}  // namespace GAME
