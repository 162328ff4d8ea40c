#pragma once
// A boulder or a pot that lies in the world and that a telekinesis skill summons, hurls at a
// target or drops from above. It blocks path finding while it rests. A thrown object reports
// every character it touches (friend or foe, never its caster) and bursts at its first
// collision; a dropped one reports the foes it falls on and lands (or bursts, with
// "explodeOnFirstImpact").
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

class DynamicObstacle;

class ProjectileTelekinesis : public ProjectileBase {
    RTTI_DECLARE(ProjectileTelekinesis)
public:
    static constexpr int kComeMs = 15000;
    enum State : int { Idle = 0, Summoned = 1, Thrown = 2, Falling = 3, Exploded = 4, Deleted = 5 };

    ProjectileTelekinesis();
    ~ProjectileTelekinesis() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    bool OccludesPathing() const override { return true; }
    void CollisionCallback(const CollisionData& data) override;
    bool CanCollide(const Entity& other) const override;
    void UpdateSelf(int elapsedMs) override;
    void ProjectileGo() override;
    WorldCoords GetFlightCoords() const override;

    virtual void ProjectileFall();
    virtual void ProjectileCome(std::uint32_t holderId);
    virtual void ProjectileStop(bool);
    virtual bool IsInUse() const { return mHolderId != 0; }

    void Release();
    bool IsIdle() const { return mHolderId == 0; }
    void Explode(bool withSound);

    int GetState() const { return mState; }
    std::uint32_t GetHolderId() const { return mHolderId; }
    int GetComeCountdown() const { return mComeCountdown; }
    bool HasPathObstacle() const { return mObstacle != nullptr; }

private:
    void MoveToTarget(const WorldVec3& aim);
    void FindAndProcessTargets(bool thrown);
    void CreateExplosionEffect();
    void CreatePathObstacle();
    void RemovePathObstacle();

    int mState = Idle;
    std::uint32_t mHolderId = 0;
    int mComeCountdown = 0;
    WorldCoords mSummonedAt;
    bool mFirstImpactPlayed = false;
    OwnedObject<SoundPak> mInitialImpactSound{kSourceFile};
    std::vector<std::uint32_t> mKnown;
    std::unique_ptr<DynamicObstacle> mObstacle;
    bool mExplodeOnFirstImpact = false;
    std::string mExplosionEffect;
};

}  // namespace GAME
