#pragma once
// Offensive properties that item, skill and character records grant, kept per level. Each loads
// itself under the record keys its kind supplies, names the group of the DamageAttributeStore
// that keeps it and, when its owner attacks, turns into one combat payload of the attack's
// accumulator. The
// intermediate classes below hold all the behaviour; a leaf kind only names its type, keys and
// display tag (DamageAttributeKinds.h), and retaliation kinds derive from the same classes.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/rules/combat/CombatPayloadKind.h"

namespace GAME {

class CombatAttribute;
class CombatAttributeAccumulator;
class DamageAttributeStore;
class LoadTable;
class RandomUniform;
struct CostInfo_DamageAttributes;
struct DamageRoll;

using DamageTextList = std::vector<std::wstring>;

// One level of a range: the maximum is minimum + spread.
struct DamageAttributeRange {
    float minimum = 0.0f;
    float spread = 0.0f;
    bool operator==(const DamageAttributeRange&) const = default;
};

// Per-level helpers shared by every attribute family (and the character attributes).
namespace DamageAttributeRules {
// Level 0 or an empty list gives 0; levels past the end repeat the last entry.
[[gnu::always_inline]] inline float PerLevel(const std::vector<float>& values, unsigned int level) {
    if (level == 0 || values.empty())
        return 0.0f;
    return values[std::min<std::size_t>(level - 1u, values.size() - 1)];
}
[[gnu::always_inline]] inline const DamageAttributeRange* PerLevel(
    const std::vector<DamageAttributeRange>& values, unsigned int level) {
    if (level == 0 || values.empty())
        return nullptr;
    return &values[std::min<std::size_t>(level - 1u, values.size() - 1)];
}
// A list of exactly one entry equal to 0 counts as absent.
void ApplySingleZeroRule(std::vector<float>& values);
// Pairs from a minimum and a maximum list; levels without their own maximum take the last one
// given (or the first minimum when none is given).
std::vector<DamageAttributeRange> BuildRanges(const std::vector<float>& minimum,
                                              const std::vector<float>& maximum);
// percent * 0.01f * value formed in double precision, truncated toward zero.
int PercentOf(float value, float percent);
}  // namespace DamageAttributeRules

// The group of a store that an attribute's record puts it in.
enum class DamageAttributeGroup { Plain, GlobalAnd, GlobalXor };

// Which of an attack's two passes (damage, then modifiers) an attribute adds payloads in; a
// store passes over an attribute in the other pass without a call. A family that adds in one
// pass only makes its other pass final and empty.
enum DamageAttributeParts : unsigned char {
    kDamageAttributeDamage = 1,
    kDamageAttributeModifier = 2,
    kDamageAttributeBoth = kDamageAttributeDamage | kDamageAttributeModifier,
};

class DamageAttribute {
public:
    DamageAttribute() = default;
    DamageAttribute(const DamageAttribute&) = default;
    DamageAttribute& operator=(const DamageAttribute&) = default;
    virtual ~DamageAttribute() = default;

    // No family draws its chance otherwise, so the rolls and the one-of pick read it inline.
    [[gnu::always_inline]] float GetChance(unsigned int level) const {
        return DamageAttributeRules::PerLevel(mChance, level);
    }
    // Reads the attribute and the store group its record names; false when the record grants
    // nothing, and the attribute is not kept.
    virtual bool LoadFromTable(const LoadTable& table) = 0;
    virtual CombatAttributeType GetType() const = 0;
    virtual void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                            unsigned int level) const = 0;
    virtual void CreateNextText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                                unsigned int level, unsigned int nextLevel) const = 0;
    virtual void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                        RandomUniform& random, bool skipChance) const = 0;
    virtual void AddModifierToAccumulator(CombatAttributeAccumulator& accumulator,
                                          unsigned int level, RandomUniform& random,
                                          bool skipChance) const = 0;
    // The roll of `pass` at `level` as data, the same draws and payloads as the call of that
    // pass, for a store's batch; false when the attribute rolls only through its call.
    virtual bool DescribeRoll(DamageAttributeParts, unsigned int, DamageRoll&) const {
        return false;
    }
    virtual void ScaleAttribute(float percent) = 0;
    virtual void AddJitter(float percent, RandomUniform* random) = 0;
    virtual void GetCostInfo(CostInfo_DamageAttributes& cost) const = 0;

    void SetHideChanceIndentLine(bool hide) { mHideChance = hide; }
    DamageAttributeGroup GetStoreGroup() const { return mStoreGroup; }
    bool AddsIn(DamageAttributeParts pass) const { return (mParts & pass) != 0; }

