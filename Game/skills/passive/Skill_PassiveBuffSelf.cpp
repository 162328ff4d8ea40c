#include "Game/skills/passive/Skill_PassiveBuffSelf.h"

#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/rules/CharAttribute.h"
#include "Game/skills/buffs/ShieldRule.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_PassiveOnHitBuffSelf, Skill)
RTTI_IMPLEMENT(Skill_PassiveOnLifeBuffSelf, Skill)

// --- Shared ---

SkillServicesBase* PassiveBuffSelf::Services() const {
    return HasManager() ? GetManager()->GetSkillServices() : nullptr;
}

void PassiveBuffSelf::SendActive(bool active) {
    if (SkillServicesBase* services = Services())
        services->SendSkillActiveUpdate(GetObjectId(), SkillActiveState(0, active, false));
}

int PassiveBuffSelf::DurationMs() const {
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    return SkillProfile::ToMilliseconds(data.activeDuration);
}

// A skill that leaves its owner (or is destroyed) is never asked about damage again.
void PassiveBuffSelf::UnInstall(Character* owner) {
    Skill::UnInstall(owner);
    if (owner)
        owner->RemoveCombatFilter(this);
}

void PassiveBuffSelf::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    GetSkillProfile().GetCharAttributes(accumulator, GetCurrentLevel());
    AddModifierCharAttributes(accumulator);
}

void PassiveBuffSelf::CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnSkillAttributes(accumulator);
}

void PassiveBuffSelf::CollectPassiveOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnOffensiveDamageAttributes(accumulator);
}

void PassiveBuffSelf::CollectPassiveOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnOffensiveModifierAttributes(accumulator);
}

void PassiveBuffSelf::CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void PassiveBuffSelf::CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnDefenseAttributes(accumulator);
}

void PassiveBuffSelf::CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                                      RacialBonus_Damage& bonus) {
    if (!GetActiveState().active)
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

void PassiveBuffSelf::CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                                       RacialBonus_Defense& bonus) {
    if (!GetActiveState().active)
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

void PassiveBuffSelf::ReceiveActiveUpdate(Character& owner, const SkillActiveState& state,
                                          bool fromReplica) {
    Skill::ReceiveActiveUpdate(owner, state, fromReplica);
    if (!fromReplica) {
        const std::uint32_t level = GetCurrentLevel();
        if (state.active) {
            OnActivated(owner);
            Bonus bonus;
            bonus.lifePoints = GetSkillProfile().GetLifeBonus(level);
            bonus.manaPoints = GetSkillProfile().GetManaBonus(level);
            bonus.effectName = GetSkillProfile().GetBonusEffectName();
            owner.TakeBonus(bonus, false, 0);
            mDamageAbsorption = GetSkillProfile().GetDamageAbsorption(level);
            mDamageAbsorptionPercent = GetSkillProfile().GetDamageAbsorptionPercent(level);
            owner.AddCombatFilter(this);
        } else {
            StartCooldown();
            mDamageAbsorption = mDamageAbsorptionPercent = 0.0f;
            owner.RemoveCombatFilter(this);
        }
        PlayActivatedSounds(state.active);
    }
    ApplyActivatedVisualEffects(owner, state.active);
}

float PassiveBuffSelf::ModifyDamage(float damage, CombatAttributeType type) {
    if (!GetActiveState().active)
        return damage;
    return ShieldModifyDamage(GetSkillProfile(), damage, type, mDamageAbsorption,
                              mDamageAbsorptionPercent);
}

// --- On hit ---

Skill_PassiveOnHitBuffSelf::Skill_PassiveOnHitBuffSelf() {
    SetTypeText("^bPassive On-Hit Buff Self");
}

void Skill_PassiveOnHitBuffSelf::OnHitActivation(Character&, const ParametersCombat&) {
    if (!Services() || !gGameEngine)
        return;
    // A running buff is never rolled again nor lengthened.
    if (!IsSkillEnabled() || GetCurrentLevel() == 0 || mRemainingTime >= 1)
        return;
    const float chance = GetSkillProfile().GetActivationChance(GetCurrentLevel());
    const int roll = gGameEngine->GetRandomGen().IGenerate(0, 100);
    if (static_cast<float>(roll) > chance)
        return;
    SendActive(true);
    mTotalTime = mRemainingTime = DurationMs();
}

void Skill_PassiveOnHitBuffSelf::Update(Character& owner, int ms) {
    Skill::Update(owner, ms);
    if (!Services() || mRemainingTime <= 0)
        return;
    mRemainingTime -= ms;
    if (mRemainingTime < 1)
        SendActive(false);
}

void Skill_PassiveOnHitBuffSelf::StopSkill(Character&) {
    if (!Services() || mRemainingTime <= 0)
        return;
    mRemainingTime = 0;
    SendActive(false);
}

// --- On life ---

Skill_PassiveOnLifeBuffSelf::Skill_PassiveOnLifeBuffSelf() {
    SetTypeText("^bPassive On-Life Buff Self");
}

void Skill_PassiveOnLifeBuffSelf::Update(Character& owner, int ms) {
    Skill::Update(owner, ms);
    if (!Services())
        return;
    const float maximum = owner.GetTotalCharAttribute(CharAttributeType::Life);
    // Without a maximum there is no share of it to watch.
    if (!(maximum > 0.0f))
        return;
    const float threshold = GetSkillProfile().GetLifeMonitorPercent(GetCurrentLevel());
    const float percent = owner.GetCurrentLife() / maximum * 100.0f;
    if (!mTriggered) {
        if (percent <= threshold && IsSkillEnabled()) {
            mTriggered = true;
            mLifeBack = false;
            SendActive(true);
            mTotalTime = mRemainingTime = DurationMs();
        }
        return;
    }
    if (percent > threshold)
        mLifeBack = true;
    if (!mLifeBack)
        return;
    mRemainingTime -= ms;
    if (mRemainingTime <= 0) {
        mTriggered = false;
        SendActive(false);
    }
}

void Skill_PassiveOnLifeBuffSelf::StopSkill(Character&) {
    if (!Services() || !mTriggered)
        return;
    mTriggered = mLifeBack = false;
    mRemainingTime = 0;
    SendActive(false);
}

void Skill_PassiveOnLifeBuffSelf::OnActivated(Character& owner) {
    CreateTargetFx(owner.GetPosition());
}

void Skill_PassiveOnLifeBuffSelf::ReceiveActiveUpdate(Character& owner,
                                                      const SkillActiveState& state,
                                                      bool fromReplica) {
    PassiveBuffSelf::ReceiveActiveUpdate(owner, state, fromReplica);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
}

}  // namespace GAME
