#pragma once
// A skill buff as it is handed from a caster to a character: the buff record, its level, its
// two modifiers with their levels, how long it lives and who cast it.
#include <cstdint>
#include <string>

namespace GAME {

struct SkillBuffTransfer {
    std::string buffName;
    std::uint32_t level = 0;
    std::string modifier1Name;
    std::uint32_t modifier1Level = 0;
    std::string modifier2Name;
    std::uint32_t modifier2Level = 0;
    std::uint32_t timeToLive = 0;
    std::uint32_t casterId = 0;

    bool operator==(const SkillBuffTransfer&) const = default;
    // Compared by the sum of the three levels, in 64 bits so large levels cannot wrap.
    bool IsStrongerThan(const SkillBuffTransfer& old) const {
        return TotalLevel() > old.TotalLevel();
    }
    std::uint64_t TotalLevel() const {
        return std::uint64_t{level} + modifier1Level + modifier2Level;
    }
};

}  // namespace GAME