protected:
    explicit DamageAttribute(DamageAttributeParts parts) : mParts(parts) {}

    virtual const char* GetLoadChanceTag() const = 0;
    virtual const char* GetLoadXorTag() const = 0;
    virtual const char* GetLoadGlobalTag() const = 0;
    virtual const char* GetDisplayTag() const = 0;
    // Value moved by a whole-number draw within +-percent of itself (at least +-1); 0 stays 0.
    virtual float Jitter(float value, float percent, RandomUniform& random) const;
    // Value grown by percent of itself, truncated to a whole number.
    virtual float Scale(float value, float percent) const;

    void LoadChance(const LoadTable& table);
    // The store group that the record's global and XOR keys name.
    void ReadStoreGroup(const LoadTable& table);
    // The indent tag while the chance is hidden, else the chance when it is above 0.
    void AppendChancePrefix(std::wstring& line, float chance) const;
    // Passes the chance gate (or skips it); the chance multiplier comes after.
    // Always inline (DamageAttributeDraw.h), as are the rolls below: they run once per attribute
    // and attack, and a call would cost as much as the roll.
    [[gnu::always_inline]] inline bool PassesChance(CombatAttributeAccumulator& accumulator,
                                                    float chance, bool skipChance) const;
    // Which text list the class writes to: 1, 2, 3, or 0 for none.
    virtual int GetTextList() const { return 0; }
    void AppendToList(const std::wstring& line, DamageTextList& list1, DamageTextList& list2,
                      DamageTextList& list3) const;

    std::vector<float> mChance;
    bool mHideChance = false;
    DamageAttributeGroup mStoreGroup = DamageAttributeGroup::Plain;

private:
    DamageAttributeParts mParts = kDamageAttributeBoth;
};

// ---- Single amounts ----

class DamageAttributeAbs : public DamageAttribute {
public:
    DamageAttributeAbs();
    bool LoadFromTable(const LoadTable& table) override;
    void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                    unsigned int level) const override;
    void CreateNextText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                        unsigned int level, unsigned int nextLevel) const override;
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                RandomUniform& random, bool skipChance) const override;
    void AddModifierToAccumulator(CombatAttributeAccumulator&, unsigned int, RandomUniform&,
                                  bool) const final {}
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level,
                      DamageRoll& roll) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float percent, RandomUniform* random) override;
    void GetCostInfo(CostInfo_DamageAttributes& cost) const override;

protected:
    virtual const char* GetLoadValueMinTag() const = 0;
    virtual const char* GetLoadValueMaxTag() const = 0;
    [[gnu::always_inline]] float GetValueMin(unsigned int level) const {
        const DamageAttributeRange* range = DamageAttributeRules::PerLevel(mValues, level);
        return range ? range->minimum : 0.0f;
    }
    [[gnu::always_inline]] float GetValueMax(unsigned int level) const {
        const DamageAttributeRange* range = DamageAttributeRules::PerLevel(mValues, level);
        return range ? range->minimum + range->spread : 0.0f;
    }
    virtual void GetText(std::wstring& line, unsigned int level) const;
    virtual void GetNextText(std::wstring& line, unsigned int level, unsigned int nextLevel) const;
    // The class of the payload of one rolled amount.
    virtual CombatPayloadKind GetPayloadKind() const { return CombatPayloadKind::AbsDamage; }
    std::unique_ptr<CombatAttribute> CreatePayload(float amount) const;
    // The chance gate and the amount draw of a level, without payloads.
    void DescribeAmount(unsigned int level, DamageRoll& roll) const;
    // Base damage counts into avgBase instead of avgBonus.
    virtual bool IsBaseDamage() const { return false; }
    // The line for one level's numbers after the prefix.
    void AppendValueText(std::wstring& line, float minimum, float maximum) const;
    // The chance gate and the roll: amount = draw * chance multiplier; false when gated out.
    [[gnu::always_inline]] inline bool RollAmount(CombatAttributeAccumulator& accumulator,
                                                  unsigned int level, RandomUniform& random,
                                                  bool skipChance, float& amount) const;

    std::vector<DamageAttributeRange> mValues;
    const char* mSingleFormatTag;
    const char* mRangeFormatTag;
};

