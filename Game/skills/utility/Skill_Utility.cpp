#include "Game/skills/utility/Skill_Utility.h"

#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/anim/AnimationSetType.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_PlayAttackAnimation, SkillActivated)
RTTI_IMPLEMENT(Skill_RefreshCooldown, SkillActivated)
RTTI_IMPLEMENT(Skill_Teleport, SkillActivated)

// --- Attack animation ---

Skill_PlayAttackAnimation::Skill_PlayAttackAnimation() {
    SetTypeText("^bPlay Attack Animation");
    SetPrimary(false);
    SetSecondary(false);
    // Whatever the record or the owner says.
    SetLevelSource(LevelSource::Fixed);
}

bool Skill_PlayAttackAnimation::StartAction(Character& character, std::uint32_t, const WorldVec3&,
                                            std::uint32_t) {
    if (StartSpecialAnimation(character, 1.0f, false))
        return true;
    return StartNormalAnimation(character, static_cast<int>(AnimationSet_Type::Attack), Name(),
                                1.0f, 0, 0);
}

// --- Refresh cooldowns ---

Skill_RefreshCooldown::Skill_RefreshCooldown() {
    SetTypeText("^bRefresh Cooldown of Skills");
    SetPrimary(false);
    SetSecondary(true);
}

void Skill_RefreshCooldown::ActivateNow(Character& owner, const Name&, std::uint32_t,
                                        const WorldVec3&) {
    PlayHitSound(owner.GetPosition());
    CreateTargetFx(owner.GetPosition());
    if (HasManager())
        GetManager()->RefreshCooldown();
    if (SkillServicesBase* services = ControllingServices())
        services->SendTargetResult(GetObjectId(), {owner.GetObjectId()}, owner.GetCoords(),
                                   NewCommandSeed(), 0, false);
}

// --- Teleport ---

Skill_Teleport::Skill_Teleport() {
    SetTypeText("^bTeleport");
    SetPrimary(false);
    SetSecondary(true);
}

bool Skill_Teleport::GetValidTarget(const Character& owner, std::uint32_t& target,
                                    const WorldVec3& point, bool flag, float radius) {
    return GetValidRangedTarget(owner, target, point, flag, radius) ||
           GetValidFriendTarget(owner, target, point, flag, radius);
}

void Skill_Teleport::ActivateNow(Character& owner, const Name&, std::uint32_t target,
                                 const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(target) || !services || !IsTargetInRange(owner, target, kReach))
        return;
    services->SendTargetResult(GetObjectId(), {target}, owner.GetCoords(), NewCommandSeed(), 0,
                               false);
}

void Skill_Teleport::TargetResult(Character& owner, const std::vector<std::uint32_t>& targets,
                                  const WorldCoords& origin, std::uint32_t, std::uint32_t, bool) {
    if (targets.empty())
        return;
    if (Character* target = FindCharacter(targets.front())) {
        CreateTargetFx(target->GetPosition());
        CreateTargetFx(owner.GetPosition());
        PlayHitSound(target->GetPosition());
        PlayHitSound(owner.GetPosition());
        // Both places are read before either moves.
        const WorldCoords there = target->GetCoords();
        const WorldCoords here = owner.GetCoords();
        target->TeleportToLocation(here);
        owner.TeleportToLocation(there);
    }
    ActivateSecondarySkills(owner, 0, targets, origin);
}

bool Skill_Teleport::AcceptClientResult(const Character& owner,
                                        const std::vector<std::uint32_t>& targets,
                                        const WorldCoords&) const {
    return targets.size() == 1 && IsTargetInRange(owner, targets[0], kReach + kClientLeeway);
}

}  // namespace GAME
