#include "Game/world/projectiles/ProjectileLobbed.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

RTTI_IMPLEMENT(ProjectileExploding, ProjectileBase)
RTTI_IMPLEMENT(ProjectileGrenade, ProjectileBase)

void ProjectileExploding::ProjectileGo() {
    GoLobbed();
    mState = Flying;
    UpdateSelf(0);
}

void ProjectileExploding::CollisionCallback(const CollisionData& data) {
    ProjectileBase::CollisionCallback(data);
    ProjectileStop();
}

void ProjectileExploding::ProjectileStop() {
    SetLinearVelocity(Vec3());
    StopFlightFx();
    CreateImpactFx();
    mState = Landed;
}

void ProjectileExploding::UpdateSelf(int elapsedMs) {
    ProjectileBase::UpdateSelf(elapsedMs);
    if (mState != Landed)
        return;
    const WorldCoords at = GetCoords();
    PlayHitSound(at.GetPosition());
    if (ProcessExplosion(true, at)) {
        PlayExplodingHitSound(at.GetPosition());
        CreateExploadingImpactFx();
    }
    ProcessFragmentation(0, at);
    mState = Done;
    DeleteProjectile();
}

// --- Grenade ---

void ProjectileGrenade::Load(const LoadTable& table) {
    ProjectileBase::Load(table);
    mHarmlessInFlight = table.GetInt("harmlessInFlight", 0) != 0;
}

void ProjectileGrenade::ProjectileGo() {
    GoLobbed();
    mState = Flying;
    UpdateSelf(0);
}

void ProjectileGrenade::CollisionCallback(const CollisionData&) {
    if (mState != Landed)
        PlayBounceSound(GetPosition());
    mState = Landed;
}

void ProjectileGrenade::Burst(std::uint32_t hitTarget, const WorldCoords& at) {
    if (ProcessExplosion(false, at)) {
        PlayExplodingHitSound(at.GetPosition());
        CreateExploadingImpactFx();
    } else {
        PlayHitSound(at.GetPosition());
    }
    ProcessFragmentation(hitTarget, at);
}

void ProjectileGrenade::UpdateSelf(int elapsedMs) {
    ProjectileBase::UpdateSelf(elapsedMs);
    if ((mState == Flying && mHarmlessInFlight) || (mState != Flying && mState != Landed)) {
        mPathOrigin = GetPosition();
        return;
    }
    ProcessPathTargets(true, mHits);
    if (!mHits.empty()) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (std::uint32_t id : mHits)
            if (const Actor* actor = objects.GetObject<Actor>(id))
                Burst(id, actor->GetCoords());
        ProjectileStop();
        return;
    }
    if (mState == Landed && !IsSimulationEnabled()) {
        Burst(0, GetCoords());
        ProjectileStop();
    }
}

void ProjectileGrenade::ProjectileStop() {
    SetLinearVelocity(Vec3());
    StopFlightFx();
    CreateImpactFx();
    mState = Done;
    DeleteProjectile();
}

}  // namespace GAME
