#pragma once
// Defense attributes: one defensive property of an item, skill, character or attribute pack,
// per level. Each rolls its chance on every incoming attack and hands a defense payload to the
// attack's accumulator.
#include <string>
#include <vector>

#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

class LoadTable;
class RandomUniform;
class CombatAttribute;
class CombatAttributeAccumulator;
class DefenseAttributeStore;
struct CostInfo_DefenseAttributes;

using DefenseTextList = std::vector<std::wstring>;

class DefenseAttribute {
public:
    DefenseAttribute(CombatAttributeType type, const char* chanceField)
        : mType(type), mChanceField(chanceField) {}
    virtual ~DefenseAttribute() = default;
    DefenseAttribute(const DefenseAttribute&) = default;
    DefenseAttribute& operator=(const DefenseAttribute&) = default;

    // Reads the chances only. Leaves report false when the record grants nothing and the
    // attribute is not kept.
    virtual bool LoadFromTable(const LoadTable& record, bool keepIfEmpty);
    virtual void CreateText(unsigned level, DefenseTextList& baseLines,
                            DefenseTextList& attributeLines) const = 0;
    virtual void CreateNextText(unsigned level, unsigned nextLevel, DefenseTextList& baseLines,
                                DefenseTextList& attributeLines) const = 0;
    virtual void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                                  RandomUniform& random, bool skipChance) const = 0;
    virtual void ScaleAttribute(float percent) = 0;
    virtual void AddJitter(float percent, RandomUniform* random) = 0;
    virtual void GetCostInfo(CostInfo_DefenseAttributes& cost) const = 0;

    CombatAttributeType GetType() const { return mType; }
    const char* GetChanceField() const { return mChanceField; }
    float GetChanceAt(unsigned level) const { return GetChance(level); }

protected:
    virtual float Jitter(float value, float percent, RandomUniform& random) const;
    virtual float Scale(float value, float percent) const;
    virtual float GetChance(unsigned level) const;

    CombatAttributeType mType;
    const char* mChanceField;
    std::vector<float> mChances;
};

// A chance and a value per level, and a display tag.
class DefenseAttribute_Typical : public DefenseAttribute {
public:
    DefenseAttribute_Typical(CombatAttributeType type, const char* chanceField,
                             const char* valueField, const char* textTag)
        : DefenseAttribute(type, chanceField), mValueField(valueField), mTextTag(textTag) {}

    bool LoadFromTable(const LoadTable& record, bool keepIfEmpty) override;
    void CreateText(unsigned level, DefenseTextList& baseLines,
                    DefenseTextList& attributeLines) const override;
    void CreateNextText(unsigned level, unsigned nextLevel, DefenseTextList& baseLines,
                        DefenseTextList& attributeLines) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float percent, RandomUniform* random) override;

    const char* GetValueField() const { return mValueField; }
    const char* GetTextTag() const { return mTextTag; }
    float GetValueAt(unsigned level) const { return GetValue(level); }

protected:
    virtual float GetValue(unsigned level) const;
    // The chance test and the chance multiplier: false when the attribute does not apply.
    bool RollValue(CombatAttributeAccumulator& accumulator, unsigned level, bool skipChance,
                   float& value) const;
    // The level-1 share (weighted by a positive chance) into one cost field.
    void AddCost(float& field, CostInfo_DefenseAttributes& cost) const;
    std::wstring MakeLine(float chance, float value) const;

    const char* mValueField;
    const char* mTextTag;
    std::vector<float> mValues;
};

class DefenseAttributeAbs : public DefenseAttribute_Typical {
public:
    using DefenseAttribute_Typical::DefenseAttribute_Typical;
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
    void GetCostInfo(CostInfo_DefenseAttributes& cost) const override;
};

// Defense against a control effect.
class DefenseAttributeAbsRestricted : public DefenseAttributeAbs {
public:
    using DefenseAttributeAbs::DefenseAttributeAbs;
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
};

class DefenseAttributeDur : public DefenseAttribute_Typical {
public:
    using DefenseAttribute_Typical::DefenseAttribute_Typical;
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
    void GetCostInfo(CostInfo_DefenseAttributes& cost) const override;
};

class DefenseAttributeAbsMod : public DefenseAttribute_Typical {
public:
    using DefenseAttribute_Typical::DefenseAttribute_Typical;
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
    void GetCostInfo(CostInfo_DefenseAttributes& cost) const override;
};

class DefenseAttributeDurMod : public DefenseAttribute_Typical {
public:
    using DefenseAttribute_Typical::DefenseAttribute_Typical;
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
    void GetCostInfo(CostInfo_DefenseAttributes& cost) const override;
};

