#pragma once
// Arrows and spears: straight flight, may pierce one target after another, and stick where they
// miss for their miss time.
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

class ProjectileArrowLike : public ProjectileBase {
    RTTI_DECLARE(ProjectileArrowLike)
public:
    enum State : int { Idle = 0, Flying = 1, Stopped = 2, Deleted = 4 };

    void CollisionCallback(const CollisionData& data) override;
    void UpdateSelf(int elapsedMs) override;
    void ProjectileGo() override;
    // Stops flying; deleted once `ms` have passed.
    virtual void ProjectileStop(int ms);

    int GetState() const { return mState; }

private:
    float mAimThreshold = 2.0f;
    int mState = Idle;
    int mStopCountdown = 0;
};

}  // namespace GAME
