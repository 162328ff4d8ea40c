#pragma once
// The rule layer of a controlled character's equipment: seven armor and jewelry slots and two
// weapon sets. It decides what may go where, swaps items in and out, keeps items whose
// requirements the character no longer meets unattached and saves the equipment. It never
// attaches anything itself: the controller sends attach and detach actions that run on every
// machine and end in the character's equip manager.
#include <array>
#include <cstdint>

#include "Game/items/equipment/EquipmentCtrlWeaponSet.h"

namespace GAME {

class EquipmentCtrl {
public:
    EquipmentCtrl();

    void SetParent(Character* character);
    void SetController(ControllerCharacter* controller);
    Character* GetParent() const { return mCharacter; }

    std::uint32_t GetItem(EquipmentCtrlLocation location) const;
    std::uint32_t GetItem_Head() const { return GetItem(EquipmentCtrlLocation::Head); }
    std::uint32_t GetItem_HandRight() const { return ActiveSet().GetItem(false); }
    std::uint32_t GetItem_HandLeft() const { return ActiveSet().GetItem(true); }
    // With emptyOnly false and the active set.
    bool CanItemBePlaced(EquipmentCtrlLocation location, std::uint32_t id) const;
    // A slot of the seven (not a hand).
    bool CanItemBePlacedInSlot(EquipmentCtrlLocation location, std::uint32_t id,
                               bool emptyOnly) const;
    bool CanItemBePlaced_HandRight(std::uint32_t id, bool emptyOnly, bool otherSet) const {
        return Set(otherSet).CanItemBePlaced(false, id, emptyOnly);
    }
    bool CanItemBePlaced_HandLeft(std::uint32_t id, bool emptyOnly, bool otherSet) const {
        return Set(otherSet).CanItemBePlaced(true, id, emptyOnly);
    }
    // Swaps the item in (its drop sound plays); `id` receives the item that was there.
    void PlaceItem(EquipmentCtrlLocation location, std::uint32_t& id);
    void PlaceItemInSlot(EquipmentCtrlLocation location, std::uint32_t& id, bool silent);
    void PlaceItem_HandRight(std::uint32_t& id, bool otherSet, bool silent);
    void PlaceItem_HandLeft(std::uint32_t& id, bool otherSet, bool silent);

    // A picked-up item into the first slot that takes it; false when none did.
    bool AutoInsertItem(std::uint32_t id);
    bool RemoveItem(std::uint32_t id);
    bool IsItemAttached(std::uint32_t id) const;
    bool Holds(std::uint32_t id) const;
    bool AreRequirementsMet(Item& item) const;

    void SetIgnoreRequirements(bool ignore);
    void SetAlternateEquipment(bool alternate);
    bool IsUsingAlternate() const { return mUseAlternate; }
    void SetAllowDualWeapons(bool allow);
    void AttributesHaveChanged();
    void StreamProperties(IOStream& stream);

    const EquipmentInfo& GetSlot(EquipmentCtrlLocation location) const;
    const EquipmentCtrlWeaponSet& GetWeaponSet(bool alternate) const {
        return alternate ? mAlternate : mPrimary;
    }

private:
    static constexpr std::size_t kSlots = 7;
    // The seven slots in field order: head, neck, upper body, lower body, finger 1, finger 2,
    // forearm.
    static std::size_t SlotIndex(EquipmentCtrlLocation location);
    EquipmentInfo& Slot(EquipmentCtrlLocation location) { return mSlots[SlotIndex(location)]; }
    const EquipmentCtrlWeaponSet& ActiveSet() const {
        return mUseAlternate ? mAlternate : mPrimary;
    }
    const EquipmentCtrlWeaponSet& Set(bool otherSet) const {
        return (mUseAlternate != otherSet) ? mAlternate : mPrimary;
    }
    EquipmentCtrlWeaponSet& Set(bool otherSet) {
        return (mUseAlternate != otherSet) ? mAlternate : mPrimary;
    }
    void Sift(EquipmentInfo& slot);

    Character* mCharacter = nullptr;
    ControllerCharacter* mController = nullptr;
    bool mIgnoreRequirements = false;
    bool mUseAlternate = false;
    std::array<EquipmentInfo, kSlots> mSlots;
    EquipmentCtrlWeaponSet mPrimary;
    EquipmentCtrlWeaponSet mAlternate;
};

}  // namespace GAME
