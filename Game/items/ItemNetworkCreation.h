#pragma once
// Carrying out a request to create an item, on every machine alike: for a character, or dropped
// into the world at an offset and spin drawn from the item's own seed.
#include <cstdint>
#include <string>

#include "Engine/world/Region.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

class Item;

// Null when no item could be made (or the character to receive it is gone; the item is then
// destroyed again). nameOut, when given, receives the item's game description.
Item* CreateItemFromRequest(std::uint32_t character, const WorldCoords& where,
                            const ItemReplicaInfo& record, std::wstring* nameOut);

}  // namespace GAME
