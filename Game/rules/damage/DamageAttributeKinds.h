#pragma once
// The leaf kinds of damage attributes, generated from one table per family. A kind names its
// CombatAttributeType, its record keys (from its key stem) and its display tag, and the payload
// class it creates; three kinds spread one roll over three payloads.
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/damage/DamageAttribute.h"

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

// Single amounts: keys "offensive<Stem>Chance|XOR|Global|Min|Max".
#define DAMAGE_KIND_ABS_(Class, Parent, Type, Stem, Display, Payload, ...)                    \
    class Class : public Parent {                                                             \
        DAMAGE_KIND_COMMON_(Class, Type, "offensive" #Stem "Chance", "offensive" #Stem "XOR", \
                            "offensive" #Stem "Global", Display)                              \
        const char* GetLoadValueMinTag() const override { return "offensive" #Stem "Min"; }   \
        const char* GetLoadValueMaxTag() const override { return "offensive" #Stem "Max"; }   \
        std::unique_ptr<CombatAttribute> CreatePayload(float amount) const override {         \
            return std::make_unique<Payload>(GetType(), amount);                              \
        }                                                                                     \
        __VA_ARGS__                                                                           \
    };

// Amounts over a duration: the single-amount keys and "offensive<Stem>DurationMin|DurationMax".
#define DAMAGE_KIND_DUR_(Class, Parent, Type, Stem, Display, Payload, ...)                    \
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
        std::unique_ptr<CombatAttribute> CreatePayload(float amount,                          \
                                                       float duration) const override {       \
            return std::make_unique<Payload>(GetType(), amount, duration);                    \
        }                                                                                     \
        __VA_ARGS__                                                                           \
    };

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
#define DAMAGE_KIND_SPREAD_DAMAGE_                                                           \
public:                                                                                      \
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level, \
                                RandomUniform& random, bool skipChance) const override;
#define DAMAGE_KIND_SPREAD_MODIFIER_                                                           \
public:                                                                                        \
    void AddModifierToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level, \
                                  RandomUniform& random, bool skipChance) const override;

// clang-format off
#define DAMAGE_ATTRIBUTE_ABS_KINDS(X) \
    X(DamageAttributeReflex_Stun, DamageAttributeReflex, Stun, Stun, "DamageStun", CombatAttributeReflexDamage) \
    X(DamageAttributeReflex_Freeze, DamageAttributeReflex, Freeze, Freeze, "DamageFreeze", CombatAttributeReflexDamage) \
    X(DamageAttributeReflex_Petrify, DamageAttributeReflex, Petrify, Petrify, "DamagePetrify", CombatAttributeReflexDamage) \
    X(DamageAttributeReflex_Trap, DamageAttributeReflex, Trap, Trap, "DamageTrap", CombatAttributeReflexDamage) \
    X(DamageAttributeAbs_Taunt, DamageAttributeInfluenceHidden, Taunt, Taunt, "DamageTaunt", CombatAttributeInfluenceDamage_Taunt) \
    X(DamageAttributeAbs_Convert, DamageAttributeInfluence, Convert, Convert, "DamageConvert", CombatAttributeInfluenceDamage_Convert) \
    X(DamageAttributeAbs_Fear, DamageAttributeInfluence, Fear, Fear, "DamageFear", CombatAttributeInfluenceDamage_Fear) \
    X(DamageAttributeAbs_Confusion, DamageAttributeInfluence, Confusion, Confusion, "DamageConfusion", CombatAttributeInfluenceDamage_Confusion) \
    X(DamageAttributeAbs_Disruption, DamageAttributeInfluence, Disruption, Disruption, "DamageDisruption", CombatAttributeAbsDamage_Disruption) \
    X(DamageAttributeAbs_PercentCurrentLife, DamageAttributeAbsBonus, PercentCurrentLife, PercentCurrentLife, "DamagePercentCurrentLife", CombatAttributeAbsDamage_PercentLife) \
    X(DamageAttributeAbs_LifeLeech, DamageAttributeAbsBonus, LifeLeech, LifeLeech, "DamageLifeLeech", CombatAttributeAbsDamage_LifeLeech) \
    X(DamageAttributeAbs_Pierce, DamageAttributeAbsBonus, Pierce, Pierce, "DamagePierce", CombatAttributeAbsDamage) \
    X(DamageAttributeAbs_Cold, DamageAttributeAbsBonusElemental, Cold, Cold, "DamageCold", CombatAttributeAbsDamageElemental) \
    X(DamageAttributeAbs_Fire, DamageAttributeAbsBonusElemental, Fire, Fire, "DamageFire", CombatAttributeAbsDamageElemental) \
    X(DamageAttributeAbs_Poison, DamageAttributeAbsBonus, Poison, Poison, "DamagePoison", CombatAttributeAbsDamage) \
    X(DamageAttributeAbs_Lightning, DamageAttributeAbsBonusElemental, Lightning, Lightning, "DamageLightning", CombatAttributeAbsDamageElemental) \
    X(DamageAttributeAbs_Life, DamageAttributeAbsBonus, Life, Life, "DamageLife", CombatAttributeAbsDamage) \
    X(DamageAttributeAbs_ElementalDamage, DamageAttributeAbsBonus, Elemental, Elemental, "DamageElemental", CombatAttributeAbsDamage, DAMAGE_KIND_SPREAD_DAMAGE_) \
    X(DamageAttributeAbsBase_Cold, DamageAttributeAbsBaseElemental, Cold, BaseCold, "tagDamageBaseCold", CombatAttributeAbsDamageElemental) \
    X(DamageAttributeAbsBase_Fire, DamageAttributeAbsBaseElemental, Fire, BaseFire, "tagDamageBaseFire", CombatAttributeAbsDamageElemental) \
    X(DamageAttributeAbsBase_Poison, DamageAttributeAbsBase, Poison, BasePoison, "tagDamageBasePoison", CombatAttributeAbsDamage) \
    X(DamageAttributeAbsBase_Lightning, DamageAttributeAbsBaseElemental, Lightning, BaseLightning, "tagDamageBaseLightning", CombatAttributeAbsDamageElemental) \
    X(DamageAttributeAbsBase_Life, DamageAttributeAbsBase, Life, BaseLife, "tagDamageBaseVitality", CombatAttributeAbsDamage)

