#include <algorithm>
#include <cmath>

#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/characters/anim/AnimationSetType.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/SkillUpdate.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(SkillActivatedWeaponPool, SkillActivated)

namespace {

Weapon* FindWeapon(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Weapon>(id) : nullptr;
}

bool IsEvent(const Name& event, const char* text) {
    return event == Name::Find(text) && !Name::Find(text).IsEmpty();
}

// Special animation, else the branch's own, at the given speed.
bool StartCast(Skill& skill, Character& character, AnimationSet_Type type, float speed) {
    if (!skill.IsSkillEnabled())
        return false;
    if (skill.StartSpecialAnimation(character, speed, false))
        return true;
    return skill.StartNormalAnimation(character, static_cast<int>(type), Name(), speed, 0, 0);
}

float SpellCastSpeed(const Skill& skill) {
    return skill.HasManager() ? skill.GetManager()->GetSpellCastSpeed() : 1.0f;
}

}  // namespace

// --- Weapon attacks ---

void SkillActivatedWeapon::Update(Character&, int ms) {
    UpdateAsWeapon(ms);
}

float SkillActivatedWeapon::GetRunSpeedAcceleration() const {
    return GetSkillProfile().GetSkillModifierData(GetCurrentLevel()).speedAcceleration;
}

AnimationSet_Type SkillActivatedWeapon::ChooseAttackAnimation(Character& character,
                                                              std::uint32_t target,
                                                              const WorldVec3& point) {
    if (!dynamic_cast<Player*>(&character))
        return AnimationSet_Type::Attack;
    WorldVec3 aim = point;
    if (Actor* actor = target ? Singleton<ObjectManager>::Get().GetObject<Actor>(target) : nullptr)
        aim = actor->GetPosition();
    Vec3 d = character.GetPosition().VectorTo(aim);
    d.y = 0.0f;
    if (d.Length() > 0.0f)
        d = d.Unit();
    const Coords& coords = character.GetCoords().GetRegionCoords();
    const float angle = std::acos(std::clamp(d.Dot(coords.zAxis), -1.0f, 1.0f));
    if (angle < 45.0f * 0.017453292f)
        return AnimationSet_Type::Attack;
    character.RotateTowardsTarget(true);
    return d.Dot(coords.xAxis) < 0.0f ? AnimationSet_Type::AttTurnRight90
                                      : AnimationSet_Type::AttTurnLeft90;
}

bool SkillActivatedWeapon::StartAction(Character& character, std::uint32_t target,
                                       const WorldVec3& point, std::uint32_t) {
    if (!IsSkillEnabled())
        return false;
    const float speed = HasManager() ? GetManager()->GetAttackSpeed() : 1.0f;
    if (StartSpecialAnimation(character, speed, false))
        return true;
    const AnimationSet_Type type = ChooseAttackAnimation(character, target, point);
    return StartNormalAnimation(character, static_cast<int>(type), Name(), speed, 0, 0);
}

void SkillActivatedWeapon::SwipeAction(Character& character, const Name& event, std::uint32_t,
                                       const WorldVec3&) {
    PlayWeaponSwipeSound(character, event);
    PlaySwipeSound(character.GetPosition());
    if (!HasManager())
        return;
    const bool both = IsEvent(event, "SwipeBoth");
    if (both || IsEvent(event, "SwipeRight"))
        if (Weapon* weapon = FindWeapon(GetManager()->GetRightHandWeapon()))
            weapon->EnableWeaponTrail();
    if (both || IsEvent(event, "SwipeLeft"))
        if (Weapon* weapon = FindWeapon(GetManager()->GetLeftHandWeapon()))
            weapon->EnableWeaponTrail();
}

bool SkillActivatedWeapon::EndAction(Character& character) {
    // Skill::Cancel switches the trails of both hands off.
    Skill::Cancel(character);
    return true;
}

