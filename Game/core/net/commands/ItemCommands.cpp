#include "Game/core/net/commands/ItemCommands.h"

#include "Engine/net/NetPacketRegistry.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/characters/Player.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/items/Item.h"
#include "Game/items/ItemCharacterServices.h"

namespace GAME {

GAME_PACKET_KIND_DEFINITIONS(DropItemConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(DropItemFromEquipLocConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(UseItemConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(UseRelicConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(AttachItemConfigCmdPacket, ObjectInteractionPacket)
GAME_PACKET_KIND_DEFINITIONS(PickupItemConfigCmdPacket, ObjectInteractionPacket)

namespace {

Item* FindItem(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Item>(id);
}

}  // namespace

// DropItemConfigCmd
DropItemConfigCmd::DropItemConfigCmd(unsigned int objectId, std::uint32_t itemId_, float x_,
                                     float z_)
    : ActorConfigCommand(objectId), itemId(itemId_), x(x_), z(z_) {
    SetFlag(1);
}
DropItemConfigCmd::DropItemConfigCmd(const DropItemConfigCmdPacket& packet)
    : DropItemConfigCmd(packet.parent.GetId(), packet.itemId, packet.x, packet.z) {}
void DropItemConfigCmd::Execute() {
    Character* character = FindCommandCharacter(GetObjectId());
    if (Item* item = FindItem(itemId); character && item)
        character->DropItem(item, x, z);
}
std::unique_ptr<NetPacket> DropItemConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<DropItemConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->itemId = itemId;
    packet->x = x;
    packet->z = z;
    return packet;
}

// DropItemFromEquipLocationConfigCmd
DropItemFromEquipLocationConfigCmd::DropItemFromEquipLocationConfigCmd(unsigned int objectId,
                                                                       std::uint32_t itemId_,
                                                                       std::uint32_t location_,
                                                                       bool toss_)
    : ActorConfigCommand(objectId), itemId(itemId_), location(location_), toss(toss_) {
    SetFlag(1);
}
DropItemFromEquipLocationConfigCmd::DropItemFromEquipLocationConfigCmd(
    const DropItemFromEquipLocConfigCmdPacket& packet)
    : DropItemFromEquipLocationConfigCmd(packet.parent.GetId(), packet.itemId, packet.location,
                                         packet.toss) {}
void DropItemFromEquipLocationConfigCmd::Execute() {
    if (Character* character = FindCommandCharacter(GetObjectId())) {
        std::uint32_t id = itemId;
        character->DropItemFromEquipLocation(id, location, toss);
    }
}
std::unique_ptr<NetPacket> DropItemFromEquipLocationConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<DropItemFromEquipLocConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->itemId = itemId;
    packet->location = location;
    packet->toss = toss;
    return packet;
}

// UseItemConfigCmd
UseItemConfigCmd::UseItemConfigCmd(unsigned int objectId, std::uint32_t itemId_, bool destroy_)
    : ActorConfigCommand(objectId), itemId(itemId_), destroy(destroy_) {
    SetFlag(1);
}
UseItemConfigCmd::UseItemConfigCmd(const UseItemConfigCmdPacket& packet)
    : UseItemConfigCmd(packet.parent.GetId(), packet.itemId, packet.destroy) {}
void UseItemConfigCmd::Execute() {
    if (Character* character = FindCommandCharacter(GetObjectId()))
        character->UseInventoryItem(itemId, destroy);
}
std::unique_ptr<NetPacket> UseItemConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<UseItemConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->itemId = itemId;
    packet->destroy = destroy;
    return packet;
}

// UseRelicConfigCmd
UseRelicConfigCmd::UseRelicConfigCmd(unsigned int objectId, std::uint32_t relicId_,
                                     std::uint32_t itemId_)
    : ActorConfigCommand(objectId), relicId(relicId_), itemId(itemId_) {
    SetFlag(1);
}
UseRelicConfigCmd::UseRelicConfigCmd(const UseRelicConfigCmdPacket& packet)
    : UseRelicConfigCmd(packet.parent.GetId(), packet.relicId, packet.itemId) {}
void UseRelicConfigCmd::Execute() {
    if (Character* character = FindCommandCharacter(GetObjectId()))
        character->UseRelic(relicId, itemId);
}
std::unique_ptr<NetPacket> UseRelicConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<UseRelicConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->relicId = relicId;
    packet->itemId = itemId;
    return packet;
}

// AttachItemConfigCmd
AttachItemConfigCmd::AttachItemConfigCmd(unsigned int objectId, std::uint32_t itemId_,
                                         std::uint32_t location_)
    : ActorConfigCommand(objectId), itemId(itemId_), location(location_) {
    SetFlag(1);
}
AttachItemConfigCmd::AttachItemConfigCmd(const AttachItemConfigCmdPacket& packet)
    : AttachItemConfigCmd(packet.parent.GetId(), packet.itemId, packet.location) {}
void AttachItemConfigCmd::Execute() {
    if (Character* character = FindCommandCharacter(GetObjectId()))
        character->AttachItemAction(itemId, location);
}
std::unique_ptr<NetPacket> AttachItemConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<AttachItemConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->itemId = itemId;
    packet->location = location;
    return packet;
}

