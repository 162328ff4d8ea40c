#include "Game/skills/pool/Skill_WPAttack.h"

#include "Engine/object/ObjectManager.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_WPAttack, SkillActivated)
RTTI_IMPLEMENT(Skill_WPAttack_BasicAttack, Skill_WPAttack)

Skill_WPAttack::Skill_WPAttack() {
    SetTypeText("^bBasic Weapon Attack");
    SetPrimary(false);
    SetSecondary(false);
    IgnoreManaAndCooldown();
}

std::uint32_t Skill_WPAttack::GetChanceWeight(bool includeDisabled) const {
    if (!IsSkillEnabled() && !includeDisabled)
        return 0;
    return GetSkillProfile().GetChanceWeight(GetCurrentLevel());
}

Skill* Skill_WPAttack::FindSharingParent() const {
    Skill* parent = Singleton<ObjectManager>::Get().GetObject<Skill>(mParentSkillId);
    return parent && parent->ShouldWpUseParentResources() ? parent : nullptr;
}

float Skill_WPAttack::GetTotalSkillAttribute(SkillAttributeType type) const {
    const float own = Skill::GetTotalSkillAttribute(type);
    const Skill* parent = SharingParent();
    return parent ? own + parent->GetTotalSkillAttribute(type) : own;
}

void Skill_WPAttack::GetSkillModifierData(SkillProfile_Modifiers& data) const {
    Skill::GetSkillModifierData(data);
    if (const Skill* parent = SharingParent())
        parent->GetSkillModifierData(data);
}

void Skill_WPAttack::AddProjectileModifier(ProjectileBase& projectile) {
    Skill::AddProjectileModifier(projectile);
    if (Skill* parent = SharingParent())
        parent->AddProjectileModifier(projectile);
}

void Skill_WPAttack::PlaySwipeSound(const WorldVec3& where) {
    Skill::PlaySwipeSound(where);
    if (Skill* parent = SharingParent())
        parent->PlaySwipeSound(where);
}

void Skill_WPAttack::PlayHitSound(const WorldVec3& where) {
    Skill::PlayHitSound(where);
    if (Skill* parent = SharingParent())
        parent->PlayHitSound(where);
}

void Skill_WPAttack::CreateTargetFx(const WorldVec3& where) {
    Skill::CreateTargetFx(where);
    if (Skill* parent = SharingParent())
        parent->CreateTargetFx(where);
}

void Skill_WPAttack::CollectLocalOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    Skill::CollectLocalOffensiveDamageAttributes(accumulator);
    if (Skill* parent = SharingParent())
        parent->CollectLocalOffensiveDamageAttributes(accumulator);
}

void Skill_WPAttack::CollectLocalOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    Skill::CollectLocalOffensiveModifierAttributes(accumulator);
    if (Skill* parent = SharingParent())
        parent->CollectLocalOffensiveModifierAttributes(accumulator);
}

// --- The plain pooled swing ---

Skill_WPAttack_BasicAttack::Skill_WPAttack_BasicAttack() {
    SetTypeText("^bPooled Weapon Attack");
}

void Skill_WPAttack_BasicAttack::ActivateNow(Character& character, const Name& event,
                                             std::uint32_t target, const WorldVec3& point) {
    ExecuteWeaponHit(character, event, target, point);
}

void Skill_WPAttack_BasicAttack::TargetResult(Character& character,
                                              const std::vector<std::uint32_t>& targets,
                                              const WorldCoords& origin, std::uint32_t seed,
                                              std::uint32_t weaponId, bool melee) {
    if (melee)
        ApplyMeleeDamage(character, targets, origin, seed, weaponId);
    else
        ApplyRangedDamage(character, targets, origin, seed, weaponId);
    const std::uint32_t parentId = GetParentSkillId();
    if (auto* parent =
            parentId ? Singleton<ObjectManager>::Get().GetObject<SkillActivatedWeaponPool>(parentId)
                     : nullptr)
        parent->WPAttackCallback(character, targets);
}

}  // namespace GAME
