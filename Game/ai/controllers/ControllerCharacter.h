#pragma once
// A controller of a character that carries equipment: keeps the equipment's attributes fresh
// and places the character on teleports.
#include <string>

#include "Game/ai/controllers/ControllerBaseCharacter.h"
#include "Game/items/equipment/EquipmentCtrl.h"

namespace GAME {

class Item;

class ControllerCharacter : public ControllerBaseCharacter {
    RTTI_DECLARE(ControllerCharacter)
public:
    static constexpr int kAttributeRefreshInterval = 250;

    ControllerCharacter();
    ~ControllerCharacter() override;

    void Update(int ms) override;
    void PickupItem(std::uint32_t itemId) override;
    void Teleport(const WorldCoords& coords) override;
    virtual void LoadLootFromActor() {}
    virtual Item* CreateItemInInventory(const std::string& recordName);

    // The equipment's rules; its attach and detach actions go out through the senders below
    // and run on every machine.
    EquipmentCtrl& GetEquipmentCtrl() { return mEquipment; }
    void SetIgnoreEquipmentRequirements(bool ignore) { mEquipment.SetIgnoreRequirements(ignore); }
    void SetAlternateEquipment(bool alternate) { mEquipment.SetAlternateEquipment(alternate); }
    void AllowDualWieldWeapons(bool allow) { mEquipment.SetAllowDualWeapons(allow); }
    void SendEquipAttachAction(std::uint32_t itemId, std::uint32_t location);
    void SendEquipDetachAction(std::uint32_t itemId);
    void SendRemoveItemFromInventory(std::uint32_t itemId);
    // Drops the item 1.25 m from the character at an angle of the item's own drawing.
    void SendDropItemRandom(std::uint32_t itemId);
    // Toss: the item flies off as a dying monster's does, else it is set down.
    void SendDropFromEquipLocation(std::uint32_t itemId, std::uint32_t location, bool toss);

    // Spends one attribute point on a base attribute (the level record gives the step); an
    // amount raises the base by that much without spending a point.
    void IncrementCharacterStrength();
    void IncrementCharacterDexterity();
    void IncrementCharacterIntelligence();
    void IncrementCharacterLife();
    void IncrementCharacterLife(int amount);
    void IncrementCharacterMana();
    void IncrementCharacterMana(int amount);

private:
    EquipmentCtrl mEquipment;
    int mAttributeRefreshCountdown = 0;
    int mAttributeRefreshInterval = kAttributeRefreshInterval;
};

}  // namespace GAME
