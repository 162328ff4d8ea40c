#include "Game/rules/combat/CombatManager.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/combat/CombatFilter.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

namespace {

constexpr const char* kFormulaKeys[] = {
#define GAME_COMBAT_FORMULA_KEY(Id, Key) Key,
    GAME_COMBAT_FORMULAS(GAME_COMBAT_FORMULA_KEY)
#undef GAME_COMBAT_FORMULA_KEY
};

// Read in this order from the record; each formula lands in its own slot.
constexpr CombatFormula kRecordOrder[] = {
    CombatFormula::PhysicalDamage,   CombatFormula::PierceDamage,
    CombatFormula::ElementalDamage,  CombatFormula::ElementalDurationDamage,
    CombatFormula::ArmorDGP,         CombatFormula::ArmorDLEP,
    CombatFormula::OffensiveAbility, CombatFormula::DefensiveAbility,
    CombatFormula::ProbabilityToHit, CombatFormula::MeleeBlock,
    CombatFormula::ProjectileBlock,  CombatFormula::ShieldDGB,
    CombatFormula::ShieldDLEB,       CombatFormula::NormalPTH,
};

constexpr const char* kRegionKeys[CombatManager::kRegions] = {
    "combatRegionFullyProtectedChance", "combatRegionUnprotectedChance", "combatRegionHeadChance",
    "combatRegionTorsoChance",          "combatRegionArmsChance",        "combatRegionLegsChance",
};

thread_local bool tTraceEnabled = false;

}  // namespace

CombatManager::CombatManager() = default;
CombatManager::~CombatManager() = default;

namespace {
struct CriticalHitText {
    bool enabled = true;
};
}  // namespace

void CombatManager::SetCriticalHitTextEnabled(bool on) {
    Singleton<CriticalHitText>::Get().enabled = on;
}

bool CombatManager::IsCriticalHitTextEnabled() {
    return Singleton<CriticalHitText>::Get().enabled;
}

void CombatManager::SetTraceEnabled(bool on) {
    tTraceEnabled = on;
}

bool CombatManager::IsTraceEnabled() {
    return tTraceEnabled;
}

void CombatManager::Trace(const char* format, ...) {
    if (!gEngine || !tTraceEnabled)
        return;
    va_list args;
    va_start(args, format);
    gEngine->LogV(0, kTraceChannel, format, args);
    va_end(args);
}

