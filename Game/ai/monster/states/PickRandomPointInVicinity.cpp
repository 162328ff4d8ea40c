#include "Game/ai/monster/states/PickRandomPointInVicinity.h"

#include <cmath>
#include <numbers>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"

namespace GAME {

namespace {

constexpr int kTries = 5;
constexpr float kMoveTolerance = 0.5f;

// Whether the point lies in a region of the world whose level is loaded.
bool InLoadedRegion(const WorldVec3& point) {
    const Region* region = World::Get().GetRegionContainingPoint(point.GetWorldPosition());
    return region && region->IsLevelLoaded();
}

}  // namespace

float MonsterRandomFloat(float min, float max) {
    return min + (max - min) * static_cast<float>(crt_rand()) / 32767.0f;
}

int MonsterRandomInt(int min, int max) {
    return min + crt_rand() % (max - min + 1);
}

bool PickRandomPointInVicinity(WorldVec3& out, Character& character, const WorldVec3& center,
                               float minRadius, float maxRadius, float minDistance,
                               float maxHeightDifference) {
    const WorldVec3 position = character.GetPathPosition();
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const float radius = MonsterRandomFloat(minRadius, maxRadius);
        const float angle = MonsterRandomFloat(0.0f, 2.0f * std::numbers::pi_v<float>);
        // Raised by the radius so that the floor search starts above the ground.
        WorldVec3 candidate = center;
        if (!candidate.TranslateToFloor(
                Vec3(radius * std::sin(angle), radius, radius * std::cos(angle))))
            continue;
        if (!InLoadedRegion(candidate))
            continue;
        const Vec3 offset = position.VectorTo(candidate);
        if (maxHeightDifference != 0.0f && std::fabs(offset.y) >= maxHeightDifference)
            continue;
        if (offset.Length() <= minDistance)
            continue;
        if (!character.CanMoveTo(candidate, kMoveTolerance))
            continue;
        out = candidate;
        return true;
    }
    gEngine->Log(2, "Monster failed to PickRandomPointInVicinity");
    return false;
}

}  // namespace GAME
