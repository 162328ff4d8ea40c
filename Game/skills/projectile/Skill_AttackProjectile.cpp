#include "Game/skills/projectile/Skill_AttackProjectile.h"

#include "Engine/Engine.h"
#include "Game/characters/Character.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackProjectile, SkillActivated)

Skill_AttackProjectile::Skill_AttackProjectile() {
    SetTypeText("^bProjectile Attack");
    SetPrimary(true);
    SetSecondary(true);
}

void Skill_AttackProjectile::ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                                         const WorldVec3& point) {
    WorldCoords origin = caster.GetCoords();
    origin.SetPosition(GetCoordsFromCallback(caster, event).GetPosition());
    ExecuteRangedAttack(caster, origin, target, point, 0);
}

void Skill_AttackProjectile::CreateProjectile(Character& character, std::uint32_t,
                                              const WorldCoords& origin, std::uint32_t targetId,
                                              const WorldVec3& aim, std::uint32_t projectileId,
                                              std::uint16_t seed) {
    PlayHitSound(origin.GetPosition());
    const std::string& name = GetProjectileName();
    ProjectileBase* projectile = MakeProjectile(name, projectileId);
    if (!projectile) {
        gEngine->Log(1, "Failed to spawn projectile (%s) (%s)", name.c_str(),
                     GetObjectName().c_str());
        return;
    }
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    ProjectileInfo info;
    info.start = origin;
    info.targetId = targetId;
    info.targetPosition = aim;
    info.piercingChance = data.projectilePiercing;
    StartProjectile(character, *projectile, info, seed);
}

}  // namespace GAME
