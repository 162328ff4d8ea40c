#pragma once
// Character attributes: per-level statistics granted by a character record, an item (and its
// prefix and suffix), or a skill. Each reads its values from a record, adds itself to a
// CharAttributeAccumulator, writes its display line and contributes to an item's price.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace GAME {

// Records give percentages; the rules work in factors.
inline constexpr float kPercent = 0.01f;

class LoadTable;
class RandomUniform;
class CharAttributeAccumulator;
struct CostInfo_CharacterAttributes;

enum class CharAttributeType : std::uint32_t {
    Strength = 1,
    Dexterity,
    Intelligence,
    Life,
    Mana,
    LifeRegen,
    ManaRegen,
    ManaLimitReserve,
    ManaLimitReserveReduction,
    TotalSpeed,
    RunSpeed,
    AttackSpeed,
    SpellCastSpeed,
    BaseAttackSpeed,
    OffensiveAbility,
    OffensiveAbilityModifier,
    DefensiveAbility,
    DefensiveAbilityModifier,
    DefensiveBlockRecoveryReduction,
    EnergyAbsorptionPercent,
    DodgePercent,
    DeflectProjectile,
    WeaponStrengthReqReduction,
    WeaponDexterityReqReduction,
    WeaponIntelligenceReqReduction,
    MeleeStrengthReqReduction,
    MeleeDexterityReqReduction,
    MeleeIntelligenceReqReduction,
    HuntingStrengthReqReduction,
    HuntingDexterityReqReduction,
    HuntingIntelligenceReqReduction,
    StaffStrengthReqReduction,
    StaffDexterityReqReduction,
    StaffIntelligenceReqReduction,
    ShieldStrengthReqReduction,
    ShieldDexterityReqReduction,
    ShieldIntelligenceReqReduction,
    ArmorStrengthReqReduction,
    ArmorDexterityReqReduction,
    ArmorIntelligenceReqReduction,
    JewelryStrengthReqReduction,
    JewelryDexterityReqReduction,
    JewelryIntelligenceReqReduction,
    GlobalReqReduction,
    LevelReqReduction,
    IncreasedExperience,
};
inline constexpr unsigned kCharAttributeTypeCount = 47;  // slot 0 is never used

// The jitter and scaling rules shared by every attribute family that reads per-level values.
// The share percent x value x 0.01 is carried in single precision and truncated toward zero.
float AttributeJitter(float value, float percent, RandomUniform& random);
float AttributeScale(float value, float percent);
// Per-level lookup: level 0 or an empty list gives 0, levels past the end repeat the last entry.
float AttributeLevelValue(const std::vector<float>& values, unsigned level);
// Jitters every per-level value (at most 50 percent); nothing, and no draw, for 0 percent or
// without a generator.
void AttributeJitterLevels(std::vector<float>& values, float percent, RandomUniform* random);
// Scales every per-level value and the prefix and suffix shares; nothing for 0 percent.
void AttributeScaleLevels(std::vector<float>& values, float& prefix, float& suffix, float percent);

using TextList = std::vector<std::wstring>;

class CharAttribute {
public:
    // The cost pair of CostInfo_CharacterAttributes that a kind feeds.
    enum class CostPair {
        primaryAtt,
        secondaryAtt,
        bonus,
        primaryMod,
        secondaryMod,
        bonusMod,
        attackSpeed,
        otherSpeed,
        attackSpeedMod,
        otherSpeedMod,
    };

    CharAttribute(CharAttributeType type, const char* recordKey, const char* textTag);
    virtual ~CharAttribute() = default;
    CharAttribute(const CharAttribute&) = default;
    CharAttribute& operator=(const CharAttribute&) = default;

    // A copy of the leaf, values and all.
    virtual std::unique_ptr<CharAttribute> Clone() const = 0;
    virtual void LoadBaseTable(const LoadTable& record);
    virtual void LoadPrefixTable(const LoadTable& record, RandomUniform* random);
    virtual void LoadSuffixTable(const LoadTable& record, RandomUniform* random);
    virtual void CreateText(unsigned level, TextList& first, TextList& second) const;
    virtual void CreateNextText(unsigned level, unsigned nextLevel, TextList& first,
                                TextList& second) const;
    virtual void AddToAccumulator(CharAttributeAccumulator& accumulator, unsigned level) const = 0;
    virtual void SetBaseValue(float value);
    virtual void AddJitter(float percent, RandomUniform* random);
    virtual void ScaleAttribute(float percent);
    virtual void GetCostInfo(CostInfo_CharacterAttributes& cost) const = 0;

