#pragma once
// The herder's controller: it drives the herd named in its character's "isHerderFor", strolling
// about where it was placed while the herd keeps around it.
#include <string>

#include "Game/ai/controllers/ControllerAI.h"
#include "Game/ai/npc/NpcRandom.h"

namespace GAME {

class ControllerNpcHerder : public ControllerAI {
    RTTI_DECLARE(ControllerNpcHerder)
public:
    void Load(const LoadTable& table) override;
    void RegisterStates() override;
    void InitializeStates() override;

    void SetHerdName(const std::string& name) { mHerdName = name; }
    const std::string& GetHerdName() const { return mHerdName; }
    NpcRandom& GetRandom() { return mRandom; }

private:
    std::string mHerdName;
    NpcRandom mRandom;
};

}  // namespace GAME
