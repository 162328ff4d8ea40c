#pragma once
// What one skill record says about a skill and that never changes while the game runs. One
// profile exists per record name (the root's cache); every skill made from that record, on
// every character, reads it. Loaded once, read-only afterwards, so it is read without a lock.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Engine/world/Math.h"
#include "Game/rules/RacialBonus.h"
#include "Game/rules/combat/CombatAttributeType.h"
#include "Game/skills/profile/CharacterBuff.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

class LoadTable;
class CharAttributeAccumulator;
class SkillAttributeAccumulator;
class CombatAttributeAccumulator;
class CharAttributeStore_Skill;
class CharAttributeStore_SkillPenalty;
class SkillAttributeStore_Skill;
class DamageAttributeStore_Skill;
class RetaliationAttributeStore_Skill;
class DefenseAttributeStore_Skill;
enum class Weapon_Type : std::int32_t;

// A list read by skill level: level 1 is the first entry, every level past the end takes the
// last one, and level 0 or an empty list gives the caller's default.
template <class T>
struct SkillLevelList {
    std::vector<T> values;

    const T& At(unsigned level, const T& fallback) const {
        if (level == 0 || values.empty())
            return fallback;
        return values[std::min<std::size_t>(level - 1, values.size() - 1)];
    }
};

class SkillProfile {
public:
    static constexpr const char* kNeverLoadedTag = "Invalid Skill Profile";

    SkillProfile();
    virtual ~SkillProfile();
    // Copies share the attribute stores: nothing changes them after loading.
    SkillProfile(const SkillProfile&);
    SkillProfile& operator=(const SkillProfile&);

    virtual void LoadProfile(const LoadTable& record);

