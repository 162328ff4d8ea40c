#pragma once
// The lobbed kinds: thrown on a ballistic arc at the target. The exploding kind bursts where it
// lands; the grenade bounces, bursts on the first character it meets (unless harmless in
// flight) or where it comes to rest.
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

class ProjectileExploding : public ProjectileBase {
    RTTI_DECLARE(ProjectileExploding)
public:
    enum State : int { Idle = 0, Flying = 1, Landed = 2, Done = 3 };

    void CollisionCallback(const CollisionData& data) override;
    void UpdateSelf(int elapsedMs) override;
    void ProjectileGo() override;
    virtual void ProjectileStop();

    int GetState() const { return mState; }

private:
    int mState = Idle;
};

class ProjectileGrenade : public ProjectileBase {
    RTTI_DECLARE(ProjectileGrenade)
public:
    enum State : int { Idle = 0, Flying = 1, Landed = 2, Done = 3 };

    void Load(const LoadTable& table) override;
    void CollisionCallback(const CollisionData& data) override;
    void UpdateSelf(int elapsedMs) override;
    void ProjectileGo() override;
    virtual void ProjectileStop();

    int GetState() const { return mState; }
    bool IsHarmlessInFlight() const { return mHarmlessInFlight; }

private:
    // Bursts where it is: explosion, sound and effect, fragments.
    void Burst(std::uint32_t hitTarget, const WorldCoords& at);

    int mState = Idle;
    bool mHarmlessInFlight = false;
};

}  // namespace GAME
