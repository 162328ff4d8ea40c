#pragma once
// The payload classes that damage attributes make, named by a value, so that a roll described as
// data can make its payloads without a virtual call: every kind is built in place in a recycled
// block from its type and one or two numbers.
#include <cstdint>
#include <new>
#include <type_traits>

#include "Game/rules/combat/CombatAttribute.h"

namespace GAME {

// Kind, class, and how the second number is used: None, Duration (damage over time, or the
// duration percent of a modifier), Ratio (mana burn) or Pierce (physical damage with the
// designers' equations or without).
// clang-format off
#define COMBAT_PAYLOAD_KINDS(X) \
    X(AbsDamage, CombatAttributeAbsDamage, None) \
    X(AbsDamageElemental, CombatAttributeAbsDamageElemental, None) \
    X(ReflexDamage, CombatAttributeReflexDamage, None) \
    X(Taunt, CombatAttributeInfluenceDamage_Taunt, None) \
    X(Fear, CombatAttributeInfluenceDamage_Fear, None) \
    X(Confusion, CombatAttributeInfluenceDamage_Confusion, None) \
    X(Convert, CombatAttributeInfluenceDamage_Convert, None) \
    X(PercentLife, CombatAttributeAbsDamage_PercentLife, None) \
    X(Disruption, CombatAttributeAbsDamage_Disruption, None) \
    X(LifeLeech, CombatAttributeAbsDamage_LifeLeech, None) \
    X(BonusPhysical, CombatAttributeDamage_BonusPhysical, None) \
    X(ManaBurn, CombatAttributeAbsDamage_ManaBurn, Ratio) \
    X(DurDamage, CombatAttributeDurDamage, Duration) \
    X(DurDamageElemental, CombatAttributeDurDamageElemental, Duration) \
    X(DurFixedDamage, CombatAttributeDurFixedDamage, Duration) \
    X(AbsDamageMod, CombatAttributeAbsDamageMod, None) \
    X(DurDamageMod, CombatAttributeDurDamageMod, Duration) \
    X(DesignerPhysical, CombatAttributeDamage_BasePhysical, DesignerPierce) \
    X(Physical, CombatAttributeDamage_BasePhysical, Pierce)
// clang-format on

enum class CombatPayloadKind : std::uint8_t {
#define COMBAT_PAYLOAD_KIND_ENUM_(Kind, Class, Second) Kind,
    COMBAT_PAYLOAD_KINDS(COMBAT_PAYLOAD_KIND_ENUM_)
#undef COMBAT_PAYLOAD_KIND_ENUM_
};

namespace CombatPayloadKinds {

// How many kinds there are: every value below it names one.
inline constexpr std::uint8_t kCount = 0
#define COMBAT_PAYLOAD_KIND_COUNT_(Kind, Class, Second) +1
    COMBAT_PAYLOAD_KINDS(COMBAT_PAYLOAD_KIND_COUNT_)
#undef COMBAT_PAYLOAD_KIND_COUNT_
    ;

// The kind of a class whose second number is unused or a duration (the classes a kind table
// names); the physical kinds, which share one class, are named directly.
template <class Payload>
inline constexpr CombatPayloadKind kOf = [] {
#define COMBAT_PAYLOAD_KIND_OF_(Kind, Class, Second)                          \
    if constexpr (std::is_same_v<Payload, Class> &&                           \
                  !std::is_same_v<Class, CombatAttributeDamage_BasePhysical>) \
        return CombatPayloadKind::Kind;                                       \
    else
    COMBAT_PAYLOAD_KINDS(COMBAT_PAYLOAD_KIND_OF_)
#undef COMBAT_PAYLOAD_KIND_OF_
    static_assert(sizeof(Payload) == 0, "not a payload kind");
}();

// How each kind takes its numbers.
#define COMBAT_PAYLOAD_MAKE_None_(Class) ::new (block) Class(type, first)
#define COMBAT_PAYLOAD_MAKE_Duration_(Class) ::new (block) Class(type, first, second)
#define COMBAT_PAYLOAD_MAKE_Ratio_(Class) ::new (block) Class(type, first, second)
#define COMBAT_PAYLOAD_MAKE_DesignerPierce_(Class) ::new (block) Class(type, first, second, true)
#define COMBAT_PAYLOAD_MAKE_Pierce_(Class) ::new (block) Class(type, first, second, false)

// A payload of `kind` in `block`, a recycled block of CombatAttribute::kBlockSize.
[[gnu::always_inline]] inline CombatAttribute* MakeIn(void* block, CombatPayloadKind kind,
                                                      CombatAttributeType type, float first,
                                                      float second) {
    switch (kind) {
#define COMBAT_PAYLOAD_KIND_MAKE_(Kind, Class, Second) \
    case CombatPayloadKind::Kind:                      \
        return COMBAT_PAYLOAD_MAKE_##Second##_(Class);
        COMBAT_PAYLOAD_KINDS(COMBAT_PAYLOAD_KIND_MAKE_)
#undef COMBAT_PAYLOAD_KIND_MAKE_
    }
    return ::new (block) CombatAttributeAbsDamage(type, first);
}

// The kind of value `Value`, built in place; a value naming no kind makes the first kind.
template <unsigned Value>
[[gnu::always_inline]] inline CombatAttribute* MakeAs(void* block, CombatAttributeType type,
                                                      float first, float second) {
#define COMBAT_PAYLOAD_KIND_AS_(Kind, Class, Second)                         \
    if constexpr (Value == static_cast<unsigned>(CombatPayloadKind::Kind)) { \
        return COMBAT_PAYLOAD_MAKE_##Second##_(Class);                       \
    } else
    COMBAT_PAYLOAD_KINDS(COMBAT_PAYLOAD_KIND_AS_)
#undef COMBAT_PAYLOAD_KIND_AS_
    {
        (void)second;
        return ::new (block) CombatAttributeAbsDamage(type, first);
    }
}

// MakeIn for a kind already known to be below kCount: every value of five bits is a case, so
// that the jump needs no range check.
[[gnu::always_inline]] inline CombatAttribute* MakeInKnown(void* block, CombatPayloadKind kind,
                                                           CombatAttributeType type, float first,
                                                           float second) {
    static_assert(kCount <= 32);
    switch (static_cast<unsigned>(kind) & 31u) {
#define COMBAT_PAYLOAD_KIND_CASE_(Value) \
    case Value:                          \
        return MakeAs<Value>(block, type, first, second);
// clang-format off
#define COMBAT_PAYLOAD_KIND_CASES8_(Base) \
    COMBAT_PAYLOAD_KIND_CASE_(Base + 0) COMBAT_PAYLOAD_KIND_CASE_(Base + 1) \
    COMBAT_PAYLOAD_KIND_CASE_(Base + 2) COMBAT_PAYLOAD_KIND_CASE_(Base + 3) \
    COMBAT_PAYLOAD_KIND_CASE_(Base + 4) COMBAT_PAYLOAD_KIND_CASE_(Base + 5) \
    COMBAT_PAYLOAD_KIND_CASE_(Base + 6) COMBAT_PAYLOAD_KIND_CASE_(Base + 7)
        // clang-format on
        COMBAT_PAYLOAD_KIND_CASES8_(0u)
        COMBAT_PAYLOAD_KIND_CASES8_(8u)
        COMBAT_PAYLOAD_KIND_CASES8_(16u)
        COMBAT_PAYLOAD_KIND_CASES8_(24u)
#undef COMBAT_PAYLOAD_KIND_CASES8_
#undef COMBAT_PAYLOAD_KIND_CASE_
    }
    __builtin_unreachable();
}

// A payload of `kind` in a fresh recycled block.
[[gnu::always_inline]] inline CombatAttribute* Make(CombatPayloadKind kind,
                                                    CombatAttributeType type, float first,
                                                    float second) {
    return MakeIn(RecycledBlocks::Take(CombatAttribute::kBlockSize), kind, type, first, second);
}

#undef COMBAT_PAYLOAD_MAKE_None_
#undef COMBAT_PAYLOAD_MAKE_Duration_
#undef COMBAT_PAYLOAD_MAKE_Ratio_
#undef COMBAT_PAYLOAD_MAKE_DesignerPierce_
#undef COMBAT_PAYLOAD_MAKE_Pierce_

}  // namespace CombatPayloadKinds

}  // namespace GAME
