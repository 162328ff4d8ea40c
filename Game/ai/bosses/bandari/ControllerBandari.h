#pragma once
// The Bandari: a boss that, as its life falls (and when an enemy first comes close), jumps to the
// next of the teleport points its level group gives it, waking the terracotta warriors placed
// at that point.
#include <cstdint>
#include <vector>

#include "Engine/object/UniqueId.h"
#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerBandari : public ControllerMonster {
    RTTI_DECLARE(ControllerBandari)
public:
    ControllerBandari();
    ~ControllerBandari() override;

    void PostParentAttached() override;
    void InitialUpdate() override;
    void Update(int ms) override;
    void RegisterStates() override;
    void Teleported(const WorldCoords& coords) override;
    bool ClosestEnemyFoundOverride(std::uint32_t enemyId, float distance) override;
    bool ShouldAlwaysLookForClosestEnemy() override { return true; }

    // Wakes the warriors of the next point and jumps there; false when it cannot.
    bool TeleportToNextPoint();

    const std::vector<UniqueId>& GetTeleportPoints() const { return mTeleportPoints; }
    int GetNextTeleport() const { return mNextTeleport; }
    bool IsArmed() const { return mArmed; }
    float GetStartingLife() const { return mStartingLife; }

private:
    bool HasPointsLeft() const { return mNextTeleport < static_cast<int>(mTeleportPoints.size()); }

    std::vector<UniqueId> mTeleportPoints;
    int mNextTeleport = 0;
    bool mArmed = true;
    float mStartingLife = 0.0f;
};

}  // namespace GAME
