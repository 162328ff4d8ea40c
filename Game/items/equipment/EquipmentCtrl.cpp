#include "Game/items/equipment/EquipmentCtrl.h"

#include "Engine/streams/IOStream.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Character.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipmentRules.h"
#include "Game/items/kinds/Armor.h"

namespace GAME {

namespace {
using EquipSlot = EquipmentCtrlLocation;
constexpr std::array<EquipSlot, 7> kEquipAutoInsertOrder = {
    EquipSlot::Head,    EquipSlot::Neck,    EquipSlot::UpperBody, EquipSlot::LowerBody,
    EquipSlot::Forearm, EquipSlot::Finger1, EquipSlot::Finger2};
constexpr std::array<EquipSlot, 7> kEquipSlotFieldOrder = {
    EquipSlot::Head,    EquipSlot::Neck,    EquipSlot::UpperBody, EquipSlot::LowerBody,
    EquipSlot::Finger1, EquipSlot::Finger2, EquipSlot::Forearm};

bool FitsEquipSlot(EquipSlot location, const Item& item) {
    switch (location) {
        case EquipSlot::Head:
            return item.IsA<ArmorProtective_Head>();
        case EquipSlot::Neck:
            return item.IsA<ArmorJewelry_Amulet>();
        case EquipSlot::UpperBody:
            return item.IsA<ArmorProtective_UpperBody>() || item.IsA<ArmorMisc_Vestment>() ||
                   item.IsA<ArmorMisc_Clothing>();
        case EquipSlot::LowerBody:
            return item.IsA<ArmorProtective_LowerBody>();
        case EquipSlot::Finger1:
        case EquipSlot::Finger2:
            return item.IsA<ArmorJewelry_Ring>();
        case EquipSlot::Forearm:
            return item.IsA<ArmorProtective_Forearm>() || item.IsA<ArmorJewelry_Bracelet>();
        default:
            return false;
    }
}
}  // namespace

EquipmentCtrl::EquipmentCtrl() {
    constexpr std::array<std::uint32_t, kSlots> kLocations = {
        EquipLocation_Head,      EquipLocation_Neck,   EquipLocation_UpperBody,
        EquipLocation_LowerBody, EquipLocation_Finger, EquipLocation_Finger,
        EquipLocation_Forearm};
    for (std::size_t i = 0; i < kSlots; ++i)
        mSlots[i].location = kLocations[i];
    mAlternate.SetInactive(true);
}

std::size_t EquipmentCtrl::SlotIndex(EquipmentCtrlLocation location) {
    for (std::size_t i = 0; i < kEquipSlotFieldOrder.size(); ++i)
        if (kEquipSlotFieldOrder[i] == location)
            return i;
    return 0;
}

void EquipmentCtrl::SetParent(Character* character) {
    mCharacter = character;
    mPrimary.SetParent(character);
    mAlternate.SetParent(character);
}

void EquipmentCtrl::SetController(ControllerCharacter* controller) {
    mController = controller;
    mPrimary.SetController(controller);
    mAlternate.SetController(controller);
}

const EquipmentInfo& EquipmentCtrl::GetSlot(EquipmentCtrlLocation location) const {
    if (location == EquipSlot::HandRight || location == EquipSlot::HandLeft)
        return ActiveSet().GetHand(location == EquipSlot::HandLeft);
    return mSlots[SlotIndex(location)];
}

std::uint32_t EquipmentCtrl::GetItem(EquipmentCtrlLocation location) const {
    if (location == EquipSlot::HandRight)
        return GetItem_HandRight();
    if (location == EquipSlot::HandLeft)
        return GetItem_HandLeft();
    return mSlots[SlotIndex(location)].itemId;
}

bool EquipmentCtrl::AreRequirementsMet(Item& item) const {
    return mIgnoreRequirements || MeetsEquipRequirements(mCharacter, item);
}

bool EquipmentCtrl::CanItemBePlacedInSlot(EquipmentCtrlLocation location, std::uint32_t id,
                                          bool emptyOnly) const {
    if (location == EquipSlot::HandRight || location == EquipSlot::HandLeft)
        return Set(false).CanItemBePlaced(location == EquipSlot::HandLeft, id, emptyOnly);
    if (emptyOnly && mSlots[SlotIndex(location)].itemId != 0)
        return false;
    Item* item = FindEquipItem(id);
    return item && FitsEquipSlot(location, *item) && AreRequirementsMet(*item);
}

bool EquipmentCtrl::CanItemBePlaced(EquipmentCtrlLocation location, std::uint32_t id) const {
    return CanItemBePlacedInSlot(location, id, false);
}

void EquipmentCtrl::PlaceItemInSlot(EquipmentCtrlLocation location, std::uint32_t& id,
                                    bool silent) {
    if (location == EquipSlot::HandRight || location == EquipSlot::HandLeft) {
        Set(false).PlaceItem(location == EquipSlot::HandLeft, id, mUseAlternate, silent);
        return;
    }
    if (id != 0) {
        Item* item = FindEquipItem(id);
        if (!item)
            return;
        if (!silent)
            item->PlayDropSound();
    }
    EquipmentInfo& slot = Slot(location);
    const std::uint32_t old = slot.itemId;
    if (old != 0 && slot.attached && mController)
        mController->SendEquipDetachAction(old);
    slot.attached = false;
    slot.itemId = id;
    // Attached whatever the requirements: the next sift takes it off again when they fail.
    if (id != 0 && mController) {
        mController->SendEquipAttachAction(id, slot.location);
        slot.attached = true;
    }
    id = old;
}

void EquipmentCtrl::PlaceItem(EquipmentCtrlLocation location, std::uint32_t& id) {
    PlaceItemInSlot(location, id, false);
}

void EquipmentCtrl::PlaceItem_HandRight(std::uint32_t& id, bool otherSet, bool silent) {
    Set(otherSet).PlaceItem(false, id, mUseAlternate != otherSet, silent);
}

void EquipmentCtrl::PlaceItem_HandLeft(std::uint32_t& id, bool otherSet, bool silent) {
    Set(otherSet).PlaceItem(true, id, mUseAlternate != otherSet, silent);
}

bool EquipmentCtrl::AutoInsertItem(std::uint32_t id) {
    if (!FindEquipItem(id))
        return false;
    std::uint32_t placed = id;
    for (EquipSlot location : kEquipAutoInsertOrder)
        if (CanItemBePlacedInSlot(location, id, true)) {
            PlaceItemInSlot(location, placed, true);
            return true;
        }
    if (CanItemBePlaced_HandRight(id, true, false)) {
        PlaceItem_HandRight(placed, false, true);
        return true;
    }
    if (CanItemBePlaced_HandLeft(id, true, false)) {
        PlaceItem_HandLeft(placed, false, true);
        return true;
    }
    return false;
}

bool EquipmentCtrl::RemoveItem(std::uint32_t id) {
    if (id == 0)
        return false;
    for (EquipSlot location : kEquipAutoInsertOrder)
        if (Slot(location).itemId == id) {
            std::uint32_t none = 0;
            PlaceItemInSlot(location, none, true);
            return true;
        }
    for (bool alternate : {false, true}) {
        EquipmentCtrlWeaponSet& set = alternate ? mAlternate : mPrimary;
        for (bool left : {false, true})
            if (set.GetHand(left).itemId == id) {
                std::uint32_t none = 0;
                set.PlaceItem(left, none, alternate, true);
                return true;
            }
    }
    return false;
}

bool EquipmentCtrl::Holds(std::uint32_t id) const {
    if (id == 0)
        return false;
    for (const EquipmentInfo& slot : mSlots)
        if (slot.itemId == id)
            return true;
    return mPrimary.Holds(id) || mAlternate.Holds(id);
}

bool EquipmentCtrl::IsItemAttached(std::uint32_t id) const {
    for (const EquipmentInfo& slot : mSlots)
        if (slot.itemId == id)
            return slot.attached;
    if (mPrimary.Holds(id))
        return mPrimary.IsItemAttached(id);
    return mAlternate.Holds(id) && mAlternate.IsItemAttached(id);
}

void EquipmentCtrl::Sift(EquipmentInfo& slot) {
    Item* item = FindEquipItem(slot.itemId);
    if (!item || !mController)
        return;
    const bool met = AreRequirementsMet(*item);
    if (met && !slot.attached) {
        mController->SendEquipAttachAction(slot.itemId, slot.location);
        slot.attached = true;
    } else if (!met && slot.attached) {
        mController->SendEquipDetachAction(slot.itemId);
        slot.attached = false;
    }
}

void EquipmentCtrl::AttributesHaveChanged() {
    for (EquipmentInfo& slot : mSlots)
        Sift(slot);
    mPrimary.RecheckHands();
    mAlternate.RecheckHands();
}

void EquipmentCtrl::SetIgnoreRequirements(bool ignore) {
    mIgnoreRequirements = ignore;
    AttributesHaveChanged();
    mPrimary.SetIgnoreRequirements(ignore);
    mAlternate.SetIgnoreRequirements(ignore);
}

void EquipmentCtrl::SetAlternateEquipment(bool alternate) {
    mUseAlternate = alternate;
    mPrimary.SetInactive(alternate);
    mAlternate.SetInactive(!alternate);
    AttributesHaveChanged();
}

void EquipmentCtrl::SetAllowDualWeapons(bool allow) {
    mPrimary.SetAllowDualWeapons(allow);
    mAlternate.SetAllowDualWeapons(allow);
    AttributesHaveChanged();
}

void EquipmentCtrl::StreamProperties(IOStream& stream) {
    stream.BeginBlock("equipmentCtrl");
    stream.StreamBool("useAlternate", mUseAlternate);
    for (EquipSlot location : kEquipAutoInsertOrder) {
        EquipmentInfo& slot = Slot(location);
        StreamEquipmentSlot(stream, mCharacter, slot.itemId, slot.attached, slot.location);
    }
    mPrimary.StreamProperties(stream);
    mAlternate.StreamProperties(stream);
    stream.EndBlock();
}

}  // namespace GAME
