#include "Host/WorldFrame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"

namespace GAME {

void UpdateWorldEntities(int step) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids = objects.GetObjectIds();
    std::sort(ids.begin(), ids.end());
    // An entity made during the frame waits for the next one; one destroyed is not found.
    for (std::uint32_t id : ids)
        if (Entity* entity = objects.GetObject<Entity>(id); entity && entity->IsInWorld())
            entity->UpdateSelf(step);
    for (std::uint32_t id : ids)
        if (Character* character = objects.GetObject<Character>(id);
            character && character->IsInWorld())
            character->PreAnimationUpdate(step);
}

}  // namespace GAME