bool CombatManager::GetDesignerVariable(const char* name, float& value) {
#define GAME_COMBAT_VARIABLE_READ(Name)  \
    if (std::strcmp(name, #Name) == 0) { \
        value = m_##Name;                \
        return true;                     \
    }
    GAME_COMBAT_VARIABLES(GAME_COMBAT_VARIABLE_READ)
#undef GAME_COMBAT_VARIABLE_READ
    const struct {
        const char* name;
        CharAttributeType type;
    } attributes[] = {{"strengthDV", CharAttributeType::Strength},
                      {"dexterityDV", CharAttributeType::Dexterity},
                      {"intelligenceDV", CharAttributeType::Intelligence}};
    for (const auto& attribute : attributes) {
        if (std::strcmp(name, attribute.name) == 0) {
            value = mCharacter ? mCharacter->GetTotalCharAttribute(attribute.type) : 0.0f;
            return true;
        }
    }
    if (std::strcmp(name, "characterLevelDV") == 0) {
        value = mCharacter ? static_cast<float>(mCharacter->GetCharLevel()) : 0.0f;
        return true;
    }
    return false;
}

void CombatManager::Load(const LoadTable& table) {
    mHandMin = table.GetFloat("handHitDamageMin", 0.0f);
    mHandMax = table.GetFloat("handHitDamageMax", 0.0f);
    mFootMin = table.GetFloat("footHitDamageMin", 0.0f);
    mFootMax = table.GetFloat("footHitDamageMax", 0.0f);
    mEquipManager.Load(table);
}

void CombatManager::GetHandHitDamage(CombatAttributeAccumulator& accumulator) const {
    const float damage = accumulator.GetRandomGen().FGenerate(mHandMin, mHandMax);
    if (damage > 0.0f)
        accumulator.AddDamage(std::make_unique<CombatAttributeDamage_BasePhysical>(
            CombatAttributeType::Physical, damage, 0.0f, true));
}

void CombatManager::LoadRecord(const std::string& fileName) {
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(fileName);
    const LoadTable table = objects.GetLoadTable(fileName);
    mRegionChances.clear();
    mRegionTotal = 0;
    for (std::size_t i = 0; i < kRegions; ++i) {
        const auto chance = static_cast<std::uint32_t>(table.GetInt(kRegionKeys[i], 0));
        mRegionChances.emplace_back(static_cast<CombatAttributeRegion>(i), chance);
        mRegionTotal += chance;
    }
    for (CombatFormula formula : kRecordOrder) {
        const auto slot = static_cast<std::size_t>(formula);
        mFormulas[slot].reset();
        const std::string text = table.GetString(kFormulaKeys[slot]);
        if (text.empty())
            continue;
        auto equation = std::make_unique<DesignerEquation_Algebra>();
        const std::string source = table.GetRecordName() + " " + kFormulaKeys[slot];
        if (equation->ParseEquation(text.c_str(), this, source.c_str()))
            mFormulas[slot] = std::move(equation);
        else if (gEngine)
            gEngine->Log(1, "-=- Combat Manager Equation load failure : %s", kFormulaKeys[slot]);
    }
    char key[32];
    for (std::size_t i = 0; i < kThresholds; ++i) {
        std::snprintf(key, sizeof key, "pthThreshold%zu", i + 1);
        mThresholds[i] = table.GetFloat(key, 0.0f);
        std::snprintf(key, sizeof key, "pthDamageModifier%zu", i + 1);
        mModifiers[i] = table.GetFloat(key, 0.0f);
    }
}

void CombatManager::AssignParent(Character* character) {
    mCharacter = character;
    mDurationDamage.SetOwner(character);
    mEquipManager.AttachParent(character);
}

void CombatManager::Update(int ms) {
    mInCombatLeft -= ms;
    if (mInCombatLeft < 1)
        mState = CombatManager_State::NotInCombat;
    if (mBlockRecoveryLeft > 0)
        mBlockRecoveryLeft -= ms;
    mDurationDamage.Update(ms);
}

void CombatManager::AddCombatFilter(CombatFilter* filter) {
    if (filter && std::find(mFilters.begin(), mFilters.end(), filter) == mFilters.end())
        mFilters.push_back(filter);
}

void CombatManager::RemoveCombatFilter(CombatFilter* filter) {
    std::erase(mFilters, filter);
}

void CombatManager::ImDying() {
    mDurationDamage.DelayedClearHack();
    mState = CombatManager_State::NotInCombat;
    mInCombatLeft = 0;
}

void CombatManager::GiveBonus(const Bonus& bonus, std::uint32_t characterId) {
    if (characterId == 0)
        return;
    if (auto* character = Singleton<ObjectManager>::Get().GetObject<Character>(characterId))
        character->TakeBonus(bonus, false, 0);
}

namespace {

float Slowed(float value, float percent) {
    return value * (1.0f - percent * 0.01f);
}

}  // namespace

float CombatManager::GetRunSpeed(float speed) const {
    return Slowed(speed, mDurationDamage.GetFixedDamage(CombatAttributeType::RunSpeed));
}

float CombatManager::GetAttackSpeed(float speed) const {
    return Slowed(speed, mDurationDamage.GetFixedDamage(CombatAttributeType::AttackSpeed));
}

float CombatManager::ContributeSpellCastSpeed(float speed) const {
    return Slowed(speed, mDurationDamage.GetFixedDamage(CombatAttributeType::SpellCastSpeed));
}

float CombatManager::ContributeOffensiveAbility(float oa) const {
    return std::max(
        Slowed(oa, mDurationDamage.GetFixedDamage(CombatAttributeType::OffensiveAbility)), 0.0f);
}

float CombatManager::ContributeDefensiveAbility(float da) const {
    return std::max(
        Slowed(da, mDurationDamage.GetFixedDamage(CombatAttributeType::DefensiveAbility)), 0.0f);
}

float CombatManager::ContributeOffensiveReduction() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::OffensiveReduction);
}

