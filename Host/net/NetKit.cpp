#include "Host/net/NetKit.h"

#include <algorithm>
#include <string>

#include "Engine/Engine.h"
#include "Engine/net/CommandsHereOnly.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/items/inventory/Inventory.h"
#include "Host/play/PlaySession.h"

namespace GAME {

namespace {

std::uint32_t Carry(Player& player, Item* item) {
    if (!item)
        return 0;
    player.GetInventory().AddItemToInventory(item->GetObjectId(), false);
    return item->GetObjectId();
}

}  // namespace

bool IsNewPlayer(const Player& player) {
    return player.GetInventory().GetInventoryItems().empty() &&
           player.GetEquipManager().GetAttachedItems().empty() && player.GetExperiencePoints() == 0;
}

std::vector<std::uint32_t> MakeStartingKit(Player& player) {
    std::vector<std::string> records;
    const std::string kit = StartingKitOf(player.GetObjectName(), records);
    std::vector<std::uint32_t> made;
    for (const std::string& record : records) {
        ItemReplicaInfo info;
        info.baseName = record;
        if (const std::uint32_t id = Carry(player, Item::CreateItem(info)))
            made.push_back(id);
        else
            gEngine->Log(1, "Host: kit %s: %s makes no item", kit.c_str(), record.c_str());
    }
    return made;
}

std::vector<std::uint32_t> MakeNamedKit(Player& player,
                                        const std::vector<InventoryReplica>& named) {
    std::vector<const ItemReplicaInfo*> items;
    for (const InventoryReplica& replica : named)
        items.push_back(&replica.item);
    // Ids are handed out in order: the server made its kit so.
    std::sort(items.begin(), items.end(), [](const ItemReplicaInfo* a, const ItemReplicaInfo* b) {
        return a->objectId < b->objectId;
    });
    std::vector<std::uint32_t> made;
    for (const ItemReplicaInfo* info : items) {
        if (info->objectId == 0)
            continue;
        if (const std::uint32_t id = Carry(player, Item::CreateItem(*info)))
            made.push_back(id);
        else
            gEngine->Log(1, "Host: the kit's %s (item %u) from the server cannot be made here",
                         info->baseName.c_str(), info->objectId);
    }
    return made;
}

void WearKit(Player& player, const std::vector<std::uint32_t>& items) {
    // The others learn what it wears from its spawn packet, or put it on themselves alike.
    const CommandsHereOnly hereOnly;
    // Another machine's player has a stub here: no bag, only the equipment's slots.
    auto* playerController = FindController<ControllerPlayer>(player);
    auto* stub = FindController<ControllerCharacter>(player);
    for (std::uint32_t id : items)
        if (playerController)
            playerController->GiveItemToPlayer(id);
        else if (stub)
            stub->GetEquipmentCtrl().AutoInsertItem(id);
}

}  // namespace GAME
