#include "Game/skills/utility/Skill_GiveBonus.h"

#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/players/Bonus.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_GiveBonus, SkillActivated)

Skill_GiveBonus::Skill_GiveBonus() {
    SetTypeText("^bGive Instant Bonus");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
}

bool Skill_GiveBonus::GetValidTarget(const Character& user, std::uint32_t& target,
                                     const WorldVec3& point, bool flag, float radius) {
    if (!GetProjectileName().empty() || FindCharacter(target))
        return true;
    return GetValidFriendTarget(user, target, point, flag, radius);
}

void Skill_GiveBonus::ActivateNow(Character& user, const Name& event, std::uint32_t target,
                                  const WorldVec3& point) {
    SkillServicesBase* services = ControllingServices();
    if (!services)
        return;
    if (GetProjectileName().empty()) {
        if (FindCharacter(target) && IsTargetInRange(user, target, kReach))
            services->SendTargetResult(GetObjectId(), {target}, user.GetCoords(), NewCommandSeed(),
                                       0, false);
        return;
    }
    WorldCoords launch = user.GetCoords();
    launch.SetPosition(GetCoordsFromCallback(user, event).GetPosition());
    services->SendCreateProjectile(GetObjectId(), launch, target, point, NewCommandSeed(), 0);
}

void Skill_GiveBonus::CreateProjectile(Character& character, std::uint32_t,
                                       const WorldCoords& origin, std::uint32_t targetId,
                                       const WorldVec3& aim, std::uint32_t projectileId,
                                       std::uint16_t seed) {
    PlayHitSound(origin.GetPosition());
    LaunchOwnProjectile(character, GetProjectileName(), origin, targetId, aim, projectileId, seed,
                        OwnLaunch{});
}

void Skill_GiveBonus::TargetInformation(const ProjectileInfo& info, const WorldCoords& at,
                                        std::vector<std::uint32_t>& targets) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(info.casterId) || targets.empty() || !services)
        return;
    services->ClearHitIteration();
    // The weapon place carries the projectile's target.
    services->SendTargetResult(GetObjectId(), targets, at, NewCommandSeed(), info.targetId, false);
}

void Skill_GiveBonus::TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                                   const WorldCoords& origin, std::uint32_t, std::uint32_t, bool) {
    if (targets.empty())
        return;
    PlayHitSound(user.GetPosition());
    const SkillProfile& profile = GetSkillProfile();
    const std::uint32_t level = GetCurrentLevel();
    Bonus bonus;
    bonus.lifePoints = profile.GetLifeBonus(level);
    bonus.manaPoints = profile.GetManaBonus(level);
    bonus.effectName = profile.GetBonusEffectName();
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        CreateTargetFx(target->GetPosition());
        target->TakeBonus(bonus, false, 0);
    }
    ActivateSecondarySkills(user, 0, targets, origin);
}

}  // namespace GAME
