#include "Game/items/equipment/EquipLocations.h"

#include <array>

namespace GAME {

namespace {
constexpr std::array<const char*, 10> kEquipAttachPoints = {
    "", "R Hand", "L Hand", "Upper Body", "Lower Body", "Head", "", "", "Forearm", ""};
}  // namespace

std::string LocationToString(std::uint32_t location) {
    return location < kEquipAttachPoints.size() ? kEquipAttachPoints[location] : "";
}

std::uint32_t StringToLocation(const std::string& name) {
    if (name.empty())
        return 0;
    for (std::uint32_t location = 1; location < kEquipAttachPoints.size(); ++location)
        if (name == kEquipAttachPoints[location])
            return location;
    return 0;
}

const char* LocationCoordsPoint(std::uint32_t location) {
    switch (location) {
        case EquipLocation_Neck:
            return "Head";
        case EquipLocation_Finger:
            return "R Hand";
        default:
            return location < kEquipAttachPoints.size() ? kEquipAttachPoints[location] : "";
    }
}

int AllowedPartnerMask(int handType) {
    switch (handType) {
        case 1:
            return 2;
        case 2:
            return 33;
        case 4:
        case 16:
            return 0;
        case 8:
            return 32;
        case 32:
            return 10;
        default:
            return kAllHandTypes;
    }
}

}  // namespace GAME
