#include "Game/ai/bosses/megalesios/SpiritHostLink.h"

#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/monster/Monster.h"

namespace GAME {

namespace {

// The spirit host's controller, found by its registered class.
ControllerAI* SpiritHostController(const Monster& monster) {
    static const RTTI_ClassInfo* hostClass = Object::classInfo.FindByName("ControllerSpiritHost");
    auto* controller = FindController<ControllerAI>(monster);
    return controller && hostClass && controller->IsA(*hostClass) ? controller : nullptr;
}

}  // namespace

bool IsSpiritHost(const Monster& monster) {
    return SpiritHostController(monster) != nullptr;
}

void AnimateSpiritHost(Monster& monster) {
    if (ControllerAI* host = SpiritHostController(monster))
        host->SetState("Animate", ControllerAIStateData());
}

}  // namespace GAME
