#pragma once
// The equipment kinds and what each constructor fixes over its parent's values, in one table.
// K: inherited from the parent; N: formula key inherited; "": no such formula.
//
// Columns: class, parent, item type, market type, weapon type, right hand, left hand, armor piece
// code, enchantment sound kind, formula keys (cost, strength, dexterity, intelligence, level),
// kind requirement reductions (strength, dexterity, intelligence), group reductions.
#include <array>

namespace GAME {

inline constexpr int kInherit = -1;

struct EquipmentKindRow {
    const char* className;
    int itemType;
    int marketType;
    int weaponType;
    int rightHand;
    int leftHand;
    int armorPiece;
    int soundKind;
    std::array<const char*, 5> formulaKeys;
    std::array<int, 3> kindReductions;
    std::array<int, 3> groupReductions;
};

#define GAME_KIND_K ::GAME::kInherit
#define GAME_KIND_N nullptr
#define GAME_KIND_REQ(stem)                                                                      \
    GAME_KIND_N, stem "StrengthEquation", stem "DexterityEquation", stem "IntelligenceEquation", \
        stem "LevelEquation"

// clang-format off
#define GAME_EQUIPMENT_KINDS(X, K, N)                                                                  \
    X(Armor, ItemEquipment, 0, 4, K, 0, 0, K, K, ("armorCostEquation", "", "", "", ""), (0, 0, 0), (K, K, K)) \
    X(ArmorJewelry, Armor, 0, 4, K, K, K, K, K, ("jewelryCostEquation", N, N, N, N), (41, 42, 43), (K, K, K)) \
    X(ArmorJewelry_Ring, ArmorJewelry, 5, 4, K, K, K, K, K, (GAME_KIND_REQ("ring")), (K, K, K), (K, K, K)) \
    X(ArmorJewelry_Bracelet, ArmorJewelry, 6, 4, K, K, K, K, K, (GAME_KIND_REQ("bracelet")), (K, K, K), (K, K, K)) \
    X(ArmorJewelry_Amulet, ArmorJewelry, 2, 4, K, K, K, K, K, (GAME_KIND_REQ("amulet")), (K, K, K), (K, K, K)) \
    X(ArmorMisc, Armor, 0, 1, K, K, K, K, K, (N, N, N, N, N), (38, 39, 40), (K, K, K)) \
    X(ArmorMisc_Vestment, ArmorMisc, 3, 1, K, K, K, K, K, (N, N, N, N, N), (K, K, K), (K, K, K)) \
    X(ArmorMisc_Clothing, ArmorMisc, 9, 1, K, K, K, K, K, (N, N, N, N, N), (K, K, K), (K, K, K)) \
    X(ArmorProtective, Armor, 0, 1, K, K, K, K, K, (N, N, N, N, N), (38, 39, 40), (K, K, K)) \
    X(ArmorProtective_Head, ArmorProtective, 1, 1, K, K, K, 2, K, (GAME_KIND_REQ("head")), (K, K, K), (K, K, K)) \
    X(ArmorProtective_UpperBody, ArmorProtective, 3, 1, K, K, K, 3, K, (GAME_KIND_REQ("upperBody")), (K, K, K), (K, K, K)) \
    X(ArmorProtective_LowerBody, ArmorProtective, 4, 1, K, K, K, 5, K, (GAME_KIND_REQ("lowerBody")), (K, K, K), (K, K, K)) \
    X(ArmorProtective_Forearm, ArmorProtective, 6, 1, K, K, K, 4, K, (GAME_KIND_REQ("forearm")), (K, K, K), (K, K, K)) \
    X(Weapon, ItemEquipment, 0, 4, 1, 0, 0, K, 1, ("weaponCostEquation", "", "", "", ""), (0, 0, 0), (23, 24, 25)) \
    X(WeaponArmor, Weapon, 7, 4, 1, K, K, K, K, (N, N, N, N, N), (K, K, K), (K, K, K)) \
    X(WeaponArmor_Shield, WeaponArmor, 7, 1, 9, 0, 32, K, 0, ("shieldCostEquation", "shieldStrengthEquation", "shieldDexterityEquation", "shieldIntelligenceEquation", "shieldLevelEquation"), (35, 36, 37), (K, K, K)) \
    X(WeaponHunting, Weapon, 8, 4, 1, K, K, K, K, (N, N, N, N, N), (29, 30, 31), (K, K, K)) \
    X(WeaponHunting_Bow, WeaponHunting, 8, 3, 6, 0, 4, K, 2, ("weaponRangedCostEquation", "bowStrengthEquation", "bowDexterityEquation", "bowIntelligenceEquation", "bowLevelEquation"), (K, K, K), (K, K, K)) \
    X(WeaponHunting_Spear, WeaponHunting, 8, 3, 5, 8, 0, K, K, (GAME_KIND_REQ("spear")), (K, K, K), (K, K, K)) \
    X(WeaponMagical, Weapon, 8, 3, 1, K, K, K, K, (N, N, N, N, N), (K, K, K), (K, K, K)) \
    X(WeaponMagical_Staff, WeaponMagical, 8, 3, 7, 0, 16, K, 3, ("weaponRangedCostEquation", "staffStrengthEquation", "staffDexterityEquation", "staffIntelligenceEquation", "staffLevelEquation"), (32, 33, 34), (K, K, K)) \
    X(WeaponMelee, Weapon, 8, 4, 1, 2, 1, K, K, (N, N, N, N, N), (26, 27, 28), (K, K, K)) \
    X(WeaponMelee_Sword, WeaponMelee, 8, 2, 3, K, K, K, K, (GAME_KIND_REQ("sword")), (K, K, K), (K, K, K)) \
    X(WeaponMelee_Axe, WeaponMelee, 8, 2, 2, K, K, K, K, (GAME_KIND_REQ("axe")), (K, K, K), (K, K, K)) \
    X(WeaponMelee_Mace, WeaponMelee, 8, 2, 4, K, K, K, K, (GAME_KIND_REQ("mace")), (K, K, K), (K, K, K))
// clang-format on

#define GAME_KIND_UNPAREN(...) __VA_ARGS__
#define GAME_KIND_ROW(Class, Parent, item, market, weapon, right, left, piece, sound, keys, kind, \
                      group)                                                                      \
    inline constexpr EquipmentKindRow kKindRow_##Class{#Class,                                    \
                                                       item,                                      \
                                                       market,                                    \
                                                       weapon,                                    \
                                                       right,                                     \
                                                       left,                                      \
                                                       piece,                                     \
                                                       sound,                                     \
                                                       {GAME_KIND_UNPAREN keys},                  \
                                                       {GAME_KIND_UNPAREN kind},                  \
                                                       {GAME_KIND_UNPAREN group}};
GAME_EQUIPMENT_KINDS(GAME_KIND_ROW, GAME_KIND_K, GAME_KIND_N)
#undef GAME_KIND_ROW

// Every row, in table order (the tests walk it).
#define GAME_KIND_ROW_REF(Class, ...) &kKindRow_##Class,
inline constexpr const EquipmentKindRow* kEquipmentKindRows[] = {
    GAME_EQUIPMENT_KINDS(GAME_KIND_ROW_REF, GAME_KIND_K, GAME_KIND_N)};
#undef GAME_KIND_ROW_REF

}  // namespace GAME
