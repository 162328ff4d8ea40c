#pragma once
// Skill attributes change how skills behave (cooldown, mana cost, projectile speed). A base
// value and a prefix and suffix part each apply with their own chance.
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/sys/RandomUniform.h"

namespace GAME {

class LoadTable;
struct CostInfo_SkillAttributes;

enum class SkillAttributeType : std::uint32_t {
    CooldownReduction = 1,
    ManaCostReduction = 2,
    ProjectileSpeedModifier = 3,
};
inline constexpr unsigned kSkillAttributeTypeCount = 4;  // slot 0 is never used

class SkillAttributeAccumulator {
public:
    SkillAttributeAccumulator() = default;
    virtual ~SkillAttributeAccumulator() = default;
    SkillAttributeAccumulator(const SkillAttributeAccumulator&) = default;
    SkillAttributeAccumulator& operator=(const SkillAttributeAccumulator&) = default;

    virtual void AddValue(SkillAttributeType type, float value) { mValues[Index(type)] += value; }
    virtual void AddModifier(SkillAttributeType type, float modifier) {
        mModifiers[Index(type)] += modifier;
    }

    void SetSeed(std::uint32_t seed) { mRandom.Seed(seed); }
    RandomUniform& GetRandomGen() { return mRandom; }
    // The summed value raised by the summed percent, on its magnitude.
    float GetValue(SkillAttributeType type) const {
        const unsigned index = Index(type);
        const float value = mValues[index];
        return value + std::fabs(value) * mModifiers[index] * 0.01f;
    }
    void Clear();
    // The same sums, bit for bit (the generator aside).
    bool SameSums(const SkillAttributeAccumulator& other) const;

private:
    static unsigned Index(SkillAttributeType type) {
        const auto index = static_cast<unsigned>(type);
        return index < kSkillAttributeTypeCount ? index : 0;
    }

    std::array<float, kSkillAttributeTypeCount> mValues{};
    std::array<float, kSkillAttributeTypeCount> mModifiers{};
    RandomUniform mRandom;
};

class SkillAttribute {
public:
    SkillAttribute(SkillAttributeType type, const char* valueField, const char* chanceField,
                   const char* displayTag);
    virtual ~SkillAttribute() = default;
    SkillAttribute(const SkillAttribute&) = default;
    SkillAttribute& operator=(const SkillAttribute&) = default;

    virtual void LoadBaseTable(const LoadTable& record);
    virtual void LoadPrefixTable(const LoadTable& record, RandomUniform* random);
    virtual void LoadSuffixTable(const LoadTable& record, RandomUniform* random);
    virtual void CreateText(unsigned level, std::vector<std::wstring>& lines) const;
    virtual void CreateNextText(unsigned level, unsigned nextLevel,
                                std::vector<std::wstring>& lines) const;
    virtual void AddToAccumulator(SkillAttributeAccumulator& accumulator, unsigned level) const = 0;
    virtual void AddJitter(float percent, RandomUniform* random);
    virtual void ScaleAttribute(float percent);
    virtual void GetCostInfo(CostInfo_SkillAttributes& cost) const = 0;

    SkillAttributeType GetType() const { return mType; }
    float GetChance(unsigned level) const;
    float GetValue(unsigned level) const;
    float GetPrefixValue() const { return mPrefixValue; }
    float GetPrefixChance() const { return mPrefixChance; }
    float GetSuffixValue() const { return mSuffixValue; }
    float GetSuffixChance() const { return mSuffixChance; }
    static float Jitter(float value, float percent, RandomUniform& random);
    static float Scale(float value, float percent);
    // Always three draws (base, prefix, suffix), whether or not each part applies.
    float GetTotalValue(RandomUniform& random, unsigned level) const;
    bool IsNotEmpty() const;

private:
    void LoadExtra(const LoadTable& record, RandomUniform* random, float& value, float& chance);
    std::wstring MakeLine(float chance, float value) const;

