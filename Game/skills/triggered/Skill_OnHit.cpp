#include "Game/skills/triggered/Skill_OnHit.h"

#include <limits>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/buffs/TargetSearch.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/props/RadiusMagic.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_OnHitAttackRadius, SkillActivated)
RTTI_IMPLEMENT(Skill_OnHitBuffSelf, SkillActivated)

namespace {

void PublishOnHitState(Skill& skill, SkillServicesBase* services, bool active, bool transition) {
    if (services)
        services->SendSkillActiveUpdate(skill.GetObjectId(),
                                        SkillActiveState(0, active, transition));
}

// The roll of both kinds: from 0.1 to 100, so a chance of 0 never fires and 100 always does;
// while the cooldown runs the chance counts as 0 (the roll is drawn all the same).
bool RollOnHit(const Skill& skill, int cooldownTimer) {
    float chance = skill.GetSkillProfile().GetActivationChance(skill.GetCurrentLevel());
    const float roll = gGameEngine->GetRandomGen().FGenerate(0.1f, 100.0f);
    if (cooldownTimer > 0)
        chance = 0.0f;
    return roll <= chance;
}

SkillProfile_Modifiers ModifierDataOf(const Skill& skill) {
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    return data;
}

}  // namespace

// --- The wave ---

Skill_OnHitAttackRadius::Skill_OnHitAttackRadius() {
    SetTypeText("^bAttack Radius - Activated On Hit");
    mCooldownAtEnd = true;
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
}

void Skill_OnHitAttackRadius::ActivateNow(Character&, const Name&, std::uint32_t,
                                          const WorldVec3&) {
    if (!Services())
        return;
    mOn = !mOn;
    if (mOn)
        NotifyUIOnActivate();
    else
        NotifyUIOnDeactivate();
    PublishOnHitState(*this, Services(), mOn, false);
    SetIgnoreMana(mOn);
}

void Skill_OnHitAttackRadius::StopSkill(Character&) {
    if (!mOn)
        return;
    mOn = false;
    PublishOnHitState(*this, Services(), false, false);
    NotifyUIOnDeactivate();
}

void Skill_OnHitAttackRadius::OnHitActivation(Character& owner, const ParametersCombat&) {
    if (!Services() || !mOn || !mPending.empty() || !gGameEngine)
        return;
    if (!RollOnHit(*this, mCooldownTimer))
        return;
    const std::uint32_t level = GetCurrentLevel();
    mWaveElapsed = 0;
    mWaveTimePerUnit = static_cast<int>(GetSkillProfile().GetRadiusTime(level));
    mWaveCentre = owner.GetPosition();
    mCooldownTimer = static_cast<int>(GetCooldownTime());
    FindTargetsInRadius(owner.GetTeam(), mWaveCentre, ModifierDataOf(*this).targetRadius, mPending,
                        0, false);
    PublishOnHitState(*this, Services(), true, true);
}

void Skill_OnHitAttackRadius::Update(Character& owner, int ms) {
    SkillActivatedBuffSelf::Update(owner, ms);
    if (SkillServicesBase* services = Services()) {
        if (mCooldownTimer > 0)
            mCooldownTimer -= ms;
        if (!mPending.empty()) {
            mWaveElapsed += ms;
            // A wave without a time per unit reaches everyone at once.
            const float front = mWaveTimePerUnit > 0 ? static_cast<float>(mWaveElapsed) /
                                                           static_cast<float>(mWaveTimePerUnit)
                                                     : std::numeric_limits<float>::max();
            auto& objects = Singleton<ObjectManager>::Get();
            mReached.clear();
            std::erase_if(mPending, [&](std::uint32_t id) {
                const Character* foe = objects.GetObject<Character>(id);
                if (!foe)
                    return true;
                if (mWaveCentre.DistanceTo(foe->GetPosition()) > front)
                    return false;
                mReached.push_back(id);
                return true;
            });
            if (!mReached.empty() && gGameEngine) {
                services->ClearHitIteration();
                WorldCoords at;
                at.SetPosition(mWaveCentre);
                services->SendTargetResult(GetObjectId(), mReached, at,
                                           gGameEngine->GetRandomSeed() & 0xFFFFu, 0, false);
            }
        }
    }
    if (GetActiveState().active)
        ApplyActiveCosts(owner, ms);
}

void Skill_OnHitAttackRadius::ReceiveActiveUpdate(Character& owner, const SkillActiveState& state,
                                                  bool silent) {
    Skill::ReceiveActiveUpdate(owner, state, silent);
    if (state.transition) {
        if (!silent)
            PlayHitSound(owner.GetPosition());
        const std::uint32_t level = GetCurrentLevel();
        CreateVisualEffect(owner.GetCoords(), ModifierDataOf(*this).targetRadius,
                           static_cast<int>(GetSkillProfile().GetRadiusTime(level)));
        return;
    }
    if (!silent) {
        ApplyCost(state.active);
        PlayActivatedSounds(state.active);
    }
    ApplyActivatedVisualEffects(owner, state.active);
}

