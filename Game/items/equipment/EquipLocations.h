#pragma once
// Where items sit on a character: the attach locations of the equip manager, the slots of the
// equipment control, hand types with the partners each allows, and the hand states that pick a
// character's stance.
#include <cstdint>
#include <string>

namespace GAME {

// The attach point of each: 1 "R Hand", 2 "L Hand", 3 "Upper Body", 4 "Lower Body", 5 "Head",
// 8 "Forearm"; neck (6) and finger (7) have none, 9 is attached without a point.
enum EquipLocations : std::uint32_t {
    EquipLocation_None = 0,
    EquipLocation_RightHand = 1,
    EquipLocation_LeftHand = 2,
    EquipLocation_UpperBody = 3,
    EquipLocation_LowerBody = 4,
    EquipLocation_Head = 5,
    EquipLocation_Neck = 6,
    EquipLocation_Finger = 7,
    EquipLocation_Forearm = 8,
    EquipLocation_NoAttachPoint = 9,
};

enum class EquipmentCtrlLocation : std::uint32_t {
    Head = 1,
    Neck = 2,
    UpperBody = 3,
    LowerBody = 4,
    Finger1 = 5,
    Finger2 = 6,
    Forearm = 7,
    HandRight = 8,
    HandLeft = 9,
};

enum EquipManager_HandState : int {
    HandState_NoWeapon = 0,
    HandState_OneHanded = 1,
    HandState_DualWeapons = 2,
    HandState_Bow = 3,
    HandState_Spear = 4,
    HandState_Staff = 5,
};

// The attach point's name; empty for locations without one.
std::string LocationToString(std::uint32_t location);
// 0 for an unknown name.
std::uint32_t StringToLocation(const std::string& name);
// The name whose coordinates a location takes (neck: "Head", finger: "R Hand"); empty: the
// character's own.
const char* LocationCoordsPoint(std::uint32_t location);

// Hand types are bits (EquipmentHandTypes); -1 allows every partner.
constexpr int kAllHandTypes = -1;
// The hand types the other hand may hold beside one of this type.
int AllowedPartnerMask(int handType);
// Bows and staves take both hands.
constexpr bool IsTwoHanded(int handType) {
    return handType == 4 || handType == 16;
}

}  // namespace GAME