    SkillAttributeType mType;
    std::vector<float> mValues;
    std::vector<float> mChances;
    float mPrefixValue = 0.0f;
    float mPrefixChance = 0.0f;
    float mSuffixValue = 0.0f;
    float mSuffixChance = 0.0f;
    const char* mChanceField;
    const char* mValueField;
    const char* mDisplayTag;
};

class SkillAttributeVal : public SkillAttribute {
public:
    using SkillAttribute::SkillAttribute;
    void AddToAccumulator(SkillAttributeAccumulator& accumulator, unsigned level) const override;
    void GetCostInfo(CostInfo_SkillAttributes& cost) const override;
};

class SkillAttributeMod : public SkillAttribute {
public:
    using SkillAttribute::SkillAttribute;
    void AddToAccumulator(SkillAttributeAccumulator& accumulator, unsigned level) const override;
    void GetCostInfo(CostInfo_SkillAttributes& cost) const override;
};

// clang-format off
#define GAME_SKILL_ATTRIBUTE_LEAVES(X) \
    X(SkillAttributeVal_CooldownReduction, SkillAttributeVal, CooldownReduction, "skillCooldownReduction", "skillCooldownReductionChance", "SkillCooldownReduction") \
    X(SkillAttributeVal_ManaCostReduction, SkillAttributeVal, ManaCostReduction, "skillManaCostReduction", "skillManaCostReductionChance", "SkillManaCostReduction") \
    X(SkillAttributeVal_ProjectileSpeedModifier, SkillAttributeVal, ProjectileSpeedModifier, "skillProjectileSpeedModifier", "skillProjectileSpeedModifierChance", "SkillProjectileSpeedModifier") \
    X(SkillAttributeMod_CooldownReduction, SkillAttributeMod, CooldownReduction, "skillCooldownReductionModifier", "skillCooldownReductionModifierChance", "SkillCooldownReductionModifier") \
    X(SkillAttributeMod_ManaCostReduction, SkillAttributeMod, ManaCostReduction, "skillManaCostReductionModifier", "skillManaCostReductionModifierChance", "SkillManaCostReductionModifier")
// clang-format on

#define GAME_SKILL_ATTRIBUTE_DECLARE_LEAF(Class, Kind, Type, ValueField, ChanceField, Tag) \
    class Class : public Kind {                                                            \
    public:                                                                                \
        Class() : Kind(SkillAttributeType::Type, ValueField, ChanceField, Tag) {}          \
    };
GAME_SKILL_ATTRIBUTE_LEAVES(GAME_SKILL_ATTRIBUTE_DECLARE_LEAF)
#undef GAME_SKILL_ATTRIBUTE_DECLARE_LEAF

class SkillAttributeStore {
public:
    SkillAttributeStore() = default;
    virtual ~SkillAttributeStore();
    SkillAttributeStore(const SkillAttributeStore&) = delete;
    SkillAttributeStore& operator=(const SkillAttributeStore&) = delete;

    virtual void CreateText(std::vector<std::wstring>& lines, unsigned level) const;
    virtual void CreateNextText(std::vector<std::wstring>& lines, unsigned level,
                                unsigned nextLevel) const;
    virtual void AddToStore(std::unique_ptr<SkillAttribute> attribute);
    virtual void AddToAccumulator(SkillAttributeAccumulator& accumulator, unsigned level) const;
    virtual void AddJitter(float percent);
    virtual void ScaleAttributes(float percent);

    RandomUniform* GetRandomGen() const { return mRandom; }
    void SetRandomGen(RandomUniform* random) { mRandom = random; }
    void GetCostInfo(CostInfo_SkillAttributes& cost) const;
    void Clear();
    const std::vector<std::unique_ptr<SkillAttribute>>& GetAttributes() const {
        return mAttributes;
    }

protected:
    template <class T>
    static void LoadAttribute(SkillAttributeStore& store, const LoadTable& record,
                              const LoadTable* prefix, const LoadTable* suffix, bool keep) {
        LoadInto(store, std::make_unique<T>(), record, prefix, suffix, keep);
    }
    static void LoadInto(SkillAttributeStore& store, std::unique_ptr<SkillAttribute> attribute,
                         const LoadTable& record, const LoadTable* prefix, const LoadTable* suffix,
                         bool keep);
    void LoadAll(const LoadTable& record, const LoadTable* prefix, const LoadTable* suffix);

    std::vector<std::unique_ptr<SkillAttribute>> mAttributes;
    RandomUniform* mRandom = nullptr;
};

class SkillAttributeStore_Equipment : public SkillAttributeStore {
public:
    // The flag is part of every equipment loader's signature and changes nothing here.
    virtual void Load(const LoadTable& record, const LoadTable* prefix, const LoadTable* suffix,
                      bool flag);
};

class SkillAttributeStore_Skill : public SkillAttributeStore {
public:
    virtual void Load(const LoadTable& record);
};

}  // namespace GAME
