#include "Game/skills/profile/SkillProfile.h"

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemClassification.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"

namespace GAME {

namespace {

// The staff-less magical implements have no item kind of their own yet.
constexpr Weapon_Type kWeaponMagical = static_cast<Weapon_Type>(8);

struct WeaponQualifier {
    const char* key;
    Weapon_Type type;
};
constexpr WeaponQualifier kWeaponQualifiers[] = {
    {"Sword", Weapon_Type::Sword}, {"Axe", Weapon_Type::Axe},       {"Bow", Weapon_Type::Bow},
    {"Spear", Weapon_Type::Spear}, {"Mace", Weapon_Type::Mace},     {"Staff", Weapon_Type::Staff},
    {"Magical", kWeaponMagical},   {"Shield", Weapon_Type::Shield},
};

struct DamageQualifier {
    const char* key;
    CombatAttributeType type;
    const char* tag;
};
constexpr DamageQualifier kDamageQualifiers[] = {
    {"physicalDamageQualifier", CombatAttributeType::Physical, "tagQualifyingDamagePhysical"},
    {"pierceDamageQualifier", CombatAttributeType::Pierce, "tagQualifyingDamagePierce"},
    {"lightningDamageQualifier", CombatAttributeType::Lightning, "tagQualifyingDamageLightning"},
    {"fireDamageQualifier", CombatAttributeType::Fire, "tagQualifyingDamageFire"},
    {"coldDamageQualifier", CombatAttributeType::Cold, "tagQualifyingDamageCold"},
    {"poisonDamageQualifier", CombatAttributeType::Poison, "tagQualifyingDamagePoison"},
    {"lifeDamageQualifier", CombatAttributeType::Life, "tagQualifyingDamageLife"},
    {"bleedingDamageQualifier", CombatAttributeType::Bleeding, "tagQualifyingDamageBleeding"},
};

void Read(const LoadTable& record, const char* key, SkillLevelList<float>& list) {
    record.GetFloatArray(key, list.values);
}
void Read(const LoadTable& record, const char* key, SkillLevelList<std::uint32_t>& list) {
    record.GetUIntArray(key, list.values);
}
void Read(const LoadTable& record, const char* key, SkillLevelList<std::string>& list) {
    record.GetStringArray(key, list.values);
}

// The profile keeps a modifier block per level up to the ultimate level, so a level beyond
// any real skill's reach is refused rather than allocated.
constexpr std::uint32_t kLevelLimit = 1000;

std::uint32_t ReadLevel(const LoadTable& record, const char* key) {
    const std::uint32_t level = record.GetUInt(key);
    if (level <= kLevelLimit)
        return level;
    gEngine->Log(1, "SkillProfile: %s field %s is %u, above the limit %u; %u is used",
                 record.GetRecordName().c_str(), key, level, kLevelLimit, kLevelLimit);
    return kLevelLimit;
}

template <class Store>
std::shared_ptr<Store> LoadStore(const LoadTable& record) {
    auto store = std::make_shared<Store>();
    store->Load(record);
    return store;
}

}  // namespace

SkillProfile::SkillProfile()
    : mCharAttributes(std::make_shared<CharAttributeStore_Skill>()),
      mCharAttributesPenalty(std::make_shared<CharAttributeStore_SkillPenalty>()),
      mSkillAttributes(std::make_shared<SkillAttributeStore_Skill>()),
      mDamageAttributes(std::make_shared<DamageAttributeStore_Skill>()),
      mRetaliationAttributes(std::make_shared<RetaliationAttributeStore_Skill>()),
      mDefenseAttributes(std::make_shared<DefenseAttributeStore_Skill>()),
      mRacialBonus(std::make_shared<RacialBonus>()) {}

SkillProfile::~SkillProfile() = default;
SkillProfile::SkillProfile(const SkillProfile&) = default;
SkillProfile& SkillProfile::operator=(const SkillProfile&) = default;

void SkillProfile::LoadProfile(const LoadTable& r) {
    mDisplayNameTag = r.GetString("skillDisplayName");
    mBaseDescriptionTag = r.GetString("skillBaseDescription");
    mMasteryLevelRequirement = gGameEngine->GetSkillMasteryLevel(r.GetUInt("skillTier"));
    mPetDisplayable = r.GetBool("isPetDisplayable");
    mMaxLevel = ReadLevel(r, "skillMaxLevel");
    mUltimateLevel = std::max(ReadLevel(r, "skillUltimateLevel"), mMaxLevel);
    LoadQualifiers(r);
    r.GetStringArray("skillDependancy", mSkillDependancy);
    mUpBitmapName = r.GetString("skillUpBitmapName");
    mDownBitmapName = r.GetString("skillDownBitmapName");
    r.GetStringArray("skillConnectionOn", mConnectorsOn);
    r.GetStringArray("skillConnectionOff", mConnectorsOff);
    mSpecialAnimationName = Name::Create(r.GetString("skillSpecialAnimationName"));
    mNumberOfProjectiles = r.GetUInt("skillProjectileNumber");
    mProjectileTargetsGroundOnly = r.GetBool("skillProjectileTargetGroundOnly");
    Read(r, "skillProjectileName", mProjectileName);
    mProjectileUsesAllDamages = r.GetBool("projectileUsesAllDamage");
    Read(r, "skillProjectileHitTimeToLive", mProjectileHitTimeToLive);
    Read(r, "skillProjectileMissTimeToLive", mProjectileMissTimeToLive);
    Read(r, "skillChanceWeight", mChanceWeight);
    Read(r, "lifeMonitorPercent", mLifeMonitorPercent);
    Read(r, "expansionTime", mExpansionTime);
    mRadiusMagicName = r.GetString("radiusMagicName");
    mRadiusEffectName = r.GetString("radiusEffectName");
    Read(r, "onHitActivationChance", mOnHitActivationChance);
    mActorScaleTime = ToMilliseconds(r.GetFloat("actorScaleTime"));
    mActorScale = r.GetFloat("actorScale");
    LoadModifiers(r);
    mWarmUpSound = r.GetString("skillWarmUpSound");
    mSwipeSound = r.GetString("skillSwipeSound");
    mHitSound = r.GetString("skillHitSound");
    mActivateSound = r.GetString("skillActivatedSound");
    mDeactivateSound = r.GetString("skillDeactivatedSound");
    mCastSound = r.GetString("skillCastSound");
    mUnCastSound = r.GetString("skillUnCastSound");
    mSkillSound1 = r.GetString("skillSound1");
    mSkillSound2 = r.GetString("skillSound2");
    Read(r, "weaponEnchantment", mWeaponEnchantment);
    mActivatedAuraName = r.GetString("skillActivatedAuraName");
    mCastAuraName = r.GetString("skillCastAuraName");
    Read(r, "skillChargeAura", mChargeAura);
    mSpellAuraName = r.GetString("skillSpellAura");
    Read(r, "skillSpellAuraDuration", mSpellAuraDuration);
    Read(r, "targetFxPakName", mTargetFxPakName);
    Read(r, "projModImpactFxPakName", mProjModImpactFxPakName);
    if (const std::string buff = r.GetString("charBuffFxType"); !buff.empty())
        mCharBuffFxType = ConvertFxBuffName(buff);
    mParticleEffectName1 = r.GetString("particleEffectName1");
    mParticleEffectAttach1 = r.GetString("particleEffectAttachPoint1");
    mParticleEffectName2 = r.GetString("particleEffectName2");
    mParticleEffectAttach2 = r.GetString("particleEffectAttachPoint2");
    mParticleEffectName3 = r.GetString("particleEffectName3");
    mParticleEffectAttach3 = r.GetString("particleEffectAttachPoint3");
    mWarmUpEffectName = r.GetString("warmUpEffectName");
    mWarmUpEffectAttach = r.GetString("warmUpEffectAttachPoint");
    Read(r, "charFxPakOtherNames", mCharFxPakOtherNames);
    Read(r, "charFxPakSelfNames", mCharFxPakSelfNames);
    Read(r, "endBuffSelfNames", mEndBuffSelfNames);
    Read(r, "endBuffOtherNames", mEndBuffOtherNames);
    mPropName1 = r.GetString("propName1");
    mPropName2 = r.GetString("propName2");
    mPuppetName = r.GetString("puppetName");
    Read(r, "skillChargeLevel", mChargeLevel);
    Read(r, "skillChargeDuration", mChargeDuration);
    Read(r, "skillChargeFactor", mChargeFactor);
    mAllowsWarmUp = r.GetBool("skillAllowsWarmUp");
    Read(r, "skillLifeBonus", mLifeBonus);
    Read(r, "skillManaBonus", mManaBonus);
    mBonusEffectName = r.GetString("skillBonusEffectName");
    Read(r, "spawnObjects", mSpawnObjects);
    Read(r, "spawnObjectsTimeToLive", mSpawnObjectsTimeToLive);
    Read(r, "spawnObjectsNumberOfRings", mSpawnObjectsNumberOfRings);
    mSpawnObjectsSpacingAngle = r.GetFloat("spawnObjectsSpacingAngle");
    mSpawnObjectsDistanceInnerCircle = r.GetFloat("spawnObjectsDistanceInnerCircle");
    mSpawnObjectsDistanceIncrement = r.GetFloat("spawnObjectsDistanceIncrement");
    Read(r, "petLimit", mPetLimit);
    Read(r, "petBurstSpawn", mPetBurstSpawn);
    Read(r, "sparkGap", mSparkGap);
    Read(r, "sparkChance", mSparkChance);
    Read(r, "sparkMaxNumber", mSparkMaxNumber);
    mLightningName = r.GetString("lightningName");
    mRagDollEffect = r.GetString("ragDollEffect");
    mRagDollDirection = r.GetString("ragDollDirection");
    mRagDollPush = r.GetString("ragDollPush");
    mRagDollElevation = r.GetString("ragDollElevation");
    Read(r, "ragDollAmplification", mRagDollAmplification);
    mCharAttributes = LoadStore<CharAttributeStore_Skill>(r);
    mCharAttributesPenalty = LoadStore<CharAttributeStore_SkillPenalty>(r);
    mSkillAttributes = LoadStore<SkillAttributeStore_Skill>(r);
    mDamageAttributes = LoadStore<DamageAttributeStore_Skill>(r);
    mRetaliationAttributes = LoadStore<RetaliationAttributeStore_Skill>(r);
    mDefenseAttributes = LoadStore<DefenseAttributeStore_Skill>(r);
    mRacialBonus = LoadStore<RacialBonus>(r);
    mExcludeRacialDamage = r.GetBool("excludeRacialDamage");
    Read(r, "damageAbsorption", mDamageAbsorption);
    Read(r, "damageAbsorptionPercent", mDamageAbsorptionPercent);
    r.GetStringArray("racialProfile", mRacialProfile);
    mNotDispelable = r.GetBool("notDispelable");
    Read(r, "allSkillEnhancement", mAllSkillEnhancement);
    Read(r, "contagionInterval", mContagionInterval);
    Read(r, "contagionRadius", mContagionRadius);
    Read(r, "contagionLimit", mContagionLimit);
    Read(r, "contagionMaxSpread", mContagionMaxSpread);
}

void SkillProfile::LoadQualifiers(const LoadTable& r) {
    mQualifyingWeapons.clear();
    for (const auto& weapon : kWeaponQualifiers)
        if (r.GetBool(weapon.key))
            mQualifyingWeapons.push_back(weapon.type);
    mDualWieldOnly = r.GetBool("dualWieldOnly");

    mQualifyingDamage.clear();
    mQualifyingDamageTags.clear();
    for (const auto& damage : kDamageQualifiers) {
        if (r.GetBool(damage.key)) {
            mQualifyingDamage.push_back(damage.type);
            mQualifyingDamageTags.emplace_back(damage.tag);
        }
    }
    if (r.GetBool("elementalDamageQualifier")) {
        mQualifyingDamage.insert(
            mQualifyingDamage.end(),
            {CombatAttributeType::Fire, CombatAttributeType::Cold, CombatAttributeType::Lightning});
        mQualifyingDamageTags.emplace_back("tagQualifyingDamageElemental");
    }
}

// One block of each kind per level up to the ultimate level, so both lists always cover every
// level a skill can reach.
void SkillProfile::LoadModifiers(const LoadTable& r) {
    mModifiers.values.assign(mUltimateLevel, SkillProfile_Modifiers());
    mProjectileModifiers.values.assign(mUltimateLevel, SkillProfile_ProjectileModifiers());
    for (std::uint32_t index = 0; index < mUltimateLevel; ++index) {
        mModifiers.values[index].Load(r, index);
        mProjectileModifiers.values[index].Load(r, index);
    }
}

std::uint32_t SkillProfile::GetNumberOfProjectiles() const {
    return mNumberOfProjectiles == 0 ? 1 : mNumberOfProjectiles;
}

bool SkillProfile::IsQualifyingDamage(CombatAttributeType type) const {
    return mQualifyingDamage.empty() ||
           std::find(mQualifyingDamage.begin(), mQualifyingDamage.end(), type) !=
               mQualifyingDamage.end();
}

void SkillProfile::GetCharAttributes(CharAttributeAccumulator& accumulator, unsigned level) const {
    mCharAttributes->AddToAccumulator(accumulator, level);
}

void SkillProfile::GetCharAttributesPenalty(CharAttributeAccumulator& accumulator,
                                            unsigned level) const {
    mCharAttributesPenalty->AddToAccumulator(accumulator, level);
}

void SkillProfile::GetSkillAttributes(SkillAttributeAccumulator& accumulator,
                                      unsigned level) const {
    mSkillAttributes->AddToAccumulator(accumulator, level);
}

void SkillProfile::GetOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator,
                                                unsigned level) const {
    mDamageAttributes->AddDamageToAccumulator(accumulator, level);
}

void SkillProfile::GetOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator,
                                                  unsigned level) const {
    mDamageAttributes->AddModifierToAccumulator(accumulator, level);
}

void SkillProfile::GetRetaliationAttributes(CombatAttributeAccumulator& accumulator,
                                            unsigned level) const {
    mRetaliationAttributes->AddDamageToAccumulator(accumulator, level);
    mRetaliationAttributes->AddModifierToAccumulator(accumulator, level);
}

void SkillProfile::GetDefenseAttributes(CombatAttributeAccumulator& accumulator,
                                        unsigned level) const {
    mDefenseAttributes->AddToAccumulator(accumulator, level);
}

void SkillProfile::GetRacialBonusDamage(const std::vector<std::string>& races,
                                        RacialBonus_Damage& bonus, unsigned level) const {
    mRacialBonus->ContributeDamage(races, bonus, level);
}

void SkillProfile::GetRacialBonusDefense(const std::vector<std::string>& races,
                                         RacialBonus_Defense& bonus, unsigned level) const {
    mRacialBonus->ContributeDefense(races, bonus, level);
}

}  // namespace GAME
