#pragma once
// What the equipment control's slots and weapon sets share: finding an item, the character's
// requirements test, and one slot's save form.
#include <cstdint>

namespace GAME {

class Character;
class IOStream;
class Item;

// Null for 0 or an id that names no item.
Item* FindEquipItem(std::uint32_t id);
// The item's strength, dexterity, intelligence (whole totals of the character) and level
// requirements.
bool MeetsEquipRequirements(Character* character, Item& item);
// One slot as an item record with "itemAttached". Reading rebuilds the item, gives it to the
// character's inventory and, when it was attached, attaches it at once; true when reading (the
// slot then holds `id`, 0 for an empty or unbuildable one).
bool StreamEquipmentSlot(IOStream& stream, Character* character, std::uint32_t& id, bool& attached,
                         std::uint32_t location);

}  // namespace GAME
