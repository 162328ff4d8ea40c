#pragma once
// The damage kinds outside the uniform families: the weapon's base physical damage, per-level
// physical damage with a pierce ratio, bonus physical damage and mana burn.
#include <cstdint>
#include <vector>

#include "Game/rules/damage/DamageAttribute.h"

namespace GAME {

// The weapon's base damage: single values, no levels, no chance (its chance list stays empty);
// always registered.
class DamageAttribute_BasePhysical : public DamageAttribute {
public:
    DamageAttribute_BasePhysical() : DamageAttribute(kDamageAttributeDamage) {}
    static void Create_BasePhysical(DamageAttributeStore& store, const LoadTable& table);

    bool LoadFromTable(const LoadTable& table) override;
    CombatAttributeType GetType() const override { return CombatAttributeType::BasePhysical; }
    void CreateText(DamageTextList& list1, DamageTextList& list2, DamageTextList& list3,
                    unsigned int level) const override;
    void CreateNextText(DamageTextList&, DamageTextList&, DamageTextList&, unsigned int,
                        unsigned int) const override {}
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                RandomUniform& random, bool skipChance) const override;
    void AddModifierToAccumulator(CombatAttributeAccumulator&, unsigned int, RandomUniform&,
                                  bool) const final {}
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level,
                      DamageRoll& roll) const override;
    void ScaleAttribute(float percent) override;
    void AddJitter(float, RandomUniform*) override {}
    void GetCostInfo(CostInfo_DamageAttributes& cost) const override;

    float GetMinimum() const { return mMinimum; }
    float GetSpread() const { return mSpread; }
    float GetPierceRatio() const { return mPierceRatio; }

protected:
    const char* GetLoadChanceTag() const override { return "Not Used"; }
    const char* GetLoadXorTag() const override { return "Not Used"; }
    const char* GetLoadGlobalTag() const override { return "Not Used"; }
    const char* GetDisplayTag() const override { return "Not Used"; }
    float Jitter(float, float, RandomUniform&) const override { return 0.0f; }
    float Scale(float, float) const override { return 0.0f; }

private:
    float mMinimum = 0.0f;
    float mSpread = 0.0f;
    float mPierceRatio = 0.0f;
};

// Physical damage per level with a whole-number spread and a pierce ratio per level.
class DamageAttribute_Physical : public DamageAttribute {
public:
    struct Range {
        float minimum = 0.0f;
        std::uint32_t spread = 0;
    };

    DamageAttribute_Physical() : DamageAttribute(kDamageAttributeDamage) {}

    bool LoadFromTable(const LoadTable& table) override;
    CombatAttributeType GetType() const override { return CombatAttributeType::Physical; }
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

    float GetValueMin(unsigned int level) const;
    float GetValueMax(unsigned int level) const;
    float GetPierceRatio(unsigned int level) const;

protected:
    const char* GetLoadChanceTag() const override { return "offensivePhysicalChance"; }
    const char* GetLoadXorTag() const override { return "offensivePhysicalXOR"; }
    const char* GetLoadGlobalTag() const override { return "offensivePhysicalGlobal"; }
    const char* GetDisplayTag() const override { return ""; }

private:
    void AppendLine(DamageTextList& list2, unsigned int level) const;
    const Range* GetRange(unsigned int level) const;

    std::vector<Range> mValues;
    std::vector<float> mPierceRatios;
};

class DamageAttributeAbs_BonusPhysical : public DamageAttributeAbsBonus {
public:
    CombatAttributeType GetType() const override { return CombatAttributeType::Physical; }

protected:
    const char* GetLoadChanceTag() const override { return "offensiveBonusPhysicalChance"; }
    const char* GetLoadXorTag() const override { return "offensiveBonusPhysicalXOR"; }
    const char* GetLoadGlobalTag() const override { return "offensiveBonusPhysicalGlobal"; }
    const char* GetDisplayTag() const override { return "DamageBonusPhysical"; }
    const char* GetLoadValueMinTag() const override { return "offensiveBonusPhysicalMin"; }
    const char* GetLoadValueMaxTag() const override { return "offensiveBonusPhysicalMax"; }
    CombatPayloadKind GetPayloadKind() const override { return CombatPayloadKind::BonusPhysical; }
};

// Burns a percent of the target's mana and deals a ratio of the burnt mana as damage.
class DamageAttributeAbs_ManaBurn : public DamageAttributeAbsBonus {
public:
    bool LoadFromTable(const LoadTable& table) override;
    CombatAttributeType GetType() const override { return CombatAttributeType::ManaBurn; }
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int level,
                                RandomUniform& random, bool skipChance) const override;
    bool DescribeRoll(DamageAttributeParts pass, unsigned int level,
                      DamageRoll& roll) const override;

protected:
    const char* GetLoadChanceTag() const override { return "offensiveManaBurnChance"; }
    const char* GetLoadXorTag() const override { return "offensiveManaBurnXOR"; }
    const char* GetLoadGlobalTag() const override { return "offensiveManaBurnGlobal"; }
    const char* GetDisplayTag() const override { return "DamageManaDrain"; }
    const char* GetLoadValueMinTag() const override { return "offensiveManaBurnDrainMin"; }
    const char* GetLoadValueMaxTag() const override { return "offensiveManaBurnDrainMax"; }
    void GetText(std::wstring& line, unsigned int level) const override;
    void GetNextText(std::wstring& line, unsigned int level, unsigned int nextLevel) const override;
    virtual float GetDamageRatio(unsigned int level) const;
    virtual const char* GetLoadDamageRatioTag() const { return "offensiveManaBurnDamageRatio"; }

private:
    std::vector<float> mDamageRatios;
};

}  // namespace GAME
