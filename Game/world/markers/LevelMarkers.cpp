#include "Game/world/markers/LevelMarkers.h"

#include "Engine/Engine.h"

namespace GAME {

RTTI_IMPLEMENT(PlayerSpawnPoint, Actor)
RTTI_IMPLEMENT(HallOfFameCamera, Actor)
RTTI_IMPLEMENT(HallOfFameStand, Actor)

void LevelMarker::InitialUpdate() {
    Actor::InitialUpdate();
    SetVisibility(gEngine->IsEditor());
}

}  // namespace GAME