void Skill_OnHitAttackRadius::CreateVisualEffect(const WorldCoords& where, float radius, int time) {
    auto& objects = Singleton<ObjectManager>::Get();
    const SkillProfile& profile = GetSkillProfile();
    if (!profile.GetRadiusMagicName().empty())
        if (auto* ring = objects.CreateObjectFromFile<RadiusMagic>(profile.GetRadiusMagicName())) {
            ring->SetEffect(radius, static_cast<float>(time));
            WorldCoords at;
            WorldVec3 position = where.GetPosition();
            position.Translate(Vec3(0.0f, 1.0f, 0.0f));
            at.SetPosition(position);
            World::Get().AddEntity(ring, at, true);
        }
    if (!profile.GetRadiusEffectName().empty())
        if (auto* effect = objects.CreateObjectFromFile<Entity>(profile.GetRadiusEffectName())) {
            WorldCoords at;
            at.SetPosition(where.GetPosition());
            World::Get().AddEntity(effect, at, true);
        }
}

void Skill_OnHitAttackRadius::TargetResult(Character& owner,
                                           const std::vector<std::uint32_t>& targets,
                                           const WorldCoords& origin, std::uint32_t seed,
                                           std::uint32_t, bool) {
    if (targets.empty())
        return;
    RandomUniform random;
    random.Seed(seed);
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : targets) {
        Character* target = objects.GetObject<Character>(id);
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(owner, target, ParametersCombatStyle::Direct, false, 0, parameters,
                                0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(target->GetPosition());
        target->TakeAttack(parameters);
    }
    ActivateSecondarySkills(owner, 0, targets, origin);
}

void Skill_OnHitAttackRadius::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnCharAttributes(accumulator);
}

void Skill_OnHitAttackRadius::CollectPassiveSkillAttributes(
    SkillAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnSkillAttributes(accumulator);
}

void Skill_OnHitAttackRadius::CollectPassiveRetaliationAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void Skill_OnHitAttackRadius::CollectPassiveDefenseAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    AddOwnDefenseAttributes(accumulator);
}

void Skill_OnHitAttackRadius::CollectPassiveRacialBonusDefense(
    const std::vector<std::string>& races, RacialBonus_Defense& bonus) {
    if (!GetActiveState().active)
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

// --- The self buff ---

Skill_OnHitBuffSelf::Skill_OnHitBuffSelf() {
    SetTypeText("^bBuff Self - Activated On Hit");
    mCooldownAtEnd = true;
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
}

void Skill_OnHitBuffSelf::ActivateNow(Character&, const Name&, std::uint32_t, const WorldVec3&) {
    if (!Services())
        return;
    mOn = !mOn;
    if (mOn)
        NotifyUIOnActivate();
    else
        NotifyUIOnDeactivate();
    PublishOnHitState(*this, Services(), mOn, false);
    SetIgnoreMana(mOn);
}

void Skill_OnHitBuffSelf::StopSkill(Character&) {
    if (!mOn)
        return;
    mOn = false;
    PublishOnHitState(*this, Services(), false, false);
}

void Skill_OnHitBuffSelf::OnHitActivation(Character&, const ParametersCombat&) {
    if (!Services() || !mOn || mRemaining > 0 || !gGameEngine)
        return;
    if (!RollOnHit(*this, mCooldownTimer))
        return;
    PublishOnHitState(*this, Services(), true, true);
    mRemaining = mTotal = SkillProfile::ToMilliseconds(ModifierDataOf(*this).activeDuration);
}

void Skill_OnHitBuffSelf::Update(Character& owner, int ms) {
    SkillActivatedBuffSelf::Update(owner, ms);
    if (Services()) {
        if (mCooldownTimer > 0)
            mCooldownTimer -= ms;
        if (mOn && mRemaining > 0) {
            mRemaining -= ms;
            if (mRemaining < 1) {
                mCooldownTimer = static_cast<int>(GetCooldownTime());
                PublishOnHitState(*this, Services(), true, false);
            }
        }
    }
    if (GetActiveState().active)
        ApplyActiveCosts(owner, ms);
}

void Skill_OnHitBuffSelf::ReceiveActiveUpdate(Character& owner, const SkillActiveState& state,
                                              bool silent) {
    Skill::ReceiveActiveUpdate(owner, state, silent);
    if (!silent) {
        if (state.transition) {
            // Every trigger pays the mana cost.
            ApplyCost(true);
            CreateTargetFx(owner.GetPosition());
            PlayHitSound(owner.GetPosition());
        } else {
            PlayActivatedSounds(state.active);
        }
    }
    ApplyActivatedVisualEffects(owner, state.active);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
}

void Skill_OnHitBuffSelf::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!GetActiveState().active)
        return;
    GetSkillProfile().GetCharAttributesPenalty(accumulator, GetCurrentLevel());
    if (!Running())
        return;
    GetSkillProfile().GetCharAttributes(accumulator, GetCurrentLevel());
    AddModifierCharAttributes(accumulator);
}

void Skill_OnHitBuffSelf::CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (!Running())
        return;
    AddOwnSkillAttributes(accumulator);
}

void Skill_OnHitBuffSelf::CollectPassiveOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Running())
        return;
    AddOwnOffensiveDamageAttributes(accumulator);
}

void Skill_OnHitBuffSelf::CollectPassiveOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Running())
        return;
    AddOwnOffensiveModifierAttributes(accumulator);
}

void Skill_OnHitBuffSelf::CollectPassiveRetaliationAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!Running())
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void Skill_OnHitBuffSelf::CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (!Running())
        return;
    AddOwnDefenseAttributes(accumulator);
}

void Skill_OnHitBuffSelf::CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                                          RacialBonus_Damage& bonus) {
    if (!Running())
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

void Skill_OnHitBuffSelf::CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                                           RacialBonus_Defense& bonus) {
    if (!Running())
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

}  // namespace GAME
