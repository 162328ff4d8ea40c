#include "Game/characters/CharacterFields.h"

#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/characters/items/GarmentManager.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/movement/SlotManager.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/rules/death/DeathManager.h"

namespace GAME {

// Out of line: the owned parts are incomplete in the header.
CharacterFields::CharacterFields() = default;
CharacterFields::~CharacterFields() = default;

}  // namespace GAME
