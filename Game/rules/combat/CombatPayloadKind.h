#pragma once
// The payload classes that damage attributes make, named by a value, so that a roll described as
// data can make its payloads without a virtual call: every kind is built in place in a pool
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

// A payload of `kind` in `block`, a pool block of CombatAttribute::kBlockSize.
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

// A payload of `kind` in a fresh pool block.
[[gnu::always_inline]] inline CombatAttribute* Make(CombatPayloadKind kind,
                                                    CombatAttributeType type, float first,
                                                    float second) {
    return MakeIn(CombatPayloadPool::Allocate(CombatAttribute::kBlockSize), kind, type, first,
                  second);
}

#undef COMBAT_PAYLOAD_MAKE_None_
#undef COMBAT_PAYLOAD_MAKE_Duration_
#undef COMBAT_PAYLOAD_MAKE_Ratio_
#undef COMBAT_PAYLOAD_MAKE_DesignerPierce_
#undef COMBAT_PAYLOAD_MAKE_Pierce_

}  // namespace CombatPayloadKinds

}  // namespace GAME