// Leaves: field names are "defensive" + field stem + kind suffix (+ "Chance"); the tag is
// "Defense" + stem + kind suffix. (kind, base, stem, field stem, type)
// clang-format off
#define GAME_DEFENSE_ATTRIBUTE_ABS_LEAVES(X) \
    X(Abs, DefenseAttributeAbs, Physical, Physical, Physical) \
    X(Abs, DefenseAttributeAbs, Pierce, Pierce, Pierce) \
    X(Abs, DefenseAttributeAbs, Cold, Cold, Cold) \
    X(Abs, DefenseAttributeAbs, Fire, Fire, Fire) \
    X(Abs, DefenseAttributeAbs, Poison, Poison, Poison) \
    X(Abs, DefenseAttributeAbs, Lightning, Lightning, Lightning) \
    X(Abs, DefenseAttributeAbs, Life, Life, Life) \
    X(Abs, DefenseAttributeAbs, Bleeding, Bleeding, Bleeding) \
    X(Abs, DefenseAttributeAbs, LifeLeach, SlowLifeLeach, LifeLeech) \
    X(Abs, DefenseAttributeAbs, ManaLeach, SlowManaLeach, ManaLeech) \
    X(Abs, DefenseAttributeAbs, Disruption, Disruption, Disruption) \
    X(Abs, DefenseAttributeAbsRestricted, Stun, Stun, Stun) \
    X(Abs, DefenseAttributeAbsRestricted, Trap, Trap, Trap) \
    X(Abs, DefenseAttributeAbsRestricted, Freeze, Freeze, Freeze) \
    X(Abs, DefenseAttributeAbsRestricted, Petrify, Petrify, Petrify) \
    X(Abs, DefenseAttributeAbsRestricted, Taunt, Taunt, Taunt) \
    X(Abs, DefenseAttributeAbsRestricted, Convert, Convert, Convert) \
    X(Abs, DefenseAttributeAbsRestricted, Fear, Fear, Fear) \
    X(Abs, DefenseAttributeAbsRestricted, Confusion, Confusion, Confusion)
#define GAME_DEFENSE_ATTRIBUTE_DUR_STEMS(X, Kind, Base) \
    X(Kind, Base, Physical, Physical, Physical) \
    X(Kind, Base, Cold, Cold, Cold) \
    X(Kind, Base, Fire, Fire, Fire) \
    X(Kind, Base, Poison, Poison, Poison) \
    X(Kind, Base, Lightning, Lightning, Lightning) \
    X(Kind, Base, Life, Life, Life) \
    X(Kind, Base, Bleeding, Bleeding, Bleeding) \
    X(Kind, Base, LifeLeach, SlowLifeLeach, LifeLeech) \
    X(Kind, Base, ManaLeach, SlowManaLeach, ManaLeech)
#define GAME_DEFENSE_ATTRIBUTE_ABSMOD_EXTRA(X) \
    X(AbsMod, DefenseAttributeAbsMod, Pierce, Pierce, Pierce) \
    X(AbsMod, DefenseAttributeAbsMod, Stun, Stun, Stun) \
    X(AbsMod, DefenseAttributeAbsMod, Protection, Protection, Protection) \
    X(AbsMod, DefenseAttributeAbsMod, Absorption, Absorption, Absorption)
// clang-format on

#define GAME_DEFENSE_SUFFIX_Abs ""
#define GAME_DEFENSE_SUFFIX_Dur "Duration"
#define GAME_DEFENSE_SUFFIX_AbsMod "Modifier"
#define GAME_DEFENSE_SUFFIX_DurMod "DurationModifier"

#define GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF(Kind, Base, Stem, FieldStem, Type) \
    class DefenseAttribute##Kind##_##Stem : public Base {                      \
    public:                                                                    \
        DefenseAttribute##Kind##_##Stem()                                      \
            : Base(CombatAttributeType::Type,                                  \
                   "defensive" #FieldStem GAME_DEFENSE_SUFFIX_##Kind "Chance", \
                   "defensive" #FieldStem GAME_DEFENSE_SUFFIX_##Kind,          \
                   "Defense" #Stem GAME_DEFENSE_SUFFIX_##Kind) {}              \
    };
GAME_DEFENSE_ATTRIBUTE_ABS_LEAVES(GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF)
GAME_DEFENSE_ATTRIBUTE_DUR_STEMS(GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF, Dur, DefenseAttributeDur)
GAME_DEFENSE_ATTRIBUTE_DUR_STEMS(GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF, AbsMod,
                                 DefenseAttributeAbsMod)
GAME_DEFENSE_ATTRIBUTE_ABSMOD_EXTRA(GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF)
GAME_DEFENSE_ATTRIBUTE_DUR_STEMS(GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF, DurMod,
                                 DefenseAttributeDurMod)
#undef GAME_DEFENSE_ATTRIBUTE_DECLARE_LEAF