// Base damage: never jittered, cost counted as base damage, text in list 1.
class DamageAttributeAbsBase : public DamageAttributeAbs {
public:
    void AddJitter(float, RandomUniform*) override {}

protected:
    bool IsBaseDamage() const override { return true; }
    int GetTextList() const override { return 1; }
};

class DamageAttributeAbsBaseElemental : public DamageAttributeAbsBase {
protected:
    CombatPayloadKind GetPayloadKind() const override {
        return CombatPayloadKind::AbsDamageElemental;
    }
};

class DamageAttributeAbsBonus : public DamageAttributeAbs {
protected:
    int GetTextList() const override { return 3; }
};

class DamageAttributeAbsBonusElemental : public DamageAttributeAbsBonus {
protected:
    CombatPayloadKind GetPayloadKind() const override {
        return CombatPayloadKind::AbsDamageElemental;
    }
};

class DamageAttributeInfluence : public DamageAttributeAbsBonus {
public:
    DamageAttributeInfluence();
};

class DamageAttributeInfluenceHidden : public DamageAttributeInfluence {
protected:
    int GetTextList() const override { return 0; }
};

class DamageAttributeReflex : public DamageAttributeAbsBonus {
public:
    DamageAttributeReflex();

protected:
    CombatPayloadKind GetPayloadKind() const override { return CombatPayloadKind::ReflexDamage; }
};

// ---- Amounts over a duration ----

class DamageAttributeDur : public DamageAttribute {
public:
    DamageAttributeDur() : DamageAttribute(kDamageAttributeDamage) {}
    bool LoadFromTable(const LoadTable& table) override;
    void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                    unsigned int level) const override;
    void CreateNextText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                        unsigned int level, unsigned int nextLevel) const override;
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                RandomUniform& random, bool skipChance) const override;
    void AddModifierToAccumulator(CombatAttributeAccumulator&, unsigned int, RandomUniform&,
                                  bool) const final {}
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level,
                      DamageRoll& roll) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float percent, RandomUniform* random) override;
    void GetCostInfo(CostInfo_DamageAttributes& cost) const override;

protected:
    virtual const char* GetLoadValueMinTag() const = 0;
    virtual const char* GetLoadValueMaxTag() const = 0;
    virtual const char* GetLoadDurationMinTag() const = 0;
    virtual const char* GetLoadDurationMaxTag() const = 0;
    [[gnu::always_inline]] float GetValueMin(unsigned int level) const {
        const DamageAttributeRange* range = DamageAttributeRules::PerLevel(mValues, level);
        return range ? range->minimum : 0.0f;
    }
    [[gnu::always_inline]] float GetValueMax(unsigned int level) const {
        const DamageAttributeRange* range = DamageAttributeRules::PerLevel(mValues, level);
        return range ? range->minimum + range->spread : 0.0f;
    }
    [[gnu::always_inline]] float GetDurationMin(unsigned int level) const {
        const DamageAttributeRange* range = DamageAttributeRules::PerLevel(mDurations, level);
        return range ? range->minimum : 0.0f;
    }
    [[gnu::always_inline]] float GetDurationMax(unsigned int level) const {
        const DamageAttributeRange* range = DamageAttributeRules::PerLevel(mDurations, level);
        return range ? range->minimum + range->spread : 0.0f;
    }
    virtual void GetText(std::wstring& line, unsigned int level) const;
    virtual void GetNextText(std::wstring& line, unsigned int level, unsigned int nextLevel) const;
    virtual CombatPayloadKind GetPayloadKind() const { return CombatPayloadKind::DurDamage; }
    std::unique_ptr<CombatAttribute> CreatePayload(float amount, float duration) const;
    // The chance gate and the amount and duration draws of a level, without payloads.
    void DescribeAmountAndDuration(unsigned int level, DamageRoll& roll) const;
    // Fixed effects show their strength, not the damage over the whole duration.
    virtual bool IsFixedDuration() const { return false; }
    void AppendValueText(std::wstring& line, unsigned int level) const;
    // Chance gate, amount (multiplied) and duration, in that order; false when gated out.
    [[gnu::always_inline]] inline bool RollAmountAndDuration(
        CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform& random,
        bool skipChance, float& amount, float& duration) const;

    std::vector<DamageAttributeRange> mValues;
    std::vector<DamageAttributeRange> mDurations;
};

class DamageAttributeDurBase : public DamageAttributeDur {
protected:
    int GetTextList() const override { return 2; }
};

