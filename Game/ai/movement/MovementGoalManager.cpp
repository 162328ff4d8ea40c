#include "Game/ai/movement/MovementGoalManager.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/characters/Character.h"

namespace GAME {

MovementGoalManager::MovementGoalManager() = default;
MovementGoalManager::~MovementGoalManager() = default;

MovementGoalManager::MovementGoalManager(const MovementGoalManager& other) : mGoals(other.mGoals) {}

MovementGoalManager& MovementGoalManager::operator=(const MovementGoalManager& other) {
    mGoals = other.mGoals;
    return *this;
}

MovementGoalManager& MovementGoalManager::Get() {
    return Singleton<MovementGoalManager>::Get();
}

WorldVec3 MovementGoalManager::GetClosestMovePoint(std::uint32_t characterId, float extents,
                                                   const WorldVec3& wantedPoint) {
    auto& objects = Singleton<ObjectManager>::Get();
    std::size_t made = 0;
    for (auto it = mGoals.begin(); it != mGoals.end();) {
        const Character* holder = objects.GetObject<Character>(it->characterId);
        if (!holder || !holder->IsAlive() || it->characterId == characterId ||
            !holder->GetRegion()) {
            it = mGoals.erase(it);
            continue;
        }
        if (holder->GetRegion() == wantedPoint.region &&
            wantedPoint.VectorTo(it->point).LengthSquared() < kAvoidDistanceSquared) {
            if (made == mObstacles.size())
                mObstacles.push_back(std::make_unique<DynamicObstacle>());
            DynamicObstacle& obstacle = *mObstacles[made];
            const Sphere body{holder->GetCoords().coords.origin, holder->GetBoundingRadius()};
            if (obstacle.Create(holder->GetRegion(), body)) {
                obstacle.Attach();
                ++made;
            }
        }
        ++it;
    }

    WorldVec3 result = wantedPoint;
    if (made > 0) {
        WorldVec3 free;
        if (FindFreePoint(extents, wantedPoint, made, free))
            result = free;
        for (std::size_t i = 0; i < made; ++i)
            mObstacles[i]->Detach();
    }
    mGoals.push_back({characterId, result});
    return result;
}

bool MovementGoalManager::FindFreePoint(float extents, const WorldVec3& wantedPoint,
                                        std::size_t obstacles, WorldVec3& result) {
    PathFinder& finder = PathFinder::Get();
    mRadii.assign(1, extents);
    // The wanted point is the first candidate; the path finder's rings around it come next
    // when a body would overlap it there.
    bool wantedIsClear = true;
    for (std::size_t i = 0; i < obstacles; ++i)
        if (mObstacles[i]->Overlaps(wantedPoint.local, extents))
            wantedIsClear = false;
    if (!(wantedIsClear && finder.FillPointSet(wantedPoint, mRadii, mPlaces, true)) &&
        !finder.FillPointSet(wantedPoint, mRadii, mPlaces, false))
        return false;
    if (mPlaces.empty() || !mPlaces.front().region)
        return false;
    result = mPlaces.front();
    return true;
}

void MovementGoalManager::ReleaseMoveGoal(std::uint32_t characterId) {
    for (auto it = mGoals.begin(); it != mGoals.end(); ++it)
        if (it->characterId == characterId) {
            mGoals.erase(it);
            return;
        }
}

}  // namespace GAME
