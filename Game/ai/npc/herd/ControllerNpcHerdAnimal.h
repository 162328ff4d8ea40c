#pragma once
// A herd animal's controller (every animal of a herd but the first): it keeps to a place of its
// own around the herder.
#include "Game/ai/controllers/ControllerAI.h"
#include "Game/ai/npc/NpcRandom.h"

namespace GAME {

class ControllerNpcHerdAnimal : public ControllerAI {
    RTTI_DECLARE(ControllerNpcHerdAnimal)
public:
    void Load(const LoadTable& table) override;
    void RegisterStates() override;
    void RegisterTemporaryStates() override;
    void InitializeStates() override;
    NpcRandom& GetRandom() { return mRandom; }

private:
    NpcRandom mRandom;
};

}  // namespace GAME