    CharAttributeType GetType() const { return mType; }
    float GetValue(unsigned level) const;
    bool IsNotEmpty() const;
    // True when SetBaseValue(value) would leave the leaf as it is.
    bool HoldsOnly(float value) const;

    const char* GetRecordKey() const { return mRecordKey; }
    const char* GetTextTag() const { return mTextTag; }
    float GetPrefixValue() const { return mPrefixValue; }
    float GetSuffixValue() const { return mSuffixValue; }

protected:
    static float Jitter(float value, float percent, RandomUniform& random) {
        return AttributeJitter(value, percent, random);
    }
    static float Scale(float value, float percent) { return AttributeScale(value, percent); }
    // The level-1 value and one count into a pair, when the value is not 0.
    void AddCost(CostInfo_CharacterAttributes& cost, CostPair pair) const;
    static void AddToPair(CostInfo_CharacterAttributes& cost, CostPair pair, float value,
                          int count);

    CharAttributeType mType;
    std::vector<float> mValues;
    float mPrefixValue = 0.0f;
    float mSuffixValue = 0.0f;
    const char* mRecordKey;
    const char* mTextTag;
};

// Adds its value as a flat value.
class CharAttributeVal : public CharAttribute {
public:
    using CharAttribute::CharAttribute;
    void AddToAccumulator(CharAttributeAccumulator& accumulator, unsigned level) const override;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::bonus);
    }
};

class CharAttributeValPri : public CharAttributeVal {
public:
    using CharAttributeVal::CharAttributeVal;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::primaryAtt);
    }
};

class CharAttributeValSec : public CharAttributeVal {
public:
    using CharAttributeVal::CharAttributeVal;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::secondaryAtt);
    }
};

// Speeds are neither jittered nor scaled.
class CharAttributeValSpeed : public CharAttributeVal {
public:
    using CharAttributeVal::CharAttributeVal;
    void AddJitter(float, RandomUniform*) override {}
    void ScaleAttribute(float) override {}
};

class CharAttributeAttackSpeed : public CharAttributeValSpeed {
public:
    using CharAttributeValSpeed::CharAttributeValSpeed;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::attackSpeed);
    }
};

class CharAttributeOtherSpeed : public CharAttributeValSpeed {
public:
    using CharAttributeValSpeed::CharAttributeValSpeed;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::otherSpeed);
    }
};

// Adds its value as a percentage modifier.
class CharAttributeMod : public CharAttribute {
public:
    using CharAttribute::CharAttribute;
    void AddToAccumulator(CharAttributeAccumulator& accumulator, unsigned level) const override;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::bonusMod);
    }
};

class CharAttributePriMod : public CharAttributeMod {
public:
    using CharAttributeMod::CharAttributeMod;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::primaryMod);
    }
};

class CharAttributeSecMod : public CharAttributeMod {
public:
    using CharAttributeMod::CharAttributeMod;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::secondaryMod);
    }
};

class CharAttributeAttackSpeedMod : public CharAttributeMod {
public:
    using CharAttributeMod::CharAttributeMod;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::attackSpeedMod);
    }
};

class CharAttributeOtherSpeedMod : public CharAttributeMod {
public:
    using CharAttributeMod::CharAttributeMod;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::otherSpeedMod);
    }
};

#define GAME_CHAR_ATTRIBUTE_CLONE(Class)                    \
    std::unique_ptr<CharAttribute> Clone() const override { \
        return std::make_unique<Class>(*this);              \
    }

