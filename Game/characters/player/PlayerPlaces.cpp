// Where the player can go: moves within its record's limit, free places near it, the world's
// spawn points.
#include <array>
#include <vector>

#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Player.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

namespace {
// Five places, each with this clearance, the first at the player itself.
const std::vector<float> kNearSpawnSpacings(5, 2.0f);
constexpr float kNearSpawnDistance = 0.5f;
constexpr unsigned int kAlternateConfigTutorialPage = 17;
}  // namespace

bool Player::CanMoveTo(const WorldVec3& target, float distance) {
    return GetMovementManager().CanMoveTo(GetPathPosition(), target, distance, mMaxMoveToRatio);
}

WorldCoords Player::GetNearSpawnCoords() {
    std::vector<WorldVec3> points;
    World::Get().GetPathFinder().FillPointSet(GetPosition(), kNearSpawnSpacings, points, true);
    // The first place is the player's own; the others are the candidates.
    for (std::size_t i = 1; i < points.size() && i < kNearSpawnSpacings.size(); ++i)
        if (CanMoveTo(points[i], kNearSpawnDistance))
            return WorldCoords(points[i].GetRegion(), Coords::FromOrigin(points[i].local));
    return GetCoords();
}

void Player::JumpToNextSpawnPoint() {
    ++mSpawnPointIndex;
    const std::vector<SpawnPoint>& spawns = World::Get().GetSpawnPoints();
    if (mSpawnPointIndex < 0 || static_cast<std::size_t>(mSpawnPointIndex) >= spawns.size())
        return;
    TeleportToLocation(spawns[static_cast<std::size_t>(mSpawnPointIndex)].coords);
}

void Player::SetAlternateConfig(bool alternate) {
    mAlternateConfig = alternate;
    auto* controller = FindController<ControllerCharacter>(*this);
    if (!controller || !FindObjectOfClass(GetControllerId(), "ControllerPlayer"))
        return;
    if (gGameEngine)
        gGameEngine->UnlockTutorialPage(kAlternateConfigTutorialPage, true);
    controller->SetAlternateEquipment(alternate);
}

}  // namespace GAME
