#include "Game/ai/monster/states/MonsterStateHelpers.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/characters/Character.h"
#include "Game/characters/movement/CharacterMovementManager.h"

namespace GAME {

float MonsterRandomFloat(float min, float max) {
    return min + (max - min) * static_cast<float>(crt_rand()) / static_cast<float>(CRT_RAND_MAX);
}

int MonsterRandomInt(int min, int max) {
    const int span = max - min + 1;
    if (span <= 0)
        return min;
    return min + crt_rand() % span;
}

bool PickRandomPointInVicinity(WorldVec3& out, Character& character, const WorldVec3& center,
                               float minRadius, float maxRadius, float minDistance,
                               float maxHeight) {
    const WorldVec3 from = character.GetPathPosition();
    const PathFinder& paths = World::Get().GetPathFinder();
    const CharacterMovementManager& moves = character.GetMovementManager();
    const Vec3 centerAt = center.GetWorldPosition();
    const Vec3 fromAt = from.GetWorldPosition();
    const float gap = std::hypot(centerAt.x - fromAt.x, centerAt.z - fromAt.z);
    // Standing where no search starts, the character reaches nothing a metre or more away (the
    // floor moves a point only up or down): a try there fails whatever the floor. Only a search
    // (CanMoveTo) changes that.
    auto startlessNow = [&] {
        return from.IsValid() && moves.FailsWithoutSearch(paths, from, character.GetSize());
    };
    bool startless = startlessNow();
    for (int attempt = 0; attempt < 5; ++attempt) {
        const float radius = MonsterRandomFloat(minRadius, maxRadius);
        const float angle = MonsterRandomFloat(0.0f, 2.0f * std::numbers::pi_v<float>);
#ifndef NDEBUG
        if (startless != startlessNow()) {
            gEngine->Log(0, "PickRandomPointInVicinity: the kept start test is stale");
            std::abort();
        }
#endif
        // Every point of a circle this far off (with room for rounding) is: whatever the angle.
        const bool failsAtAnyAngle = startless && std::fabs(gap - radius) >= 1.5f;
#ifdef NDEBUG
        if (failsAtAnyAngle)
            continue;
#endif
        const float x = radius * std::sin(angle), z = radius * std::cos(angle);
        const float dx = centerAt.x + x - fromAt.x, dz = centerAt.z + z - fromAt.z;
        const bool failsAnyway = dx * dx + dz * dz >= 1.0f && startless;
#ifdef NDEBUG
        if (failsAnyway)
            continue;
#else
        if (failsAtAnyAngle && !failsAnyway) {
            gEngine->Log(0, "PickRandomPointInVicinity: a circle taken for far comes near");
            std::abort();
        }
#endif
        WorldVec3 candidate = center;
        // Lifted by the radius so that the floor search starts above slopes.
        if (!candidate.TranslateToFloor(Vec3(x, radius, z)))
            continue;
        const Region* region = World::Get().GetRegionContainingPoint(candidate.GetWorldPosition());
        if (!region || !region->IsLevelLoaded())
            continue;
        if (maxHeight != 0.0f &&
            std::fabs(candidate.GetWorldPosition().y - from.GetWorldPosition().y) >= maxHeight)
            continue;
        if (!(from.DistanceTo(candidate) > minDistance))
            continue;
        if (!character.CanMoveTo(candidate, 0.5f)) {
            startless = startlessNow();
            continue;
        }
#ifndef NDEBUG
        if (failsAnyway) {
            gEngine->Log(0, "PickRandomPointInVicinity: a point taken for unreachable was reached");
            std::abort();
        }
#endif
        out = candidate;
        return true;
    }
    gEngine->Log(2, "Monster failed to PickRandomPointInVicinity");
    return false;
}

}  // namespace GAME