    // Plain fields.
    const std::string& GetDisplayNameTag() const { return mDisplayNameTag; }
    const std::string& GetBaseDescriptionTag() const { return mBaseDescriptionTag; }
    const std::string& GetUpBitmapName() const { return mUpBitmapName; }
    const std::string& GetDownBitmapName() const { return mDownBitmapName; }
    const std::vector<std::string>& GetConnectorsOn() const { return mConnectorsOn; }
    const std::vector<std::string>& GetConnectorsOff() const { return mConnectorsOff; }
    std::uint32_t GetMaxLevel() const { return mMaxLevel; }
    std::uint32_t GetUltimateLevel() const { return mUltimateLevel; }
    std::uint32_t GetMasteryLevelRequirement() const { return mMasteryLevelRequirement; }
    const std::vector<Weapon_Type>& GetQualifyingWeapons() const { return mQualifyingWeapons; }
    bool GetQualifyingDualWeapons() const { return mDualWieldOnly; }
    const std::vector<CombatAttributeType>& GetQualifyingDamage() const {
        return mQualifyingDamage;
    }
    const std::vector<std::string>& GetQualifyingDamageTags() const {
        return mQualifyingDamageTags;
    }
    const std::vector<std::string>& GetSkillDependancy() const { return mSkillDependancy; }
    bool AllowsWarmUp() const { return mAllowsWarmUp; }
    int GetActorScaleTime() const { return mActorScaleTime; }
    float GetActorScale() const { return mActorScale; }
    bool GetNotDispelSetting() const { return mNotDispelable; }
    const Name& GetSpecialAnimationName() const { return mSpecialAnimationName; }
    const std::string& GetRadiusMagicName() const { return mRadiusMagicName; }
    const std::string& GetRadiusEffectName() const { return mRadiusEffectName; }
    bool GetProjectileTargetGroundOnly() const { return mProjectileTargetsGroundOnly; }
    bool ProjectileUsesAllDamages() const { return mProjectileUsesAllDamages; }
    float GetSpawnObjectsSpacingAngle() const { return mSpawnObjectsSpacingAngle; }
    float GetSpawnObjectsDistanceInnerCircle() const { return mSpawnObjectsDistanceInnerCircle; }
    float GetSpawnObjectsDistanceIncrement() const { return mSpawnObjectsDistanceIncrement; }
    bool GetPetDisplayable() const { return mPetDisplayable; }
    const std::string& GetWarmUpSoundName() const { return mWarmUpSound; }
    const std::string& GetSwipeSoundName() const { return mSwipeSound; }
    const std::string& GetHitSoundName() const { return mHitSound; }
    const std::string& GetActivateSoundName() const { return mActivateSound; }
    const std::string& GetDeactivateSoundName() const { return mDeactivateSound; }
    const std::string& GetCastSoundName() const { return mCastSound; }
    const std::string& GetUnCastSoundName() const { return mUnCastSound; }
    const std::string& GetSkillSound1Name() const { return mSkillSound1; }
    const std::string& GetSkillSound2Name() const { return mSkillSound2; }
    const std::string& GetActiveAuraName() const { return mActivatedAuraName; }
    const std::string& GetCastAuraName() const { return mCastAuraName; }
    const std::string& GetSpellAuraName() const { return mSpellAuraName; }
    CharacterBuff GetCharBuffFxType() const { return mCharBuffFxType; }
    const std::string& GetParticleEffectName1() const { return mParticleEffectName1; }
    const std::string& GetParticleEffectAttachPoint1() const { return mParticleEffectAttach1; }
    const std::string& GetParticleEffectName2() const { return mParticleEffectName2; }
    const std::string& GetParticleEffectAttachPoint2() const { return mParticleEffectAttach2; }
    const std::string& GetParticleEffectName3() const { return mParticleEffectName3; }
    const std::string& GetParticleEffectAttachPoint3() const { return mParticleEffectAttach3; }
    const std::string& GetWarmUpEffectName() const { return mWarmUpEffectName; }
    const std::string& GetWarmUpEffectAttachPoint() const { return mWarmUpEffectAttach; }
    const std::string& GetPropName1() const { return mPropName1; }
    const std::string& GetPropName2() const { return mPropName2; }
    const std::string& GetPuppetName() const { return mPuppetName; }
    const std::string& GetBonusEffectName() const { return mBonusEffectName; }
    const std::string& GetLightningName() const { return mLightningName; }
    const std::string& GetRagDollEffect() const { return mRagDollEffect; }
    const std::string& GetRagDollDirection() const { return mRagDollDirection; }
    const std::string& GetRagDollPush() const { return mRagDollPush; }
    const std::string& GetRagDollElevation() const { return mRagDollElevation; }
    const std::vector<std::string>& GetRacialProfile() const { return mRacialProfile; }
    const CharAttributeStore_Skill& GetCharAttrStore() const { return *mCharAttributes; }
    const CharAttributeStore_SkillPenalty& GetCharAttrStorePenalty() const {
        return *mCharAttributesPenalty;
    }
    const SkillAttributeStore_Skill& GetSkillAttrStore() const { return *mSkillAttributes; }
    const DamageAttributeStore_Skill& GetDamageAttrStore() const { return *mDamageAttributes; }
    const RetaliationAttributeStore_Skill& GetRetaliationAttrStore() const {
        return *mRetaliationAttributes;
    }
    const DefenseAttributeStore_Skill& GetDefenseAttrStore() const { return *mDefenseAttributes; }
    const RacialBonus& GetRacialBonus() const { return *mRacialBonus; }

    // Derived.
    std::uint32_t GetNumberOfProjectiles() const;
    std::uint32_t GetNumberOfSpawnObjects() const {
        return static_cast<std::uint32_t>(mSpawnObjects.values.size());
    }
    bool IncludeRacialDamage() const { return !mExcludeRacialDamage; }
    // Every kind qualifies when the record names none.
    bool IsQualifyingDamage(CombatAttributeType type) const;