// Monster-only defenses show no line.
class DefenseAttributeAbs_PercentCurrentLife : public DefenseAttributeAbs {
public:
    DefenseAttributeAbs_PercentCurrentLife()
        : DefenseAttributeAbs(CombatAttributeType::PercentCurrentLife,
                              "defensivePercentCurrentLifeChance", "defensivePercentCurrentLife",
                              "MONSTER ONLY") {}
    void CreateText(unsigned, DefenseTextList&, DefenseTextList&) const override {}
    void CreateNextText(unsigned, unsigned, DefenseTextList&, DefenseTextList&) const override {}
};

class DefenseAttributeAbs_ManaBurnRatio : public DefenseAttributeAbs {
public:
    DefenseAttributeAbs_ManaBurnRatio()
        : DefenseAttributeAbs(CombatAttributeType::ManaBurnRatio, "defensiveManaBurnRatioChance",
                              "defensiveManaBurnRatio", "MONSTER ONLY") {}
    void CreateText(unsigned, DefenseTextList&, DefenseTextList&) const override {}
    void CreateNextText(unsigned, unsigned, DefenseTextList&, DefenseTextList&) const override {}
};

// Resists cold, fire and lightning alike.
class DefenseAttributeAbs_ElementalResistance : public DefenseAttributeAbs {
public:
    DefenseAttributeAbs_ElementalResistance()
        : DefenseAttributeAbs(CombatAttributeType::Elemental, "defensiveElementalResistanceChance",
                              "defensiveElementalResistance", "DefenseElementalResistance") {}
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
};

class DefenseAttributeMisc_BlockModifier : public DefenseAttributeAbs {
public:
    DefenseAttributeMisc_BlockModifier()
        : DefenseAttributeAbs(CombatAttributeType::BlockModifier, "defensiveBlockModifierChance",
                              "defensiveBlockModifier", "DefenseBlockModifier") {}
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
};

class DefenseAttributeMisc_Reflect : public DefenseAttributeAbs {
public:
    DefenseAttributeMisc_Reflect()
        : DefenseAttributeAbs(CombatAttributeType::Reflect, "defensiveReflectChance",
                              "defensiveReflect", "DefenseReflect") {}
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
};

// The protection of an armor piece with the game-wide absorption.
class DefenseAttribute_BaseProtectionAbsorption : public DefenseAttribute {
public:
    DefenseAttribute_BaseProtectionAbsorption()
        : DefenseAttribute(CombatAttributeType::BasePhysical, nullptr) {}
    ~DefenseAttribute_BaseProtectionAbsorption() override = default;

    bool LoadFromTable(const LoadTable& record, bool keepIfEmpty) override;
    void CreateText(unsigned level, DefenseTextList& baseLines,
                    DefenseTextList& attributeLines) const override;
    void CreateNextText(unsigned, unsigned, DefenseTextList&, DefenseTextList&) const override {}
    void AddToAccumulator(CombatAttributeAccumulator& accumulator, unsigned level,
                          RandomUniform& random, bool skipChance) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float percent, RandomUniform* random) override;
    void GetCostInfo(CostInfo_DefenseAttributes& cost) const override;

    virtual bool LoadFromTable(const LoadTable& record, const LoadTable* firstExtra,
                               const LoadTable* secondExtra, bool keepIfEmpty);
    virtual void SetRegion(CombatAttributeRegion region) { mRegion = region; }

    static void Create_BaseAbsorptionProtection(DefenseAttributeStore& store,
                                                const LoadTable& record,
                                                const LoadTable* firstExtra,
                                                const LoadTable* secondExtra, float jitterPercent,
                                                CombatAttributeRegion region);

    float GetAbsorption() const { return mAbsorption; }
    CombatAttributeRegion GetRegion() const { return mRegion; }
    float GetFirstBonus() const { return mFirstBonus; }
    float GetSecondBonus() const { return mSecondBonus; }
    float GetProtectionAt(unsigned level) const { return GetProtection(level); }

protected:
    float GetProtection(unsigned level) const;

    float mAbsorption = 0.0f;
    std::vector<float> mProtection;
    CombatAttributeRegion mRegion = CombatAttributeRegion::FullyProtected;
    float mFirstBonus = 0.0f;
    float mSecondBonus = 0.0f;
};

// The same read from a skill or attribute pack: all its lines are attribute lines.
class DefenseAttribute_SkillProtectionAbsorption
    : public DefenseAttribute_BaseProtectionAbsorption {
public:
    void CreateText(unsigned level, DefenseTextList& baseLines,
                    DefenseTextList& attributeLines) const override;
    void CreateNextText(unsigned level, unsigned nextLevel, DefenseTextList& baseLines,
                        DefenseTextList& attributeLines) const override;
};

}  // namespace GAME