class DamageAttributeDurBaseElemental : public DamageAttributeDurBase {
protected:
    CombatPayloadKind GetPayloadKind() const override {
        return CombatPayloadKind::DurDamageElemental;
    }
};

class DamageAttributeDurBonus : public DamageAttributeDur {
protected:
    int GetTextList() const override { return 3; }
};

class DamageAttributeDurBonusElemental : public DamageAttributeDurBonus {
protected:
    CombatPayloadKind GetPayloadKind() const override {
        return CombatPayloadKind::DurDamageElemental;
    }
};

class DamageAttributeDurFixed : public DamageAttributeDur {
protected:
    int GetTextList() const override { return 3; }
    bool IsFixedDuration() const override { return true; }
    CombatPayloadKind GetPayloadKind() const override { return CombatPayloadKind::DurFixedDamage; }
};

// ---- Modifiers of another payload ----

class DamageAttributeAbsMod : public DamageAttribute {
public:
    DamageAttributeAbsMod() : DamageAttribute(kDamageAttributeModifier) {}
    bool LoadFromTable(const LoadTable& table) override;
    void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                    unsigned int level) const override;
    void CreateNextText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                        unsigned int level, unsigned int nextLevel) const override;
    void AddDamageToAccumulator(CombatAttributeAccumulator&, unsigned int, RandomUniform&,
                                bool) const final {}
    void AddModifierToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                  RandomUniform& random, bool skipChance) const override;
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level,
                      DamageRoll& roll) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float percent, RandomUniform* random) override;
    void GetCostInfo(CostInfo_DamageAttributes& cost) const override;

protected:
    virtual const char* GetLoadModifierTag() const = 0;
    [[gnu::always_inline]] float GetModifierValue(unsigned int level) const {
        return DamageAttributeRules::PerLevel(mModifiers, level);
    }
    virtual void GetText(std::wstring& line, unsigned int level) const;
    virtual void GetNextText(std::wstring& line, unsigned int level, unsigned int nextLevel) const;
    // The chance gate and the percent of a level, without payloads.
    void DescribePercent(unsigned int level, DamageRoll& roll) const;
    // The chance gate and the percent (multiplied); false when gated out.
    [[gnu::always_inline]] inline bool RollPercent(CombatAttributeAccumulator& accumulator,
                                                   unsigned int level, bool skipChance,
                                                   float& percent) const;

    std::vector<float> mModifiers;
};

class DamageAttributeAbsModBase : public DamageAttributeAbsMod {
protected:
    int GetTextList() const override { return 2; }
};

class DamageAttributeAbsModBonus : public DamageAttributeAbsMod {
protected:
    int GetTextList() const override { return 2; }
};

class DamageAttributeDurMod : public DamageAttribute {
public:
    DamageAttributeDurMod() : DamageAttribute(kDamageAttributeModifier) {}
    bool LoadFromTable(const LoadTable& table) override;
    void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                    unsigned int level) const override;
    void CreateNextText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                        unsigned int level, unsigned int nextLevel) const override;
    void AddDamageToAccumulator(CombatAttributeAccumulator&, unsigned int, RandomUniform&,
                                bool) const final {}
    void AddModifierToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                  RandomUniform& random, bool skipChance) const override;
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level,
                      DamageRoll& roll) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float percent, RandomUniform* random) override;
    void GetCostInfo(CostInfo_DamageAttributes& cost) const override;

protected:
    virtual const char* GetLoadModifierTag() const = 0;
    virtual const char* GetLoadDurationModifierTag() const = 0;
    [[gnu::always_inline]] float GetModifierValue(unsigned int level) const {
        return DamageAttributeRules::PerLevel(mModifiers, level);
    }
    [[gnu::always_inline]] float GetDurationModifierValue(unsigned int level) const {
        return DamageAttributeRules::PerLevel(mDurationModifiers, level);
    }
    virtual void GetText(std::wstring& line, unsigned int level) const;
    virtual void GetNextText(std::wstring& line, unsigned int level, unsigned int nextLevel) const;

    std::vector<float> mModifiers;
    std::vector<float> mDurationModifiers;
};

class DamageAttributeDurModBase : public DamageAttributeDurMod {
protected:
    int GetTextList() const override { return 2; }
};

class DamageAttributeDurModBonus : public DamageAttributeDurMod {
protected:
    int GetTextList() const override { return 3; }
};

}  // namespace GAME
