#include "Game/core/queries/EntityFilters.h"

#include "Engine/object/Object.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

bool FilterGetAllPlayers::operator()(const Entity* entity) const {
    return IsOfClass(entity, "Player");
}

bool FilterGetAllTrafficNodes::operator()(const Entity* entity) const {
    return IsOfClass(entity, "NpcTrafficNode");
}

bool FilterGetPlayerSpawnPoint::operator()(const Entity* entity) const {
    return IsOfClass(entity, "PlayerSpawnPoint");
}

bool FilterGetSpawnObjects::operator()(const Entity* entity) const {
    return entity && entity->ShouldServerSpawn();
}

}  // namespace GAME
