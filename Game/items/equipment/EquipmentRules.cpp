#include "Game/items/equipment/EquipmentRules.h"

#include <cmath>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"

namespace GAME {

Item* FindEquipItem(std::uint32_t id) {
    return id != 0 ? Singleton<ObjectManager>::Get().GetObject<Item>(id) : nullptr;
}

bool MeetsEquipRequirements(Character* character, Item& item) {
    auto total = [character](CharAttributeType type) {
        return character ? std::trunc(character->GetTotalCharAttribute(type)) : 0.0f;
    };
    return item.IsItemAvailable(character, total(CharAttributeType::Strength),
                                total(CharAttributeType::Dexterity),
                                total(CharAttributeType::Intelligence));
}

bool StreamEquipmentSlot(IOStream& stream, Character* character, std::uint32_t& id, bool& attached,
                         std::uint32_t location) {
    ItemReplicaInfo replica;
    if (!stream.IsReading()) {
        if (const Item* item = FindEquipItem(id)) {
            item->GetItemReplicaInfo(replica);
            replica.objectId = 0;
        }
        replica.StreamPropertiesWithAttached(stream, attached);
        return false;
    }
    bool wasAttached = false;
    replica.StreamPropertiesWithAttached(stream, wasAttached);
    id = 0;
    attached = false;
    if (replica.baseName.empty())
        return true;
    Item* item = Item::CreateItem(replica);
    if (!item) {
        gEngine->Log(1, "EquipmentCtrl: saved item %s makes no item; its slot stays empty",
                     replica.baseName.c_str());
        return true;
    }
    id = item->GetObjectId();
    if (!character)
        return true;
    character->GetInventory().AddItemToInventory(id, false);
    if (wasAttached) {
        character->AttachItemAction(id, location);
        attached = true;
    }
    return true;
}

}  // namespace GAME
