#include "Game/ai/monster/states/MonsterStateQueries.h"

#include <cmath>
#include <limits>

#include "Engine/object/ObjectManager.h"
#include "Engine/object/UniqueId.h"
#include "Engine/text/Name.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

Entity* FindEntityByUniqueId(const UniqueId& id) {
    return id.IsNull() ? nullptr : UniqueIdMap::Get().GetEntity(id);
}

int GetClosestEntityIndex(const std::vector<UniqueId>& ids, const WorldVec3& from) {
    int best = -1;
    float bestDistance = std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const Entity* entity = FindEntityByUniqueId(ids[i]);
        if (!entity || !entity->GetRegion())
            continue;
        const float distance = World::Get().GetDistanceSquared(from, entity->GetPosition());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

bool IsEndEvent(const Name& event) {
    static const Name end = Name::Create("End");
    return event == end;
}

void RemoveTrap(Character& character) {
    character.Enqueue(std::make_unique<ReleaseTrapConfigCmd>(character.GetObjectId()));
}

}  // namespace GAME
