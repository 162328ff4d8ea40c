#include "Game/items/loot/LootDrop.h"

#include "Game/core/GameEngine.h"
#include "Game/core/util/ServerObjectIds.h"

namespace GAME {

void DropLootRecord(const WorldCoords& where, ItemReplicaInfo record) {
    if (!gGameEngine || !gGameEngine->IsServerOrSingle())
        return;
    record.objectId = CreateServerObjectId(ServerIdBand::Drops);
    if (record.objectId != 0)
        gGameEngine->CreateItem(where, record);
}

}  // namespace GAME
