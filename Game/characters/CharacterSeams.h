#pragma once
// The operations a character calls in subsystems that are not built yet. Each logs one level-1
// line per machine the first time it is skipped ("Character: <operation> is not available yet").
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_CHARACTER_SEAMS(X) \
    X(EquipManagerCharacterAttributes, "EquipManager character attributes") \
    X(EquipManagerDefenseAttributes, "EquipManager defense attributes") \
    X(EquipManagerRacialDefense, "EquipManager racial bonus defense") \
    X(EquipManagerRacialDamage, "EquipManager racial bonus damage") \
    X(EquipManagerBodyArmorImpactSound, "EquipManager::GetBodyArmor impact sound") \
    X(InventoryItemSetAttributes, "Inventory item set attributes") \
    X(InventoryItemSetDefenseAttributes, "Inventory item set defense attributes") \
    X(InventorySetOwner, "Inventory::SetOwner") \
    X(AnimationSetPlayMovement, "AnimationSet::PlayAnimation without a stance set (run and walk)") \
    X(NpcOnConversationEnd, "Npc::OnConversationEnd") \
    X(NpcOnPlayerInteract, "Npc::OnPlayerInteract") \
    X(FixedItemRequestToUse, "FixedItem::RequestToUse") \
    X(StrategicMovementRequestToUse, "StrategicMovementBase::RequestToUse")
// clang-format on

enum class CharacterSeam : std::size_t {
#define GAME_CHARACTER_SEAM_ID(Id, Text) Id,
    GAME_CHARACTER_SEAMS(GAME_CHARACTER_SEAM_ID)
#undef GAME_CHARACTER_SEAM_ID
        Count
};

void ReportCharacterSeam(CharacterSeam seam);

}  // namespace GAME
