#pragma once
// The move goals characters have claimed, so that monsters converging on one spot spread out
// instead of stacking: a character asks for the free point closest to where it wants to go and
// that point becomes its goal. One manager per machine is shared by every character.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/world/Region.h"

namespace GAME {

class DynamicObstacle;

class MovementGoalManager {
public:
    struct Goal {
        std::uint32_t characterId = 0;
        WorldVec3 point;
    };

    // Goals closer than this (squared metres) to a wanted point are stepped around.
    static constexpr float kAvoidDistanceSquared = 20.0f;

    MovementGoalManager();
    ~MovementGoalManager();
    MovementGoalManager(const MovementGoalManager& other);
    MovementGoalManager& operator=(const MovementGoalManager& other);

    // The machine's shared manager.
    static MovementGoalManager& Get();

    // The point nearest `wantedPoint` where a character of radius `extents` stands clear of the
    // characters holding goals near it (the wanted point itself when none is near, or when no
    // free place is found); recorded as the character's goal, replacing its old one.
    WorldVec3 GetClosestMovePoint(std::uint32_t characterId, float extents,
                                  const WorldVec3& wantedPoint);
    // Drops the first goal recorded for the character.
    void ReleaseMoveGoal(std::uint32_t characterId);

    const std::vector<Goal>& GetGoals() const { return mGoals; }

private:
    // A free place near the wanted point, clear of the first `obstacles` (attached) obstacles;
    // false when none.
    bool FindFreePoint(float extents, const WorldVec3& wantedPoint, std::size_t obstacles,
                       WorldVec3& result);

    std::vector<Goal> mGoals;
    // Scratch of one request, kept so that steady requests allocate nothing.
    std::vector<std::unique_ptr<DynamicObstacle>> mObstacles;
    std::vector<float> mRadii;
    std::vector<WorldVec3> mPlaces;
};

}  // namespace GAME
