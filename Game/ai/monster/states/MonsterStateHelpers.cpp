#include "Game/ai/monster/states/MonsterStateHelpers.h"

#include <cmath>
#include <numbers>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"

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
    for (int attempt = 0; attempt < 5; ++attempt) {
        const float radius = MonsterRandomFloat(minRadius, maxRadius);
        const float angle = MonsterRandomFloat(0.0f, 2.0f * std::numbers::pi_v<float>);
        WorldVec3 candidate = center;
        // Lifted by the radius so that the floor search starts above slopes.
        if (!candidate.TranslateToFloor(
                Vec3(radius * std::sin(angle), radius, radius * std::cos(angle))))
            continue;
        const Region* region = World::Get().GetRegionContainingPoint(candidate.GetWorldPosition());
        if (!region || !region->IsLevelLoaded())
            continue;
        if (maxHeight != 0.0f &&
            std::fabs(candidate.GetWorldPosition().y - from.GetWorldPosition().y) >= maxHeight)
            continue;
        if (!(from.DistanceTo(candidate) > minDistance))
            continue;
        if (!character.CanMoveTo(candidate, 0.5f))
            continue;
        out = candidate;
        return true;
    }
    gEngine->Log(2, "Monster failed to PickRandomPointInVicinity");
    return false;
}

}  // namespace GAME
