#include "Game/skills/buffs/Skill_BuffSelf.h"

#include <algorithm>
#include <cmath>

#include "Game/characters/Character.h"
#include "Game/core/players/Bonus.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/skills/buffs/ShieldRule.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_BuffSelfToggled, SkillActivated)
RTTI_IMPLEMENT(Skill_BuffSelfDuration, Skill_BuffSelfToggled)
RTTI_IMPLEMENT(Skill_BuffSelfColossus, Skill_BuffSelfDuration)
RTTI_IMPLEMENT(Skill_BuffSelfImmobilize, Skill_BuffSelfDuration)
RTTI_IMPLEMENT(Skill_BuffSelfInvulnerable, Skill_BuffSelfDuration)
RTTI_IMPLEMENT(Skill_BuffSelfShield, Skill_BuffSelfToggled)

namespace {

int SelfBuffDurationMs(const Skill& skill) {
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    return static_cast<int>(data.activeDuration * 1000.0f);
}

}  // namespace

// --- Toggled ---

Skill_BuffSelfToggled::Skill_BuffSelfToggled() {
    SetTypeText("^bBuff Self - Toggled");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
    mCooldownAtEnd = true;
}

void Skill_BuffSelfToggled::Install(Character* user) {
    if (user)
        user->AddCombatFilter(this);
}

// The filter goes with the skill's installation, so that a skill that loses its level (or is
// destroyed) is never asked about damage again.
void Skill_BuffSelfToggled::UnInstall(Character* user) {
    SkillActivatedBuffSelf::UnInstall(user);
    if (user)
        user->RemoveCombatFilter(this);
}

void Skill_BuffSelfToggled::Update(Character& user, int ms) {
    SkillActivatedBuffSelf::Update(user, ms);
    if (GetActiveState().active)
        ApplyActiveCosts(user, ms);
}

void Skill_BuffSelfToggled::ActivateNow(Character&, const Name&, std::uint32_t, const WorldVec3&) {
    if (!Services())
        return;
    const bool on = !mOn;
    if (on)
        NotifyUIOnActivate();
    else
        NotifyUIOnDeactivate();
    Publish(on);
    // A running toggle can always be switched off again.
    SetIgnoreMana(on);
}

void Skill_BuffSelfToggled::StopSkill(Character&) {
    if (mOn && Services()) {
        Publish(false);
        NotifyUIOnDeactivate();
    }
    if (mSuppressed)
        ContributionChanged();
    mSuppressed = false;
}

void Skill_BuffSelfToggled::ReceiveActiveUpdate(Character& user, const SkillActiveState& state,
                                                bool silent) {
    Skill::ReceiveActiveUpdate(user, state, silent);
    if (!silent) {
        ApplyCost(state.active);
        PlayActivatedSounds(state.active);
        if (state.active) {
            CreateTargetFx(user.GetPosition());
            const std::uint32_t level = GetCurrentLevel();
            Bonus bonus;
            bonus.lifePoints = GetSkillProfile().GetLifeBonus(level);
            bonus.manaPoints = GetSkillProfile().GetManaBonus(level);
            bonus.effectName = GetSkillProfile().GetBonusEffectName();
            user.TakeBonus(bonus, false, 0);
            ActivateSecondarySkills(user, 0, {user.GetObjectId()}, user.GetCoords());
        }
    }
    ApplyActivatedVisualEffects(user, state.active);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
    InitializeBuff();
}

void Skill_BuffSelfToggled::InitializeBuff() {
    if (!GetActiveState().active) {
        mDamageAbsorption = mAbsorptionTotal = mDamageAbsorptionPercent = 0.0f;
        return;
    }
    const std::uint32_t level = GetCurrentLevel();
    mDamageAbsorption = mAbsorptionTotal = GetSkillProfile().GetDamageAbsorption(level);
    mDamageAbsorptionPercent = GetSkillProfile().GetDamageAbsorptionPercent(level);
}

float Skill_BuffSelfToggled::ModifyDamage(float damage, CombatAttributeType type) {
    return ShieldModifyDamage(GetSkillProfile(), damage, type, mDamageAbsorption,
                              mDamageAbsorptionPercent);
}

void Skill_BuffSelfToggled::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!Contributes())
        return;
    AddOwnCharAttributes(accumulator);
}

void Skill_BuffSelfToggled::CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (!Contributes())
        return;
    AddOwnSkillAttributes(accumulator);
}

void Skill_BuffSelfToggled::CollectPassiveOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Contributes())
        return;
    AddOwnOffensiveDamageAttributes(accumulator);
}

void Skill_BuffSelfToggled::CollectPassiveOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Contributes())
        return;
    AddOwnOffensiveModifierAttributes(accumulator);
}

void Skill_BuffSelfToggled::CollectPassiveRetaliationAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Contributes())
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void Skill_BuffSelfToggled::CollectPassiveDefenseAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Contributes())
        return;
    AddOwnDefenseAttributes(accumulator);
}

