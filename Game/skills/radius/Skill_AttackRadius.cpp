#include "Game/skills/radius/Skill_AttackRadius.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/effects/FxPak.h"
#include "Game/world/lightning/Lightning.h"
#include "Game/world/props/RadiusMagic.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackRadius, SkillActivated)
RTTI_IMPLEMENT(Skill_AttackRadiusLightning, SkillActivated)

namespace {

SkillServicesBase* ServicesOf(const Skill& skill) {
    return skill.HasManager() ? skill.GetManager()->GetSkillServices() : nullptr;
}

std::uint32_t NewSeed() {
    return gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u;
}

float TargetRadius(const Skill& skill) {
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    return data.targetRadius;
}

WorldCoords CoordsAt(const WorldVec3& where) {
    WorldCoords coords;
    coords.SetPosition(where);
    return coords;
}

void AddFxPak(const std::string& name, const WorldVec3& where) {
    if (name.empty())
        return;
    if (FxPak* pak = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(name))
        World::Get().AddEntity(pak, CoordsAt(where), true);
}

}  // namespace

// --- The shock wave ---

Skill_AttackRadius::Skill_AttackRadius() {
    SetTypeText("^bRadius Attack");
    SetPrimary(true);
    SetSecondary(true);
    SetSkillType(1);
}

void Skill_AttackRadius::ActivateNow(Character& character, const Name&, std::uint32_t target,
                                     const WorldVec3&) {
    SkillServicesBase* services = ServicesOf(*this);
    if (!services || !gGameEngine)
        return;
    mElapsed = 0;
    mRadiusTime = static_cast<int>(GetSkillProfile().GetRadiusTime(GetCurrentLevel()));
    mCentre = character.GetPosition();
    mRadius = TargetRadius(*this);
    mPending.clear();
    gGameEngine->GetTargetsInRadius(character.GetTeam(), mCentre, mRadius, mPending, 0, false);
    services->SendSkillActiveUpdate(GetObjectId(), SkillActiveState(0, true, false));
    static_cast<void>(target);
    PrimaryActivateSecondarySkills(character, mPending, CoordsAt(mCentre));
}

void Skill_AttackRadius::ReceiveActiveUpdate(Character& character, const SkillActiveState& state,
                                             bool fromReplica) {
    Skill::ReceiveActiveUpdate(character, state, fromReplica);
    if (state.active && !fromReplica) {
        SubtractManaCost();
        StartCooldown();
        PlayHitSound(character.GetPosition());
        // Every machine reads the time from the profile: only the deciding one ran ActivateNow.
        CreateVisualEffect(character.GetCoords(), TargetRadius(*this),
                           static_cast<int>(GetSkillProfile().GetRadiusTime(GetCurrentLevel())));
    }
    Skill::ReceiveActiveUpdate(character, SkillActiveState(state.subLevel, false, state.transition),
                               fromReplica);
}

void Skill_AttackRadius::Update(Character& character, int ms) {
    SkillActivatedSpell::Update(character, ms);
    SkillServicesBase* services = ServicesOf(*this);
    if (mPending.empty() || !services)
        return;
    mElapsed += ms;
    const float current =
        mRadiusTime > 0 ? static_cast<float>(mElapsed) / static_cast<float>(mRadiusTime) : mRadius;
    mReached.clear();
    auto& objects = Singleton<ObjectManager>::Get();
    std::size_t kept = 0;
    for (std::uint32_t id : mPending) {
        const Character* foe = objects.GetObject<Character>(id);
        if (!foe)
            continue;
        if (mCentre.DistanceTo(foe->GetPosition()) <= current)
            mReached.push_back(id);
        else
            mPending[kept++] = id;
    }
    mPending.resize(kept);
    if (!mReached.empty()) {
        services->ClearHitIteration();
        services->SendTargetResult(GetObjectId(), mReached, CoordsAt(mCentre), NewSeed(), 0, false);
    }
    // The wave has reached its full size: whoever it missed stays unhurt.
    if (!(current < mRadius))
        mPending.clear();
}

void Skill_AttackRadius::TargetResult(Character& character,
                                      const std::vector<std::uint32_t>& targets,
                                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t,
                                      bool) {
    if (targets.empty())
        return;
    ApplyDamageToTargets(character, targets, origin, seed, ParametersCombatStyle::Direct, false, 0,
                         0.0f, false);
    ActivateSecondarySkills(character, 0, targets, origin);
}

