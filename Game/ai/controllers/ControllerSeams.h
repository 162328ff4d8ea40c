#pragma once
// The operations the controllers call in subsystems that are not built yet. Each logs one
// level-1 line per machine the first time it is skipped ("Controller: <operation> is not
// available yet").
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_CONTROLLER_SEAMS(X) \
    X(EquipmentCtrlAttributesHaveChanged, "EquipmentCtrl::AttributesHaveChanged") \
    X(PositionUpdatePacket, "the controller's position update packet") \
    X(InventoryAddItem, "Inventory::AddItem") \
    X(ShowCharacterCommand, "the show-character command") \
    X(NpcClass, "Npc (clicks on non-player characters, ChatWithNPC)") \
    X(FixedItemClass, "FixedItem (clicks on chests, doors and portals)") \
    X(StrategicMovementClass, "StrategicMovementBase (clicks on shrines)") \
    X(QuestItemClass, "QuestItem (far quest items on the ground)") \
    X(HotSlotCtrl, "PlayerHotSlotCtrl (clicks use the default bar: the default skill)") \
    X(InventoryCtrl, "PlayerInventoryCtrl and EquipmentCtrl of the player controller") \
    X(PetCommand, "Monster (pet commands)") \
    X(EquipmentCtrlAutoInsert, "EquipmentCtrl::AutoInsertItem (a picked-up item goes to no equipment)") \
    X(InventoryAddItemToInventory, "Inventory::AddItemToInventory (a picked-up item is carried by no inventory)") \
    X(SendDropItemRandom, "ControllerCharacter::SendDropItemRandom (an item the player cannot take)") \
    X(CursorHandlerOneShotUse, "CursorHandlerOneShotUse (potions and dyes used from the cursor)")
// clang-format on

enum class ControllerSeam : std::size_t {
#define GAME_CONTROLLER_SEAM_ID(Id, Text) Id,
    GAME_CONTROLLER_SEAMS(GAME_CONTROLLER_SEAM_ID)
#undef GAME_CONTROLLER_SEAM_ID
        Count
};

void ReportControllerSeam(ControllerSeam seam);

}  // namespace GAME
