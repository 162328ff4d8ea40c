#include "Host/play/PlayerClicks.h"

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"

namespace GAME {

bool DeliverClick(Player& player, const HostClick& click) {
    Region* region = World::Get().GetRegion(click.region);
    if (!region) {
        gEngine->Log(1, "Host: a click of frame %d names region \"%s\", which the level lacks.",
                     click.frame, click.region.c_str());
        return false;
    }
    auto* controller = FindController<ControllerPlayer>(player);
    if (!controller) {
        gEngine->Log(1, "Host: player %u has no player controller; its click of frame %d is lost.",
                     player.GetObjectId(), click.frame);
        return false;
    }
    std::uint32_t target = click.target;
    controller->HandleActionFromMouse(true, false, false, false, WorldVec3(region, click.point),
                                      target);
    return true;
}

}  // namespace GAME
