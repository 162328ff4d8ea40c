#pragma once
// The leaf kinds of damage attributes, generated from one table per family. A kind names its
// CombatAttributeType, its record keys (from its key stem) and its display tag, and the payload
// class it creates; three kinds spread one roll over three payloads.
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttribute.h"
#include "Game/rules/damage/DamageAttributeDraw.h"

namespace GAME {

#define DAMAGE_KIND_COMMON_(Class, Type, ChanceKey, XorKey, GlobalKey, Display) \
public:                                                                         \
    CombatAttributeType GetType() const override {                              \
        return CombatAttributeType::Type;                                       \
    }                                                                           \
                                                                                \
protected:                                                                      \
    const char* GetLoadChanceTag() const override {                             \
        return ChanceKey;                                                       \
    }                                                                           \
    const char* GetLoadXorTag() const override {                                \
        return XorKey;                                                          \
    }                                                                           \
    const char* GetLoadGlobalTag() const override {                             \
        return GlobalKey;                                                       \
    }                                                                           \
    const char* GetDisplayTag() const override {                                \
        return Display;                                                         \
    }

// Single amounts: keys "offensive<Stem>Chance|XOR|Global|Min|Max". Roll names how a roll
// becomes payloads: DAMAGE_KIND_ONE_PAYLOAD_ (one payload of the kind's own class and type, made
// without a virtual call) or DAMAGE_KIND_SPREAD_DAMAGE_ (declared by the kind, defined apart).
#define DAMAGE_KIND_ABS_(Class, Parent, Type, Stem, Display, Payload, Roll)                   \
    class Class : public Parent {                                                             \
        DAMAGE_KIND_COMMON_(Class, Type, "offensive" #Stem "Chance", "offensive" #Stem "XOR", \
                            "offensive" #Stem "Global", Display)                              \
        const char* GetLoadValueMinTag() const override { return "offensive" #Stem "Min"; }   \
        const char* GetLoadValueMaxTag() const override { return "offensive" #Stem "Max"; }   \
        CombatPayloadKind GetPayloadKind() const override {                                   \
            return CombatPayloadKinds::kOf<Payload>;                                          \
        }                                                                                     \
        Roll(ABS, Type, Payload)                                                              \
    };

// Amounts over a duration: the single-amount keys and "offensive<Stem>DurationMin|DurationMax".
#define DAMAGE_KIND_DUR_(Class, Parent, Type, Stem, Display, Payload, Roll)                   \
    class Class : public Parent {                                                             \
        DAMAGE_KIND_COMMON_(Class, Type, "offensive" #Stem "Chance", "offensive" #Stem "XOR", \
                            "offensive" #Stem "Global", Display)                              \
        const char* GetLoadValueMinTag() const override { return "offensive" #Stem "Min"; }   \
        const char* GetLoadValueMaxTag() const override { return "offensive" #Stem "Max"; }   \
        const char* GetLoadDurationMinTag() const override {                                  \
            return "offensive" #Stem "DurationMin";                                           \
        }                                                                                     \
        const char* GetLoadDurationMaxTag() const override {                                  \
            return "offensive" #Stem "DurationMax";                                           \
        }                                                                                     \
        CombatPayloadKind GetPayloadKind() const override {                                   \
            return CombatPayloadKinds::kOf<Payload>;                                          \
        }                                                                                     \
        Roll(DUR, Type, Payload)                                                              \
    };

// The roll of a single amount, or of an amount and a duration, into one payload.
#define DAMAGE_KIND_ROLL_ABS_(Type, Payload)                        \
    float amount = 0.0f;                                            \
    if (RollAmount(accumulator, level, random, skipChance, amount)) \
        accumulator.AddNewDamage<Payload>(CombatAttributeType::Type, amount);
#define DAMAGE_KIND_ROLL_DUR_(Type, Payload)                                             \
    float amount = 0.0f;                                                                 \
    float duration = 0.0f;                                                               \
    if (RollAmountAndDuration(accumulator, level, random, skipChance, amount, duration)) \
        accumulator.AddNewDamage<Payload>(CombatAttributeType::Type, amount, duration);
#define DAMAGE_KIND_ONE_PAYLOAD_(Family, Type, Payload)                                      \
public:                                                                                      \
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level, \
                                RandomUniform& random, bool skipChance) const override {     \
        DAMAGE_KIND_ROLL_##Family##_(Type, Payload)                                          \
    }

// Modifiers: "offensive<Mod>Chance" and "offensive<Mod>" for the modifier, where Mod is
// usually <Stem>Modifier; the XOR and global keys are those of the damage kind of the stem.
#define DAMAGE_KIND_ABSMOD_(Class, Parent, Type, Stem, Mod, Display, ...)                    \
    class Class : public Parent {                                                            \
        DAMAGE_KIND_COMMON_(Class, Type, "offensive" #Mod "Chance", "offensive" #Stem "XOR", \
                            "offensive" #Stem "Global", Display)                             \
        const char* GetLoadModifierTag() const override { return "offensive" #Mod; }         \
        __VA_ARGS__                                                                          \
    };

#define DAMAGE_KIND_DURMOD_(Class, Parent, Type, Stem, Display, ...)                             \
    class Class : public Parent {                                                                \
        DAMAGE_KIND_COMMON_(Class, Type, "offensive" #Stem "ModifierChance",                     \
                            "offensive" #Stem "XOR", "offensive" #Stem "Global", Display)        \
        const char* GetLoadModifierTag() const override { return "offensive" #Stem "Modifier"; } \
        const char* GetLoadDurationModifierTag() const override {                                \
            return "offensive" #Stem "DurationModifier";                                         \
        }                                                                                        \
        __VA_ARGS__                                                                              \
    };

// The three kinds whose one roll becomes three payloads.
#define DAMAGE_KIND_SPREAD_DAMAGE_(Family, Type, Payload)                                    \
public:                                                                                      \
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level, \
                                RandomUniform& random, bool skipChance) const override;      \
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level, DamageRoll& roll)       \
        const override;
#define DAMAGE_KIND_SPREAD_MODIFIER_                                                           \
public:                                                                                        \
    void AddModifierToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level, \
                                  RandomUniform& random, bool skipChance) const override;      \
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level, DamageRoll& roll)         \
        const override;

// clang-format off
#define DAMAGE_ATTRIBUTE_ABS_KINDS(X) \
    X(DamageAttributeReflex_Stun, DamageAttributeReflex, Stun, Stun, "DamageStun", CombatAttributeReflexDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeReflex_Freeze, DamageAttributeReflex, Freeze, Freeze, "DamageFreeze", CombatAttributeReflexDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeReflex_Petrify, DamageAttributeReflex, Petrify, Petrify, "DamagePetrify", CombatAttributeReflexDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeReflex_Trap, DamageAttributeReflex, Trap, Trap, "DamageTrap", CombatAttributeReflexDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Taunt, DamageAttributeInfluenceHidden, Taunt, Taunt, "DamageTaunt", CombatAttributeInfluenceDamage_Taunt, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Convert, DamageAttributeInfluence, Convert, Convert, "DamageConvert", CombatAttributeInfluenceDamage_Convert, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Fear, DamageAttributeInfluence, Fear, Fear, "DamageFear", CombatAttributeInfluenceDamage_Fear, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Confusion, DamageAttributeInfluence, Confusion, Confusion, "DamageConfusion", CombatAttributeInfluenceDamage_Confusion, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Disruption, DamageAttributeInfluence, Disruption, Disruption, "DamageDisruption", CombatAttributeAbsDamage_Disruption, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_PercentCurrentLife, DamageAttributeAbsBonus, PercentCurrentLife, PercentCurrentLife, "DamagePercentCurrentLife", CombatAttributeAbsDamage_PercentLife, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_LifeLeech, DamageAttributeAbsBonus, LifeLeech, LifeLeech, "DamageLifeLeech", CombatAttributeAbsDamage_LifeLeech, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Pierce, DamageAttributeAbsBonus, Pierce, Pierce, "DamagePierce", CombatAttributeAbsDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Cold, DamageAttributeAbsBonusElemental, Cold, Cold, "DamageCold", CombatAttributeAbsDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Fire, DamageAttributeAbsBonusElemental, Fire, Fire, "DamageFire", CombatAttributeAbsDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Poison, DamageAttributeAbsBonus, Poison, Poison, "DamagePoison", CombatAttributeAbsDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Lightning, DamageAttributeAbsBonusElemental, Lightning, Lightning, "DamageLightning", CombatAttributeAbsDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_Life, DamageAttributeAbsBonus, Life, Life, "DamageLife", CombatAttributeAbsDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbs_ElementalDamage, DamageAttributeAbsBonus, Elemental, Elemental, "DamageElemental", CombatAttributeAbsDamage, DAMAGE_KIND_SPREAD_DAMAGE_) \
    X(DamageAttributeAbsBase_Cold, DamageAttributeAbsBaseElemental, Cold, BaseCold, "tagDamageBaseCold", CombatAttributeAbsDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbsBase_Fire, DamageAttributeAbsBaseElemental, Fire, BaseFire, "tagDamageBaseFire", CombatAttributeAbsDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbsBase_Poison, DamageAttributeAbsBase, Poison, BasePoison, "tagDamageBasePoison", CombatAttributeAbsDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbsBase_Lightning, DamageAttributeAbsBaseElemental, Lightning, BaseLightning, "tagDamageBaseLightning", CombatAttributeAbsDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeAbsBase_Life, DamageAttributeAbsBase, Life, BaseLife, "tagDamageBaseVitality", CombatAttributeAbsDamage, DAMAGE_KIND_ONE_PAYLOAD_)

#define DAMAGE_ATTRIBUTE_DUR_KINDS(X) \
    X(DamageAttributeDur_Physical, DamageAttributeDurBase, Physical, SlowPhysical, "DamageDurationPhysical", CombatAttributeDurDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Bleeding, DamageAttributeDurBase, Bleeding, SlowBleeding, "DamageDurationBleeding", CombatAttributeDurDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Cold, DamageAttributeDurBaseElemental, Cold, SlowCold, "DamageDurationCold", CombatAttributeDurDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Fire, DamageAttributeDurBaseElemental, Fire, SlowFire, "DamageDurationFire", CombatAttributeDurDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Poison, DamageAttributeDurBase, Poison, SlowPoison, "DamageDurationPoison", CombatAttributeDurDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Lightning, DamageAttributeDurBaseElemental, Lightning, SlowLightning, "DamageDurationLightning", CombatAttributeDurDamageElemental, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Life, DamageAttributeDurBase, Life, SlowLife, "DamageDurationLife", CombatAttributeDurDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_LifeLeach, DamageAttributeDurBase, LifeLeech, SlowLifeLeach, "DamageDurationLifeLeach", CombatAttributeDurDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_ManaLeach, DamageAttributeDurBase, ManaLeech, SlowManaLeach, "DamageDurationManaLeach", CombatAttributeDurDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_TotalSpeed, DamageAttributeDurFixed, TotalSpeed, SlowTotalSpeed, "DamageDurationTotalSpeed", CombatAttributeDurFixedDamage, DAMAGE_KIND_SPREAD_DAMAGE_) \
    X(DamageAttributeDur_AttackSpeed, DamageAttributeDurFixed, AttackSpeed, SlowAttackSpeed, "DamageDurationAttackSpeed", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_SpellCastSpeed, DamageAttributeDurFixed, SpellCastSpeed, SlowSpellCastSpeed, "DamageDurationSpellCastSpeed", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_RunSpeed, DamageAttributeDurFixed, RunSpeed, SlowRunSpeed, "DamageDurationRunSpeed", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_OffensiveAbility, DamageAttributeDurFixed, OffensiveAbility, SlowOffensiveAbility, "DamageDurationOffensiveAbility", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_DefensiveAbility, DamageAttributeDurFixed, DefensiveAbility, SlowDefensiveAbility, "DamageDurationDefensiveAbility", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_OffensiveReduction, DamageAttributeDurFixed, OffensiveReduction, SlowOffensiveReduction, "DamageDurationOffensiveReduction", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_DefensiveReduction, DamageAttributeDurFixed, DefensiveReduction, SlowDefensiveReduction, "DamageDurationDefensiveReduction", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_Fumble, DamageAttributeDurFixed, Fumble, Fumble, "DamageDurationFumble", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_ProjectileFumble, DamageAttributeDurFixed, ProjectileFumble, ProjectileFumble, "DamageDurationProjectileFumble", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_TotalDamageReductionPercent, DamageAttributeDurFixed, TotalDamageReductionPercent, TotalDamageReductionPercent, "DamageTotalDamageReductionPercent", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_TotalDamageReductionAbsolute, DamageAttributeDurFixed, TotalDamageReductionAbsolute, TotalDamageReductionAbsolute, "DamageTotalDamageReductionAbsolute", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_TotalResistanceReductionPercent, DamageAttributeDurFixed, TotalResistanceReductionPercent, TotalResistanceReductionPercent, "DamageTotalResistanceReductionPercent", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_) \
    X(DamageAttributeDur_TotalResistanceReductionAbsolute, DamageAttributeDurFixed, TotalResistanceReductionAbsolute, TotalResistanceReductionAbsolute, "DamageTotalResistanceReductionAbsolute", CombatAttributeDurFixedDamage, DAMAGE_KIND_ONE_PAYLOAD_)

#define DAMAGE_ATTRIBUTE_ABSMOD_KINDS(X) \
    X(DamageAttributeAbsMod_Physical, DamageAttributeAbsModBase, Physical, Physical, PhysicalModifier, "DamageModifierPhysical") \
    X(DamageAttributeAbsMod_PierceRatio, DamageAttributeAbsModBase, PierceRatio, PierceRatio, PierceRatioModifier, "DamageModifierPierceRatio") \
    X(DamageAttributeAbsMod_Pierce, DamageAttributeAbsModBase, Pierce, Pierce, PierceModifier, "DamageModifierPierce") \
    X(DamageAttributeAbsMod_Bleeding, DamageAttributeAbsModBase, Bleeding, Bleeding, BleedingModifier, "DamageModifierBleeding") \
    X(DamageAttributeAbsMod_Cold, DamageAttributeAbsModBase, Cold, Cold, ColdModifier, "DamageModifierCold") \
    X(DamageAttributeAbsMod_Fire, DamageAttributeAbsModBase, Fire, Fire, FireModifier, "DamageModifierFire") \
    X(DamageAttributeAbsMod_Poison, DamageAttributeAbsModBase, Poison, Poison, PoisonModifier, "DamageModifierPoison") \
    X(DamageAttributeAbsMod_Lightning, DamageAttributeAbsModBase, Lightning, Lightning, LightningModifier, "DamageModifierLightning") \
    X(DamageAttributeAbsMod_Life, DamageAttributeAbsModBase, Life, Life, LifeModifier, "DamageModifierLife") \
    X(DamageAttributeAbsMod_Stun, DamageAttributeAbsModBonus, Stun, Stun, StunModifier, "DamageModifierStun") \
    X(DamageAttributeAbsMod_ManaBurn, DamageAttributeAbsModBase, ManaBurn, ManaBurn, ManaBurnRatioAdder, "DamageModifierManaBurn") \
    X(DamageAttributeAbsMod_Elemental, DamageAttributeAbsModBase, Elemental, Elemental, ElementalModifier, "DamageModifierElemental", DAMAGE_KIND_SPREAD_MODIFIER_)

#define DAMAGE_ATTRIBUTE_DURMOD_KINDS(X) \
    X(DamageAttributeDurMod_Physical, DamageAttributeDurModBase, Physical, SlowPhysical, "DamageDurationModifierPhysical") \
    X(DamageAttributeDurMod_Bleeding, DamageAttributeDurModBase, Bleeding, SlowBleeding, "DamageDurationModifierBleeding") \
    X(DamageAttributeDurMod_Cold, DamageAttributeDurModBase, Cold, SlowCold, "DamageDurationModifierCold") \
    X(DamageAttributeDurMod_Fire, DamageAttributeDurModBase, Fire, SlowFire, "DamageDurationModifierFire") \
    X(DamageAttributeDurMod_Poison, DamageAttributeDurModBase, Poison, SlowPoison, "DamageDurationModifierPoison") \
    X(DamageAttributeDurMod_Lightning, DamageAttributeDurModBase, Lightning, SlowLightning, "DamageDurationModifierLightning") \
    X(DamageAttributeDurMod_Life, DamageAttributeDurModBase, Life, SlowLife, "DamageDurationModifierLife") \
    X(DamageAttributeDurMod_LifeLeach, DamageAttributeDurModBase, LifeLeech, SlowLifeLeach, "DamageDurationModifierLifeLeach") \
    X(DamageAttributeDurMod_ManaLeach, DamageAttributeDurModBase, ManaLeech, SlowManaLeach, "DamageDurationModifierManaLeach") \
    X(DamageAttributeDurMod_AttackSpeed, DamageAttributeDurModBonus, AttackSpeed, SlowAttackSpeed, "DamageDurationModifierAttackSpeed") \
    X(DamageAttributeDurMod_SpellCastSpeed, DamageAttributeDurModBonus, SpellCastSpeed, SlowSpellCastSpeed, "DamageDurationModifierSpellCastSpeed") \
    X(DamageAttributeDurMod_RunSpeed, DamageAttributeDurModBonus, RunSpeed, SlowRunSpeed, "DamageDurationModifierRunSpeed") \
    X(DamageAttributeDurMod_OffensiveAbility, DamageAttributeDurModBonus, OffensiveAbility, SlowOffensiveAbility, "DamageDurationModifierOffensiveAbility") \
    X(DamageAttributeDurMod_DefensiveAbility, DamageAttributeDurModBonus, DefensiveAbility, SlowDefensiveAbility, "DamageDurationModifierDefensiveAbility") \
    X(DamageAttributeDurMod_OffensiveReduction, DamageAttributeDurModBonus, OffensiveReduction, SlowOffensiveReduction, "DamageDurationModifierOffensiveReduction")
// clang-format on

DAMAGE_ATTRIBUTE_ABS_KINDS(DAMAGE_KIND_ABS_)
DAMAGE_ATTRIBUTE_DUR_KINDS(DAMAGE_KIND_DUR_)
DAMAGE_ATTRIBUTE_ABSMOD_KINDS(DAMAGE_KIND_ABSMOD_)
DAMAGE_ATTRIBUTE_DURMOD_KINDS(DAMAGE_KIND_DURMOD_)

}  // namespace GAME
