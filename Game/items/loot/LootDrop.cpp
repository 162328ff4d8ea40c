#include "Game/items/loot/LootDrop.h"

#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"

namespace GAME {

void DropLootRecord(const WorldCoords& where, ItemReplicaInfo record) {
    record.objectId = Singleton<ObjectManager>::Get().CreateObjectID();
    if (gGameEngine && gGameEngine->IsServerOrSingle())
        gGameEngine->CreateItem(where, record);
}

}  // namespace GAME
