// A character's dealings with its items: equipping, unequipping, taking, props, the weapon
// enchantment, dual wielding and the network image of what it carries and wears.
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Character.h"
#include "Game/characters/items/GarmentManager.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"

namespace GAME {

void Character::AttachItemAction(std::uint32_t itemId, std::uint32_t location) {
    mInventory->RemoveItemFromInventory(itemId);
    mCombatManager->AttachItemAction(itemId, location);
    if (IsAlive() && GetActionState() == Character_ActionState::Attack)
        CharacterStop();
    mChangeOfEquipment = true;
}

void Character::DetachItemAction(std::uint32_t itemId) {
    if (!GetEquipManager().HasItem(itemId))
        return;
    mCombatManager->DetachItemAction(itemId);
    mInventory->AddItemToInventory(itemId, false);
    if (IsAlive() && GetActionState() == Character_ActionState::Attack)
        CharacterStop();
    mChangeOfEquipment = true;
}

void Character::AttachItem(Item* item, std::uint32_t location) {
    if (item)
        AttachItemAction(item->GetObjectId(), location);
}

bool Character::HasItem(std::uint32_t itemId) const {
    return mInventory->IsItemInInventory(itemId) || GetEquipManager().HasItem(itemId);
}

bool Character::HasItem(const std::string& recordName) const {
    return mInventory->IsItemInInventory(recordName) || GetEquipManager().HasItem(recordName);
}

void Character::TakeItemFromCharacter(std::uint32_t itemId) {
    DetachItemAction(itemId);
    mInventory->RemoveItemFromInventory(itemId);
    NotifyControllerItemRemovedFromInventory(itemId);
}

void Character::AddEquipmentProp(Prop* prop) {
    if (prop)
        GetEquipManager().AddPropAttachment(prop);
}

void Character::RemoveEquipmentProp(std::uint32_t propId) {
    GetEquipManager().RemovePropAttachment(propId);
}

void Character::SetWeaponEnchantment(const std::string& name) {
    GetEquipManager().SetWeaponEnchantment(name);
}

void Character::AllowDualWieldWeapons(bool allow) {
    if (auto* controller = FindController<ControllerCharacter>(*this))
        controller->AllowDualWieldWeapons(allow);
}

void Character::GetInventoryReplica(std::vector<InventoryReplica>& out) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto append = [&](std::uint32_t id, std::uint32_t location) {
        const Item* item = objects.GetObject<Item>(id);
        if (!item)
            return;
        InventoryReplica replica;
        item->GetItemReplicaInfo(replica.item);
        replica.location = location;
        out.push_back(std::move(replica));
    };
    for (std::uint32_t id : mInventory->GetInventoryItems())
        append(id, 0);
    for (const EquipManagerContainer& entry : GetEquipManager().GetAttachedItems())
        append(entry.itemId, entry.location);
}

void Character::SetInventoryReplica(const std::vector<InventoryReplica>& replicas) {
    for (const InventoryReplica& replica : replicas) {
        Item* item = Item::CreateItem(replica.item);
        if (!item)
            continue;
        mInventory->AddItemToInventory(item->GetObjectId(), false);
        if (replica.location != 0)
            AttachItemAction(item->GetObjectId(), replica.location);
    }
}

}  // namespace GAME