#define DAMAGE_ATTRIBUTE_DUR_KINDS(X) \
    X(DamageAttributeDur_Physical, DamageAttributeDurBase, Physical, SlowPhysical, "DamageDurationPhysical", CombatAttributeDurDamage) \
    X(DamageAttributeDur_Bleeding, DamageAttributeDurBase, Bleeding, SlowBleeding, "DamageDurationBleeding", CombatAttributeDurDamage) \
    X(DamageAttributeDur_Cold, DamageAttributeDurBaseElemental, Cold, SlowCold, "DamageDurationCold", CombatAttributeDurDamageElemental) \
    X(DamageAttributeDur_Fire, DamageAttributeDurBaseElemental, Fire, SlowFire, "DamageDurationFire", CombatAttributeDurDamageElemental) \
    X(DamageAttributeDur_Poison, DamageAttributeDurBase, Poison, SlowPoison, "DamageDurationPoison", CombatAttributeDurDamage) \
    X(DamageAttributeDur_Lightning, DamageAttributeDurBaseElemental, Lightning, SlowLightning, "DamageDurationLightning", CombatAttributeDurDamageElemental) \
    X(DamageAttributeDur_Life, DamageAttributeDurBase, Life, SlowLife, "DamageDurationLife", CombatAttributeDurDamage) \
    X(DamageAttributeDur_LifeLeach, DamageAttributeDurBase, LifeLeech, SlowLifeLeach, "DamageDurationLifeLeach", CombatAttributeDurDamage) \
    X(DamageAttributeDur_ManaLeach, DamageAttributeDurBase, ManaLeech, SlowManaLeach, "DamageDurationManaLeach", CombatAttributeDurDamage) \
    X(DamageAttributeDur_TotalSpeed, DamageAttributeDurFixed, TotalSpeed, SlowTotalSpeed, "DamageDurationTotalSpeed", CombatAttributeDurFixedDamage, DAMAGE_KIND_SPREAD_DAMAGE_) \
    X(DamageAttributeDur_AttackSpeed, DamageAttributeDurFixed, AttackSpeed, SlowAttackSpeed, "DamageDurationAttackSpeed", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_SpellCastSpeed, DamageAttributeDurFixed, SpellCastSpeed, SlowSpellCastSpeed, "DamageDurationSpellCastSpeed", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_RunSpeed, DamageAttributeDurFixed, RunSpeed, SlowRunSpeed, "DamageDurationRunSpeed", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_OffensiveAbility, DamageAttributeDurFixed, OffensiveAbility, SlowOffensiveAbility, "DamageDurationOffensiveAbility", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_DefensiveAbility, DamageAttributeDurFixed, DefensiveAbility, SlowDefensiveAbility, "DamageDurationDefensiveAbility", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_OffensiveReduction, DamageAttributeDurFixed, OffensiveReduction, SlowOffensiveReduction, "DamageDurationOffensiveReduction", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_DefensiveReduction, DamageAttributeDurFixed, DefensiveReduction, SlowDefensiveReduction, "DamageDurationDefensiveReduction", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_Fumble, DamageAttributeDurFixed, Fumble, Fumble, "DamageDurationFumble", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_ProjectileFumble, DamageAttributeDurFixed, ProjectileFumble, ProjectileFumble, "DamageDurationProjectileFumble", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_TotalDamageReductionPercent, DamageAttributeDurFixed, TotalDamageReductionPercent, TotalDamageReductionPercent, "DamageTotalDamageReductionPercent", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_TotalDamageReductionAbsolute, DamageAttributeDurFixed, TotalDamageReductionAbsolute, TotalDamageReductionAbsolute, "DamageTotalDamageReductionAbsolute", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_TotalResistanceReductionPercent, DamageAttributeDurFixed, TotalResistanceReductionPercent, TotalResistanceReductionPercent, "DamageTotalResistanceReductionPercent", CombatAttributeDurFixedDamage) \
    X(DamageAttributeDur_TotalResistanceReductionAbsolute, DamageAttributeDurFixed, TotalResistanceReductionAbsolute, TotalResistanceReductionAbsolute, "DamageTotalResistanceReductionAbsolute", CombatAttributeDurFixedDamage)

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
