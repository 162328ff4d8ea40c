#pragma once
// Spawns the character's "actor to spawn on death" at its spot, at once or on the death
// animation's "spawnDeathActor" callback, under the id reserved for it.
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class SpawnActorDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
    void AnimationCallback(const Name& name) override;
    bool NeedsObjectId() const override { return true; }
    void SetObjectId(std::uint32_t id) override { mObjectId = id; }
    virtual void SpawnActor();

private:
    std::uint32_t mObjectId = 0;
};

}  // namespace GAME
