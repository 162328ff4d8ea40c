#pragma once
// A controller of a character that carries equipment: keeps the equipment's attributes fresh
// and places the character on teleports.
#include <string>

#include "Game/ai/controllers/ControllerBaseCharacter.h"

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

private:
    int mAttributeRefreshCountdown = 0;
    int mAttributeRefreshInterval = kAttributeRefreshInterval;
};

}  // namespace GAME
