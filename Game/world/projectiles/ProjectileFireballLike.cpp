#include "Game/world/projectiles/ProjectileFireballLike.h"

#include <cmath>

#include "Engine/world/World.h"

namespace GAME {

RTTI_IMPLEMENT(ProjectileFireballLike, ProjectileBase)
RTTI_IMPLEMENT(ProjectileTerrainFollowing, ProjectileFireballLike)

void ProjectileFireballLike::ProjectileGo() {
    GoStraight(mAimThreshold);
    mState = Flying;
    UpdateSelf(0);
}

void ProjectileFireballLike::UpdateSelf(int elapsedMs) {
    ProjectileBase::UpdateSelf(elapsedMs);
    if (mState == Stopped) {
        mState = Deleted;
        DeleteProjectile();
        return;
    }
    if (mState != Flying)
        return;
    switch (FlyStraight()) {
        case StraightFlight::Hit:
            ProjectileStop();
            break;
        case StraightFlight::OutOfRange:
            PlayDestructSound(GetPosition());
            ProjectileStop();
            break;
        case StraightFlight::Flying:
            break;
    }
}

void ProjectileFireballLike::ProjectileStop() {
    SetLinearVelocity(Vec3());
    StopFlightFx();
    mState = Stopped;
}

void ProjectileFireballLike::CollisionCallback(const CollisionData& data) {
    ProjectileBase::CollisionCallback(data);
    if (mState == Flying)
        UpdateSelf(0);
    PlayDestructSound(GetPosition());
    ProjectileStop();
}

// --- Terrain-following ---

void ProjectileTerrainFollowing::LoadInfo(const ProjectileInfo& info, std::uint32_t seed) {
    ProjectileFireballLike::LoadInfo(info, seed);
    // Without a target character it flies along its start facing.
    mInfo.targetPosition = mInfo.start.GetPosition();
}

void ProjectileTerrainFollowing::ProjectileGo() {
    ProjectileFireballLike::ProjectileGo();
    const WorldVec3 start = mInfo.start.GetPosition();
    const float floor = World::Get().GetNearestFloorHeight(start);
    if (std::isfinite(floor))
        mHoverHeight = start.local.y - floor;
}

void ProjectileTerrainFollowing::UpdateSelf(int elapsedMs) {
    if (GetState() == Flying && GetRegion()) {
        const WorldVec3 here = GetPosition();
        const float floor = World::Get().GetNearestFloorHeight(here);
        if (std::isfinite(floor)) {
            const float height = here.local.y - floor;
            const float hover = std::fabs(height) <= 1.25f * mHoverHeight
                                    ? mHoverHeight
                                    : mHoverHeight + 0.75f * (height - mHoverHeight);
            WorldCoords coords = GetCoords();
            coords.coords.origin.y = floor + hover;
            SetCoords(coords);
        }
    }
    ProjectileFireballLike::UpdateSelf(elapsedMs);
}

}  // namespace GAME
