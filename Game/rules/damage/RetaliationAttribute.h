#pragma once
// Retaliation attributes: damage, or damage modifiers, dealt back to whoever strikes the owner.
// Each kind is a damage attribute of one of the damage intermediates and only names its type,
// its "retaliation" record keys and its display tag; two kinds shape their own payloads.
#include "Game/rules/damage/DamageAttribute.h"

namespace GAME {

#define GAME_RETALIATION_COMMON_(Type, Prefix, ChanceKey, Stem, Display) \
public:                                                                  \
    CombatAttributeType GetType() const override {                       \
        return CombatAttributeType::Type;                                \
    }                                                                    \
                                                                         \
protected:                                                               \
    const char* GetLoadChanceTag() const override {                      \
        return ChanceKey;                                                \
    }                                                                    \
    const char* GetLoadXorTag() const override {                         \
        return Prefix #Stem "XOR";                                       \
    }                                                                    \
    const char* GetLoadGlobalTag() const override {                      \
        return Prefix #Stem "Global";                                    \
    }                                                                    \
    const char* GetDisplayTag() const override {                         \
        return Display;                                                  \
    }

// Single amounts (absolute and reflex): "retaliation<S>Chance|XOR|Global|Min|Max".
#define GAME_RETALIATION_ABS_(Class, Parent, Type, Stem, ...)                                 \
    class Class : public Parent {                                                             \
        GAME_RETALIATION_COMMON_(Type, "retaliation", "retaliation" #Stem "Chance", Stem,     \
                                 "Retaliation" #Stem)                                         \
        const char* GetLoadValueMinTag() const override { return "retaliation" #Stem "Min"; } \
        const char* GetLoadValueMaxTag() const override { return "retaliation" #Stem "Max"; } \
        __VA_ARGS__                                                                           \
    };

// Over time (damage and fixed effects): "retaliationSlow<S>..." with durations.
#define GAME_RETALIATION_DUR_(Class, Parent, Type, Stem)                                          \
    class Class : public Parent {                                                                 \
        GAME_RETALIATION_COMMON_(Type, "retaliationSlow", "retaliationSlow" #Stem "Chance", Stem, \
                                 "RetaliationDuration" #Stem)                                     \
        const char* GetLoadValueMinTag() const override { return "retaliationSlow" #Stem "Min"; } \
        const char* GetLoadValueMaxTag() const override { return "retaliationSlow" #Stem "Max"; } \
        const char* GetLoadDurationMinTag() const override {                                      \
            return "retaliationSlow" #Stem "DurationMin";                                         \
        }                                                                                         \
        const char* GetLoadDurationMaxTag() const override {                                      \
            return "retaliationSlow" #Stem "DurationMax";                                         \
        }                                                                                         \
    };

// Absolute modifiers share the XOR and global keys of the damage kind of their stem.
#define GAME_RETALIATION_ABSMOD_(Class, Type, Stem)                                                \
    class Class : public DamageAttributeAbsModBonus {                                              \
        GAME_RETALIATION_COMMON_(Type, "retaliation", "retaliation" #Stem "ModifierChance", Stem,  \
                                 "RetaliationModifier" #Stem)                                      \
        const char* GetLoadModifierTag() const override { return "retaliation" #Stem "Modifier"; } \
    };

#define GAME_RETALIATION_DURMOD_(Class, Type, Stem)                              \
    class Class : public DamageAttributeDurModBonus {                            \
        GAME_RETALIATION_COMMON_(Type, "retaliationSlow",                        \
                                 "retaliationSlow" #Stem "ModifierChance", Stem, \
                                 "RetaliationDurationModifier" #Stem)            \
        const char* GetLoadModifierTag() const override {                        \
            return "retaliationSlow" #Stem "Modifier";                           \
        }                                                                        \
        const char* GetLoadDurationModifierTag() const override {                \
            return "retaliationSlow" #Stem "DurationModifier";                   \
        }                                                                        \
    };

// clang-format off
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Physical, DamageAttributeAbsBonus, Physical, Physical)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Pierce, DamageAttributeAbsBonus, Pierce, Pierce)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Cold, DamageAttributeAbsBonus, Cold, Cold)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Fire, DamageAttributeAbsBonus, Fire, Fire)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Poison, DamageAttributeAbsBonus, Poison, Poison)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Lightning, DamageAttributeAbsBonus, Lightning, Lightning)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_Life, DamageAttributeAbsBonus, Life, Life)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_PercentCurrentLife, DamageAttributeAbsBonus, PercentCurrentLife, PercentCurrentLife,
public:
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                RandomUniform& random, bool skipChance) const override;
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level, DamageRoll& roll) const override;)
GAME_RETALIATION_ABS_(RetaliationAttributeAbs_ElementalDamage, DamageAttributeAbsBonus, Elemental, Elemental,
public:
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                RandomUniform& random, bool skipChance) const override;
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level, DamageRoll& roll) const override;)
GAME_RETALIATION_ABS_(RetaliationAttributeReflex_Stun, DamageAttributeReflex, Stun, Stun)

