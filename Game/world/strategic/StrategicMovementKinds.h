#pragma once
// The three kinds of strategic movement objects: a map marker, a respawn point that heals those
// standing at it, and a teleport station that opens the teleport menu.
#include <vector>

#include "Game/world/strategic/StrategicMovementBase.h"

namespace GAME {

class StrategicMovementMarker : public StrategicMovementBase {
    RTTI_DECLARE(StrategicMovementMarker)
public:
    StrategicMovementMarker();
    StrategicMovementBaseState DetermineStateFromPlayer() const override;
    bool InstallOnPlayerProximity(Player& player) override;
    bool IsOfInterest() const override { return false; }
};

class StrategicMovementRespawnShrine : public StrategicMovementBase {
    RTTI_DECLARE(StrategicMovementRespawnShrine)
public:
    static constexpr int kHealPeriodMs = 1000;

    void Load(const LoadTable& table) override;
    void UpdateSelf(int elapsedMs) override;
    StrategicMovementBaseState DetermineStateFromPlayer() const override;
    bool InstallOnPlayerProximity(Player& player) override;
    void RequestToUse(unsigned int user) override;
    void HandleTargets(const std::vector<unsigned int>& targets) override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& out) const override;
    // The healing step of the deciding machine: once a second, everybody within the bind
    // distance is healed on every machine. The shrine's own frame update drives it.
    virtual void Update(int ms);

private:
    float mHealthAbsolute = 0.0f;
    float mHealthPercent = 0.0f;
    int mHealTimer = 0;
    std::vector<Entity*> mNearby;  // the healing step's scratch list
};

class StrategicMovementTeleportShrine : public StrategicMovementBase {
    RTTI_DECLARE(StrategicMovementTeleportShrine)
public:
    StrategicMovementBaseState DetermineStateFromPlayer() const override;
    bool InstallOnPlayerProximity(Player& player) override;
    void RequestToUse(unsigned int user) override;
    WorldVec3 GetMoveToPoint(unsigned int user) const override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& out) const override;
};

}  // namespace GAME