// The uniform leaves: (class, kind, type, record key, text tag).
// clang-format off
#define GAME_CHAR_ATTRIBUTE_LEAVES(X) \
    X(CharAttributeVal_Strength, CharAttributeValPri, Strength, "characterStrength", "CharacterStrength") \
    X(CharAttributeMod_Strength, CharAttributePriMod, Strength, "characterStrengthModifier", "CharacterStrengthModifier") \
    X(CharAttributeVal_Dexterity, CharAttributeValPri, Dexterity, "characterDexterity", "CharacterDexterity") \
    X(CharAttributeMod_Dexterity, CharAttributePriMod, Dexterity, "characterDexterityModifier", "CharacterDexterityModifier") \
    X(CharAttributeVal_Intelligence, CharAttributeValPri, Intelligence, "characterIntelligence", "CharacterIntelligence") \
    X(CharAttributeMod_Intelligence, CharAttributePriMod, Intelligence, "characterIntelligenceModifier", "CharacterIntelligenceModifier") \
    X(CharAttributeVal_Life, CharAttributeValSec, Life, "characterLife", "CharacterLife") \
    X(CharAttributeMod_Life, CharAttributeSecMod, Life, "characterLifeModifier", "CharacterLifeModifier") \
    X(CharAttributeVal_Mana, CharAttributeValSec, Mana, "characterMana", "CharacterMana") \
    X(CharAttributeMod_Mana, CharAttributeSecMod, Mana, "characterManaModifier", "CharacterManaModifier") \
    X(CharAttributeVal_LifeRegen, CharAttributeValPri, LifeRegen, "characterLifeRegen", "CharacterLifeRegen") \
    X(CharAttributeMod_LifeRegen, CharAttributePriMod, LifeRegen, "characterLifeRegenModifier", "CharacterLifeRegenModifier") \
    X(CharAttributeVal_ManaRegen, CharAttributeValPri, ManaRegen, "characterManaRegen", "CharacterManaRegen") \
    X(CharAttributeMod_ManaRegen, CharAttributePriMod, ManaRegen, "characterManaRegenModifier", "CharacterManaRegenModifier") \
    X(CharAttributeMod_ManaLimitReserve, CharAttributeMod, ManaLimitReserve, "characterManaLimitReserveModifier", "CharacterManaLimitReserveModifier") \
    X(CharAttributeVal_ManaLimitReserveReduction, CharAttributeVal, ManaLimitReserveReduction, "characterManaLimitReserveReduction", "CharacterManaLimitReserveReduction") \
    X(CharAttributeMod_ManaLimitReserveReduction, CharAttributeMod, ManaLimitReserveReduction, "characterManaLimitReserveReductionModifier", "CharacterManaLimitReserveReductionModifier") \
    X(CharAttributeVal_RunSpeed, CharAttributeOtherSpeed, RunSpeed, "characterRunSpeed", "CharacterRunSpeed") \
    X(CharAttributeMod_RunSpeed, CharAttributeOtherSpeedMod, RunSpeed, "characterRunSpeedModifier", "CharacterRunSpeedModifier") \
    X(CharAttributeVal_AttackSpeed, CharAttributeAttackSpeed, AttackSpeed, "characterAttackSpeed", "CharacterAttackSpeed") \
    X(CharAttributeVal_SpellCastSpeed, CharAttributeAttackSpeed, SpellCastSpeed, "characterSpellCastSpeed", "CharacterSpellCastSpeed") \
    X(CharAttributeMod_SpellCastSpeed, CharAttributeAttackSpeedMod, SpellCastSpeed, "characterSpellCastSpeedModifier", "CharacterSpellCastSpeedModifier") \
    X(CharAttributeVal_OffensiveAbility, CharAttributeValSec, OffensiveAbility, "characterOffensiveAbility", "CharacterOffensiveAbility") \
    X(CharAttributeVal_OffensiveAbilityModifier, CharAttributeVal, OffensiveAbilityModifier, "characterOffensiveAbilityModifier", "CharacterOffensiveAbilityModifier") \
    X(CharAttributeVal_DefensiveAbility, CharAttributeValSec, DefensiveAbility, "characterDefensiveAbility", "CharacterDefensiveAbility") \
    X(CharAttributeVal_DefensiveAbilityModifier, CharAttributeVal, DefensiveAbilityModifier, "characterDefensiveAbilityModifier", "CharacterDefensiveAbilityModifier") \
    X(CharAttributeVal_DefensiveBlockRecoveryReduction, CharAttributeVal, DefensiveBlockRecoveryReduction, "characterDefensiveBlockRecoveryReduction", "CharacterDefensiveBlockRecoveryReduction") \
    X(CharAttributeVal_EnergyAbsorptionPercent, CharAttributeVal, EnergyAbsorptionPercent, "characterEnergyAbsorptionPercent", "CharacterEnergyAbsorptionPercent") \
    X(CharAttributeVal_DodgePercent, CharAttributeVal, DodgePercent, "characterDodgePercent", "CharacterDodgePercent") \
    X(CharAttributeVal_DeflectProjectile, CharAttributeVal, DeflectProjectile, "characterDeflectProjectile", "CharacterDeflectProjectiles") \
    X(CharAttributeVal_WeaponStrengthReqReduction, CharAttributeVal, WeaponStrengthReqReduction, "characterWeaponStrengthReqReduction", "CharacterWeaponStrengthReqReduction") \
    X(CharAttributeVal_WeaponDexterityReqReduction, CharAttributeVal, WeaponDexterityReqReduction, "characterWeaponDexterityReqReduction", "CharacterWeaponDexterityReqReduction") \
    X(CharAttributeVal_WeaponIntelligenceReqReduction, CharAttributeVal, WeaponIntelligenceReqReduction, "characterWeaponIntelligenceReqReduction", "CharacterWeaponIntelligenceReqReduction") \
    X(CharAttributeVal_MeleeStrengthReqReduction, CharAttributeVal, MeleeStrengthReqReduction, "characterMeleeStrengthReqReduction", "CharacterMeleeStrengthReqReduction") \
    X(CharAttributeVal_MeleeDexterityReqReduction, CharAttributeVal, MeleeDexterityReqReduction, "characterMeleeDexterityReqReduction", "CharacterMeleeDexterityReqReduction") \
    X(CharAttributeVal_MeleeIntelligenceReqReduction, CharAttributeVal, MeleeIntelligenceReqReduction, "characterMeleeIntelligenceReqReduction", "CharacterMeleeIntelligenceReqReduction") \
    X(CharAttributeVal_HuntingStrengthReqReduction, CharAttributeVal, HuntingStrengthReqReduction, "characterHuntingStrengthReqReduction", "CharacterHuntingStrengthReqReduction") \
    X(CharAttributeVal_HuntingDexterityReqReduction, CharAttributeVal, HuntingDexterityReqReduction, "characterHuntingDexterityReqReduction", "CharacterHuntingDexterityReqReduction") \
    X(CharAttributeVal_HuntingIntelligenceReqReduction, CharAttributeVal, HuntingIntelligenceReqReduction, "characterHuntingIntelligenceReqReduction", "CharacterHuntingIntelligenceReqReduction") \
    X(CharAttributeVal_StaffStrengthReqReduction, CharAttributeVal, StaffStrengthReqReduction, "characterStaffStrengthReqReduction", "CharacterStaffStrengthReqReduction") \
    X(CharAttributeVal_StaffDexterityReqReduction, CharAttributeVal, StaffDexterityReqReduction, "characterStaffDexterityReqReduction", "CharacterStaffDexterityReqReduction") \
    X(CharAttributeVal_StaffIntelligenceReqReduction, CharAttributeVal, StaffIntelligenceReqReduction, "characterStaffIntelligenceReqReduction", "CharacterStaffIntelligenceReqReduction") \
    X(CharAttributeVal_ShieldStrengthReqReduction, CharAttributeVal, ShieldStrengthReqReduction, "characterShieldStrengthReqReduction", "CharacterShieldStrengthReqReduction") \
    X(CharAttributeVal_ShieldDexterityReqReduction, CharAttributeVal, ShieldDexterityReqReduction, "characterShieldDexterityReqReduction", "CharacterShieldDexterityReqReduction") \
    X(CharAttributeVal_ShieldIntelligenceReqReduction, CharAttributeVal, ShieldIntelligenceReqReduction, "characterShieldIntelligenceReqReduction", "CharacterShieldIntelligenceReqReduction") \
    X(CharAttributeVal_ArmorStrengthReqReduction, CharAttributeVal, ArmorStrengthReqReduction, "characterArmorStrengthReqReduction", "CharacterArmorStrengthReqReduction") \
    X(CharAttributeVal_ArmorDexterityReqReduction, CharAttributeVal, ArmorDexterityReqReduction, "characterArmorDexterityReqReduction", "CharacterArmorDexterityReqReduction") \
    X(CharAttributeVal_ArmorIntelligenceReqReduction, CharAttributeVal, ArmorIntelligenceReqReduction, "characterArmorIntelligenceReqReduction", "CharacterArmorIntelligenceReqReduction") \
    X(CharAttributeVal_JewelryStrengthReqReduction, CharAttributeVal, JewelryStrengthReqReduction, "characterJewelryStrengthReqReduction", "CharacterJewelryStrengthReqReduction") \
    X(CharAttributeVal_JewelryDexterityReqReduction, CharAttributeVal, JewelryDexterityReqReduction, "characterJewelryDexterityReqReduction", "CharacterJewelryDexterityReqReduction") \
    X(CharAttributeVal_JewelryIntelligenceReqReduction, CharAttributeVal, JewelryIntelligenceReqReduction, "characterJewelryIntelligenceReqReduction", "CharacterJewelryIntelligenceReqReduction") \
    X(CharAttributeVal_GlobalReqReduction, CharAttributeVal, GlobalReqReduction, "characterGlobalReqReduction", "CharcterItemGlobalReduction") \
    X(CharAttributeVal_IncreasedExperience, CharAttributeVal, IncreasedExperience, "characterIncreasedExperience", "CharacterIncreasedExperience")
