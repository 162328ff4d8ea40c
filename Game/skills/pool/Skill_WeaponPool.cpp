#include "Game/skills/pool/Skill_WeaponPool.h"

#include "Game/characters/Character.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_WeaponPool_Default, SkillActivatedWeaponPool)
RTTI_IMPLEMENT(Skill_WeaponPool_BasicAttack, SkillActivatedWeaponPool)
RTTI_IMPLEMENT(Skill_WeaponPool_ChargedLinear, SkillActivatedWeaponPool)

// --- Default and basic ---

Skill_WeaponPool_Default::Skill_WeaponPool_Default() {
    SetTypeText("^bDefault Weapon Attack");
    SetPrimary(true);
    SetSecondary(true);
    MarkEnabled();
    SetDefaultSkill(true);
}

bool Skill_WeaponPool_Default::SetAvailability(bool, bool) {
    SetReason(SkillReason::Available);
    return true;
}

Skill_WeaponPool_BasicAttack::Skill_WeaponPool_BasicAttack() {
    SetTypeText("^bBasic Weapon Attack");
    SetPrimary(true);
    SetSecondary(true);
    SetUseDefaultWhenUnavailable(true, false);
}

// --- Linear charge ---

Skill_WeaponPool_ChargedLinear::Skill_WeaponPool_ChargedLinear() {
    SetTypeText("^bCharging Weapon Attack - Linear");
    SetPrimary(true);
    SetSecondary(true);
    SetUseDefaultWhenUnavailable(true, true);
}

int Skill_WeaponPool_ChargedLinear::TrackableTotalTime(std::uint32_t) const {
    return static_cast<int>(GetSkillProfile().GetMaxChargeLevel(GetCurrentLevel()));
}

void Skill_WeaponPool_ChargedLinear::IncrementCharge() {
    if (mChargeLevel < GetSkillProfile().GetMaxChargeLevel(GetCurrentLevel()))
        ++mChargeLevel;
    mChargeTimer = static_cast<int>(GetSkillProfile().GetChargeDuration(mChargeLevel));
}

void Skill_WeaponPool_ChargedLinear::DecrementCharge() {
    if (mChargeLevel > 0)
        --mChargeLevel;
    mChargeTimer = static_cast<int>(GetSkillProfile().GetChargeDuration(mChargeLevel));
}

void Skill_WeaponPool_ChargedLinear::ResetCharge() {
    mChargeLevel = 0;
    mChargeTimer = static_cast<int>(GetSkillProfile().GetChargeDuration(0));
}

void Skill_WeaponPool_ChargedLinear::Update(Character& character, int ms) {
    SkillActivatedWeaponPool::Update(character, ms);
    if (Services()) {
        // Counted only while charged: the timer is set afresh with every charge.
        if (mChargeLevel > 0)
            mChargeTimer -= ms;
        if (IsSkillEnabled()) {
            // One level per "skillChargeDuration" of the level it falls from.
            if (mChargeLevel > 0 && mChargeTimer < 1) {
                DecrementCharge();
                PublishCharge(static_cast<int>(mChargeLevel));
            }
        } else if (mChargeLevel != 0) {
            ResetCharge();
            PublishCharge(0);
        }
    }
    if (Charge() != 0)
        NotifyUIOnActivate();
}

void Skill_WeaponPool_ChargedLinear::WPAttackCallback(Character&,
                                                      const std::vector<std::uint32_t>& targets) {
    if (targets.empty())
        return;
    SubtractManaCost();
    StartCooldown();
    if (!Services())
        return;
    IncrementCharge();
    PublishCharge(static_cast<int>(mChargeLevel));
}

void Skill_WeaponPool_ChargedLinear::ReceiveActiveUpdate(Character& character,
                                                         const SkillActiveState& state,
                                                         bool fromReplica) {
    const int before = Charge();
    Skill::ReceiveActiveUpdate(character, state, fromReplica);
    if (!fromReplica && Charge() > before)
        SubtractManaCost();
    SetChargeEffect(character, Charge());
}

void Skill_WeaponPool_ChargedLinear::SetChargeEffect(Character& character, int level) {
    if (mShownEffect != 0)
        character.StopParticleEffect(mShownEffect);
    mShownEffect = 0;
    if (level <= 0)
        return;
    // Made once per level and shown again later.
    while (mChargeEffects.size() < static_cast<std::size_t>(level)) {
        const unsigned next = static_cast<unsigned>(mChargeEffects.size()) + 1;
        mChargeEffects.push_back(
            character.AddParticleEffect(GetSkillProfile().GetChargeAuraName(next), ""));
    }
    mShownEffect = mChargeEffects[static_cast<std::size_t>(level) - 1];
    character.StartParticleEffect(mShownEffect);
}

void Skill_WeaponPool_ChargedLinear::StopSkill(Character&) {
    if (!Services())
        return;
    ResetCharge();
    PublishCharge(0);
}

// The attribute sets are those of the charge level reached, not of the skill level.
void Skill_WeaponPool_ChargedLinear::CollectPassiveCharAttributes(
    CharAttributeAccumulator& accumulator) {
    if (Charge() <= 0)
        return;
    const auto charge = static_cast<unsigned>(Charge());
    GetSkillProfile().GetCharAttributes(accumulator, charge);
    GetSkillProfile().GetCharAttributesPenalty(accumulator, charge);
    AddModifierCharAttributes(accumulator);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveSkillAttributes(
    SkillAttributeAccumulator& accumulator) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetSkillAttributes(accumulator, static_cast<unsigned>(Charge()));
    AddModifierSkillAttributes(accumulator);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetOffensiveDamageAttributes(accumulator, static_cast<unsigned>(Charge()));
    AddModifierOffensiveDamageAttributes(accumulator);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetOffensiveModifierAttributes(accumulator, static_cast<unsigned>(Charge()));
    AddModifierOffensiveModifierAttributes(accumulator);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveRetaliationAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetRetaliationAttributes(accumulator, static_cast<unsigned>(Charge()));
    AddModifierRetaliationAttributes(accumulator);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveDefenseAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetDefenseAttributes(accumulator, static_cast<unsigned>(Charge()));
    AddModifierDefenseAttributes(accumulator);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveRacialBonusDamage(
    const std::vector<std::string>& races, RacialBonus_Damage& bonus) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, static_cast<unsigned>(Charge()));
    AddModifierRacialBonusDamage(races, bonus);
}

void Skill_WeaponPool_ChargedLinear::CollectPassiveRacialBonusDefense(
    const std::vector<std::string>& races, RacialBonus_Defense& bonus) {
    if (Charge() <= 0)
        return;
    GetSkillProfile().GetRacialBonusDefense(races, bonus, static_cast<unsigned>(Charge()));
    AddModifierRacialBonusDefense(races, bonus);
}

}  // namespace GAME