// DetachItemConfigCmd
void DetachItemConfigCmd::Execute() {
    if (Character* character = FindCommandCharacter(GetObjectId()))
        character->DetachItemAction(itemId);
}

// RemoveInventoryItemConfigCmd
void RemoveInventoryItemConfigCmd::Execute() {
    Character* character = FindCommandCharacter(GetObjectId());
    if (!character || !character->HasItem(itemId))
        return;
    character->TakeItemFromCharacter(itemId);
    auto& objects = Singleton<ObjectManager>::Get();
    if (Object* item = objects.GetObject(itemId))
        objects.DestroyObjectEx(item, "Game/CharConfigCommand", 923);
}

// ReleasePetConfigCmd
ReleasePetConfigCmd::ReleasePetConfigCmd(unsigned int objectId, std::uint32_t petId_)
    : ActorConfigCommand(objectId), petId(petId_) {
    SetFlag(1);
}
ReleasePetConfigCmd::ReleasePetConfigCmd(const ReleasePetConfigCmdPacket& packet)
    : ReleasePetConfigCmd(packet.parent.GetId(), packet.number) {}
void ReleasePetConfigCmd::Execute() {
    // The owner need not be here any more, but the pet must be its own.
    Character* pet = FindCommandCharacter(petId);
    if (!pet || pet->GetMasterId() != GetObjectId() || GetObjectId() == 0)
        return;
    if (auto* controller = FindController<ControllerCombat>(*pet))
        controller->KillMe();
}
std::unique_ptr<NetPacket> ReleasePetConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<ReleasePetConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->number = petId;
    return packet;
}

// CharPickUpConfigCmd
CharPickUpConfigCmd::CharPickUpConfigCmd(unsigned int objectId, std::uint32_t itemId_)
    : ActorConfigCommand(objectId), itemId(itemId_) {
    SetFlag(1);
}
CharPickUpConfigCmd::CharPickUpConfigCmd(const PickupItemConfigCmdPacket& packet)
    : CharPickUpConfigCmd(packet.parent.GetId(), packet.item.GetId()) {}
void CharPickUpConfigCmd::Execute() {
    auto& objects = Singleton<ObjectManager>::Get();
    Item* item = objects.GetObject<Item>(itemId);
    // Taken by another first: it lies in that one's bag now.
    if (!item || !item->IsInWorld())
        return;
    if (Player* player = objects.GetObject<Player>(GetObjectId())) {
        const bool refused = player->HasItem(item->GetObjectName()) && item->CannotPickUpMultiple();
        if (!refused) {
            World::Get().RemoveEntity(item);
            ItemCharacterServices::Get().GiveItemToCharacter(*player, *item);
            // Gold and rewards are used up, and gone, as they are taken.
            item = objects.GetObject<Item>(itemId);
        }
    }
    if (item)
        item->SetPickupOk(true);
}
bool CharPickUpConfigCmd::AcceptFromClient(int) const {
    // A client picks up only what lies in the world within reach of its player.
    auto& objects = Singleton<ObjectManager>::Get();
    const Item* item = objects.GetObject<Item>(itemId);
    const Player* player = objects.GetObject<Player>(GetObjectId());
    return item && player && item->IsInWorld() &&
           player->GetPosition().DistanceTo(item->GetCoords().GetPosition()) <= kPickupReach;
}
std::unique_ptr<NetPacket> CharPickUpConfigCmd::GetNetPacket() {
    auto packet = std::make_unique<PickupItemConfigCmdPacket>();
    packet->parent = GetObjectId();
    packet->item = itemId;
    return packet;
}

REGISTER_CONFIG_COMMAND(DropItemConfigCmd, DropItemConfigCmdPacket);
REGISTER_CONFIG_COMMAND(DropItemFromEquipLocationConfigCmd, DropItemFromEquipLocConfigCmdPacket);
REGISTER_CONFIG_COMMAND(UseItemConfigCmd, UseItemConfigCmdPacket);
REGISTER_CONFIG_COMMAND(UseRelicConfigCmd, UseRelicConfigCmdPacket);
REGISTER_CONFIG_COMMAND(AttachItemConfigCmd, AttachItemConfigCmdPacket);
REGISTER_CONFIG_COMMAND(DetachItemConfigCmd, DetachItemConfigCmdPacket);
REGISTER_CONFIG_COMMAND(RemoveInventoryItemConfigCmd, RemoveInventoryItemConfigCmdPacket);
REGISTER_CONFIG_COMMAND(ReleasePetConfigCmd, ReleasePetConfigCmdPacket);
REGISTER_CONFIG_COMMAND(CharPickUpConfigCmd, PickupItemConfigCmdPacket);

}  // namespace GAME
