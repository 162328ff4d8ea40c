#include "Game/skills/secondary/SkillSecondary_BuffRadius.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/util/StringUtil.h"
#include "Game/skills/buffs/TargetSearch.h"
#include "Game/skills/manager/SkillBuffTransfer.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(SkillSecondary_BuffRadius, SkillSecondary)

namespace {

SkillProfile_Modifiers PulseModifierData(const Skill& skill) {
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    return data;
}

}  // namespace

SkillSecondary_BuffRadius::SkillSecondary_BuffRadius() {
    SetTypeText("^bSecondary Buff Other in Radius");
}

void SkillSecondary_BuffRadius::Load(const LoadTable& table) {
    Object::Load(table);
    mBuffName = table.GetString("buffSkillName");
    NormalizePath(mBuffName);
    if (mBuffName.empty()) {
        Skill::Load(table);
        return;
    }
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(mBuffName);
    const LoadTable buff = objects.GetLoadTable(mBuffName);
    SetResourceName(Name::Create(mBuffName));
    LoadResources(buff);
    LoadOriginalSkillResource(buff);
}

void SkillSecondary_BuffRadius::Pulse(Character& caster, const WorldVec3& centre) {
    SkillServicesBase* services = Services();
    if (!services || !gGameEngine)
        return;
    FindTargetsInRadius(caster.GetTeam(), centre, PulseModifierData(*this).targetRadius, mAllies, 0,
                        true);
    if (mAllies.empty())
        return;
    WorldCoords at;
    at.SetPosition(caster.GetPosition());
    services->SendTargetResult(GetObjectId(), mAllies, at, gGameEngine->GetRandomSeed(), 0, false);
}

void SkillSecondary_BuffRadius::PrimaryActivateNow(Character& caster, std::uint32_t targetId,
                                                   const std::vector<std::uint32_t>& targets,
                                                   const WorldCoords& point) {
    SkillSecondary::PrimaryActivateNow(caster, targetId, targets, point);
    SkillServicesBase* services = Services();
    if (!IsSkillEnabled() || !services)
        return;
    mPulseActive = true;
    mDuration = SkillProfile::ToMilliseconds(PulseModifierData(*this).activeDuration);
    mPulseCountdown = mPulseInterval;
    mPulseCentre = point.GetPosition();
    services->SendSkillActiveUpdate(GetObjectId(), SkillActiveState(0, true, false));
    NotifyUIOnActivate();
    Pulse(caster, caster.GetPosition());
    PrimaryActivateSecondarySkills(caster, mAllies, point);
}

void SkillSecondary_BuffRadius::Update(Character& caster, int ms) {
    SkillSecondary::Update(caster, ms);
    if (!Services() || !mPulseActive)
        return;
    mPulseCountdown -= ms;
    if (mPulseCountdown <= 0) {
        mPulseCountdown = mPulseInterval;
        Pulse(caster, mPulseCentre);
    }
}

void SkillSecondary_BuffRadius::TargetResult(Character& caster,
                                             const std::vector<std::uint32_t>& targets,
                                             const WorldCoords& origin, std::uint32_t,
                                             std::uint32_t, bool bonus) {
    if (targets.empty())
        return;
    SkillBuffTransfer transfer;
    transfer.buffName = mBuffName;
    transfer.level = GetCurrentLevel();
    GetModifierInfo(0, transfer.modifier1Name, transfer.modifier1Level);
    GetModifierInfo(1, transfer.modifier2Name, transfer.modifier2Level);
    transfer.timeToLive = static_cast<std::uint32_t>(mBuffTimeToLive);
    transfer.casterId = caster.GetObjectId();
    const SkillProfile& profile = GetSkillProfile();
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : targets) {
        Character* target = objects.GetObject<Character>(id);
        if (!target)
            continue;
        if (bonus) {
            Bonus gift;
            gift.lifePoints = profile.GetLifeBonus(transfer.level);
            gift.manaPoints = profile.GetManaBonus(transfer.level);
            gift.effectName = profile.GetBonusEffectName();
            target->TakeBonus(gift, false, 0);
            ActivateSecondarySkills(caster, id, targets, origin);
        } else {
            target->ControllerAddSkillBuff(transfer, profile.GetQualifyingWeapons(),
                                           profile.GetQualifyingDualWeapons());
        }
    }
}

void SkillSecondary_BuffRadius::EndPulse() {
    mPulseActive = false;
    if (SkillServicesBase* services = Services())
        services->SendSkillActiveUpdate(GetObjectId(), SkillActiveState(0, false, false));
}

void SkillSecondary_BuffRadius::PrimaryStop(Character& caster) {
    SkillSecondary::PrimaryStop(caster);
    if (mPulseActive)
        EndPulse();
}

void SkillSecondary_BuffRadius::StopSkill(Character&) {
    if (!mPulseActive || !Services())
        return;
    EndPulse();
    NotifyUIOnDeactivate();
}

void SkillSecondary_BuffRadius::ReceiveActiveUpdate(Character& caster,
                                                    const SkillActiveState& state,
                                                    bool fromReplica) {
    Skill::ReceiveActiveUpdate(caster, state, fromReplica);
    if (!fromReplica) {
        PlayActivatedSounds(state.active);
        if (state.active)
            CreateTargetFx(caster.GetPosition());
    }
    ApplyActiveWorldVisualEffects(caster, state.active);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
}

}  // namespace GAME
