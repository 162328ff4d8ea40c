#pragma once
// The labels under which play statistics file damage, prevented damage and healing, and their
// report names.
#include <cstdint>
#include <string>

#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

enum class PlayStatsDamageReductionType : std::int32_t {
    Unknown = 0,
    AbsorbtionProtection = 1,
    Absorbtion = 2,
    Protection = 3,
    ArmorRating = 4,
    Blocked = 5,
    ArmorAbsorbed = 6,
    Resisted = 7,
};

enum class PlayStatsLifeType : std::int32_t {
    Unknown = 0,
    Potion = 1,
    Skill = 2,
    Regeneration = 3,
    Shrine = 4,
};

// Source first, then type.
struct PlayStatsDamageTypeLess {
    bool operator()(const PlayStatsDamageType& a, const PlayStatsDamageType& b) const {
        if (a.source != b.source)
            return a.source < b.source;
        return static_cast<std::int32_t>(a.type) < static_cast<std::int32_t>(b.type);
    }
};

// "CombatAttributeType_Poison" and the like; "Unknown" past the end of the table.
const char* GetCombatAttributeTypeName(CombatAttributeType type);
// category "::" detail, e.g. "CombatAttributeType::CombatAttributeType_Poison".
std::string GetPlayStatsDamageTypeName(const PlayStatsDamageType& type);
const char* GetPlayStatsDamageReductionTypeName(PlayStatsDamageReductionType type);
const char* GetPlayStatsLifeTypeName(PlayStatsLifeType type);

}  // namespace GAME
