#pragma once
// The operations of characters, items and controllers that the character commands reach and
// that are not built yet. Each logs one level-1 line per machine the first time it is skipped
// ("Commands: <operation> is not available yet") and does nothing.
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_CHARACTER_COMMAND_SEAMS(X) \
    X(DropItem, "Character::DropItem") \
    X(DropItemFromEquipLocation, "Character::DropItemFromEquipLocation") \
    X(UseInventoryItem, "Character::UseInventoryItem") \
    X(UseRelic, "Character::UseRelic") \
    X(AttachItemAction, "Character::AttachItemAction") \
    X(DetachItemAction, "Character::DetachItemAction") \
    X(TakeItemFromCharacter, "Character::TakeItemFromCharacter") \
    X(HasItem, "Character::HasItem")
// clang-format on

enum class CharacterCommandSeam : std::size_t {
#define GAME_CHARACTER_COMMAND_SEAM_ID(Id, Text) Id,
    GAME_CHARACTER_COMMAND_SEAMS(GAME_CHARACTER_COMMAND_SEAM_ID)
#undef GAME_CHARACTER_COMMAND_SEAM_ID
        Count
};

void ReportCharacterCommandSeam(CharacterCommandSeam seam);

}  // namespace GAME