// clang-format on

#define GAME_CHAR_ATTRIBUTE_DECLARE_LEAF(Class, Kind, Type, Key, Tag) \
    class Class : public Kind {                                       \
    public:                                                           \
        Class() : Kind(CharAttributeType::Type, Key, Tag) {}          \
        GAME_CHAR_ATTRIBUTE_CLONE(Class)                              \
    };
GAME_CHAR_ATTRIBUTE_LEAVES(GAME_CHAR_ATTRIBUTE_DECLARE_LEAF)
#undef GAME_CHAR_ATTRIBUTE_DECLARE_LEAF

// The five leaves with rules of their own.

// Shows a record-chosen tag (no value) at every level; loads no prefix or suffix.
class CharAttributeVal_BaseAttackSpeed : public CharAttributeVal {
public:
    GAME_CHAR_ATTRIBUTE_CLONE(CharAttributeVal_BaseAttackSpeed)
    CharAttributeVal_BaseAttackSpeed();
    void LoadBaseTable(const LoadTable& record) override;
    void LoadPrefixTable(const LoadTable&, RandomUniform*) override {}
    void LoadSuffixTable(const LoadTable&, RandomUniform*) override {}
    void CreateText(unsigned level, TextList& first, TextList& second) const override;
    void CreateNextText(unsigned, unsigned, TextList&, TextList&) const override {}
    void AddJitter(float, RandomUniform*) override {}
    void ScaleAttribute(float) override {}
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override {
        AddCost(cost, CostPair::attackSpeed);
    }
    const std::string& GetDisplayTag() const { return mDisplayTag; }

private:
    std::string mDisplayTag = "CharacterAttackSpeedNotSet";
};

