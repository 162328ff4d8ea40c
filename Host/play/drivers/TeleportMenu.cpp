#include "Host/play/drivers/TeleportMenu.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/world/strategic/StrategicMovementKinds.h"

namespace GAME {

TeleportMenu::TeleportMenu(std::uint32_t playerId, Printer print)
    : mPlayerId(playerId),
      mPrint(std::move(print)),
      mOpen(GameEventName("ActivateTeleportMenu"), "TeleportMenu") {
    mOpen.SetOwner(this, &TeleportMenu::OnOpen);
}

void TeleportMenu::OnOpen(const GameEvent_ActivateTeleportMenu& event) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Player* player = objects.GetObject<Player>(mPlayerId);
    const auto* from = objects.GetObject<StrategicMovementTeleportShrine>(event.objectId);
    if (!player || !from || !gGameEngine)
        return;
    std::vector<UniqueId> choices = player->GetTeleportUIDs();
    const auto preferred = std::find(choices.begin(), choices.end(), mPreferred);
    if (preferred != choices.end())
        std::rotate(choices.begin(), preferred, preferred + 1);
    for (const UniqueId& id : choices) {
        const auto* to =
            dynamic_cast<const StrategicMovementTeleportShrine*>(World::Get().FindPlacedEntity(id));
        if (!to || to == from || !to->GetRegion())
            continue;
        const Vec3 at = to->GetMoveToPoint(mPlayerId).GetWorldPosition();
        mPrint("you touched the " + LocalizationManager::ToChar(from->GetGameDescription(false)) +
               " and chose the " + LocalizationManager::ToChar(to->GetGameDescription(false)) +
               " at (" + std::to_string(static_cast<int>(to->GetPosition().local.x)) + ", " +
               std::to_string(static_cast<int>(to->GetPosition().local.z)) + ") in " +
               to->GetRegion()->GetName());
        gGameEngine->InitiatePlayerTeleport(static_cast<int>(std::lround(at.x)),
                                            static_cast<int>(std::lround(at.y)),
                                            static_cast<int>(std::lround(at.z)));
        return;
    }
}

}  // namespace GAME
