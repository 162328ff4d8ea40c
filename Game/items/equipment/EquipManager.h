#pragma once
// What is actually attached to a character on this machine: the items with their locations, in
// order of attachment. Attaches each at its skeleton point, moves a lone off-hand melee weapon
// into the right hand, hides the default head piece under a helm and items under props, picks
// the stance by hand state, passes the weapon enchantment on, and announces
// "GameEvent_ItemAttach" and "GameEvent_ItemDetach". The rules of what may be worn are the
// equipment control's.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/items/equipment/EquipLocations.h"

namespace GAME {

class Character;
class LoadTable;
class Prop;

struct EquipManagerContainer {
    std::uint32_t itemId = 0;
    std::uint32_t location = 0;
    bool oneHandedMelee = false;
    bool movedToRightHand = false;
    bool bowOrStaff = false;
};

class EquipManager {
public:
    EquipManager() = default;
    ~EquipManager();
    EquipManager(const EquipManager&) = delete;
    EquipManager& operator=(const EquipManager&) = delete;

    void AttachParent(Character* owner) { mOwner = owner; }
    void Load(const LoadTable& table);
    void PreLoad(bool now);

    void AttachItemAction(std::uint32_t id, std::uint32_t location);
    void DetachItemAction(std::uint32_t id);

    const std::vector<EquipManagerContainer>& GetAttachedItems() const { return mItems; }
    void GetAllAttachedItems(std::vector<std::uint32_t>& ids) const;
    void GetAllArmor(std::vector<std::uint32_t>& ids) const;
    void GetAllNonWeapons(std::vector<std::uint32_t>& ids) const;
    std::uint32_t GetItemId(std::uint32_t location) const;
    bool HasItem(std::uint32_t id) const;
    bool HasItem(const std::string& recordName) const;
    std::uint32_t GetBodyArmor() const { return GetItemId(EquipLocation_UpperBody); }
    std::uint32_t GetArmorId() const;
    // Inline: every character asks for its weapons each frame, and most hold none.
    std::uint32_t GetWeaponIdRight() const {
        for (const EquipManagerContainer& entry : mItems)
            if (entry.location == EquipLocation_RightHand ||
                (entry.location == EquipLocation_LeftHand && entry.movedToRightHand))
                return entry.itemId;
        return 0;
    }
    std::uint32_t GetWeaponIdLeft() const {
        for (const EquipManagerContainer& entry : mItems)
            if (entry.location == EquipLocation_LeftHand)
                return entry.movedToRightHand ? 0 : entry.itemId;
        return 0;
    }
    std::uint32_t GetRightHandWeapon() const { return WeaponOrNone(GetWeaponIdRight()); }
    std::uint32_t GetLeftHandWeapon() const { return WeaponOrNone(GetWeaponIdLeft()); }
    std::uint32_t GetLeftHandShield() const;
    EquipManager_HandState GetHandState() const;
    WorldCoords GetAttachCoords(std::uint32_t location) const;
    void RemoveItem(const std::string& recordName);

    void AddPropAttachment(Prop* prop);
    void RemovePropAttachment(std::uint32_t propId);
    void HideAttachments(const std::string& attachPoint);
    void ShowAttachments(const std::string& attachPoint);
    void SetWeaponEnchantment(const std::string& name);
    const std::string& GetWeaponEnchantment() const { return mEnchantment; }
    std::uint32_t GetDefaultHeadPiece() const { return mDefaultHeadPiece; }

private:
    std::uint32_t WeaponOrNone(std::uint32_t id) const { return id != 0 ? AttachedWeapon(id) : 0; }
    std::uint32_t AttachedWeapon(std::uint32_t id) const;
    void ForceRightHandAsNeeded();
    void Reattach(EquipManagerContainer& entry, const char* point);
    void SetDefaultHeadPieceVisible(bool visible);
    void Announce(const char* happening, std::uint32_t itemId) const;

    Character* mOwner = nullptr;
    std::vector<EquipManagerContainer> mItems;
    std::uint32_t mDefaultHeadPiece = 0;
    std::map<std::uint32_t, std::string> mProps;
    std::string mEnchantment;
};

}  // namespace GAME
