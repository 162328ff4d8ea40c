#include "Host/play/PlayerClicks.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

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
    // What the cursor rests on is the interface's combat enemy or ally: the player's states
    // choose a skill's target from them.
    const auto* under = Singleton<ObjectManager>::Get().GetObject<Character>(click.target);
    TeamManager* teams = gGameEngine->GetTeamManager();
    const bool foe = under && under != &player && teams->IsFoe(&player, under);
    const bool friendly = under && !foe;
    controller->SetCombatEnemy(foe ? click.target : 0);
    controller->SetCombatAlly(friendly ? click.target : 0);
    std::uint32_t target = click.target;
    controller->HandleActionFromMouse(true, false, false, false, WorldVec3(region, click.point),
                                      target);
    return true;
}

}  // namespace GAME
