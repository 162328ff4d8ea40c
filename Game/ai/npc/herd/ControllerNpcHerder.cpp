#include "Game/ai/npc/herd/ControllerNpcHerder.h"

#include <memory>

#include "Game/ai/npc/herd/HerdStates.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerNpcHerder, ControllerAI)

void ControllerNpcHerder::Load(const LoadTable& table) {
    ControllerAI::Load(table);
    mRandom.SeedFor(GetObjectId());
}

void ControllerNpcHerder::RegisterStates() {
    AddState<ControllerNpcStateDirectHerd>("DirectHerd", this);
}

void ControllerNpcHerder::InitializeStates() {
    SetState("DirectHerd", ControllerAIStateData());
}

}  // namespace GAME
