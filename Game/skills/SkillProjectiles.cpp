// The projectile side of the activated skills: the launch that runs on every machine from the
// create-projectile command, and the hits the projectile reports back.
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

ProjectileBase* SkillActivated::MakeProjectile(const std::string& record,
                                               std::uint32_t projectileId) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // The id comes with the command: one that names an object here already (another machine's
    // counter ran into it, or a client chose it) must not displace that object. The copy here
    // takes an id of its own; it sends nothing, so no machine needs to find it by id.
    if (projectileId != 0 && objects.GetObject(projectileId)) {
        gEngine->Log(1, "Projectile id %u of skill %s is in use here; a fresh one is taken",
                     projectileId, GetObjectName().c_str());
        projectileId = 0;
    }
    return objects.CreateObjectFromFile<ProjectileBase>(record, projectileId);
}

namespace {

void LoadProjectile(SkillActivated& skill, Character& character, ProjectileBase& projectile,
                    ProjectileInfo& info, std::uint16_t seed) {
    info.skillId = skill.GetObjectId();
    info.casterId = character.GetObjectId();
    info.team = character.GetTeam();
    info.speedModifier = skill.GetTotalSkillAttribute(SkillAttributeType::ProjectileSpeedModifier);
    projectile.LoadInfo(info, seed);
    skill.AddProjectileModifier(projectile);
}

}  // namespace

void SkillActivated::StartProjectile(Character& character, ProjectileBase& projectile,
                                     ProjectileInfo info, std::uint16_t seed) {
    LoadProjectile(*this, character, projectile, info, seed);
    projectile.PlaySwipeSound(character.GetPosition());
    projectile.ProjectileGo();
}

ProjectileBase* SkillActivated::LaunchOwnProjectile(Character& character, const std::string& record,
                                                    const WorldCoords& origin,
                                                    std::uint32_t targetId, const WorldVec3& aim,
                                                    std::uint32_t projectileId, std::uint16_t seed,
                                                    const OwnLaunch& how) {
    ProjectileBase* projectile = MakeProjectile(record, projectileId);
    if (!projectile) {
        gEngine->Log(1, "Failed to spawn projectile (%s) (%s)", record.c_str(),
                     GetObjectName().c_str());
        return nullptr;
    }
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    ProjectileInfo info;
    info.start = origin;
    info.targetId = targetId;
    info.targetPosition = aim;
    info.piercingChance = data.projectilePiercing;
    info.duration = how.duration;
    LoadProjectile(*this, character, *projectile, info, seed);
    if (how.swipeSound)
        projectile->PlaySwipeSound(character.GetPosition());
    if (how.start)
        projectile->ProjectileGo();
    return projectile;
}

void SkillActivated::CreateProjectile(Character& character, std::uint32_t weaponId,
                                      const WorldCoords& origin, std::uint32_t targetId,
                                      const WorldVec3& aim, std::uint32_t projectileId,
                                      std::uint16_t seed) {
    WorldCoords start = origin;
    Weapon* weapon =
        weaponId ? Singleton<ObjectManager>::Get().GetObject<Weapon>(weaponId) : nullptr;
    std::string projectileName = GetProjectileName();
    std::string weaponName;
    float weaponPiercing = 0.0f;
    if (weapon) {
        weaponName = weapon->GetObjectName();
        weapon->PlayHitSound(character.GetPosition());
        weaponPiercing = weapon->GetProjectilePiercingChance();
        projectileName = weapon->GetProjectileName();
        if (weapon->IsAttached())
            start.SetPosition(weapon->GetAttachedCoords("Shoot").GetPosition());
    }
    PlayHitSound(character.GetPosition());
    ProjectileBase* projectile = MakeProjectile(projectileName, projectileId);
    if (!projectile) {
        gEngine->Log(1, "Failed to spawn ranged projectile (%s) (%s)", projectileName.c_str(),
                     weaponName.c_str());
        return;
    }
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    ProjectileInfo info;
    info.start = start;
    info.weaponId = weaponId;
    info.targetId = targetId;
    info.targetPosition = aim;
    info.piercingChance = data.projectilePiercing + weaponPiercing;
    StartProjectile(character, *projectile, info, seed);
}

void SkillActivated::SendProjectileTargets(const ProjectileInfo& info,
                                           const std::vector<std::uint32_t>& targets) {
    // A projectile reports every path test, mostly with nothing found: only finds travel.
    if (targets.empty() || !FindCharacter(info.casterId) || !HasManager())
        return;
    SkillServicesBase* services = GetManager()->GetSkillServices();
    if (!services)
        return;
    services->ClearHitIteration();
    services->SendTargetResult(GetObjectId(), targets, info.start,
                               gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u,
                               info.weaponId, false);
}

void SkillActivatedWeapon::TargetInformation(const ProjectileInfo& info, const WorldCoords&,
                                             std::vector<std::uint32_t>& targets) {
    SendProjectileTargets(info, targets);
}

void SkillActivatedSpell::TargetInformation(const ProjectileInfo& info, const WorldCoords&,
                                            std::vector<std::uint32_t>& targets) {
    SendProjectileTargets(info, targets);
}

void SkillActivatedWeaponPool::TargetInformation(const ProjectileInfo& info, const WorldCoords&,
                                                 std::vector<std::uint32_t>& targets) {
    SendProjectileTargets(info, targets);
}

}  // namespace GAME
