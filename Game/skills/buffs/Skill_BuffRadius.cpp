#include "Game/skills/buffs/Skill_BuffRadius.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/Team.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/buffs/TargetSearch.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_BuffAttackRadiusToggled, SkillActivated)
RTTI_IMPLEMENT(Skill_BuffAttackRadiusDuration, Skill_BuffAttackRadiusToggled)
RTTI_IMPLEMENT(Skill_BuffRadius, SkillActivated)
RTTI_IMPLEMENT(Skill_BuffRadiusToggled, Skill_BuffRadius)
RTTI_IMPLEMENT(Skill_BuffOther, SkillActivated)

namespace {

SkillProfile_Modifiers RadiusModifierData(const Skill& skill) {
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    return data;
}

int RadiusDurationMs(const Skill& skill) {
    return static_cast<int>(RadiusModifierData(skill).activeDuration * 1000.0f);
}

Character* RadiusTarget(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Character>(id) : nullptr;
}

std::uint32_t RadiusSeed() {
    return gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u;
}

// The activation bonus of a blessing: life, mana and an effect.
Bonus BlessingBonus(const Skill& skill) {
    const SkillProfile& profile = skill.GetSkillProfile();
    Bonus bonus;
    bonus.lifePoints = profile.GetLifeBonus(skill.GetCurrentLevel());
    bonus.manaPoints = profile.GetManaBonus(skill.GetCurrentLevel());
    bonus.effectName = profile.GetBonusEffectName();
    return bonus;
}

}  // namespace

// --- Attacking aura ---

Skill_BuffAttackRadiusToggled::Skill_BuffAttackRadiusToggled() {
    SetTypeText("^bBuff Attack Radius - Toggled");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
    mCooldownAtEnd = true;
}

void Skill_BuffAttackRadiusToggled::Update(Character& user, int ms) {
    SkillActivatedBuffSelf::Update(user, ms);
    if (GetActiveState().active)
        ApplyActiveCosts(user, ms);
    SkillServicesBase* services = Services();
    if (!mOn || !services)
        return;
    mPulseTimer -= ms;
    if (mPulseTimer > 0)
        return;
    mPulseTimer = mPulseInterval;
    std::vector<std::uint32_t> foes;
    FindTargetsInRadius(user.GetTeam(), user.GetPosition(), RadiusModifierData(*this).targetRadius,
                        foes, 0, false);
    services->ClearHitIteration();
    services->SendTargetResult(GetObjectId(), foes, user.GetCoords(), RadiusSeed(), 0, false);
}

void Skill_BuffAttackRadiusToggled::ActivateNow(Character&, const Name&, std::uint32_t,
                                                const WorldVec3&) {
    if (!Services())
        return;
    const bool on = !mOn;
    if (on)
        NotifyUIOnActivate();
    else
        NotifyUIOnDeactivate();
    Publish(on);
    SetIgnoreMana(on);
}

void Skill_BuffAttackRadiusToggled::StopSkill(Character&) {
    if (mOn && Services())
        Publish(false);
}

void Skill_BuffAttackRadiusToggled::ReceiveActiveUpdate(Character& user,
                                                        const SkillActiveState& state,
                                                        bool silent) {
    Skill::ReceiveActiveUpdate(user, state, silent);
    if (!silent) {
        ApplyCost(state.active);
        PlayActivatedSounds(state.active);
    }
    ApplyActivatedVisualEffects(user, state.active);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
}

void Skill_BuffAttackRadiusToggled::CollectPassiveCharAttributes(
    CharAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnCharAttributes(accumulator);
}

void Skill_BuffAttackRadiusToggled::CollectPassiveSkillAttributes(
    SkillAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnSkillAttributes(accumulator);
}

void Skill_BuffAttackRadiusToggled::CollectPassiveRetaliationAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void Skill_BuffAttackRadiusToggled::CollectPassiveDefenseAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnDefenseAttributes(accumulator);
}