void Skill_AttackRadius::CreateVisualEffect(const WorldCoords& coords, float radius,
                                            int radiusTime) {
    const SkillProfile& profile = GetSkillProfile();
    if (!profile.GetRadiusMagicName().empty()) {
        auto* magic = Singleton<ObjectManager>::Get().CreateObjectFromFile<RadiusMagic>(
            profile.GetRadiusMagicName());
        if (magic) {
            magic->SetEffect(radius, static_cast<float>(radiusTime));
            WorldVec3 raised = coords.GetPosition();
            raised.Translate(Vec3{0.0f, 1.0f, 0.0f});
            World::Get().AddEntity(magic, CoordsAt(raised), true);
        }
    }
    AddFxPak(profile.GetRadiusEffectName(), coords.GetPosition());
}

bool Skill_AttackRadius::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    if (!mPending.empty()) {
        SetReason(SkillReason::CoolingDown);
        return false;
    }
    return SkillActivatedSpell::SetAvailability(ignoreMana, ignoreCooldown);
}

// --- The lightning strike ---

Skill_AttackRadiusLightning::Skill_AttackRadiusLightning() {
    SetTypeText("^bLightning Radius Attack");
    SetPrimary(true);
    SetSecondary(true);
    SetSkillType(0);
}

void Skill_AttackRadiusLightning::ActivateNow(Character& character, const Name&,
                                              std::uint32_t target, const WorldVec3& point) {
    SkillServicesBase* services = ServicesOf(*this);
    if (!services || !gGameEngine)
        return;
    mStrikePoint = point;
    // A list of its own: the stored targets are those the command brings back.
    std::vector<std::uint32_t>& targets = mChosen;
    targets.clear();
    targets.push_back(target);
    // The primary target is left out of the search: it is struck once, not once more for
    // standing inside the radius.
    gGameEngine->GetTargetsInRadius(character.GetTeam(), mStrikePoint, TargetRadius(*this), targets,
                                    target, false);
    // The primary target's id travels in the weapon's place.
    services->SendTargetResult(GetObjectId(), targets, CoordsAt(mStrikePoint), NewSeed(), target,
                               false);
}

void Skill_AttackRadiusLightning::TargetResult(Character& character,
                                               const std::vector<std::uint32_t>& targets,
                                               const WorldCoords& origin, std::uint32_t seed,
                                               std::uint32_t weaponId, bool) {
    mPrimaryTarget = weaponId;
    PlayHitSound(character.GetPosition());
    const Entity* primary =
        weaponId ? Singleton<ObjectManager>::Get().GetObject<Entity>(weaponId) : nullptr;
    mStrikeCoords = primary ? primary->GetCoords() : origin;
    CreateVisualEffect(mStrikeCoords);
    mTargets.assign(targets.begin(), targets.end());
    mSeed = seed;
}

void Skill_AttackRadiusLightning::CreateVisualEffect(const WorldCoords& coords) {
    const std::string& name = GetSkillProfile().GetLightningName();
    if (name.empty())
        return;
    auto* bolt = Singleton<ObjectManager>::Get().CreateObjectFromFile<Lightning>(name);
    if (!bolt)
        return;
    mBolt = bolt->GetObjectId();
    bolt->SetTarget(coords.GetPosition(), coords.GetPosition());
    World::Get().AddEntity(bolt, coords, true);
    mFlightLeft = kMaxFlightMs;
}

void Skill_AttackRadiusLightning::Update(Character& character, int ms) {
    SkillActivatedSpell::Update(character, ms);
    if (mBolt != 0) {
        if (const auto* bolt = Singleton<ObjectManager>::Get().GetObject<Lightning>(mBolt)) {
            mFlightLeft -= ms;
            if (!bolt->HasReachedTarget() && mFlightLeft > 0)
                return;
        }
        OnLightningComplete(character);
    } else if (!mTargets.empty()) {
        OnLightningComplete(character);
    }
}

void Skill_AttackRadiusLightning::OnLightningComplete(Character& character) {
    mBolt = 0;
    CreateTargetFx(mStrikeCoords.GetPosition());
    CameraShake();
    if (mTargets.empty())
        return;
    ApplyDamageToTargets(character, mTargets, mStrikeCoords, mSeed, ParametersCombatStyle::Direct,
                         false, 0, 0.0f, false);
    ActivateSecondarySkills(character, mPrimaryTarget, mTargets, mStrikeCoords);
    mTargets.clear();
}

bool Skill_AttackRadiusLightning::SetAvailability(bool ignoreMana, bool ignoreCooldown) {
    const bool available = SkillActivatedSpell::SetAvailability(ignoreMana, ignoreCooldown);
    if (!IsStriking())
        return available;
    SetReason(SkillReason::CoolingDown);
    return false;
}

}  // namespace GAME