void Skill_BuffSelfToggled::CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                                            RacialBonus_Damage& bonus) {
    if (!Contributes())
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

void Skill_BuffSelfToggled::CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                                             RacialBonus_Defense& bonus) {
    if (!Contributes())
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

// --- Duration ---

Skill_BuffSelfDuration::Skill_BuffSelfDuration() {
    SetTypeText("^bBuff Self - Duration");
    mCooldownAtEnd = false;
}

void Skill_BuffSelfDuration::Update(Character& user, int ms) {
    Skill_BuffSelfToggled::Update(user, ms);
    if (!mOn || !Services())
        return;
    mDurationRemaining -= ms;
    if (mDurationRemaining <= 0)
        Publish(false);
}

void Skill_BuffSelfDuration::ActivateNow(Character&, const Name&, std::uint32_t, const WorldVec3&) {
    if (!Services())
        return;
    mDurationRemaining = mDurationTotal = SelfBuffDurationMs(*this);
    Publish(true);
}

// --- Colossus ---

Skill_BuffSelfColossus::Skill_BuffSelfColossus() {
    SetTypeText("^bBuff Self - Colossus");
}

void Skill_BuffSelfColossus::ReceiveActiveUpdate(Character& user, const SkillActiveState& state,
                                                 bool silent) {
    Skill_BuffSelfDuration::ReceiveActiveUpdate(user, state, silent);
    if (mBaseScale <= 0.0f)
        mBaseScale = user.GetScale() > 0.0f ? user.GetScale() : 1.0f;
    mScaling = true;
    mScaleTime = GetSkillProfile().GetActorScaleTime();
    mTargetScale = state.active ? GetSkillProfile().GetActorScale() : mBaseScale;
    mScaleStep = std::fabs(mTargetScale - user.GetScale());
    if (silent)
        Scale(user, 0, true);
    else
        ApplyActivatedVisualEffects(user, state.active);
}

void Skill_BuffSelfColossus::Update(Character& user, int ms) {
    Skill_BuffSelfDuration::Update(user, ms);
    if (mSuppressed != mScaling)
        ContributionChanged();
    mSuppressed = mScaling;
    if (mScaling)
        Scale(user, ms, false);
}

void Skill_BuffSelfColossus::Scale(Character& user, int ms, bool atOnce) {
    if (atOnce) {
        mScaleTime = 0;
        mScaling = false;
        user.SetScale(mTargetScale);
        return;
    }
    const float current = user.GetScale();
    // A scale time of 0 arrives at once instead of dividing by it.
    const float step = mScaleTime > 0
                           ? static_cast<float>(ms) / static_cast<float>(mScaleTime) * mScaleStep
                           : std::fabs(mTargetScale - current);
    float next = current;
    if (current < mTargetScale) {
        next = current + step;
        if (next >= mTargetScale) {
            next = mTargetScale;
            mScaling = false;
            user.SetExtentsLarge();
        }
    } else if (current > mTargetScale) {
        next = current - step;
        if (next <= mTargetScale) {
            next = mTargetScale;
            mScaling = false;
            user.SetExtentsSmall();
        }
    } else {
        mScaling = false;
    }
    user.SetScale(next);
}

// --- Immobilise, invulnerability ---

Skill_BuffSelfImmobilize::Skill_BuffSelfImmobilize() {
    SetTypeText("^bBuff Self - Immoblize");
    SetDisruptionApplies(false);
}

void Skill_BuffSelfImmobilize::Update(Character& user, int ms) {
    Skill_BuffSelfDuration::Update(user, ms);
    if (!GetActiveState().active)
        return;
    mHoldTimer -= ms;
    if (mHoldTimer > 0)
        return;
    mHoldTimer = mHoldInterval;
    ApplyHold(user, kImmobilize, mHoldDuration);
}

Skill_BuffSelfInvulnerable::Skill_BuffSelfInvulnerable() {
    SetTypeText("^bBuff Self - Invulnerable");
}

bool Skill_BuffSelfInvulnerable::ProvidesInvulnerability(const std::vector<std::string>& races) {
    if (!GetActiveState().active)
        return false;
    const std::vector<std::string>& profile = GetSkillProfile().GetRacialProfile();
    if (profile.empty())
        return true;
    return std::any_of(races.begin(), races.end(), [&](const std::string& race) {
        return std::find(profile.begin(), profile.end(), race) != profile.end();
    });
}

// --- Shield ---

Skill_BuffSelfShield::Skill_BuffSelfShield() {
    SetTypeText("^bBuff Self - Shield");
}

float Skill_BuffSelfShield::ModifyDamage(float damage, CombatAttributeType type) {
    if (!ShieldQualifies(GetSkillProfile(), type)) {
        CombatManager::Trace("^bShield: Ignored non-qualified damage (%f)",
                             static_cast<double>(damage));
        return damage;
    }
    const float reduced = ShieldReduce(damage, mDamageAbsorptionPercent);
    if (!(mDamageAbsorption > 0.0f))
        return reduced;
    const float absorbed = std::min(reduced, mDamageAbsorption);
    mDamageAbsorption -= absorbed;
    CombatManager::Trace("^bShield: Absorbed (%f) of (%f) damage, shield remaining (%f)",
                         static_cast<double>(absorbed), static_cast<double>(reduced),
                         static_cast<double>(mDamageAbsorption));
    return reduced - absorbed;
}

void Skill_BuffSelfShield::Update(Character& user, int ms) {
    Skill_BuffSelfToggled::Update(user, ms);
    if (mOn && Services() && mDamageAbsorption <= 0.0f)
        Publish(false);
}

void Skill_BuffSelfShield::ActivateNow(Character&, const Name&, std::uint32_t, const WorldVec3&) {
    if (Services())
        Publish(true);
}

bool Skill_BuffSelfShield::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    if (mOn) {
        SetReason(SkillReason::CoolingDown);
        return false;
    }
    (void)ignoreMana;
    (void)ignoreCooldown;
    return Skill::SetAvailability(false, false);
}

}  // namespace GAME
