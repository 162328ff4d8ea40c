#include "Host/play/PlayerClicks.h"

#include <atomic>

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"

namespace GAME {

bool DeliverClick(Player& player, const HostClick& click) {
    Region* region = World::Get().GetRegion(click.region);
    if (!region) {
        gEngine->Log(1, "Host: a click of frame %d names region \"%s\", which the level lacks.",
                     click.frame, click.region.c_str());
        return false;
    }
    (void)player;
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true))
        gEngine->Log(1, "Host: ControllerPlayer::HandleActionFromMouse is not available yet");
    return false;
}

}  // namespace GAME
