#include "Game/items/equipment/EquipmentCtrlWeaponSet.h"

#include <cmath>

#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Player.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipmentRules.h"

namespace GAME {

EquipmentCtrlWeaponSet::EquipmentCtrlWeaponSet() {
    mRight.info.location = EquipLocation_RightHand;
    mLeft.info.location = EquipLocation_LeftHand;
}

void EquipmentCtrlWeaponSet::SetIgnoreRequirements(bool ignore) {
    mIgnoreRequirements = ignore;
    RecheckHands();
}

void EquipmentCtrlWeaponSet::SetAllowDualWeapons(bool allow) {
    mAllowDualWeapons = allow;
    RecheckHands();
}

bool EquipmentCtrlWeaponSet::AreRequirementsMet(Item& item) const {
    return mIgnoreRequirements || MeetsEquipRequirements(mCharacter, item);
}

bool EquipmentCtrlWeaponSet::HoldsTwoHanded(bool left) const {
    const HandSlot& hand = Hand(left);
    return hand.info.itemId != 0 && IsTwoHanded(hand.type);
}

std::uint32_t EquipmentCtrlWeaponSet::GetItem(bool left) const {
    const HandSlot& hand = Hand(left);
    if (hand.info.itemId == 0 && HoldsTwoHanded(!left))
        return Hand(!left).info.itemId;
    return hand.info.itemId;
}

bool EquipmentCtrlWeaponSet::Holds(std::uint32_t id) const {
    return id != 0 && (mRight.info.itemId == id || mLeft.info.itemId == id);
}

bool EquipmentCtrlWeaponSet::IsItemAttached(std::uint32_t id) const {
    if (mRight.info.itemId == id)
        return mRight.info.attached;
    return mLeft.info.itemId == id && mLeft.info.attached;
}

bool EquipmentCtrlWeaponSet::CanItemBePlaced(bool left, std::uint32_t id, bool emptyOnly) const {
    const HandSlot& other = Hand(!left);
    if (emptyOnly && GetItem(left) != 0)
        return false;
    Item* item = FindEquipItem(id);
    if (!item)
        return false;
    const int type = static_cast<int>(left ? item->GetLeftHandType() : item->GetRightHandType());
    const bool twoHanded = IsTwoHanded(type);
    if (emptyOnly && twoHanded && other.info.itemId != 0)
        return false;
    if (twoHanded && mRight.info.itemId != 0 && mLeft.info.itemId != 0 &&
        mRight.info.itemId != mLeft.info.itemId)
        return false;
    const int baseMask = mAllowDualWeapons ? kAllHandTypes : ~1;
    if (type == 0 || (type & baseMask) == 0)
        return false;
    if (!HoldsTwoHanded(!left) && !twoHanded && (type & other.partnerMask) == 0)
        return false;
    return AreRequirementsMet(*item);
}

std::uint32_t EquipmentCtrlWeaponSet::TakeOut(bool left) {
    HandSlot& hand = Hand(left);
    const std::uint32_t id = hand.info.itemId;
    if (id != 0 && hand.info.attached && !mInactive && mController)
        mController->SendEquipDetachAction(id);
    hand.info.attached = false;
    hand.info.itemId = 0;
    hand.type = 0;
    hand.partnerMask = kAllHandTypes;
    return id;
}

void EquipmentCtrlWeaponSet::PlaceItem(bool left, std::uint32_t& id, bool alternate, bool silent) {
    int type = 0;
    if (id != 0) {
        Item* item = FindEquipItem(id);
        if (!item)
            return;
        if (!silent)
            item->PlayDropSound();
        type = static_cast<int>(left ? item->GetLeftHandType() : item->GetRightHandType());
    }
    std::uint32_t takenOut = 0;
    if (Hand(left).info.itemId != 0)
        takenOut = TakeOut(left);
    else if (HoldsTwoHanded(!left))
        takenOut = TakeOut(!left);
    if (takenOut == 0 && id != 0 && IsTwoHanded(type))
        takenOut = TakeOut(!left);
    HandSlot& hand = Hand(left);
    hand.info.itemId = id;
    hand.info.attached = false;
    hand.type = id != 0 ? type : 0;
    hand.partnerMask = id != 0 ? AllowedPartnerMask(type) : kAllHandTypes;
    if (id != 0 && !mInactive && mController) {
        mController->SendEquipAttachAction(id, hand.info.location);
        hand.info.attached = true;
    }
    id = takenOut;
    if (alternate && mCharacter && mCharacter->IsA<Player>())
        static_cast<Player*>(mCharacter)->SetAlternateConfigEnabled(true);
}

void EquipmentCtrlWeaponSet::RecheckHand(HandSlot& hand) {
    if (hand.info.itemId == 0)
        return;
    Item* item = FindEquipItem(hand.info.itemId);
    if (!item || !mController)
        return;
    if (!mInactive && AreRequirementsMet(*item)) {
        if (!hand.info.attached) {
            mController->SendEquipAttachAction(hand.info.itemId, hand.info.location);
            hand.info.attached = true;
        }
    } else if (hand.info.attached) {
        mController->SendEquipDetachAction(hand.info.itemId);
        hand.info.attached = false;
    }
}

void EquipmentCtrlWeaponSet::RecheckHands() {
    RecheckHand(mRight);
    RecheckHand(mLeft);
}

void EquipmentCtrlWeaponSet::StreamProperties(IOStream& stream) {
    stream.BeginBlock("weaponSet");
    stream.StreamBool("alternate", mInactive);
    for (HandSlot* hand : {&mRight, &mLeft}) {
        std::uint32_t id = hand->info.itemId;
        if (StreamEquipmentSlot(stream, mCharacter, id, hand->info.attached, hand->info.location)) {
            hand->info.itemId = id;
            Item* item = FindEquipItem(id);
            const bool left = hand == &mLeft;
            hand->type =
                item ? static_cast<int>(left ? item->GetLeftHandType() : item->GetRightHandType())
                     : 0;
            hand->partnerMask = id != 0 ? AllowedPartnerMask(hand->type) : kAllHandTypes;
        }
    }
    stream.EndBlock();
}

}  // namespace GAME
