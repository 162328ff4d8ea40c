#pragma once
// The item classes and the numbers by which equipment, inventory and market code tell item
// kinds apart.
#include <cstdint>
#include <string>

#include "Game/items/GameTextLine.h"

namespace GAME {

enum class ItemClassification : std::int32_t {
    Common = 0,
    Magical = 1,
    Rare = 2,
    Epic = 3,
    Legendary = 4,
    Broken = 5,
    Potion = 6,
    Relic = 8,
    Quest = 9,
};

enum class Item_Type : std::int32_t {
    None = 0,
    Head = 1,
    Amulet = 2,
    UpperBody = 3,
    LowerBody = 4,
    Ring = 5,
    Forearm = 6,
    Shield = 7,
    Weapon = 8,
    Clothing = 9,
};
enum class Market_TypeEnum : std::int32_t { Armor = 1, Weapons = 3, Miscellaneous = 4 };
enum class Weapon_Type : std::int32_t {
    None = 0,
    Generic = 1,
    Axe = 2,
    Sword = 3,
    Mace = 4,
    Spear = 5,
    Bow = 6,
    Staff = 7,
    Shield = 9,
};
enum class EquipmentHandTypes : std::int32_t {
    None = 0,
    OneHanded = 1,
    TwoHanded = 2,
    Bow = 4,
    Spear = 8,
    Staff = 16,
    Shield = 32,
};

// "Common" .. "Quest" (exact words); any other word, the empty one included, is Common.
ItemClassification ResolveItemClassificationEnum(const std::string& word);
// The class's entries in the root's item-class table: colour code, text style (2 when the class
// has no entry) and sparkle effect record.
std::wstring GetItemColorText(ItemClassification classification);
GameTextClass GetItemTextClass(ItemClassification classification);
std::string GetItemSparkleName(ItemClassification classification);

}  // namespace GAME
