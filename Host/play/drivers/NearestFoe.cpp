#include "Host/play/drivers/NearestFoe.h"

#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

Character* FindNearestFoe(Player& player, float radius, std::vector<Entity*>& scratch,
                          float& squared) {
    const WorldCoords& coords = player.GetCoords();
    scratch.clear();
    World::Get().GetEntitiesInSphere(scratch, coords.region, Sphere{coords.coords.origin, radius},
                                     EntityListType::Actors);
    TeamManager* teams = gGameEngine->GetTeamManager();
    const WorldVec3 from = coords.GetPosition();
    Character* nearest = nullptr;
    squared = 0.0f;
    for (Entity* entity : scratch) {
        auto* character =
            entity->IsA(Character::classInfo) ? static_cast<Character*>(entity) : nullptr;
        if (!character || character == &player || !character->IsAlive() ||
            !teams->IsFoe(&player, character))
            continue;
        const float distance = World::Get().GetDistanceSquared(from, character->GetPosition());
        if (!nearest || distance < squared) {
            nearest = character;
            squared = distance;
        }
    }
    return nearest;
}

}  // namespace GAME