GAME_RETALIATION_DUR_(RetaliationAttributeDur_Physical, DamageAttributeDurBonus, Physical, Physical)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_Bleeding, DamageAttributeDurBonus, Bleeding, Bleeding)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_Cold, DamageAttributeDurBonus, Cold, Cold)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_Fire, DamageAttributeDurBonus, Fire, Fire)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_Poison, DamageAttributeDurBonus, Poison, Poison)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_Lightning, DamageAttributeDurBonus, Lightning, Lightning)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_Life, DamageAttributeDurBonus, Life, Life)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_LifeLeach, DamageAttributeDurBonus, LifeLeech, LifeLeach)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_ManaLeach, DamageAttributeDurBonus, ManaLeech, ManaLeach)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_AttackSpeed, DamageAttributeDurFixed, AttackSpeed, AttackSpeed)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_SpellCastSpeed, DamageAttributeDurFixed, SpellCastSpeed, SpellCastSpeed)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_RunSpeed, DamageAttributeDurFixed, RunSpeed, RunSpeed)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_OffensiveAbility, DamageAttributeDurFixed, OffensiveAbility, OffensiveAbility)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_DefensiveAbility, DamageAttributeDurFixed, DefensiveAbility, DefensiveAbility)
GAME_RETALIATION_DUR_(RetaliationAttributeDur_OffensiveReduction, DamageAttributeDurFixed, OffensiveReduction, OffensiveReduction)

GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Physical, Physical, Physical)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_PierceRatio, PierceRatio, PierceRatio)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Pierce, Pierce, Pierce)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Cold, Cold, Cold)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Fire, Fire, Fire)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Poison, Poison, Poison)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Lightning, Lightning, Lightning)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Life, Life, Life)
GAME_RETALIATION_ABSMOD_(RetaliationAttributeAbsMod_Stun, Stun, Stun)

GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Physical, Physical, Physical)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Bleeding, Bleeding, Bleeding)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Cold, Cold, Cold)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Fire, Fire, Fire)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Poison, Poison, Poison)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Lightning, Lightning, Lightning)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_Life, Life, Life)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_AttackSpeed, AttackSpeed, AttackSpeed)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_SpellCastSpeed, SpellCastSpeed, SpellCastSpeed)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_RunSpeed, RunSpeed, RunSpeed)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_LifeLeach, LifeLeech, LifeLeach)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_ManaLeach, ManaLeech, ManaLeach)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_OffensiveAbility, OffensiveAbility, OffensiveAbility)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_DefensiveAbility, DefensiveAbility, DefensiveAbility)
GAME_RETALIATION_DURMOD_(RetaliationAttributeDurMod_OffensiveReduction, OffensiveReduction, OffensiveReduction)
// clang-format on

#undef GAME_RETALIATION_ABS_
#undef GAME_RETALIATION_DUR_
#undef GAME_RETALIATION_ABSMOD_
#undef GAME_RETALIATION_DURMOD_
#undef GAME_RETALIATION_COMMON_

}  // namespace GAME