// A mana reserve is a penalty, so it adds nothing to an item's price.
class CharAttributeVal_ManaLimitReserve : public CharAttributeVal {
public:
    GAME_CHAR_ATTRIBUTE_CLONE(CharAttributeVal_ManaLimitReserve)
    CharAttributeVal_ManaLimitReserve()
        : CharAttributeVal(CharAttributeType::ManaLimitReserve, "characterManaLimitReserve",
                           "CharacterManaLimitReserve") {}
    void GetCostInfo(CostInfo_CharacterAttributes&) const override {}
};

class CharAttributeVal_LevelReqReduction : public CharAttributeVal {
public:
    GAME_CHAR_ATTRIBUTE_CLONE(CharAttributeVal_LevelReqReduction)
    CharAttributeVal_LevelReqReduction()
        : CharAttributeVal(CharAttributeType::LevelReqReduction, "characterLevelReqReduction",
                           "CharacterLevelReqReduction") {}
    void AddJitter(float, RandomUniform*) override {}
    void ScaleAttribute(float) override {}
};

// Fans out to the four speeds; never to its own slot.
class CharAttributeMod_TotalSpeed : public CharAttributeAttackSpeedMod {
public:
    GAME_CHAR_ATTRIBUTE_CLONE(CharAttributeMod_TotalSpeed)
    CharAttributeMod_TotalSpeed()
        : CharAttributeAttackSpeedMod(CharAttributeType::TotalSpeed, "characterTotalSpeedModifier",
                                      "CharacterTotalSpeedModifier") {}
    void AddToAccumulator(CharAttributeAccumulator& accumulator, unsigned level) const override;
    void GetCostInfo(CostInfo_CharacterAttributes& cost) const override;
};

// Raises the base attack speed with the attack speed.
class CharAttributeMod_AttackSpeed : public CharAttributeAttackSpeedMod {
public:
    GAME_CHAR_ATTRIBUTE_CLONE(CharAttributeMod_AttackSpeed)
    CharAttributeMod_AttackSpeed()
        : CharAttributeAttackSpeedMod(CharAttributeType::AttackSpeed,
                                      "characterAttackSpeedModifier",
                                      "CharacterAttackSpeedModifier") {}
    void AddToAccumulator(CharAttributeAccumulator& accumulator, unsigned level) const override;
};

}  // namespace GAME