    // By skill level (see SkillLevelList).
    std::uint32_t GetChanceWeight(unsigned level) const { return mChanceWeight.At(level, 0u); }
    float GetLifeMonitorPercent(unsigned level) const {
        return mLifeMonitorPercent.At(level, 0.0f);
    }
    float GetRadiusTime(unsigned level) const { return mExpansionTime.At(level, 0.0f) * 1000.0f; }
    float GetActivationChance(unsigned level) const {
        return mOnHitActivationChance.At(level, 0.0f);
    }
    const std::string& GetProjectileName(unsigned level) const {
        return mProjectileName.At(level, mEmpty);
    }
    int GetProjectileHitTimeToLive(unsigned level) const {
        return ToMilliseconds(mProjectileHitTimeToLive.At(level, 0.0f));
    }
    int GetProjectileMissTimeToLive(unsigned level) const {
        return ToMilliseconds(mProjectileMissTimeToLive.At(level, 0.0f));
    }
    const std::string& GetSpawnObject(unsigned level) const {
        return mSpawnObjects.At(level, mEmpty);
    }
    int GetSpawnObjectTimeToLive(unsigned level) const {
        return ToMilliseconds(mSpawnObjectsTimeToLive.At(level, 0.0f));
    }
    std::uint32_t GetSpawnObjectsNumberOfRings(unsigned level) const {
        return mSpawnObjectsNumberOfRings.At(level, 0u);
    }
    std::uint32_t GetPetLimit(unsigned level) const { return mPetLimit.At(level, 0u); }
    std::uint32_t GetPetBurstSpawn(unsigned level) const { return mPetBurstSpawn.At(level, 0u); }
    const std::string& GetWeaponEnchantment(unsigned level) const {
        return mWeaponEnchantment.At(level, mEmpty);
    }
    float GetSpellAuraDuration(unsigned level) const { return mSpellAuraDuration.At(level, 1.0f); }
    const std::string& GetTargetFxPakName(unsigned level) const {
        return mTargetFxPakName.At(level, mEmpty);
    }
    const std::string& GetProjModImpactFxPakName(unsigned level) const {
        return mProjModImpactFxPakName.At(level, mEmpty);
    }
    const std::string& GetCharFxOtherName(unsigned level) const {
        return mCharFxPakOtherNames.At(level, mEmpty);
    }
    const std::string& GetCharFxSelfName(unsigned level) const {
        return mCharFxPakSelfNames.At(level, mEmpty);
    }
    const std::string& GetEndBuffSelfFxPakName(unsigned level) const {
        return mEndBuffSelfNames.At(level, mEmpty);
    }
    const std::string& GetEndBuffOtherFxPakName(unsigned level) const {
        return mEndBuffOtherNames.At(level, mEmpty);
    }
    const std::string& GetChargeAuraName(unsigned level) const {
        return mChargeAura.At(level, mEmpty);
    }
    std::uint32_t GetMaxChargeLevel(unsigned level) const { return mChargeLevel.At(level, 0u); }
    float GetChargeDuration(unsigned level) const {
        return mChargeDuration.At(level, 0.0f) * 1000.0f;
    }
    float GetChargeFactor(unsigned level) const { return mChargeFactor.At(level, 0.0f); }
    const SkillProfile_Modifiers& GetSkillModifierData(unsigned level) const {
        return mModifiers.At(level, mDefaultModifiers);
    }
    const SkillProfile_ProjectileModifiers& GetSkillProjectileModifierData(unsigned level) const {
        return mProjectileModifiers.At(level, mDefaultProjectileModifiers);
    }
    float GetLifeBonus(unsigned level) const { return mLifeBonus.At(level, 0.0f); }
    float GetManaBonus(unsigned level) const { return mManaBonus.At(level, 0.0f); }
    float GetSparkGap(unsigned level) const { return mSparkGap.At(level, 0.0f); }
    float GetSparkChance(unsigned level) const { return mSparkChance.At(level, 0.0f); }
    std::uint32_t GetSparkMaxNumber(unsigned level) const { return mSparkMaxNumber.At(level, 0u); }
    float GetRagDollAmplification(unsigned level) const {
        return mRagDollAmplification.At(level, 0.0f);
    }
    float GetDamageAbsorption(unsigned level) const { return mDamageAbsorption.At(level, 0.0f); }
    float GetDamageAbsorptionPercent(unsigned level) const {
        return mDamageAbsorptionPercent.At(level, 0.0f);
    }
    float GetSkillEnhancement(unsigned level) const {
        return static_cast<float>(mAllSkillEnhancement.At(level, 0u));
    }
    int GetContagionInterval(unsigned level) const {
        return mContagionInterval.values.empty() || level == 0
                   ? 1000
                   : ToMilliseconds(mContagionInterval.At(level, 0.0f));
    }
    float GetContagionRadius(unsigned level) const { return mContagionRadius.At(level, 2.0f); }
    int GetContagionLimit(unsigned level) const {
        return static_cast<int>(mContagionLimit.At(level, 1u));
    }
    int GetContagionMaxSpread(unsigned level) const {
        return static_cast<int>(mContagionMaxSpread.At(level, 1u));
    }
    std::size_t GetModifierLevelCount() const { return mModifiers.values.size(); }