float CombatManager::ContributeDefensiveReduction() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::DefensiveReduction);
}

float CombatManager::ContributeFumbleDamage() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::Fumble);
}

float CombatManager::ContributeProjectileFumbleDamage() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::ProjectileFumble);
}

float CombatManager::ContributeTotalDamageReductionPercent() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::TotalDamageReductionPercent);
}

float CombatManager::ContributeTotalDamageReductionAbsolute() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::TotalDamageReductionAbsolute);
}

float CombatManager::ContributeTotalResistanceReductionPercent() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::TotalResistanceReductionPercent);
}

float CombatManager::ContributeTotalResistanceReductionAbsolute() const {
    return mDurationDamage.GetFixedDamage(CombatAttributeType::TotalResistanceReductionAbsolute);
}

float CombatManager::GetRegionChance(CombatAttributeRegion region) const {
    for (const auto& [which, chance] : mRegionChances) {
        if (which == region)
            return static_cast<float>(chance);
    }
    return 0.0f;
}

CombatAttributeRegion CombatManager::PickRegion(RandomUniform& gen) const {
    const int r = gen.IGenerate(1, static_cast<int>(mRegionTotal));
    std::int64_t sum = 0;
    for (const auto& [region, chance] : mRegionChances) {
        sum += chance;
        if (sum >= r)
            return region;
    }
    return CombatAttributeRegion::FullyProtected;
}

float CombatManager::Evaluate(CombatFormula formula, float fallback) const {
    const auto& equation = mFormulas[static_cast<std::size_t>(formula)];
    return equation ? (*equation)() : fallback;
}

float CombatManager::DesignerCalculatePhysicalDamage(float x) {
    m_physicalDamageDV = x;
    return Evaluate(CombatFormula::PhysicalDamage, x);
}

float CombatManager::DesignerCalculatePierceDamage(float x) {
    m_pierceDamageDV = x;
    return Evaluate(CombatFormula::PierceDamage, x);
}

float CombatManager::DesignerCalculateElementalDamage(float x) {
    m_elementalDamageDV = x;
    return Evaluate(CombatFormula::ElementalDamage, x);
}

float CombatManager::DesignerCalculateElementalDurationDamage(float x) {
    m_elementalDamageDV = x;
    return Evaluate(CombatFormula::ElementalDurationDamage, x);
}

float CombatManager::DesignerCalculateOffensiveAbility(float bonus) {
    m_bonusDV = bonus;
    if (mCharacter) {
        m_offensiveAbilityDV =
            mCharacter->GetTotalCharAttribute(CharAttributeType::OffensiveAbility);
        m_offensiveAbilityModifierDV =
            mCharacter->GetTotalCharAttribute(CharAttributeType::OffensiveAbilityModifier);
    }
    return ContributeOffensiveAbility(
        std::max(Evaluate(CombatFormula::OffensiveAbility, 0.0f), 0.0f));
}

float CombatManager::DesignerCalculateDefensiveAbility(float bonus) {
    m_bonusDV = bonus;
    if (mCharacter) {
        m_defensiveAbilityDV =
            mCharacter->GetTotalCharAttribute(CharAttributeType::DefensiveAbility);
        m_defensiveAbilityModifierDV =
            mCharacter->GetTotalCharAttribute(CharAttributeType::DefensiveAbilityModifier);
    }
    return ContributeDefensiveAbility(
        std::max(Evaluate(CombatFormula::DefensiveAbility, 0.0f), 0.0f));
}

