#pragma once
// What an item's attributes grant, summed per family for the item's price and dumped to the
// log for debugging. The records only accumulate; contributors add into their fields.
namespace GAME {

struct CostInfo_CharacterAttributes {
    CostInfo_CharacterAttributes() { Clear(); }
    void Clear();
    int GetTotalCount() const;
    void Dump() const;

    float primaryAtt;
    int primaryAttCount;
    float secondaryAtt;
    int secondaryAttCount;
    float bonus;
    int bonusCount;
    float primaryMod;
    int primaryModCount;
    float secondaryMod;
    int secondaryModCount;
    float bonusMod;
    int bonusModCount;
    float attackSpeed;
    int attackSpeedCount;
    float otherSpeed;
    int otherSpeedCount;
    float attackSpeedMod;
    int attackSpeedModCount;
    float otherSpeedMod;
    int otherSpeedModCount;
};

struct CostInfo_SkillAttributes {
    CostInfo_SkillAttributes() { Clear(); }
    void Clear();
    int GetCount() const { return bonusCount; }
    void Dump() const;

    float base;
    float bonus;
    float modifier;
    int bonusCount;
};

struct CostInfo_DefenseAttributes {
    CostInfo_DefenseAttributes() { Clear(); }
    void Clear();
    int GetCount() const { return count; }
    void Dump() const;

    float armor;
    float base;
    float baseDuration;
    float mod;
    float modDuration;
    int count;
};

struct CostInfo_DamageAttributes {
    CostInfo_DamageAttributes() { Clear(); }
    virtual ~CostInfo_DamageAttributes() = default;
    void Clear();
    int GetCount() const { return count; }
    virtual void Dump() const;

    float avgBase;
    float avgPierceRatio;
    float avgBonus;
    float avgOverTime;
    float mod;
    float modDur;
    int count;
};

struct CostInfo_RetaliationAttributes : CostInfo_DamageAttributes {
    void Dump() const override;
};

struct CostInfo_AugmentAttributes {
    CostInfo_AugmentAttributes() { Clear(); }
    void Clear();
    int GetCount() const { return augmentCount; }
    void Dump() const;

    int augmentLevel;
    int augmentCount;
};

struct CostInfo_ShieldAttributes {
    CostInfo_ShieldAttributes() { Clear(); }
    void Clear();
    void Dump() const;

    float blockChance;
    float blockDefense;
    float blockAbsorption;
    float blockRecoveryTime;
};

}  // namespace GAME
