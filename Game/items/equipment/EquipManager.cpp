#include "Game/items/equipment/EquipManager.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/ItemEvents.h"
#include "Game/items/kinds/Armor.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/world/props/Prop.h"

namespace GAME {

namespace {

ObjectManager& EquipManagerObjects() {
    return Singleton<ObjectManager>::Get();
}

template <class T>
T* FindAttached(std::uint32_t id) {
    return id != 0 ? EquipManagerObjects().GetObject<T>(id) : nullptr;
}

int WeaponTypeOf(const Weapon* weapon) {
    return weapon ? static_cast<int>(weapon->GetWeaponType()) : 0;
}

bool IsOneHandedMeleeType(int type) {
    return type == 2 || type == 3 || type == 4;
}

const char* AttachPointOf(std::uint32_t location) {
    switch (location) {
        case EquipLocation_RightHand:
            return "R Hand";
        case EquipLocation_LeftHand:
            return "L Hand";
        case EquipLocation_UpperBody:
            return "Upper Body";
        case EquipLocation_LowerBody:
            return "Lower Body";
        case EquipLocation_Head:
            return "Head";
        case EquipLocation_Forearm:
            return "Forearm";
        default:
            return nullptr;
    }
}

}  // namespace

EquipManager::~EquipManager() {
    if (Item* head = FindAttached<Item>(mDefaultHeadPiece))
        EquipManagerObjects().DestroyObjectEx(head, "Game/EquipManager", 0);
}

void EquipManager::Load(const LoadTable& table) {
    const std::string name = table.GetString("defaultHeadPiece");
    if (name.empty())
        return;
    ItemReplicaInfo record;
    record.baseName = name;
    Item* head = Item::CreateItem(record);
    if (!head) {
        gEngine->Log(1, "EquipManager: defaultHeadPiece %s of %s makes no item", name.c_str(),
                     table.GetRecordName().c_str());
        return;
    }
    mDefaultHeadPiece = head->GetObjectId();
    if (mOwner)
        mOwner->Attach(head, Coords::Identity(), "Head");
}

void EquipManager::PreLoad(bool now) {
    for (const EquipManagerContainer& entry : mItems)
        if (entry.bowOrStaff)
            if (Item* item = FindAttached<Item>(entry.itemId))
                item->PreLoad(now);
}

void EquipManager::Announce(const char* happening, std::uint32_t itemId) const {
    GameEvent_ItemEquip event;
    event.characterId = mOwner ? mOwner->GetObjectId() : 0;
    event.itemId = itemId;
    SendGameEvent(event, happening);
}

void EquipManager::AttachItemAction(std::uint32_t id, std::uint32_t location) {
    Item* item = FindAttached<Item>(id);
    if (!item || !mOwner)
        return;
    if (HasItem(id)) {
        gEngine->Log(2, "EquipManager: Attempt to attach item twice (ID:%d)", static_cast<int>(id));
        return;
    }
    const int type = WeaponTypeOf(dynamic_cast<Weapon*>(item));
    EquipManagerContainer entry;
    entry.itemId = id;
    entry.location = location;
    entry.oneHandedMelee = IsOneHandedMeleeType(type);
    entry.bowOrStaff = type == 6 || type == 7;
    mItems.push_back(entry);
    mOwner->CharAttributeInputsChanged();
    item->AttachItem(mOwner, AttachPointOf(location));
    if (location == EquipLocation_RightHand || location == EquipLocation_LeftHand)
        ForceRightHandAsNeeded();
    else if (location == EquipLocation_Head)
        SetDefaultHeadPieceVisible(false);
    Announce("ItemAttach", id);
    mOwner->SetAnimation(GetHandState());
    if (auto* weapon = dynamic_cast<Weapon*>(item))
        weapon->SetWeaponEnchantment(mOwner, mEnchantment);
}

void EquipManager::DetachItemAction(std::uint32_t id) {
    Item* item = FindAttached<Item>(id);
    if (!item || !mOwner)
        return;
    if (auto* weapon = dynamic_cast<Weapon*>(item))
        weapon->SetWeaponEnchantment(mOwner, std::string());
    auto it = std::find_if(mItems.begin(), mItems.end(),
                           [id](const EquipManagerContainer& entry) { return entry.itemId == id; });
    if (it != mItems.end()) {
        const std::uint32_t location = it->location;
        mItems.erase(it);
        mOwner->CharAttributeInputsChanged();
        if (location == EquipLocation_Head)
            SetDefaultHeadPieceVisible(true);
    }
    item->DetachItem(mOwner);
    ForceRightHandAsNeeded();
    mOwner->SetAnimation(GetHandState());
    Announce("ItemDetach", id);
}

void EquipManager::Reattach(EquipManagerContainer& entry, const char* point) {
    Item* item = FindAttached<Item>(entry.itemId);
    if (!item)
        return;
    item->DetachItem(mOwner);
    item->AttachItem(mOwner, point);
}

void EquipManager::ForceRightHandAsNeeded() {
    auto left = std::find_if(mItems.begin(), mItems.end(), [](const EquipManagerContainer& e) {
        return e.location == EquipLocation_LeftHand;
    });
    if (left == mItems.end())
        return;
    const bool rightHeld = GetItemId(EquipLocation_RightHand) != 0;
    if (rightHeld && left->movedToRightHand) {
        left->movedToRightHand = false;
        Reattach(*left, "L Hand");
    } else if (!rightHeld && left->oneHandedMelee && !left->movedToRightHand) {
        left->movedToRightHand = true;
        Reattach(*left, "R Hand");
    }
}

void EquipManager::SetDefaultHeadPieceVisible(bool visible) {
    if (Item* head = FindAttached<Item>(mDefaultHeadPiece))
        head->SetVisibility(visible);
}

void EquipManager::GetAllAttachedItems(std::vector<std::uint32_t>& ids) const {
    for (const EquipManagerContainer& entry : mItems)
        ids.push_back(entry.itemId);
}

void EquipManager::GetAllArmor(std::vector<std::uint32_t>& ids) const {
    for (const EquipManagerContainer& entry : mItems)
        if (FindAttached<Armor>(entry.itemId))
            ids.push_back(entry.itemId);
}

void EquipManager::GetAllNonWeapons(std::vector<std::uint32_t>& ids) const {
    for (const EquipManagerContainer& entry : mItems)
        if (!FindAttached<Weapon>(entry.itemId))
            ids.push_back(entry.itemId);
}

std::uint32_t EquipManager::GetItemId(std::uint32_t location) const {
    for (const EquipManagerContainer& entry : mItems)
        if (entry.location == location)
            return entry.itemId;
    return 0;
}

bool EquipManager::HasItem(std::uint32_t id) const {
    return std::any_of(mItems.begin(), mItems.end(),
                       [id](const EquipManagerContainer& entry) { return entry.itemId == id; });
}

bool EquipManager::HasItem(const std::string& recordName) const {
    return std::any_of(mItems.begin(), mItems.end(), [&](const EquipManagerContainer& entry) {
        const Object* item = EquipManagerObjects().GetObject(entry.itemId);
        return item && PathEqualsNoCaseStr(item->GetObjectName(), recordName);
    });
}

std::uint32_t EquipManager::GetArmorId() const {
    const std::uint32_t id = GetItemId(EquipLocation_LeftHand);
    return FindAttached<Armor>(id) ? id : 0;
}

std::uint32_t EquipManager::AttachedWeapon(std::uint32_t id) const {
    return FindAttached<Weapon>(id) ? id : 0;
}

std::uint32_t EquipManager::GetLeftHandShield() const {
    const std::uint32_t id = GetWeaponIdLeft();
    return FindAttached<WeaponArmor_Shield>(id) ? id : 0;
}

EquipManager_HandState EquipManager::GetHandState() const {
    if (const auto* left = FindAttached<Weapon>(GetWeaponIdLeft())) {
        const int type = WeaponTypeOf(left);
        if (IsOneHandedMeleeType(type))
            return HandState_DualWeapons;
        if (type == 6)
            return HandState_Bow;
        if (type == 7)
            return HandState_Staff;
    }
    const int type = WeaponTypeOf(FindAttached<Weapon>(GetWeaponIdRight()));
    if (IsOneHandedMeleeType(type) || type == 8)
        return HandState_OneHanded;
    if (type == 5)
        return HandState_Spear;
    if (type == 7)
        return HandState_Staff;
    return HandState_NoWeapon;
}

WorldCoords EquipManager::GetAttachCoords(std::uint32_t location) const {
    if (!mOwner)
        return WorldCoords();
    const char* point = LocationCoordsPoint(location);
    if (!*point)
        return mOwner->GetCoords();
    return mOwner->GetAttachedCoords(point);
}

void EquipManager::RemoveItem(const std::string& recordName) {
    std::vector<std::uint32_t> matching;
    for (const EquipManagerContainer& entry : mItems)
        if (const Object* item = EquipManagerObjects().GetObject(entry.itemId);
            item && PathEqualsNoCaseStr(item->GetObjectName(), recordName))
            matching.push_back(entry.itemId);
    for (std::uint32_t id : matching)
        DetachItemAction(id);
}

void EquipManager::AddPropAttachment(Prop* prop) {
    if (!prop || !mOwner)
        return;
    const std::string& point = prop->GetAttachPoint();
    HideAttachments(point);
    prop->AttachProp(*mOwner);
    mProps[prop->GetObjectId()] = point;
}

void EquipManager::RemovePropAttachment(std::uint32_t propId) {
    auto it = mProps.find(propId);
    if (it == mProps.end())
        return;
    ShowAttachments(it->second);
    if (Prop* prop = FindAttached<Prop>(propId); prop && mOwner)
        prop->DetachProp(*mOwner);
    mProps.erase(it);
}

void EquipManager::HideAttachments(const std::string& attachPoint) {
    for (const EquipManagerContainer& entry : mItems)
        if (LocationToString(entry.location) == attachPoint)
            if (Item* item = FindAttached<Item>(entry.itemId))
                item->SetVisibility(false);
}

void EquipManager::ShowAttachments(const std::string& attachPoint) {
    for (const EquipManagerContainer& entry : mItems)
        if (LocationToString(entry.location) == attachPoint)
            if (Item* item = FindAttached<Item>(entry.itemId))
                item->SetVisibility(true);
}

void EquipManager::SetWeaponEnchantment(const std::string& name) {
    if (name == mEnchantment)
        return;
    mEnchantment = name;
    for (const EquipManagerContainer& entry : mItems)
        if (auto* weapon = FindAttached<Weapon>(entry.itemId))
            weapon->SetWeaponEnchantment(mOwner, name);
}

}  // namespace GAME
