#include "Game/ai/npc/NpcRandom.h"

#include "Engine/sys/RandomUniform.h"
#include "Game/core/GameEngine.h"

namespace GAME {

void NpcRandom::SeedFor(std::uint32_t objectId) {
    mGenerator.Seed(gGameEngine ? gGameEngine->GetRandomGen().GetState() ^ objectId : objectId);
}

}  // namespace GAME
