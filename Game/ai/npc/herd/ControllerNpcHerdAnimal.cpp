#include "Game/ai/npc/herd/ControllerNpcHerdAnimal.h"

#include <memory>

#include "Game/ai/npc/herd/HerdStates.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerNpcHerdAnimal, ControllerAI)

void ControllerNpcHerdAnimal::Load(const LoadTable& table) {
    ControllerAI::Load(table);
    mRandom.SeedFor(GetObjectId());
}

void ControllerNpcHerdAnimal::RegisterStates() {
    AddState<ControllerNpcAnimalStateFollowHerd>("FollowHerd", this);
}

void ControllerNpcHerdAnimal::RegisterTemporaryStates() {
    AddTemporaryState<ControllerNpcAnimalStateWiggle>("Wiggle", this);
}

void ControllerNpcHerdAnimal::InitializeStates() {
    SetState("FollowHerd", ControllerAIStateData());
}

}  // namespace GAME
