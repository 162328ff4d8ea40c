#pragma once
// The kinds of combat payloads, the body regions of a hit and the tag of every loss of life.
#include <cstdint>

namespace GAME {

// The key by which modifiers and defenses find the payloads they act on. 33 and 38 are unused.
enum class CombatAttributeType : std::int32_t {
    BasePhysical = 0,
    AllPhysical = 1,
    Physical = 2,
    PierceRatio = 3,
    Pierce = 4,
    Cold = 5,
    Fire = 6,
    Poison = 7,
    Lightning = 8,
    Life = 9,
    ManaBurn = 10,
    Disruption = 11,
    PercentCurrentLife = 12,
    Bleeding = 13,
    TotalSpeed = 14,
    AttackSpeed = 15,
    SpellCastSpeed = 16,
    RunSpeed = 17,
    LifeLeech = 18,
    ManaLeech = 19,
    OffensiveAbility = 20,
    DefensiveAbility = 21,
    OffensiveReduction = 22,
    DefensiveReduction = 23,
    Fumble = 24,
    ProjectileFumble = 25,
    TotalDamageReductionPercent = 26,
    TotalDamageReductionAbsolute = 27,
    TotalResistanceReductionPercent = 28,
    TotalResistanceReductionAbsolute = 29,
    AbsorbedProtection = 30,
    Absorption = 31,
    Protection = 32,
    Stun = 34,
    Trap = 35,
    Freeze = 36,
    Petrify = 37,
    Taunt = 39,
    Convert = 40,
    Fear = 41,
    Confusion = 42,
    BlockModifier = 43,
    Reflect = 44,
    Elemental = 45,
    ManaBurnRatio = 46,
};

// The body region an attack hit; FullyProtected (0) matches every region.
enum class CombatAttributeRegion : std::int32_t {
    FullyProtected = 0,
    Unprotected = 1,
    Head = 2,
    Torso = 3,
    Arms = 4,
    Legs = 5,
};

// Where a loss of life came from and what kind it was.
struct PlayStatsDamageType {
    enum Source : std::int32_t {
        Attack = 1,
        Retaliation = 2,
        Reflected = 3,
        RacialBonus = 4,
    };

    std::int32_t source = Attack;
    CombatAttributeType type = CombatAttributeType::BasePhysical;

    bool operator==(const PlayStatsDamageType&) const = default;
};

}  // namespace GAME