    // Attribute contributions at a level.
    void GetCharAttributes(CharAttributeAccumulator& accumulator, unsigned level) const;
    void GetCharAttributesPenalty(CharAttributeAccumulator& accumulator, unsigned level) const;
    void GetSkillAttributes(SkillAttributeAccumulator& accumulator, unsigned level) const;
    void GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator,
                                      unsigned level) const;
    void GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator,
                                        unsigned level) const;
    // Damages, then modifiers.
    void GetRetaliationAttributes(CombatAttributeAccumulator& accumulator, unsigned level) const;
    void GetDefenseAttributes(CombatAttributeAccumulator& accumulator, unsigned level) const;
    void GetRacialBonusDamage(const std::vector<std::string>& races, RacialBonus_Damage& bonus,
                              unsigned level) const;
    void GetRacialBonusDefense(const std::vector<std::string>& races, RacialBonus_Defense& bonus,
                               unsigned level) const;

    // Record seconds become whole milliseconds, truncated; a time past the integer range is
    // held at its end rather than wrapped.
    static int ToMilliseconds(float seconds) { return SaturatedInt(seconds * 1000.0f); }
    static int SaturatedInt(float value) { return GAME::SaturatedInt(value); }

private:
    void LoadQualifiers(const LoadTable& record);
    void LoadModifiers(const LoadTable& record);

    // 1-4
    std::string mDisplayNameTag = kNeverLoadedTag;
    std::string mBaseDescriptionTag = kNeverLoadedTag;
    std::string mUpBitmapName;
    std::string mDownBitmapName;
    std::vector<std::string> mConnectorsOn;
    std::vector<std::string> mConnectorsOff;
    std::uint32_t mMaxLevel = 0;
    std::uint32_t mUltimateLevel = 0;
    std::uint32_t mMasteryLevelRequirement = 0;
    // 5-7
    std::vector<Weapon_Type> mQualifyingWeapons;
    bool mDualWieldOnly = false;
    std::vector<CombatAttributeType> mQualifyingDamage;
    std::vector<std::string> mQualifyingDamageTags;
    std::vector<std::string> mSkillDependancy;
    bool mAllowsWarmUp = false;
    // 8
    std::shared_ptr<CharAttributeStore_Skill> mCharAttributes;
    std::shared_ptr<CharAttributeStore_SkillPenalty> mCharAttributesPenalty;
    std::shared_ptr<SkillAttributeStore_Skill> mSkillAttributes;
    std::shared_ptr<DamageAttributeStore_Skill> mDamageAttributes;
    std::shared_ptr<RetaliationAttributeStore_Skill> mRetaliationAttributes;
    std::shared_ptr<DefenseAttributeStore_Skill> mDefenseAttributes;
    std::shared_ptr<RacialBonus> mRacialBonus;
    // 9
    SkillLevelList<std::uint32_t> mChanceWeight;
    SkillLevelList<float> mLifeMonitorPercent;
    SkillLevelList<float> mExpansionTime;
    std::string mRadiusMagicName;
    std::string mRadiusEffectName;
    SkillLevelList<float> mOnHitActivationChance;
    // 10
    int mActorScaleTime = 0;
    float mActorScale = 0.0f;
    bool mNotDispelable = false;
    Name mSpecialAnimationName;
    // 11
    SkillLevelList<std::string> mProjectileName;
    SkillLevelList<float> mProjectileHitTimeToLive;
    SkillLevelList<float> mProjectileMissTimeToLive;
    std::uint32_t mNumberOfProjectiles = 0;
    bool mProjectileTargetsGroundOnly = false;
    bool mProjectileUsesAllDamages = false;
    // 12
    SkillLevelList<std::string> mSpawnObjects;
    SkillLevelList<float> mSpawnObjectsTimeToLive;
    SkillLevelList<std::uint32_t> mSpawnObjectsNumberOfRings;
    float mSpawnObjectsSpacingAngle = 0.0f;
    float mSpawnObjectsDistanceInnerCircle = 0.0f;
    float mSpawnObjectsDistanceIncrement = 0.0f;
    SkillLevelList<std::uint32_t> mPetLimit;
    SkillLevelList<std::uint32_t> mPetBurstSpawn;
    bool mPetDisplayable = false;
    // 13
    std::string mWarmUpSound;
    std::string mSwipeSound;
    std::string mHitSound;
    std::string mActivateSound;
    std::string mDeactivateSound;
    std::string mCastSound;
    std::string mUnCastSound;
    std::string mSkillSound1;
    std::string mSkillSound2;
    // 14
    SkillLevelList<std::string> mWeaponEnchantment;
    std::string mActivatedAuraName;
    std::string mCastAuraName;
    SkillLevelList<std::string> mChargeAura;
    std::string mSpellAuraName;
    SkillLevelList<float> mSpellAuraDuration;
    std::string mEmpty;
    // 15, 16
    SkillLevelList<std::string> mTargetFxPakName;
    SkillLevelList<std::string> mProjModImpactFxPakName;
    CharacterBuff mCharBuffFxType = CharacterBuff::None;
    SkillLevelList<std::string> mCharFxPakOtherNames;
    SkillLevelList<std::string> mCharFxPakSelfNames;
    SkillLevelList<std::string> mEndBuffSelfNames;
    SkillLevelList<std::string> mEndBuffOtherNames;
    // 17, 18
    std::string mParticleEffectName1;
    std::string mParticleEffectAttach1;
    std::string mParticleEffectName2;
    std::string mParticleEffectAttach2;
    std::string mParticleEffectName3;
    std::string mParticleEffectAttach3;
    std::string mWarmUpEffectName;
    std::string mWarmUpEffectAttach;
    std::string mPropName1;
    std::string mPropName2;
    std::string mPuppetName;
    // 19, 20
    SkillLevelList<std::uint32_t> mChargeLevel;
    SkillLevelList<float> mChargeDuration;
    SkillLevelList<float> mChargeFactor;
    SkillLevelList<SkillProfile_Modifiers> mModifiers;
    SkillProfile_Modifiers mDefaultModifiers;
    SkillLevelList<SkillProfile_ProjectileModifiers> mProjectileModifiers;
    SkillProfile_ProjectileModifiers mDefaultProjectileModifiers;
    // 21-23
    SkillLevelList<float> mLifeBonus;
    SkillLevelList<float> mManaBonus;
    std::string mBonusEffectName;
    SkillLevelList<float> mSparkGap;
    SkillLevelList<float> mSparkChance;
    SkillLevelList<std::uint32_t> mSparkMaxNumber;
    std::string mLightningName;
    std::string mRagDollEffect;
    std::string mRagDollDirection;
    std::string mRagDollPush;
    std::string mRagDollElevation;
    SkillLevelList<float> mRagDollAmplification;
    // 24, 25
    SkillLevelList<float> mDamageAbsorption;
    SkillLevelList<float> mDamageAbsorptionPercent;
    std::vector<std::string> mRacialProfile;
    bool mExcludeRacialDamage = false;
    SkillLevelList<std::uint32_t> mAllSkillEnhancement;
    SkillLevelList<float> mContagionInterval;
    SkillLevelList<float> mContagionRadius;
    SkillLevelList<std::uint32_t> mContagionLimit;
    SkillLevelList<std::uint32_t> mContagionMaxSpread;
};

}  // namespace GAME
