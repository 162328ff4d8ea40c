#include "Game/items/loot/LootDrop.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/core/GameEngine.h"

namespace GAME {

namespace {
// Drops take their ids from a band of their own: the deciding machine alone makes them, and ids
// from the shared counter would leave the other machines' counters behind, so that objects that
// every machine makes later would get other ids there (and sort otherwise in the world).
constexpr std::uint32_t kDropIdBase = 0x0E000000;
constexpr std::uint32_t kDropIdEnd = 0x0F000000;  // players' ids start at 0x0F000001

struct DropIds {
    std::uint32_t next = kDropIdBase;
};

}  // namespace

std::uint32_t CreateDecidedObjectId() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::uint32_t& next = Singleton<DropIds>::Get().next;
    for (std::uint32_t tries = 0; tries < kDropIdEnd - kDropIdBase; ++tries) {
        const std::uint32_t id = next;
        next = next + 1 < kDropIdEnd ? next + 1 : kDropIdBase;
        if (!objects.GetObject(id))
            return id;
    }
    return 0;
}

void DropLootRecord(const WorldCoords& where, ItemReplicaInfo record) {
    if (!gGameEngine || !gGameEngine->IsServerOrSingle())
        return;
    record.objectId = CreateDecidedObjectId();
    if (record.objectId != 0)
        gGameEngine->CreateItem(where, record);
}

}  // namespace GAME
