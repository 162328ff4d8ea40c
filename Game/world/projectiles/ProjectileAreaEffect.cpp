#include "Game/world/projectiles/ProjectileAreaEffect.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/world/effects/FxPak.h"

namespace GAME {

RTTI_IMPLEMENT(ProjectileAreaEffect, ProjectileBase)

void ProjectileAreaEffect::Load(const LoadTable& table) {
    ProjectileBase::Load(table);
    mAreaEffect = table.GetString("areaEffect");
}

void ProjectileAreaEffect::PlaySwipeSound(const WorldVec3&) {
    ProjectileBase::PlaySwipeSound(mInfo.targetPosition);
}

void ProjectileAreaEffect::ProjectileGo() {
    ProjectileBase::ProjectileGo();
    const Character* target = FindCharacter(mInfo.targetId);
    const WorldVec3 place = target ? target->GetPosition() : mInfo.targetPosition;
    WorldCoords coords = mInfo.start;
    coords.region = place.region;
    coords.coords.origin = place.local;
    EnterWorld(coords);
    mLifeCountdown = static_cast<int>(mInfo.duration * 1000u);
    mPulseCountdown = mLifeCountdown > kPulseInterval ? kPulseInterval : 0;
    mTimer.Reset();
    StartFlightFx();
    StartLaunchAnimation();
    mState = Active;
    UpdateSelf(0);
    if (mAreaEffect.empty() || !coords.region)
        return;
    if (auto* pack = Singleton<ObjectManager>::Get().CreateObjectFromFile<FxPak>(mAreaEffect))
        World::Get().AddEntity(pack, coords, true);
}

void ProjectileAreaEffect::UpdateSelf(int elapsedMs) {
    ProjectileBase::UpdateSelf(elapsedMs);
    // Its own clock: a pulse comes on time whatever the frames were.
    mTimer.Update();
    const int elapsed = static_cast<int>(mTimer.GetElapsedTime());
    mLifeCountdown -= elapsed;
    mPulseCountdown -= elapsed;
    if (mState != Active)
        return;
    if (mLifeCountdown < 1 && elapsedMs >= 1) {
        ProjectileStop();
        return;
    }
    if (mPulseCountdown >= 1)
        return;
    mPulseCountdown = kPulseInterval;
    const WorldCoords at = GetCoords();
    ProcessExplosion(true, at);
    SetFilteredTargets({});
    ProcessFragmentation(0, at);
    ProcessFriendsInArea(at);
}

void ProjectileAreaEffect::ProcessFriendsInArea(const WorldCoords& at) {
    if (!gGameEngine)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Copies: a skill that hears of its friends may reach back into the projectile.
    const std::vector<ProjectileModifierStruct> modifiers = GetModifiers();
    for (const ProjectileModifierStruct& modifier : modifiers) {
        if (!(modifier.radius > 0.0f))
            continue;
        std::vector<std::uint32_t> friends;
        gGameEngine->GetTargetsInRadius(mInfo.team, at.GetPosition(), modifier.radius, friends, 0,
                                        true);
        if (friends.empty())
            continue;
        if (Skill* skill = objects.GetObject<Skill>(modifier.skillId))
            skill->TargetFriendInformation(mInfo, at, friends);
    }
}

void ProjectileAreaEffect::ProjectileStop() {
    StopFlightFx();
    CreateImpactFx();
    PlayHitSound(GetPosition());
    mState = Stopped;
    DeleteProjectile();
}

}  // namespace GAME
