#include "Game/skills/weapon/Skill_AttackWeapon.h"

#include "Game/characters/Character.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackWeapon, SkillActivated)

Skill_AttackWeapon::Skill_AttackWeapon() {
    SetTypeText("^bWeapon Attack");
    SetPrimary(true);
    SetSecondary(true);
    SetUseDefaultWhenUnavailable(true, true);
}

// --- Passive bonuses, lent only while the warm-up runs ---

void Skill_AttackWeapon::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!mWarmUpActive)
        return;
    const SkillProfile& profile = GetSkillProfile();
    profile.GetCharAttributes(accumulator, GetCurrentLevel());
    profile.GetCharAttributesPenalty(accumulator, GetCurrentLevel());
    AddModifierCharAttributes(accumulator);
}

void Skill_AttackWeapon::CollectPassiveRetaliationAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!mWarmUpActive)
        return;
    GetSkillProfile().GetRetaliationAttributes(accumulator, GetCurrentLevel());
    AddModifierRetaliationAttributes(accumulator);
}

void Skill_AttackWeapon::CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (!mWarmUpActive)
        return;
    GetSkillProfile().GetDefenseAttributes(accumulator, GetCurrentLevel());
    AddModifierDefenseAttributes(accumulator);
}

void Skill_AttackWeapon::CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                                          RacialBonus_Defense& bonus) {
    if (!mWarmUpActive)
        return;
    GetSkillProfile().GetRacialBonusDefense(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDefense(races, bonus);
}

// --- The attack ---

void Skill_AttackWeapon::ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                                     const WorldVec3& point) {
    ExecuteWeaponHit(caster, event, target, point);
}

void Skill_AttackWeapon::TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                                      const WorldCoords& coords, std::uint32_t seed,
                                      std::uint32_t weaponId, bool useWeapon) {
    if (useWeapon)
        ApplyMeleeDamage(caster, targets, coords, seed, weaponId);
    else
        ApplyRangedDamage(caster, targets, coords, seed, weaponId);
    ActivateSecondarySkills(caster, 0, targets, coords);
    mWarmUpWasActive = false;
}

// --- Warm-up ---

bool Skill_AttackWeapon::WarmUpStart() {
    if (!IsSkillEnabled())
        return false;
    mWarmUpActive = GetSkillProfile().AllowsWarmUp();
    ContributionChanged();
    if (!mWarmUpActive)
        return false;
    if (Character* character = GetManager() ? GetManager()->GetParent() : nullptr) {
        PlayWarmUpSound(character->GetCoords().GetPosition());
        WarmUpEffect(*character, true);
    }
    mWarmUpWasActive = true;
    return true;
}

void Skill_AttackWeapon::WarmUpEnd() {
    if (!mWarmUpActive)
        return;
    mWarmUpActive = false;
    ContributionChanged();
    if (Character* character = GetManager() ? GetManager()->GetParent() : nullptr)
        WarmUpEffect(*character, false);
}

void Skill_AttackWeapon::Cancel(Character& caster) {
    SkillActivatedWeapon::Cancel(caster);
    // A charge cancelled before its release would otherwise keep lending its passive bonuses
    // and its warm-up effect for good.
    WarmUpEnd();
    if (!mWarmUpWasActive)
        return;
    // A charged attack that is cancelled still costs its mana and cooldown, once.
    mWarmUpWasActive = false;
    SubtractManaCost();
    StartCooldown();
}

}  // namespace GAME
