#include "Game/characters/stats/PlayStatsTypes.h"

#include <array>

namespace GAME {

namespace {

// Indexed by CombatAttributeType; the last entry is 45, so the mana burn ratio has no name.
constexpr std::array<const char*, 46> kCombatAttributeTypeNames = {
    "CombatAttributeType_BasePhysical",
    "CombatAttributeType_AllPhysical",
    "CombatAttributeType_Physical",
    "CombatAttributeType_PierceRatio",
    "CombatAttributeType_Pierce",
    "CombatAttributeType_Cold",
    "CombatAttributeType_Fire",
    "CombatAttributeType_Poison",
    "CombatAttributeType_Lightning",
    "CombatAttributeType_Life",
    "CombatAttributeType_ManaBurn",
    "CombatAttributeType_Disruption",
    "CombatAttributeType_PercentCurrentLife",
    "CombatAttributeType_Bleeding",
    "CombatAttributeType_TotalSpeed",
    "CombatAttributeType_AttackSpeed",
    "CombatAttributeType_SpellCastSpeed",
    "CombatAttributeType_RunSpeed",
    "CombatAttributeType_LifeLeach",
    "CombatAttributeType_ManaLeach",
    "CombatAttributeType_OffensiveAbility",
    "CombatAttributeType_DefensiveAbility",
    "CombatAttributeType_OffensiveReduction",
    "CombatAttributeType_DefensiveReduction",
    "CombatAttributeType_Fumble",
    "CombatAttributeType_ProjectileFumble",
    "CombatAttributeType_TotalDamageReductionPercent",
    "CombatAttributeType_TotalDamageReductionAbsolute",
    "CombatAttributeType_TotalResistanceReductionPercent",
    "CombatAttributeType_TotalResistanceReductionAbsolute",
    "CombatAttributeType_AbsorbedProtection",
    "CombatAttributeType_Absorption",
    "CombatAttributeType_Protection",
    "Unknown",
    "CombatAttributeType_Stun",
    "CombatAttributeType_Trap",
    "CombatAttributeType_Freeze",
    "CombatAttributeType_Petrify",
    "CombatAttributeType_Immobilize",
    "CombatAttributeType_Taunt",
    "CombatAttributeType_Convert",
    "CombatAttributeType_Fear",
    "CombatAttributeType_Confusion",
    "CombatAttributeType_BlockModifier",
    "CombatAttributeType_Reflect",
    "CombatAttributeType_ElementalGroup",
};

constexpr std::array<const char*, 8> kReductionNames = {
    "Unknown", "AbsorbtionProtection", "Absorbtion", "Protection", "ArmorRating",
    "Blocked", "ArmorAbsorbed",        "Resisted",
};

constexpr std::array<const char*, 5> kLifeNames = {"Unknown", "Potion", "Skill", "Regeneration",
                                                   "Shrine"};

// Sources 2 to 7 carry no detail of their own.
constexpr std::array<const char*, 8> kSourceNames = {
    "Unknown",     "CombatAttributeType", "Retaliation",      "Reflection",
    "RacialBonus", "BuffRadius",          "BuffAttackRadius", "BuffSelf",
};

template <std::size_t N>
const char* NameAt(const std::array<const char*, N>& names, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return "Unknown";
    return names[static_cast<std::size_t>(index)];
}

}  // namespace

const char* GetCombatAttributeTypeName(CombatAttributeType type) {
    return NameAt(kCombatAttributeTypeNames, static_cast<std::int32_t>(type));
}

std::string GetPlayStatsDamageTypeName(const PlayStatsDamageType& type) {
    std::string name = NameAt(kSourceNames, type.source);
    name += "::";
    name += type.source == PlayStatsDamageType::Attack ? GetCombatAttributeTypeName(type.type)
                                                       : "Unknown";
    return name;
}

const char* GetPlayStatsDamageReductionTypeName(PlayStatsDamageReductionType type) {
    return NameAt(kReductionNames, static_cast<std::int32_t>(type));
}

const char* GetPlayStatsLifeTypeName(PlayStatsLifeType type) {
    return NameAt(kLifeNames, static_cast<std::int32_t>(type));
}

}  // namespace GAME
