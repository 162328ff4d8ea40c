#include "Game/items/cursor/CursorHandler.h"

#include "Engine/media/graphics/GraphicsCanvas.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/sound/SoundPak.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

CursorHandler::~CursorHandler() = default;

void CursorHandler::PlayActivationSound() {
    if (SoundPak* sound = activationSound.Get())
        sound->Play(WorldVec3());
}

bool CursorHandler::Escape() {
    Cancel();
    return true;
}

ControllerPlayer* CursorHandler::GetPlayerCtrl() const {
    return player ? FindController<ControllerPlayer>(*player) : nullptr;
}

PlayerInventoryCtrl* CursorHandler::GetInventoryCtrl() const {
    ControllerPlayer* controller = GetPlayerCtrl();
    return controller ? &controller->GetInventoryCtrl() : nullptr;
}

EquipmentCtrl* CursorHandler::GetEquipmentCtrl() const {
    ControllerPlayer* controller = GetPlayerCtrl();
    return controller ? &controller->GetEquipmentCtrl() : nullptr;
}

void CursorHandler::RenderCentred(GraphicsCanvas& canvas, const std::string& texture) const {
    if (texture.empty())
        return;
    GraphicsEngine& graphics = GraphicsEngine::Get();
    int width = 0, height = 0;
    graphics.GetTextureSize(texture, width, height);
    Rect rect{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)};
    if (graphics.IsDownsizing())
        rect = graphics.GetResAdjRect(rect);
    canvas.RenderPicture(texture, displayPosition.x - rect.width * 0.5f,
                         displayPosition.y - rect.height * 0.5f, 1.0f, 1.0f);
}

}  // namespace GAME