bool SkillActivatedWeapon::GetValidTarget(const Character& caster, std::uint32_t& target,
                                          const WorldVec3& point, bool flag, float radius) {
    if (HoldsRangedWeapon())
        return GetValidRangedTarget(caster, target, point, flag, radius);
    return GetValidMeleeTarget(caster, target, point, flag, radius,
                               GetSkillProfile().AllowsWarmUp());
}

// --- Spells ---

SkillActivatedSpell::~SkillActivatedSpell() = default;

bool SkillActivatedSpell::StartAction(Character& character, std::uint32_t, const WorldVec3&,
                                      std::uint32_t) {
    return StartCast(*this, character, AnimationSet_Type::SpellCast, SpellCastSpeed(*this));
}

void SkillActivatedSpell::SwipeAction(Character& character, const Name&, std::uint32_t,
                                      const WorldVec3&) {
    PlaySwipeSound(character.GetPosition());
}

bool SkillActivatedSpell::GetValidTarget(const Character& caster, std::uint32_t& target,
                                         const WorldVec3& point, bool flag, float radius) {
    if (GetSkillProfile().GetProjectileTargetGroundOnly() || GetSkillType() == 1) {
        target = 0;
        return true;
    }
    return GetValidRangedTarget(caster, target, point, flag, radius);
}

void SkillActivatedSpell::TargetResult(Character& character,
                                       const std::vector<std::uint32_t>& targets,
                                       const WorldCoords& origin, std::uint32_t seed,
                                       std::uint32_t weaponId, bool) {
    if (targets.empty())
        return;
    const bool allDamages = GetSkillProfile().ProjectileUsesAllDamages();
    const std::uint32_t itemId = allDamages && weaponId == 0 ? GetObjectId() : weaponId;
    ApplyDamageToTargets(character, targets, origin, seed, ParametersCombatStyle::Projectile,
                         allDamages, itemId, 0.0f, false);
    ActivateSecondarySkills(character, 0, targets, origin);
}

void SkillActivatedSpell::PreLoad(bool now) {
    Skill::PreLoad(now);
    if (Object* object = mSpellObject.Get())
        object->PreLoad(now);
}

void SkillActivatedSpell::PreLoadResources() {
    mSpellObject.Reset();
    const std::string& name = GetProjectileName();
    if (!name.empty())
        mSpellObject.Reset(Singleton<ObjectManager>::Get().CreateObjectFromFile(name));
}

// --- Buffs on the user ---

bool SkillActivatedBuffSelf::StartAction(Character& character, std::uint32_t, const WorldVec3&,
                                         std::uint32_t) {
    return StartCast(*this, character, AnimationSet_Type::BuffSelf, SpellCastSpeed(*this));
}

void SkillActivatedBuffSelf::SwipeAction(Character& character, const Name&, std::uint32_t,
                                         const WorldVec3&) {
    PlaySwipeSound(character.GetPosition());
}

bool SkillActivatedBuffSelf::GetValidTarget(const Character& caster, std::uint32_t& target,
                                            const WorldVec3&, bool, float) {
    target = caster.GetObjectId();
    return true;
}

void SkillActivatedBuffSelf::DispellSelfBuff(Character& character) {
    if (!GetSkillProfile().GetNotDispelSetting())
        StopSkill(character);
}

void SkillActivatedBuffSelf::ApplyCost(bool starting) {
    if (starting) {
        SubtractManaCost();
        if (!mCooldownAtEnd)
            StartCooldown();
    } else if (mCooldownAtEnd) {
        StartCooldown();
    }
}

void SkillActivatedBuffSelf::ApplyActiveCosts(Character& character, int ms) {
    if (!HasManager())
        return;
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    const float seconds = static_cast<float>(ms) * 0.001f;
    if (data.activeLifeCost != 0.0f) {
        const float cost = seconds * data.activeLifeCost;
        const float life = character.GetCurrentLife();
        if (cost < life && life > 1.0f)
            GetManager()->SubtractLife(cost,
                                       PlayStatsDamageType{6, static_cast<CombatAttributeType>(0)});
    }
    if (data.activeManaCost != 0.0f) {
        GetManager()->SubtractMana(seconds * data.activeManaCost);
        if (GetManager()->GetCurrentMana() <= 0.0f)
            StopSkill(character);
    }
}

