#pragma once
// An area of effect: placed at the target, it stays where it is and pulses once a second for
// its duration, reporting every foe inside each modifier's radius to that modifier's skill and
// every friend to TargetFriendInformation.
#include <string>

#include "Engine/sys/GameTimer.h"
#include "Game/world/projectiles/ProjectileBase.h"

namespace GAME {

class ProjectileAreaEffect : public ProjectileBase {
    RTTI_DECLARE(ProjectileAreaEffect)
public:
    static constexpr int kPulseInterval = 1000;
    enum State : int { Idle = 0, Active = 1, Stopped = 2 };

    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;
    void ProjectileGo() override;
    // Always at the info's target position.
    void PlaySwipeSound(const WorldVec3& where) override;
    virtual void ProjectileStop();

    int GetState() const { return mState; }

private:
    void ProcessFriendsInArea(const WorldCoords& at);

    int mPulseCountdown = 0;
    int mLifeCountdown = 0;
    int mState = Idle;
    std::string mAreaEffect;
    GameTimer mTimer;
};

}  // namespace GAME
