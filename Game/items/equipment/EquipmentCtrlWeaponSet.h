#pragma once
// One weapon set of a controlled character: a right and a left hand with the hand type of what
// each holds and the partners that type allows. Only an active set has its items attached.
#include <cstdint>

#include "Game/items/equipment/EquipLocations.h"

namespace GAME {

class Character;
class ControllerCharacter;
class IOStream;
class Item;

// One slot of the equipment control: the attached flag is set when the attach action is sent
// and cleared when the detach action is sent.
struct EquipmentInfo {
    std::uint32_t itemId = 0;
    bool attached = false;
    std::uint32_t location = 0;
};

class EquipmentCtrlWeaponSet {
public:
    EquipmentCtrlWeaponSet();

    void SetParent(Character* character) { mCharacter = character; }
    void SetController(ControllerCharacter* controller) { mController = controller; }
    void SetIgnoreRequirements(bool ignore);
    void SetInactive(bool inactive) { mInactive = inactive; }
    bool IsInactive() const { return mInactive; }
    void SetAllowDualWeapons(bool allow);
    bool AreRequirementsMet(Item& item) const;

    // The hand's item; an empty hand reports the other hand's two-handed item.
    std::uint32_t GetItem(bool left) const;
    const EquipmentInfo& GetHand(bool left) const { return Hand(left).info; }
    bool CanItemBePlaced(bool left, std::uint32_t id, bool emptyOnly) const;
    // Puts the item (0: none) into the hand; `id` receives what was taken out (0: nothing).
    // `alternate`: this is the alternate set (a player then has an alternate configuration).
    void PlaceItem(bool left, std::uint32_t& id, bool alternate, bool silent);
    // Attaches what an active set may wear, detaches the rest.
    void RecheckHands();
    bool Holds(std::uint32_t id) const;
    bool IsItemAttached(std::uint32_t id) const;
    void StreamProperties(IOStream& stream);

private:
    struct HandSlot {
        EquipmentInfo info;
        int type = 0;
        int partnerMask = kAllHandTypes;
    };
    HandSlot& Hand(bool left) { return left ? mLeft : mRight; }
    const HandSlot& Hand(bool left) const { return left ? mLeft : mRight; }
    bool HoldsTwoHanded(bool left) const;
    // Empties the hand, detaching its item when this set is active; the item it held.
    std::uint32_t TakeOut(bool left);
    void RecheckHand(HandSlot& hand);

    Character* mCharacter = nullptr;
    ControllerCharacter* mController = nullptr;
    bool mIgnoreRequirements = false;
    bool mInactive = false;
    bool mAllowDualWeapons = false;
    HandSlot mRight;
    HandSlot mLeft;
};

}  // namespace GAME
