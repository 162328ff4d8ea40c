#include "Game/skills/debuff/Skill_DispelMagic.h"

#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_DispelMagic, SkillActivated)

Skill_DispelMagic::Skill_DispelMagic() {
    SetTypeText("^bDispel Magic");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
    SetTargetType(SkillTargetType::FoeOrFriend);
}

bool Skill_DispelMagic::GetValidTarget(const Character& caster, std::uint32_t& target,
                                       const WorldVec3& point, bool flag, float radius) {
    if (!GetProjectileName().empty() || FindCharacter(target))
        return true;
    return GetValidFriendTarget(caster, target, point, flag, radius);
}

void Skill_DispelMagic::ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                                    const WorldVec3& point) {
    SkillServicesBase* services = ControllingServices();
    if (!services)
        return;
    if (GetProjectileName().empty()) {
        if (IsTargetInRange(caster, target, kReach))
            services->SendTargetResult(GetObjectId(), {target}, caster.GetCoords(),
                                       NewCommandSeed(), 0, false);
        return;
    }
    WorldCoords launch = caster.GetCoords();
    launch.SetPosition(GetCoordsFromCallback(caster, event).GetPosition());
    services->SendCreateProjectile(GetObjectId(), launch, target, point, NewCommandSeed(), 0);
}

void Skill_DispelMagic::CreateProjectile(Character& character, std::uint32_t,
                                         const WorldCoords& origin, std::uint32_t targetId,
                                         const WorldVec3& aim, std::uint32_t projectileId,
                                         std::uint16_t seed) {
    PlayHitSound(origin.GetPosition());
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    OwnLaunch how;
    how.duration = static_cast<std::uint32_t>(data.activeDuration);
    LaunchOwnProjectile(character, GetProjectileName(), origin, targetId, aim, projectileId, seed,
                        how);
}

void Skill_DispelMagic::TargetInformation(const ProjectileInfo& info, const WorldCoords&,
                                          std::vector<std::uint32_t>& targets) {
    SendProjectileTargets(info, targets);
}

void Skill_DispelMagic::TargetFriendInformation(const ProjectileInfo& info, const WorldCoords& at,
                                                std::vector<std::uint32_t>& targets) {
    std::vector<std::uint32_t> copy = targets;
    TargetInformation(info, at, copy);
}

void Skill_DispelMagic::TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                                     const WorldCoords& origin, std::uint32_t seed, std::uint32_t,
                                     bool) {
    if (targets.empty())
        return;
    RandomUniform random;
    random.Seed(seed);
    const TeamManager* teams = gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
    const SkillProfile& profile = GetSkillProfile();
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        const bool friendly = teams ? teams->IsFriend(caster.GetTeam(), target->GetTeam())
                                    : caster.GetTeam().IsFriend(target->GetTeam());
        if (friendly) {
            target->DispelSkillDeBuffs();
            CreateTargetFx(target->GetPosition());
            continue;
        }
        target->DispelSkillBuffs();
        ParametersCombat parameters(random);
        CollectCombatParameters(caster, target, ParametersCombatStyle::Direct, false, 0, parameters,
                                0.0f);
        InitRagDollData(parameters.ragDollData, origin.GetPosition(), target->GetPosition());
        CreateTargetFx(target->GetPosition());
        target->TakeAttack(parameters);
        PlayHitSound(target->GetPosition());
        if (const std::string& aura = profile.GetSpellAuraName(); !aura.empty())
            target->AddAura(aura, false,
                            static_cast<int>(profile.GetSpellAuraDuration(GetCurrentLevel())));
    }
    ActivateSecondarySkills(caster, 0, targets, origin);
}

}  // namespace GAME
