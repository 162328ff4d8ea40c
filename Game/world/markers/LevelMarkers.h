#pragma once
// Markers that level designers place for others to find: where players start, and the camera
// and the stand of the hall-of-fame scene. Invisible outside the editor; nothing collides with
// them and they keep no state.
#include "Engine/object/Object.h"

namespace GAME {

class LevelMarker : public Actor {
public:
    void InitialUpdate() override;
    bool CanCollide(const Entity&) const override { return false; }
};

class PlayerSpawnPoint : public LevelMarker {
    RTTI_DECLARE(PlayerSpawnPoint)
public:
    // The game engine finds it by searching the level; clients place their players themselves.
    bool ShouldServerSpawn() const override { return false; }
    bool IsStatic() const { return false; }
    bool OccludesPathing() const override { return false; }
};

class HallOfFameCamera : public LevelMarker {
    RTTI_DECLARE(HallOfFameCamera)
public:
    bool ShouldServerSpawn() const override { return true; }
};

class HallOfFameStand : public LevelMarker {
    RTTI_DECLARE(HallOfFameStand)
public:
    bool ShouldServerSpawn() const override { return true; }
};

}  // namespace GAME
