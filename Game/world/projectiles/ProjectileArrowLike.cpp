#include "Game/world/projectiles/ProjectileArrowLike.h"

#include "Engine/media/physics/CollisionData.h"

namespace GAME {

RTTI_IMPLEMENT(ProjectileArrowLike, ProjectileBase)

namespace {
// Water swallows an arrow; anything else holds it.
constexpr int kWaterCollision = 7;
constexpr float kStickDepth = 0.5f;
}  // namespace

void ProjectileArrowLike::ProjectileGo() {
    GoStraight(mAimThreshold);
    mState = Flying;
    UpdateSelf(0);
}

void ProjectileArrowLike::UpdateSelf(int elapsedMs) {
    ProjectileBase::UpdateSelf(elapsedMs);
    if (mState == Stopped) {
        mStopCountdown -= elapsedMs;
        if (mStopCountdown <= 0) {
            StopFlightFx();
            mState = Deleted;
            DeleteProjectile();
        }
        return;
    }
    if (mState == Flying && FlyStraight() != StraightFlight::Flying)
        ProjectileStop(0);
}

void ProjectileArrowLike::ProjectileStop(int ms) {
    SetLinearVelocity(Vec3());
    mStopCountdown = ms;
    mState = Stopped;
    StopFlightFx();
}

void ProjectileArrowLike::CollisionCallback(const CollisionData& data) {
    ProjectileBase::CollisionCallback(data);
    if (mState == Flying)
        UpdateSelf(0);
    if (data.kind == kWaterCollision) {
        ProjectileStop(0);
        return;
    }
    ProjectileStop(static_cast<int>(GetMissTime()));
    WorldCoords coords = GetCoords();
    coords.coords.origin += coords.coords.zAxis * kStickDepth;
    SetCoords(coords);
}

}  // namespace GAME
