// What a server takes from a client about its own character's items: it wears only what it
// carries, one item per location (two rings), and takes off only what it wears; it uses, drops
// and spends relics only on what it holds.
#include "Engine/net/NetFaultLog.h"
#include "Game/characters/Character.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"

namespace GAME {

namespace {

bool RefuseEquipCommand(int sourceHost, PACKET_TYPE type, unsigned int objectId,
                        std::uint32_t itemId, const char* refusal) {
    NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, type,
                              "Net: refused %s from host %d: item %u on %u: %s",
                              GetGamePacketKindName(type), sourceHost, itemId, objectId, refusal);
    return false;
}

const char* EquipAttachRefusal(const Character* character, std::uint32_t itemId,
                               std::uint32_t location) {
    if (!character)
        return "no character here";
    if (location < EquipLocation_RightHand || location > EquipLocation_NoAttachPoint)
        return "no such equip location";
    if (!character->GetInventory().IsItemInInventory(itemId))
        return "the character does not carry it";
    const EquipManager& equipment = character->GetEquipManager();
    if (equipment.HasItem(itemId))
        return "it is worn already";
    std::size_t taken = 0;
    for (const EquipManagerContainer& entry : equipment.GetAttachedItems())
        if (entry.location == location)
            ++taken;
    const std::size_t room = location == EquipLocation_Finger ? 2 : 1;
    if (taken >= room)
        return "the location is taken";
    return nullptr;
}

}  // namespace

bool AttachItemConfigCmd::AcceptFromClient(int sourceHost) const {
    const char* refusal = EquipAttachRefusal(FindCommandCharacter(GetObjectId()), itemId, location);
    return !refusal || RefuseEquipCommand(sourceHost, PacketType::AttachItemConfigCmdPacket,
                                          GetObjectId(), itemId, refusal);
}

bool DetachItemConfigCmd::AcceptFromClient(int sourceHost) const {
    const Character* character = FindCommandCharacter(GetObjectId());
    const char* refusal = !character ? "no character here"
                          : !character->GetEquipManager().HasItem(itemId)
                              ? "the character does not wear it"
                              : nullptr;
    return !refusal || RefuseEquipCommand(sourceHost, PacketType::DetachItemConfigCmdPacket,
                                          GetObjectId(), itemId, refusal);
}

namespace {

bool RefuseUnlessHeld(int sourceHost, PACKET_TYPE type, unsigned int objectId, std::uint32_t itemId,
                      const char* refusal) {
    return !refusal || RefuseEquipCommand(sourceHost, type, objectId, itemId, refusal);
}

const char* CarriedRefusal(const Character* character, std::uint32_t itemId) {
    if (!character)
        return "no character here";
    return character->GetInventory().IsItemInInventory(itemId) ? nullptr
                                                               : "the character does not carry it";
}

}  // namespace

bool DropItemConfigCmd::AcceptFromClient(int sourceHost) const {
    return RefuseUnlessHeld(sourceHost, PacketType::DropItemConfigCmdPacket, GetObjectId(), itemId,
                            CarriedRefusal(FindCommandCharacter(GetObjectId()), itemId));
}

bool DropItemFromEquipLocationConfigCmd::AcceptFromClient(int sourceHost) const {
    const Character* character = FindCommandCharacter(GetObjectId());
    const char* refusal = !character                    ? "no character here"
                          : !character->HasItem(itemId) ? "the character does not hold it"
                                                        : nullptr;
    return RefuseUnlessHeld(sourceHost, PacketType::DropItemFromEquipLocConfigCmdPacket,
                            GetObjectId(), itemId, refusal);
}

bool UseItemConfigCmd::AcceptFromClient(int sourceHost) const {
    return RefuseUnlessHeld(sourceHost, PacketType::UseItemConfigCmdPacket, GetObjectId(), itemId,
                            CarriedRefusal(FindCommandCharacter(GetObjectId()), itemId));
}

bool UseRelicConfigCmd::AcceptFromClient(int sourceHost) const {
    const Character* character = FindCommandCharacter(GetObjectId());
    const char* refusal = CarriedRefusal(character, relicId);
    if (!refusal && !character->HasItem(itemId))
        refusal = "the character does not hold the target item";
    return RefuseUnlessHeld(sourceHost, PacketType::UseRelicConfigCmdPacket, GetObjectId(), relicId,
                            refusal);
}

}  // namespace GAME
