#pragma once
// The numbers by which equipment, inventory and market code tell item
// kinds apart.
#include <cstdint>
#include <string>

#include "Game/core/settings/GameTables.h"
#include "Game/items/GameTextLine.h"

namespace GAME {

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
// 1 armor, 2 melee weapons, 3 hunting and magical weapons, 4 the rest; a market's kinds use 6..23.
enum class Market_TypeEnum : std::int32_t { Armor = 1, Melee = 2, Weapons = 3, Miscellaneous = 4 };
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

// The root's item-class lookups; with no root (a bare item in a tool or test) the defaults.
std::wstring GetItemColorText(ItemClassification classification);
GameTextClass GetItemTextClass(ItemClassification classification);
std::string GetItemSparkleName(ItemClassification classification);

}  // namespace GAME
