#include "Game/skills/projectile/Skill_AttackProjectileAreaEffect.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/projectiles/ProjectileTelekinesis.h"
#include "Game/world/props/OrmenosDropZone.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackProjectileAreaEffect, SkillActivated)
RTTI_IMPLEMENT(Skill_DropProjectileTelekinesis, Skill_AttackProjectileAreaEffect)

Skill_AttackProjectileAreaEffect::Skill_AttackProjectileAreaEffect() {
    SetTypeText("^bAttack Area Effect");
    SetPrimary(false);
    SetSecondary(true);
}

void Skill_AttackProjectileAreaEffect::ActivateNow(Character& caster, const Name& event,
                                                   std::uint32_t target, const WorldVec3& point) {
    SkillServicesBase* services = ControllingServices();
    if (!services)
        return;
    // The count is asked again after each projectile.
    for (int i = 0; i < GetNumProjectiles(); ++i) {
        const WorldCoords launch = GetLaunchPoint(caster, event);
        if (i > 0)
            services->ClearHitIteration();
        services->SendCreateProjectile(GetObjectId(), launch, target, point, NewCommandSeed(),
                                       i == 0 ? 1u : 0u);
    }
}

WorldCoords Skill_AttackProjectileAreaEffect::GetLaunchPoint(Character& caster, const Name& event) {
    WorldCoords launch = caster.GetCoords();
    launch.SetPosition(GetCoordsFromCallback(caster, event).GetPosition());
    return launch;
}

bool Skill_AttackProjectileAreaEffect::DoSpecialProjectileGo(Character&, ProjectileBase&) {
    return false;
}

std::string Skill_AttackProjectileAreaEffect::GetSpecialProjectileName(std::uint32_t) const {
    return {};
}

void Skill_AttackProjectileAreaEffect::CreateProjectile(
    Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
    std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId, std::uint16_t seed) {
    // The command's weapon place carries the first-projectile flag: one launch sound per use.
    if (firstFlag != 0)
        PlayHitSound(origin.GetPosition());
    std::string record = GetSpecialProjectileName(projectileId);
    if (record.empty())
        record = GetProjectileName();
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    OwnLaunch how;
    how.duration = static_cast<std::uint32_t>(data.activeDuration);
    how.start = false;
    ProjectileBase* projectile =
        LaunchOwnProjectile(character, record, origin, targetId, aim, projectileId, seed, how);
    if (projectile && !DoSpecialProjectileGo(character, *projectile))
        projectile->ProjectileGo();
}

// --- Dropped telekinesis objects ---

Skill_DropProjectileTelekinesis::Skill_DropProjectileTelekinesis() {
    SetTypeText("^bDrop Telekinesis Projectile");
}

void Skill_DropProjectileTelekinesis::Load(const LoadTable& table) {
    SkillActivated::Load(table);
    mDropOffset = table.GetFloat("dropOffset", 10.0f);
    mDropHeight = table.GetFloat("dropHeight", 14.0f);
    mDropHeightDeviation = table.GetFloat("dropHeightDeviation", 20.0f);
    mNumProjectiles = table.GetInt("numProjectiles", 3);
    for (std::size_t i = 0; i < kMaxNames; ++i) {
        std::string name = table.GetArrayString("skillProjectileName", i);
        if (!name.empty() && mNameCount < kMaxNames)
            mNames[mNameCount++] = std::move(name);
    }
}

std::string Skill_DropProjectileTelekinesis::GetSpecialProjectileName(std::uint32_t key) const {
    if (mNameCount > 0 && !mNames[key % mNameCount].empty())
        return mNames[key % mNameCount];
    return GetProjectileName();
}

WorldCoords Skill_DropProjectileTelekinesis::GetLaunchPoint(Character& caster, const Name&) {
    std::vector<Entity*> near;
    const WorldVec3 here = caster.GetPosition();
    World::Get().GetEntitiesInSphere(near, here.region, Sphere{here.local, kZoneReach});
    std::erase_if(near, [](Entity* e) { return !e->IsA<OrmenosDropZone>(); });
    WorldCoords start = caster.GetCoords();
    float reach = mDropOffset;
    if (!near.empty()) {
        const auto* zone =
            static_cast<OrmenosDropZone*>(near[static_cast<std::size_t>(crt_rand()) % near.size()]);
        start = zone->GetCoords();
        reach = zone->GetRadius();
    }
    // Drawn on the deciding machine only: the point travels in the command.
    const float a = RandomFloat(-reach, reach);
    const float h = RandomFloat(mDropHeight, mDropHeight + mDropHeightDeviation);
    const float b = RandomFloat(-reach, reach);
    start.coords.origin += Vec3(a, h, b);
    return start;
}

bool Skill_DropProjectileTelekinesis::DoSpecialProjectileGo(Character& caster,
                                                            ProjectileBase& projectile) {
    std::vector<Entity*> near;
    const WorldVec3 here = caster.GetPosition();
    World::Get().GetEntitiesInSphere(near, here.region, Sphere{here.local, kBurstReach});
    for (Entity* entity : near) {
        auto* lying = entity->IsA<ProjectileTelekinesis>()
                          ? static_cast<ProjectileTelekinesis*>(entity)
                          : nullptr;
        // The objects resting there, not the new one nor those still falling.
        if (lying && lying != &projectile && lying->GetState() == ProjectileTelekinesis::Idle)
            lying->Explode(false);
    }
    auto* dropped = projectile.IsA<ProjectileTelekinesis>()
                        ? static_cast<ProjectileTelekinesis*>(&projectile)
                        : nullptr;
    if (!dropped)
        return false;
    if (gGameEngine)
        gGameEngine->GetCamera()->Shake(2000, 2.0f);
    dropped->ProjectileFall();
    return true;
}

}  // namespace GAME
