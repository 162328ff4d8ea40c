#include "Game/ai/controllers/ControllerCharacter.h"

#include "Engine/Engine.h"
#include "Game/characters/Character.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/util/SeamLog.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerCharacter, ControllerBaseCharacter)

ControllerCharacter::ControllerCharacter() = default;
ControllerCharacter::~ControllerCharacter() = default;

void ControllerCharacter::Update(int ms) {
    ControllerBaseCharacter::Update(ms);
    mAttributeRefreshCountdown -= ms;
    if (mAttributeRefreshCountdown < 1) {
        mAttributeRefreshCountdown = mAttributeRefreshInterval;
        ReportSeam("Controller", "EquipmentCtrl::AttributesHaveChanged");
    }
}

void ControllerCharacter::PickupItem(std::uint32_t itemId) {
    if (Character* character = GetParentCharacter())
        character->Enqueue(std::make_unique<CharPickUpConfigCmd>(GetParentId(), itemId));
}

void ControllerCharacter::Teleport(const WorldCoords& coords) {
    ReportSeam("Controller", "the controller's position update packet");
    Character* character = GetParentCharacter();
    if (!character)
        return;
    WorldVec3 position = coords.GetPosition();
    if (!position.PutOnFloor()) {
        gEngine->Log(2, "Could Not Translate To Floor");
        position = coords.GetPosition();
    }
    character->SetPathPosition(position);
}

Item* ControllerCharacter::CreateItemInInventory(const std::string&) {
    if (GetParentCharacter())
        ReportSeam("Controller", "Inventory::AddItem");
    return nullptr;
}

}  // namespace GAME