void Skill_BuffAttackRadiusToggled::CollectPassiveRacialBonusDefense(
    const std::vector<std::string>& races, RacialBonus_Defense& bonus) {
    if (!GetActiveState().active)
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

void Skill_BuffAttackRadiusToggled::TargetResult(Character& user,
                                                 const std::vector<std::uint32_t>& targets,
                                                 const WorldCoords& origin, std::uint32_t seed,
                                                 std::uint32_t, bool) {
    if (targets.empty())
        return;
    RandomUniform random;
    random.Seed(seed);
    for (std::uint32_t id : targets) {
        Character* target = RadiusTarget(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(user, target, ParametersCombatStyle::Direct, false, 0, parameters,
                                0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(target->GetPosition());
        target->TakeAttack(parameters);
    }
    ActivateSecondarySkills(user, 0, targets, origin);
}

Skill_BuffAttackRadiusDuration::Skill_BuffAttackRadiusDuration() {
    mCooldownAtEnd = false;
}

void Skill_BuffAttackRadiusDuration::Update(Character& user, int ms) {
    Skill_BuffAttackRadiusToggled::Update(user, ms);
    if (!mOn || !Services())
        return;
    mDurationRemaining -= ms;
    if (mDurationRemaining <= 0)
        Publish(false);
}

void Skill_BuffAttackRadiusDuration::ActivateNow(Character&, const Name&, std::uint32_t,
                                                 const WorldVec3&) {
    if (!Services())
        return;
    mDurationRemaining = mDurationTotal = RadiusDurationMs(*this);
    Publish(true);
}

// --- Blessing around ---

Skill_BuffRadius::Skill_BuffRadius() {
    SetTypeText("^bBuff Other in Radius");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
    mCooldownAtEnd = false;
}

void Skill_BuffRadius::Load(const LoadTable& table) {
    mBuffSkillName = LoadBuffSkillRecord(table);
    if (!mBuffSkillName.empty())
        mDebuff = Singleton<ObjectManager>::Get()
                      .GetLoadTable(mBuffSkillName)
                      .GetBool("debufSkill", false);
}

void Skill_BuffRadius::PublishTargets(Character& user, SkillServicesBase& services, bool primary) {
    FindTargetsInRadius(user.GetTeam(), user.GetPosition(), RadiusModifierData(*this).targetRadius,
                        mTargets, 0, !mDebuff);
    if (mTargets.empty())
        return;
    services.ClearHitIteration();
    services.SendTargetResult(GetObjectId(), mTargets, user.GetCoords(), RadiusSeed(), 0, primary);
}

void Skill_BuffRadius::ActivateNow(Character& user, const Name&, std::uint32_t, const WorldVec3&) {
    SkillServicesBase* services = Services();
    if (!services)
        return;
    mDurationRemaining = mDurationTotal = RadiusDurationMs(*this);
    mPulseTimer = mPulseInterval;
    Publish(true);
    NotifyUIOnActivate();
    PublishTargets(user, *services, true);
    PrimaryActivateSecondarySkills(user, mTargets, user.GetCoords());
}

void Skill_BuffRadius::Update(Character& user, int ms) {
    SkillActivatedBuffSelf::Update(user, ms);
    if (SkillServicesBase* services = Services()) {
        UpdateSkillController(*services, ms);
        if (mOn) {
            mPulseTimer -= ms;
            if (mPulseTimer <= 0) {
                mPulseTimer = mPulseInterval;
                PublishTargets(user, *services, false);
            }
        }
    }
    if (GetActiveState().active)
        ApplyActiveCosts(user, ms);
}

void Skill_BuffRadius::UpdateSkillController(SkillServicesBase&, int ms) {
    if (!mOn)
        return;
    mDurationRemaining -= ms;
    if (mDurationRemaining <= 0 || !QualifyingWeapon())
        Publish(false);
}

void Skill_BuffRadius::ReceiveActiveUpdate(Character& user, const SkillActiveState& state,
                                           bool silent) {
    Skill::ReceiveActiveUpdate(user, state, silent);
    if (!silent) {
        ApplyCost(state.active);
        PlayActivatedSounds(state.active);
        if (state.active)
            CreateTargetFx(user.GetPosition());
    }
    ApplyActivatedVisualEffects(user, state.active);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
}

// The bonuses reach the targets through their buffs; the user bears only the penalties.
void Skill_BuffRadius::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (GetActiveState().active)
        GetSkillProfile().GetCharAttributesPenalty(accumulator, GetCurrentLevel());
}

void Skill_BuffRadius::StopSkill(Character&) {
    if (!mOn || !Services())
        return;
    Publish(false);
    NotifyUIOnDeactivate();
}

void Skill_BuffRadius::TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                                    const WorldCoords& origin, std::uint32_t, std::uint32_t,
                                    bool primary) {
    if (targets.empty())
        return;
    const Bonus bonus = BlessingBonus(*this);
    for (std::uint32_t id : targets) {
        Character* target = RadiusTarget(id);
        if (!target)
            continue;
        if (!primary)
            ApplyBuffOnTarget(user, *target, mBuffSkillName, mBuffTimeToLive);
        else if (!mDebuff)
            target->TakeBonus(bonus, false, 0);
    }
    // Once per activation, not once per target.
    if (primary)
        ActivateSecondarySkills(user, 0, targets, origin);
}

Skill_BuffRadiusToggled::Skill_BuffRadiusToggled() {
    SetTypeText("^bBuff Other in Radius - Toggled");
    mCooldownAtEnd = true;
}

// No duration: it ends only when the weapon stops qualifying.
void Skill_BuffRadiusToggled::UpdateSkillController(SkillServicesBase&, int) {
    if (mOn && !QualifyingWeapon())
        Publish(false);
}

void Skill_BuffRadiusToggled::ActivateNow(Character& user, const Name&, std::uint32_t,
                                          const WorldVec3&) {
    SkillServicesBase* services = Services();
    if (!services)
        return;
    if (mOn) {
        mPulseTimer = mPulseInterval;
        Publish(false);
        NotifyUIOnDeactivate();
        return;
    }
    mPulseTimer = mPulseInterval;
    Publish(true);
    NotifyUIOnActivate();
    PublishTargets(user, *services, true);
}

// --- Blessing another ---

Skill_BuffOther::Skill_BuffOther() {
    SetTypeText("^bBuff Other - Duration");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
}

void Skill_BuffOther::Load(const LoadTable& table) {
    mBuffSkillName = LoadBuffSkillRecord(table);
}

bool Skill_BuffOther::IsValidTarget(std::uint32_t id) const {
    const Character* target = RadiusTarget(id);
    return target && !target->IsSkillBuffActive(mBuffSkillName);
}

void Skill_BuffOther::ActivateNow(Character& user, const Name&, std::uint32_t target,
                                  const WorldVec3&) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (!services)
        return;
    const float radius = RadiusModifierData(*this).targetRadius;
    std::vector<std::uint32_t> targets;
    if (radius > 0.0f)
        FindTargetsInRadius(user.GetTeam(), user.GetPosition(), radius, targets, 0, true);
    else if (target != 0)
        targets.push_back(target);
    if (targets.empty())
        return;
    services->ClearHitIteration();
    services->SendTargetResult(GetObjectId(), targets, user.GetCoords(), RadiusSeed(), 0, false);
}

void Skill_BuffOther::TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                                   const WorldCoords& origin, std::uint32_t, std::uint32_t, bool) {
    if (targets.empty())
        return;
    PlayActivateSound(user.GetPosition());
    const Bonus bonus = BlessingBonus(*this);
    const int timeToLive = RadiusDurationMs(*this);
    for (std::uint32_t id : targets) {
        Character* target = RadiusTarget(id);
        if (!target)
            continue;
        CreateTargetFx(target->GetPosition());
        ApplyBuffOnTarget(user, *target, mBuffSkillName, timeToLive);
        target->TakeBonus(bonus, false, 0);
    }
    ActivateSecondarySkills(user, 0, targets, origin);
}

}  // namespace GAME
