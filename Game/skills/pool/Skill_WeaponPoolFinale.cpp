#include "Game/characters/Character.h"
#include "Game/characters/anim/AnimationSetType.h"
#include "Game/skills/pool/Skill_WeaponPool.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_WeaponPool_ChargedFinale, SkillActivatedWeaponPool)

Skill_WeaponPool_ChargedFinale::Skill_WeaponPool_ChargedFinale() {
    SetTypeText("^bCharging Weapon Attack with Finale");
    SetPrimary(true);
    SetSecondary(true);
    SetUseDefaultWhenUnavailable(true, true);
    // The pooled swings stay plain: the finale is the skill's own.
    SetWpUsesParentResources(false);
}

int Skill_WeaponPool_ChargedFinale::TrackableTotalTime(std::uint32_t) const {
    return static_cast<int>(GetSkillProfile().GetMaxChargeLevel(GetCurrentLevel()));
}

bool Skill_WeaponPool_ChargedFinale::IsFullyCharged() const {
    return GetActiveState().subLevel >=
           static_cast<int>(GetSkillProfile().GetMaxChargeLevel(GetCurrentLevel()));
}

void Skill_WeaponPool_ChargedFinale::Discharge() {
    mChargeLevel = 0;
    mChargeTimer = 0;
    PublishCharge(0);
}

void Skill_WeaponPool_ChargedFinale::WPAttackCallback(Character&,
                                                      const std::vector<std::uint32_t>& targets) {
    if (targets.empty())
        return;
    SubtractManaCost();
    StartCooldown();
    if (!Services())
        return;
    // Capped at the largest charge of the level: a charge past it would only wait for a finale
    // it cannot make any stronger.
    if (mChargeLevel < static_cast<int>(GetSkillProfile().GetMaxChargeLevel(GetCurrentLevel())))
        ++mChargeLevel;
    PublishCharge(mChargeLevel);
    mChargeTimer =
        static_cast<int>(GetSkillProfile().GetChargeDuration(static_cast<unsigned>(mChargeLevel)));
}

void Skill_WeaponPool_ChargedFinale::Update(Character& character, int ms) {
    SkillActivatedWeaponPool::Update(character, ms);
    if (Services() && mChargeLevel > 0) {
        mChargeTimer -= ms;
        // The whole charge is lost at once.
        if (mChargeTimer < 1)
            Discharge();
    }
    if (GetActiveState().subLevel != 0)
        NotifyUIOnActivate();
}

void Skill_WeaponPool_ChargedFinale::ReceiveActiveUpdate(Character& character,
                                                         const SkillActiveState& state,
                                                         bool fromReplica) {
    Skill::ReceiveActiveUpdate(character, state, fromReplica);
    if (!fromReplica && state.subLevel >= 1)
        SubtractManaCost();
    SetChargeEffect(character, state.subLevel);
}

void Skill_WeaponPool_ChargedFinale::SetChargeEffect(Character& character, int level) {
    if (mChargeEffect != 0)
        character.RemoveAura(mChargeEffect);
    mChargeEffect = 0;
    const std::string& name =
        GetSkillProfile().GetChargeAuraName(level > 0 ? static_cast<unsigned>(level) : 0u);
    if (!name.empty())
        mChargeEffect = character.AddAura(name, true, 0);
}

void Skill_WeaponPool_ChargedFinale::StopSkill(Character&) {
    if (!Services())
        return;
    Discharge();
    NotifyUIOnDeactivate();
}

// --- The swing: a pooled attack, or at full charge the finale ---

bool Skill_WeaponPool_ChargedFinale::StartAction(Character& character, std::uint32_t target,
                                                 const WorldVec3& point, std::uint32_t seed) {
    if (!IsFullyCharged())
        return SkillActivatedWeaponPool::StartAction(character, target, point, seed);
    ClearChosenAttack();
    const float speed = HasManager() ? GetManager()->GetAttackSpeed() : 1.0f;
    if (StartSpecialAnimation(character, speed, false))
        return true;
    return StartNormalAnimation(character, static_cast<int>(AnimationSet_Type::Attack), Name(),
                                speed, 0, 0);
}

void Skill_WeaponPool_ChargedFinale::SwipeAction(Character& character, const Name& event,
                                                 std::uint32_t target, const WorldVec3& point) {
    if (IsFullyCharged())
        PlaySwipeSound(character.GetPosition());
    else
        SkillActivatedWeaponPool::SwipeAction(character, event, target, point);
}

void Skill_WeaponPool_ChargedFinale::HitAction(Character& character, const Name& event,
                                               std::uint32_t target, const WorldVec3& point) {
    if (!IsFullyCharged()) {
        SkillActivatedWeaponPool::HitAction(character, event, target, point);
        return;
    }
    // Only the controlling machine executes; it spends the charge.
    if (ExecuteWeaponHit(character, event, target, point) && Services())
        Discharge();
}

bool Skill_WeaponPool_ChargedFinale::EndAction(Character& character) {
    return SkillActivatedWeaponPool::EndAction(character);
}

void Skill_WeaponPool_ChargedFinale::TargetResult(Character& character,
                                                  const std::vector<std::uint32_t>& targets,
                                                  const WorldCoords& origin, std::uint32_t seed,
                                                  std::uint32_t weaponId, bool melee) {
    if (melee)
        ApplyMeleeDamage(character, targets, origin, seed, weaponId);
    else
        ApplyRangedDamage(character, targets, origin, seed, weaponId);
}

}  // namespace GAME
