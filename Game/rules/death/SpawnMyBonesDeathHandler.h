#pragma once
// Carries the creature made of the character's bones inside the body, without its brain, and
// lets it out where the body lies when the death animation ends. The creature is created under
// the id reserved for it.
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class SpawnMyBonesDeathHandler : public DeathHandler {
public:
    using DeathHandler::DeathHandler;

    void Execute() override;
    void AnimationCallback(const Name& name) override;
    void PreLoad() override;
    bool NeedsObjectId() const override { return true; }
    void SetObjectId(std::uint32_t id) override { mObjectId = id; }

    std::uint32_t GetCarriedId() const { return mCarriedId; }

private:
    std::uint32_t mObjectId = 0;
    // Held by id: the carried creature is an object of the manager and may go before we do.
    std::uint32_t mCarriedId = 0;
    std::uint32_t mBrainId = 0;
};

}  // namespace GAME