float CombatManager::DesignerCalculateProbabilityToHit(float oa, float da) {
    m_offensiveAbilityDV = oa;
    m_defensiveAbilityDV = da;
    const float pth = Evaluate(CombatFormula::ProbabilityToHit, 0.0f);
    Trace("    PTH Offensive Ability %f\n", static_cast<double>(oa));
    Trace("    PTH Defensive Ability %f\n", static_cast<double>(da));
    Trace("    PTH %f\n", static_cast<double>(pth));
    return pth;
}

float CombatManager::DesignerCalculatePhysicalDamageDefense(float damage, float protection,
                                                            float absorbed, float bonus) {
    if (protection <= 0.0f)
        return damage;
    const float absorption = absorbed / protection;
    m_physicalDamageDV = damage;
    m_sumProtectionDV = protection + protection * bonus;
    m_sumAbsorptionDV = absorption + absorption * bonus;
    Trace("    protection = %f\n", static_cast<double>(protection));
    Trace("    protectionAbsorption = %f\n", static_cast<double>(absorbed));
    Trace("    absorption = %f\n", static_cast<double>(absorption));
    Trace("    bonus = %f\n", static_cast<double>(bonus));
    Trace("    modified protection = %f\n", static_cast<double>(m_sumProtectionDV));
    Trace("    modified absorption = %f\n", static_cast<double>(m_sumAbsorptionDV));
    const CombatFormula formula =
        damage <= m_sumProtectionDV ? CombatFormula::ArmorDLEP : CombatFormula::ArmorDGP;
    return std::max(Evaluate(formula, damage), 0.0f);
}

bool CombatManager::BlockTest(CombatFormula formula, const char* kind, float blockChance,
                              float blockModifier, float pth, RandomUniform& gen) {
    m_probabilityToHitDV = pth;
    m_blockChanceDV = blockChance;
    m_blockChanceModifierDV = blockModifier;
    // Without its formula the chance is 0: the shield never blocks.
    const float chance = Evaluate(formula, 0.0f);
    const float r = gen.FGenerate(1.0f, 100.0f);
    Trace("    %s Block Chance %f\n", kind, static_cast<double>(blockChance));
    Trace("    %s Block Chance Modifiers %f\n", kind, static_cast<double>(blockModifier));
    Trace("    %s Block PTH %f\n", kind, static_cast<double>(pth));
    Trace("    %s Block Chance %f, Random Chance (%f)\n", kind, static_cast<double>(chance),
          static_cast<double>(r));
    const bool blocked = chance >= r;
    Trace("    %s Block %s\n", kind, blocked ? "True" : "False");
    return blocked;
}

bool CombatManager::DesignerCalculateMeleeBlockChance(float blockChance, float blockModifier,
                                                      float pth, RandomUniform& gen) {
    return BlockTest(CombatFormula::MeleeBlock, "Melee", blockChance, blockModifier, pth, gen);
}

bool CombatManager::DesignerCalculateProjectileBlockChance(float blockChance, float blockModifier,
                                                           float pth, RandomUniform& gen) {
    return BlockTest(CombatFormula::ProjectileBlock, "Projectile", blockChance, blockModifier, pth,
                     gen);
}

float CombatManager::DesignerCalculateShieldBlockDamageReduction(float damage, float shieldDefense,
                                                                 float shieldAbsorption) {
    m_damageDV = damage;
    m_shieldDefenseDV = shieldDefense;
    m_shieldAbsorptionDV = shieldAbsorption;
    const bool greater = damage > shieldDefense;
    const CombatFormula formula = greater ? CombatFormula::ShieldDGB : CombatFormula::ShieldDLEB;
    if (!HasFormula(formula))
        return damage;
    Trace(greater ? "    Shield Block Reduction (Damage > Block)\n"
                  : "    Shield Block Reduction (Damage <= Block)\n");
    const float result = std::max(Evaluate(formula, damage), 0.0f);
    Trace("           Damage (%f) Result (%f)\n", static_cast<double>(damage),
          static_cast<double>(result));
    return result;
}