// --- Buffs on a friend ---

bool SkillActivatedBuffOther::StartAction(Character& character, std::uint32_t, const WorldVec3&,
                                          std::uint32_t) {
    return StartCast(*this, character, AnimationSet_Type::BuffOther, SpellCastSpeed(*this));
}

void SkillActivatedBuffOther::SwipeAction(Character& character, const Name&, std::uint32_t,
                                          const WorldVec3&) {
    PlaySwipeSound(character.GetPosition());
}

bool SkillActivatedBuffOther::GetValidTarget(const Character& caster, std::uint32_t& target,
                                             const WorldVec3& point, bool flag, float radius) {
    return GetValidFriendTarget(caster, target, point, flag, radius);
}

// --- The weapon pool ---

SkillActivated* SkillActivatedWeaponPool::ChosenAttack() const {
    return mChosenAttack ? Singleton<ObjectManager>::Get().GetObject<Skill_WPAttack>(mChosenAttack)
                         : nullptr;
}

SkillServicesBase* SkillActivatedWeaponPool::Services() const {
    return HasManager() ? GetManager()->GetSkillServices() : nullptr;
}

void SkillActivatedWeaponPool::PublishCharge(int charge) {
    if (SkillServicesBase* services = Services())
        services->SendSkillActiveUpdate(GetObjectId(), SkillActiveState(charge, false, false));
}

void SkillActivatedWeaponPool::Update(Character& character, int ms) {
    Skill::Update(character, ms);
    FollowWeaponRange();
}

bool SkillActivatedWeaponPool::StartAction(Character& character, std::uint32_t target,
                                           const WorldVec3& point, std::uint32_t seed) {
    if (!HasManager())
        return false;
    // Drawn from the use's seed, so every machine picks the same attack.
    RandomUniform random;
    random.Seed(seed);
    mChosenAttack = GetManager()->SelectWeaponPoolSkill(random);
    auto* attack = static_cast<Skill_WPAttack*>(ChosenAttack());
    if (!attack)
        return false;
    attack->SetParentSkillId(GetObjectId());
    return attack->StartAction(character, target, point, seed);
}

void SkillActivatedWeaponPool::SwipeAction(Character& character, const Name& event,
                                           std::uint32_t target, const WorldVec3& point) {
    if (SkillActivated* attack = ChosenAttack())
        attack->SwipeAction(character, event, target, point);
}

void SkillActivatedWeaponPool::HitAction(Character& character, const Name& event,
                                         std::uint32_t target, const WorldVec3& point) {
    if (SkillActivated* attack = ChosenAttack())
        attack->HitAction(character, event, target, point);
}

bool SkillActivatedWeaponPool::EndAction(Character& character) {
    SkillActivated* attack = ChosenAttack();
    return attack ? attack->EndAction(character) : true;
}

void SkillActivatedWeaponPool::PlaySkillSound1(const WorldVec3& where) {
    if (SkillActivated* attack = ChosenAttack())
        attack->PlaySkillSound1(where);
    else
        SkillActivated::PlaySkillSound1(where);
}

void SkillActivatedWeaponPool::PlaySkillSound2(const WorldVec3& where) {
    if (SkillActivated* attack = ChosenAttack())
        attack->PlaySkillSound2(where);
    else
        SkillActivated::PlaySkillSound2(where);
}

bool SkillActivatedWeaponPool::GetValidTarget(const Character& caster, std::uint32_t& target,
                                              const WorldVec3& point, bool flag, float radius) {
    if (HoldsRangedWeapon())
        return GetValidRangedTarget(caster, target, point, flag, radius);
    return GetValidMeleeTarget(caster, target, point, flag, radius, false);
}

}  // namespace GAME
