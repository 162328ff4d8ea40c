#pragma once
// Fireballs: straight flight, burst at the first target, wall or the end of their range.
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

class ProjectileFireballLike : public ProjectileBase {
    RTTI_DECLARE(ProjectileFireballLike)
public:
    enum State : int { Idle = 0, Flying = 1, Stopped = 2, Deleted = 3 };

    void CollisionCallback(const CollisionData& data) override;
    void UpdateSelf(int elapsedMs) override;
    void ProjectileGo() override;
    // Stops flying; the next update deletes it.
    virtual void ProjectileStop();

    int GetState() const { return mState; }

private:
    float mAimThreshold = 2.0f;
    int mState = Idle;
};

// A fireball that keeps its height over the ground below it.
class ProjectileTerrainFollowing : public ProjectileFireballLike {
    RTTI_DECLARE(ProjectileTerrainFollowing)
public:
    void UpdateSelf(int elapsedMs) override;
    void LoadInfo(const ProjectileInfo& info, std::uint32_t seed) override;
    void ProjectileGo() override;

    float GetHoverHeight() const { return mHoverHeight; }

private:
    float mHoverHeight = 1.0f;
};

}  // namespace GAME