float CombatManager::CalculateDamageModifier(float pth, float roll) {
    Trace("    PTH %f, Rand Seed %f\n", static_cast<double>(pth), static_cast<double>(roll));
    if (pth < mMissScale) {
        const float r = roll * mMissScale;
        Trace("    PTH Random Number %f\n", static_cast<double>(r));
        if (r > pth) {
            Trace("    PTH Missed Hit\n");
            return 0.0f;
        }
    }
    if (pth <= mThresholds[0]) {
        m_probabilityToHitDV = pth;
        const float result = Evaluate(CombatFormula::NormalPTH, 0.75f);
        Trace("    PTH Modifier Equation result %f\n", static_cast<double>(result));
        return result;
    }
    const float r = pth * roll;
    Trace("    PTH Random Number %f\n", static_cast<double>(r));
    Trace("    PTH Uber Hit\n");
    float result = mModifiers[0];
    for (std::size_t i = kThresholds - 1; i > 0; --i) {
        if (r > mThresholds[i]) {
            result = mModifiers[i];
            break;
        }
    }
    Trace("    PTH Modifier value %f\n", static_cast<double>(result));
    return result;
}

bool CombatManager::ChanceTest(float chance, RandomUniform& gen, const char* caused,
                               const char* notMet) {
    if (chance <= 0.0f)
        return false;
    const float x = gen.FGenerate(0.0f, 100.0f);
    if (x < chance) {
        Trace("    ^y%s Chance (%f) caused a %s\n", caused, static_cast<double>(chance), notMet);
        return true;
    }
    Trace("    ^y%s Chance (%f) not met (%f)\n", caused, static_cast<double>(chance),
          static_cast<double>(x));
    return false;
}

bool CombatManager::CanIDodgeAttack(RandomUniform& gen) {
    const float chance =
        mCharacter ? mCharacter->GetTotalCharAttribute(CharAttributeType::DodgePercent) : 0.0f;
    return ChanceTest(chance, gen, "Dodge", "miss");
}

bool CombatManager::CanIDeflectProjectile(RandomUniform& gen) {
    const float chance =
        mCharacter ? mCharacter->GetTotalCharAttribute(CharAttributeType::DeflectProjectile) : 0.0f;
    return ChanceTest(chance, gen, "Deflect Projectile", "deflection");
}

bool CombatManager::ApplyDamage(float damage, const PlayStatsDamageType& kind,
                                CombatAttributeType type) {
    if (damage <= 0.0f)
        return true;
    if (mCharacter)
        mCharacter->FireAbsEffect(type);
    if (mRacialDefense.absolute > 0.0f) {
        const float taken = std::min(mRacialDefense.absolute, damage);
        Trace("^y  Racial Bonus Defense (%f) filtered (%f) damage\n",
              static_cast<double>(mRacialDefense.absolute), static_cast<double>(taken));
        mRacialDefense.absolute -= taken;
        damage -= taken;
        if (damage <= 0.0f)
            return false;
    }
    for (CombatFilter* filter : mFilters) {
        damage = filter->ModifyDamage(damage, type);
        if (damage <= 0.0f)
            return false;
    }
    if (!mCharacter)
        return true;
    mCharacter->SubtractLife(damage, kind);
    Trace("^y    Damage %f to Defender 0x%x\n", static_cast<double>(damage),
          mCharacter->GetObjectId());
    if (gGameEngine)
        gGameEngine->RegisterDamage(mCharacter->GetObjectId(), mLastAttacker, damage);
    return true;
}

}  // namespace GAME
